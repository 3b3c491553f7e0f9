// Simulated system: named mutexes shared by every program instance that uses the same
// object (so a test can start a second instance), and a wait that moves a virtual clock.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/system.h"

namespace platform::sim {

class FaultPlan;

class SimSystem final : public System {
 public:
  explicit SimSystem(FaultPlan* faults = nullptr) : faults_(faults) {}

  Handle CreateMutex(const char* name) override;
  bool CloseHandle(Handle handle) override;
  Dword GetLastError() override { return lastError_; }
  void Sleep(Dword milliseconds) override;

  // What a wait does to the world (a test passes the headless clock's time on).
  void OnSleep(std::function<void(Dword)> onSleep) { onSleep_ = std::move(onSleep); }
  const std::vector<Dword>& Sleeps() const { return sleeps_; }
  void ClearSleeps() { sleeps_.clear(); }

  bool MutexExists(const std::string& name) const { return mutexRefs_.count(name) != 0; }
  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }

 private:
  FaultPlan* faults_;
  Dword lastError_ = 0;
  std::map<std::string, int> mutexRefs_;
  std::map<Handle, std::string> handles_;
  std::uintptr_t nextHandle_ = 0x3000;
  std::function<void(Dword)> onSleep_;
  std::vector<Dword> sleeps_;
};

}  // namespace platform::sim
