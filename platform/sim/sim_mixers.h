// The system's audio mixers as the program sees them: any number of mixer devices, each with
// a product name, with or without a speakers destination line and a volume control on it,
// holding a volume 0-65535 that the program (or, in a test, another program) sets. Every call
// is logged in order, open handles are counted, and any call of any mixer can be made to fail.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/mixer.h"

namespace platform::sim {

class FaultPlan;

// The calls that address one mixer.
enum class MixerCall { Open, GetDevCaps, GetLineInfo, GetLineControls, GetValue, SetValue, Close };

class SimMixers : public Mixer {
 public:
  static constexpr Dword kSpeakersLineId = 0xFFFF0000;
  static constexpr Dword kVolumeControlId = 1;
  static constexpr Dword kMaximumVolume = 65535;

  explicit SimMixers(FaultPlan* faults = nullptr) : faults_(faults) {}

  // Mixer
  // An injected failure counts no mixers, as the call answers when the service is missing.
  Dword GetNumDevs() override;
  MmResult Open(MixerHandle* mixer, Dword index) override;
  MmResult GetDevCaps(MixerHandle mixer, MixerCaps* caps) override;
  MmResult GetLineInfoByComponent(MixerHandle mixer, Dword componentType, MixerLine* line) override;
  MmResult GetLineControlByType(MixerHandle mixer, Dword lineId, Dword controlType,
                                MixerControl* control) override;
  MmResult GetControlValue(MixerHandle mixer, Dword controlId, Dword* value) override;
  MmResult SetControlValue(MixerHandle mixer, Dword controlId, Dword value) override;
  MmResult Close(MixerHandle mixer) override;

  // A mixer at the next index; returns the index. Names longer than the platform's 31
  // characters are cut as the platform cuts them.
  int AddMixer(std::string productName, Dword volume = 0, bool speakersLine = true,
               bool volumeControl = true);
  int MixerCount() const { return static_cast<int>(mixers_.size()); }
  // The volume as the mixer holds it; setting it is another program's change.
  Dword Volume(int index) const { return mixers_.at(index).volume; }
  void SetVolume(int index, Dword volume) { mixers_.at(index).volume = volume; }
  // Values the program set on mixer `index`, in order.
  const std::vector<Dword>& ValuesSet(int index) const { return mixers_.at(index).valuesSet; }

  // From now on `call` of mixer `index` answers `result` (MMSYSERR_ERROR by default).
  void Fail(int index, MixerCall call, MmResult result = mm::kError);
  void ClearFailures();

  // One line a call, in order: "mixerOpen 0", "mixerGetDevCapsA 0", "mixerGetLineInfoA 0",
  // "mixerGetLineControlsA 0", "mixerGetControlDetailsA 0", "mixerSetControlDetails 0 26214",
  // "mixerClose 0"; a refused call ends with " FAILED <result>".
  const std::vector<std::string>& Log() const { return log_; }
  std::string FormatLog() const;
  void ClearLog() { log_.clear(); }

  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // Calls made with a handle that is not open.
  int InvalidHandleUses() const { return invalidHandleUses_; }

 private:
  struct SimMixer {
    std::string productName;
    Dword volume = 0;
    bool speakersLine = true;
    bool volumeControl = true;
    std::vector<Dword> valuesSet;
    std::map<MixerCall, MmResult> failures;
  };

  // The mixer an open handle names, or null (counted as an invalid use).
  SimMixer* Find(MixerHandle mixer, int* index);
  // Logs the call; the injected or planned failure of it, or kNoError.
  MmResult Begin(const SimMixer& mixer, int index, MixerCall call, const std::string& detail = {});
  MmResult Refuse(MmResult result);

  FaultPlan* faults_;
  std::vector<SimMixer> mixers_;
  std::map<MixerHandle, int> handles_;  // open handle -> mixer index
  std::uintptr_t nextHandle_ = 0x5000;
  std::vector<std::string> log_;
  int invalidHandleUses_ = 0;
};

}  // namespace platform::sim
