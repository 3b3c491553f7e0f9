// CTrayIcon: one icon with a tooltip in the notification area and the popup menu that a
// press on it opens. The owner window forwards the icon's callback message here; the
// menu's commands reach the owner as ordinary menu commands.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/messages.h"
#include "framework/object.h"
#include "framework/window_system.h"
#include "framework/wnd.h"
#include "platform/platform.h"
#include "platform/shell.h"

namespace korven {

class CTrayIcon : public fw::CObject {
 public:
  CTrayIcon(fw::WindowSystem& windows, const platform::Platform& platform);
  ~CTrayIcon() override;

  const char* GetRuntimeClassName() const override { return kClassName; }
  static constexpr const char* kClassName = "CTrayIcon";

  // Adds `icon` with `tip` for `window`, whose menu resource `id` is also the icon's
  // identifier. The tray icon owns `icon` from here on, whatever the outcome.
  bool Create(fw::CWnd* window, unsigned callbackMessage, std::string_view tip, fw::Hicon icon,
              unsigned id);
  // Deletes the icon from the notification area and releases the icon and the menu.
  void RemoveIcon();
  // One callback message: wParam is the icon's identifier, the low word of lParam the mouse
  // message.
  virtual fw::LResult OnTrayNotification(fw::WParam wParam, fw::LParam lParam);

  bool IsEnabled() const { return m_bEnabled != 0; }
  const platform::NotifyIconData& Record() const { return m_nid; }
  fw::Hmenu Menu() const { return m_hMenu; }
  fw::Hmenu Popup() const { return m_hPopup; }

 private:
  fw::Hwnd Owner() const;
  fw::Hicon Icon() const;
  void ReleaseMenu();
  void ReleaseIcon();

  fw::WindowSystem& windows_;
  platform::Shell* shell_;

  std::int32_t m_bEnabled = 0;
  platform::NotifyIconData m_nid{};
  std::int32_t m_bInMenu = 0;
  fw::Hmenu m_hMenu = nullptr;
  fw::Hmenu m_hPopup = nullptr;
};

}  // namespace korven
