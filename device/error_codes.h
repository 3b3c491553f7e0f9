// The negative error codes the companion libraries and the presence test report. The low
// 16 bits of a code are the string id of its text.
#pragma once

#include <cstdint>

namespace fw {
class WindowSystem;
}

namespace korven {

inline constexpr std::int32_t kErrorUnknown = -1;
inline constexpr std::int32_t kErrorDllMissing = -100;
inline constexpr std::int32_t kErrorHidDllMissing = -101;
inline constexpr std::int32_t kErrorNotInstalled = -200;
inline constexpr std::int32_t kErrorNotPluggedIn = -201;
inline constexpr std::int32_t kErrorReboot = -202;

// The string id of a code's text.
constexpr unsigned ErrorStringId(std::int32_t code) {
  return static_cast<std::uint32_t>(code) & 0xFFFFu;
}

// The box for an error code: its text (empty when the string table has none) under
// "KORVEN : WARNING", no owner, exclamation icon, OK. Returns when it is closed.
void ShowErrorCode(fw::WindowSystem& windows, std::int32_t code);

}  // namespace korven
