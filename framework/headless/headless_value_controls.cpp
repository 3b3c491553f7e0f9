// Controls that hold a value the user picks: combo boxes and trackbars.
#include <algorithm>
#include <cstring>

#include "framework/headless/headless_window_system.h"
#include "framework/headless/win32_values.h"
#include "framework/headless/window_node.h"

namespace fw::headless {

namespace {

bool IsCombo(const WindowNode& n) {
  return EqualsIgnoreCase(n.className, "ComboBox");
}
bool IsTrackbar(const WindowNode& n) {
  return EqualsIgnoreCase(n.className, "msctls_trackbar32");
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

// --- Combo box ---------------------------------------------------------------------------

LResult HeadlessWindowSystem::ComboDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  WindowNode* n = Find(hwnd);
  const int count = static_cast<int>(n->items.size());
  const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  const char* text = reinterpret_cast<const char*>(lParam);
  switch (msg) {
    case cb::kAddString:
    case cb::kInsertString: {
      if (text == nullptr) return cb::kErr;
      int at = count;
      if (msg == cb::kInsertString) {
        if (index > count) return cb::kErr;
        if (index >= 0) at = index;
      } else if (n->style & cb::kSort) {
        at = 0;
        while (at < count && !(std::string_view(text) < n->items[at])) ++at;
      }
      n->items.insert(n->items.begin() + at, text);
      if (n->curSel >= at) ++n->curSel;
      return at;
    }
    case cb::kDeleteString:
      if (index < 0 || index >= count) return cb::kErr;
      n->items.erase(n->items.begin() + index);
      if (n->curSel == index) {
        n->curSel = -1;
      } else if (n->curSel > index) {
        --n->curSel;
      }
      return count - 1;
    case cb::kResetContent:
      n->items.clear();
      n->curSel = -1;
      return 0;
    case cb::kGetCount:
      return count;
    case cb::kGetCurSel:
      return n->curSel;
    case cb::kSetCurSel:
      // No notification: only a user's choice tells the parent.
      if (index < 0 || index >= count) {
        n->curSel = -1;
        return cb::kErr;
      }
      n->curSel = index;
      return index;
    case cb::kGetLbTextLen:
      if (index < 0 || index >= count) return cb::kErr;
      return static_cast<LResult>(n->items[index].size());
    case cb::kGetLbText: {
      if (index < 0 || index >= count || lParam == 0) return cb::kErr;
      const std::string& item = n->items[index];
      std::memcpy(reinterpret_cast<char*>(lParam), item.c_str(), item.size() + 1);
      return static_cast<LResult>(item.size());
    }
    case cb::kFindString:
    case cb::kSelectString: {
      if (text == nullptr || count == 0) return cb::kErr;
      // Searches from the item after `index` round to it, by prefix and without case.
      const int start = index < -1 || index >= count ? -1 : index;
      for (int step = 1; step <= count; ++step) {
        const int i = (start + step) % count;
        if (StartsWithIgnoreCase(n->items[i], text)) {
          if (msg == cb::kSelectString) n->curSel = i;
          return i;
        }
      }
      return cb::kErr;
    }
    case wm::kGetTextLength:
    case wm::kGetText:
    default:
      return 0;
  }
}

bool HeadlessWindowSystem::SelectComboItem(Hwnd combo, int index) {
  if (!AcceptsInput(combo)) return false;
  WindowNode* n = Find(combo);
  if (!IsCombo(*n) || index < 0 || index >= static_cast<int>(n->items.size())) return false;
  focus_ = combo;
  n->curSel = index;
  NotifyParentCommand(combo, cb::kNotifySelChange);
  return true;
}

std::vector<std::string> HeadlessWindowSystem::ComboItems(Hwnd combo) const {
  const WindowNode* n = Find(combo);
  return n == nullptr ? std::vector<std::string>() : n->items;
}

int HeadlessWindowSystem::ComboSelection(Hwnd combo) const {
  const WindowNode* n = Find(combo);
  return n == nullptr ? -1 : n->curSel;
}

// --- Trackbar ----------------------------------------------------------------------------

LResult HeadlessWindowSystem::TrackbarDefault(Hwnd hwnd, unsigned msg, WParam wParam,
                                              LParam lParam) {
  WindowNode* n = Find(hwnd);
  auto clamp = [n](int v) {
    return std::clamp(v, n->rangeMin, std::max(n->rangeMin, n->rangeMax));
  };
  switch (msg) {
    case tbm::kGetPos:
      return n->position;
    case tbm::kGetRangeMin:
      return n->rangeMin;
    case tbm::kGetRangeMax:
      return n->rangeMax;
    case tbm::kSetPos:
      n->position = clamp(static_cast<int>(lParam));
      return 0;
    case tbm::kSetRange:
      n->rangeMin = static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(lParam)));
      n->rangeMax = static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(lParam)));
      n->position = clamp(n->position);
      return 0;
    case win32::kTbmSetRangeMin:
      n->rangeMin = static_cast<int>(lParam);
      n->position = clamp(n->position);
      return 0;
    case win32::kTbmSetRangeMax:
      n->rangeMax = static_cast<int>(lParam);
      n->position = clamp(n->position);
      return 0;
    default:
      (void)wParam;
      return 0;
  }
}

void HeadlessWindowSystem::SendScroll(Hwnd trackbar, unsigned code, int position) {
  const WindowNode* n = Find(trackbar);
  if (n == nullptr || n->parent == nullptr) return;
  const unsigned msg = (n->style & tbm::kStyleVert) ? wm::kVScroll : wm::kHScroll;
  SendMessage(n->parent, msg, MakeWParam(code, static_cast<unsigned>(position)),
              reinterpret_cast<LParam>(trackbar));
}

bool HeadlessWindowSystem::DragSlider(Hwnd trackbar, int position) {
  if (!AcceptsInput(trackbar) || !IsTrackbar(*Find(trackbar))) return false;
  focus_ = trackbar;
  WindowNode* n = Find(trackbar);
  n->position = std::clamp(position, n->rangeMin, std::max(n->rangeMin, n->rangeMax));
  const int at = n->position;
  SendScroll(trackbar, tbm::kThumbTrack, at);
  SendScroll(trackbar, tbm::kThumbPosition, at);
  SendScroll(trackbar, tbm::kEndTrack, 0);
  NotifyParent(trackbar, nm::kReleasedCapture);
  return true;
}

bool HeadlessWindowSystem::MoveSliderWithKeys(Hwnd trackbar, int position) {
  if (!AcceptsInput(trackbar) || !IsTrackbar(*Find(trackbar))) return false;
  focus_ = trackbar;
  for (;;) {
    WindowNode* n = Find(trackbar);
    if (n == nullptr) return true;
    const int target = std::clamp(position, n->rangeMin, std::max(n->rangeMin, n->rangeMax));
    if (n->position == target) break;
    const bool down = target > n->position;
    n->position += down ? 1 : -1;
    SendScroll(trackbar, down ? tbm::kLineDown : tbm::kLineUp, 0);
  }
  SendScroll(trackbar, tbm::kEndTrack, 0);
  return true;
}

int HeadlessWindowSystem::SliderPosition(Hwnd trackbar) const {
  const WindowNode* n = Find(trackbar);
  return n == nullptr ? 0 : n->position;
}

std::pair<int, int> HeadlessWindowSystem::SliderRange(Hwnd trackbar) const {
  const WindowNode* n = Find(trackbar);
  return n == nullptr ? std::pair<int, int>() : std::pair<int, int>(n->rangeMin, n->rangeMax);
}

}  // namespace fw::headless
