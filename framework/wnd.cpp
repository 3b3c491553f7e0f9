#include "framework/wnd.h"

#include "framework/win_app.h"

namespace fw {

CWnd::~CWnd() {
  if (m_hWnd == nullptr) return;
  Hwnd hwnd = m_hWnd;
  const bool owned = owned_;
  Detach();
  // A window made for this object must not outlive it: its messages would reach a dead object.
  if (owned) windows_.DestroyWindow(hwnd);
}

void CWnd::Attach(Hwnd hwnd) {
  m_hWnd = hwnd;
  owned_ = false;
  if (hwnd != nullptr) windows_.Register(hwnd, this);
}

void CWnd::Detach() {
  if (m_hWnd != nullptr && windows_.Lookup(m_hWnd) == this) windows_.Unregister(m_hWnd);
  m_hWnd = nullptr;
  owned_ = false;
}

void CWnd::AttachHandle(Hwnd hwnd) {
  Attach(hwnd);
  owned_ = true;
}

void CWnd::DetachHandle() {
  Detach();
  PostNcDestroy();
}

bool CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return false;
  Hwnd hwnd = m_hWnd;
  const bool owned = owned_;
  const bool destroyed = windows_.DestroyWindow(hwnd);
  // A window the window system does not know this object for (an attached control) sends
  // nothing back, so let it go here.
  if (!owned || m_hWnd == hwnd) Detach();
  return destroyed;
}

bool CWnd::HandleMessage(unsigned msg, WParam wParam, LParam lParam, LResult* result) {
  return OnWndMsg(msg, wParam, lParam, result);
}

bool CWnd::OnWndMsg(unsigned msg, WParam wParam, LParam lParam, LResult* result) {
  // Commands and notifications of a child whose behaviour an object provides go back to it.
  Hwnd child = nullptr;
  if (msg == wm::kCommand && lParam != 0) {
    child = reinterpret_cast<Hwnd>(lParam);
  } else if (msg == wm::kNotify && lParam != 0) {
    child = reinterpret_cast<const NmHdr*>(lParam)->hwndFrom;
  } else if (msg == wm::kDrawItem && lParam != 0) {
    child = reinterpret_cast<const DrawItem*>(lParam)->hwndItem;
  }
  if (child != nullptr && child != m_hWnd) {
    if (MessageTarget* owner = windows_.Lookup(child); owner != nullptr && owner != this) {
      return owner->HandleReflected(msg, wParam, lParam, result);
    }
  }
  if (msg == wm::kCommand && commandFallback_ != nullptr &&
      commandFallback_->OnCommand(LoWord(wParam), HiWord(wParam))) {
    *result = 0;
    return true;
  }
  return false;
}

LResult CWnd::SendMessage(unsigned msg, WParam wParam, LParam lParam) const {
  return windows_.SendMessage(m_hWnd, msg, wParam, lParam);
}
bool CWnd::PostMessage(unsigned msg, WParam wParam, LParam lParam) const {
  return windows_.PostMessage(m_hWnd, msg, wParam, lParam);
}
bool CWnd::ShowWindow(int command) const { return windows_.ShowWindow(m_hWnd, command); }
bool CWnd::IsWindowVisible() const { return windows_.IsWindowVisible(m_hWnd); }
bool CWnd::EnableWindow(bool enable) const { return windows_.EnableWindow(m_hWnd, enable); }
bool CWnd::IsWindowEnabled() const { return windows_.IsWindowEnabled(m_hWnd); }
void CWnd::SetWindowText(std::string_view text) const { windows_.SetWindowText(m_hWnd, text); }
std::string CWnd::GetWindowText() const { return windows_.GetWindowText(m_hWnd); }
Rect CWnd::GetWindowRect() const { return windows_.GetWindowRect(m_hWnd); }
Rect CWnd::GetClientRect() const { return windows_.GetClientRect(m_hWnd); }
bool CWnd::MoveWindow(const Rect& rect, bool repaint) const {
  return windows_.MoveWindow(m_hWnd, rect, repaint);
}
bool CWnd::RedrawWindow(unsigned flags) const { return windows_.RedrawWindow(m_hWnd, flags); }

Hwnd CWnd::GetDlgItem(int id) const { return windows_.GetDlgItem(m_hWnd, id); }
void CWnd::EnableDlgItem(int id, bool enable) const { windows_.EnableWindow(GetDlgItem(id), enable); }
bool CWnd::IsDlgItemEnabled(int id) const { return windows_.IsWindowEnabled(GetDlgItem(id)); }
void CWnd::CheckDlgButton(int id, int state) const {
  windows_.SendMessage(GetDlgItem(id), bm::kSetCheck, static_cast<WParam>(state), 0);
}
int CWnd::IsDlgButtonChecked(int id) const {
  return static_cast<int>(windows_.SendMessage(GetDlgItem(id), bm::kGetCheck, 0, 0));
}
void CWnd::SetDlgItemText(int id, std::string_view text) const {
  windows_.SetWindowText(GetDlgItem(id), text);
}
void CWnd::CheckRadioButton(int firstId, int lastId, int id) const {
  for (int button = firstId; button <= lastId; ++button) {
    CheckDlgButton(button, button == id ? bm::kChecked : bm::kUnchecked);
  }
}
std::string CWnd::GetDlgItemText(int id) const { return windows_.GetWindowText(GetDlgItem(id)); }

std::uintptr_t CWnd::SetTimer(std::uintptr_t id, unsigned elapseMs) const {
  return windows_.SetTimer(m_hWnd, id, elapseMs);
}
bool CWnd::KillTimer(std::uintptr_t id) const { return windows_.KillTimer(m_hWnd, id); }
int CWnd::MessageBox(std::string_view text, std::string_view caption, unsigned type) const {
  return windows_.MessageBox(m_hWnd, text, caption, type);
}

}  // namespace fw
