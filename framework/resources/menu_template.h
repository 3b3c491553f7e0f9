// Reader of menu templates (MENU resources: a MENUITEMTEMPLATEHEADER and MENUITEMTEMPLATE items).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fw::res {

// Item flags as stored in the template (the MF_ values).
inline constexpr std::uint16_t kMenuGrayed = 0x0001;
inline constexpr std::uint16_t kMenuDisabled = 0x0002;
inline constexpr std::uint16_t kMenuChecked = 0x0008;
inline constexpr std::uint16_t kMenuPopup = 0x0010;
inline constexpr std::uint16_t kMenuBarBreak = 0x0020;
inline constexpr std::uint16_t kMenuBreak = 0x0040;
inline constexpr std::uint16_t kMenuEnd = 0x0080;  // last item of its level
inline constexpr std::uint16_t kMenuHelp = 0x4000;

struct MenuItem {
  std::uint16_t flags = 0;      // without kMenuEnd, which only closes a level
  std::uint16_t id = 0;         // 0 for pop-ups and separators
  std::string text;             // ANSI, with its '&' mnemonics and '\t' accelerators
  std::vector<MenuItem> items;  // a pop-up's items

  bool IsPopup() const { return (flags & kMenuPopup) != 0; }
  // A separator is stored as an item with no id and no text.
  bool IsSeparator() const { return !IsPopup() && id == 0 && text.empty(); }
};

struct MenuTemplate {
  std::vector<MenuItem> items;  // the menu bar, or the pop-ups of a context menu
};

// Parses a MENU template; nullopt when it is truncated, an extended (MENUEX) template, or nests
// pop-ups deeper than any real menu does.
std::optional<MenuTemplate> ParseMenuTemplate(std::span<const std::uint8_t> data);

}  // namespace fw::res
