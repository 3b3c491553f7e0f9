// The platform's controls in the headless window system: what buttons and tab controls do
// with their messages, and what a user's click or typing does to them.
#include <algorithm>
#include <cstring>

#include "framework/headless/headless_window_system.h"
#include "framework/headless/win32_values.h"
#include "framework/headless/window_node.h"

namespace fw::headless {

namespace {

std::uint32_t ButtonType(const WindowNode& n) {
  return n.style & bs::kTypeMask;
}

bool IsRadio(const WindowNode& n) {
  std::uint32_t type = ButtonType(n);
  return type == bs::kRadioButton || type == bs::kAutoRadioButton;
}

// Highest check state a button keeps; 0 for buttons that keep none.
int MaxCheck(const WindowNode& n) {
  switch (ButtonType(n)) {
    case bs::kCheckBox:
    case bs::kAutoCheckBox:
    case bs::kRadioButton:
    case bs::kAutoRadioButton:
      return bm::kChecked;
    case bs::k3State:
    case bs::kAuto3State:
      return static_cast<int>(win32::kBstIndeterminate);
    default:
      return 0;
  }
}

bool IsButton(const WindowNode& n) {
  return EqualsIgnoreCase(n.className, "Button");
}
bool IsTab(const WindowNode& n) {
  return EqualsIgnoreCase(n.className, "SysTabControl32");
}

}  // namespace

void HeadlessWindowSystem::NotifyParentCommand(Hwnd control, unsigned code) {
  const WindowNode* n = Find(control);
  if (n == nullptr || n->parent == nullptr) return;
  SendMessage(n->parent, wm::kCommand, MakeWParam(static_cast<unsigned>(n->id), code),
              reinterpret_cast<LParam>(control));
}

LResult HeadlessWindowSystem::NotifyParent(Hwnd control, unsigned code) {
  const WindowNode* n = Find(control);
  if (n == nullptr || n->parent == nullptr) return 0;
  NmHdr header{control, static_cast<std::uintptr_t>(n->id), code};
  return SendMessage(n->parent, wm::kNotify, static_cast<WParam>(n->id),
                     reinterpret_cast<LParam>(&header));
}

// --- Buttons -----------------------------------------------------------------------------

LResult HeadlessWindowSystem::ButtonDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  WindowNode* n = Find(hwnd);
  switch (msg) {
    case bm::kGetCheck:
    case bm::kGetState:
      return MaxCheck(*n) > 0 ? n->check : 0;
    case bm::kSetCheck:
      if (MaxCheck(*n) > 0) {
        n->check = std::min(static_cast<int>(wParam), MaxCheck(*n));
      }
      return 0;
    case bm::kClick:
      Click(hwnd);
      return 0;
    case bm::kSetImage: {
      LParam previous = n->image;
      n->image = lParam;
      return previous;
    }
    default:
      return 0;
  }
}

// An auto radio button clears the other radio buttons of its group: the run of siblings
// from the closest WS_GROUP control at or before it up to the next WS_GROUP control.
void HeadlessWindowSystem::CheckAutoRadio(Hwnd button) {
  const WindowNode* n = Find(button);
  const WindowNode* parent = Find(n->parent);
  if (parent == nullptr) return;
  const std::vector<Hwnd>& siblings = parent->children;
  auto self = std::ranges::find(siblings, button);
  auto first = self;
  while (first != siblings.begin() && !(Find(*first)->style & ws::kGroup)) --first;
  auto last = self + 1;
  while (last != siblings.end() && !(Find(*last)->style & ws::kGroup)) ++last;
  for (auto it = first; it != last; ++it) {
    WindowNode* other = Find(*it);
    if (*it != button && IsButton(*other) && IsRadio(*other)) other->check = bm::kUnchecked;
  }
}

bool HeadlessWindowSystem::Click(Hwnd control) {
  if (!AcceptsInput(control)) return false;
  WindowNode* n = Find(control);
  if (IsButton(*n)) {
    if (ButtonType(*n) == bs::kGroupBox) return false;
    focus_ = control;
    switch (ButtonType(*n)) {
      case bs::kAutoCheckBox:
        n->check = n->check == bm::kUnchecked ? bm::kChecked : bm::kUnchecked;
        break;
      case bs::kAuto3State:
        n->check = (n->check + 1) % 3;
        break;
      case bs::kAutoRadioButton:
        n->check = bm::kChecked;
        CheckAutoRadio(control);
        break;
      default:
        break;
    }
    NotifyParentCommand(control, bm::kNotifyClicked);
    return true;
  }
  if (EqualsIgnoreCase(n->className, "Static") && (n->style & win32::kSsNotify)) {
    NotifyParentCommand(control, win32::kStnClicked);
    return true;
  }
  return false;
}

bool HeadlessWindowSystem::Click(Hwnd dialog, int id) {
  return Click(Control(dialog, id));
}

int HeadlessWindowSystem::GetCheck(Hwnd button) const {
  const WindowNode* n = Find(button);
  return n != nullptr && IsButton(*n) && MaxCheck(*n) > 0 ? n->check : 0;
}

std::optional<std::uint16_t> HeadlessWindowSystem::ImageOrdinal(Hwnd control) const {
  const WindowNode* n = Find(control);
  return n == nullptr ? std::nullopt : n->imageOrdinal;
}

bool HeadlessWindowSystem::Close(Hwnd window) {
  if (!AcceptsInput(window)) return false;
  SendMessage(window, wm::kSysCommand, win32::kScClose, 0);
  PumpMessages();
  return true;
}

bool HeadlessWindowSystem::TypeText(Hwnd edit, std::string_view text) {
  if (!AcceptsInput(edit)) return false;
  WindowNode* n = Find(edit);
  if (!EqualsIgnoreCase(n->className, "Edit")) return false;
  focus_ = edit;
  n->text = std::string(text);
  NotifyParentCommand(edit, win32::kEnChange);
  return true;
}

// --- Tab control -------------------------------------------------------------------------

LResult HeadlessWindowSystem::TabDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  WindowNode* n = Find(hwnd);
  const int count = static_cast<int>(n->tabs.size());
  const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  switch (msg) {
    case tcm::kGetItemCount:
      return count;
    case tcm::kGetCurSel:
      return n->curSel;
    case tcm::kSetCurSel: {
      // No notification: only a user's click tells the parent.
      if (index < 0 || index >= count) return -1;
      int previous = n->curSel;
      n->curSel = index;
      return previous;
    }
    case tcm::kInsertItemA: {
      const auto* item = reinterpret_cast<const TabItem*>(lParam);
      if (item == nullptr || index < 0) return -1;
      const int at = std::min(index, count);
      WindowNode::Tab tab;
      if ((item->mask & tcm::kIfText) && item->text != nullptr) tab.text = item->text;
      tab.param = item->param;
      n->tabs.insert(n->tabs.begin() + at, std::move(tab));
      // The first tab inserted becomes the selection; later ones keep it on its tab.
      if (n->curSel < 0) {
        n->curSel = 0;
      } else if (at <= n->curSel) {
        ++n->curSel;
      }
      return at;
    }
    case win32::kTcmGetItemA: {
      auto* item = reinterpret_cast<TabItem*>(lParam);
      if (item == nullptr || index < 0 || index >= count) return 0;
      const WindowNode::Tab& tab = n->tabs[static_cast<std::size_t>(index)];
      if ((item->mask & tcm::kIfText) && item->text != nullptr && item->textMax > 0) {
        std::size_t copied = std::min(tab.text.size(), static_cast<std::size_t>(item->textMax - 1));
        std::memcpy(item->text, tab.text.data(), copied);
        item->text[copied] = '\0';
      }
      item->param = tab.param;
      return 1;
    }
    case win32::kTcmDeleteItem:
      if (index < 0 || index >= count) return 0;
      n->tabs.erase(n->tabs.begin() + index);
      if (n->curSel == index) {
        n->curSel = -1;
      } else if (n->curSel > index) {
        --n->curSel;
      }
      return 1;
    case win32::kTcmDeleteAllItems:
      n->tabs.clear();
      n->curSel = -1;
      return 1;
    case tcm::kAdjustRect: {
      auto* rect = reinterpret_cast<Rect*>(lParam);
      if (rect == nullptr) return 0;
      // FALSE: window rectangle to display area; TRUE: display area to window rectangle.
      const int sign = wParam != 0 ? -1 : 1;
      rect->left += sign * win32::kTabBorder;
      rect->right -= sign * win32::kTabBorder;
      rect->top += sign * (win32::kTabRowHeight + win32::kTabBorder);
      rect->bottom -= sign * win32::kTabBorder;
      return 0;
    }
    default:
      return 0;
  }
}

bool HeadlessWindowSystem::SelectTab(Hwnd tab, int index) {
  if (!AcceptsInput(tab)) return false;
  WindowNode* n = Find(tab);
  if (!IsTab(*n) || index < 0 || index >= static_cast<int>(n->tabs.size())) return false;
  if (n->curSel == index) return false;
  if (NotifyParent(tab, tcm::kNotifySelChanging) != 0) return false;
  n = Find(tab);
  if (n == nullptr || index >= static_cast<int>(n->tabs.size())) return false;
  n->curSel = index;
  NotifyParent(tab, tcm::kNotifySelChange);
  return true;
}

int HeadlessWindowSystem::TabCount(Hwnd tab) const {
  const WindowNode* n = Find(tab);
  return n == nullptr ? 0 : static_cast<int>(n->tabs.size());
}

int HeadlessWindowSystem::TabSelection(Hwnd tab) const {
  const WindowNode* n = Find(tab);
  return n == nullptr ? -1 : n->curSel;
}

std::string HeadlessWindowSystem::TabText(Hwnd tab, int index) const {
  const WindowNode* n = Find(tab);
  if (n == nullptr || index < 0 || index >= static_cast<int>(n->tabs.size())) return {};
  return n->tabs[static_cast<std::size_t>(index)].text;
}

}  // namespace fw::headless
