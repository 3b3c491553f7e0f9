// The host window with its pages: Volume at index 0, Filter at index 1, Remote Controller at
// index 2.
#include "shell/filter_host.h"

#include <gtest/gtest.h>

#include "framework/headless/headless_window_system.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_mixers.h"
#include "platform/sim/sim_registry.h"
#include "res/resource.h"

namespace korven {
namespace {

TEST(FilterHostTest, StartSendsTheTrimsThenPushesTheFilterAndCloseResets) {
  CEffectsPage::OpenFailureCount = 0;
  fw::headless::HeadlessWindowSystem windows;
  platform::sim::SimRegistry registry;
  platform::sim::SimKorvenDevice device;
  platform::sim::SimMixers mixers;
  platform::Platform platform;
  platform.registry = &registry;
  platform.device = &device;
  platform.mixer = &mixers;
  auto log = [&] { return platform::sim::FormatRequests(device.Requests()); };
  {
    CFilterHostDlg host(windows, platform);
    ASSERT_TRUE(host.Create());
    const fw::Hwnd tabs = host.Sheet().GetSafeHwnd();
    EXPECT_EQ(windows.TabText(tabs, 0), "Volume");
    EXPECT_EQ(windows.TabText(tabs, 1), "Filter");
    EXPECT_EQ(windows.TabText(tabs, 2), "Remote Controller");
    // The Remote Controller page was activated before the Filter page: discovery stored that
    // no player is installed.
    EXPECT_EQ(registry.GetDword(platform::HKey::LocalMachine, "SOFTWARE\\TALVOR\\KORVEN\\Filter\\",
                                "ExistMPlayer"),
              0u);
    EXPECT_EQ(host.Sheet().GetActiveIndex(), 1);
    EXPECT_EQ(log(),
              "IOCTL_SET_GAIN_L 00 00 80 3F\n"
              "IOCTL_SET_GAIN_R 00 00 80 3F\n"
              "IOCTL_SET_GAIN_C 00 00 80 3F\n"
              "IOCTL_SET_GAIN_LFE 00 00 80 3F\n"
              "IOCTL_SET_GAIN_RL 00 00 80 3F\n"
              "IOCTL_SET_GAIN_RR 00 00 80 3F\n"
              "IOCTL_FILTER_ON\n"
              "IOCTL_OUTPUT_5_1\n"
              "IOCTL_SET_BASS_MODE C8 00 00 00 64 00 00 00 2C 01 00 00\n");
    EXPECT_EQ(device.OpenHandleCount(), 1) << "only the Filter page's handle stays open";

    // The user selects the Volume page and moves a trim.
    windows.ShowWindow(host.GetSafeHwnd(), fw::sw::kShow);
    ASSERT_TRUE(windows.SelectTab(tabs, 0));
    device.ClearRequests();
    const fw::Hwnd page = host.VolumePage()->GetSafeHwnd();
    ASSERT_TRUE(windows.DragSlider(windows.Control(page, IDC_SLIDER_L), 0));
    EXPECT_EQ(log(), "IOCTL_SET_GAIN_L 00 00 20 41\n");

    device.ClearRequests();
    ASSERT_TRUE(windows.Click(host.GetSafeHwnd(), IDC_CLOSE));
    EXPECT_EQ(log(),
              "IOCTL_FILTER_OFF\n"
              "IOCTL_SET_GAIN_LFE 00 00 80 3F\n"
              "IOCTL_SET_GAIN_C 00 00 80 3F\n"
              "IOCTL_SET_GAIN_R 00 00 80 3F\n"
              "IOCTL_SET_GAIN_L 00 00 80 3F\n"
              "IOCTL_SET_GAIN_RR 00 00 80 3F\n"
              "IOCTL_SET_GAIN_RL 00 00 80 3F\n");
    host.DestroyWindow();
  }
  EXPECT_EQ(windows.LiveWindowCount(), 0u);
  EXPECT_EQ(device.OpenHandleCount(), 0);
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace korven
