// The USB walk against simulated trees: where the device may sit, which ids it answers to,
// the requests it sends, and answers from the tree's drivers that are wrong or hostile.
#include "device/usb_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/usb_ioctl.h"
#include "usb_test_machine.h"

namespace korven {
namespace {

using platform::Dword;
using platform::sim::UsbRequest;
using testing::kKorvenProduct;
using testing::kKorvenVendor;
namespace usb = platform::usb;

constexpr char kRoot[] = "USB#ROOT_HUB#4&2b6f1c&0#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";

class UsbWalkTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(machine.usb.OpenHandleCount(), 0);
    EXPECT_EQ(machine.usb.InvalidHandleUses(), 0);
  }

  bool Walk() { return FindDeviceOnUsb(machine.services); }

  std::vector<std::string> OpenedPaths() const {
    std::vector<std::string> paths;
    for (const auto& open : machine.usb.Opens()) paths.push_back(open.path);
    return paths;
  }

  std::vector<const UsbRequest*> RequestsWith(Dword code) const {
    std::vector<const UsbRequest*> found;
    for (const auto& request : machine.usb.Requests()) {
      if (request.code == code) found.push_back(&request);
    }
    return found;
  }

  testing::UsbTestMachine machine;
};

// --- Where the device sits.

TEST_F(UsbWalkTest, StopsAtTheFirstMatch) {
  machine.AddController(0, "ROOT0", 4);
  machine.AddController(1, "ROOT1", 4);
  machine.usb.PlugDevice("ROOT0", 2, kKorvenVendor, kKorvenProduct);
  EXPECT_TRUE(Walk());
  EXPECT_EQ(OpenedPaths(), (std::vector<std::string>{"\\\\.\\HCD0", "\\\\.\\ROOT0"}));
  EXPECT_EQ(RequestsWith(usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION).size(), 2u);
}

// A host controller of a driver stack that made no legacy name, and the same controller as
// HCD0 under its interface.
constexpr char kListedController[] =
    "\\\\?\\pci#ven_8086&dev_a36d#3&11583659&1&a0#{3abf6f2d-71c4-462a-8a92-1e6861e6af27}";
constexpr char kHcd0Listed[] =
    "\\\\?\\pci#ven_8086&dev_1e31#3&11583659&1&a8#{3abf6f2d-71c4-462a-8a92-1e6861e6af27}";

TEST_F(UsbWalkTest, ListedControllersComeAfterTheTenNamesAndARootHubIsWalkedOnce) {
  machine.AddController(0, "ROOT0", 1);
  machine.interfaces.Add(usb::kHostControllerInterface, kHcd0Listed);
  machine.usb.AddInterfaceHostController(kHcd0Listed, "ROOT0");
  machine.AddListedController(kListedController, "ROOT_X", 2);
  // A device list of another class is not asked for.
  machine.interfaces.Add({0xA5DCBF10, 0x6530, 0x11D2, {}}, "\\\\?\\usb#other");

  EXPECT_FALSE(Walk());
  std::vector<std::string> expected{"\\\\.\\HCD0", "\\\\.\\ROOT0"};
  for (int i = 1; i <= 9; ++i) expected.push_back("\\\\.\\HCD" + std::to_string(i));
  // HCD0 again under its interface: asked for its root hub, which is not entered twice.
  expected.insert(expected.end(), {kHcd0Listed, kListedController, "\\\\.\\ROOT_X"});
  EXPECT_EQ(OpenedPaths(), expected);
  EXPECT_EQ(machine.interfaces.Log(),
            (std::vector<std::string>{"list", "enum 0", "path 0", "enum 1", "path 1", "enum 2 end",
                                      "destroy"}));

  machine.usb.PlugDevice("ROOT_X", 2, kKorvenVendor, kKorvenProduct);
  EXPECT_TRUE(Walk()) << "plugged in behind the listed controller";
  machine.usb.Unplug("ROOT_X", 2);
  EXPECT_FALSE(Walk()) << "and pulled out";
  EXPECT_TRUE(machine.AllHandlesClosed());
}

TEST_F(UsbWalkTest, AListThatCannotBeReadEndsTheWalkOrSkipsOneController) {
  machine.AddListedController(kHcd0Listed, "ROOT_A");
  machine.AddListedController(kListedController, "ROOT_B");
  machine.usb.PlugDevice("ROOT_B", 1, kKorvenVendor, kKorvenProduct);
  EXPECT_TRUE(Walk());
  machine.usb.FailOpen(kHcd0Listed);
  EXPECT_TRUE(Walk()) << "a controller that doesn't open is passed by";
  const int callsBefore = machine.faults.CallCount();
  machine.faults.FailCall(callsBefore + 11);  // after the ten legacy opens: the list itself
  EXPECT_FALSE(Walk());
  EXPECT_EQ(machine.faults.Calls().at(static_cast<std::size_t>(callsBefore) + 10),
            "SetupDiGetClassDevsA");
  EXPECT_TRUE(machine.AllHandlesClosed());
}

// --- Which ids it answers to.

TEST_F(UsbWalkTest, RecognisesTheVendorAndThreeProductFamilies) {
  struct Case {
    std::uint16_t vendor;
    std::uint16_t product;
    bool found;
  };
  const Case cases[] = {
      {kKorvenVendor, 0x1100, true},  {kKorvenVendor, 0x11FF, true},
      {kKorvenVendor, 0x1600, true},  {kKorvenVendor, 0x16A5, true},
      {kKorvenVendor, 0x1700, true},  {kKorvenVendor, 0x17FF, true},
      {kKorvenVendor, 0x1200, false}, {kKorvenVendor, 0x12FF, false},
      {kKorvenVendor, 0x1000, false}, {kKorvenVendor, 0x1800, false},
      {kKorvenVendor, 0x0016, false}, {kKorvenVendor, 0x0000, false},
      {0x2B4C, 0x1600, false},        {0x4D2B, 0x1600, false},
      {0xA55A, 0x1600, false},        {0x8E17, 0x1600, false},
      {0x0000, 0x1100, false},        {0xFFFF, 0x1700, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.vendor << ":" << c.product);
    EXPECT_EQ(IsKorvenDevice(c.vendor, c.product), c.found);
    testing::UsbTestMachine m;
    m.AddController(0, kRoot, 1);
    m.usb.PlugDevice(kRoot, 1, c.vendor, c.product);
    EXPECT_EQ(FindDeviceOnUsb(m.services), c.found);
  }
}

TEST_F(UsbWalkTest, TheDeviceTestComesBeforeTheHubTest) {
  // A hub that answers with the KORVEN's ids counts as the device; its ports aren't asked.
  machine.AddController(0, kRoot, 1);
  machine.usb.AddHub("INNER", 4);
  machine.usb.PlugHub(kRoot, 1, "INNER", kKorvenVendor, 0x1700);
  EXPECT_TRUE(Walk());
  EXPECT_TRUE(RequestsWith(usb::IOCTL_USB_GET_NODE_CONNECTION_NAME).empty());
}

// --- The requests, with their published records.

TEST_F(UsbWalkTest, AsksWithThePublishedRecords) {
  machine.AddController(0, "R", 2);
  machine.usb.AddHub("HB", 1);
  machine.usb.PlugHub("R", 2, "HB");
  EXPECT_FALSE(Walk());

  const auto& opens = machine.usb.Opens();
  ASSERT_GE(opens.size(), 3u);
  for (const auto& open : opens) {
    EXPECT_EQ(open.access, platform::file::kGenericWrite) << open.path;
    EXPECT_EQ(open.share, platform::file::kShareWrite) << open.path;
    EXPECT_EQ(open.disposition, platform::file::kOpenExisting) << open.path;
  }

  const auto& requests = machine.usb.Requests();
  ASSERT_EQ(requests.size(), 9u);
  // The root hub name: 8 bytes to learn the length, then "R" in full (4 + 2 * 2 bytes).
  EXPECT_EQ(requests[0].code, usb::IOCTL_USB_GET_ROOT_HUB_NAME);
  EXPECT_TRUE(requests[0].input.empty());
  EXPECT_EQ(requests[0].outputSize, 8u);
  EXPECT_EQ(requests[1].outputSize, 8u);
  // The node information: 80 zeroed bytes in and out.
  EXPECT_EQ(requests[2].path, "\\\\.\\R");
  EXPECT_EQ(requests[2].input, std::vector<std::uint8_t>(80, 0));
  EXPECT_EQ(requests[2].outputSize, 80u);
  // Connection information of ports 1 and 2: 40 bytes, zero but for the port.
  for (int port = 1; port <= 2; ++port) {
    const auto& request = requests[2 + port];
    std::vector<std::uint8_t> expected(40, 0);
    expected[0] = static_cast<std::uint8_t>(port);
    EXPECT_EQ(request.code, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION);
    EXPECT_EQ(request.input, expected);
    EXPECT_EQ(request.outputSize, 40u);
  }
  // The hub on port 2: 12 bytes, then the whole record "HB" (8 + 3 * 2 bytes).
  EXPECT_EQ(requests[5].code, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME);
  EXPECT_EQ(requests[5].input, (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(requests[5].outputSize, 12u);
  EXPECT_EQ(requests[6].input,
            (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(requests[6].outputSize, 14u);
  EXPECT_EQ(requests[7].path, "\\\\.\\HB");
  EXPECT_EQ(requests[7].code, usb::IOCTL_USB_GET_NODE_INFORMATION);
  EXPECT_EQ(requests[8].code, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION);
}

// --- Failures along the way are skipped.

TEST_F(UsbWalkTest, AnyFailureOnTheOnlyPathHidesTheDeviceAndLeaksNothing) {
  struct Case {
    const char* what;
    void (*fault)(platform::sim::SimUsbTree&);
  };
  const Case cases[] = {
      {"controller open", [](auto& t) { t.FailOpen("\\\\.\\HCD0"); }},
      {"root hub name",
       [](auto& t) { t.FailRequest("\\\\.\\HCD0", usb::IOCTL_USB_GET_ROOT_HUB_NAME); }},
      {"root hub open", [](auto& t) { t.FailOpen("\\\\.\\R"); }},
      {"root node information",
       [](auto& t) { t.FailRequest("\\\\.\\R", usb::IOCTL_USB_GET_NODE_INFORMATION); }},
      {"connection information",
       [](auto& t) {
         t.FailRequest("\\\\.\\R", usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, 3);
       }},
      {"connection name",
       [](auto& t) { t.FailRequest("\\\\.\\R", usb::IOCTL_USB_GET_NODE_CONNECTION_NAME); }},
      {"hub open", [](auto& t) { t.FailOpen("\\\\.\\HB"); }},
      {"hub connection information",
       [](auto& t) { t.FailRequest("\\\\.\\HB", usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::UsbTestMachine m;
    m.AddController(0, "R", 3);
    m.usb.AddHub("HB", 2);
    m.usb.PlugHub("R", 3, "HB");
    m.usb.PlugDevice("HB", 2, kKorvenVendor, kKorvenProduct);
    ASSERT_TRUE(FindDeviceOnUsb(m.services));
    c.fault(m.usb);
    EXPECT_FALSE(FindDeviceOnUsb(m.services));
    EXPECT_EQ(m.usb.OpenHandleCount(), 0);
    EXPECT_EQ(m.usb.InvalidHandleUses(), 0);
  }
}

TEST_F(UsbWalkTest, GoesOnPastFailuresToTheNextControllerAndPort) {
  machine.AddController(0, "R0");
  machine.AddController(1, "R1");
  machine.AddController(2, "R2", 3);
  machine.usb.FailOpen("\\\\.\\R0");
  machine.usb.FailRequest("\\\\.\\HCD1", usb::IOCTL_USB_GET_ROOT_HUB_NAME);
  machine.usb.AddHub("HB", 1);
  machine.usb.PlugHub("R2", 1, "HB");
  machine.usb.FailRequest("\\\\.\\HB", usb::IOCTL_USB_GET_NODE_INFORMATION);
  machine.usb.FailRequest("\\\\.\\R2", usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, 2);
  machine.usb.PlugDevice("R2", 3, kKorvenVendor, kKorvenProduct);
  EXPECT_TRUE(Walk());
}

// --- Names the tree's drivers get wrong.

TEST_F(UsbWalkTest, NameLengthsFromTheTreeAreNeverTrustedBeyondTheRecord) {
  // "R" makes an 8-byte root hub record (4 + "R\0"), "HUB" a 16-byte connection record.
  struct Case {
    const char* what;
    std::vector<Dword> rootLengths;
    std::vector<Dword> hubLengths;
    bool found;
    std::size_t rootNameRequests;
    std::size_t hubNameRequests;
  };
  const Case cases[] = {
      {"true lengths", {}, {}, true, 2, 2},
      {"root name longer in the second answer than the record", {8, 4000}, {}, true, 2, 2},
      {"root length smaller than its header", {3}, {}, false, 1, 0},
      {"root length of the header alone", {4}, {}, false, 1, 0},
      {"root length odd, cutting the terminator", {7}, {}, true, 2, 2},
      {"root length past any sensible record", {0xFFFFFFFF}, {}, false, 1, 0},
      {"hub name longer in the second answer", {}, {16, 0x7FFFFFFF}, true, 2, 2},
      {"hub length of 12", {}, {12}, false, 2, 1},
      {"hub length smaller than its header", {}, {6}, false, 2, 1},
      {"hub length zero", {}, {0}, false, 2, 1},
      {"hub length odd, cutting the terminator", {}, {15}, true, 2, 2},
      {"hub length past any sensible record", {}, {0x80000000}, false, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::UsbTestMachine m;
    m.AddController(0, "R", 1);
    m.usb.AddHub("HUB", 1);
    m.usb.PlugHub("R", 1, "HUB");
    m.usb.PlugDevice("HUB", 1, kKorvenVendor, kKorvenProduct);
    if (!c.rootLengths.empty()) m.usb.ReportRootHubNameLengths(0, c.rootLengths);
    if (!c.hubLengths.empty()) m.usb.ReportConnectionNameLengths("R", 1, c.hubLengths);
    EXPECT_EQ(FindDeviceOnUsb(m.services), c.found);
    std::size_t rootNames = 0;
    std::size_t hubNames = 0;
    for (const auto& request : m.usb.Requests()) {
      if (request.path == "\\\\.\\HCD0") ++rootNames;
      if (request.code == usb::IOCTL_USB_GET_NODE_CONNECTION_NAME) ++hubNames;
    }
    EXPECT_EQ(rootNames, c.rootNameRequests);
    EXPECT_EQ(hubNames, c.hubNameRequests);
    EXPECT_EQ(m.usb.OpenHandleCount(), 0);
  }
}

TEST_F(UsbWalkTest, ANameCutShortWithoutTerminatorIsUsedOnlyAsFarAsTheRecord) {
  // The driver claims room for three characters of "HUB-A" and no terminator: the walk
  // asks for "HUB", which isn't there, and reads nothing past its record.
  machine.AddController(0, "R", 1);
  machine.usb.AddHub("HUB-A", 1);
  machine.usb.PlugHub("R", 1, "HUB-A");
  machine.usb.PlugDevice("HUB-A", 1, kKorvenVendor, kKorvenProduct);
  machine.usb.ReportConnectionNameLengths("R", 1, {14});
  EXPECT_FALSE(Walk());
  EXPECT_EQ(OpenedPaths().at(2), "\\\\.\\HUB");
}

TEST_F(UsbWalkTest, AnEmptyOrUnconvertibleNameIsSkipped) {
  machine.AddController(0, "", 1);
  machine.AddController(1, "R1", 2);
  machine.usb.PlugHub("R1", 1, "");
  machine.usb.PlugDevice("R1", 2, kKorvenVendor, 0x1200);
  EXPECT_FALSE(Walk());
  // Neither "\\.\" alone nor a child without a name is opened.
  for (const auto& path : OpenedPaths()) EXPECT_NE(path, "\\\\.\\");

  testing::UsbTestMachine m;
  m.AddController(0, "R", 1);
  m.usb.PlugDevice("R", 1, kKorvenVendor, kKorvenProduct);
  m.codePage.FailConversions(true);
  EXPECT_FALSE(FindDeviceOnUsb(m.services));
  EXPECT_EQ(m.usb.Opens().size(), 10u);  // the controllers only
}

TEST_F(UsbWalkTest, AHubNameMustFitThePathBuffer) {
  // "\\.\" + name + terminator in 256 bytes: 251 characters fit, 252 don't.
  for (std::size_t length : {251u, 252u}) {
    SCOPED_TRACE(length);
    testing::UsbTestMachine m;
    std::string longName(length, 'h');
    m.AddController(0, "R", 1);
    m.usb.AddHub(longName, 1);
    m.usb.PlugHub("R", 1, longName);
    m.usb.PlugDevice(longName, 1, kKorvenVendor, kKorvenProduct);
    EXPECT_EQ(FindDeviceOnUsb(m.services), length == 251);
    bool opened = false;
    for (const auto& open : m.usb.Opens()) opened |= open.path == "\\\\.\\" + longName;
    EXPECT_EQ(opened, length == 251);
  }
  // The same limit holds for a root hub.
  testing::UsbTestMachine m;
  std::string longRoot(252, 'r');
  m.AddController(0, longRoot, 1);
  m.usb.PlugDevice(longRoot, 1, kKorvenVendor, kKorvenProduct);
  EXPECT_FALSE(FindDeviceOnUsb(m.services));
}

TEST_F(UsbWalkTest, ATreeThatLeadsBackIntoItselfEnds) {
  struct Case {
    const char* what;
    void (*build)(platform::sim::SimUsbTree&);
  };
  const Case cases[] = {
      {"a hub below itself", [](auto& t) { t.PlugHub("ROOT", 1, "ROOT"); }},
      {"two hubs below each other",
       [](auto& t) {
         t.AddHub("HA", 2);
         t.AddHub("HB", 2);
         t.PlugHub("ROOT", 1, "HA");
         t.PlugHub("HA", 1, "HB");
         t.PlugHub("HB", 1, "HA");
         t.PlugHub("HB", 2, "root");  // back to the root, named in another case
       }},
      {"one hub on many ports",
       [](auto& t) {
         t.AddHub("HA", 4);
         for (int port = 1; port <= 4; ++port) t.PlugHub("HA", port, "HA");
         t.PlugHub("ROOT", 1, "HA");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::UsbTestMachine m;
    m.AddController(0, "ROOT", 2);
    c.build(m.usb);
    EXPECT_FALSE(FindDeviceOnUsb(m.services));
    // The device after the loop is still found.
    m.usb.PlugDevice("ROOT", 2, kKorvenVendor, kKorvenProduct);
    EXPECT_TRUE(FindDeviceOnUsb(m.services));
    EXPECT_EQ(m.usb.OpenHandleCount(), 0);
  }
}

TEST_F(UsbWalkTest, DescendsAsDeepAsARealTreeButNoFurther) {
  // Sixteen hub levels reach beyond the seven tiers of any USB tree.
  auto chain = [](testing::UsbTestMachine& m, int hubs) {
    m.AddController(0, "L0", 1);
    for (int level = 1; level <= hubs; ++level) {
      std::string hub = "L" + std::to_string(level);
      m.usb.AddHub(hub, 1);
      m.usb.PlugHub("L" + std::to_string(level - 1), 1, hub);
    }
    m.usb.AddHub("TOP", 1);
  };
  testing::UsbTestMachine shallow;
  chain(shallow, 15);
  shallow.usb.PlugDevice("L15", 1, kKorvenVendor, kKorvenProduct);
  EXPECT_TRUE(FindDeviceOnUsb(shallow.services));

  testing::UsbTestMachine deep;
  chain(deep, 16);
  deep.usb.PlugDevice("L16", 1, kKorvenVendor, kKorvenProduct);
  EXPECT_FALSE(FindDeviceOnUsb(deep.services));
  EXPECT_EQ(deep.usb.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace korven
