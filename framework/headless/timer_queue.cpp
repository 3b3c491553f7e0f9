#include "framework/headless/timer_queue.h"

#include <algorithm>

namespace fw::headless {

std::vector<TimerEntry>::iterator TimerQueue::Lookup(Hwnd hwnd, std::uintptr_t id) {
  return std::ranges::find_if(timers_,
                              [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id; });
}

void TimerQueue::Set(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs, std::uint64_t now) {
  TimerEntry entry{hwnd, id, elapseMs, now + elapseMs, nextOrder_++};
  auto it = Lookup(hwnd, id);
  if (it != timers_.end()) {
    *it = entry;
  } else {
    timers_.push_back(entry);
  }
}

bool TimerQueue::Kill(Hwnd hwnd, std::uintptr_t id) {
  auto it = Lookup(hwnd, id);
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TimerQueue::KillAll(Hwnd hwnd) {
  std::erase_if(timers_, [&](const TimerEntry& t) { return t.hwnd == hwnd; });
}

std::optional<TimerEntry> TimerQueue::NextDue(std::uint64_t limit) const {
  const TimerEntry* best = nullptr;
  for (const TimerEntry& t : timers_) {
    if (t.due > limit) continue;
    if (best == nullptr || t.due < best->due || (t.due == best->due && t.order < best->order)) {
      best = &t;
    }
  }
  if (best == nullptr) return std::nullopt;
  return *best;
}

void TimerQueue::Rearm(Hwnd hwnd, std::uintptr_t id, std::uint64_t firedAt) {
  auto it = Lookup(hwnd, id);
  if (it != timers_.end()) it->due = firedAt + it->elapseMs;
}

bool TimerQueue::Has(Hwnd hwnd, std::uintptr_t id) const {
  return std::ranges::any_of(timers_,
                             [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id; });
}

}  // namespace fw::headless
