// System seam over kernel32.
#pragma once

#include "platform/system.h"

namespace platform::win32 {

class Win32System final : public System {
 public:
  Handle CreateMutex(const char* name) override;
  bool CloseHandle(Handle handle) override;
  Dword GetLastError() override;
  void Sleep(Dword milliseconds) override;
};

}  // namespace platform::win32
