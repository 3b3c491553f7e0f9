// The window system the framework runs on: a small Win32-shaped interface with two
// implementations, real windows (win32/) and an in-memory window tree (headless/).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "framework/messages.h"
#include "framework/open_file_request.h"

namespace fw {

class CWnd;

// The message the shell sends to every top-level window when its taskbar has been created
// again: whatever was in the notification area is gone.
inline constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// What the window system calls for a window the framework owns. HandleMessage returns
// true when the message was handled (then *result is its result) and false to leave it
// to the window system's default processing.
class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  virtual void AttachHandle(Hwnd hwnd) = 0;  // before the first message reaches the target
  virtual void DetachHandle() = 0;           // after the window's last message
  virtual bool HandleMessage(unsigned msg, WParam wParam, LParam lParam, LResult* result) = 0;
  // A command or notification of this window that its parent forwards back to it (a child
  // control whose behaviour a framework object provides, like the sheet's tab row).
  virtual bool HandleReflected(unsigned /*msg*/, WParam /*wParam*/, LParam /*lParam*/,
                               LResult* /*result*/) {
    return false;
  }
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Dialogs from the program's templates. A modeless dialog returns its window (null on
  // failure) after WM_INITDIALOG has been handled; a modal run returns the EndDialog
  // result, or -1 when the dialog cannot be created.
  virtual Hwnd CreateDialogFromTemplate(int templateId, Hwnd parent, MessageTarget* target) = 0;
  virtual std::intptr_t RunModalDialog(int templateId, Hwnd owner, MessageTarget* target) = 0;
  // Ends a modal run; on a modeless dialog it only hides the window.
  virtual void EndDialog(Hwnd dialog, std::intptr_t result) = 0;

  // Caption of a dialog template (the tab text of a property page), without creating it.
  virtual std::string GetTemplateCaption(int templateId) = 0;
  // Size of a dialog template in dialog units (right and bottom; left and top are 0).
  virtual Rect GetTemplateSize(int templateId) = 0;

  // A child control of a window class the platform provides ("SysTabControl32", ...).
  virtual Hwnd CreateControl(Hwnd parent, const char* className, std::string_view text,
                             std::uint32_t style, const Rect& rect, int id) = 0;
  virtual bool DestroyWindow(Hwnd hwnd) = 0;
  virtual bool IsWindow(Hwnd hwnd) = 0;

  virtual LResult SendMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) = 0;
  virtual bool PostMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) = 0;
  // The message number every program gets for `name` (compared without
  // regard to case), from 0xC000 up; 0 when it cannot be registered.
  virtual unsigned RegisterWindowMessage(std::string_view name) = 0;

  // Window tree.
  virtual Hwnd GetDlgItem(Hwnd dialog, int id) = 0;
  virtual int GetDlgCtrlId(Hwnd hwnd) = 0;
  virtual Hwnd GetParent(Hwnd hwnd) = 0;
  virtual Hwnd GetNextSibling(Hwnd hwnd) = 0;  // next window in z-order, null after the last
  virtual std::uint32_t GetStyle(Hwnd hwnd) = 0;
  virtual std::string GetClassName(Hwnd hwnd) = 0;

  // State.
  virtual bool EnableWindow(Hwnd hwnd, bool enable) = 0;  // returns whether it was disabled
  virtual bool IsWindowEnabled(Hwnd hwnd) = 0;
  virtual bool ShowWindow(Hwnd hwnd, int command) = 0;  // returns whether it was visible
  virtual bool IsWindowVisible(Hwnd hwnd) = 0;
  virtual void SetWindowText(Hwnd hwnd, std::string_view text) = 0;
  virtual std::string GetWindowText(Hwnd hwnd) = 0;
  virtual Hwnd SetFocus(Hwnd hwnd) = 0;

  // Geometry: window rectangles in screen pixels, client rectangles and moves in the
  // parent's client pixels; dialog units of `dialog` mapped to its pixels.
  virtual Rect GetWindowRect(Hwnd hwnd) = 0;
  virtual Rect GetClientRect(Hwnd hwnd) = 0;
  virtual bool MoveWindow(Hwnd hwnd, const Rect& rect, bool repaint) = 0;
  virtual Rect MapDialogRect(Hwnd dialog, const Rect& dialogUnits) = 0;
  virtual Point ScreenToClient(Hwnd hwnd, Point screen) = 0;

  // Window timers: WM_TIMER with the id reaches the window every `elapseMs`. Setting an id
  // that runs already restarts it.
  virtual std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs) = 0;
  virtual bool KillTimer(Hwnd hwnd, std::uintptr_t id) = 0;

  // A modal message box; timers and posted messages keep being delivered while it is open.
  virtual int MessageBox(Hwnd owner, std::string_view text, std::string_view caption,
                         unsigned type) = 0;

  // String table of the program's resources; empty when absent.
  virtual std::string LoadString(unsigned id) = 0;

  // The modal open-file chooser: the full path of the file the user confirmed, or nothing
  // when the user cancelled or the chooser failed.
  virtual std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) = 0;

  // The application's main window: the owner of choosers opened without an owner. The
  // application object sets it.
  void SetMainWnd(CWnd* window) { mainWnd_ = window; }
  CWnd* GetMainWnd() const { return mainWnd_; }

  // Menus of the program's resources. A pop-up item's submenu belongs to its menu:
  // DestroyMenu, and DeleteMenu of that item, destroy it too.
  virtual Hmenu LoadMenu(int menuId) = 0;           // null when absent
  virtual Hmenu GetSubMenu(Hmenu menu, int position) = 0;  // null when not a pop-up item
  virtual bool DeleteMenu(Hmenu menu, unsigned item, unsigned flags) = 0;  // mf::kBy...
  virtual bool DestroyMenu(Hmenu menu) = 0;
  // Shows a pop-up menu at (x, y) in screen pixels and returns when it closes. The chosen
  // command is posted to `owner` as WM_COMMAND, or returned with tpm::kReturnCmd (0 when
  // the menu was dismissed).
  virtual int TrackPopupMenu(Hmenu menu, unsigned flags, int x, int y, Hwnd owner) = 0;
  virtual Point GetCursorPos() = 0;  // in screen pixels
  virtual bool SetForegroundWindow(Hwnd hwnd) = 0;

  // Icons of the program's resources, at their own size; the caller destroys them.
  virtual Hicon LoadIcon(int iconId) = 0;  // null when absent
  virtual bool DestroyIcon(Hicon icon) = 0;

  // Bitmaps of the program's resources, by number or by name, at their own size with the
  // default colours; the caller deletes them. Null when absent.
  virtual Hbitmap LoadBitmap(int bitmapId) = 0;
  virtual Hbitmap LoadBitmapByName(std::string_view name) = 0;
  virtual bool DeleteObject(Hbitmap bitmap) = 0;

  // Painting. RedrawWindow takes rdw:: flags. HasUpdateRegion tells whether some part of the
  // window waits to be repainted (GetUpdateRect without a rectangle or erase).
  virtual bool RedrawWindow(Hwnd hwnd, unsigned flags) = 0;
  virtual bool HasUpdateRegion(Hwnd hwnd) = 0;
  // A drawing context on a window's client area, in its client pixels. A pixel outside the
  // visible area reads as kInvalidColor, and writing it does nothing.
  virtual Hdc GetDC(Hwnd hwnd) = 0;
  virtual bool ReleaseDC(Hwnd hwnd, Hdc dc) = 0;
  virtual ColorRef GetPixel(Hdc dc, int x, int y) = 0;
  virtual ColorRef SetPixel(Hdc dc, int x, int y, ColorRef color) = 0;  // the colour set
  virtual bool DrawBitmap(Hdc dc, Hbitmap bitmap, int x, int y) = 0;    // at its own size

  // Framework objects by window, so notifications can be reflected to the object that owns
  // a child control.
  void Register(Hwnd hwnd, MessageTarget* target) { objects_[hwnd] = target; }
  void Unregister(Hwnd hwnd) { objects_.erase(hwnd); }
  MessageTarget* Lookup(Hwnd hwnd) const {
    auto it = objects_.find(hwnd);
    return it == objects_.end() ? nullptr : it->second;
  }

 private:
  std::unordered_map<Hwnd, MessageTarget*> objects_;
  CWnd* mainWnd_ = nullptr;
};

}  // namespace fw
