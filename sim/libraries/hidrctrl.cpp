// Stand-in remote-control monitor "hidrctrl.dll": while open, a thread watches which
// program the power key would start ("OneKeyStart" in the program's settings, read only)
// and notes each change in the call log.
//
// Steering value (DWORD, see steering.h):
//   OpenHidMonitor    the result of "OpenHidMonitor"; 0 makes it fail without starting
#include <windows.h>

#include <string>

#include "libraries/steering.h"

namespace {

constexpr char kSettingsKey[] = "SOFTWARE\\TALVOR\\KORVEN\\Filter";
constexpr char kOneKeyStart[] = "OneKeyStart";
constexpr DWORD kWatchPeriodMs = 500;

HANDLE stopEvent = nullptr;
HANDLE monitorThread = nullptr;
// The program last noted; only the monitor thread touches it while that runs.
std::string shownProgram;

void NotePowerKey(const std::string& program) {
  korvensim::LogCall("power key starts: " + (program.empty() ? "nothing" : program));
  shownProgram = program;
}

std::string PowerKeyProgram() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return {};
  }
  char text[MAX_PATH] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  LONG status =
      RegQueryValueExA(key, kOneKeyStart, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && type == REG_SZ ? std::string(text) : std::string();
}

HMODULE OwnModule() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&OwnModule),
                     &self);
  return self;
}

DWORD WINAPI Watch(void* param) {
  // The thread holds its own reference to the library, so the code it runs stays mapped
  // until it has left.
  HMODULE self = static_cast<HMODULE>(param);
  while (WaitForSingleObject(stopEvent, kWatchPeriodMs) == WAIT_TIMEOUT) {
    const std::string program = PowerKeyProgram();
    if (program != shownProgram) NotePowerKey(program);
  }
  FreeLibraryAndExitThread(self, 0);
}

void StopMonitor() {
  if (monitorThread == nullptr) return;
  SetEvent(stopEvent);
  WaitForSingleObject(monitorThread, INFINITE);
  CloseHandle(monitorThread);
  CloseHandle(stopEvent);
  monitorThread = nullptr;
  stopEvent = nullptr;
}

// Starts the watch held until ResumeMonitor, so that the call log shows the open first.
bool StartMonitor() {
  if (monitorThread != nullptr) return true;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(OwnModule(), path, sizeof path);
  HMODULE reference = LoadLibraryA(path);
  stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (reference != nullptr && stopEvent != nullptr) {
    monitorThread = CreateThread(nullptr, 0, Watch, reference, CREATE_SUSPENDED, nullptr);
  }
  if (monitorThread == nullptr) {
    if (reference != nullptr) FreeLibrary(reference);
    if (stopEvent != nullptr) CloseHandle(stopEvent);
    stopEvent = nullptr;
    return false;
  }
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) int OpenHidMonitor() {
  int result = 1;
  if (auto steered = korvensim::ReadSteering("OpenHidMonitor")) result = *steered != 0;
  const bool starting = result != 0 && monitorThread == nullptr;
  if (result != 0 && !StartMonitor()) result = 0;
  korvensim::LogCall("OpenHidMonitor -> " + std::to_string(result));
  if (starting && result != 0) {
    NotePowerKey(PowerKeyProgram());
    ResumeThread(monitorThread);
  }
  return result;
}

extern "C" __declspec(dllexport) int CloseHidMonitor() {
  StopMonitor();
  korvensim::LogCall("CloseHidMonitor");
  return 1;
}
