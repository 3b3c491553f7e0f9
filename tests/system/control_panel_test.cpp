// The whole program on a simulated machine, driven from the tray as a user would: start-up,
// showing and hiding the settings, plugging and unplugging, the 5.1 warning and Exit.
#include <gtest/gtest.h>

#include <functional>

#include "device/requests.h"
#include "pages/effects_page.h"
#include "res/resource.h"
#include "shell/control_panel_app.h"
#include "shell/control_panel_dlg.h"
#include "speaker_test/speaker_test_dlg.h"
#include "tests/reliability/tray_run.h"

namespace korven {
namespace {

using platform::HKey;
using platform::sim::FormatRequests;
using testing::SimulatedMachine;

constexpr const char* kPushFirstRun =
    "IOCTL_FILTER_ON\n"
    "IOCTL_OUTPUT_5_1\n"
    "IOCTL_SET_BASS_MODE C8 00 00 00 64 00 00 00 2C 01 00 00\n";
constexpr const char* kExitReset =
    "IOCTL_FILTER_OFF\n"
    "IOCTL_SET_GAIN_LFE 00 00 80 3F\n"
    "IOCTL_SET_GAIN_C 00 00 80 3F\n"
    "IOCTL_SET_GAIN_R 00 00 80 3F\n"
    "IOCTL_SET_GAIN_L 00 00 80 3F\n"
    "IOCTL_SET_GAIN_RR 00 00 80 3F\n"
    "IOCTL_SET_GAIN_RL 00 00 80 3F\n";

class ControlPanelTest : public ::testing::Test {
 protected:
  // Whatever a scenario did, the program leaves nothing behind.
  ~ControlPanelTest() override { EXPECT_EQ(run_.Leftovers(), std::vector<std::string>{}); }

  // Runs the program; `whileRunning` is what the user does while it sits in the tray.
  int Run(const std::function<void()>& whileRunning) { return run_.Run(whileRunning); }

  CControlPanelDlg& Panel() { return run_.Panel(); }
  fw::Hwnd PanelHwnd() { return Panel().GetSafeHwnd(); }

  // The tray icon now shown: its menu id (0 when none).
  unsigned TrayMenu() const {
    const auto icons = m.shell.Icons();
    return icons.size() == 1 ? icons[0].uID : 0;
  }
  // A right press on the tray icon and a pick in its menu.
  void TrayCommand(unsigned command) { run_.TrayCommand(command); }
  void DeviceNodesChanged() { run_.DeviceNodesChanged(); }
  bool Polling() { return m.windows.HasTimer(PanelHwnd(), IDT_SOURCE_POLL); }
  bool Shown() { return m.windows.IsWindowVisible(PanelHwnd()); }
  int ActivePage() { return Panel().Sheet().GetActiveIndex(); }
  std::string Log() const { return FormatRequests(m.korven.Requests()); }
  int Count(platform::Dword code) const {
    int n = 0;
    for (const auto& r : m.korven.Requests()) n += r.code == code ? 1 : 0;
    return n;
  }
  std::optional<platform::Dword> Stored(const char* name) const {
    return m.registry.GetDword(HKey::LocalMachine, SimulatedMachine::kSettingsKey, name);
  }
  bool MonitorClosed() const { return m.modules.CallCount(m.monitorLibrary, kCloseHidMonitor) > 0; }

  reliability::TrayRun run_;
  SimulatedMachine& m = run_.m;
};

TEST_F(ControlPanelTest, StartWithoutTheDeviceSitsInTheTrayWithTheNoDeviceMenu) {
  const int code = Run([&] {
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_NODEVICE));
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(Polling());
    m.windows.Advance(2000);
    EXPECT_TRUE(m.korven.Requests().empty());
    // Open Setting and Test Speaker are greyed: the menu refuses them.
    TrayCommand(ID_TRAY_OPEN_SETTING);
    EXPECT_TRUE(m.windows.PopupMenus().back().refused);
    EXPECT_FALSE(Shown());
    TrayCommand(ID_TRAY_EXIT);
  });
  EXPECT_EQ(code, 0);
  // Exit still selects the Filter page for its reset; the open fails quietly.
  EXPECT_TRUE(m.korven.Requests().empty());
  EXPECT_TRUE(m.windows.MessageBoxes().empty());
}

TEST_F(ControlPanelTest, StartWithTheDevicePushesStoredSettingsAndStaysHidden) {
  m.PlugKorven();
  Run([&] {
    EXPECT_FALSE(Shown()) << "the first paint sends the window to the tray";
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED));
    EXPECT_TRUE(Polling());
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kFilterPage);
    EXPECT_EQ(Log(),
              "IOCTL_SET_GAIN_L 00 00 80 3F\n"
              "IOCTL_SET_GAIN_R 00 00 80 3F\n"
              "IOCTL_SET_GAIN_C 00 00 80 3F\n"
              "IOCTL_SET_GAIN_LFE 00 00 80 3F\n"
              "IOCTL_SET_GAIN_RL 00 00 80 3F\n"
              "IOCTL_SET_GAIN_RR 00 00 80 3F\n" +
                  std::string(kPushFirstRun));
    EXPECT_EQ(Stored("EnableFilter"), 1u);

    TrayCommand(ID_TRAY_OPEN_SETTING);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kVolumePage);
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_OPEN));
    m.windows.Advance(400);
    EXPECT_TRUE(Shown()) << "later paints leave the window shown";

    TrayCommand(ID_TRAY_CLOSE_SETTING);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED));
    m.korven.ClearRequests();
    TrayCommand(ID_TRAY_EXIT);
  });
  EXPECT_EQ(Log(), kExitReset);
  EXPECT_TRUE(MonitorClosed());
  EXPECT_EQ(Stored("EnableFilter"), 1u) << "the exit reset stores nothing";
}

TEST_F(ControlPanelTest, CloseBoxEscAndCloseButtonOnlyHideAndEnterDoesNothing) {
  m.PlugKorven();
  Run([&] {
    for (int way = 0; way < 3; ++way) {
      TrayCommand(ID_TRAY_OPEN_SETTING);
      ASSERT_TRUE(Shown());
      if (way == 0) m.windows.Close(PanelHwnd());
      if (way == 1) Panel().SendMessage(fw::wm::kCommand, fw::kIdCancel, 0);
      if (way == 2) m.windows.Click(PanelHwnd(), IDC_CLOSE);
      m.windows.PumpMessages();
      EXPECT_FALSE(Shown()) << way;
      EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED)) << way;
    }
    TrayCommand(ID_TRAY_OPEN_SETTING);
    Panel().SendMessage(fw::wm::kCommand, fw::kIdOk, 0);
    EXPECT_TRUE(Shown()) << "Enter neither hides nor ends";
    EXPECT_EQ(m.windows.OpenModalRunCount(), 1);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, PlugInOnVersion5TakesTheDeviceUpAtTheSecondNotification) {
  Run([&] {
    m.PlugKorven();
    DeviceNodesChanged();
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_NODEVICE));
    EXPECT_TRUE(m.korven.Requests().empty());
    EXPECT_FALSE(Polling());
    DeviceNodesChanged();
    EXPECT_EQ(m.system.Sleeps(), std::vector<platform::Dword>{1000});
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED));
    EXPECT_EQ(Log(), kPushFirstRun) << "the trims went out at start-up, without a device";
    EXPECT_TRUE(Polling());
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kFilterPage);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, PlugInOnVersion4TakesTheDeviceUpAtTheFirstNotification) {
  m.shell.SetMajorVersion(4);
  Run([&] {
    m.PlugKorven();
    DeviceNodesChanged();
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED));
    EXPECT_EQ(Log(), kPushFirstRun);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, UnplugWhileShownHidesEverythingAndReplugPushesAgain) {
  m.PlugKorven();
  Run([&] {
    TrayCommand(ID_TRAY_OPEN_SETTING);
    ASSERT_TRUE(Shown());
    m.UnplugKorven();
    DeviceNodesChanged();
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(m.windows.IsWindowVisible(Panel().Sheet().GetSafeHwnd()));
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_NODEVICE));
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kInformationPage);
    EXPECT_FALSE(Polling());
    EXPECT_TRUE(MonitorClosed());
    EXPECT_EQ(m.modules.LoadedCount(), 0);

    m.PlugKorven();
    m.korven.ClearRequests();
    DeviceNodesChanged();
    DeviceNodesChanged();
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kFilterPage);
    EXPECT_EQ(Log(), kPushFirstRun);
    TrayCommand(ID_TRAY_OPEN_SETTING);
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kVolumePage);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, FiveOneSourceWithTheFilterOnWarnsOnceAndNoSwitchesItOff) {
  m.PlugKorven();
  Run([&] {
    m.korven.SetSourceChannels(1, 1);
    int pollsWhileOpen = -1;
    m.windows.AnswerMessageBox([&](const fw::headless::MessageBoxRecord&) {
      const int before = Count(IOCTL_GET_SOURCE_CHANNELS);
      EXPECT_FALSE(m.windows.IsWindowEnabled(PanelHwnd()));
      m.windows.Advance(1000);
      pollsWhileOpen = Count(IOCTL_GET_SOURCE_CHANNELS) - before;
      return fw::kIdNo;
    });
    m.korven.ClearRequests();
    TrayCommand(ID_TRAY_OPEN_SETTING);  // the Volume page: the Filter page holds no handle
    m.windows.Advance(200);
    ASSERT_EQ(m.windows.MessageBoxes().size(), 1u);
    const auto& box = m.windows.MessageBoxes()[0];
    EXPECT_EQ(box.caption, "KORVEN : WARNING");
    EXPECT_EQ(box.type, fw::mb::kYesNo | fw::mb::kIconExclamation);
    EXPECT_EQ(box.owner, Panel().FilterPage()->GetSafeHwnd());
    EXPECT_EQ(box.text.substr(0, 37), "5.1-channel audio source is detected.");
    EXPECT_EQ(pollsWhileOpen, 0) << "no poll while the warning is open";
    EXPECT_TRUE(m.windows.IsWindowEnabled(PanelHwnd()));
    EXPECT_EQ(Count(IOCTL_FILTER_OFF), 1);
    EXPECT_EQ(Stored("EnableFilter"), 0u);
    EXPECT_EQ(Panel().FilterPage()->IsDlgButtonChecked(IDC_ENABLE_FILTER), 0);
    EXPECT_EQ(m.korven.OpenHandleCount(), 1) << "only the Volume page's handle is open";
    m.windows.Advance(1000);
    EXPECT_EQ(m.windows.MessageBoxes().size(), 1u);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, YesKeepsTheFilterOnAndTheWarningWaitsForTheFilterToBeSwitchedOnAgain) {
  m.PlugKorven();
  Run([&] {
    m.korven.SetSourceChannels(1, 0);
    m.windows.AnswerMessageBox(fw::kIdYes);
    m.windows.Advance(1000);
    EXPECT_EQ(m.windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(Stored("EnableFilter"), 1u);
    EXPECT_EQ(Count(IOCTL_FILTER_OFF), 0);

    // Off and on again on the Filter page: the warning may come once more.
    const fw::Hwnd page = Panel().FilterPage()->GetSafeHwnd();
    TrayCommand(ID_TRAY_OPEN_SETTING);
    Panel().Sheet().SetActivePage(CControlPanelDlg::kFilterPage);
    m.windows.Click(page, IDC_ENABLE_FILTER);
    m.windows.Advance(600);
    EXPECT_EQ(m.windows.MessageBoxes().size(), 1u) << "no warning with the filter off";
    m.windows.AnswerMessageBox(fw::kIdYes);
    m.windows.Click(page, IDC_ENABLE_FILTER);
    m.windows.Advance(200);
    EXPECT_EQ(m.windows.MessageBoxes().size(), 2u);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, AnySourcePlaysTheSilentClipEveryTickAndNoneWhileTesting) {
  m.registry.SetDword(HKey::LocalMachine, SimulatedMachine::kSettingsKey, "EnableFilter", 0);
  m.PlugKorven();
  Run([&] {
    m.korven.SetSourceChannels(1, 1);
    m.sound.ClearLog();
    m.windows.Advance(1000);
    EXPECT_EQ(m.sound.Log().size(), 5u) << m.sound.FormatLog();
    EXPECT_TRUE(m.windows.MessageBoxes().empty()) << "no warning with the filter off";

    TrayCommand(ID_TRAY_TEST_SPEAKER);
    ASSERT_TRUE(Panel().SpeakerTest()->IsShown());
    m.korven.ClearRequests();
    m.windows.Advance(1000);
    EXPECT_EQ(Count(IOCTL_GET_SOURCE_CHANNELS), 0) << "no poll while testing";
    TrayCommand(ID_TRAY_TEST_SPEAKER);
    EXPECT_TRUE(Panel().SpeakerTest()->IsShown());
    TrayCommand(ID_TRAY_OPEN_SETTING);
    EXPECT_FALSE(Panel().SpeakerTest()->IsShown()) << "Open Setting closes the test first";
    EXPECT_TRUE(Shown());
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, SecondInstanceIsRefusedAndANewStartWorksAfterExit) {
  Run([&] {
    CControlPanelApp second(m.windows, m.platform);
    EXPECT_EQ(second.Run(), 0);
    ASSERT_EQ(m.windows.MessageBoxes().size(), 1u);
    const auto& box = m.windows.MessageBoxes()[0];
    EXPECT_EQ(box.text, "Application is already running!");
    EXPECT_EQ(box.caption, "KORVEN : ERROR");
    EXPECT_EQ(box.type, fw::mb::kIconHand);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(m.shell.IconCount(), 1u) << "the first instance is untouched";
    TrayCommand(ID_TRAY_EXIT);
  });
  EXPECT_FALSE(m.system.MutexExists(CControlPanelApp::kMutexName));
  Run([&] {
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_NODEVICE));
    TrayCommand(ID_TRAY_EXIT);
  });
  EXPECT_EQ(m.windows.MessageBoxes().size(), 1u);
}

TEST_F(ControlPanelTest, AboutShowsOneWindowThatOkEscAndTheCloseBoxOnlyHide) {
  Run([&] {
    TrayCommand(ID_TRAY_ABOUT);
    TrayCommand(ID_TRAY_ABOUT);
    const fw::Hwnd about = m.windows.FindDialog(IDD_ABOUT);
    ASSERT_NE(about, nullptr);
    int abouts = 0;
    for (fw::Hwnd w : m.windows.TopLevelWindows()) abouts += m.windows.TemplateIdOf(w) == IDD_ABOUT;
    EXPECT_EQ(abouts, 1);
    for (int way = 0; way < 3; ++way) {
      TrayCommand(ID_TRAY_ABOUT);
      ASSERT_TRUE(m.windows.IsWindowVisible(about)) << way;
      if (way == 0) m.windows.Click(about, fw::kIdOk);
      if (way == 1) {
        m.windows.SendMessage(about, fw::wm::kCommand, fw::MakeWParam(fw::kIdCancel, 0), 0);
      }
      if (way == 2) m.windows.Close(about);
      m.windows.PumpMessages();
      EXPECT_FALSE(m.windows.IsWindowVisible(about)) << way;
      EXPECT_EQ(m.windows.FindDialog(IDD_ABOUT), about) << way;
    }
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, FilterLibraryWithoutItsEntryPointEndsTheProgramAtStartUp) {
  m.PlugKorven();
  m.modules.RemoveEntryPoint(m.filterLibrary, kAddUsbAudioFilter);
  bool ran = false;
  Run([&] { ran = true; });
  EXPECT_FALSE(ran) << "the modal run ends inside its initialisation";
  ASSERT_EQ(m.windows.MessageBoxes().size(), 1u);
  EXPECT_EQ(m.windows.MessageBoxes()[0].caption, "KORVEN : WARNING");
  EXPECT_NE(Log().find(kExitReset), std::string::npos) << Log();
}

TEST_F(ControlPanelTest, FilterLibraryWithoutItsEntryPointEndsTheProgramAtAnArrival) {
  Run([&] {
    m.modules.RemoveEntryPoint(m.filterLibrary, kAddUsbAudioFilter);
    m.PlugKorven();
    DeviceNodesChanged();
    DeviceNodesChanged();
  });
  EXPECT_EQ(m.windows.AbandonedModalRunCount(), 0) << "the exit sequence ended the run";
  EXPECT_EQ(m.windows.MessageBoxes().size(), 1u);
}

TEST_F(ControlPanelTest, RemotePageMessageRefreshesOrSelectsThePage) {
  m.PlugKorven();
  Run([&] {
    EXPECT_EQ(Panel().SendMessage(WM_REMOTE_PAGE, 1, 0), 1);
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kFilterPage) << "a refresh keeps the page";
    EXPECT_EQ(Panel().SendMessage(WM_REMOTE_PAGE, 0, 0), 1);
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kRemotePage);
    TrayCommand(ID_TRAY_EXIT);
  });
}

TEST_F(ControlPanelTest, TaskbarCreatedPutsTheIconOfEachStateBackAndChangesNothingElse) {
  Run([&] {
    const unsigned taskbarCreated = m.windows.RegisterWindowMessage("TaskbarCreated");
    const auto iconShown = [&] {
      const auto icons = m.shell.Icons();
      return icons.size() == 1 ? m.windows.IconResourceId(reinterpret_cast<fw::Hicon>(
                                     static_cast<std::uintptr_t>(icons[0].hIcon)))
                               : 0;
    };
    // The shell comes back empty and tells every top-level window so.
    const auto restartShell = [&] {
      m.shell.Restart();
      m.korven.ClearRequests();
      m.registry.ClearWrites();
      Panel().SendMessage(taskbarCreated, 0, 0);
      m.windows.PumpMessages();
      EXPECT_TRUE(m.korven.Requests().empty()) << Log();
      EXPECT_TRUE(m.registry.Writes().empty());
    };

    restartShell();
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_NODEVICE));
    EXPECT_EQ(iconShown(), IDI_TRAY_NODEVICE);
    // Sent while the icon is still there: one icon, not two.
    Panel().SendMessage(taskbarCreated, 0, 0);
    EXPECT_EQ(m.shell.IconCount(), 1u);
    EXPECT_EQ(m.shell.Log().back(), "add 146");

    m.PlugKorven();
    DeviceNodesChanged();
    DeviceNodesChanged();
    restartShell();
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED));
    EXPECT_EQ(iconShown(), IDI_TRAY_CLOSED);
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kFilterPage);

    TrayCommand(ID_TRAY_OPEN_SETTING);
    TrayCommand(ID_TRAY_TEST_SPEAKER);
    restartShell();
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_CLOSED)) << "testing";
    EXPECT_TRUE(Panel().SpeakerTest()->IsShown());

    TrayCommand(ID_TRAY_OPEN_SETTING);
    Panel().Sheet().SetActivePage(CControlPanelDlg::kRemotePage);
    restartShell();
    EXPECT_EQ(TrayMenu(), static_cast<unsigned>(IDR_MENU_OPEN));
    EXPECT_EQ(iconShown(), IDI_TRAY_OPEN);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(ActivePage(), CControlPanelDlg::kRemotePage);
    // The menu that came back is the one that works.
    TrayCommand(ID_TRAY_CLOSE_SETTING);
    EXPECT_FALSE(Shown());
    TrayCommand(ID_TRAY_EXIT);
  });
}

}  // namespace
}  // namespace korven
