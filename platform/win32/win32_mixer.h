// Mixer seam on winmm.
#pragma once

#include "platform/mixer.h"

namespace platform::win32 {

class Win32Mixer : public Mixer {
 public:
  Dword GetNumDevs() override;
  MmResult Open(MixerHandle* mixer, Dword index) override;
  MmResult GetDevCaps(MixerHandle mixer, MixerCaps* caps) override;
  MmResult GetLineInfoByComponent(MixerHandle mixer, Dword componentType, MixerLine* line) override;
  MmResult GetLineControlByType(MixerHandle mixer, Dword lineId, Dword controlType,
                                MixerControl* control) override;
  MmResult GetControlValue(MixerHandle mixer, Dword controlId, Dword* value) override;
  MmResult SetControlValue(MixerHandle mixer, Dword controlId, Dword value) override;
  MmResult Close(MixerHandle mixer) override;
};

}  // namespace platform::win32
