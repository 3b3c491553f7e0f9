// Modules seam: the program's own file, and libraries loaded by full path whose entry points
// take no arguments and return an integer (GetModuleFileNameA, LoadLibraryA, GetProcAddress,
// FreeLibrary, GetLastError).
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace platform {

// A loaded library (HMODULE); kNullModule when not loaded.
enum class Module : std::uintptr_t {};
inline constexpr Module kNullModule = static_cast<Module>(0);

// An entry point of a loaded library (FARPROC); kNullProc when missing.
enum class Proc : std::uintptr_t {};
inline constexpr Proc kNullProc = static_cast<Proc>(0);

class Modules {
 public:
  virtual ~Modules() = default;

  // Full path of the program's own file; empty when it can't be read.
  virtual std::string GetModuleFileName() = 0;
  // Loads the library at `path` (a counted reference); kNullModule on failure.
  virtual Module LoadLibrary(const char* path) = 0;
  // The entry point `name` of `module`; kNullProc when it has none.
  virtual Proc GetProcAddress(Module module, const char* name) = 0;
  // Calls an entry point that takes no arguments and returns an integer.
  virtual int CallProc(Proc proc) = 0;
  // Drops one reference to `module`; true on success.
  virtual bool FreeLibrary(Module module) = 0;
  // The thread's last-error value; a library may leave its own code there.
  virtual Dword GetLastError() = 0;
};

}  // namespace platform
