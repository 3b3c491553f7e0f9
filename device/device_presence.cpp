#include "device/device_presence.h"

#include "device/companion_libraries.h"
#include "device/error_codes.h"
#include "device/usb_walk.h"
#include "platform/modules.h"
#include "platform/platform.h"

namespace korven {

bool IsDevicePresent(const platform::Platform& platform, fw::WindowSystem& windows) {
  platform::Modules& modules = *platform.modules;
  std::string path = CompanionLibraryPath(modules, kFilterLibrary);
  platform::Module library = modules.LoadLibrary(path.c_str());
  if (library == platform::kNullModule) {
    ShowErrorCode(windows, kErrorDllMissing);
    return false;
  }
  platform::Proc isInstalled = modules.GetProcAddress(library, kIsDeviceInstalled);
  if (isInstalled == platform::kNullProc) {
    modules.FreeLibrary(library);
    ShowErrorCode(windows, kErrorDllMissing);
    return false;
  }
  bool installed = modules.CallProc(isInstalled) != 0;
  // The walk runs whatever the library said.
  bool plugged = FindDeviceOnUsb(platform);
  modules.FreeLibrary(library);
  return installed && plugged;
}

}  // namespace korven
