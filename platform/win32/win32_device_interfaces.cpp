#include "platform/win32/win32_device_interfaces.h"

#include <vector>

#include "platform/win32/windows_headers.h"
// After windows.h.
#include <setupapi.h>

namespace platform::win32 {

namespace {

GUID ToNative(const Guid& guid) {
  GUID native{guid.data1, guid.data2, guid.data3, {}};
  for (int i = 0; i < 8; ++i) native.Data4[i] = guid.data4[i];
  return native;
}

HDEVINFO ToNative(DeviceInfoSet set) {
  return reinterpret_cast<HDEVINFO>(static_cast<std::uintptr_t>(set));
}

bool Interface(DeviceInfoSet set, const Guid& interfaceClass, Dword index,
               SP_DEVICE_INTERFACE_DATA* data) {
  const GUID native = ToNative(interfaceClass);
  *data = {};
  data->cbSize = sizeof *data;
  return SetupDiEnumDeviceInterfaces(ToNative(set), nullptr, &native, index, data) != FALSE;
}

}  // namespace

DeviceInfoSet Win32DeviceInterfaces::GetClassDevs(const Guid& interfaceClass) {
  const GUID native = ToNative(interfaceClass);
  const HDEVINFO set =
      SetupDiGetClassDevsA(&native, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  return static_cast<DeviceInfoSet>(reinterpret_cast<std::uintptr_t>(set));
}

bool Win32DeviceInterfaces::EnumDeviceInterfaces(DeviceInfoSet set, const Guid& interfaceClass,
                                                 Dword index) {
  SP_DEVICE_INTERFACE_DATA data;
  return Interface(set, interfaceClass, index, &data);
}

std::string Win32DeviceInterfaces::GetDeviceInterfacePath(DeviceInfoSet set,
                                                          const Guid& interfaceClass, Dword index) {
  SP_DEVICE_INTERFACE_DATA data;
  if (!Interface(set, interfaceClass, index, &data)) return {};
  // The first call only tells the size, and fails doing so.
  DWORD size = 0;
  SetupDiGetDeviceInterfaceDetailA(ToNative(set), &data, nullptr, 0, &size, nullptr);
  if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) || size > 0x10000) return {};
  // DWORD-aligned storage for the record.
  std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  if (!SetupDiGetDeviceInterfaceDetailA(ToNative(set), &data, detail, size, nullptr, nullptr)) {
    return {};
  }
  return detail->DevicePath;
}

bool Win32DeviceInterfaces::DestroyDeviceInfoList(DeviceInfoSet set) {
  return SetupDiDestroyDeviceInfoList(ToNative(set)) != FALSE;
}

}  // namespace platform::win32
