// The device I/O seam on the real kernel32 calls.
#pragma once

#include "platform/device_io.h"

namespace platform::win32 {

class Win32DeviceIo : public DeviceIo {
 public:
  Handle CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                    Dword flags) override;
  bool DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize, void* out,
                       Dword outSize, Dword* returned) override;
  bool CloseHandle(Handle handle) override;
  Dword GetLastError() override;
};

}  // namespace platform::win32
