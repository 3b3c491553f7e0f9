#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_headers.h"
// windows.h first: shellapi.h relies on its types.
#include <shellapi.h>

#include <cstring>

namespace platform::win32 {

static_assert(nim::kAdd == NIM_ADD && nim::kDelete == NIM_DELETE);
static_assert(nif::kMessage == NIF_MESSAGE && nif::kIcon == NIF_ICON && nif::kTip == NIF_TIP);
static_assert(sizeof(NOTIFYICONDATAA::szTip) >= NotifyIconData::kTipLength);
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == NotifyIconData::kFirstFormSize);
#endif

bool Win32Shell::NotifyIcon(Dword message, const NotifyIconData& data) {
  // The record's first form, as the shell of every version takes it. On a 64-bit build its
  // size follows the wider handles.
  NOTIFYICONDATAA nid;
  std::memset(&nid, 0, sizeof nid);
  nid.cbSize = data.cbSize == NotifyIconData::kFirstFormSize ? NOTIFYICONDATAA_V1_SIZE : sizeof nid;
  nid.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(data.hWnd));
  nid.uID = data.uID;
  nid.uFlags = data.uFlags;
  nid.uCallbackMessage = data.uCallbackMessage;
  nid.hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(data.hIcon));
  std::memcpy(nid.szTip, data.szTip, NotifyIconData::kTipLength);
  nid.szTip[NotifyIconData::kTipLength - 1] = '\0';
  return Shell_NotifyIconA(message, &nid) != FALSE;
}

Dword Win32Shell::GetVersion() {
  // Deprecated on later systems, which answer a compatible value.
  return ::GetVersion();
}

}  // namespace platform::win32
