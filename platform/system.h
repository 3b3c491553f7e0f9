// System seam: the named mutex of the single-instance guard and the thread's blocking wait.
#pragma once

#include "platform/win_types.h"

namespace platform {

class System {
 public:
  virtual ~System() = default;

  // CreateMutexA with default security, not initially owned; GetLastError() then tells
  // whether the object already existed (error::kAlreadyExists).
  virtual Handle CreateMutex(const char* name) = 0;
  virtual bool CloseHandle(Handle handle) = 0;
  virtual Dword GetLastError() = 0;
  // Blocks the thread, messages included.
  virtual void Sleep(Dword milliseconds) = 0;
};

}  // namespace platform
