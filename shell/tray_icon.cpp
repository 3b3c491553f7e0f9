#include "shell/tray_icon.h"

#include <algorithm>
#include <cstring>

namespace korven {

namespace {

// The oldest shell that has a notification area.
constexpr unsigned kMinimumMajorVersion = 4;

platform::WindowRef ToWindowRef(fw::Hwnd hwnd) {
  return static_cast<platform::WindowRef>(reinterpret_cast<std::uintptr_t>(hwnd));
}
platform::IconRef ToIconRef(fw::Hicon icon) {
  return static_cast<platform::IconRef>(reinterpret_cast<std::uintptr_t>(icon));
}

}  // namespace

CTrayIcon::CTrayIcon(fw::WindowSystem& windows, const platform::Platform& platform)
    : windows_(windows), shell_(platform.shell) {}

CTrayIcon::~CTrayIcon() {
  RemoveIcon();
}

fw::Hwnd CTrayIcon::Owner() const {
  return reinterpret_cast<fw::Hwnd>(static_cast<std::uintptr_t>(m_nid.hWnd));
}

fw::Hicon CTrayIcon::Icon() const {
  return reinterpret_cast<fw::Hicon>(static_cast<std::uintptr_t>(m_nid.hIcon));
}

bool CTrayIcon::Create(fw::CWnd* window, unsigned callbackMessage, std::string_view tip,
                       fw::Hicon icon, unsigned id) {
  // What an earlier Create left behind goes first, so nothing it holds is lost.
  RemoveIcon();

  const bool live = window != nullptr && windows_.IsWindow(window->GetSafeHwnd());
  if (shell_ == nullptr || shell_->MajorVersion() < kMinimumMajorVersion || !live) {
    m_bEnabled = 0;
    // The icon was handed over; nothing else will free it.
    if (icon != nullptr) windows_.DestroyIcon(icon);
    return false;
  }

  m_bEnabled = 1;
  m_nid = {};
  m_nid.cbSize = platform::NotifyIconData::kFirstFormSize;
  m_nid.hWnd = ToWindowRef(window->GetSafeHwnd());
  m_nid.uID = id;
  m_nid.uFlags = platform::nif::kMessage | platform::nif::kIcon | platform::nif::kTip;
  m_nid.hIcon = ToIconRef(icon);
  m_nid.uCallbackMessage = callbackMessage;
  const std::size_t length =
      std::min<std::size_t>(tip.size(), platform::NotifyIconData::kTipLength - 1);
  std::memcpy(m_nid.szTip, tip.data(), length);
  m_nid.szTip[length] = '\0';

  // A missing menu leaves the record in use, so the next RemoveIcon still frees the icon.
  m_hMenu = windows_.LoadMenu(static_cast<int>(id));
  if (m_hMenu == nullptr) return false;
  m_hPopup = windows_.GetSubMenu(m_hMenu, 0);
  if (m_hPopup == nullptr) return false;

  m_bEnabled = shell_->NotifyIcon(platform::nim::kAdd, m_nid) ? 1 : 0;
  if (m_bEnabled == 0) {
    // Refused by the shell: the record is not in use, so its icon and menu go now.
    ReleaseIcon();
    ReleaseMenu();
  }
  return m_bEnabled != 0;
}

void CTrayIcon::RemoveIcon() {
  if (m_bEnabled == 0) return;
  m_nid.uFlags = 0;
  if (shell_ != nullptr) shell_->NotifyIcon(platform::nim::kDelete, m_nid);
  ReleaseIcon();
  ReleaseMenu();
  m_bEnabled = 0;
}

void CTrayIcon::ReleaseIcon() {
  if (m_nid.hIcon == platform::IconRef{}) return;
  windows_.DestroyIcon(Icon());
  m_nid.hIcon = platform::IconRef{};
}

void CTrayIcon::ReleaseMenu() {
  if (m_hMenu == nullptr) return;
  // The popup is item 0; deleting it destroys it with it.
  windows_.DeleteMenu(m_hMenu, 0, fw::mf::kByPosition);
  windows_.DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  m_hPopup = nullptr;
}

fw::LResult CTrayIcon::OnTrayNotification(fw::WParam wParam, fw::LParam lParam) {
  if (wParam != m_nid.uID || m_bInMenu != 0) return 0;

  const unsigned mouse = fw::LoWord(static_cast<std::uintptr_t>(lParam));
  if (mouse != fw::wm::kLButtonDown && mouse != fw::wm::kRButtonDown) return 1;

  m_bInMenu = 1;
  const fw::Point at = windows_.GetCursorPos();
  const fw::Hwnd owner = Owner();
  // Without the foreground the menu would not close when the user clicks elsewhere.
  windows_.SetForegroundWindow(owner);
  windows_.TrackPopupMenu(m_hPopup, fw::tpm::kLeftAlign | fw::tpm::kTopAlign | fw::tpm::kLeftButton,
                          at.x, at.y, owner);
  m_bInMenu = 0;
  return 1;
}

}  // namespace korven
