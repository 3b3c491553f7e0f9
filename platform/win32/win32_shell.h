// Shell seam on shell32 and kernel32.
#pragma once

#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell : public Shell {
 public:
  bool NotifyIcon(Dword message, const NotifyIconData& data) override;
  Dword GetVersion() override;
};

}  // namespace platform::win32
