// A Device handle opens the device path as the driver expects and never sends while closed.
#include "device/device_handle.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/requests.h"
#include "platform/sim/sim_korven_device.h"

namespace {

using platform::Dword;
using platform::sim::SimKorvenDevice;
using namespace korven;

std::vector<std::uint8_t> Bytes(std::initializer_list<std::uint8_t> bytes) {
  return bytes;
}

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
  Dword returned = 0;
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

TEST(DeviceHandleTest, SendsBuffersByteForByteAndReportsFailure) {
  SimKorvenDevice device;
  device.SetSourceChannels(0, 1);
  DeviceHandle handle(device);
  ASSERT_TRUE(handle.Open());
  Dword returned = 0;
  EXPECT_TRUE(handle.SendInput(IOCTL_SET_GAIN_C, ChannelGain{1.0f}, &returned));
  EXPECT_TRUE(handle.SendInput(IOCTL_SET_BASS_MODE, kBassModeRecords[2], nullptr));
  SourceChannelsReply reply{};
  EXPECT_TRUE(handle.Send(IOCTL_GET_SOURCE_CHANNELS, nullptr, 0, &reply, sizeof(reply), nullptr));
  EXPECT_EQ(reply.TwoChannel, 1);
  device.FailNext(IOCTL_FILTER_OFF);
  EXPECT_FALSE(handle.Send(IOCTL_FILTER_OFF, &returned));

  const auto& log = device.Requests();
  ASSERT_EQ(log.size(), 4u) << device.FormatLog();
  EXPECT_EQ(log[0].input, Bytes({0x00, 0x00, 0x80, 0x3F})) << device.FormatLog();
  EXPECT_EQ(platform::sim::FormatRequest(log[1]),
            "IOCTL_SET_BASS_MODE 28 00 00 00 1B 00 00 00 43 00 00 00");
  EXPECT_EQ(log[2].outputSize, 4u);
  EXPECT_FALSE(log[3].succeeded);
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
