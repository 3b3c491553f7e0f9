// UTF-16 to the Western ANSI code page, as WideCharToMultiByte(1252) without best-fit mapping.
#include <array>

#include "framework/resources/res_file.h"

namespace fw::res {
namespace {

// Code points of the bytes 0x80..0x9F; zero where the code page has no character, in which
// case the control character of the same number maps to that byte.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToAnsi(std::uint16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    std::uint16_t mapped = kHighControls[i] != 0 ? kHighControls[i] : 0x80 + i;
    if (c == mapped) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool IsHighSurrogate(std::uint16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(std::uint16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string AnsiFromUtf16(std::span<const std::uint16_t> text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character outside the basic plane is one '?', not two.
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    out.push_back(ToAnsi(text[i]));
  }
  return out;
}

}  // namespace fw::res
