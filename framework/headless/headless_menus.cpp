// Menus, pop-up menu tracking, the cursor, the foreground window and icons of the headless
// window system.
#include <optional>

#include "framework/headless/headless_window_system.h"
#include "framework/headless/window_node.h"
#include "framework/resources/menu_template.h"

namespace fw::headless {

namespace {

// The command a pick names in `menu`, or nullopt when it names nothing that can be chosen.
// A command is looked for in submenus too, as a user can open them.
std::optional<unsigned> FindCommand(const MenuTable& menus, Hmenu menu, unsigned id) {
  const std::vector<MenuEntry>* items = menus.Items(menu);
  if (items == nullptr) return std::nullopt;
  for (const MenuEntry& entry : *items) {
    if (entry.IsPopup()) {
      if (std::optional<unsigned> found = FindCommand(menus, entry.submenu, id)) return found;
    } else if (!entry.IsSeparator() && entry.id == id) {
      if (entry.IsGrayed()) return std::nullopt;
      return id;
    }
  }
  return std::nullopt;
}

std::optional<unsigned> Resolve(const MenuTable& menus, Hmenu menu, const MenuPick& pick) {
  const std::vector<MenuEntry>* items = menus.Items(menu);
  if (items == nullptr) return std::nullopt;  // gone while it was shown
  switch (pick.kind) {
    case MenuPick::Kind::Dismiss:
      return std::nullopt;
    case MenuPick::Kind::Command:
      return FindCommand(menus, menu, pick.value);
    case MenuPick::Kind::Position: {
      if (pick.value >= items->size()) return std::nullopt;
      const MenuEntry& entry = (*items)[pick.value];
      if (entry.IsPopup() || entry.IsSeparator() || entry.IsGrayed()) return std::nullopt;
      return entry.id;
    }
  }
  return std::nullopt;
}

}  // namespace

Hmenu HeadlessWindowSystem::LoadMenu(int menuId) {
  if (menuId <= 0 || menuId > 0xFFFF) return nullptr;
  const res::ResourceEntry* entry =
      resources_->Find(res::ResourceId::Number(res::kTypeMenu),
                       res::ResourceId::Number(static_cast<std::uint16_t>(menuId)));
  if (entry == nullptr) return nullptr;
  std::optional<res::MenuTemplate> parsed = res::ParseMenuTemplate(entry->data);
  return parsed ? menus_.Create(*parsed) : nullptr;
}

Hmenu HeadlessWindowSystem::GetSubMenu(Hmenu menu, int position) {
  return menus_.SubMenu(menu, position);
}

bool HeadlessWindowSystem::DeleteMenu(Hmenu menu, unsigned item, unsigned flags) {
  return menus_.Delete(menu, item, flags);
}

bool HeadlessWindowSystem::DestroyMenu(Hmenu menu) {
  return menus_.Destroy(menu);
}

int HeadlessWindowSystem::TrackPopupMenu(Hmenu menu, unsigned flags, int x, int y, Hwnd owner) {
  const std::vector<MenuEntry>* items = menus_.Items(menu);
  if (items == nullptr || Find(owner) == nullptr) return 0;

  PopupMenuRecord shown;
  shown.menu = menu;
  shown.at = {x, y};
  shown.flags = flags;
  shown.owner = owner;
  for (const MenuEntry& entry : *items) {
    shown.items.push_back(
        {entry.id, entry.text, entry.IsGrayed(), entry.IsSeparator(), entry.IsPopup()});
  }
  const std::size_t index = popups_.size();
  popups_.push_back(shown);

  ++openPopups_;
  MenuPick pick = MenuPick::Dismiss();
  bool scripted = false;
  if (std::optional<PopupMenuAnswer> next = menuScript_.Next()) {
    scripted = true;
    pick = (*next)(shown);
  }
  --openPopups_;

  const std::optional<unsigned> chosen = Resolve(menus_, menu, pick);
  PopupMenuRecord& record = popups_[index];
  record.scripted = scripted;
  record.refused = pick.kind != MenuPick::Kind::Dismiss && !chosen;
  record.chosen = chosen.value_or(0);

  if (flags & tpm::kReturnCmd) return static_cast<int>(record.chosen);
  // The owner gets the command once the menu has closed.
  if (chosen) PostMessage(owner, wm::kCommand, MakeWParam(*chosen, 0), 0);
  return 1;
}

bool HeadlessWindowSystem::SetForegroundWindow(Hwnd hwnd) {
  if (Find(hwnd) == nullptr) return false;
  foreground_ = hwnd;
  return true;
}

Hicon HeadlessWindowSystem::LoadIcon(int iconId) {
  if (iconId <= 0 || iconId > 0xFFFF) return nullptr;
  if (resources_->Find(res::ResourceId::Number(res::kTypeGroupIcon),
                       res::ResourceId::Number(static_cast<std::uint16_t>(iconId))) == nullptr) {
    return nullptr;
  }
  // Icon handles live in a range of their own and are never reused.
  const Hicon icon = reinterpret_cast<Hicon>(nextIcon_++ * 4 + 0x30000000);
  icons_.emplace(icon, iconId);
  return icon;
}

bool HeadlessWindowSystem::DestroyIcon(Hicon icon) {
  return icons_.erase(icon) != 0;
}

int HeadlessWindowSystem::IconResourceId(Hicon icon) const {
  auto it = icons_.find(icon);
  return it == icons_.end() ? 0 : it->second;
}

}  // namespace fw::headless
