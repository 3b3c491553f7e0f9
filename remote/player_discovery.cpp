// Which of the supported media players are installed, from the players' own registry
// entries. The entries are only read; what is found goes to the page's check boxes and the
// Settings key.
#include <string_view>

#include "remote/player_key.h"
#include "remote/players.h"
#include "remote/remote_ctrl_page.h"

namespace korven {

namespace {

constexpr platform::Dword kWinamp3 = 1;
constexpr platform::Dword kWinampEarlier = 0;
constexpr platform::Dword kNoWinamp = 0xFFFFFFFF;

// Media Player counts from version 7 on: a version subkey whose name begins with "7." or
// "8.", compared without regard to case in its first two characters.
bool IsSupportedMediaPlayerVersion(std::string_view name) {
  auto startsWith = [name](std::string_view version) {
    if (name.size() < 2) return false;
    for (std::size_t i = 0; i < 2; ++i) {
      char c = name[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != version[i]) return false;
    }
    return true;
  };
  return startsWith("7.0") || startsWith("8.0");
}

bool HasSupportedVersion(const PlayerKey& key) {
  for (platform::Dword index = 0;; ++index) {
    const std::optional<std::string> name = key.SubkeyName(index);
    if (!name) return false;
    if (IsSupportedMediaPlayerVersion(*name)) return true;
  }
}

}  // namespace

platform::Dword CRemoteCtrlPage::DiscoverPlayers() {
  m_dwPowerKey = m_SettingsKey.ReadOrDefault(settings::DefaultSelect);
  platform::Dword discovered = 0;
  for (const Player& player : kPlayers) {
    if (IsInstalled(player)) {
      EnableDlgItem(player.checkBoxId, true);
      discovered += (player.number << 16) + 1;
      continue;
    }
    if (m_dwPowerKey == player.number) {
      m_dwPowerKey = kNoPlayer;
      m_SettingsKey.WriteDword(settings::DefaultSelect.name, m_dwPowerKey);
    }
    m_SettingsKey.WriteDword(player.enable.name, 0);
    CheckDlgButton(player.checkBoxId, fw::bm::kUnchecked);
    EnableDlgItem(player.checkBoxId, false);
  }
  m_SettingsKey.WriteDword(settings::ExistMPlayer, discovered);
  return discovered;
}

bool CRemoteCtrlPage::IsInstalled(const Player& player) {
  if (player.number == kWinamp) return IsWinampInstalled();
  PlayerKey key(m_registry, player.key);
  if (!key.IsOpen() || !key.ReadText(player.value)) return false;
  return player.number != kMediaPlayer || HasSupportedVersion(key);
}

bool CRemoteCtrlPage::IsWinampInstalled() {
  const Player& winamp = *FindPlayer(kWinamp);
  {
    // The uninstall key only has to open; the player's entry is one of its subkeys.
    PlayerKey uninstall(m_registry, winamp.key);
    if (!uninstall.IsOpen()) return false;
  }
  PlayerKey winamp3(m_registry, kWinampGenerations[kWinamp3].key);
  if (winamp3.IsOpen()) {
    m_SettingsKey.WriteDword(settings::IsWinamp3, kWinamp3);
    return winamp3.ReadText(winamp.value).has_value();
  }
  m_SettingsKey.WriteDword(settings::IsWinamp3, kNoWinamp);
  PlayerKey earlier(m_registry, kWinampGenerations[kWinampEarlier].key);
  if (!earlier.IsOpen()) {
    m_SettingsKey.WriteDword(settings::IsWinamp3, kNoWinamp);
    return false;
  }
  m_SettingsKey.WriteDword(settings::IsWinamp3, kWinampEarlier);
  return earlier.ReadText(winamp.value).has_value();
}

}  // namespace korven
