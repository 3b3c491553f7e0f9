// The two libraries that stand beside the program: the filter library, loaded only for the
// length of a call, and the remote-control monitor, which stays loaded while the device is
// taken up.
#pragma once

#include <string>
#include <string_view>

namespace fw {
class WindowSystem;
}
namespace platform {
struct Platform;
class Modules;
}  // namespace platform

namespace korven {

inline constexpr char kFilterLibrary[] = "Zelfilter.dll";
inline constexpr char kIsDeviceInstalled[] = "IsDeviceInstalled";
inline constexpr char kAddUsbAudioFilter[] = "AddUSBAudioFilter";
inline constexpr char kHidMonitorLibrary[] = "hidrctrl.dll";
inline constexpr char kOpenHidMonitor[] = "OpenHidMonitor";
inline constexpr char kCloseHidMonitor[] = "CloseHidMonitor";

// `fileName` in the directory of the program's own file (up to and including its last
// backslash); no other directory is searched.
std::string CompanionLibraryPath(platform::Modules& modules, std::string_view fileName);

// Adds the device's audio filter. A failing "AddUSBAudioFilter" shows its error code and
// still counts as done; false only when the library or the entry point is missing (the
// DLL-driver box has been shown).
bool AddAudioFilter(const platform::Platform& platform, fw::WindowSystem& windows);

// Loads the remote-control monitor and starts it; true only when "OpenHidMonitor" ran and
// said it is running. The library stays loaded whatever happened, until UnloadHidMonitor.
bool LoadHidMonitor(const platform::Platform& platform, fw::WindowSystem& windows);
// Stops the monitor ("CloseHidMonitor" when it has one) and unloads it; the unload's result,
// or false when nothing is loaded.
bool UnloadHidMonitor(const platform::Platform& platform);
// Whether the process holds the monitor library.
bool IsHidMonitorLoaded();

}  // namespace korven
