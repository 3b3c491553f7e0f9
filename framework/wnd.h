// CWnd: a framework object bound to one window of the window system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/messages.h"
#include "framework/window_system.h"

namespace fw {

class CWinApp;

class CWnd : public MessageTarget {
 public:
  explicit CWnd(WindowSystem& windows) : windows_(windows) {}
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  ~CWnd() override;

  Hwnd GetSafeHwnd() const { return m_hWnd; }
  WindowSystem& Windows() const { return windows_; }

  // Binds this object to an existing window (a control of a dialog), or lets it go.
  void Attach(Hwnd hwnd);
  void Detach();

  virtual bool DestroyWindow();

  // Where commands this window does not handle go next (the application object).
  void SetCommandFallback(CWinApp* app) { commandFallback_ = app; }

  LResult SendMessage(unsigned msg, WParam wParam = 0, LParam lParam = 0) const;
  bool PostMessage(unsigned msg, WParam wParam = 0, LParam lParam = 0) const;
  bool ShowWindow(int command) const;
  bool IsWindowVisible() const;
  bool EnableWindow(bool enable) const;
  bool IsWindowEnabled() const;
  void SetWindowText(std::string_view text) const;
  std::string GetWindowText() const;
  Rect GetWindowRect() const;
  Rect GetClientRect() const;
  bool MoveWindow(const Rect& rect, bool repaint = true) const;
  bool RedrawWindow(unsigned flags) const;  // rdw::k...

  // Children by control id.
  Hwnd GetDlgItem(int id) const;
  void EnableDlgItem(int id, bool enable) const;
  bool IsDlgItemEnabled(int id) const;
  void CheckDlgButton(int id, int state) const;
  int IsDlgButtonChecked(int id) const;
  // Checks `id` and clears the other buttons of first..last.
  void CheckRadioButton(int firstId, int lastId, int id) const;
  void SetDlgItemText(int id, std::string_view text) const;
  std::string GetDlgItemText(int id) const;

  std::uintptr_t SetTimer(std::uintptr_t id, unsigned elapseMs) const;
  bool KillTimer(std::uintptr_t id) const;
  int MessageBox(std::string_view text, std::string_view caption, unsigned type) const;
  std::string LoadString(unsigned id) const { return windows_.LoadString(id); }

  // MessageTarget
  void AttachHandle(Hwnd hwnd) override;
  void DetachHandle() override;
  bool HandleMessage(unsigned msg, WParam wParam, LParam lParam, LResult* result) override;
  bool HandleReflected(unsigned msg, WParam wParam, LParam lParam, LResult* result) override {
    return OnChildNotify(msg, wParam, lParam, result);
  }

 protected:
  // The message map of the class; a derived class with its own map dispatches it and then
  // chains to its base. Returns false to leave the message to the default processing.
  virtual bool OnWndMsg(unsigned msg, WParam wParam, LParam lParam, LResult* result);
  // A notification or command of a child window this object owns, reflected by the parent.
  virtual bool OnChildNotify(unsigned /*msg*/, WParam /*wParam*/, LParam /*lParam*/,
                             LResult* /*result*/) {
    return false;
  }
  // After the window is gone.
  virtual void PostNcDestroy() {}

  Hwnd m_hWnd = nullptr;

 private:
  WindowSystem& windows_;
  bool owned_ = false;
  CWinApp* commandFallback_ = nullptr;  // the window was made for this object (not merely attached)
};

}  // namespace fw
