// What the leak checks of every scenario stand on: each simulation refuses and counts a handle
// that was closed, and never gives a closed handle's number out again. And the records the
// simulated USB tree answers with, at the platform's published offsets: the walk reads them
// through the same constants, so only literal offsets catch a wrong one.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_mixers.h"
#include "platform/sim/sim_modules.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_usb_tree.h"
#include "platform/usb_ioctl.h"

namespace platform::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SimulationBooksTest, ClosedHandlesAreRefusedCountedAndNeverReused) {
  SimRegistry registry;
  HKey key[2] = {};
  for (HKey& k : key) {
    ASSERT_EQ(registry.CreateKeyEx(HKey::LocalMachine, "SOFTWARE", "", 0, 0, &k, nullptr),
              error::kSuccess);
    EXPECT_EQ(registry.CloseKey(k), error::kSuccess);
  }
  const std::uint8_t byte = 0;
  EXPECT_EQ(registry.CloseKey(key[0]), error::kInvalidHandle);
  EXPECT_EQ(registry.SetValueEx(key[0], "X", reg::kTypeBinary, &byte, 1), error::kInvalidHandle);

  SimUsbTree tree;
  tree.AddHostController(0, "R");
  Handle controller[2] = {};
  for (Handle& h : controller) {
    h = tree.CreateFile("\\\\.\\HCD0", file::kGenericWrite, file::kShareWrite, file::kOpenExisting,
                        0);
    EXPECT_TRUE(tree.CloseHandle(h));
  }
  Dword returned = 0;
  std::uint8_t head[8] = {};
  EXPECT_FALSE(tree.CloseHandle(controller[0]));
  EXPECT_FALSE(tree.DeviceIoControl(controller[0], usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0,
                                    head, 8, &returned));

  SimModules modules;
  const std::string lib = modules.BesideProgram("Zelfilter.dll");
  modules.SetEntryPoint(lib, "IsDeviceInstalled");
  Module module[2] = {};
  for (Module& m : module) {
    m = modules.LoadLibrary(lib.c_str());
    EXPECT_TRUE(modules.FreeLibrary(m));
  }
  EXPECT_FALSE(modules.FreeLibrary(module[0]));
  EXPECT_EQ(modules.GetProcAddress(module[0], "IsDeviceInstalled"), kNullProc);

  SimMixers mixers;
  mixers.AddMixer("USB Audio");
  MixerHandle mixer[2] = {};
  for (MixerHandle& m : mixer) {
    ASSERT_EQ(mixers.Open(&m, 0), mm::kNoError);
    EXPECT_EQ(mixers.Close(m), mm::kNoError);
  }
  MixerCaps caps;
  EXPECT_EQ(mixers.GetDevCaps(mixer[0], &caps), mm::kInvalidHandle);
  EXPECT_EQ(mixers.SetControlValue(mixer[0], SimMixers::kVolumeControlId, 1), mm::kInvalidHandle);

  EXPECT_NE(key[0], key[1]);
  EXPECT_NE(controller[0], controller[1]);
  EXPECT_NE(module[0], module[1]);
  EXPECT_NE(mixer[0], mixer[1]);
  EXPECT_EQ(registry.InvalidHandleUses(), 2);
  EXPECT_EQ(tree.InvalidHandleUses(), 2);
  EXPECT_EQ(modules.InvalidUses(), 2);
  EXPECT_EQ(mixers.InvalidHandleUses(), 2);
  EXPECT_TRUE(registry.Writes().empty());
  EXPECT_TRUE(mixers.ValuesSet(0).empty());
}

TEST(SimulationBooksTest, TheUsbTreeAnswersAtThePublishedOffsets) {
  SimUsbTree tree;
  tree.AddHostController(2, "Root");
  tree.AddHub("Root", 3);
  tree.AddHub("Ext", 2);
  tree.PlugHub("Root", 1, "Ext");
  tree.PlugDevice("Root", 3, 0x1234, 0x5678);
  auto open = [&](const char* path) {
    return tree.CreateFile(path, file::kGenericWrite, file::kShareWrite, file::kOpenExisting, 0);
  };
  auto ask = [&](Handle h, Dword code, Bytes record) {
    Dword returned = 0;
    EXPECT_TRUE(tree.DeviceIoControl(h, code, record.data(), static_cast<Dword>(record.size()),
                                     record.data(), static_cast<Dword>(record.size()), &returned));
    return record;
  };
  const Handle controller = open("\\\\.\\HCD2");
  EXPECT_EQ(ask(controller, usb::IOCTL_USB_GET_ROOT_HUB_NAME, Bytes(8, 0)),
            (Bytes{14, 0, 0, 0, 'R', 0, 'o', 0}));
  tree.CloseHandle(controller);

  const Handle hub = open("\\\\.\\Root");
  const Bytes node = ask(hub, usb::IOCTL_USB_GET_NODE_INFORMATION, Bytes(80, 0));
  EXPECT_EQ(node[5], 0x29);  // hub descriptor
  EXPECT_EQ(node[6], 3);     // bNumberOfPorts
  Bytes asked(40, 0);
  asked[0] = 3;
  const Bytes device = ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, asked);
  EXPECT_EQ(Bytes(device.begin() + 12, device.begin() + 16), (Bytes{0x34, 0x12, 0x78, 0x56}));
  EXPECT_EQ(device[24], 0);  // DeviceIsHub
  EXPECT_EQ(device[31], 1);  // ConnectionStatus: DeviceConnected
  asked[0] = 1;
  EXPECT_EQ(ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, asked)[24], 1);
  EXPECT_EQ(ask(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            (Bytes{1, 0, 0, 0, 16, 0, 0, 0, 'E', 0}));
  tree.CloseHandle(hub);
  EXPECT_EQ(tree.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace platform::sim
