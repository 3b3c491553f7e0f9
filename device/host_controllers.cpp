#include "device/host_controllers.h"

#include "platform/device_interfaces.h"
#include "platform/usb_ioctl.h"

namespace korven {
namespace {

// More controllers than any machine has: a list that never ends is taken for a broken one.
constexpr platform::Dword kMaxListed = 256;

}  // namespace

std::vector<std::string> ListedHostControllers(platform::DeviceInterfaces& interfaces) {
  const platform::Guid& hostControllers = platform::usb::kHostControllerInterface;
  std::vector<std::string> paths;
  const platform::DeviceInfoSet set = interfaces.GetClassDevs(hostControllers);
  if (set == platform::kInvalidDeviceInfoSet) return paths;
  for (platform::Dword index = 0;
       index < kMaxListed && interfaces.EnumDeviceInterfaces(set, hostControllers, index);
       ++index) {
    std::string path = interfaces.GetDeviceInterfacePath(set, hostControllers, index);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  interfaces.DestroyDeviceInfoList(set);
  return paths;
}

}  // namespace korven
