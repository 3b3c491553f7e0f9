// Bounds-checked little-endian reads over a byte span, shared by the resource readers.
// A read past the end puts the reader into a failed state: it returns zeros from then on, so a
// parser can read a whole fixed header and check Ok() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/resources/res_file.h"

namespace fw::res {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Ok() const { return ok_; }
  std::size_t Offset() const { return pos_; }
  std::size_t Remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }

  std::uint8_t U8() { return Take(1) ? bytes_[pos_ - 1] : 0; }
  std::uint16_t U16() {
    if (!Take(2)) return 0;
    return static_cast<std::uint16_t>(bytes_[pos_ - 2] | (bytes_[pos_ - 1] << 8));
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    std::uint32_t low = U16();
    std::uint32_t high = U16();
    return low | (high << 16);
  }
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    if (!Take(n)) return {};
    return bytes_.subspan(pos_ - n, n);
  }
  void Skip(std::size_t n) { Take(n); }

  // Moves to the next multiple of four from the start of the span (templates are laid out
  // on DWORD boundaries).
  void AlignTo4() { Take((4 - pos_ % 4) % 4); }

  // A zero-terminated UTF-16LE string; the terminator is consumed but not returned.
  std::vector<std::uint16_t> Utf16z() {
    std::vector<std::uint16_t> text;
    for (std::uint16_t c = U16(); ok_ && c != 0; c = U16()) text.push_back(c);
    return text;
  }
  std::vector<std::uint16_t> Utf16(std::size_t count) {
    std::vector<std::uint16_t> text;
    if (count > Remaining() / 2) {
      ok_ = false;
      return text;
    }
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) text.push_back(U16());
    return text;
  }

 private:
  bool Take(std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return false;
    }
    pos_ += n;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// A name-or-ordinal field: 0xFFFF followed by a number, or a zero-terminated string (an empty
// string when the field is a single 0x0000).
inline ResourceId ReadNameOrOrdinal(ByteReader& r) {
  ByteReader peek = r;
  if (peek.U16() == 0xFFFF) {
    r.U16();
    return ResourceId::Number(r.U16());
  }
  return ResourceId::Name(AnsiFromUtf16(r.Utf16z()));
}

}  // namespace fw::res
