// One sitting of a user at the control panel, shared by the fault sweep, the bad-data table
// and the endurance runs.
#include "res/resource.h"
#include "shell/control_panel_dlg.h"
#include "speaker_test/speaker_test_dlg.h"
#include "tests/reliability/tray_run.h"

namespace korven::reliability {

using platform::HKey;
using Dlg = CControlPanelDlg;

namespace {

constexpr int kChannelSliders[] = {IDC_SLIDER_L,   IDC_SLIDER_R,  IDC_SLIDER_C,
                                   IDC_SLIDER_LFE, IDC_SLIDER_RL, IDC_SLIDER_RR};
constexpr int kResets[] = {IDC_RESET_L,   IDC_RESET_R,  IDC_RESET_C,
                           IDC_RESET_LFE, IDC_RESET_RL, IDC_RESET_RR};
constexpr int kEffects[] = {IDC_ENABLE_FILTER, IDC_ENABLE_FILTER, IDC_SPEAKERS_21, IDC_SPEAKERS_51,
                            IDC_BASS_300,      IDC_BASS_450,      IDC_BASS_120};
constexpr int kPlayerBoxes[] = {IDC_PLAYER_WINDVD, IDC_PLAYER_WINAMP, IDC_PLAYER_MEDIAPLAYER,
                                IDC_PLAYER_WINDVD};

}  // namespace

void InstallPlayers(testing::SimulatedMachine& m) {
  m.registry.SetString(HKey::LocalMachine, "SOFTWARE\\InterVideo\\WinDVD", "PATH",
                       "C:\\Program Files\\InterVideo\\DVD4");
  m.registry.SetString(HKey::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp",
                       "DisplayName", "Winamp");
  m.registry.SetString(HKey::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp",
                       "UninstallString", "\"C:\\Program Files\\Winamp\\UninstWA.exe\"");
  m.registry.SetString(HKey::LocalMachine, "SOFTWARE\\Microsoft\\MediaPlayer",
                       "Installation Directory", "C:\\Program Files\\Windows Media Player");
}

static void RunSpeakerTests(TrayRun& s) {
  if (s.Ended()) return;
  CSpeakerTestDlg* test = s.Panel().SpeakerTest();
  const fw::Hwnd dlg = test->GetSafeHwnd();
  auto click = [&](int id) {
    s.m.windows.Click(dlg, id);
    s.m.windows.PumpMessages();
  };
  click(IDC_MODE_AUTO);
  click(IDC_TEST);
  s.m.windows.Advance(1500);
  click(IDC_TEST);
  click(IDC_MODE_MANUAL);
  if (const fw::Hwnd picture = s.m.windows.Control(dlg, IDC_PICTURE_LF)) {
    const fw::Rect r = s.m.windows.GetWindowRect(picture);
    const fw::Point centre =
        s.m.windows.ScreenToClient(dlg, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    s.m.windows.MouseDown(dlg, centre);
    s.m.windows.Advance(300);
    s.m.windows.MouseUp(dlg, centre);
  }
  click(IDC_MODE_SURROUND);
  click(IDC_TEST);
  s.m.windows.Advance(1000);
  click(IDC_TEST);
  click(IDC_EXIT);
}

// The sitting: settings opened, every page visited and every control changed, the three
// speaker tests, an unplug and a plug, the 5.1 warning answered both ways, and Exit.
void OneSitting(TrayRun& s) {
  s.m.korven.SetSourceChannels(0, 1);
  s.TrayCommand(ID_TRAY_OPEN_SETTING);
  s.m.windows.Advance(400);

  s.SelectPage(Dlg::kVolumePage);
  s.DragOnPage(Dlg::kVolumePage, IDC_SLIDER_MASTER, 10);
  for (int slider : kChannelSliders) s.DragOnPage(Dlg::kVolumePage, slider, 5);
  for (int reset : kResets) s.ClickOnPage(Dlg::kVolumePage, reset);
  s.DragOnPage(Dlg::kVolumePage, IDC_SLIDER_L, 30);

  s.SelectPage(Dlg::kFilterPage);
  for (int id : kEffects) s.ClickOnPage(Dlg::kFilterPage, id);
  s.m.windows.Advance(600);

  s.SelectPage(Dlg::kRemotePage);
  for (int id : kPlayerBoxes) s.ClickOnPage(Dlg::kRemotePage, id);
  if (fw::CPropertyPage* remote =
          s.Ended() ? nullptr : s.Panel().Sheet().GetPage(Dlg::kRemotePage)) {
    const fw::Hwnd list = s.m.windows.Control(remote->GetSafeHwnd(), IDC_POWER_KEY_LIST);
    s.m.windows.SelectComboItem(list, 1);
    s.m.windows.PumpMessages();
  }
  s.SelectPage(Dlg::kInformationPage);
  s.TrayCommand(ID_TRAY_CLOSE_SETTING);

  s.TrayCommand(ID_TRAY_TEST_SPEAKER);
  RunSpeakerTests(s);

  s.Unplug();
  s.m.windows.Advance(400);
  s.PlugIn();
  s.m.windows.Advance(400);

  // A 5.1 source with the filter on: Yes keeps it on, and after switching it off and on
  // again the warning comes back and No switches it off.
  s.m.korven.SetSourceChannels(1, 1);
  s.m.windows.AnswerMessageBox(fw::kIdYes);
  s.m.windows.Advance(400);
  s.TrayCommand(ID_TRAY_OPEN_SETTING);
  s.SelectPage(Dlg::kFilterPage);
  s.ClickOnPage(Dlg::kFilterPage, IDC_ENABLE_FILTER);
  s.m.windows.AnswerMessageBox(fw::kIdNo);
  s.ClickOnPage(Dlg::kFilterPage, IDC_ENABLE_FILTER);
  s.m.windows.Advance(400);

  s.exitReachable = s.TrayIconShown();
  s.TrayCommand(ID_TRAY_EXIT);
}

}  // namespace korven::reliability
