// The simulated modules: counted loads, entry points and their answers, the last-error
// value, and the handles a careless caller would misuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_modules.h"

namespace platform::sim {
namespace {

using Log = std::vector<std::string>;

constexpr char kLib[] = "C:\\Program Files\\TALVOR\\KORVEN\\Zelfilter.dll";

class SimModulesTest : public ::testing::Test {
 protected:
  SimModulesTest() { modules.SetEntryPoint(kLib, "IsDeviceInstalled", {7, {}}); }

  FaultPlan faults;
  SimModules modules{&faults};
};

TEST_F(SimModulesTest, TheProgramPathAndItsDirectory) {
  EXPECT_EQ(modules.GetModuleFileName(), SimModules::kDefaultProgramPath);
  EXPECT_EQ(modules.BesideProgram("Zelfilter.dll"), kLib);
  modules.SetProgramPath("korven.exe");
  EXPECT_EQ(modules.BesideProgram("hidrctrl.dll"), "hidrctrl.dll");
  modules.SetProgramPath("");
  EXPECT_EQ(modules.GetModuleFileName(), "");
}

TEST_F(SimModulesTest, LoadsAreCountedReferencesOnOneModule) {
  Module first = modules.LoadLibrary(kLib);
  Module second = modules.LoadLibrary("c:\\program files\\talvor\\korven\\ZELFILTER.DLL");
  ASSERT_NE(first, kNullModule);
  EXPECT_EQ(first, second);
  EXPECT_EQ(modules.LoadedCount(), 2);
  EXPECT_TRUE(modules.FreeLibrary(first));
  EXPECT_TRUE(modules.IsLoaded(kLib));
  EXPECT_TRUE(modules.FreeLibrary(first));
  EXPECT_FALSE(modules.IsLoaded(kLib));
  EXPECT_EQ(modules.LoadedCount(), 0);
  // A module value is not reused after its library was unloaded.
  Module again = modules.LoadLibrary(kLib);
  EXPECT_NE(again, first);
  EXPECT_FALSE(modules.FreeLibrary(first));
  EXPECT_EQ(modules.InvalidUses(), 1);
  EXPECT_TRUE(modules.FreeLibrary(again));
}

TEST_F(SimModulesTest, MissingLibrariesAndEntryPointsLeaveTheirErrors) {
  EXPECT_EQ(modules.LoadLibrary("C:\\elsewhere\\Zelfilter.dll"), kNullModule);
  EXPECT_EQ(modules.GetLastError(), static_cast<Dword>(error::kModNotFound));
  Module lib = modules.LoadLibrary(kLib);
  EXPECT_EQ(modules.GetProcAddress(lib, "AddUSBAudioFilter"), kNullProc);
  EXPECT_EQ(modules.GetLastError(), static_cast<Dword>(error::kProcNotFound));
  // Entry point names are exact.
  EXPECT_EQ(modules.GetProcAddress(lib, "isdeviceinstalled"), kNullProc);
  modules.FreeLibrary(lib);
  modules.RemoveLibrary(kLib);
  EXPECT_EQ(modules.LoadLibrary(kLib), kNullModule);
  EXPECT_EQ(modules.Log(), (Log{"load Zelfilter.dll failed", "load Zelfilter.dll",
                                "find Zelfilter.dll!AddUSBAudioFilter missing",
                                "find Zelfilter.dll!isdeviceinstalled missing",
                                "free Zelfilter.dll", "load Zelfilter.dll failed"}));
}

TEST_F(SimModulesTest, CallsTakeQueuedAnswersThenTheStandingOne) {
  modules.QueueAnswers(kLib, "IsDeviceInstalled", {{0, 0xFFFFFF38u}, {3, {}}});
  modules.SetLastError(5);
  Module lib = modules.LoadLibrary(kLib);
  Proc proc = modules.GetProcAddress(lib, "IsDeviceInstalled");
  EXPECT_EQ(modules.GetProcAddress(lib, "IsDeviceInstalled"), proc);
  EXPECT_EQ(modules.CallProc(proc), 0);
  EXPECT_EQ(modules.GetLastError(), 0xFFFFFF38u);
  EXPECT_EQ(modules.CallProc(proc), 3);
  EXPECT_EQ(modules.GetLastError(), 0xFFFFFF38u);  // left as it was
  EXPECT_EQ(modules.CallProc(proc), 7);
  EXPECT_EQ(modules.CallProc(proc), 7);
  EXPECT_EQ(modules.CallCount(kLib, "IsDeviceInstalled"), 4);
  modules.FreeLibrary(lib);
  // An entry point of an unloaded library is dead.
  EXPECT_EQ(modules.CallProc(proc), 0);
  EXPECT_EQ(modules.InvalidUses(), 1);
  EXPECT_EQ(modules.CallCount(kLib, "IsDeviceInstalled"), 4);
}

TEST_F(SimModulesTest, EveryPlatformCallCanBeMadeToFail) {
  struct Case {
    int failing;
    const char* call;
  };
  for (Case c : {Case{1, "GetModuleFileNameA"}, Case{2, "LoadLibraryA"}, Case{3, "GetProcAddress"},
                 Case{4, "FreeLibrary"}}) {
    SCOPED_TRACE(c.call);
    FaultPlan plan;
    SimModules m(&plan);
    m.SetEntryPoint(kLib, "IsDeviceInstalled");
    plan.FailCall(c.failing);
    bool pathOk = !m.GetModuleFileName().empty();
    Module lib = m.LoadLibrary(kLib);
    Proc proc = lib != kNullModule ? m.GetProcAddress(lib, "IsDeviceInstalled") : kNullProc;
    bool freed = lib != kNullModule && m.FreeLibrary(lib);
    EXPECT_EQ(pathOk, c.failing != 1);
    EXPECT_EQ(lib != kNullModule, c.failing != 2);
    EXPECT_EQ(proc != kNullProc, c.failing != 2 && c.failing != 3);
    EXPECT_EQ(freed, c.failing != 2 && c.failing != 4);
    EXPECT_EQ(plan.Calls().at(static_cast<std::size_t>(c.failing) - 1), c.call);
    EXPECT_NE(m.GetLastError(), 0u);
    // A failed unload keeps the reference.
    EXPECT_EQ(m.LoadedCount(), c.failing == 4 ? 1 : 0);
  }
}

}  // namespace
}  // namespace platform::sim
