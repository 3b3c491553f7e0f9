// One window of the headless window system. Only the window system sees nodes; everyone
// else holds handles.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/messages.h"
#include "framework/window_system.h"

namespace fw::headless {

struct WindowNode {
  Hwnd handle = nullptr;
  std::string className;
  std::uint32_t style = 0;  // WS_VISIBLE and WS_DISABLED carry the visible and enabled state
  std::uint32_t exStyle = 0;
  int id = 0;
  std::string text;
  Rect rect;                   // in the parent's client pixels; screen pixels for top-level windows
  Hwnd parent = nullptr;       // child windows
  Hwnd owner = nullptr;        // owned top-level windows
  std::vector<Hwnd> children;  // z-order, first on top; creation order
  MessageTarget* target = nullptr;
  std::uint64_t creation = 0;
  bool destroying = false;

  // Dialogs.
  int templateId = 0;
  bool isDialog = false;

  // Buttons and statics.
  int check = 0;
  LParam image = 0;
  std::optional<std::uint16_t> imageOrdinal;

  // Combo boxes: the list's items; curSel is the selected item.
  std::vector<std::string> items;

  // Tab controls.
  struct Tab {
    std::string text;
    LParam param = 0;
  };
  std::vector<Tab> tabs;
  int curSel = -1;  // tab controls and combo boxes

  // Trackbars.
  int position = 0;
  int rangeMin = 0;
  int rangeMax = 100;
};

// Window class names compare without regard to case.
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, {}, lower, lower);
}

}  // namespace fw::headless
