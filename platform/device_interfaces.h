// Device-interface seam: the present devices that expose one interface class, as the setup
// functions list them (SetupDiGetClassDevsA with DIGCF_PRESENT | DIGCF_DEVICEINTERFACE,
// SetupDiEnumDeviceInterfaces, SetupDiGetDeviceInterfaceDetailA,
// SetupDiDestroyDeviceInfoList).
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace platform {

// GUID, field by field.
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// A list of devices the setup functions made (HDEVINFO). Opaque to system code.
enum class DeviceInfoSet : std::uintptr_t {};
inline constexpr DeviceInfoSet kInvalidDeviceInfoSet =
    static_cast<DeviceInfoSet>(~std::uintptr_t{0});

class DeviceInterfaces {
 public:
  virtual ~DeviceInterfaces() = default;

  // The present devices with an interface of `interfaceClass`; kInvalidDeviceInfoSet on
  // failure.
  virtual DeviceInfoSet GetClassDevs(const Guid& interfaceClass) = 0;
  // Whether the list holds interface number `index` of the class; false after the last one
  // and on failure.
  virtual bool EnumDeviceInterfaces(DeviceInfoSet set, const Guid& interfaceClass, Dword index) = 0;
  // The device path of interface number `index`, which CreateFileA opens; empty on failure.
  virtual std::string GetDeviceInterfacePath(DeviceInfoSet set, const Guid& interfaceClass,
                                             Dword index) = 0;
  virtual bool DestroyDeviceInfoList(DeviceInfoSet set) = 0;
};

}  // namespace platform
