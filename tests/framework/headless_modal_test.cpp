// Modal runs of the headless window system: the driver, EndDialog and the owner.
#include <gtest/gtest.h>

#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::RecordingTarget;
using framework_test::TestResources;
using fw::Hwnd;
using fw::headless::HeadlessWindowSystem;

class ModalTest : public ::testing::Test {
 protected:
  void SetUp() override { owner_ = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr); }
  void TearDown() override { windows_.DestroyWindow(owner_); }

  HeadlessWindowSystem windows_{TestResources()};
  Hwnd owner_ = nullptr;
};

TEST_F(ModalTest, TheDriverSeesAShownDialogWithADisabledOwnerAndEndsIt) {
  RecordingTarget target;
  target.handler = [&](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult* result) {
    if (msg == fw::wm::kCommand && fw::LoWord(wParam) == fw::kIdOk) {
      windows_.EndDialog(target.Hwnd(), 42);
      *result = 0;
      return true;
    }
    return false;
  };
  Hwnd seen = nullptr;
  bool ownerEnabled = true;
  bool visible = false;
  int openRuns = 0;
  windows_.SetModalDriver([&](Hwnd dialog) {
    seen = dialog;
    ownerEnabled = windows_.IsWindowEnabled(owner_);
    visible = windows_.IsWindowVisible(dialog);
    openRuns = windows_.OpenModalRunCount();
    EXPECT_TRUE(windows_.Click(dialog, fw::kIdOk));
    EXPECT_FALSE(windows_.IsWindowVisible(dialog)) << "EndDialog hides at once";
  });
  EXPECT_EQ(windows_.RunModalDialog(IDD_FORM, owner_, &target), 42);
  EXPECT_EQ(seen, target.Hwnd());
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(visible) << "a modal dialog is shown whatever its template says";
  EXPECT_EQ(openRuns, 1);
  EXPECT_EQ(windows_.OpenModalRunCount(), 0);
  EXPECT_FALSE(windows_.IsWindow(seen)) << "destroyed when the run ends";
  EXPECT_EQ(target.detached, 1);
  EXPECT_TRUE(windows_.IsWindowEnabled(owner_));
  EXPECT_EQ(windows_.Owner(seen), nullptr);
  EXPECT_EQ(windows_.AbandonedModalRunCount(), 0);
}

TEST_F(ModalTest, ARunTheDriverLeavesOpenIsAbandonedWithMinusOne) {
  RecordingTarget target;
  windows_.SetModalDriver([](Hwnd) {});
  EXPECT_EQ(windows_.RunModalDialog(IDD_FORM, owner_, &target), -1);
  EXPECT_EQ(windows_.AbandonedModalRunCount(), 1);
  EXPECT_EQ(target.detached, 1);
  EXPECT_EQ(windows_.LiveWindowCount(), 1u + windows_.Children(owner_).size());
}

TEST_F(ModalTest, EndingFromInitDialogSkipsTheDriver) {
  RecordingTarget target;
  target.handler = [&](unsigned msg, fw::WParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kInitDialog) windows_.EndDialog(target.Hwnd(), 7);
    return false;
  };
  int driven = 0;
  windows_.SetModalDriver([&](Hwnd) { ++driven; });
  EXPECT_EQ(windows_.RunModalDialog(IDD_FORM, nullptr, &target), 7);
  EXPECT_EQ(driven, 0);
  EXPECT_TRUE(target.Of(fw::wm::kShowWindow).empty()) << "never shown";
}

TEST_F(ModalTest, NestedRunsEndInnermostFirst) {
  RecordingTarget outer;
  RecordingTarget inner;
  std::vector<std::string> order;
  windows_.SetModalDriver([&](Hwnd dialog) {
    if (dialog == outer.Hwnd()) {
      order.push_back("outer driven");
      EXPECT_EQ(windows_.RunModalDialog(IDD_FORM, dialog, &inner), 2);
      EXPECT_TRUE(windows_.IsWindowEnabled(dialog)) << "enabled again after the inner run";
      windows_.EndDialog(dialog, 1);
    } else {
      order.push_back("inner driven");
      EXPECT_EQ(windows_.OpenModalRunCount(), 2);
      EXPECT_FALSE(windows_.IsWindowEnabled(outer.Hwnd()));
      windows_.EndDialog(dialog, 2);
    }
  });
  EXPECT_EQ(windows_.RunModalDialog(IDD_FORM, owner_, &outer), 1);
  EXPECT_EQ(order, (std::vector<std::string>{"outer driven", "inner driven"}));
}

}  // namespace
