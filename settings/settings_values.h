// Every value of the Settings key with its default, in one place.
#pragma once

#include "platform/win_types.h"

namespace korven::settings {

struct DwordValue {
  const char* name;
  platform::Dword defaultValue;
};

inline constexpr platform::Dword kUnityGainBits = 0x3F800000;  // 1.0f

inline constexpr DwordValue EnableFilter{"EnableFilter", 1};
inline constexpr DwordValue OutputMode{"OutputMode", 1};
inline constexpr DwordValue BassOutputMode{"BassOutputMode", 0};
inline constexpr DwordValue SystemVolume{"SystemVolume", 1};
inline constexpr DwordValue VolumeL{"VolumeL", kUnityGainBits};
inline constexpr DwordValue VolumeR{"VolumeR", kUnityGainBits};
inline constexpr DwordValue VolumeC{"VolumeC", kUnityGainBits};
inline constexpr DwordValue VolumeLFE{"VolumeLFE", kUnityGainBits};
inline constexpr DwordValue VolumeRL{"VolumeRL", kUnityGainBits};
inline constexpr DwordValue VolumeRR{"VolumeRR", kUnityGainBits};
inline constexpr DwordValue FilterVolume{"FilterVolume", 1};
inline constexpr DwordValue TestMode{"TestMode", 2};
inline constexpr DwordValue TestBtnStatus{"TestBtnStatus", 0};
inline constexpr DwordValue WinDVDEnable{"WinDVDEnable", 0};
inline constexpr DwordValue PowerDVDEnable{"PowerDVDEnable", 0};
inline constexpr DwordValue WinampEnable{"WinampEnable", 0};
inline constexpr DwordValue WinripEnable{"WinripEnable", 0};
inline constexpr DwordValue MediaPlayerEnable{"MediaPlayerEnable", 0};
inline constexpr DwordValue DefaultSelect{"DefaultSelect", 0};

// Written without a default: read by nothing in the program or written only by discovery.
inline constexpr const char* OneKeyStart = "OneKeyStart";  // REG_SZ
inline constexpr const char* IsWinamp3 = "IsWinamp3";
inline constexpr const char* ExistMPlayer = "ExistMPlayer";

}  // namespace korven::settings
