#include "device/companion_libraries.h"

#include "device/error_codes.h"
#include "platform/modules.h"
#include "platform/platform.h"

namespace korven {
namespace {

// The monitor library, held from LoadHidMonitor to UnloadHidMonitor for the whole process.
platform::Module g_hHidMonitor = platform::kNullModule;

}  // namespace

std::string CompanionLibraryPath(platform::Modules& modules, std::string_view fileName) {
  std::string path = modules.GetModuleFileName();
  auto slash = path.find_last_of('\\');
  path.erase(slash == std::string::npos ? 0 : slash + 1);
  return path.append(fileName);
}

bool AddAudioFilter(const platform::Platform& platform, fw::WindowSystem& windows) {
  platform::Modules& modules = *platform.modules;
  std::string path = CompanionLibraryPath(modules, kFilterLibrary);
  platform::Module library = modules.LoadLibrary(path.c_str());
  if (library != platform::kNullModule) {
    platform::Proc add = modules.GetProcAddress(library, kAddUsbAudioFilter);
    if (add != platform::kNullProc) {
      if (modules.CallProc(add) == 0) {
        // The library leaves its error code in the thread's last-error value.
        ShowErrorCode(windows, static_cast<std::int32_t>(modules.GetLastError()));
      }
      modules.FreeLibrary(library);
      return true;
    }
    modules.FreeLibrary(library);
  }
  ShowErrorCode(windows, kErrorDllMissing);
  return false;
}

bool LoadHidMonitor(const platform::Platform& platform, fw::WindowSystem& windows) {
  platform::Modules& modules = *platform.modules;
  std::string path = CompanionLibraryPath(modules, kHidMonitorLibrary);
  g_hHidMonitor = modules.LoadLibrary(path.c_str());
  if (g_hHidMonitor != platform::kNullModule) {
    platform::Proc open = modules.GetProcAddress(g_hHidMonitor, kOpenHidMonitor);
    if (open != platform::kNullProc) return modules.CallProc(open) != 0;
  }
  ShowErrorCode(windows, kErrorHidDllMissing);
  return false;
}

bool UnloadHidMonitor(const platform::Platform& platform) {
  if (g_hHidMonitor == platform::kNullModule) return false;
  platform::Modules& modules = *platform.modules;
  platform::Proc close = modules.GetProcAddress(g_hHidMonitor, kCloseHidMonitor);
  if (close != platform::kNullProc) modules.CallProc(close);
  bool unloaded = modules.FreeLibrary(g_hHidMonitor);
  g_hHidMonitor = platform::kNullModule;
  return unloaded;
}

bool IsHidMonitorLoaded() {
  return g_hHidMonitor != platform::kNullModule;
}

}  // namespace korven
