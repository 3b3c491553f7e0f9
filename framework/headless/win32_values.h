// Values of the platform that the headless window system needs beyond the framework's own
// vocabulary (messages.h).
#pragma once

#include <cstdint>

namespace fw::headless::win32 {

inline constexpr unsigned kWmEnable = 0x000A;
inline constexpr unsigned kScClose = 0xF060;
inline constexpr unsigned kEnChange = 0x0300;
inline constexpr unsigned kStnClicked = 0;
inline constexpr std::uint32_t kEsMultiline = 0x0004;
inline constexpr std::uint32_t kSsNotify = 0x0100;
inline constexpr std::uint32_t kSsTypeMask = 0x001F;
inline constexpr std::uint32_t kSsIcon = 0x0003;
inline constexpr std::uint32_t kSsBitmap = 0x000E;
inline constexpr unsigned kTcmGetItemA = 0x1305;
inline constexpr unsigned kTcmDeleteItem = 0x1308;
inline constexpr unsigned kTcmDeleteAllItems = 0x1309;
inline constexpr unsigned kBstIndeterminate = 2;

// Trackbar range messages beyond the framework's own.
inline constexpr unsigned kTbmSetRangeMin = 0x0407;
inline constexpr unsigned kTbmSetRangeMax = 0x0408;

// The tab row and border the tab control keeps around its display area.
inline constexpr int kTabRowHeight = 21;
inline constexpr int kTabBorder = 2;

}  // namespace fw::headless::win32
