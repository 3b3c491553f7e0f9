// The simulated USB tree answers the published requests with the published records, and the
// router hands each open and handle to the right simulation.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "device/requests.h"
#include "platform/sim/sim_device_router.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_usb_tree.h"
#include "platform/usb_ioctl.h"

namespace platform::sim {
namespace {

namespace usb = platform::usb;
using Bytes = std::vector<std::uint8_t>;

Dword Read32(const Bytes& b, std::size_t at) {
  return Dword{b[at]} | (Dword{b[at + 1]} << 8) | (Dword{b[at + 2]} << 16) |
         (Dword{b[at + 3]} << 24);
}

class SimUsbTreeTest : public ::testing::Test {
 protected:
  SimUsbTreeTest() {
    tree.AddHostController(2, "RootA");
    tree.AddHub("RootA", 3);
    tree.AddHub("Ext", 2);
    tree.PlugHub("RootA", 1, "Ext");
    tree.PlugDevice("RootA", 3, 0x1234, 0x5678);
  }

  Handle Open(const char* path) {
    return tree.CreateFile(path, file::kGenericWrite, file::kShareWrite, file::kOpenExisting, 0);
  }

  // A request with one buffer used as input and output.
  bool Ask(Handle h, Dword code, Bytes& record, Dword* returned) {
    return tree.DeviceIoControl(h, code, record.data(), static_cast<Dword>(record.size()),
                                record.data(), static_cast<Dword>(record.size()), returned);
  }

  SimUsbTree tree;
};

TEST_F(SimUsbTreeTest, OpensControllersAndHubsThatExist) {
  struct Case {
    const char* path;
    bool opens;
  };
  for (Case c : {Case{"\\\\.\\HCD2", true}, Case{"\\\\.\\hcd2", true}, Case{"\\\\.\\HCD1", false},
                 Case{"\\\\.\\RootA", true}, Case{"\\\\.\\ext", true},
                 Case{"\\\\.\\Nowhere", false}, Case{"RootA", false}, Case{"\\\\.\\", false}}) {
    SCOPED_TRACE(c.path);
    Handle h = Open(c.path);
    EXPECT_EQ(h != kInvalidHandle, c.opens);
    if (h != kInvalidHandle) {
      EXPECT_TRUE(tree.CloseHandle(h));
    }
  }
  EXPECT_EQ(tree.OpenHandleCount(), 0);
  // Only existing paths are opened.
  EXPECT_EQ(tree.CreateFile("\\\\.\\HCD2", file::kGenericWrite, file::kShareWrite, 2, 0),
            kInvalidHandle);
  tree.FailOpen("\\\\.\\RootA");
  EXPECT_EQ(Open("\\\\.\\RootA"), kInvalidHandle);
  EXPECT_EQ(tree.GetLastError(), static_cast<Dword>(error::kFileNotFound));
}

TEST_F(SimUsbTreeTest, TheRootHubNameComesInTwoSteps) {
  Handle h = Open("\\\\.\\HCD2");
  Bytes head(8, 0xEE);
  Dword returned = 0;
  ASSERT_TRUE(tree.DeviceIoControl(h, usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0, head.data(), 8,
                                   &returned));
  EXPECT_EQ(Read32(head, 0), 4u + 6 * 2);  // "RootA" and its terminator
  EXPECT_EQ(returned, 8u);
  EXPECT_EQ(head[4], 'R');
  Bytes full(Read32(head, 0), 0xEE);
  ASSERT_TRUE(tree.DeviceIoControl(h, usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0, full.data(),
                                   static_cast<Dword>(full.size()), &returned));
  EXPECT_EQ(full, (Bytes{16, 0, 0, 0, 'R', 0, 'o', 0, 'o', 0, 't', 0, 'A', 0, 0, 0}));
  // Too small for the record, or asked of a hub: refused.
  EXPECT_FALSE(tree.DeviceIoControl(h, usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0, head.data(), 5,
                                    &returned));
  EXPECT_FALSE(tree.DeviceIoControl(h, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, nullptr, 0,
                                    head.data(), 8, &returned));
  tree.CloseHandle(h);
}

TEST_F(SimUsbTreeTest, NodeAndConnectionInformationUseThePublishedOffsets) {
  Handle hub = Open("\\\\.\\RootA");
  Dword returned = 0;
  Bytes node(80, 0);
  ASSERT_TRUE(Ask(hub, usb::IOCTL_USB_GET_NODE_INFORMATION, node, &returned));
  EXPECT_EQ(node[6], 3);     // bNumberOfPorts
  EXPECT_EQ(node[5], 0x29);  // hub descriptor

  struct Case {
    Dword port;
    std::uint16_t vendor;
    std::uint16_t product;
    bool isHub;
    Dword status;
  };
  for (Case c : {Case{1, SimUsbTree::kHubVendor, SimUsbTree::kHubProduct, true, 1},
                 Case{2, 0, 0, false, 0}, Case{3, 0x1234, 0x5678, false, 1}}) {
    SCOPED_TRACE(c.port);
    Bytes info(40, 0);
    info[0] = static_cast<std::uint8_t>(c.port);
    ASSERT_TRUE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, info, &returned));
    EXPECT_EQ(Read32(info, 0), c.port);
    EXPECT_EQ(info[12] | (info[13] << 8), c.vendor);
    EXPECT_EQ(info[14] | (info[15] << 8), c.product);
    EXPECT_EQ(info[24], c.isHub ? 1 : 0);
    EXPECT_EQ(Read32(info, 31), c.status);
  }
  // Ports outside the hub are refused.
  for (std::uint8_t port : {0, 4}) {
    Bytes info(40, 0);
    info[0] = port;
    EXPECT_FALSE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, info, &returned));
  }
  tree.CloseHandle(hub);
}

TEST_F(SimUsbTreeTest, ConnectionNamesFitTheBufferWhateverTheLengthSays) {
  Handle hub = Open("\\\\.\\RootA");
  Dword returned = 0;
  Bytes head(12, 0);
  head[0] = 1;
  ASSERT_TRUE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, head, &returned));
  EXPECT_EQ(head, (Bytes{1, 0, 0, 0, 16, 0, 0, 0, 'E', 0, 'x', 0}));
  // A device that isn't a hub has no name.
  head[0] = 3;
  EXPECT_FALSE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, head, &returned));

  tree.ReportConnectionNameLengths("RootA", 1, {9000, 11});
  Bytes record(14, 0xEE);
  std::memcpy(record.data(), "\x01\0\0\0", 4);
  ASSERT_TRUE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, record, &returned));
  EXPECT_EQ(record, (Bytes{1, 0, 0, 0, 0x28, 0x23, 0, 0, 'E', 0, 'x', 0, 't', 0}));
  EXPECT_EQ(returned, 14u);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, record, &returned));
    EXPECT_EQ(Read32(record, 4), 11u);  // the last reported length stays
  }
  tree.CloseHandle(hub);
}

TEST_F(SimUsbTreeTest, FaultsAndStaleHandles) {
  tree.FailRequest("\\\\.\\ROOTA", usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, 3);
  Handle hub = Open("\\\\.\\RootA");
  Dword returned = 0;
  Bytes info(40, 0);
  info[0] = 1;
  EXPECT_TRUE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, info, &returned));
  info.assign(40, 0);
  info[0] = 3;
  EXPECT_FALSE(Ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, info, &returned));
  EXPECT_EQ(tree.GetLastError(), static_cast<Dword>(error::kGenFailure));
  EXPECT_TRUE(tree.CloseHandle(hub));
  EXPECT_FALSE(tree.CloseHandle(hub));
  EXPECT_FALSE(Ask(hub, usb::IOCTL_USB_GET_NODE_INFORMATION, info, &returned));
  EXPECT_EQ(tree.InvalidHandleUses(), 2);
  ASSERT_EQ(tree.Requests().size(), 3u);
  EXPECT_EQ(tree.Requests()[1].path, "\\\\.\\RootA");
  EXPECT_FALSE(tree.Requests()[1].succeeded);
  EXPECT_EQ(tree.Requests()[2].path, "");
}

TEST(SimDeviceRouterTest, TheDevicePathGoesToTheDeviceEverythingElseToTheTree) {
  SimKorvenDevice device;
  SimUsbTree tree;
  tree.AddHostController(0, "R");
  tree.AddHub("R", 1);
  SimDeviceRouter router(device, tree);

  Handle korven = router.CreateFile(korven::kDevicePath, file::kGenericRead | file::kGenericWrite,
                                    file::kShareRead | file::kShareWrite, file::kOpenExisting, 0);
  Handle controller = router.CreateFile("\\\\.\\HCD0", file::kGenericWrite, file::kShareWrite,
                                        file::kOpenExisting, 0);
  ASSERT_NE(korven, kInvalidHandle);
  ASSERT_NE(controller, kInvalidHandle);
  EXPECT_EQ(device.OpenHandleCount(), 1);
  EXPECT_EQ(tree.OpenHandleCount(), 1);
  EXPECT_EQ(router.CreateFile("\\\\.\\Nowhere", file::kGenericWrite, file::kShareWrite,
                              file::kOpenExisting, 0),
            kInvalidHandle);
  EXPECT_EQ(tree.Opens().size(), 2u);
  EXPECT_EQ(device.Opens().size(), 1u);

  Dword returned = 0;
  EXPECT_TRUE(
      router.DeviceIoControl(korven, korven::IOCTL_FILTER_ON, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(device.Requests().size(), 1u);
  std::uint8_t head[8] = {};
  EXPECT_TRUE(router.DeviceIoControl(controller, usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0, head,
                                     8, &returned));
  EXPECT_EQ(tree.Requests().size(), 1u);
  EXPECT_FALSE(router.DeviceIoControl(controller, 0x12345, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(router.GetLastError(), tree.GetLastError());

  EXPECT_TRUE(router.CloseHandle(korven));
  EXPECT_TRUE(router.CloseHandle(controller));
  EXPECT_EQ(device.OpenHandleCount(), 0);
  EXPECT_EQ(tree.OpenHandleCount(), 0);
  // A stale handle shows in the device's own count.
  EXPECT_FALSE(router.CloseHandle(controller));
  EXPECT_EQ(device.InvalidHandleUses(), 1);
  EXPECT_EQ(tree.InvalidHandleUses(), 0);
}

}  // namespace
}  // namespace platform::sim
