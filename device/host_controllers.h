// The host controllers the system's device list names by their interface, beside the legacy
// names "\\.\HCD0" to "\\.\HCD9" that not every driver stack creates.
#pragma once

#include <string>
#include <vector>

namespace platform {
class DeviceInterfaces;
}  // namespace platform

namespace korven {

// The device paths of the present host controllers, in the list's order; empty when the
// list can't be had. A path that can't be read is left out.
std::vector<std::string> ListedHostControllers(platform::DeviceInterfaces& interfaces);

}  // namespace korven
