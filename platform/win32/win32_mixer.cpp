#include "platform/win32/win32_mixer.h"

#include "platform/win32/windows_headers.h"
// windows.h must come first.
#include <mmsystem.h>

#include <cstring>

namespace platform::win32 {

namespace {

HMIXER ToNative(MixerHandle mixer) {
  return reinterpret_cast<HMIXER>(static_cast<std::uintptr_t>(mixer));
}
HMIXEROBJ ToObject(MixerHandle mixer) {
  return reinterpret_cast<HMIXEROBJ>(static_cast<std::uintptr_t>(mixer));
}

static_assert(mm::kComponentSpeakers == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
static_assert(mm::kControlVolume == MIXERCONTROL_CONTROLTYPE_VOLUME);
static_assert(mm::kProductNameLength == MAXPNAMELEN);
static_assert(mm::kInvalidLine == MIXERR_INVALLINE);
static_assert(mm::kInvalidControl == MIXERR_INVALCONTROL);

// One unsigned value for one channel: with a single channel the value stands for every
// channel of the line.
MMRESULT ControlDetails(MixerHandle mixer, Dword controlId, MIXERCONTROLDETAILS_UNSIGNED* value,
                        bool set) {
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = controlId;
  details.cChannels = 1;
  details.cMultipleItems = 0;
  details.cbDetails = sizeof *value;
  details.paDetails = value;
  const DWORD flags = MIXER_OBJECTF_HMIXER;
  return set ? mixerSetControlDetails(ToObject(mixer), &details,
                                      flags | MIXER_SETCONTROLDETAILSF_VALUE)
             : mixerGetControlDetailsA(ToObject(mixer), &details,
                                       flags | MIXER_GETCONTROLDETAILSF_VALUE);
}

}  // namespace

Dword Win32Mixer::GetNumDevs() {
  return mixerGetNumDevs();
}

MmResult Win32Mixer::Open(MixerHandle* mixer, Dword index) {
  HMIXER native = nullptr;
  const MMRESULT result = mixerOpen(&native, index, 0, 0, MIXER_OBJECTF_MIXER);
  *mixer = result == MMSYSERR_NOERROR
               ? static_cast<MixerHandle>(reinterpret_cast<std::uintptr_t>(native))
               : kNullMixer;
  return result;
}

MmResult Win32Mixer::GetDevCaps(MixerHandle mixer, MixerCaps* caps) {
  MIXERCAPSA native{};
  // mixerGetDevCapsA takes an open mixer's handle in place of a device index.
  const MMRESULT result =
      mixerGetDevCapsA(reinterpret_cast<UINT_PTR>(ToNative(mixer)), &native, sizeof native);
  if (result == MMSYSERR_NOERROR) {
    std::memcpy(caps->productName, native.szPname, sizeof caps->productName);
    caps->productName[sizeof caps->productName - 1] = '\0';
  }
  return result;
}

MmResult Win32Mixer::GetLineInfoByComponent(MixerHandle mixer, Dword componentType,
                                            MixerLine* line) {
  MIXERLINEA native{};
  native.cbStruct = sizeof native;
  native.dwComponentType = componentType;
  const MMRESULT result = mixerGetLineInfoA(
      ToObject(mixer), &native, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
  if (result == MMSYSERR_NOERROR) {
    line->lineId = native.dwLineID;
    line->channels = native.cChannels;
    line->controls = native.cControls;
  }
  return result;
}

MmResult Win32Mixer::GetLineControlByType(MixerHandle mixer, Dword lineId, Dword controlType,
                                          MixerControl* control) {
  MIXERCONTROLA native{};
  native.cbStruct = sizeof native;
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = lineId;
  controls.dwControlType = controlType;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof native;
  controls.pamxctrl = &native;
  const MMRESULT result = mixerGetLineControlsA(
      ToObject(mixer), &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
  if (result == MMSYSERR_NOERROR) {
    control->controlId = native.dwControlID;
    control->minimum = native.Bounds.dwMinimum;
    control->maximum = native.Bounds.dwMaximum;
  }
  return result;
}

MmResult Win32Mixer::GetControlValue(MixerHandle mixer, Dword controlId, Dword* value) {
  MIXERCONTROLDETAILS_UNSIGNED detail{};
  const MMRESULT result = ControlDetails(mixer, controlId, &detail, false);
  if (result == MMSYSERR_NOERROR) *value = detail.dwValue;
  return result;
}

MmResult Win32Mixer::SetControlValue(MixerHandle mixer, Dword controlId, Dword value) {
  MIXERCONTROLDETAILS_UNSIGNED detail{};
  detail.dwValue = value;
  return ControlDetails(mixer, controlId, &detail, true);
}

MmResult Win32Mixer::Close(MixerHandle mixer) {
  return mixerClose(ToNative(mixer));
}

}  // namespace platform::win32
