// The walk of the machine's USB tree that tells whether a KORVEN is plugged in: every host
// controller's root hub, and every hub below it, port by port.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/win_types.h"

namespace platform {
struct Platform;
class DeviceIo;
class CodePage;
}  // namespace platform

namespace korven {

// The vendor test and the product test on a device descriptor's ids.
bool IsKorvenDevice(std::uint16_t idVendor, std::uint16_t idProduct);

// What one walk carries from hub to hub. The tree's answers come from drivers outside the
// program, so the walk remembers the hubs it has entered and stops a tree that leads back
// into itself, and never descends deeper than any USB tree can be.
struct UsbWalk {
  platform::DeviceIo& io;
  platform::CodePage& codePage;
  std::set<std::string> enteredHubs;  // lower-case names
  int depth = 0;                      // hubs open above the current one
};

// True when a KORVEN is found below any of the host controllers 0 to 9, or below one the
// system's device list names.
bool FindDeviceOnUsb(const platform::Platform& platform);
// The host controller at `path` (opened as is): its root hub and every hub below it.
bool WalkHostController(UsbWalk& walk, const char* path);
// Opens the hub `name` and scans its ports.
bool ScanHub(UsbWalk& walk, std::string name);
// Scans ports 1 to `portCount` of an open hub, descending into child hubs.
bool ScanHubPorts(UsbWalk& walk, platform::Handle hub, unsigned portCount);

}  // namespace korven
