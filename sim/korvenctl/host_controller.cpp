#include "korvenctl/host_controller.h"

#include <windows.h>
// After windows.h.
#include <cfgmgr32.h>
#include <newdev.h>
#include <setupapi.h>

#include <cstdio>

namespace korvenctl {
namespace {

// The hardware id the INF's models name, and the one instance of it.
constexpr char kHardwareIds[] = "ROOT\\KORVENSIM_HC\0";  // a multi-string
constexpr char kInstance[] = "ROOT\\KORVENSIM_HC\\0000";
constexpr char kInf[] = "korvensim_hc.inf";
// GUID_DEVCLASS_SYSTEM
constexpr GUID kSystemClass = {
    0x4D36E97D, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// GUID_DEVINTERFACE_USB_HOST_CONTROLLER
constexpr GUID kHostControllerInterface = {
    0x3ABF6F2D, 0x71C4, 0x462A, {0x8A, 0x92, 0x1E, 0x68, 0x61, 0xE6, 0xAF, 0x27}};

std::string InfBesideProgram() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1) + kInf;
}

// The device node of the instance, registered with the device manager.
bool RegisterDevice() {
  HDEVINFO set = SetupDiCreateDeviceInfoList(&kSystemClass, nullptr);
  if (set == INVALID_HANDLE_VALUE) return false;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  bool ok = SetupDiCreateDeviceInfoA(set, kInstance, &kSystemClass, nullptr, nullptr, 0, &device);
  if (!ok && GetLastError() == ERROR_DEVINST_ALREADY_EXISTS) {
    SetupDiDestroyDeviceInfoList(set);
    return true;
  }
  ok = ok &&
       SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                         reinterpret_cast<const BYTE*>(kHardwareIds),
                                         sizeof kHardwareIds) &&
       SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device);
  if (!ok) std::printf("registering %s failed, error %lu\n", kInstance, GetLastError());
  SetupDiDestroyDeviceInfoList(set);
  return ok;
}

}  // namespace

int AddHostController() {
  if (!RegisterDevice()) return 1;
  const std::string inf = InfBesideProgram();
  BOOL reboot = FALSE;
  // Installing the driver starts the device: the driver's AddDevice registers the interface
  // and its start enables it.
  if (!UpdateDriverForPlugAndPlayDevicesA(nullptr, "ROOT\\KORVENSIM_HC", inf.c_str(),
                                          INSTALLFLAG_FORCE, &reboot)) {
    std::printf("installing %s from %s failed, error %lu\n", kInstance, inf.c_str(),
                GetLastError());
    return 1;
  }
  std::printf("host controller %s installed\n", kInstance);
  return 0;
}

int RemoveHostController() {
  HDEVINFO set = SetupDiGetClassDevsA(nullptr, "ROOT", nullptr, DIGCF_ALLCLASSES);
  if (set == INVALID_HANDLE_VALUE) return 1;
  int result = 0;
  bool found = false;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
    char instance[MAX_DEVICE_ID_LEN] = {};
    found = SetupDiGetDeviceInstanceIdA(set, &device, instance, sizeof instance, nullptr) &&
            lstrcmpiA(instance, kInstance) == 0;
  }
  if (found && !SetupDiCallClassInstaller(DIF_REMOVE, set, &device)) {
    std::printf("removing %s failed, error %lu\n", kInstance, GetLastError());
    result = 1;
  } else {
    std::printf("host controller %s %s\n", kInstance, found ? "removed" : "not installed");
  }
  SetupDiDestroyDeviceInfoList(set);
  return result;
}

std::vector<std::string> ListedHostControllers() {
  std::vector<std::string> paths;
  HDEVINFO set = SetupDiGetClassDevsA(&kHostControllerInterface, nullptr, nullptr,
                                      DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return paths;
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof data;
  for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &kHostControllerInterface, i, &data);
       ++i) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr)) {
      paths.push_back(detail->DevicePath);
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return paths;
}

}  // namespace korvenctl
