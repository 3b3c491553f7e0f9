#include "platform/win32/win32_code_page.h"

#include <climits>

#include "platform/win32/windows_headers.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide characters are UTF-16 units");

namespace platform::win32 {

std::string Win32CodePage::AnsiFromWide(std::u16string_view text) {
  if (text.empty() || text.size() > INT_MAX / 4) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  int wideLength = static_cast<int>(text.size());
  int length = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string ansi(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, wide, wideLength, ansi.data(), length, nullptr, nullptr) !=
      length) {
    return {};
  }
  return ansi;
}

}  // namespace platform::win32
