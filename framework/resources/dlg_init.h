// Reader of DLGINIT resources: initial data for a dialog's controls, such as the strings of a
// combo box, stored under the dialog's id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fw::res {

// Messages a record carries, in their 16-bit numbering.
inline constexpr std::uint16_t kDlgInitListAddString = 0x0401;
inline constexpr std::uint16_t kDlgInitComboAddString = 0x0403;

struct DlgInitRecord {
  std::uint16_t controlId = 0;
  std::uint16_t message = 0;
  std::vector<std::uint8_t> data;

  // The data as an ANSI string, up to its terminating zero.
  std::string Text() const;
};

// Parses the records up to the terminating zero control id; nullopt when truncated.
std::optional<std::vector<DlgInitRecord>> ParseDlgInit(std::span<const std::uint8_t> data);

}  // namespace fw::res
