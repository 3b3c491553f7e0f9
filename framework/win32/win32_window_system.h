// The window system on real Win32 windows: dialogs from the program's resources, common
// controls, timers and message boxes of user32/comctl32.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/window_system.h"

namespace fw::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  // `instance` is the module holding the dialog templates and strings; null is the program.
  explicit Win32WindowSystem(void* instance = nullptr);

  Hwnd CreateDialogFromTemplate(int templateId, Hwnd parent, MessageTarget* target) override;
  std::intptr_t RunModalDialog(int templateId, Hwnd owner, MessageTarget* target) override;
  void EndDialog(Hwnd dialog, std::intptr_t result) override;
  std::string GetTemplateCaption(int templateId) override;
  Rect GetTemplateSize(int templateId) override;

  Hwnd CreateControl(Hwnd parent, const char* className, std::string_view text, std::uint32_t style,
                     const Rect& rect, int id) override;
  bool DestroyWindow(Hwnd hwnd) override;
  bool IsWindow(Hwnd hwnd) override;

  LResult SendMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) override;
  bool PostMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) override;
  unsigned RegisterWindowMessage(std::string_view name) override;

  Hwnd GetDlgItem(Hwnd dialog, int id) override;
  int GetDlgCtrlId(Hwnd hwnd) override;
  Hwnd GetParent(Hwnd hwnd) override;
  Hwnd GetNextSibling(Hwnd hwnd) override;
  std::uint32_t GetStyle(Hwnd hwnd) override;
  std::string GetClassName(Hwnd hwnd) override;

  bool EnableWindow(Hwnd hwnd, bool enable) override;
  bool IsWindowEnabled(Hwnd hwnd) override;
  bool ShowWindow(Hwnd hwnd, int command) override;
  bool IsWindowVisible(Hwnd hwnd) override;
  void SetWindowText(Hwnd hwnd, std::string_view text) override;
  std::string GetWindowText(Hwnd hwnd) override;
  Hwnd SetFocus(Hwnd hwnd) override;

  Rect GetWindowRect(Hwnd hwnd) override;
  Rect GetClientRect(Hwnd hwnd) override;
  bool MoveWindow(Hwnd hwnd, const Rect& rect, bool repaint) override;
  Rect MapDialogRect(Hwnd dialog, const Rect& dialogUnits) override;
  Point ScreenToClient(Hwnd hwnd, Point screen) override;

  std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs) override;
  bool KillTimer(Hwnd hwnd, std::uintptr_t id) override;

  int MessageBox(Hwnd owner, std::string_view text, std::string_view caption,
                 unsigned type) override;

  std::string LoadString(unsigned id) override;

  Hmenu LoadMenu(int menuId) override;
  Hmenu GetSubMenu(Hmenu menu, int position) override;
  bool DeleteMenu(Hmenu menu, unsigned item, unsigned flags) override;
  bool DestroyMenu(Hmenu menu) override;
  int TrackPopupMenu(Hmenu menu, unsigned flags, int x, int y, Hwnd owner) override;
  Point GetCursorPos() override;
  bool SetForegroundWindow(Hwnd hwnd) override;

  Hicon LoadIcon(int iconId) override;
  bool DestroyIcon(Hicon icon) override;

  Hbitmap LoadBitmap(int bitmapId) override;
  Hbitmap LoadBitmapByName(std::string_view name) override;
  bool DeleteObject(Hbitmap bitmap) override;
  bool RedrawWindow(Hwnd hwnd, unsigned flags) override;
  bool HasUpdateRegion(Hwnd hwnd) override;
  Hdc GetDC(Hwnd hwnd) override;
  bool ReleaseDC(Hwnd hwnd, Hdc dc) override;
  ColorRef GetPixel(Hdc dc, int x, int y) override;
  ColorRef SetPixel(Hdc dc, int x, int y, ColorRef color) override;
  bool DrawBitmap(Hdc dc, Hbitmap bitmap, int x, int y) override;
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) override;

 private:
  bool IsModalTarget(const MessageTarget* target) const;
  // The bytes of a resource of the program; empty when absent.
  std::span<const std::uint8_t> FindResourceData(int id, int type) const;

  void* instance_;
  // Targets of the modal runs in progress, innermost last: EndDialog ends those and only
  // hides modeless dialogs.
  std::vector<MessageTarget*> modalTargets_;
};

}  // namespace fw::win32
