#include "platform/win32/win32_modules.h"

#include "platform/win32/windows_headers.h"

#undef GetModuleFileName
#undef LoadLibrary

#include <vector>

namespace platform::win32 {
namespace {

HMODULE ToHmodule(Module module) {
  return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(module));
}

// The companion libraries' entry points take nothing; with no arguments to pop, the
// standard and the C calling conventions agree.
using IntEntryPoint = int(WINAPI*)();

}  // namespace

std::string Win32Modules::GetModuleFileName() {
  // A path may be longer than MAX_PATH; a full buffer means it was cut.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

Module Win32Modules::LoadLibrary(const char* path) {
  return static_cast<Module>(reinterpret_cast<std::uintptr_t>(LoadLibraryA(path)));
}

Proc Win32Modules::GetProcAddress(Module module, const char* name) {
  return static_cast<Proc>(
      reinterpret_cast<std::uintptr_t>(::GetProcAddress(ToHmodule(module), name)));
}

int Win32Modules::CallProc(Proc proc) {
  auto entry = reinterpret_cast<IntEntryPoint>(static_cast<std::uintptr_t>(proc));
  return entry();
}

bool Win32Modules::FreeLibrary(Module module) {
  return ::FreeLibrary(ToHmodule(module)) != FALSE;
}

Dword Win32Modules::GetLastError() {
  return ::GetLastError();
}

}  // namespace platform::win32
