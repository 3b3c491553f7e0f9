#include "framework/data_exchange.h"

#include "framework/wnd.h"

namespace fw {

namespace {

bool IsRadioButton(WindowSystem& windows, Hwnd hwnd) {
  // The style first: it rules out most controls without copying a class name.
  const std::uint32_t type = windows.GetStyle(hwnd) & bs::kTypeMask;
  if (type != bs::kRadioButton && type != bs::kAutoRadioButton) return false;
  return windows.GetClassName(hwnd) == "Button";
}

}  // namespace

void DDX_Check(CDataExchange* dx, int id, int& value) {
  CWnd& dialog = *dx->m_pDlgWnd;
  if (dx->m_bSaveAndValidate) {
    value = dialog.IsDlgButtonChecked(id);
  } else {
    dialog.CheckDlgButton(id, value);
  }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
  CWnd& dialog = *dx->m_pDlgWnd;
  if (dx->m_bSaveAndValidate) {
    value = dialog.GetDlgItemText(id);
  } else {
    dialog.SetDlgItemText(id, value);
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  CWnd& dialog = *dx->m_pDlgWnd;
  WindowSystem& windows = dialog.Windows();
  Hwnd button = dialog.GetDlgItem(id);
  if (button == nullptr) return;
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  // The group runs from the first button to the next control that starts a group.
  for (Hwnd hwnd = button; hwnd != nullptr; hwnd = windows.GetNextSibling(hwnd)) {
    if (hwnd != button && (windows.GetStyle(hwnd) & ws::kGroup) != 0) break;
    if (!IsRadioButton(windows, hwnd)) continue;
    if (dx->m_bSaveAndValidate) {
      if (windows.SendMessage(hwnd, bm::kGetCheck, 0, 0) != bm::kUnchecked) value = index;
    } else {
      windows.SendMessage(hwnd, bm::kSetCheck, index == value ? bm::kChecked : bm::kUnchecked, 0);
    }
    ++index;
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.GetSafeHwnd() == nullptr) control.Attach(dx->m_pDlgWnd->GetDlgItem(id));
}

}  // namespace fw
