#include "framework/resources/dialog_template.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/resources/byte_reader.h"

namespace fw::res {
namespace {

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint16_t kExSignature = 0xFFFF;
constexpr std::uint16_t kFirstAtom = 0x80;
// Window classes of the predefined atoms 0x80..0x85, in atom order.
constexpr std::array<std::string_view, 6> kPredefinedClasses = {"Button",  "Edit",      "Static",
                                                                "ListBox", "ScrollBar", "ComboBox"};

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  return std::ranges::equal(a, b, {}, upper, upper);
}

// The control class: a predefined atom or a class name; nullopt for an atom that is not one
// of the predefined ones.
std::optional<std::string> ClassName(const ResourceId& id) {
  if (id.isNumber) {
    if (id.number < kFirstAtom || id.number >= kFirstAtom + kPredefinedClasses.size()) {
      return std::nullopt;
    }
    return std::string(kPredefinedClasses[id.number - kFirstAtom]);
  }
  for (std::string_view name : kPredefinedClasses) {
    if (SameTextIgnoringCase(id.name, name)) return std::string(name);
  }
  return id.name;
}

std::optional<ResourceId> OptionalId(ResourceId id) {
  if (!id.isNumber && id.name.empty()) return std::nullopt;
  return id;
}

int ControlId(std::uint32_t raw) {
  if (raw == 0xFFFF || raw == 0xFFFFFFFF) return -1;
  return static_cast<int>(raw);
}

std::optional<DialogItem> ReadItem(ByteReader& r, bool extended) {
  DialogItem item;
  r.AlignTo4();
  if (extended) {
    r.U32();  // help id
    item.exStyle = r.U32();
    item.style = r.U32();
  } else {
    item.style = r.U32();
    item.exStyle = r.U32();
  }
  item.x = r.I16();
  item.y = r.I16();
  item.cx = r.I16();
  item.cy = r.I16();
  item.id = ControlId(extended ? r.U32() : r.U16());
  std::optional<std::string> className = ClassName(ReadNameOrOrdinal(r));
  ResourceId text = ReadNameOrOrdinal(r);
  if (text.isNumber) {
    item.textIsOrdinal = true;
    item.textOrdinal = text.number;
  } else {
    item.text = std::move(text.name);
  }
  std::span<const std::uint8_t> data = r.Bytes(r.U16());
  if (!r.Ok() || !className) return std::nullopt;
  item.className = std::move(*className);
  item.creationData.assign(data.begin(), data.end());
  return item;
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::uint8_t> data) {
  ByteReader r(data);
  DialogTemplate dlg;
  ByteReader peek = r;
  dlg.extended = peek.U16() == 1 && peek.U16() == kExSignature;
  if (dlg.extended) {
    r.Skip(4);  // version, signature
    r.U32();    // help id
    dlg.exStyle = r.U32();
    dlg.style = r.U32();
  } else {
    dlg.style = r.U32();
    dlg.exStyle = r.U32();
  }
  std::uint16_t count = r.U16();
  dlg.x = r.I16();
  dlg.y = r.I16();
  dlg.cx = r.I16();
  dlg.cy = r.I16();
  dlg.menu = OptionalId(ReadNameOrOrdinal(r));
  dlg.windowClass = OptionalId(ReadNameOrOrdinal(r));
  dlg.caption = AnsiFromUtf16(r.Utf16z());
  if (dlg.style & kDsSetFont) {
    dlg.pointSize = r.U16();
    if (dlg.extended) {
      dlg.weight = r.U16();
      dlg.italic = r.U8() != 0;
      dlg.charset = r.U8();
    }
    dlg.fontName = AnsiFromUtf16(r.Utf16z());
  }
  if (!r.Ok()) return std::nullopt;

  for (std::uint16_t i = 0; i < count; ++i) {
    std::optional<DialogItem> item = ReadItem(r, dlg.extended);
    if (!item) return std::nullopt;
    dlg.items.push_back(std::move(*item));
  }
  return dlg;
}

}  // namespace fw::res
