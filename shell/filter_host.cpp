#include "shell/filter_host.h"

#include "framework/message_map.h"
#include "res/resource.h"

namespace korven {

namespace {
// Page indexes of the sheet, as in the program's main window.
constexpr int kVolumePage = 0;
constexpr int kFilterPage = 1;
constexpr int kRemoteCtrlPage = 2;
}  // namespace

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
  // Choosers opened without an owner belong to this window.
  Windows().SetMainWnd(this);
  m_pVolumePage = std::make_unique<CVolumePage>(Windows(), platform_);
  m_pFilterPage = std::make_unique<CEffectsPage>(Windows(), platform_);
  m_pRemoteCtrlPage = std::make_unique<CRemoteCtrlPage>(Windows(), platform_);
  m_sheet.AddPage(m_pVolumePage.get());
  m_sheet.AddPage(m_pFilterPage.get());
  m_sheet.AddPage(m_pRemoteCtrlPage.get());
  // The sheet sits where the invisible frame marks its place.
  const fw::Rect frame = Windows().GetWindowRect(GetDlgItem(IDC_SHEET_FRAME));
  const fw::Point topLeft = Windows().ScreenToClient(m_hWnd, {frame.left, frame.top});
  const fw::Point bottomRight = Windows().ScreenToClient(m_hWnd, {frame.right, frame.bottom});
  m_sheet.Create(*this, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
  // The Volume page first: creating it sends the stored trims. The Remote Controller page
  // next, so that player discovery (and perhaps the program chooser) runs before the window
  // is shown. Then the Filter page pushes the stored filter settings.
  m_sheet.SetActivePage(kVolumePage);
  m_sheet.SetActivePage(kRemoteCtrlPage);
  m_pFilterPage->ActivationMode = CEffectsPage::PushAll;
  m_sheet.SetActivePage(kFilterPage);
  return true;
}

void CFilterHostDlg::OnCancel() {
  OnClose();
}

void CFilterHostDlg::OnClose() {
  // Leave the device neutral, as the program does at exit.
  m_pFilterPage->ActivationMode = CEffectsPage::ExitReset;
  m_sheet.SetActivePage(kFilterPage);
  m_pFilterPage->OnKillActive();
  m_sheet.DestroyWindow();
  m_pFilterPage->DestroyWindow();
  m_pVolumePage->DestroyWindow();
  m_pRemoteCtrlPage->DestroyWindow();
  m_pFilterPage.reset();
  m_pVolumePage.reset();
  m_pRemoteCtrlPage.reset();
  if (Windows().GetMainWnd() == this) Windows().SetMainWnd(nullptr);
  EndDialog(fw::kIdOk);
}

int RunFilterHost(fw::WindowSystem& windows, const platform::Platform& platform) {
  CFilterHostDlg host(windows, platform);
  return static_cast<int>(host.DoModal());
}

}  // namespace korven
