#include "framework/win32/dialog_procedure.h"

#include <string>

#include "framework/resources/dlg_init.h"
#include "framework/window_system.h"

namespace fw::win32 {
namespace {

// Messages whose result a dialog procedure returns itself instead of via DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
  switch (msg) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
      return true;
    default:
      return false;
  }
}

// The strings of the template's initialisation data, into their controls. The data keeps the
// 16-bit platform's message numbers.
void ApplyDlgInit(HWND dialog, std::span<const std::uint8_t> data) {
  if (data.empty()) return;
  const auto records = res::ParseDlgInit(data);
  if (!records) return;
  for (const res::DlgInitRecord& record : *records) {
    UINT message = 0;
    if (record.message == res::kDlgInitComboAddString) message = CB_ADDSTRING;
    if (record.message == res::kDlgInitListAddString) message = LB_ADDSTRING;
    if (message == 0) continue;
    const std::string text = record.Text();
    SendDlgItemMessageA(dialog, record.controlId, message, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
  }
}

}  // namespace

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MessageTarget* target = nullptr;
  if (msg == WM_INITDIALOG) {
    // The controls hold their initial data, and the target learns its window, before it sees
    // any message.
    const auto* creation = reinterpret_cast<const DialogCreation*>(lParam);
    if (creation == nullptr) return FALSE;
    ApplyDlgInit(hwnd, creation->dlgInit);
    target = creation->target;
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(target));
    if (target != nullptr) target->AttachHandle(reinterpret_cast<Hwnd>(hwnd));
  } else {
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) find no target yet.
    target = reinterpret_cast<MessageTarget*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (target == nullptr) return FALSE;

  LResult result = 0;
  const bool handled = target->HandleMessage(msg, wParam, lParam, &result);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    target->DetachHandle();
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
  // The window may be gone by now (a handler destroyed it).
  if (msg != WM_NCDESTROY && ::IsWindow(hwnd)) {
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
  }
  return TRUE;
}

}  // namespace fw::win32
