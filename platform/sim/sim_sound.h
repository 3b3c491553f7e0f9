// The program's sounds as a test sees them: an ordered log of what was started and stopped,
// the sound playing now, and the millisecond clock, which a test wires to the window
// system's virtual clock (so it can start near its 32-bit wrap).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sound.h"

namespace platform::sim {

class FaultPlan;

class SimSound : public Sound {
 public:
  using Clock = std::function<Dword()>;

  // Calls numbered by `faults` fail as the platform's do: a sound that does not start, a
  // stop that stops nothing, a resource that is not found. The clock never fails.
  explicit SimSound(FaultPlan* faults = nullptr);

  // Sound
  bool PlayResource(int resourceId, bool loop) override;
  bool Purge() override;
  const void* LoadWave(int resourceId) override;
  bool PlayMemoryLoop(const void* image) override;
  bool StopMemory() override;
  Dword TimeGetTime() override { return clock_ ? clock_() : 0; }

  void SetClock(Clock clock) { clock_ = std::move(clock); }
  // WAVE resources LoadWave finds; all the program's (177-182, 209, 215) by default.
  void RemoveWave(int resourceId) { images_.erase(resourceId); }

  // What plays now: "wave 177 loop", "wave 215 once", "clip 209 loop", or "" for silence.
  const std::string& Playing() const { return playing_; }
  // One line a call, in order: "play 177 loop", "play 215 once", "purge", "clip 209 loop",
  // "clip stop"; an injected failure ends with " FAILED".
  const std::vector<std::string>& Log() const { return log_; }
  std::string FormatLog() const;
  void ClearLog() { log_.clear(); }

 private:
  bool Faulted(const char* call);

  FaultPlan* faults_;
  // Each image is a distinct block whose address names its resource.
  std::map<int, std::vector<std::uint8_t>> images_;
  Clock clock_;
  std::string playing_;
  std::vector<std::string> log_;
};

}  // namespace platform::sim
