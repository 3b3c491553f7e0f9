#include "framework/resources/menu_template.h"

#include "framework/resources/byte_reader.h"
#include "framework/resources/res_file.h"

namespace fw::res {
namespace {

// Bounds the recursion on hostile input.
constexpr int kMaxDepth = 16;

// Reads one level of items, up to and including the one marked kMenuEnd.
bool ReadLevel(ByteReader& r, int depth, std::vector<MenuItem>& out) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    MenuItem item;
    std::uint16_t flags = r.U16();
    item.flags = static_cast<std::uint16_t>(flags & ~kMenuEnd);
    if (!item.IsPopup()) item.id = r.U16();
    item.text = AnsiFromUtf16(r.Utf16z());
    if (!r.Ok()) return false;
    if (item.IsPopup() && !ReadLevel(r, depth + 1, item.items)) return false;
    out.push_back(std::move(item));
    if (flags & kMenuEnd) return true;
  }
}

}  // namespace

std::optional<MenuTemplate> ParseMenuTemplate(std::span<const std::uint8_t> data) {
  ByteReader r(data);
  std::uint16_t version = r.U16();
  std::uint16_t headerExtra = r.U16();  // bytes between the header and the first item
  r.Skip(headerExtra);
  if (!r.Ok() || version != 0) return std::nullopt;
  MenuTemplate menu;
  if (!ReadLevel(r, 0, menu.items)) return std::nullopt;
  return menu;
}

}  // namespace fw::res
