#include "platform/win32/win32_system.h"

#include "platform/win32/windows_headers.h"
#undef CreateMutex  // the seam method keeps its own name

namespace platform::win32 {

Handle Win32System::CreateMutex(const char* name) {
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name);
  return mutex == nullptr ? kNullHandle
                          : static_cast<Handle>(reinterpret_cast<std::uintptr_t>(mutex));
}

bool Win32System::CloseHandle(Handle handle) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle))) != FALSE;
}

Dword Win32System::GetLastError() {
  return ::GetLastError();
}

void Win32System::Sleep(Dword milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace platform::win32
