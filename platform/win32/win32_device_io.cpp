#include "platform/win32/win32_device_io.h"

#include "platform/win32/windows_headers.h"

// The seam's own name, not the ANSI/wide switch of the platform headers.
#undef CreateFile

namespace platform::win32 {

namespace {

HANDLE ToNative(Handle handle) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle));
}

}  // namespace

Handle Win32DeviceIo::CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                                 Dword flags) {
  const HANDLE handle = ::CreateFileA(path, access, share, nullptr, disposition, flags, nullptr);
  return static_cast<Handle>(reinterpret_cast<std::uintptr_t>(handle));
}

bool Win32DeviceIo::DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize,
                                    void* out, Dword outSize, Dword* returned) {
  DWORD nativeReturned = 0;
  const BOOL ok = ::DeviceIoControl(ToNative(device), code, const_cast<void*>(in), inSize, out,
                                    outSize, &nativeReturned, nullptr);
  if (returned != nullptr) *returned = nativeReturned;
  return ok != FALSE;
}

bool Win32DeviceIo::CloseHandle(Handle handle) {
  return ::CloseHandle(ToNative(handle)) != FALSE;
}

Dword Win32DeviceIo::GetLastError() {
  return ::GetLastError();
}

}  // namespace platform::win32
