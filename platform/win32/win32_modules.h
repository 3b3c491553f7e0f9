// Modules seam on kernel32.
#pragma once

#include "platform/modules.h"

namespace platform::win32 {

class Win32Modules : public Modules {
 public:
  std::string GetModuleFileName() override;
  Module LoadLibrary(const char* path) override;
  Proc GetProcAddress(Module module, const char* name) override;
  int CallProc(Proc proc) override;
  bool FreeLibrary(Module module) override;
  Dword GetLastError() override;
};

}  // namespace platform::win32
