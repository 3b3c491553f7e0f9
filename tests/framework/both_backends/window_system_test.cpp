// The window system's contract, on both window systems: dialogs from templates, sent and
// posted messages, modal runs, timers, message boxes and pop-up menus.
#include "framework/window_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/framework/both_backends/test_backend.h"
#include "tests/framework/framework_test_ids.h"
#include "tests/framework/framework_test_support.h"

namespace {

using framework_test::RecordingTarget;
using fw::Hwnd;

constexpr unsigned kAnswered = fw::wm::kUser + 1;  // handled: replies 1234
constexpr unsigned kIgnored = fw::wm::kUser + 2;   // left to the default processing
constexpr unsigned kPosted = fw::wm::kUser + 3;

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { windowsBefore_ = backend_->LiveWindowCount(); }
  void TearDown() override { EXPECT_EQ(backend_->LiveWindowCount(), windowsBefore_); }
  // Counts the ticks of timer `id` that reach `target`, and calls `onTick` with the count.
  void CountTicks(RecordingTarget& target, std::uintptr_t id, int* ticks,
                  std::function<void(int)> onTick = {}) {
    target.handler = [=](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
      if (msg != fw::wm::kTimer || wParam != id) return false;
      ++*ticks;
      if (onTick) onTick(*ticks);
      return true;
    };
  }

  std::unique_ptr<framework_test::TestBackend> backend_ = framework_test::MakeBackend();
  fw::WindowSystem& windows_ = backend_->Windows();
  std::size_t windowsBefore_ = 0;
};

TEST_F(WindowSystemTest, ADialogIsMadeFromItsTemplateAndItsTargetSeesItFromInitToTheEnd) {
  RecordingTarget target;
  Hwnd inInit = nullptr;
  target.handler = [&](unsigned msg, fw::WParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kInitDialog) inInit = target.Hwnd();
    return false;
  };
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(inInit, form) << "attached before WM_INITDIALOG";
  EXPECT_EQ(windows_.GetClassName(form), "#32770");
  EXPECT_EQ(windows_.GetWindowText(form), "Form");
  EXPECT_FALSE(windows_.IsWindowVisible(form)) << "the template has no WS_VISIBLE";

  const Hwnd check = windows_.GetDlgItem(form, IDC_CHECK);
  EXPECT_EQ(windows_.GetClassName(check), "Button");
  EXPECT_EQ(windows_.GetDlgCtrlId(check), IDC_CHECK);
  EXPECT_EQ(windows_.GetParent(check), form);
  EXPECT_FALSE(windows_.IsWindowVisible(windows_.GetDlgItem(form, IDC_HIDDEN)));
  EXPECT_FALSE(windows_.IsWindowEnabled(windows_.GetDlgItem(form, IDC_DISABLED)));

  RecordingTarget page;
  const Hwnd child = windows_.CreateDialogFromTemplate(IDD_PAGE_A, form, &page);
  EXPECT_EQ(windows_.GetParent(child), form);
  EXPECT_NE(windows_.GetStyle(child) & fw::ws::kChild, 0u);
  EXPECT_EQ(windows_.GetWindowText(child), "Alpha") << "a page keeps its caption as its text";

  EXPECT_TRUE(windows_.DestroyWindow(form));
  EXPECT_FALSE(windows_.IsWindow(check));
  EXPECT_FALSE(windows_.IsWindow(child));
  for (const RecordingTarget* t : {&target, &page}) {
    EXPECT_EQ(t->detached, 1);
    ASSERT_FALSE(t->Journal().empty());
    EXPECT_EQ(t->Journal().back().msg, fw::wm::kNcDestroy) << "detached after its last message";
  }
}

TEST_F(WindowSystemTest, SentMessagesAnswerAtOncePostedOnesWaitForTheLoop) {
  RecordingTarget target;
  target.handler = [](unsigned msg, fw::WParam, fw::LParam, fw::LResult* result) {
    if (msg != kAnswered) return false;
    *result = 1234;
    return true;
  };
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  EXPECT_EQ(windows_.SendMessage(form, kAnswered, 0, 0), 1234);
  EXPECT_EQ(windows_.SendMessage(form, kIgnored, 0, 0), 0);
  EXPECT_TRUE(windows_.PostMessage(form, kPosted, 5, 6));
  EXPECT_TRUE(target.Of(kPosted).empty());
  backend_->RunFor(0);
  ASSERT_EQ(target.Of(kPosted).size(), 1u);
  EXPECT_EQ(target.Of(kPosted)[0].lParam, 6);
  windows_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, StateAndTextRoundTripAndEndDialogOnlyHidesAModelessDialog) {
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  const Hwnd ok = windows_.GetDlgItem(form, fw::kIdOk);
  EXPECT_FALSE(windows_.EnableWindow(ok, false)) << "it was enabled";
  EXPECT_FALSE(windows_.IsWindowEnabled(ok));
  EXPECT_TRUE(windows_.EnableWindow(ok, true)) << "it was disabled";
  windows_.SetWindowText(ok, "Fine");
  EXPECT_EQ(windows_.GetWindowText(ok), "Fine");

  EXPECT_FALSE(windows_.ShowWindow(form, fw::sw::kShow)) << "it was hidden";
  EXPECT_TRUE(windows_.IsWindowVisible(form));
  windows_.EndDialog(form, fw::kIdOk);
  EXPECT_TRUE(windows_.IsWindow(form));
  EXPECT_FALSE(windows_.IsWindowVisible(form));

  const Hwnd tabs =
      windows_.CreateControl(form, "SysTabControl32", "", fw::ws::kChild, {0, 0, 200, 100}, 0x3020);
  EXPECT_EQ(windows_.GetClassName(tabs), "SysTabControl32");
  EXPECT_EQ(windows_.GetDlgCtrlId(tabs), 0x3020);
  EXPECT_EQ(windows_.GetWindowRect(tabs).Width(), 200);
  windows_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, AModalRunKeepsTimersGoingWithItsOwnerDisabledAndReturnsTheResult) {
  RecordingTarget owner;
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &owner);
  windows_.ShowWindow(form, fw::sw::kShow);
  RecordingTarget modal;
  int ticks = 0;
  bool ownerEnabled = true;
  modal.handler = [&](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kInitDialog) windows_.SetTimer(modal.Hwnd(), 7, 20);
    if (msg != fw::wm::kTimer || wParam != 7) return false;
    ownerEnabled = windows_.IsWindowEnabled(form);
    if (++ticks == 3) {
      windows_.KillTimer(modal.Hwnd(), 7);
      windows_.EndDialog(modal.Hwnd(), 42);
    }
    return true;
  };
  EXPECT_EQ(windows_.RunModalDialog(IDD_FORM, form, &modal), 42);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(windows_.IsWindowEnabled(form));
  EXPECT_EQ(modal.detached, 1);

  RecordingTarget missing;
  EXPECT_EQ(windows_.RunModalDialog(9999, form, &missing), -1);
  EXPECT_EQ(missing.attached, 0);
  EXPECT_TRUE(windows_.IsWindowEnabled(form));
  windows_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, TimersRepeatUntilKilled) {
  RecordingTarget target;
  int ticks = 0;
  CountTicks(target, 1, &ticks);
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  EXPECT_EQ(windows_.SetTimer(form, 1, 20), 1u);
  backend_->RunFor(300);
  EXPECT_GE(ticks, 3);
  EXPECT_TRUE(windows_.KillTimer(form, 1));
  EXPECT_FALSE(windows_.KillTimer(form, 1));
  const int killedAt = ticks;
  backend_->RunFor(100);
  EXPECT_EQ(ticks, killedAt);
  windows_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, TimersAndPostedMessagesKeepComingWhileAMessageBoxIsOpen) {
  RecordingTarget target;
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  windows_.ShowWindow(form, fw::sw::kShow);
  int ticks = 0;
  bool ownerEnabled = true;
  CountTicks(target, 1, &ticks, [&](int) { ownerEnabled = windows_.IsWindowEnabled(form); });
  windows_.SetTimer(form, 1, 50);
  windows_.PostMessage(form, kPosted, 0, 0);
  backend_->AnswerNextMessageBox(fw::kIdNo, [&] { return ticks >= 3; });
  EXPECT_EQ(windows_.MessageBox(form, "Wait", "Box", fw::mb::kYesNo), fw::kIdNo);
  EXPECT_GE(ticks, 3) << "the ticks came inside the box";
  EXPECT_EQ(target.Of(kPosted).size(), 1u);
  EXPECT_FALSE(ownerEnabled) << "the box is modal to its owner";
  EXPECT_TRUE(windows_.IsWindowEnabled(form));
  windows_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, APopupMenuReturnsOrPostsTheChoice) {
  RecordingTarget target;
  const Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  windows_.ShowWindow(form, fw::sw::kShow);
  const fw::Hmenu menu = windows_.LoadMenu(IDR_MENU);
  const fw::Hmenu popup = windows_.GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(windows_.GetSubMenu(popup, 0), nullptr) << "a command has no submenu";
  const fw::Rect at = windows_.GetWindowRect(form);

  backend_->AnswerNextPopupMenu(1);
  EXPECT_EQ(windows_.TrackPopupMenu(popup, fw::tpm::kReturnCmd, at.left, at.top, form), IDM_SECOND);
  backend_->AnswerNextPopupMenu(-1);
  EXPECT_EQ(windows_.TrackPopupMenu(popup, fw::tpm::kReturnCmd, at.left, at.top, form), 0)
      << "dismissed";
  backend_->RunFor(0);
  EXPECT_TRUE(target.Of(fw::wm::kCommand).empty()) << "a returned choice is not posted";

  backend_->AnswerNextPopupMenu(0);
  EXPECT_NE(windows_.TrackPopupMenu(popup, 0, at.left, at.top, form), 0);
  EXPECT_TRUE(target.Of(fw::wm::kCommand).empty());
  backend_->RunFor(0);
  ASSERT_EQ(target.Of(fw::wm::kCommand).size(), 1u);
  EXPECT_EQ(fw::LoWord(target.Of(fw::wm::kCommand)[0].wParam), IDM_FIRST);

  EXPECT_TRUE(windows_.DestroyMenu(menu));
  windows_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, ResourcesOfTheProgram) {
  EXPECT_EQ(windows_.LoadString(IDS_GREETING), "Hello");
  EXPECT_EQ(windows_.LoadString(9999), "");
  EXPECT_EQ(windows_.GetTemplateCaption(IDD_PAGE_B), "Beta");
  EXPECT_EQ(windows_.GetTemplateCaption(9999), "");
  EXPECT_EQ(windows_.GetTemplateSize(IDD_PAGE_A), (fw::Rect{0, 0, 180, 100}));
  EXPECT_EQ(windows_.LoadMenu(9999), nullptr);
}

}  // namespace
