// What the players' installations left in the registry: the values read through a player's
// key (any type, any length, with or without a zero) and the Winamp uninstall command, turned
// into program paths. A path is never longer than the platform's buffers hold.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/sim/sim_registry.h"
#include "remote/player_key.h"
#include "remote/players.h"
#include "remote/program_path.h"

namespace {

void CheckPath(const std::optional<std::string>& path) {
  if (path && path->size() > korven::kMaxPathLength) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korven::fuzz::Input in(data, size);
  platform::sim::SimRegistry registry;
  for (const korven::Player& player : korven::kPlayers) {
    const std::string bytes = in.Bytes(600);
    registry.SetValue(platform::HKey::LocalMachine, player.key, player.value, in.Byte() & 15,
                      std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  for (const korven::WinampGeneration& generation : korven::kWinampGenerations) {
    const std::string command = in.Bytes(600);
    registry.SetValue(platform::HKey::LocalMachine, generation.key, "UninstallString",
                      in.Byte() & 15, std::vector<std::uint8_t>(command.begin(), command.end()));
  }
  for (const korven::Player& player : korven::kPlayers) {
    korven::PlayerKey key(registry, player.key);
    if (auto text = key.ReadText(player.value)) {
      if (text->size() > korven::PlayerKey::kValueBufferSize) std::abort();
      CheckPath(korven::ProgramPathInDirectory(*text, player.programFile));
    }
    for (platform::Dword i = 0; i < 4; ++i) {
      if (!key.SubkeyName(i)) break;
    }
  }
  for (const korven::WinampGeneration& generation : korven::kWinampGenerations) {
    korven::PlayerKey key(registry, generation.key);
    if (auto command = key.ReadText("UninstallString")) {
      CheckPath(korven::ProgramPathFromUninstallCommand(*command, generation.programFile));
    }
  }
  const std::string raw(reinterpret_cast<const char*>(data), size);
  CheckPath(korven::ProgramPathFromUninstallCommand(raw, "\\winamp.EXE"));
  CheckPath(korven::ProgramPathInDirectory(raw, "\\WINDVD.EXE"));
  korven::PlayerFromListText(raw);
  if (registry.OpenHandleCount() != 0) std::abort();
  return 0;
}
