// Shell seam: the notification area (Shell_NotifyIconA) and the platform's version
// (GetVersion).
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace platform {

// Window and icon handles as the shell takes them; the window system's own handles converted.
enum class WindowRef : std::uintptr_t {};
enum class IconRef : std::uintptr_t {};

// NOTIFYICONDATAA in its first form: 88 bytes on the 32-bit platform.
struct NotifyIconData {
  static constexpr Dword kFirstFormSize = 88;
  static constexpr int kTipLength = 64;  // with the terminating zero

  Dword cbSize = 0;
  WindowRef hWnd{};
  unsigned uID = 0;
  unsigned uFlags = 0;
  unsigned uCallbackMessage = 0;
  IconRef hIcon{};
  char szTip[kTipLength] = {};
};

// Shell_NotifyIcon messages and record flags (NIM_*, NIF_*).
namespace nim {
inline constexpr Dword kAdd = 0;
inline constexpr Dword kDelete = 2;
}  // namespace nim
namespace nif {
inline constexpr unsigned kMessage = 0x1;
inline constexpr unsigned kIcon = 0x2;
inline constexpr unsigned kTip = 0x4;
}  // namespace nif

class Shell {
 public:
  virtual ~Shell() = default;

  // Adds or deletes a notification-area icon; true when the shell accepted it.
  virtual bool NotifyIcon(Dword message, const NotifyIconData& data) = 0;
  // GetVersion's value: major version in the low byte, minor in the next.
  virtual Dword GetVersion() = 0;

  unsigned MajorVersion() { return GetVersion() & 0xFF; }
};

}  // namespace platform
