// One device I/O service for a whole simulated machine: opens of the KORVEN's device path go
// to the device, every other open to the USB tree; requests and closes follow the handle to
// whichever of them opened it.
#pragma once

#include <map>
#include <string>

#include "platform/device_io.h"

namespace platform::sim {

class SimUsbTree;

class SimDeviceRouter : public DeviceIo {
 public:
  SimDeviceRouter(DeviceIo& device, SimUsbTree& usb);

  Handle CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                    Dword flags) override;
  bool DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize, void* out,
                       Dword outSize, Dword* returned) override;
  bool CloseHandle(Handle handle) override;
  Dword GetLastError() override { return last_->GetLastError(); }

 private:
  // The target that opened `handle`; the device for a handle nobody opened, so that its
  // own count of stale handles shows the use.
  DeviceIo& Owner(Handle handle);

  DeviceIo& device_;
  SimUsbTree& usb_;
  std::string devicePath_;  // lower case
  DeviceIo* last_ = &device_;
  std::map<Handle, DeviceIo*> owners_;
};

}  // namespace platform::sim
