#include "remote/players.h"

#include "res/resource.h"

namespace korven {

const std::array<Player, 5> kPlayers = {{
    {kWinDVD, "WinDVD", IDC_PLAYER_WINDVD, settings::WinDVDEnable, "SOFTWARE\\InterVideo\\WinDVD\\",
     "PATH", "\\WINDVD.EXE"},
    {kPowerDVD, "Power DVD", IDC_PLAYER_POWERDVD, settings::PowerDVDEnable,
     "SOFTWARE\\CyberLink\\PowerDVD\\", "InstallDir", "\\PowerDVD.EXE"},
    {kWinamp, "Winamp", IDC_PLAYER_WINAMP, settings::WinampEnable,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", "DisplayName", ""},
    {kWinrip, "Winrip", IDC_PLAYER_WINRIP, settings::WinripEnable,
     "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\WinRip.exe\\", "PATH",
     "\\WINRip.EXE"},
    {kMediaPlayer, "Windows Media Player", IDC_PLAYER_MEDIAPLAYER, settings::MediaPlayerEnable,
     "SOFTWARE\\Microsoft\\MediaPlayer\\", "Installation Directory", "\\wmplayer.EXE"},
}};

const std::array<WinampGeneration, 2> kWinampGenerations = {{
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp\\", "\\winamp.EXE"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp3\\", "\\Studio.EXE"},
}};

namespace {

// Windows Media Player comes before Winrip: the order in which texts are looked for.
constexpr std::array<PlayerNumber, 6> kTextMatchOrder = {kNoPlayer, kWinDVD,      kPowerDVD,
                                                         kWinamp,   kMediaPlayer, kWinrip};

}  // namespace

const Player* FindPlayer(platform::Dword number) {
  if (number < kWinDVD || number > kMediaPlayer) return nullptr;
  return &kPlayers[number - 1];
}

const Player* FindPlayerByCheckBox(int id) {
  for (const Player& player : kPlayers) {
    if (player.checkBoxId == id) return &player;
  }
  return nullptr;
}

std::string_view ListText(platform::Dword number) {
  if (number == kNoPlayer) return kNotSelectedText;
  const Player* player = FindPlayer(number);
  return player != nullptr ? player->listText : std::string_view();
}

platform::Dword PlayerFromListText(std::string_view text) {
  for (PlayerNumber number : kTextMatchOrder) {
    if (text.find(ListText(number)) != std::string_view::npos) return number;
  }
  return kNoPlayer;
}

}  // namespace korven
