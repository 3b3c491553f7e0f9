// The virtual clock of the headless window system: window timers, posted messages and the
// nested loop of a message box.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::Delivered;
using framework_test::RecordingTarget;
using framework_test::TestResources;
using fw::Hwnd;
using fw::headless::HeadlessWindowSystem;
using fw::headless::MessageBoxRecord;

// Who got what when: "t=<ms since start> <window letter>:<timer id or posted message>".
class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a_ = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &targetA_);
    b_ = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &targetB_);
    for (RecordingTarget* t : {&targetA_, &targetB_}) {
      t->handler = [this, t](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
        const char* who = t == &targetA_ ? "a" : "b";
        if (msg == fw::wm::kTimer) Note(std::string(who) + ":" + std::to_string(wParam));
        if (msg == fw::wm::kUser) Note(std::string(who) + ":user" + std::to_string(wParam));
        return false;
      };
    }
    start_ = windows_.Now();
  }
  void TearDown() override {
    windows_.DestroyWindow(a_);
    windows_.DestroyWindow(b_);
  }
  void Note(const std::string& what) {
    events_.push_back("t=" + std::to_string(windows_.Now() - start_) + " " + what);
  }

  HeadlessWindowSystem windows_{TestResources(), 0xFFFFFF00u};
  RecordingTarget targetA_;
  RecordingTarget targetB_;
  Hwnd a_ = nullptr;
  Hwnd b_ = nullptr;
  std::uint32_t start_ = 0;
  std::vector<std::string> events_;
};

using Events = std::vector<std::string>;

TEST_F(ClockTest, TimersFireInTimeOrderWithTiesInTheOrderTheyWereSet) {
  windows_.SetTimer(a_, 1, 300);
  windows_.SetTimer(b_, 2, 200);
  windows_.SetTimer(a_, 3, 200);
  EXPECT_EQ(windows_.LiveTimerCount(), 3u);
  windows_.Advance(199);
  EXPECT_TRUE(events_.empty());
  windows_.Advance(401);
  EXPECT_EQ(events_, (Events{"t=200 b:2", "t=200 a:3", "t=300 a:1", "t=400 b:2", "t=400 a:3",
                             "t=600 a:1", "t=600 b:2", "t=600 a:3"}));
  EXPECT_EQ(windows_.Now() - start_, 600u);
}

TEST_F(ClockTest, SettingAgainRestartsAndKillingStops) {
  windows_.SetTimer(a_, 1, 100);
  windows_.Advance(80);
  EXPECT_EQ(windows_.SetTimer(a_, 1, 100), 1u);  // restarts: next at 180
  windows_.Advance(70);
  EXPECT_TRUE(events_.empty());
  windows_.Advance(30);
  EXPECT_EQ(events_, (Events{"t=180 a:1"}));
  EXPECT_TRUE(windows_.KillTimer(a_, 1));
  EXPECT_FALSE(windows_.KillTimer(a_, 1));
  EXPECT_FALSE(windows_.KillTimer(b_, 1)) << "timer ids belong to their window";
  windows_.Advance(1000);
  EXPECT_EQ(events_.size(), 1u);
  EXPECT_EQ(windows_.LiveTimerCount(), 0u);
}

TEST_F(ClockTest, HandlersMayKillOrResetTheirTimerAndPeriodsCountFromTheFiring) {
  targetA_.handler = [this](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
    if (msg != fw::wm::kTimer) return false;
    Note("a:" + std::to_string(wParam));
    if (wParam == 1) windows_.KillTimer(a_, 1);     // a one-shot
    if (wParam == 2) windows_.SetTimer(a_, 2, 50);  // a slower start, then faster
    if (wParam == 3) windows_.SetTimer(a_, 4, 10);  // a new timer from inside
    if (wParam == 4) windows_.KillTimer(a_, 4);
    return true;
  };
  windows_.SetTimer(a_, 1, 100);
  windows_.SetTimer(a_, 2, 120);
  windows_.SetTimer(a_, 3, 1000);
  windows_.Advance(230);
  EXPECT_EQ(events_, (Events{"t=100 a:1", "t=120 a:2", "t=170 a:2", "t=220 a:2"}));
  windows_.Advance(800);
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "t=1000 a:3"), 1);
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "t=1010 a:4"), 1);
  EXPECT_EQ(std::count_if(events_.begin(), events_.end(),
                          [](const std::string& e) { return e.ends_with("a:4"); }),
            1);
}

TEST_F(ClockTest, TimersHaveAMinimumPeriod) {
  windows_.SetTimer(a_, 1, 0);
  windows_.Advance(35);
  EXPECT_EQ(events_, (Events{"t=10 a:1", "t=20 a:1", "t=30 a:1"}));
}

TEST_F(ClockTest, DestroyingAWindowKillsItsTimersAndDropsItsPostedMessages) {
  windows_.SetTimer(a_, 1, 100);
  windows_.SetTimer(a_, 2, 100);
  windows_.SetTimer(b_, 1, 100);
  windows_.PostMessage(a_, fw::wm::kUser, 1, 0);
  windows_.DestroyWindow(a_);
  EXPECT_FALSE(windows_.HasTimer(a_, 1));
  EXPECT_EQ(windows_.LiveTimerCount(), 1u);
  EXPECT_EQ(windows_.PendingMessageCount(), 0u);
  windows_.Advance(100);
  EXPECT_EQ(events_, (Events{"t=100 b:1"}));
}

TEST_F(ClockTest, PostedMessagesComeInOrderAndBeforeTimersDueAtTheSameTime) {
  windows_.SetTimer(a_, 1, 100);
  EXPECT_TRUE(windows_.PostMessage(b_, fw::wm::kUser, 1, 0));
  EXPECT_TRUE(windows_.PostMessage(a_, fw::wm::kUser, 2, 0));
  EXPECT_TRUE(events_.empty()) << "posting delivers nothing by itself";
  EXPECT_EQ(windows_.PendingMessageCount(), 2u);
  // A timer handler posts; the message arrives before the next timer due then.
  targetB_.handler = [this](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kTimer) {
      Note("b:" + std::to_string(wParam));
      windows_.PostMessage(a_, fw::wm::kUser, 3, 0);
    }
    if (msg == fw::wm::kUser) Note("b:user" + std::to_string(wParam));
    return false;
  };
  windows_.SetTimer(b_, 7, 100);
  windows_.Advance(100);
  EXPECT_EQ(events_,
            (Events{"t=0 b:user1", "t=0 a:user2", "t=100 a:1", "t=100 b:7", "t=100 a:user3"}));
  windows_.PostMessage(a_, fw::wm::kUser, 4, 0);
  windows_.PumpMessages();
  EXPECT_EQ(events_.back(), "t=100 a:user4");
}

// Scripted answers and the records are what every system test reads; unscripted boxes
// take the answer that changes nothing.
TEST_F(ClockTest, UnscriptedMessageBoxesGiveTheSafeAnswer) {
  EXPECT_EQ(windows_.MessageBox(a_, "Done", "", fw::mb::kOk), fw::kIdOk);
  EXPECT_EQ(windows_.MessageBox(nullptr, "Sure?", "", fw::mb::kYesNo), fw::kIdNo);
  EXPECT_EQ(windows_.MessageBox(nullptr, "Go?", "", fw::mb::kOkCancel), fw::kIdCancel);
  EXPECT_EQ(windows_.UnscriptedMessageBoxCount(), 3u);
}

// Timers, posted messages and the disabled owner inside a box: WindowSystemTest, on both
// backends. Here: when each arrives on the virtual clock.
TEST_F(ClockTest, AMessageBoxDeliversPostedMessagesAtOnceAndTimersOnTime) {
  Hwnd check = windows_.GetDlgItem(a_, IDC_CHECK);
  windows_.ShowWindow(a_, fw::sw::kShow);
  int openSeenByTimer = -1;
  bool clickTakenDuringBox = true;
  targetA_.handler = [&](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
    if (msg != fw::wm::kTimer) return false;
    Note("a:" + std::to_string(wParam));
    openSeenByTimer = windows_.OpenMessageBoxCount();
    return true;
  };
  windows_.SetTimer(a_, 1, 200);
  windows_.PostMessage(b_, fw::wm::kUser, 9, 0);
  windows_.AnswerMessageBox([&](const MessageBoxRecord&) {
    clickTakenDuringBox = windows_.Click(check);
    windows_.Advance(450);
    return fw::kIdOk;
  });
  Note("box");
  EXPECT_EQ(windows_.MessageBox(check, "Wait", "", fw::mb::kOk), fw::kIdOk);
  Note("closed");
  EXPECT_EQ(events_, (Events{"t=0 box", "t=0 b:user9", "t=200 a:1", "t=400 a:1", "t=450 closed"}))
      << "posted messages arrive as soon as the box's loop runs";
  EXPECT_EQ(openSeenByTimer, 1);
  EXPECT_FALSE(clickTakenDuringBox) << "its owner's top-level window takes no clicks";
  EXPECT_EQ(windows_.OpenMessageBoxCount(), 0);
}

TEST_F(ClockTest, ABoxOpenedByATimerRunsItsOwnLoopAndTheOuterAdvanceResumesAfter) {
  // The classic re-entry: a 100 ms timer opens a box; inside it 250 ms pass.
  int depth = 0;
  targetA_.handler = [&](unsigned msg, fw::WParam, fw::LParam, fw::LResult*) {
    if (msg != fw::wm::kTimer) return false;
    Note("a:tick depth " + std::to_string(depth));
    if (depth == 0) {
      ++depth;
      windows_.MessageBox(a_, "Error", "", fw::mb::kOk);
      --depth;
    }
    return true;
  };
  windows_.AnswerMessageBox([&](const MessageBoxRecord&) {
    windows_.Advance(250);
    return fw::kIdOk;
  });
  windows_.SetTimer(a_, 1, 100);
  windows_.Advance(500);
  EXPECT_EQ(events_, (Events{"t=100 a:tick depth 0", "t=200 a:tick depth 1", "t=300 a:tick depth 1",
                             "t=400 a:tick depth 0", "t=500 a:tick depth 0"}));
  EXPECT_EQ(windows_.Now() - start_, 500u);
}

}  // namespace
