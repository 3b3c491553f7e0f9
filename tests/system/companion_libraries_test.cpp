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

TEST_F(CompanionLibrariesTest,
       AFailingFilterShowsItsCodeOrTheLastErrorItLeftAndStillCountsAsAdded) {
  // Each code's text is in the error-code table of the presence test.
  machine.modules.QueueAnswers(filter, kAddUsbAudioFilter, {{0, Code(-202)}});
  EXPECT_TRUE(AddFilter());
  // A library that fails without setting the value shows whatever was there before.
  machine.modules.SetLastError(Code(-201));
  machine.modules.QueueAnswers(filter, kAddUsbAudioFilter, {{0, {}}});
  EXPECT_TRUE(AddFilter());
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, "Please reboot your PC.");
  EXPECT_EQ(Boxes()[0].caption, kWarning);
  EXPECT_EQ(Boxes()[0].type, 0x30u);
  EXPECT_EQ(Boxes()[1].text, "TALVOR Audio device is not found(Device is not pluged in).");
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

TEST_F(CompanionLibrariesTest, TheMonitorLoadsReportsAndUnloadsAsItsLibraryAllows) {
  const Log closeAndFree = {"find hidrctrl.dll!CloseHidMonitor",
                            "call hidrctrl.dll!CloseHidMonitor = 0", "free hidrctrl.dll"};
  struct Case {
    const char* what;
    void (*setup)(platform::sim::SimModules&, const std::string&);
    bool started;
    const char* box;
    bool held;  // left loaded after LoadHidMonitor, for UnloadHidMonitor to give back
    Log unload;
  };
  const Case cases[] = {
      {"starts", [](auto&, const auto&) {}, true, nullptr, true, closeAndFree},
      {"library missing",
       [](auto& m, const auto& lib) { m.RemoveLibrary(lib); },
       false,
       kHidMissing,
       false,
       {}},
      {"without OpenHidMonitor",
       [](auto& m, const auto& lib) { m.RemoveEntryPoint(lib, kOpenHidMonitor); }, false,
       kHidMissing, true, closeAndFree},
      {"OpenHidMonitor fails",
       [](auto& m, const auto& lib) {
         m.QueueAnswers(lib, kOpenHidMonitor, {{0, {}}});
       },
       false, nullptr, true, closeAndFree},
      {"without CloseHidMonitor",
       [](auto& m, const auto& lib) { m.RemoveEntryPoint(lib, kCloseHidMonitor); },
       true,
       nullptr,
       true,
       {"find hidrctrl.dll!CloseHidMonitor missing", "free hidrctrl.dll"}},
  };
  EXPECT_FALSE(UnloadHidMonitor(machine.services)) << "nothing loaded yet";
  EXPECT_TRUE(machine.modules.Log().empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::UsbTestMachine m;
    m.modules.SetEntryPoint(monitor, kOpenHidMonitor, {1, {}});
    m.modules.SetEntryPoint(monitor, kCloseHidMonitor, {0, {}});
    c.setup(m.modules, monitor);
    EXPECT_EQ(LoadHidMonitor(m.services, m.windows), c.started);
    EXPECT_EQ(m.modules.LoadedCount(), c.held ? 1 : 0);
    EXPECT_EQ(IsHidMonitorLoaded(), c.held);
    ASSERT_EQ(m.windows.MessageBoxes().size(), c.box != nullptr ? 1u : 0u);
    if (c.box != nullptr) {
      const auto& box = m.windows.MessageBoxes()[0];
      EXPECT_EQ(box.text, c.box);
      EXPECT_EQ(box.caption, kWarning);
      EXPECT_EQ(box.type, 0x30u);
      EXPECT_EQ(box.owner, nullptr);
    }
    m.modules.ClearLog();
    EXPECT_EQ(UnloadHidMonitor(m.services), c.held);
    EXPECT_EQ(m.modules.Log(), c.unload);
    EXPECT_FALSE(UnloadHidMonitor(m.services)) << "a second unload does nothing";
    EXPECT_EQ(m.modules.Log(), c.unload);
    EXPECT_EQ(m.modules.LoadedCount(), 0);
  }
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
