// The device path, the fourteen private requests of the filter driver and their buffers, as
// the control panel names them; the contract itself is contract/korven_requests.h.
#pragma once

#include <cstddef>
#include <iterator>

#include "contract/korven_requests.h"
#include "platform/win_types.h"

namespace korven {

inline constexpr char kDevicePath[] = KORVEN_DEVICE_PATH;

#define KORVEN_REQUEST_CONSTANT(name, function, in, out) \
  inline constexpr platform::Dword name = KORVEN_REQUEST_CODE(function);
KORVEN_REQUESTS(KORVEN_REQUEST_CONSTANT)
#undef KORVEN_REQUEST_CONSTANT

// The catalogue lists the codes from 0x223000 up in steps of 4, and the six gains as one run
// from IOCTL_SET_GAIN_LFE: the contract finds a code's row and gain by that.
#define KORVEN_REQUEST_CODE_OF(name, function, in, out) name,
static_assert([] {
  constexpr platform::Dword codes[] = {KORVEN_REQUESTS(KORVEN_REQUEST_CODE_OF)};
  static_assert(std::size(codes) == KORVEN_REQUEST_COUNT);
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    if (codes[i] != 0x223000 + 4 * i) return false;
  }
  return true;
}());
#undef KORVEN_REQUEST_CODE_OF
static_assert(IOCTL_SET_GAIN_LFE == KORVEN_FIRST_GAIN_REQUEST && IOCTL_SET_GAIN_RR == 0x22302C);

// Linear gain of one output channel; a new one is unity.
struct ChannelGain {
  float value = 1.0f;
};
static_assert(sizeof(ChannelGain) == KORVEN_GAIN_SIZE);

using BassModeRecord = KorvenBassModeRecord;
using SourceChannelsReply = KorvenSourceChannelsReply;

// The three crossovers, by stored BassOutputMode: 120 Hz, 300 Hz, 450 Hz.
inline constexpr BassModeRecord kBassModeRecords[3] = {
    {200, 100, 300},
    {60, 40, 100},
    {40, 27, 67},
};
static_assert(kBassModeRecords[2].Sum ==
              kBassModeRecords[2].Primary + kBassModeRecords[2].Secondary);

}  // namespace korven
