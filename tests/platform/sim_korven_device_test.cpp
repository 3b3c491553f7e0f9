// The simulated filter driver checks requests as the driver does, keeps what they set and
// logs them in order.
#include "platform/sim/sim_korven_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "device/requests.h"

namespace {

using platform::Dword;
using platform::Handle;
using platform::kInvalidHandle;
using platform::sim::DeviceRequest;
using platform::sim::SimKorvenDevice;
using namespace korven;
namespace error = platform::error;

constexpr Dword kReadWrite = 0xC0000000;

class SimKorvenDeviceTest : public ::testing::Test {
 protected:
  Handle Open() { return device.CreateFile(kDevicePath, kReadWrite, 3, 3, 0); }
  bool Send(Handle h, Dword code, Dword inSize, Dword outSize) {
    std::uint8_t in[16] = {};
    std::uint8_t out[16] = {};
    Dword returned = 0xFFFF;
    return device.DeviceIoControl(h, code, inSize != 0 ? in : nullptr, inSize,
                                  outSize != 0 ? out : nullptr, outSize, &returned);
  }

  SimKorvenDevice device;
};

TEST_F(SimKorvenDeviceTest, AcceptsEveryCodeWithItsLengthsAndRefusesAnyOther) {
  Handle h = Open();
  ASSERT_NE(h, kInvalidHandle);
  for (const KorvenRequestShape& row : korvenRequestShapes) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(Send(h, row.code, row.inputSize, row.outputSize));
    EXPECT_FALSE(Send(h, row.code, row.inputSize + 4, row.outputSize));
    EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kInvalidParameter));
    if (row.inputSize != 0) {
      EXPECT_FALSE(Send(h, row.code, row.inputSize - 1, row.outputSize));
    }
    EXPECT_FALSE(Send(h, row.code, row.inputSize, row.outputSize + 4));
    if (row.outputSize != 0) {
      EXPECT_FALSE(Send(h, row.code, row.inputSize, 0));
    }
  }
  // A length without a buffer is refused too.
  Dword returned = 0;
  EXPECT_FALSE(device.DeviceIoControl(h, IOCTL_SET_GAIN_L, nullptr, 4, nullptr, 0, &returned));
  EXPECT_FALSE(Send(h, 0x223038, 0, 0));
  EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kInvalidFunction));
  EXPECT_EQ(platform::sim::RequestName(0x223038), "0x223038");
  EXPECT_EQ(device.Accepted().size(), std::size(korvenRequestShapes)) << device.FormatLog();
  device.CloseHandle(h);
}

TEST_F(SimKorvenDeviceTest, KeepsWhatAcceptedRequestsSet) {
  Handle h = Open();
  Dword returned = 0;
  EXPECT_TRUE(Send(h, IOCTL_FILTER_ON, 0, 0));
  EXPECT_TRUE(Send(h, IOCTL_OUTPUT_2_1, 0, 0));
  EXPECT_TRUE(device.DeviceIoControl(h, IOCTL_SET_BASS_MODE, &kBassModeRecords[1], 12, nullptr, 0,
                                     &returned));
  EXPECT_TRUE(Send(h, IOCTL_SURROUND_START, 0, 0));
  EXPECT_TRUE(Send(h, IOCTL_SURROUND_START, 0, 0));
  const float ten = 10.0f;
  EXPECT_TRUE(device.DeviceIoControl(h, IOCTL_SET_GAIN_L, &ten, 4, nullptr, 0, &returned));
  EXPECT_EQ(device.Gain(IOCTL_SET_GAIN_L), 10.0f);
  EXPECT_EQ(device.Gain(IOCTL_SET_GAIN_R), 1.0f);
  const auto& state = device.State();
  EXPECT_TRUE(state.filterOn);
  EXPECT_EQ(state.layout, platform::sim::SpeakerLayout::TwoOne);
  ASSERT_TRUE(state.bass.has_value());
  EXPECT_EQ(state.bass->Primary, 60);
  EXPECT_EQ(state.bass->Secondary, 40);
  EXPECT_EQ(state.bass->Sum, 100);
  EXPECT_TRUE(state.surroundRunning);
  EXPECT_EQ(state.surroundStarts, 2);
  EXPECT_TRUE(Send(h, IOCTL_SURROUND_STOP, 0, 0));
  EXPECT_TRUE(Send(h, IOCTL_FILTER_OFF, 0, 0));
  EXPECT_TRUE(Send(h, IOCTL_OUTPUT_5_1, 0, 0));
  EXPECT_FALSE(state.surroundRunning);
  EXPECT_FALSE(state.filterOn);
  EXPECT_EQ(state.layout, platform::sim::SpeakerLayout::FiveOne);
  device.CloseHandle(h);
}

TEST_F(SimKorvenDeviceTest, OpensOnlyItsPathWhileTheDriverIsLoaded) {
  EXPECT_EQ(device.CreateFile("\\\\.\\Class#E96C&0C46", kReadWrite, 3, 3, 0), kInvalidHandle);
  EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kFileNotFound));
  device.SetDriverLoaded(false);
  EXPECT_EQ(Open(), kInvalidHandle);
  device.SetDriverLoaded(true);
  device.FailNextOpens(1);
  EXPECT_EQ(Open(), kInvalidHandle);
  Handle h = Open();
  EXPECT_NE(h, kInvalidHandle);
  ASSERT_EQ(device.Opens().size(), 4u);
  EXPECT_TRUE(device.Opens()[3].succeeded);
  EXPECT_EQ(device.Opens()[3].access, kReadWrite);
  EXPECT_EQ(device.OpenHandleCount(), 1);
  EXPECT_TRUE(device.CloseHandle(h));
  EXPECT_FALSE(device.CloseHandle(h));
  EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kInvalidHandle));
  EXPECT_EQ(device.OpenHandleCount(), 0);
  EXPECT_EQ(device.InvalidHandleUses(), 1);
}

TEST_F(SimKorvenDeviceTest, LogsRequestsInOrderWithTheirHandle) {
  Handle first = Open();
  Handle second = Open();
  EXPECT_TRUE(Send(second, IOCTL_GET_SOURCE_CHANNELS, 0, 4));
  EXPECT_TRUE(Send(first, IOCTL_FILTER_OFF, 0, 0));
  device.CloseHandle(first);
  EXPECT_FALSE(Send(first, IOCTL_FILTER_ON, 0, 0));  // closed: refused, but logged
  const auto& log = device.Requests();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].handleNumber, 2);
  EXPECT_EQ(log[1].handleNumber, 1);
  EXPECT_EQ(log[2].error, error::kInvalidHandle);
  EXPECT_EQ(device.FormatLog(),
            "IOCTL_GET_SOURCE_CHANNELS out 4\nIOCTL_FILTER_OFF\nIOCTL_FILTER_ON FAILED 6\n");
  EXPECT_EQ(device.Codes(),
            (std::vector<Dword>{IOCTL_GET_SOURCE_CHANNELS, IOCTL_FILTER_OFF, IOCTL_FILTER_ON}));
  device.CloseHandle(second);
}

// A refused request sets nothing; an unplugged device's handles stay dead after a replug.
TEST_F(SimKorvenDeviceTest, RefusedRequestsSetNothingAndUnplugKillsOpenHandlesForGood) {
  Handle old = Open();
  device.FailAlways(IOCTL_OUTPUT_5_1);
  EXPECT_FALSE(Send(old, IOCTL_OUTPUT_5_1, 0, 0));
  EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kGenFailure));
  EXPECT_EQ(device.State().layout, platform::sim::SpeakerLayout::Unknown);
  device.Unplug();
  EXPECT_FALSE(Send(old, IOCTL_FILTER_ON, 0, 0));
  EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kDeviceNotConnected));
  EXPECT_EQ(Open(), kInvalidHandle);
  device.Replug();
  EXPECT_FALSE(Send(old, IOCTL_FILTER_ON, 0, 0));
  Handle fresh = Open();
  EXPECT_TRUE(Send(fresh, IOCTL_FILTER_ON, 0, 0));
  EXPECT_TRUE(device.CloseHandle(old));
  EXPECT_TRUE(device.CloseHandle(fresh));
}

}  // namespace
