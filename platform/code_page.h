// Code page seam: wide-character text the system receives (device names) turned into the
// system's ANSI code page, in which the narrow file functions take their paths.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class CodePage {
 public:
  virtual ~CodePage() = default;

  // `text` in the ANSI code page (WideCharToMultiByte with CP_ACP); empty when the
  // conversion fails or `text` is empty.
  virtual std::string AnsiFromWide(std::u16string_view text) = 0;
};

}  // namespace platform
