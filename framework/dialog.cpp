#include "framework/dialog.h"

namespace fw {

bool CDialog::Create(CWnd* parent) {
  if (parent != nullptr) m_pParentWnd = parent;
  Hwnd parentHwnd = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
  return Windows().CreateDialogFromTemplate(m_nIDTemplate, parentHwnd, this) != nullptr;
}

std::intptr_t CDialog::DoModal() {
  Hwnd owner = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
  return Windows().RunModalDialog(m_nIDTemplate, owner, this);
}

void CDialog::EndDialog(std::intptr_t result) { Windows().EndDialog(m_hWnd, result); }

bool CDialog::UpdateData(bool saveAndValidate) {
  if (m_hWnd == nullptr) return false;
  CDataExchange dx(*this, saveAndValidate);
  DoDataExchange(&dx);
  return true;
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(kIdOk);
}

void CDialog::OnCancel() { EndDialog(kIdCancel); }

void CDialog::DoDataExchange(CDataExchange* /*dx*/) {}

bool CDialog::OnWndMsg(unsigned msg, WParam wParam, LParam lParam, LResult* result) {
  if (msg == wm::kInitDialog) {
    *result = OnInitDialog() ? 1 : 0;
    return true;
  }
  if (msg == wm::kCommand && HiWord(wParam) == bm::kNotifyClicked) {
    if (LoWord(wParam) == kIdOk) {
      OnOK();
      *result = 0;
      return true;
    }
    if (LoWord(wParam) == kIdCancel) {
      OnCancel();
      *result = 0;
      return true;
    }
  }
  return CWnd::OnWndMsg(msg, wParam, lParam, result);
}

}  // namespace fw
