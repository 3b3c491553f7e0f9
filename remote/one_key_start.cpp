// One-key start: the program the remote control's power key starts, found in the chosen
// player's registry entries or chosen by the user, stored for the remote-control monitor.
#include <optional>
#include <string>

#include "framework/file_dialog.h"
#include "remote/player_key.h"
#include "remote/players.h"
#include "remote/program_path.h"
#include "remote/remote_ctrl_page.h"

namespace korven {

namespace {

// Where a player's program is recorded: a key, its value, and how the path is made of it.
struct ProgramEntry {
  const char* key;
  const char* value;
  std::string_view programFile;
  bool isUninstallCommand;
};

std::optional<std::string> FindProgram(platform::Registry& registry, const ProgramEntry& entry) {
  PlayerKey key(registry, entry.key);
  const std::optional<std::string> value = key.ReadText(entry.value);
  if (!value) return std::nullopt;
  return entry.isUninstallCommand ? ProgramPathFromUninstallCommand(*value, entry.programFile)
                                  : ProgramPathInDirectory(*value, entry.programFile);
}

}  // namespace

void CRemoteCtrlPage::ResolveOneKeyStart(platform::Dword number) {
  std::optional<ProgramEntry> entry;
  if (number == kWinamp) {
    // The generation found by the last discovery; none found leaves no program to look for.
    platform::Dword generation = 0xFFFFFFFF;
    if (!m_SettingsKey.Read(settings::IsWinamp3, &generation)) generation = 0xFFFFFFFF;
    if (generation < kWinampGenerations.size()) {
      const WinampGeneration& winamp = kWinampGenerations[generation];
      entry = ProgramEntry{winamp.key, kWinampProgramValue, winamp.programFile, true};
    }
  } else if (const Player* player = FindPlayer(number)) {
    entry = ProgramEntry{player->key, player->value, player->programFile, false};
  }

  std::string path;
  if (entry) {
    std::optional<std::string> program = FindProgram(m_registry, *entry);
    // Only a program that cannot be found brings up the chooser.
    if (!program) program = AskForProgram();
    if (program) {
      path = *program;
    } else {
      m_dwPowerKey = kNoPlayer;
      SelectNotSelected();
    }
  }
  m_SettingsKey.WriteString(settings::OneKeyStart, path);
  m_SettingsKey.WriteDword(settings::DefaultSelect.name, m_dwPowerKey);
}

std::optional<std::string> CRemoteCtrlPage::AskForProgram() {
  fw::CFileDialog chooser(Windows(), nullptr, nullptr,
                          fw::ofn::kHideReadOnly | fw::ofn::kOverwritePrompt, kChooserFilter);
  chooser.m_ofn.title = kChooserTitle;
  if (chooser.DoModal() != fw::kIdOk) return std::nullopt;
  const std::string path = chooser.GetPathName();
  // A path that would not fit where the monitor expects it counts as no choice.
  if (path.empty() || path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

}  // namespace korven
