// Whether the device is both installed (the filter library says so) and plugged in (the
// USB walk finds it). Asked at start-up and at every change of the device tree.
#pragma once

namespace fw {
class WindowSystem;
}
namespace platform {
struct Platform;
}

namespace korven {

// Shows the DLL-driver box, and answers false, when the filter library or its
// "IsDeviceInstalled" is missing. The library is unloaded again before it returns.
bool IsDevicePresent(const platform::Platform& platform, fw::WindowSystem& windows);

}  // namespace korven
