// The presence test: the filter library's word and the USB walk, both needed, in that
// order, with the library unloaded again; and the error-code box it shares with the
// companion libraries.
#include "device/device_presence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/companion_libraries.h"
#include "device/error_codes.h"
#include "usb_test_machine.h"

namespace korven {
namespace {

using platform::sim::EntryAnswer;
using testing::kKorvenProduct;
using testing::kKorvenVendor;

constexpr char kDllMissingText[] = "DLL-driver is not found.\nYou may need re-install it.";
constexpr char kWarning[] = "KORVEN : WARNING";
constexpr unsigned kExclamationOk = 0x30;

class DevicePresenceTest : public ::testing::Test {
 protected:
  DevicePresenceTest() {
    filter = machine.modules.BesideProgram(kFilterLibrary);
    machine.modules.SetEntryPoint(filter, kIsDeviceInstalled, {1, {}});
    machine.modules.SetEntryPoint(filter, kAddUsbAudioFilter, {1, {}});
    machine.AddController(0, "ROOT", 2);
    machine.usb.PlugDevice("ROOT", 2, kKorvenVendor, kKorvenProduct);
  }

  void TearDown() override { EXPECT_TRUE(machine.AllHandlesClosed()); }

  bool Present() { return IsDevicePresent(machine.services, machine.windows); }

  void ExpectOneDllMissingBox() {
    ASSERT_EQ(machine.windows.MessageBoxes().size(), 1u);
    const auto& box = machine.windows.MessageBoxes()[0];
    EXPECT_EQ(box.text, kDllMissingText);
    EXPECT_EQ(box.caption, kWarning);
    EXPECT_EQ(box.type, kExclamationOk);
    EXPECT_EQ(box.owner, nullptr);
  }

  testing::UsbTestMachine machine;
  std::string filter;
};

TEST_F(DevicePresenceTest, AsksTheLibraryThenWalksThenUnloads) {
  EXPECT_TRUE(Present());
  EXPECT_EQ(
      machine.modules.Log(),
      (std::vector<std::string>{"load Zelfilter.dll", "find Zelfilter.dll!IsDeviceInstalled",
                                "call Zelfilter.dll!IsDeviceInstalled = 1", "free Zelfilter.dll"}));
  // The walk's opens fall between the look-up and the unload.
  const auto& calls = machine.faults.Calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0], "GetModuleFileNameA");
  EXPECT_EQ(calls[1], "LoadLibraryA");
  EXPECT_EQ(calls[2], "GetProcAddress");
  EXPECT_EQ(calls[3], "CreateFileA");
  EXPECT_EQ(calls.back(), "FreeLibrary");
}

TEST_F(DevicePresenceTest, BothAnswersAreNeeded) {
  struct Case {
    const char* what;
    int installed;
    bool plugged;
    bool present;
  };
  for (Case c : {Case{"installed, plugged", 1, true, true},
                 Case{"installed (any non-zero), plugged", -7, true, true},
                 Case{"not installed, plugged", 0, true, false},
                 Case{"installed, unplugged", 1, false, false}, Case{"neither", 0, false, false}}) {
    SCOPED_TRACE(c.what);
    testing::UsbTestMachine m;
    std::string path = m.modules.BesideProgram(kFilterLibrary);
    m.modules.SetEntryPoint(path, kIsDeviceInstalled, {c.installed, {}});
    m.AddController(0, "ROOT", 2);
    if (c.plugged) m.usb.PlugDevice("ROOT", 2, kKorvenVendor, kKorvenProduct);
    EXPECT_EQ(IsDevicePresent(m.services, m.windows), c.present);
    // The walk runs whatever the library said.
    EXPECT_EQ(m.usb.Opens().size(), c.plugged ? 2u : 11u);
    EXPECT_TRUE(m.windows.MessageBoxes().empty());
    EXPECT_TRUE(m.AllHandlesClosed());
  }
}

TEST_F(DevicePresenceTest, NoOpenableControllerIsAbsentWithoutAMessage) {
  for (int i = 0; i < 10; ++i) machine.usb.FailOpen("\\\\.\\HCD" + std::to_string(i));
  EXPECT_FALSE(Present());
  EXPECT_TRUE(machine.windows.MessageBoxes().empty());
  EXPECT_EQ(machine.usb.Opens().size(), 10u);
}

TEST_F(DevicePresenceTest, AMissingFilterLibraryIsReportedAtEveryCall) {
  machine.modules.RemoveLibrary(filter);
  EXPECT_FALSE(Present());
  ExpectOneDllMissingBox();
  EXPECT_TRUE(machine.usb.Opens().empty());
  EXPECT_FALSE(Present());
  EXPECT_EQ(machine.windows.MessageBoxes().size(), 2u);
}

TEST_F(DevicePresenceTest, AFilterLibraryWithoutItsEntryPointIsUnloadedAndReported) {
  machine.modules.RemoveEntryPoint(filter, kIsDeviceInstalled);
  EXPECT_FALSE(Present());
  ExpectOneDllMissingBox();
  EXPECT_TRUE(machine.usb.Opens().empty());
  EXPECT_EQ(machine.modules.Log().back(), "free Zelfilter.dll");
}

TEST_F(DevicePresenceTest, TheLibraryIsLookedForOnlyBesideTheProgram) {
  machine.modules.SetProgramPath("D:\\Tools\\KORVEN v2\\bin\\korven.exe");
  machine.modules.AddLibrary("D:\\Tools\\KORVEN v2\\bin\\zelfilter.dll");
  machine.modules.SetEntryPoint("D:\\Tools\\KORVEN v2\\bin\\Zelfilter.dll", kIsDeviceInstalled,
                                {1, {}});
  EXPECT_TRUE(Present());
  EXPECT_EQ(machine.modules.LoadPaths().back(), "D:\\Tools\\KORVEN v2\\bin\\Zelfilter.dll");
}

// --- The error-code box.

TEST_F(DevicePresenceTest, ErrorCodesShowTheirTextUnderTheWarningCaption) {
  struct Case {
    std::int32_t code;
    const char* text;
  };
  const Case cases[] = {
      {kErrorUnknown, "Unknow error occured."},
      {kErrorDllMissing, kDllMissingText},
      {kErrorHidDllMissing, "Hid control dll is not found!"},
      {kErrorNotInstalled, "TALVOR Audio device is not installed at all."},
      {kErrorNotPluggedIn, "TALVOR Audio device is not found(Device is not pluged in)."},
      {kErrorReboot, "Please reboot your PC."},
      {-300, ""},                                       // 65236: no such string
      {-65536 + 9, "Application is already running!"},  // only the low 16 bits count
  };
  for (const Case& c : cases) ShowErrorCode(machine.windows, c.code);
  const auto& boxes = machine.windows.MessageBoxes();
  ASSERT_EQ(boxes.size(), std::size(cases));
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    SCOPED_TRACE(cases[i].code);
    EXPECT_EQ(boxes[i].text, cases[i].text);
    EXPECT_EQ(boxes[i].caption, kWarning);
    EXPECT_EQ(boxes[i].type, kExclamationOk);
    EXPECT_EQ(boxes[i].owner, nullptr);
  }
}

}  // namespace
}  // namespace korven
