// Device I/O seam: CreateFileA / DeviceIoControl / CloseHandle on device paths.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace platform {

namespace file {
inline constexpr Dword kGenericRead = 0x80000000u;
inline constexpr Dword kGenericWrite = 0x40000000u;
inline constexpr Dword kShareRead = 1;
inline constexpr Dword kShareWrite = 2;
inline constexpr Dword kOpenExisting = 3;
}  // namespace file

class DeviceIo {
 public:
  virtual ~DeviceIo() = default;

  // CreateFileA without security attributes or template; kInvalidHandle on failure.
  virtual Handle CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                            Dword flags) = 0;
  // DeviceIoControl without overlapped I/O; true on success. `returned` may not be null.
  virtual bool DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize, void* out,
                               Dword outSize, Dword* returned) = 0;
  virtual bool CloseHandle(Handle handle) = 0;
  // The thread's last-error value after a failed call.
  virtual Dword GetLastError() = 0;
};

}  // namespace platform
