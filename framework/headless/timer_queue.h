// Window timers on a virtual time line: which timer falls due next, in time order with ties
// broken by the order the timers were set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "framework/messages.h"

namespace fw::headless {

struct TimerEntry {
  Hwnd hwnd = nullptr;
  std::uintptr_t id = 0;
  unsigned elapseMs = 0;
  std::uint64_t due = 0;    // virtual time of the next firing
  std::uint64_t order = 0;  // when the timer was set, for ties
};

class TimerQueue {
 public:
  // Sets or restarts the timer (hwnd, id) to fall due `elapseMs` after `now`.
  void Set(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs, std::uint64_t now);
  bool Kill(Hwnd hwnd, std::uintptr_t id);
  void KillAll(Hwnd hwnd);
  // The earliest timer due at or before `limit`.
  std::optional<TimerEntry> NextDue(std::uint64_t limit) const;
  // The timer fired at `firedAt`; it next falls due one period later.
  void Rearm(Hwnd hwnd, std::uintptr_t id, std::uint64_t firedAt);
  bool Has(Hwnd hwnd, std::uintptr_t id) const;
  std::size_t Count() const { return timers_.size(); }

 private:
  std::vector<TimerEntry>::iterator Lookup(Hwnd hwnd, std::uintptr_t id);

  std::vector<TimerEntry> timers_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace fw::headless
