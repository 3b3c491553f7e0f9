// The filter library's "AddUSBAudioFilter" and the remote-control monitor's load and
// unload: the calls in order, the boxes they show, and the libraries they leave loaded.
#include "device/companion_libraries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/device_presence.h"
#include "usb_test_machine.h"

namespace korven {
namespace {

using platform::Dword;
using platform::sim::EntryAnswer;
using Log = std::vector<std::string>;

constexpr char kWarning[] = "KORVEN : WARNING";
constexpr char kHidMissing[] = "Hid control dll is not found!";

Dword Code(std::int32_t code) {
  return static_cast<Dword>(code);
}

class CompanionLibrariesTest : public ::testing::Test {
 protected:
  CompanionLibrariesTest() {
    filter = machine.modules.BesideProgram(kFilterLibrary);
    monitor = machine.modules.BesideProgram(kHidMonitorLibrary);
    machine.modules.SetEntryPoint(filter, kIsDeviceInstalled, {1, {}});
    machine.modules.SetEntryPoint(filter, kAddUsbAudioFilter, {1, {}});
    machine.modules.SetEntryPoint(monitor, kOpenHidMonitor, {1, {}});
    machine.modules.SetEntryPoint(monitor, kCloseHidMonitor, {0, {}});
  }

  void SetUp() override {
    // A scenario elsewhere may have ended with the monitor taken up in a world that is gone:
    // let that handle go against a world of its own.
    if (IsHidMonitorLoaded()) {
      platform::sim::SimModules gone;
      platform::Platform goneServices;
      goneServices.modules = &gone;
      UnloadHidMonitor(goneServices);
    }
    ASSERT_FALSE(IsHidMonitorLoaded());
  }

  void TearDown() override {
    // The monitor handle belongs to the process: give it back before the next test.
    UnloadHidMonitor(machine.services);
    EXPECT_FALSE(IsHidMonitorLoaded());
    EXPECT_EQ(machine.modules.LoadedCount(), 0);
    EXPECT_EQ(machine.modules.InvalidUses(), 0);
  }

  bool AddFilter() { return AddAudioFilter(machine.services, machine.windows); }
  bool LoadMonitor() { return LoadHidMonitor(machine.services, machine.windows); }
  const auto& Boxes() const { return machine.windows.MessageBoxes(); }

  testing::UsbTestMachine machine;
  std::string filter;
  std::string monitor;
};

// --- AddAudioFilter

TEST_F(CompanionLibrariesTest, AddingTheFilterCallsItOnceAndUnloads) {
  EXPECT_TRUE(AddFilter());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(machine.modules.Log(),
            (Log{"load Zelfilter.dll", "find Zelfilter.dll!AddUSBAudioFilter",
                 "call Zelfilter.dll!AddUSBAudioFilter = 1", "free Zelfilter.dll"}));
  EXPECT_EQ(machine.modules.LoadPaths(), Log{filter});
}

TEST_F(CompanionLibrariesTest, AFailingFilterShowsItsCodeAndStillCountsAsAdded) {
  struct Case {
    std::int32_t code;
    const char* text;
  };
  const Case cases[] = {
      {-202, "Please reboot your PC."},
      {-201, "TALVOR Audio device is not found(Device is not pluged in)."},
      {-200, "TALVOR Audio device is not installed at all."},
      {-1, "Unknow error occured."},
      {-12345, ""},  // 53191: no such string
  };
  for (const Case& c : cases) {
    machine.modules.QueueAnswers(filter, kAddUsbAudioFilter, {{0, Code(c.code)}});
    EXPECT_TRUE(AddFilter()) << c.code;
  }
  ASSERT_EQ(Boxes().size(), std::size(cases));
  for (std::size_t i = 0; i < Boxes().size(); ++i) {
    EXPECT_EQ(Boxes()[i].text, cases[i].text);
    EXPECT_EQ(Boxes()[i].caption, kWarning);
    EXPECT_EQ(Boxes()[i].type, 0x30u);
  }
}

TEST_F(CompanionLibrariesTest, AFilterFailureReportsTheLastErrorItLeft) {
  // A library that fails without setting the value shows whatever was there before.
  machine.modules.SetLastError(Code(-201));
  machine.modules.QueueAnswers(filter, kAddUsbAudioFilter, {{0, {}}});
  EXPECT_TRUE(AddFilter());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "TALVOR Audio device is not found(Device is not pluged in).");
}

TEST_F(CompanionLibrariesTest, AMissingFilterLibraryOrEntryPointIsReportedAndFails) {
  struct Case {
    const char* what;
    bool library;
    Log log;
  };
  const Case cases[] = {
      {"library missing", false, {"load Zelfilter.dll failed"}},
      {"entry point missing",
       true,
       {"load Zelfilter.dll", "find Zelfilter.dll!AddUSBAudioFilter missing",
        "free Zelfilter.dll"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::UsbTestMachine m;
    std::string path = m.modules.BesideProgram(kFilterLibrary);
    m.modules.SetEntryPoint(path, kIsDeviceInstalled, {1, {}});
    if (!c.library) m.modules.RemoveLibrary(path);
    EXPECT_FALSE(AddAudioFilter(m.services, m.windows));
    EXPECT_EQ(m.modules.Log(), c.log);
    ASSERT_EQ(m.windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(m.windows.MessageBoxes()[0].text,
              "DLL-driver is not found.\nYou may need re-install it.");
    EXPECT_EQ(m.windows.MessageBoxes()[0].caption, kWarning);
    EXPECT_EQ(m.modules.LoadedCount(), 0);
  }
}

// --- LoadHidMonitor / UnloadHidMonitor

TEST_F(CompanionLibrariesTest, TheMonitorStartsAndStaysLoadedUntilUnloaded) {
  EXPECT_TRUE(LoadMonitor());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(IsHidMonitorLoaded());
  EXPECT_EQ(machine.modules.LoadedCount(), 1);
  EXPECT_EQ(machine.modules.LoadPaths(), Log{monitor});

  machine.modules.ClearLog();
  EXPECT_TRUE(UnloadHidMonitor(machine.services));
  EXPECT_EQ(machine.modules.Log(),
            (Log{"find hidrctrl.dll!CloseHidMonitor", "call hidrctrl.dll!CloseHidMonitor = 0",
                 "free hidrctrl.dll"}));
  EXPECT_EQ(machine.modules.LoadedCount(), 0);
}

TEST_F(CompanionLibrariesTest, UnloadingWhenNothingIsLoadedDoesNothing) {
  EXPECT_FALSE(UnloadHidMonitor(machine.services));
  EXPECT_TRUE(machine.modules.Log().empty());
  EXPECT_TRUE(LoadMonitor());
  EXPECT_TRUE(UnloadHidMonitor(machine.services));
  machine.modules.ClearLog();
  EXPECT_FALSE(UnloadHidMonitor(machine.services));
  EXPECT_TRUE(machine.modules.Log().empty());
}

TEST_F(CompanionLibrariesTest, AMissingMonitorLibraryIsReported) {
  machine.modules.RemoveLibrary(monitor);
  EXPECT_FALSE(LoadMonitor());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, kHidMissing);
  EXPECT_EQ(Boxes()[0].caption, kWarning);
  EXPECT_EQ(Boxes()[0].type, 0x30u);
  EXPECT_EQ(Boxes()[0].owner, nullptr);
  EXPECT_FALSE(IsHidMonitorLoaded());
  EXPECT_FALSE(UnloadHidMonitor(machine.services));
}

TEST_F(CompanionLibrariesTest, AMonitorWithoutOpenIsReportedAndStaysLoadedUntilUnloaded) {
  machine.modules.RemoveEntryPoint(monitor, kOpenHidMonitor);
  EXPECT_FALSE(LoadMonitor());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, kHidMissing);
  EXPECT_EQ(machine.modules.LoadedCount(), 1);
  machine.modules.ClearLog();
  EXPECT_TRUE(UnloadHidMonitor(machine.services));
  EXPECT_EQ(machine.modules.Log().front(), "find hidrctrl.dll!CloseHidMonitor");
  EXPECT_EQ(machine.modules.Log().back(), "free hidrctrl.dll");
  EXPECT_EQ(machine.modules.LoadedCount(), 0);
}

TEST_F(CompanionLibrariesTest, AMonitorThatWontStartFailsQuietlyAndStaysLoaded) {
  machine.modules.QueueAnswers(monitor, kOpenHidMonitor, {{0, {}}});
  EXPECT_FALSE(LoadMonitor());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(machine.modules.LoadedCount(), 1);
  EXPECT_TRUE(UnloadHidMonitor(machine.services));
  EXPECT_EQ(machine.modules.CallCount(monitor, kCloseHidMonitor), 1);
}

TEST_F(CompanionLibrariesTest, AMonitorWithoutCloseIsUnloadedAllTheSame) {
  machine.modules.RemoveEntryPoint(monitor, kCloseHidMonitor);
  EXPECT_TRUE(LoadMonitor());
  machine.modules.ClearLog();
  EXPECT_TRUE(UnloadHidMonitor(machine.services));
  EXPECT_EQ(machine.modules.Log(),
            (Log{"find hidrctrl.dll!CloseHidMonitor missing", "free hidrctrl.dll"}));
}

TEST_F(CompanionLibrariesTest, AFailedUnloadAnswersFalseAndLetsTheHandleGo) {
  EXPECT_TRUE(LoadMonitor());
  // GetModuleFileNameA, LoadLibraryA, GetProcAddress so far; then GetProcAddress, FreeLibrary.
  machine.faults.FailCall(machine.faults.CallCount() + 2);
  EXPECT_FALSE(UnloadHidMonitor(machine.services));
  EXPECT_FALSE(IsHidMonitorLoaded());
  EXPECT_EQ(machine.faults.Calls().back(), "FreeLibrary");
  // The platform kept its reference; give it back so the world ends clean.
  machine.faults.FailCall(0);
  platform::Module kept = machine.modules.LoadLibrary(monitor.c_str());
  machine.modules.FreeLibrary(kept);
  machine.modules.FreeLibrary(kept);
  EXPECT_EQ(machine.modules.LoadedCount(), 0);
}

TEST_F(CompanionLibrariesTest, TakingTheDeviceUpLeavesOnlyTheMonitorLoaded) {
  // The order the main window uses: presence, filter, monitor.
  machine.AddController(0, "ROOT", 1);
  machine.usb.PlugDevice("ROOT", 1, testing::kKorvenVendor, testing::kKorvenProduct);
  EXPECT_TRUE(IsDevicePresent(machine.services, machine.windows));
  EXPECT_TRUE(AddFilter());
  EXPECT_TRUE(LoadMonitor());
  EXPECT_FALSE(machine.modules.IsLoaded(filter));
  EXPECT_TRUE(machine.modules.IsLoaded(monitor));
  EXPECT_EQ(machine.modules.LoadedCount(), 1);
}

}  // namespace
}  // namespace korven
