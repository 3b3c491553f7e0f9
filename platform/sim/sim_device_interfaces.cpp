#include "platform/sim/sim_device_interfaces.h"

#include <algorithm>

#include "platform/sim/fault_plan.h"

namespace platform::sim {

DeviceInfoSet SimDeviceInterfaces::GetClassDevs(const Guid& interfaceClass) {
  if (Failed("SetupDiGetClassDevsA", "list")) return kInvalidDeviceInfoSet;
  // The list is what is present when it is made.
  std::vector<std::string> paths;
  for (const Entry& entry : present_) {
    if (entry.interfaceClass == interfaceClass) paths.push_back(entry.path);
  }
  const auto set = static_cast<DeviceInfoSet>(nextList_);
  nextList_ += 4;
  lists_[set] = std::move(paths);
  log_.push_back("list");
  return set;
}

bool SimDeviceInterfaces::EnumDeviceInterfaces(DeviceInfoSet set, const Guid& /*interfaceClass*/,
                                               Dword index) {
  const std::string line = "enum " + std::to_string(index);
  if (Failed("SetupDiEnumDeviceInterfaces", line)) return false;
  const std::vector<std::string>* paths = Paths(set);
  const bool held = paths != nullptr && index < paths->size();
  log_.push_back(held ? line : line + " end");
  return held;
}

std::string SimDeviceInterfaces::GetDeviceInterfacePath(DeviceInfoSet set,
                                                        const Guid& /*interfaceClass*/,
                                                        Dword index) {
  const std::string line = "path " + std::to_string(index);
  if (Failed("SetupDiGetDeviceInterfaceDetailA", line)) return {};
  const std::vector<std::string>* paths = Paths(set);
  if (paths == nullptr || index >= paths->size()) {
    log_.push_back(line + " failed");
    return {};
  }
  log_.push_back(line);
  return (*paths)[index];
}

bool SimDeviceInterfaces::DestroyDeviceInfoList(DeviceInfoSet set) {
  if (lists_.erase(set) == 0) {
    ++invalidUses_;
    log_.push_back("destroy failed");
    return false;
  }
  log_.push_back("destroy");
  return true;
}

void SimDeviceInterfaces::Add(const Guid& interfaceClass, std::string path) {
  present_.push_back({interfaceClass, std::move(path)});
}

void SimDeviceInterfaces::Remove(const std::string& path) {
  std::erase_if(present_, [&](const Entry& entry) { return entry.path == path; });
}

const std::vector<std::string>* SimDeviceInterfaces::Paths(DeviceInfoSet set) {
  auto list = lists_.find(set);
  if (list != lists_.end()) return &list->second;
  ++invalidUses_;
  return nullptr;
}

bool SimDeviceInterfaces::Failed(const char* call, const std::string& line) {
  if (faults_ == nullptr || !faults_->Fails(call)) return false;
  log_.push_back(line + " failed");
  return true;
}

}  // namespace platform::sim
