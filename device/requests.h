// The device path, the fourteen private requests of the filter driver and their buffers.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace korven {

// "\\.\Class#E96C&0C45": the device object the filter driver creates.
inline constexpr char kDevicePath[] = "\\\\.\\Class#E96C&0C45";

// Standard control-code layout: device type, access, function, transfer method.
constexpr platform::Dword CtlCode(platform::Dword deviceType, platform::Dword function,
                                  platform::Dword method, platform::Dword access) {
  return (deviceType << 16) | (access << 14) | (function << 2) | method;
}
inline constexpr platform::Dword kFileDeviceUnknown = 0x22;
inline constexpr platform::Dword kMethodBuffered = 0;
inline constexpr platform::Dword kFileAnyAccess = 0;
constexpr platform::Dword PrivateRequest(platform::Dword function) {
  return CtlCode(kFileDeviceUnknown, function, kMethodBuffered, kFileAnyAccess);
}

inline constexpr platform::Dword IOCTL_FILTER_ON = PrivateRequest(0xC00);
inline constexpr platform::Dword IOCTL_FILTER_OFF = PrivateRequest(0xC01);
inline constexpr platform::Dword IOCTL_OUTPUT_5_1 = PrivateRequest(0xC02);
inline constexpr platform::Dword IOCTL_OUTPUT_2_1 = PrivateRequest(0xC03);
inline constexpr platform::Dword IOCTL_SURROUND_START = PrivateRequest(0xC04);
inline constexpr platform::Dword IOCTL_SURROUND_STOP = PrivateRequest(0xC05);
inline constexpr platform::Dword IOCTL_SET_GAIN_LFE = PrivateRequest(0xC06);
inline constexpr platform::Dword IOCTL_SET_GAIN_L = PrivateRequest(0xC07);
inline constexpr platform::Dword IOCTL_SET_GAIN_R = PrivateRequest(0xC08);
inline constexpr platform::Dword IOCTL_SET_GAIN_C = PrivateRequest(0xC09);
inline constexpr platform::Dword IOCTL_SET_GAIN_RL = PrivateRequest(0xC0A);
inline constexpr platform::Dword IOCTL_SET_GAIN_RR = PrivateRequest(0xC0B);
inline constexpr platform::Dword IOCTL_SET_BASS_MODE = PrivateRequest(0xC0C);
inline constexpr platform::Dword IOCTL_GET_SOURCE_CHANNELS = PrivateRequest(0xC0D);

static_assert(IOCTL_FILTER_ON == 0x223000);
static_assert(IOCTL_SET_GAIN_LFE == 0x223018);
static_assert(IOCTL_GET_SOURCE_CHANNELS == 0x223034);

// Linear gain of one output channel, IEEE single precision; 1.0 is unity (0 dB).
struct ChannelGain {
  float value = 1.0f;
};
static_assert(sizeof(ChannelGain) == 4);

struct BassModeRecord {
  std::int32_t Primary;
  std::int32_t Secondary;
  std::int32_t Sum;  // always Primary + Secondary
};
static_assert(sizeof(BassModeRecord) == 12);

// The three crossovers, by stored BassOutputMode: 120 Hz, 300 Hz, 450 Hz.
inline constexpr BassModeRecord kBassModeRecords[3] = {
    {200, 100, 300},
    {60, 40, 100},
    {40, 27, 67},
};
static_assert(kBassModeRecords[2].Sum == kBassModeRecords[2].Primary + kBassModeRecords[2].Secondary);

struct SourceChannelsReply {
  std::uint8_t MultiChannel;  // non-zero: a 5.1-channel source; takes precedence
  std::uint8_t TwoChannel;    // non-zero: a 2-channel source
  std::uint8_t reserved[2];
};
static_assert(sizeof(SourceChannelsReply) == 4);

}  // namespace korven
