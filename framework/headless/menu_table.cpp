#include "framework/headless/menu_table.h"

namespace fw::headless {

Hmenu MenuTable::Create(const std::vector<res::MenuItem>& items) {
  Hmenu menu = reinterpret_cast<Hmenu>(next_++ * 4 + 0x20000);
  std::vector<MenuEntry> entries;
  for (const res::MenuItem& item : items) {
    MenuEntry entry{item.flags, item.id, item.text, nullptr};
    if (item.IsPopup()) {
      entry.id = 0;
      entry.submenu = Create(item.items);
    }
    entries.push_back(std::move(entry));
  }
  menus_.emplace(menu, std::move(entries));
  return menu;
}

const std::vector<MenuEntry>* MenuTable::Items(Hmenu menu) const {
  auto it = menus_.find(menu);
  return it == menus_.end() ? nullptr : &it->second;
}

Hmenu MenuTable::SubMenu(Hmenu menu, int position) const {
  const std::vector<MenuEntry>* items = Items(menu);
  if (items == nullptr || position < 0 || position >= static_cast<int>(items->size())) {
    return nullptr;
  }
  return (*items)[static_cast<std::size_t>(position)].submenu;
}

bool MenuTable::DeleteByCommand(Hmenu menu, unsigned id) {
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  std::vector<MenuEntry>& items = it->second;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].submenu == nullptr && items[i].id == id && !items[i].IsSeparator()) {
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  for (const MenuEntry& e : items) {
    if (e.submenu != nullptr && DeleteByCommand(e.submenu, id)) return true;
  }
  return false;
}

bool MenuTable::Delete(Hmenu menu, unsigned item, unsigned flags) {
  if (!(flags & mf::kByPosition)) return DeleteByCommand(menu, item);
  auto it = menus_.find(menu);
  if (it == menus_.end() || item >= it->second.size()) return false;
  Hmenu sub = it->second[item].submenu;
  it->second.erase(it->second.begin() + static_cast<std::ptrdiff_t>(item));
  if (sub != nullptr) Destroy(sub);
  return true;
}

bool MenuTable::Destroy(Hmenu menu) {
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  std::vector<MenuEntry> items = std::move(it->second);
  menus_.erase(it);
  for (const MenuEntry& e : items) {
    if (e.submenu != nullptr) Destroy(e.submenu);
  }
  return true;
}

}  // namespace fw::headless
