#include "platform/sim/sim_system.h"

#include "platform/sim/fault_plan.h"

namespace platform::sim {

Handle SimSystem::CreateMutex(const char* name) {
  if (faults_ != nullptr && faults_->Fails("CreateMutexA")) {
    lastError_ = error::kAccessDenied;
    return kNullHandle;
  }
  const std::string key = name != nullptr ? name : "";
  const bool existed = mutexRefs_.count(key) != 0;
  ++mutexRefs_[key];
  const auto handle = static_cast<Handle>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = key;
  lastError_ = existed ? error::kAlreadyExists : error::kSuccess;
  return handle;
}

bool SimSystem::CloseHandle(Handle handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) {
    lastError_ = error::kInvalidHandle;
    return false;
  }
  if (--mutexRefs_[it->second] == 0) mutexRefs_.erase(it->second);
  handles_.erase(it);
  return true;
}

void SimSystem::Sleep(Dword milliseconds) {
  sleeps_.push_back(milliseconds);
  if (onSleep_) onSleep_(milliseconds);
}

}  // namespace platform::sim
