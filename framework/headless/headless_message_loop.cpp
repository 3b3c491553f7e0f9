// The message loop side of the headless window system: posted messages, window timers on
// the virtual clock, message boxes and modal runs, each of which runs a nested loop.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "framework/headless/headless_window_system.h"
#include "framework/headless/window_node.h"

namespace fw::headless {

namespace {
// A test that keeps posting from its own posted messages never ends; stop it loudly.
constexpr std::size_t kMaxMessagesPerPump = 1'000'000;
}  // namespace

void HeadlessWindowSystem::PumpMessages() {
  std::size_t delivered = 0;
  while (!posted_.empty()) {
    Posted p = posted_.front();
    posted_.pop_front();
    if (++delivered > kMaxMessagesPerPump) {
      std::fprintf(stderr, "headless window system: posted messages never stop\n");
      std::abort();
    }
    if (p.msg == wm::kPaint) {
      paintQueued_.erase(p.hwnd);
      if (!IsWindowVisible(p.hwnd)) continue;  // hidden before its paint came
    }
    SendMessage(p.hwnd, p.msg, p.wParam, p.lParam);
  }
}

void HeadlessWindowSystem::QueuePaint(Hwnd hwnd) {
  if (!paintQueued_.insert(hwnd).second) return;
  posted_.push_back({hwnd, wm::kPaint, 0, 0});
}

void HeadlessWindowSystem::Advance(std::uint32_t ms) {
  // The target is absolute: a nested loop inside a handler may already have moved past it.
  const std::uint64_t target = elapsed_ + ms;
  PumpMessages();
  while (std::optional<TimerEntry> timer = timers_.NextDue(target)) {
    elapsed_ = std::max(elapsed_, timer->due);
    timers_.Rearm(timer->hwnd, timer->id, timer->due);
    SendMessage(timer->hwnd, wm::kTimer, timer->id, 0);
    PumpMessages();
  }
  elapsed_ = std::max(elapsed_, target);
}

std::uintptr_t HeadlessWindowSystem::SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs) {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr || n->destroying) return 0;
  timers_.Set(hwnd, id, std::max(elapseMs, kMinimumTimerMs), elapsed_);
  return id == 0 ? 1 : id;
}

bool HeadlessWindowSystem::KillTimer(Hwnd hwnd, std::uintptr_t id) {
  if (Find(hwnd) == nullptr) return false;
  return timers_.Kill(hwnd, id);
}

// --- Message boxes -----------------------------------------------------------------------

int HeadlessWindowSystem::MessageBox(Hwnd owner, std::string_view text, std::string_view caption,
                                     unsigned type) {
  const std::size_t index = boxes_.size();
  boxes_.push_back({owner, std::string(text), std::string(caption), type, 0, false});
  const MessageBoxRecord shown = boxes_[index];

  // The box is modal to the owner's top-level window.
  const Hwnd root = RootOf(owner);
  const bool disabledRoot = root != nullptr && IsWindowEnabled(root);
  if (disabledRoot) EnableWindow(root, false);
  ++openBoxes_;

  // The box's loop delivers what is waiting before the user gets to answer.
  PumpMessages();
  int answer = 0;
  bool scripted = false;
  if (std::optional<MessageBoxAnswer> next = script_.Next()) {
    scripted = true;
    answer = (*next)(shown);
  } else {
    answer = MessageBoxScript::DefaultAnswer(type);
  }

  --openBoxes_;
  boxes_[index].answer = answer;
  boxes_[index].scripted = scripted;
  if (disabledRoot && Find(root) != nullptr) EnableWindow(root, true);
  return answer;
}

std::size_t HeadlessWindowSystem::UnscriptedMessageBoxCount() const {
  return static_cast<std::size_t>(
      std::ranges::count_if(boxes_, [](const MessageBoxRecord& b) { return !b.scripted; }));
}

// --- Modal runs --------------------------------------------------------------------------

std::intptr_t HeadlessWindowSystem::RunModalDialog(int templateId, Hwnd owner,
                                                   MessageTarget* target) {
  if (owner != nullptr && Find(owner) == nullptr) return -1;
  const Hwnd root = RootOf(owner);
  const bool disabledRoot = root != nullptr && IsWindowEnabled(root);
  if (disabledRoot) EnableWindow(root, false);

  ModalRun run;
  modalRuns_.push_back(&run);
  Hwnd dialog = BuildDialog(templateId, root, target, &run);
  if (dialog != nullptr && !run.ended) {
    ShowWindow(dialog, sw::kShowNormal);
    PumpMessages();
    if (!run.ended && Find(dialog) != nullptr && modalDriver_) {
      ModalDriver driver = modalDriver_;  // the driver may replace itself
      driver(dialog);
    }
  }
  std::erase(modalRuns_, &run);

  std::intptr_t result = -1;
  if (run.ended) {
    result = run.result;
  } else if (dialog != nullptr) {
    ++abandonedModalRuns_;
  }
  if (disabledRoot && Find(root) != nullptr) EnableWindow(root, true);
  if (Find(run.dialog) != nullptr) DestroyWindow(run.dialog);
  return result;
}

void HeadlessWindowSystem::EndDialog(Hwnd dialog, std::intptr_t result) {
  WindowNode* n = Find(dialog);
  if (n == nullptr) return;
  for (ModalRun* run : modalRuns_) {
    if (run->dialog == dialog) {
      run->ended = true;
      run->result = result;
    }
  }
  ShowWindow(dialog, sw::kHide);
}

}  // namespace fw::headless
