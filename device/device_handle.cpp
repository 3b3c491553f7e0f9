#include "device/device_handle.h"

#include "device/requests.h"

namespace korven {

bool DeviceHandle::Open() {
  // A holder opening again must not leave its earlier handle behind.
  Close();
  handle_ = io_.CreateFile(
      kDevicePath, platform::file::kGenericRead | platform::file::kGenericWrite,
      platform::file::kShareRead | platform::file::kShareWrite, platform::file::kOpenExisting, 0);
  return IsOpen();
}

void DeviceHandle::Close() {
  if (!IsOpen()) return;
  io_.CloseHandle(handle_);
  handle_ = platform::kInvalidHandle;
}

bool DeviceHandle::Send(platform::Dword code, const void* in, platform::Dword inSize, void* out,
                        platform::Dword outSize, platform::Dword* bytesReturned) {
  if (!IsOpen()) return false;
  platform::Dword ignored = 0;
  return io_.DeviceIoControl(handle_, code, in, inSize, out, outSize,
                             bytesReturned != nullptr ? bytesReturned : &ignored);
}

}  // namespace korven
