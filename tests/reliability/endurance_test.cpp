// Long runs in the tray: the device plugged in and out a thousand times, and ten thousand
// source polls. Handles stay where they were and the heap does not grow.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "device/requests.h"
#include "res/resource.h"
#include "shell/control_panel_dlg.h"
#include "tests/reliability/allocation_count.h"
#include "tests/reliability/tray_run.h"

namespace korven::reliability {
namespace {

constexpr int kPlugCycles = 1000;
constexpr int kPollTicks = 10000;
constexpr std::uint32_t kPollMs = 200;

// Live heap blocks once the simulations' logs are emptied: the program's own.
std::ptrdiff_t Settled(TrayRun& s) {
  s.ClearLogs();
  return LiveAllocations();
}

TEST(Endurance, AThousandPlugCyclesLeaveHandlesAndHeapWhereTheyWere) {
  TrayRun s;
  s.m.PlugKorven();
  std::ptrdiff_t afterWarmUp = 0;
  std::ptrdiff_t atHalf = 0;
  std::ptrdiff_t atEnd = 0;
  int active = 0;
  int registryHandles = 0;
  s.Run([&] {
    auto cycle = [&] {
      s.Unplug();
      s.PlugIn();
      active += s.Panel().IsDeviceActive() ? 1 : 0;
    };
    for (int i = 0; i < 10; ++i) cycle();
    afterWarmUp = Settled(s);
    registryHandles = s.m.registry.OpenHandleCount();
    for (int i = 10; i < kPlugCycles / 2; ++i) {
      cycle();
      if (std::getenv("KORVEN_TRACE_HEAP") && i % 50 == 0) std::printf("%d %td\n", i, Settled(s));
    }
    atHalf = Settled(s);
    // The Filter page, active in the tray, holds the one device handle.
    EXPECT_EQ(s.m.korven.OpenHandleCount(), 1);
    EXPECT_EQ(s.m.usb.OpenHandleCount(), 0);
    EXPECT_EQ(s.m.registry.OpenHandleCount(), registryHandles);
    for (int i = kPlugCycles / 2; i < kPlugCycles; ++i) cycle();
    atEnd = Settled(s);
    s.exitReachable = s.TrayIconShown();
    s.TrayCommand(ID_TRAY_EXIT);
  });
  EXPECT_EQ(active, kPlugCycles) << "every plug took the device up";
  EXPECT_EQ(atHalf, afterWarmUp) << "heap blocks grew over " << kPlugCycles / 2 << " cycles";
  EXPECT_EQ(atEnd, afterWarmUp) << "heap blocks grew over " << kPlugCycles << " cycles";
  EXPECT_TRUE(s.exitReachable);
  const std::vector<std::string> left = s.Leftovers();
  EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left);
}

TEST(Endurance, TenThousandPollTicksLeaveHandlesAndHeapWhereTheyWere) {
  TrayRun s;
  s.m.PlugKorven();
  std::ptrdiff_t afterWarmUp = 0;
  std::ptrdiff_t atEnd = 0;
  int registryHandles = 0;
  int deviceHandles = 0;
  int polls = 0;
  s.Run([&] {
    // A source that changes now and then, so the poll also redraws the source text.
    s.m.korven.SetSourceChannels(0, 1);
    s.m.windows.Advance(10 * kPollMs);
    afterWarmUp = Settled(s);
    registryHandles = s.m.registry.OpenHandleCount();
    deviceHandles = s.m.korven.OpenHandleCount();
    for (int block = 0; block < kPollTicks / 1000; ++block) {
      s.m.korven.SetSourceChannels(0, static_cast<std::uint8_t>(block % 2));
      s.m.windows.Advance(1000 * kPollMs);
      for (platform::Dword code : s.m.korven.Codes()) polls += code == IOCTL_GET_SOURCE_CHANNELS;
      s.ClearLogs();
    }
    atEnd = Settled(s);
    EXPECT_EQ(s.m.registry.OpenHandleCount(), registryHandles);
    EXPECT_EQ(s.m.korven.OpenHandleCount(), deviceHandles);
    s.exitReachable = s.TrayIconShown();
    s.TrayCommand(ID_TRAY_EXIT);
  });
  // The tray's 200 ms poll and the Filter page's 300 ms source display both ask.
  EXPECT_EQ(polls, kPollTicks + kPollTicks * 200 / 300 + 1);
  EXPECT_EQ(atEnd, afterWarmUp) << "heap blocks grew over " << kPollTicks << " ticks";
  EXPECT_TRUE(s.exitReachable);
  const std::vector<std::string> left = s.Leftovers();
  EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left);
}

}  // namespace
}  // namespace korven::reliability
