#include "shell/filter_host.h"

#include "framework/message_map.h"
#include "res/resource.h"

namespace korven {

const fw::map::Entry<CFilterHostDlg> CFilterHostDlg::kMessageMap[] = {
    fw::map::Command(IDC_CLOSE, &CFilterHostDlg::OnClose),
};

CFilterHostDlg::CFilterHostDlg(fw::WindowSystem& windows, const platform::Platform& platform)
    : CDialog(windows, IDD_CONTROL_PANEL), platform_(platform), m_sheet(windows) {}

CFilterHostDlg::~CFilterHostDlg() = default;

bool CFilterHostDlg::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                              fw::LResult* result) {
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CDialog::OnWndMsg(msg, wParam, lParam, result);
}

bool CFilterHostDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_pFilterPage = std::make_unique<CEffectsPage>(Windows(), platform_);
  m_sheet.AddPage(m_pFilterPage.get());
  // The sheet sits where the invisible frame marks its place.
  const fw::Rect frame = Windows().GetWindowRect(GetDlgItem(IDC_SHEET_FRAME));
  const fw::Point topLeft = Windows().ScreenToClient(m_hWnd, {frame.left, frame.top});
  const fw::Point bottomRight = Windows().ScreenToClient(m_hWnd, {frame.right, frame.bottom});
  m_sheet.Create(*this, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
  m_pFilterPage->ActivationMode = CEffectsPage::PushAll;
  m_sheet.SetActivePage(0);
  return true;
}

void CFilterHostDlg::OnCancel() { OnClose(); }

void CFilterHostDlg::OnClose() {
  // Leave the device neutral, as the program does at exit.
  m_pFilterPage->ActivationMode = CEffectsPage::ExitReset;
  m_sheet.SetActivePage(0);
  m_pFilterPage->OnKillActive();
  m_sheet.DestroyWindow();
  m_pFilterPage->DestroyWindow();
  m_pFilterPage.reset();
  EndDialog(fw::kIdOk);
}

int RunFilterHost(fw::WindowSystem& windows, const platform::Platform& platform) {
  CFilterHostDlg host(windows, platform);
  return static_cast<int>(host.DoModal());
}

}  // namespace korven
