#include "platform/sim/sim_device_router.h"

#include <cctype>

#include "contract/korven_requests.h"
#include "platform/sim/sim_usb_tree.h"

namespace platform::sim {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

SimDeviceRouter::SimDeviceRouter(DeviceIo& device, SimUsbTree& usb)
    : device_(device), usb_(usb), devicePath_(Lower(KORVEN_DEVICE_PATH)) {}

Handle SimDeviceRouter::CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                                   Dword flags) {
  bool toDevice = path == nullptr || Lower(path) == devicePath_;
  DeviceIo& target = toDevice ? device_ : static_cast<DeviceIo&>(usb_);
  last_ = &target;
  Handle handle = target.CreateFile(path, access, share, disposition, flags);
  if (handle != kInvalidHandle) owners_[handle] = &target;
  return handle;
}

bool SimDeviceRouter::DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize,
                                      void* out, Dword outSize, Dword* returned) {
  DeviceIo& target = Owner(device);
  last_ = &target;
  return target.DeviceIoControl(device, code, in, inSize, out, outSize, returned);
}

bool SimDeviceRouter::CloseHandle(Handle handle) {
  DeviceIo& target = Owner(handle);
  last_ = &target;
  bool closed = target.CloseHandle(handle);
  if (closed) owners_.erase(handle);
  return closed;
}

DeviceIo& SimDeviceRouter::Owner(Handle handle) {
  auto owner = owners_.find(handle);
  return owner != owners_.end() ? *owner->second : device_;
}

}  // namespace platform::sim
