#include "platform/sim/sim_mixers.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/fault_plan.h"

namespace platform::sim {

namespace {

const char* CallName(MixerCall call) {
  switch (call) {
    case MixerCall::Open:
      return "mixerOpen";
    case MixerCall::GetDevCaps:
      return "mixerGetDevCapsA";
    case MixerCall::GetLineInfo:
      return "mixerGetLineInfoA";
    case MixerCall::GetLineControls:
      return "mixerGetLineControlsA";
    case MixerCall::GetValue:
      return "mixerGetControlDetailsA";
    case MixerCall::SetValue:
      return "mixerSetControlDetails";
    case MixerCall::Close:
      return "mixerClose";
  }
  return "?";
}

}  // namespace

int SimMixers::AddMixer(std::string productName, Dword volume, bool speakersLine,
                        bool volumeControl) {
  if (productName.size() >= mm::kProductNameLength) productName.resize(mm::kProductNameLength - 1);
  SimMixer mixer;
  mixer.productName = std::move(productName);
  mixer.volume = std::min(volume, kMaximumVolume);
  mixer.speakersLine = speakersLine;
  mixer.volumeControl = volumeControl;
  mixers_.push_back(std::move(mixer));
  return MixerCount() - 1;
}

Dword SimMixers::GetNumDevs() {
  if (faults_ != nullptr && faults_->Fails("mixerGetNumDevs")) return 0;
  return static_cast<Dword>(mixers_.size());
}

void SimMixers::Fail(int index, MixerCall call, MmResult result) {
  mixers_.at(index).failures[call] = result;
}

void SimMixers::ClearFailures() {
  for (SimMixer& mixer : mixers_) mixer.failures.clear();
}

std::string SimMixers::FormatLog() const {
  std::string text;
  for (const std::string& line : log_) text += line + "\n";
  return text;
}

MmResult SimMixers::Begin(const SimMixer& mixer, int index, MixerCall call,
                          const std::string& detail) {
  std::string line = std::string(CallName(call)) + " " + std::to_string(index) + detail;
  MmResult result = mm::kNoError;
  if (auto failure = mixer.failures.find(call); failure != mixer.failures.end()) {
    result = failure->second;
  } else if (faults_ != nullptr && faults_->Fails(CallName(call))) {
    result = mm::kError;
  }
  if (result != mm::kNoError) line += " FAILED " + std::to_string(result);
  log_.push_back(std::move(line));
  return result;
}

MmResult SimMixers::Refuse(MmResult result) {
  log_.back() += " FAILED " + std::to_string(result);
  return result;
}

SimMixers::SimMixer* SimMixers::Find(MixerHandle mixer, int* index) {
  auto handle = handles_.find(mixer);
  if (handle == handles_.end()) {
    ++invalidHandleUses_;
    return nullptr;
  }
  *index = handle->second;
  return &mixers_[static_cast<std::size_t>(handle->second)];
}

MmResult SimMixers::Open(MixerHandle* mixer, Dword index) {
  *mixer = kNullMixer;
  if (index >= mixers_.size()) {
    log_.push_back("mixerOpen " + std::to_string(index));
    return Refuse(mm::kBadDeviceId);
  }
  const int at = static_cast<int>(index);
  if (MmResult result = Begin(mixers_[index], at, MixerCall::Open); result != mm::kNoError) {
    return result;
  }
  // Handles are never reused, so a stale one shows.
  const MixerHandle handle = static_cast<MixerHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = at;
  *mixer = handle;
  return mm::kNoError;
}

MmResult SimMixers::GetDevCaps(MixerHandle mixer, MixerCaps* caps) {
  int index = 0;
  SimMixer* m = Find(mixer, &index);
  if (m == nullptr) return mm::kInvalidHandle;
  if (MmResult result = Begin(*m, index, MixerCall::GetDevCaps); result != mm::kNoError) {
    return result;
  }
  std::memset(caps->productName, 0, sizeof caps->productName);
  std::memcpy(caps->productName, m->productName.data(), m->productName.size());
  return mm::kNoError;
}

MmResult SimMixers::GetLineInfoByComponent(MixerHandle mixer, Dword componentType,
                                           MixerLine* line) {
  int index = 0;
  SimMixer* m = Find(mixer, &index);
  if (m == nullptr) return mm::kInvalidHandle;
  if (MmResult result = Begin(*m, index, MixerCall::GetLineInfo); result != mm::kNoError) {
    return result;
  }
  if (componentType != mm::kComponentSpeakers || !m->speakersLine) {
    return Refuse(mm::kInvalidLine);
  }
  line->lineId = kSpeakersLineId;
  line->channels = 2;
  line->controls = m->volumeControl ? 1 : 0;
  return mm::kNoError;
}

MmResult SimMixers::GetLineControlByType(MixerHandle mixer, Dword lineId, Dword controlType,
                                         MixerControl* control) {
  int index = 0;
  SimMixer* m = Find(mixer, &index);
  if (m == nullptr) return mm::kInvalidHandle;
  if (MmResult result = Begin(*m, index, MixerCall::GetLineControls); result != mm::kNoError) {
    return result;
  }
  if (!m->speakersLine || lineId != kSpeakersLineId) return Refuse(mm::kInvalidLine);
  if (!m->volumeControl || controlType != mm::kControlVolume) return Refuse(mm::kInvalidControl);
  control->controlId = kVolumeControlId;
  control->minimum = 0;
  control->maximum = kMaximumVolume;
  return mm::kNoError;
}

MmResult SimMixers::GetControlValue(MixerHandle mixer, Dword controlId, Dword* value) {
  int index = 0;
  SimMixer* m = Find(mixer, &index);
  if (m == nullptr) return mm::kInvalidHandle;
  if (MmResult result = Begin(*m, index, MixerCall::GetValue); result != mm::kNoError) {
    return result;
  }
  if (!m->volumeControl || controlId != kVolumeControlId) return Refuse(mm::kInvalidControl);
  *value = m->volume;
  return mm::kNoError;
}

MmResult SimMixers::SetControlValue(MixerHandle mixer, Dword controlId, Dword value) {
  int index = 0;
  SimMixer* m = Find(mixer, &index);
  if (m == nullptr) return mm::kInvalidHandle;
  if (MmResult result = Begin(*m, index, MixerCall::SetValue, " " + std::to_string(value));
      result != mm::kNoError) {
    return result;
  }
  if (!m->volumeControl || controlId != kVolumeControlId) return Refuse(mm::kInvalidControl);
  // The control keeps a value inside its bounds.
  m->volume = std::min(value, kMaximumVolume);
  m->valuesSet.push_back(value);
  return mm::kNoError;
}

MmResult SimMixers::Close(MixerHandle mixer) {
  int index = 0;
  SimMixer* m = Find(mixer, &index);
  if (m == nullptr) return mm::kInvalidHandle;
  if (MmResult result = Begin(*m, index, MixerCall::Close); result != mm::kNoError) {
    return result;
  }
  handles_.erase(mixer);
  return mm::kNoError;
}

}  // namespace platform::sim
