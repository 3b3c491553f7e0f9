#include "shell/control_panel_dlg.h"

#include "device/companion_libraries.h"
#include "device/device_handle.h"
#include "device/device_presence.h"
#include "device/requests.h"
#include "pages/effects_page.h"
#include "pages/volume_page.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "remote/remote_ctrl_page.h"
#include "res/resource.h"
#include "shell/information_page.h"
#include "speaker_test/speaker_test_dlg.h"

namespace korven {

namespace {

constexpr unsigned kSourcePollMs = 200;
constexpr platform::Dword kArrivalWaitMs = 1000;

}  // namespace

const fw::map::Entry<CControlPanelDlg> CControlPanelDlg::kMessageMap[] = {
    fw::map::Command(ID_TRAY_EXIT, &CControlPanelDlg::OnTrayExit),
    fw::map::Command(ID_TRAY_OPEN_SETTING, &CControlPanelDlg::OnOpenSetting),
    fw::map::Command(ID_TRAY_CLOSE_SETTING, &CControlPanelDlg::OnCloseSetting),
    fw::map::Command(IDC_CLOSE, &CControlPanelDlg::OnCloseSetting),
    fw::map::Command(ID_TRAY_TEST_SPEAKER, &CControlPanelDlg::OnTestSpeaker),
    fw::map::Timer(&CControlPanelDlg::OnTimer),
    fw::map::Message(fw::wm::kClose, &CControlPanelDlg::OnClose),
    // The default painting validates the window; without it the paint comes back for ever.
    fw::map::MessageThenDefault(fw::wm::kPaint, &CControlPanelDlg::OnPaint),
    fw::map::Message(fw::wm::kQueryDragIcon, &CControlPanelDlg::OnQueryDragIcon),
    fw::map::Message(fw::wm::kMove, &CControlPanelDlg::OnMove),
    fw::map::Message(fw::wm::kDeviceChange, &CControlPanelDlg::OnDeviceChange),
    fw::map::Message(WM_TRAY_NOTIFY, &CControlPanelDlg::OnTrayNotify),
    fw::map::Message(WM_REMOTE_PAGE, &CControlPanelDlg::OnRemotePage),
};

CControlPanelDlg::CControlPanelDlg(fw::WindowSystem& windows, const platform::Platform& platform,
                                   ProcessState& process)
    : CDialog(windows, IDD_CONTROL_PANEL),
      platform_(platform),
      process_(process),
      m_sheetFrame(windows),
      m_hIcon(windows.LoadIcon(IDI_TRAY_CLOSED)),
      m_trayIcon(windows, platform),
      m_sheet(windows) {}

CControlPanelDlg::~CControlPanelDlg() {
  if (m_hIcon != nullptr) Windows().DestroyIcon(m_hIcon);
}

bool CControlPanelDlg::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                                fw::LResult* result) {
  // A registered message has no number before run time, so no row of the map can name it.
  if (m_uTaskbarCreated != 0 && msg == m_uTaskbarCreated) {
    OnTaskbarCreated();
    *result = 0;
    return true;
  }
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CDialog::OnWndMsg(msg, wParam, lParam, result);
}

void CControlPanelDlg::DoDataExchange(fw::CDataExchange* dx) {
  fw::DDX_Control(dx, IDC_SHEET_FRAME, m_sheetFrame);
}

bool CControlPanelDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_uTaskbarCreated = Windows().RegisterWindowMessage(fw::kTaskbarCreatedMessage);
  SendMessage(fw::wm::kSetIcon, fw::icon::kBig, reinterpret_cast<fw::LParam>(m_hIcon));
  SendMessage(fw::wm::kSetIcon, fw::icon::kSmall, reinterpret_cast<fw::LParam>(m_hIcon));

  m_pFilterPage = std::make_unique<CEffectsPage>(Windows(), platform_, process_.filterOpenFailures);
  m_pVolumePage = std::make_unique<CVolumePage>(Windows(), platform_);
  m_pSpeakerTestDlg =
      std::make_unique<CSpeakerTestDlg>(Windows(), platform_, process_.soundMovementMarker);
  m_pRemotePage = std::make_unique<CRemoteCtrlPage>(Windows(), platform_);
  m_pInfoPage = std::make_unique<CInformationPage>(Windows());

  m_sheet.AddPage(m_pVolumePage.get());
  m_sheet.AddPage(m_pFilterPage.get());
  m_sheet.AddPage(m_pRemotePage.get());
  m_sheet.AddPage(m_pInfoPage.get());
  // The sheet sizes itself to its largest page; creating it shows its first page.
  const fw::Rect frame = FrameRect();
  m_sheet.Create(*this, fw::Point{frame.left, frame.top});
  m_sheet.SetActivePage(kVolumePage);

  m_pSpeakerTestDlg->Create(this);

  // Window and controls around the sheet: the sheet at (4, 0), the logo and "Close" below it.
  const fw::Rect sheet = m_sheet.GetWindowRect();
  const int w = sheet.Width();
  const int h = sheet.Height();
  const fw::Rect sheetPlace{4, 0, 4 + w, h};
  m_sheetFrame.MoveWindow(sheetPlace, true);
  m_sheet.MoveSheet(sheetPlace);
  const fw::Rect outer = GetWindowRect();
  const fw::Rect client = GetClientRect();
  const int frameHeight = outer.Height() - client.Height();
  MoveWindow({outer.left, outer.top, outer.left + w + 10, outer.top + frameHeight + h + 42}, true);
  Windows().MoveWindow(GetDlgItem(IDC_LOGO), {9, h + 4, 9 + 168, h + 4 + 32}, true);
  const fw::Rect button = Windows().GetWindowRect(GetDlgItem(IDC_CLOSE));
  Windows().MoveWindow(GetDlgItem(IDC_CLOSE),
                       {w - button.Width(), h + 36 - button.Height(), w, h + 36}, true);

  m_nArrivalCount = 0;
  if (IsDevicePresent(platform_, Windows())) {
    if (!AddAudioFilter(platform_, Windows())) {
      OnTrayExit();
      return false;
    }
    if (!LoadHidMonitor(platform_, Windows())) UnloadHidMonitor(platform_);
    m_bDeviceActive = true;
    m_bDevicePresent = 1;
    ReplaceTrayIcon(IDI_TRAY_CLOSED, IDR_MENU_CLOSED);
    PushStoredSettings();
    SetTimer(IDT_SOURCE_POLL, kSourcePollMs);
  } else {
    m_bDeviceActive = false;
    m_bDevicePresent = 0;
    ReplaceTrayIcon(IDI_TRAY_NODEVICE, IDR_MENU_NODEVICE);
  }
  m_bInitialized = true;
  return true;
}

fw::Rect CControlPanelDlg::FrameRect() const {
  const fw::Rect screen = Windows().GetWindowRect(GetDlgItem(IDC_SHEET_FRAME));
  const fw::Point topLeft = Windows().ScreenToClient(m_hWnd, {screen.left, screen.top});
  const fw::Point bottomRight = Windows().ScreenToClient(m_hWnd, {screen.right, screen.bottom});
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CControlPanelDlg::SelectPage(int index) {
  m_sheet.SetActivePage(index);
}

void CControlPanelDlg::PushStoredSettings() {
  // Another page first, so that selecting the Filter page really activates it.
  SelectPage(kRemotePage);
  m_pFilterPage->ActivationMode = CEffectsPage::PushAll;
  SelectPage(kFilterPage);
}

void CControlPanelDlg::ReplaceTrayIcon(int iconId, int menuId) {
  m_nTrayIconId = iconId;
  m_nTrayMenuId = menuId;
  m_trayIcon.RemoveIcon();
  m_trayIcon.Create(this, WM_TRAY_NOTIFY, LoadString(IDS_TRAY_TIP), Windows().LoadIcon(iconId),
                    static_cast<unsigned>(menuId));
}

void CControlPanelDlg::HideOwnedPopups() {
  m_sheet.ShowSheet(false);
  if (m_pSpeakerTestDlg != nullptr) m_pSpeakerTestDlg->ShowWindow(fw::sw::kHide);
}

void CControlPanelDlg::PlaceSheetOnFrame() {
  m_sheet.MoveSheet(FrameRect());
}

void CControlPanelDlg::OnTrayExit() {
  KillTimer(IDT_SOURCE_POLL);
  if (m_pFilterPage != nullptr) {
    m_pFilterPage->ActivationMode = CEffectsPage::ExitReset;
    SelectPage(kFilterPage);
  }
  // The Filter page's leave work never comes now: its device handle goes with the page.
  if (m_pFilterPage) m_pFilterPage->DestroyWindow();
  if (m_pSpeakerTestDlg) m_pSpeakerTestDlg->DestroyWindow();
  if (m_pRemotePage) m_pRemotePage->DestroyWindow();
  if (m_pInfoPage) m_pInfoPage->DestroyWindow();
  if (m_pVolumePage) m_pVolumePage->DestroyWindow();
  m_sheet.DestroyWindow();
  m_pFilterPage.reset();
  m_pSpeakerTestDlg.reset();
  m_pRemotePage.reset();
  m_pInfoPage.reset();
  m_pVolumePage.reset();
  if (m_bDeviceActive) UnloadHidMonitor(platform_);
  m_bDeviceActive = false;
  m_trayIcon.RemoveIcon();
  m_nTrayIconId = 0;
  EndDialog(fw::kIdCancel);
}

void CControlPanelDlg::OnOpenSetting() {
  if (m_pSpeakerTestDlg->IsShown()) m_pSpeakerTestDlg->CloseSpeakerTest();
  if (m_bDeviceActive) {
    m_bSettingsOpened = true;
    SelectPage(kVolumePage);
    PlaceSheetOnFrame();
    m_sheet.ShowSheet(true);
    ShowWindow(fw::sw::kRestore);
  }
  ReplaceTrayIcon(IDI_TRAY_OPEN, IDR_MENU_OPEN);
}

void CControlPanelDlg::OnCloseSetting() {
  HideOwnedPopups();
  SelectPage(kVolumePage);
  ReplaceTrayIcon(IDI_TRAY_CLOSED, IDR_MENU_CLOSED);
  ShowWindow(fw::sw::kHide);
}

void CControlPanelDlg::OnTestSpeaker() {
  if (m_pSpeakerTestDlg->IsShown()) return;
  OnCloseSetting();
  m_pSpeakerTestDlg->OpenSpeakerTest();
}

fw::LResult CControlPanelDlg::OnClose(fw::WParam, fw::LParam) {
  // Closing only hides; Exit is the one way out.
  PostMessage(fw::wm::kCommand, IDC_CLOSE, 0);
  return 0;
}

void CControlPanelDlg::OnPaint() {
  // The window is visible by its template when the modal run starts; its first paints send
  // it to the notification area.
  if (m_nPaintCount <= 1 && !m_bSettingsOpened) {
    HideOwnedPopups();
    ShowWindow(fw::sw::kHide);
    ++m_nPaintCount;
  }
}

fw::LResult CControlPanelDlg::OnQueryDragIcon(fw::WParam, fw::LParam) {
  return reinterpret_cast<fw::LResult>(m_hIcon);
}

fw::LResult CControlPanelDlg::OnMove(fw::WParam, fw::LParam) {
  if (m_bInitialized) {
    PlaceSheetOnFrame();
  } else {
    ShowWindow(fw::sw::kHide);
  }
  return 0;
}

int CControlPanelDlg::PlatformMajorVersion() const {
  return static_cast<int>(platform_.shell->GetVersion() & 0xFF);
}

bool CControlPanelDlg::TakeUpDevice() {
  m_bDevicePresent = 1;
  m_bDeviceActive = true;
  ReplaceTrayIcon(IDI_TRAY_CLOSED, IDR_MENU_CLOSED);
  if (!AddAudioFilter(platform_, Windows())) {
    OnTrayExit();
    return false;
  }
  if (!LoadHidMonitor(platform_, Windows())) UnloadHidMonitor(platform_);
  PushStoredSettings();
  SetTimer(IDT_SOURCE_POLL, kSourcePollMs);
  return true;
}

fw::LResult CControlPanelDlg::OnDeviceChange(fw::WParam wParam, fw::LParam) {
  const int major = PlatformMajorVersion();
  if (wParam != fw::dbt::kDevNodesChanged) return 0;
  if (m_bDevicePresent == 0 && IsDevicePresent(platform_, Windows())) {
    bool takeUp = true;
    if (major >= 5) {
      ++m_nArrivalCount;
      takeUp = m_nArrivalCount >= 2;
    }
    if (takeUp) {
      platform_.system->Sleep(kArrivalWaitMs);
      if (!TakeUpDevice()) return 0;
    }
  }
  if (m_bDevicePresent != 0 && !IsDevicePresent(platform_, Windows())) {
    m_bDevicePresent = 0;
    KillTimer(IDT_SOURCE_POLL);
    m_nArrivalCount = 0;
    // A test running against a device that is gone would only report errors from a
    // hidden window: end it before hiding everything.
    if (m_pSpeakerTestDlg->IsShown()) m_pSpeakerTestDlg->CloseSpeakerTest();
    SelectPage(kInformationPage);
    m_bDeviceActive = false;
    UnloadHidMonitor(platform_);
    ReplaceTrayIcon(IDI_TRAY_NODEVICE, IDR_MENU_NODEVICE);
    HideOwnedPopups();
    ShowWindow(fw::sw::kHide);
  }
  return 0;
}

void CControlPanelDlg::OnTimer(std::uintptr_t id) {
  KillTimer(IDT_SOURCE_POLL);
  if (id == IDT_SOURCE_POLL && !m_pSpeakerTestDlg->IsShown() && m_bDeviceActive && m_bInitialized) {
    PollSource();
    if (m_pFilterPage == nullptr) return;  // the warning's loop ran the exit sequence
  }
  SetTimer(IDT_SOURCE_POLL, kSourcePollMs);
}

void CControlPanelDlg::PollSource() {
  // A fresh handle each tick: the window keeps nothing open between polls.
  DeviceHandle device(*platform_.device);
  if (!device.Open()) return;
  SourceChannelsReply reply{};
  platform::Dword bytesReturned = 0;
  if (!device.Send(IOCTL_GET_SOURCE_CHANNELS, nullptr, 0, &reply, sizeof reply, &bytesReturned)) {
    return;
  }
  if (reply.MultiChannel != 0) {
    platform_.sound->PlayResource(IDR_WAVE_SILENCE, false);
    if (m_pFilterPage->WarnOn51Source != 0 && m_pFilterPage->EnableFilter != 0) {
      WarnOf51Source();
    }
  } else if (reply.TwoChannel != 0) {
    platform_.sound->PlayResource(IDR_WAVE_SILENCE, false);
  }
}

void CControlPanelDlg::WarnOf51Source() {
  m_pFilterPage->WarnOn51Source = 0;
  EnableWindow(false);
  const int answer =
      m_pFilterPage->MessageBox(LoadString(IDS_WARNING_51_SOURCE), LoadString(IDS_CAPTION_WARNING),
                                fw::mb::kYesNo | fw::mb::kIconExclamation);
  EnableWindow(true);
  // The box's loop may have run the exit sequence.
  if (answer == fw::kIdNo && m_pFilterPage != nullptr) {
    m_pFilterPage->EnableFilter = 0;
    m_pFilterPage->ApplyFilterState();
  }
}

fw::LResult CControlPanelDlg::OnTrayNotify(fw::WParam wParam, fw::LParam lParam) {
  return m_trayIcon.OnTrayNotification(wParam, lParam);
}

void CControlPanelDlg::OnTaskbarCreated() {
  // The state stays as it is; only its icon and menu go into the new notification area.
  if (m_nTrayIconId != 0) ReplaceTrayIcon(m_nTrayIconId, m_nTrayMenuId);
}

fw::LResult CControlPanelDlg::OnRemotePage(fw::WParam wParam, fw::LParam) {
  if (wParam != 0) {
    // Refresh without changing the selected page; a page never shown has nothing to refresh.
    if (m_pRemotePage != nullptr && m_pRemotePage->GetSafeHwnd() != nullptr) {
      m_pRemotePage->OnSetActive();
    }
  } else {
    SelectPage(kRemotePage);
  }
  return 1;
}

}  // namespace korven
