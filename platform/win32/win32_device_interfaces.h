// The device-interface seam on the real setupapi calls.
#pragma once

#include "platform/device_interfaces.h"

namespace platform::win32 {

class Win32DeviceInterfaces : public DeviceInterfaces {
 public:
  DeviceInfoSet GetClassDevs(const Guid& interfaceClass) override;
  bool EnumDeviceInterfaces(DeviceInfoSet set, const Guid& interfaceClass, Dword index) override;
  std::string GetDeviceInterfacePath(DeviceInfoSet set, const Guid& interfaceClass,
                                     Dword index) override;
  bool DestroyDeviceInfoList(DeviceInfoSet set) override;
};

}  // namespace platform::win32
