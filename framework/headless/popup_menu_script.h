// Pop-up menus in tests: what each tracked menu showed, and the picks a test scripted in
// advance. An unscripted menu is dismissed, as by a click elsewhere.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/messages.h"

namespace fw::headless {

struct PopupMenuItem {
  unsigned id = 0;
  std::string text;
  bool grayed = false;
  bool separator = false;
  bool popup = false;
};

struct PopupMenuRecord {
  Hmenu menu = nullptr;
  std::vector<PopupMenuItem> items;  // as shown
  Point at;
  unsigned flags = 0;
  Hwnd owner = nullptr;
  unsigned chosen = 0;    // the command that was chosen; 0 when the menu was dismissed
  bool refused = false;   // the pick named an item that can't be chosen
  bool scripted = false;  // false: no pick was scripted and the menu was dismissed
};

// What the user does with a menu: pick a command, pick the item at a position, or dismiss.
struct MenuPick {
  enum class Kind { Dismiss, Command, Position };
  Kind kind = Kind::Dismiss;
  unsigned value = 0;

  static MenuPick Dismiss() { return {}; }
  static MenuPick Command(unsigned id) { return {Kind::Command, id}; }
  static MenuPick Position(unsigned index) { return {Kind::Position, index}; }
};

// Picks from a menu; may act while the menu is open (send messages, advance the clock, ...).
using PopupMenuAnswer = std::function<MenuPick(const PopupMenuRecord&)>;

class PopupMenuScript {
 public:
  void Push(MenuPick pick) {
    answers_.push_back([pick](const PopupMenuRecord&) { return pick; });
  }
  void Push(PopupMenuAnswer answer) { answers_.push_back(std::move(answer)); }
  std::optional<PopupMenuAnswer> Next() {
    if (answers_.empty()) return std::nullopt;
    PopupMenuAnswer next = std::move(answers_.front());
    answers_.pop_front();
    return next;
  }
  std::size_t Pending() const { return answers_.size(); }

 private:
  std::deque<PopupMenuAnswer> answers_;
};

}  // namespace fw::headless
