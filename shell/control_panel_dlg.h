// CControlPanelDlg: the program's main window. Hidden nearly all the time, it owns the four
// pages in their sheet, the Speaker Test window and the tray icon, takes the device up when
// it is there, polls the playing source, and runs the exit sequence.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/dialog.h"
#include "framework/message_map.h"
#include "framework/property_sheet.h"
#include "platform/platform.h"
#include "shell/tray_icon.h"
#include "speaker_test/sound_movement_pad.h"

namespace korven {

class CEffectsPage;
class CSpeakerTestDlg;
class CRemoteCtrlPage;
class CInformationPage;
class CVolumePage;

// What lasts as long as the process, whichever windows come and go. The application object
// owns it; a fresh one is a fresh process.
struct ProcessState {
  int filterOpenFailures = 0;  // failed device opens of the Filter page's activations
  SoundMovementMarker soundMovementMarker;
};

class CControlPanelDlg : public fw::CDialog {
 public:
  // Sheet page indexes.
  enum : int { kVolumePage = 0, kFilterPage = 1, kRemotePage = 2, kInformationPage = 3 };

  CControlPanelDlg(fw::WindowSystem& windows, const platform::Platform& platform,
                   ProcessState& process);
  ~CControlPanelDlg() override;

  // For the application object and tests.
  CEffectsPage* FilterPage() const { return m_pFilterPage.get(); }
  CVolumePage* VolumePage() const { return m_pVolumePage.get(); }
  CRemoteCtrlPage* RemotePage() const { return m_pRemotePage.get(); }
  CSpeakerTestDlg* SpeakerTest() const { return m_pSpeakerTestDlg.get(); }
  fw::CPropertySheet& Sheet() { return m_sheet; }
  const CTrayIcon& TrayIcon() const { return m_trayIcon; }
  bool IsDeviceActive() const { return m_bDeviceActive; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange* dx) override;
  void OnOK() override {}                         // Enter: nothing
  void OnCancel() override { OnCloseSetting(); }  // Esc hides, as "Close" does
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override;

 private:
  void OnTrayExit();
  void OnOpenSetting();
  void OnCloseSetting();
  void OnTestSpeaker();
  void OnTimer(std::uintptr_t id);
  fw::LResult OnClose(fw::WParam wParam, fw::LParam lParam);
  void OnPaint();
  fw::LResult OnQueryDragIcon(fw::WParam wParam, fw::LParam lParam);
  fw::LResult OnMove(fw::WParam wParam, fw::LParam lParam);
  fw::LResult OnDeviceChange(fw::WParam wParam, fw::LParam lParam);
  fw::LResult OnTrayNotify(fw::WParam wParam, fw::LParam lParam);
  fw::LResult OnRemotePage(fw::WParam wParam, fw::LParam lParam);
  // The shell has lost its notification area and made it again.
  void OnTaskbarCreated();

  // Filter installed, monitor started, stored settings pushed, poll running. False when the
  // filter library is missing: the exit sequence has run.
  bool TakeUpDevice();
  void SelectPage(int index);
  void PushStoredSettings();
  void ReplaceTrayIcon(int iconId, int menuId);
  void HideOwnedPopups();
  void PlaceSheetOnFrame();
  fw::Rect FrameRect() const;  // control 1008 in client pixels
  void PollSource();
  void WarnOf51Source();
  int PlatformMajorVersion() const;

  const platform::Platform& platform_;
  ProcessState& process_;

  fw::CWnd m_sheetFrame;
  std::unique_ptr<CEffectsPage> m_pFilterPage;
  std::unique_ptr<CSpeakerTestDlg> m_pSpeakerTestDlg;
  std::unique_ptr<CRemoteCtrlPage> m_pRemotePage;
  std::unique_ptr<CInformationPage> m_pInfoPage;
  std::unique_ptr<CVolumePage> m_pVolumePage;
  fw::Hicon m_hIcon = nullptr;
  bool m_bDeviceActive = false;
  bool m_bInitialized = false;
  std::int32_t m_bDevicePresent = 0;
  std::int32_t m_nPaintCount = 0;
  CTrayIcon m_trayIcon;
  fw::CPropertySheet m_sheet;
  std::uint32_t m_nArrivalCount = 0;
  // Once the user has opened the settings, painting never hides the window again, however
  // many paints the platform delivered at start-up.
  bool m_bSettingsOpened = false;
  // "TaskbarCreated" as the window system numbers it, and the icon and menu of the present
  // state (0: no icon yet, or none any more), to put back into a new notification area.
  unsigned m_uTaskbarCreated = 0;
  int m_nTrayIconId = 0;
  int m_nTrayMenuId = 0;

  static const fw::map::Entry<CControlPanelDlg> kMessageMap[];
};

}  // namespace korven
