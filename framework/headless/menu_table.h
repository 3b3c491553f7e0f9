// Menus of the headless window system: loaded from the program's menu templates, addressed by
// handles that are never reused, each pop-up's submenu owned by its menu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/messages.h"
#include "framework/resources/menu_template.h"

namespace fw::headless {

struct MenuEntry {
  std::uint16_t flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP ... as stored
  unsigned id = 0;
  std::string text;
  Hmenu submenu = nullptr;  // pop-up items

  bool IsPopup() const { return submenu != nullptr; }
  bool IsGrayed() const { return (flags & (res::kMenuGrayed | res::kMenuDisabled)) != 0; }
  bool IsSeparator() const { return submenu == nullptr && id == 0 && text.empty(); }
};

class MenuTable {
 public:
  Hmenu Create(const res::MenuTemplate& menu) { return Create(menu.items); }
  Hmenu Create(const std::vector<res::MenuItem>& items);
  bool IsMenu(Hmenu menu) const { return menus_.contains(menu); }
  // Items of a live menu; null for a dead one.
  const std::vector<MenuEntry>* Items(Hmenu menu) const;
  Hmenu SubMenu(Hmenu menu, int position) const;
  // By command (searching submenus too) or by position; a pop-up item takes its submenu along.
  bool Delete(Hmenu menu, unsigned item, unsigned flags);
  bool Destroy(Hmenu menu);
  std::size_t LiveCount() const { return menus_.size(); }

 private:
  bool DeleteByCommand(Hmenu menu, unsigned id);

  std::unordered_map<Hmenu, std::vector<MenuEntry>> menus_;
  std::uintptr_t next_ = 1;
};

}  // namespace fw::headless
