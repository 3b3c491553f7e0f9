// Reads a fuzzer's input as a stream of small decisions; past the end every read is zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace korven::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t Dword() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{Byte()} << (8 * i);
    return v;
  }
  // Up to `max` bytes, the length taken from the input first.
  std::string Bytes(std::size_t max) {
    std::size_t length = Byte();
    if (length == 255) length = Byte() * 256u + Byte();
    if (length > max) length = max;
    if (length > size_ - at_) length = size_ - at_;
    std::string out(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return out;
  }
  bool Empty() const { return at_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace korven::fuzz
