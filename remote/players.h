// The five media players the remote control's power key can start: their numbers, texts,
// check boxes, Enable values and where their own installations keep their paths.
#pragma once

#include <array>
#include <string_view>

#include "platform/win_types.h"
#include "settings/settings_values.h"

namespace korven {

// Player numbers, as stored in DefaultSelect and summed in the discovery word.
enum PlayerNumber : platform::Dword {
  kNoPlayer = 0,
  kWinDVD = 1,
  kPowerDVD = 2,
  kWinamp = 3,
  kWinrip = 4,
  kMediaPlayer = 5,
};

inline constexpr std::string_view kNotSelectedText = "Not Selected";

struct Player {
  PlayerNumber number;
  std::string_view listText;
  int checkBoxId;
  settings::DwordValue enable;
  // Below HKEY_LOCAL_MACHINE: the key and value that show the player is installed. For
  // every player but Winamp the value is the program's directory.
  const char* key;
  const char* value;
  // Appended to the directory, exactly in this letter case.
  std::string_view programFile;
};

// By number: kPlayers[n - 1] is player n.
extern const std::array<Player, 5> kPlayers;

// Winamp is found through its uninstall entry: a subkey of kPlayers' Winamp key per
// generation, whose uninstall command names the program's directory.
struct WinampGeneration {
  const char* key;  // full path below HKEY_LOCAL_MACHINE
  std::string_view programFile;
};
inline constexpr const char* kWinampProgramValue = "UninstallString";
// By IsWinamp3: 0 the earlier Winamp, 1 the Winamp3 generation.
extern const std::array<WinampGeneration, 2> kWinampGenerations;

// The activation lists the enabled players in this order, each inserted at the top.
inline constexpr std::array<PlayerNumber, 5> kActivationOrder = {kWinrip, kMediaPlayer, kWinamp,
                                                                 kPowerDVD, kWinDVD};

// Null for numbers outside 1-5.
const Player* FindPlayer(platform::Dword number);
const Player* FindPlayerByCheckBox(int id);
// "Not Selected" for 0; empty for numbers outside 0-5.
std::string_view ListText(platform::Dword number);
// The player whose list text occurs first in `text`, searched in the order "Not Selected",
// WinDVD, Power DVD, Winamp, Windows Media Player, Winrip; 0 when none occurs.
platform::Dword PlayerFromListText(std::string_view text);

}  // namespace korven
