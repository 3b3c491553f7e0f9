// A Device handle opens the device path with the access, sharing and disposition the driver
// expects and sends nothing while closed; what it sends is checked by every request log of the
// system tests.
#include "device/device_handle.h"

#include <gtest/gtest.h>

#include "device/requests.h"
#include "platform/sim/sim_korven_device.h"

namespace {

using platform::sim::SimKorvenDevice;
using namespace korven;

TEST(DeviceHandleTest, OpensTheDevicePathReadWriteSharedExistingOnly) {
  SimKorvenDevice device;
  {
    DeviceHandle handle(device);
    EXPECT_FALSE(handle.IsOpen());
    ASSERT_TRUE(handle.Open());
    ASSERT_EQ(device.Opens().size(), 1u);
    const auto& open = device.Opens()[0];
    EXPECT_EQ(open.path, "\\\\.\\Class#E96C&0C45");
    EXPECT_EQ(open.access, 0xC0000000u);
    EXPECT_EQ(open.share, 3u);
    EXPECT_EQ(open.disposition, 3u);
    EXPECT_EQ(open.flags, 0u);
    EXPECT_EQ(device.OpenHandleCount(), 1);
  }
  EXPECT_EQ(device.OpenHandleCount(), 0);  // closed by its holder going away
}

TEST(DeviceHandleTest, SendsNothingWhileNotOpen) {
  SimKorvenDevice device;
  device.SetDriverLoaded(false);
  DeviceHandle handle(device);
  EXPECT_FALSE(handle.Open());
  platform::Dword returned = 0;
  EXPECT_FALSE(handle.Send(IOCTL_FILTER_ON, &returned));
  device.SetDriverLoaded(true);
  ASSERT_TRUE(handle.Open());
  handle.Close();
  EXPECT_FALSE(handle.IsOpen());
  EXPECT_FALSE(handle.SendInput(IOCTL_SET_GAIN_L, ChannelGain{}, &returned));
  handle.Close();  // closing twice is harmless
  EXPECT_TRUE(device.Requests().empty()) << device.FormatLog();
  EXPECT_EQ(device.InvalidHandleUses(), 0);
}

TEST(DeviceHandleTest, OpeningAgainDoesNotLeakTheEarlierHandle) {
  SimKorvenDevice device;
  DeviceHandle handle(device);
  ASSERT_TRUE(handle.Open());
  ASSERT_TRUE(handle.Open());
  EXPECT_EQ(device.OpenHandleCount(), 1);
  device.SetDriverLoaded(false);
  EXPECT_FALSE(handle.Open());  // a failed open leaves the handle not open
  EXPECT_FALSE(handle.IsOpen());
  EXPECT_EQ(device.OpenHandleCount(), 0);
}

}  // namespace
