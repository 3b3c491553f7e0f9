// The system's device list as a test sets it: device-interface paths by class, in the order
// the list gives them. Lists are counted handles, so one left undestroyed shows, and every
// call is logged in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/device_interfaces.h"

namespace platform::sim {

class FaultPlan;

class SimDeviceInterfaces final : public DeviceInterfaces {
 public:
  explicit SimDeviceInterfaces(FaultPlan* faults = nullptr) : faults_(faults) {}

  // DeviceInterfaces
  DeviceInfoSet GetClassDevs(const Guid& interfaceClass) override;
  bool EnumDeviceInterfaces(DeviceInfoSet set, const Guid& interfaceClass, Dword index) override;
  std::string GetDeviceInterfacePath(DeviceInfoSet set, const Guid& interfaceClass,
                                     Dword index) override;
  bool DestroyDeviceInfoList(DeviceInfoSet set) override;

  // A present device with an interface of `interfaceClass` at `path`; a list made later
  // holds it.
  void Add(const Guid& interfaceClass, std::string path);
  void Remove(const std::string& path);

  int OpenListCount() const { return static_cast<int>(lists_.size()); }
  // Calls with a list that is destroyed, unknown or the invalid value.
  int InvalidListUses() const { return invalidUses_; }
  // Log lines, in order: "list", "enum 0", "path 0", "destroy"; " failed" after a failure.
  const std::vector<std::string>& Log() const { return log_; }

 private:
  struct Entry {
    Guid interfaceClass;
    std::string path;
  };
  // The paths a list holds, or null for a list that isn't open.
  const std::vector<std::string>* Paths(DeviceInfoSet set);
  bool Failed(const char* call, const std::string& line);

  FaultPlan* faults_;
  std::vector<Entry> present_;
  std::map<DeviceInfoSet, std::vector<std::string>> lists_;
  std::uintptr_t nextList_ = 0x50000000;
  int invalidUses_ = 0;
  std::vector<std::string> log_;
};

}  // namespace platform::sim
