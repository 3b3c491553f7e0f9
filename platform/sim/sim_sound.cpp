#include "platform/sim/sim_sound.h"

#include "platform/sim/fault_plan.h"

namespace platform::sim {

namespace {
constexpr int kProgramWaves[] = {177, 178, 179, 180, 181, 182, 209, 215};
}  // namespace

SimSound::SimSound(FaultPlan* faults) : faults_(faults) {
  for (int id : kProgramWaves) images_[id] = {'R', 'I', 'F', 'F'};
}

bool SimSound::Faulted(const char* call) {
  if (faults_ == nullptr || !faults_->Fails(call)) return false;
  log_.back() += " FAILED";
  return true;
}

bool SimSound::PlayResource(int resourceId, bool loop) {
  const std::string what = std::to_string(resourceId) + (loop ? " loop" : " once");
  log_.push_back("play " + what);
  if (Faulted("PlaySoundA") || images_.count(resourceId) == 0) {
    // Without SND_NODEFAULT a missing sound plays the default one; nothing to tell apart here.
    playing_.clear();
    return false;
  }
  playing_ = "wave " + what;
  return true;
}

bool SimSound::Purge() {
  log_.push_back("purge");
  if (Faulted("PlaySoundA")) return false;
  playing_.clear();
  return true;
}

const void* SimSound::LoadWave(int resourceId) {
  if (faults_ != nullptr && faults_->Fails("FindResourceA")) return nullptr;
  auto it = images_.find(resourceId);
  return it == images_.end() ? nullptr : it->second.data();
}

bool SimSound::PlayMemoryLoop(const void* image) {
  if (faults_ != nullptr && faults_->Fails("sndPlaySoundA")) {
    log_.push_back("clip loop FAILED");
    playing_.clear();
    return false;
  }
  for (const auto& [id, bytes] : images_) {
    if (bytes.data() == image) {
      log_.push_back("clip " + std::to_string(id) + " loop");
      playing_ = "clip " + std::to_string(id) + " loop";
      return true;
    }
  }
  // Not a clip of the program: nothing plays, not even the default sound.
  log_.push_back("clip unknown loop");
  playing_.clear();
  return false;
}

bool SimSound::StopMemory() {
  log_.push_back("clip stop");
  if (Faulted("sndPlaySoundA")) return false;
  playing_.clear();
  return true;
}

std::string SimSound::FormatLog() const {
  std::string text;
  for (const std::string& line : log_) text += line + "\n";
  return text;
}

}  // namespace platform::sim
