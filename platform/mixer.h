// Mixer seam: the winmm audio mixer calls that reach the master volume (mixerGetNumDevs,
// mixerOpen, mixerGetDevCapsA, mixerGetLineInfoA, mixerGetLineControlsA,
// mixerGetControlDetailsA, mixerSetControlDetails, mixerClose). Every call after Open names
// the mixer by its handle.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace platform {

// An open mixer (HMIXER); kNullMixer when not open.
enum class MixerHandle : std::uintptr_t {};
inline constexpr MixerHandle kNullMixer = static_cast<MixerHandle>(0);

// MMRESULT of the mixer calls.
using MmResult = std::uint32_t;

namespace mm {
inline constexpr MmResult kNoError = 0;            // MMSYSERR_NOERROR
inline constexpr MmResult kError = 1;              // MMSYSERR_ERROR
inline constexpr MmResult kBadDeviceId = 2;        // MMSYSERR_BADDEVICEID
inline constexpr MmResult kInvalidHandle = 5;      // MMSYSERR_INVALHANDLE
inline constexpr MmResult kInvalidParam = 11;      // MMSYSERR_INVALPARAM
inline constexpr MmResult kInvalidLine = 1024;     // MIXERR_INVALLINE
inline constexpr MmResult kInvalidControl = 1025;  // MIXERR_INVALCONTROL

inline constexpr Dword kComponentSpeakers = 0x00000004;  // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS
inline constexpr Dword kControlVolume = 0x50030001;      // MIXERCONTROL_CONTROLTYPE_VOLUME
inline constexpr std::size_t kProductNameLength = 32;    // MAXPNAMELEN
}  // namespace mm

// What the system reads of MIXERCAPSA.
struct MixerCaps {
  char productName[mm::kProductNameLength] = {};  // NUL-terminated
};

// What the system reads of MIXERLINEA.
struct MixerLine {
  Dword lineId = 0;
  Dword channels = 0;
  Dword controls = 0;
};

// What the system reads of MIXERCONTROLA.
struct MixerControl {
  Dword controlId = 0;
  Dword minimum = 0;
  Dword maximum = 0;
};

class Mixer {
 public:
  virtual ~Mixer() = default;

  virtual Dword GetNumDevs() = 0;
  // Opens mixer `index` without a callback.
  virtual MmResult Open(MixerHandle* mixer, Dword index) = 0;
  virtual MmResult GetDevCaps(MixerHandle mixer, MixerCaps* caps) = 0;
  // The destination line of a component type (kComponentSpeakers).
  virtual MmResult GetLineInfoByComponent(MixerHandle mixer, Dword componentType,
                                          MixerLine* line) = 0;
  // One control of `lineId` by its type (kControlVolume).
  virtual MmResult GetLineControlByType(MixerHandle mixer, Dword lineId, Dword controlType,
                                        MixerControl* control) = 0;
  // One unsigned value for one channel, which stands for every channel of the line.
  virtual MmResult GetControlValue(MixerHandle mixer, Dword controlId, Dword* value) = 0;
  virtual MmResult SetControlValue(MixerHandle mixer, Dword controlId, Dword value) = 0;
  virtual MmResult Close(MixerHandle mixer) = 0;
};

}  // namespace platform
