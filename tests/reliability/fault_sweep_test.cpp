// One sitting of a user, run once to number every platform call it makes, then once per call
// number with that call failing. Whatever fails, the program must end cleanly, give back
// everything it took and never store a mirrored setting the driver has just refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"
#include "shell/control_panel_dlg.h"
#include "speaker_test/speaker_test_dlg.h"
#include "tests/reliability/tray_run.h"

namespace korven::reliability {
namespace {

struct RunResult {
  int calls = 0;
  bool exitReachable = false;
  std::vector<std::string> callNames;
  std::vector<std::string> problems;
  std::size_t messageBoxes = 0;
};

RunResult RunSitting(int failingCall) {
  TrayRun s;
  s.m.PlugKorven();
  InstallPlayers(s.m);
  s.m.faults.FailCall(failingCall);
  s.Run([&] { OneSitting(s); });
  RunResult result;
  result.calls = s.m.faults.CallCount();
  result.callNames = s.m.faults.Calls();
  const std::string faulted =
      failingCall > 0 && failingCall <= result.calls ? result.callNames[failingCall - 1] : "";
  result.problems = s.Leftovers(faulted);
  for (const std::string& stored : StoredAfterFailure(s.timeline))
    result.problems.push_back(stored);
  // Without its icon the program cannot be told to exit; the window system ends the run then.
  result.exitReachable = s.exitReachable;
  if (s.exitReachable && s.m.windows.AbandonedModalRunCount() != 0) {
    result.problems.push_back("Exit did not end the program");
  }
  result.messageBoxes = s.m.windows.MessageBoxes().size();

  return result;
}

TEST(FaultSweep, TheSittingWithoutFaultsTouchesEveryServiceAndEndsClean) {
  const RunResult clean = RunSitting(0);
  EXPECT_TRUE(clean.problems.empty()) << ::testing::PrintToString(clean.problems);
  // The sitting reaches every service a fault can come from.
  for (const char* call :
       {"RegCreateKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegOpenKeyExA", "CreateFileA",
        "DeviceIoControl", "LoadLibraryA", "GetProcAddress", "mixerOpen", "mixerSetControlDetails",
        "PlaySoundA", "sndPlaySoundA", "Shell_NotifyIconA", "CreateMutexA", "WideCharToMultiByte",
        "SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces",
        "SetupDiGetDeviceInterfaceDetailA"}) {
    EXPECT_NE(std::find(clean.callNames.begin(), clean.callNames.end(), call),
              clean.callNames.end())
        << call;
  }
  EXPECT_EQ(clean.messageBoxes, 2u) << "the two 5.1 warnings, nothing else";
  EXPECT_TRUE(clean.exitReachable);
}

TEST(FaultSweep, EveryCallOfTheSittingFailingInTurnLeavesNothingBehind) {
  const int calls = RunSitting(0).calls;
  ASSERT_GT(calls, 100);
  // KORVEN_SWEEP_CALL=k runs call k alone, to look at one failure.
  int first = 1;
  int last = calls;
  if (const char* only = std::getenv("KORVEN_SWEEP_CALL")) first = last = std::atoi(only);
  int failures = 0;
  int withoutIcon = 0;
  for (int k = first; k <= last; ++k) {
    const RunResult run = RunSitting(k);
    withoutIcon += run.exitReachable ? 0 : 1;
    if (run.problems.empty()) continue;
    ++failures;
    ADD_FAILURE() << "call " << k << " (" << run.callNames.at(static_cast<std::size_t>(k) - 1)
                  << ") failing: " << ::testing::PrintToString(run.problems);
  }
  std::printf(
      "[ sweep    ] %d runs, one per platform call of the sitting; %d failed; %d ended "
      "without a tray icon to exit from\n",
      last - first + 1, failures, withoutIcon);
}

}  // namespace
}  // namespace korven::reliability
