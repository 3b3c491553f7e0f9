// Code page seam on kernel32.
#pragma once

#include "platform/code_page.h"

namespace platform::win32 {

class Win32CodePage : public CodePage {
 public:
  std::string AnsiFromWide(std::u16string_view text) override;
};

}  // namespace platform::win32
