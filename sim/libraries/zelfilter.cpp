// Stand-in filter library "Zelfilter.dll": tells whether the simulated device's software is
// installed and "adds the filter", which succeeds when the device is plugged in.
//
// Steering values (DWORD, see steering.h):
//   IsDeviceInstalled    the answer of "IsDeviceInstalled" instead of the service check
//   AddUSBAudioFilter    0: "AddUSBAudioFilter" succeeds; a negative code: it fails with it
#include <windows.h>

#include <string>

#include "korvensim_ioctl.h"
#include "libraries/steering.h"

namespace {

// The library's error codes, handed back through the thread's last-error value.
constexpr long kNotInstalled = -200;
constexpr long kNotPluggedIn = -201;

bool ServiceInstalled() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return false;
  SC_HANDLE service = OpenServiceA(manager, KORVENSIM_SERVICE_NAME, SERVICE_QUERY_STATUS);
  if (service != nullptr) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

bool DevicePluggedIn() {
  HANDLE device =
      CreateFileA(KORVENSIM_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) return false;
  CloseHandle(device);
  return true;
}

int Installed() {
  if (auto steered = korvensim::ReadSteering("IsDeviceInstalled")) return *steered != 0;
  return ServiceInstalled() ? 1 : 0;
}

// 0 when the filter can be added, else the error code.
long FilterOutcome() {
  if (auto steered = korvensim::ReadSteering("AddUSBAudioFilter")) return *steered;
  if (Installed() == 0) return kNotInstalled;
  return DevicePluggedIn() ? 0 : kNotPluggedIn;
}

}  // namespace

extern "C" __declspec(dllexport) int IsDeviceInstalled() {
  const int installed = Installed();
  korvensim::LogCall("IsDeviceInstalled -> " + std::to_string(installed));
  return installed;
}

extern "C" __declspec(dllexport) int AddUSBAudioFilter() {
  const long outcome = FilterOutcome();
  if (outcome == 0) {
    korvensim::LogCall("AddUSBAudioFilter -> 1");
    return 1;
  }
  korvensim::LogCall("AddUSBAudioFilter -> 0, error " + std::to_string(outcome));
  SetLastError(static_cast<DWORD>(outcome));
  return 0;
}
