// Controls of the headless window system: buttons, edits and the tab control, and what a
// user's click or typing does to them.
#include <gtest/gtest.h>

#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::Delivered;
using framework_test::RecordingTarget;
using framework_test::TestResources;
using fw::Hwnd;
using fw::headless::HeadlessWindowSystem;

constexpr unsigned kEnChange = 0x0300;

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target_);
    windows_.ShowWindow(form_, fw::sw::kShow);
  }
  void TearDown() override { windows_.DestroyWindow(form_); }

  Hwnd Item(int id) { return windows_.GetDlgItem(form_, id); }
  int Check(int id) { return windows_.GetCheck(Item(id)); }
  // The (id, code) of every WM_COMMAND the form received, in order.
  std::vector<std::pair<int, unsigned>> Commands() {
    std::vector<std::pair<int, unsigned>> found;
    for (const Delivered& d : target_.Of(fw::wm::kCommand)) {
      found.emplace_back(static_cast<int>(fw::LoWord(d.wParam)), fw::HiWord(d.wParam));
    }
    return found;
  }

  HeadlessWindowSystem windows_{TestResources()};
  RecordingTarget target_;
  Hwnd form_ = nullptr;
};

TEST_F(ControlsTest, AutoCheckBoxTogglesBeforeItsParentHearsTheClick) {
  int stateSeenByParent = -1;
  target_.handler = [&](unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult*) {
    if (msg == fw::wm::kCommand && fw::LoWord(wParam) == IDC_CHECK) {
      EXPECT_EQ(reinterpret_cast<Hwnd>(lParam), Item(IDC_CHECK));
      stateSeenByParent = Check(IDC_CHECK);
    }
    return false;
  };
  EXPECT_TRUE(windows_.Click(form_, IDC_CHECK));
  EXPECT_EQ(stateSeenByParent, fw::bm::kChecked);
  EXPECT_TRUE(windows_.Click(Item(IDC_CHECK)));
  EXPECT_EQ(Check(IDC_CHECK), fw::bm::kUnchecked);
  EXPECT_EQ(Commands(),
            (std::vector<std::pair<int, unsigned>>{{IDC_CHECK, fw::bm::kNotifyClicked},
                                                   {IDC_CHECK, fw::bm::kNotifyClicked}}));
  EXPECT_EQ(windows_.GetFocus(), Item(IDC_CHECK));
}

TEST_F(ControlsTest, AutoRadioButtonClearsOnlyItsOwnGroup) {
  windows_.Click(form_, IDC_RADIO_X);
  windows_.Click(form_, IDC_RADIO_A);
  EXPECT_EQ(Check(IDC_RADIO_A), 1);
  windows_.Click(form_, IDC_RADIO_C);
  EXPECT_EQ(Check(IDC_RADIO_A), 0);
  EXPECT_EQ(Check(IDC_RADIO_B), 0);
  EXPECT_EQ(Check(IDC_RADIO_C), 1);
  EXPECT_EQ(Check(IDC_RADIO_X), 1) << "the next WS_GROUP control starts another group";
  windows_.Click(form_, IDC_RADIO_Y);
  EXPECT_EQ(Check(IDC_RADIO_X), 0);
  EXPECT_EQ(Check(IDC_RADIO_C), 1);
  windows_.Click(form_, IDC_RADIO_Y);
  EXPECT_EQ(Check(IDC_RADIO_Y), 1) << "clicking a checked radio button keeps it checked";
  EXPECT_EQ(Commands().size(), 5u);
}

TEST_F(ControlsTest, ClicksOnDisabledOrHiddenControlsDoNothing) {
  EXPECT_FALSE(windows_.Click(form_, IDC_DISABLED));
  EXPECT_FALSE(windows_.Click(form_, IDC_HIDDEN));
  EXPECT_FALSE(windows_.Click(form_, 4242)) << "no such control";
  EXPECT_FALSE(windows_.Click(form_, IDC_FRAME)) << "a group box takes no clicks";

  windows_.EnableWindow(form_, false);
  EXPECT_FALSE(windows_.Click(form_, IDC_CHECK)) << "its dialog is disabled";
  windows_.EnableWindow(form_, true);
  windows_.ShowWindow(form_, fw::sw::kHide);
  EXPECT_FALSE(windows_.Click(form_, IDC_CHECK)) << "its dialog is hidden";
  windows_.SendMessage(Item(IDC_CHECK), fw::bm::kClick, 0, 0);
  EXPECT_EQ(Check(IDC_CHECK), 0);
  EXPECT_TRUE(Commands().empty());

  windows_.ShowWindow(form_, fw::sw::kShow);
  windows_.SendMessage(Item(IDC_CHECK), fw::bm::kClick, 0, 0);
  EXPECT_EQ(Check(IDC_CHECK), 1) << "BM_CLICK is a user's click";
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(ControlsTest, SetCheckChangesStateQuietlyWithinWhatTheButtonKeeps) {
  windows_.SendMessage(Item(IDC_RADIO_A), fw::bm::kSetCheck, fw::bm::kChecked, 0);
  windows_.SendMessage(Item(IDC_RADIO_B), fw::bm::kSetCheck, fw::bm::kChecked, 0);
  EXPECT_EQ(Check(IDC_RADIO_A), 1) << "BM_SETCHECK leaves the rest of the group alone";
  EXPECT_EQ(windows_.SendMessage(Item(IDC_RADIO_B), fw::bm::kGetCheck, 0, 0), 1);
  windows_.SendMessage(Item(IDC_CHECK), fw::bm::kSetCheck, 2, 0);
  EXPECT_EQ(Check(IDC_CHECK), 1) << "a two-state box has no indeterminate state";
  windows_.SendMessage(Item(IDC_APPLY), fw::bm::kSetCheck, 1, 0);
  EXPECT_EQ(windows_.SendMessage(Item(IDC_APPLY), fw::bm::kGetCheck, 0, 0), 0);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ControlsTest, PushButtonsOnlyNotify) {
  EXPECT_TRUE(windows_.Click(form_, IDC_APPLY));
  EXPECT_TRUE(windows_.Click(form_, fw::kIdOk));
  EXPECT_EQ(Commands(),
            (std::vector<std::pair<int, unsigned>>{{IDC_APPLY, fw::bm::kNotifyClicked},
                                                   {fw::kIdOk, fw::bm::kNotifyClicked}}));
}

TEST_F(ControlsTest, EditReportsChangesFromTypingAndFromSetText) {
  EXPECT_TRUE(windows_.TypeText(Item(IDC_EDIT), "typed"));
  EXPECT_EQ(windows_.GetWindowText(Item(IDC_EDIT)), "typed");
  windows_.SetWindowText(Item(IDC_EDIT), "set");
  EXPECT_EQ(Commands(),
            (std::vector<std::pair<int, unsigned>>{{IDC_EDIT, kEnChange}, {IDC_EDIT, kEnChange}}));
  EXPECT_FALSE(windows_.TypeText(Item(IDC_APPLY), "x")) << "not an edit";
  windows_.EnableWindow(Item(IDC_EDIT), false);
  EXPECT_FALSE(windows_.TypeText(Item(IDC_EDIT), "x"));
  EXPECT_EQ(windows_.GetWindowText(Item(IDC_EDIT)), "set");
}

TEST_F(ControlsTest, CloseBoxOfADialogIsItsCancelButton) {
  EXPECT_TRUE(windows_.Close(form_));
  ASSERT_EQ(target_.Of(fw::wm::kSysCommand).size(), 1u);
  ASSERT_EQ(target_.Of(fw::wm::kClose).size(), 1u);
  ASSERT_EQ(Commands(),
            (std::vector<std::pair<int, unsigned>>{{fw::kIdCancel, fw::bm::kNotifyClicked}}));
  EXPECT_EQ(target_.Of(fw::wm::kCommand)[0].lParam,
            reinterpret_cast<fw::LParam>(Item(fw::kIdCancel)));

  // Sent directly, WM_CLOSE posts the Cancel command: it arrives with the next pump.
  windows_.SendMessage(form_, fw::wm::kClose, 0, 0);
  EXPECT_EQ(Commands().size(), 1u);
  windows_.PumpMessages();
  EXPECT_EQ(Commands().size(), 2u);
}

class TabControlTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    tab_ = windows_.CreateControl(form_, "SysTabControl32", "", fw::ws::kChild | fw::ws::kVisible,
                                  {10, 10, 210, 160}, 77);
    for (const char* name : {"One", "Two", "Three"}) Insert(99, name);
  }
  fw::LResult Insert(int index, const char* name) {
    std::string text = name;
    fw::TabItem item;
    item.mask = fw::tcm::kIfText;
    item.text = text.data();
    return windows_.SendMessage(tab_, fw::tcm::kInsertItemA, static_cast<fw::WParam>(index),
                                reinterpret_cast<fw::LParam>(&item));
  }
  Hwnd tab_ = nullptr;
};

TEST_F(TabControlTest, AdjustRectConvertsBothWays) {
  const fw::Rect window{10, 10, 210, 160};
  fw::Rect rect = window;
  windows_.SendMessage(tab_, fw::tcm::kAdjustRect, 0, reinterpret_cast<fw::LParam>(&rect));
  EXPECT_GT(rect.top, window.top + 10) << "the tab row is above the display area";
  EXPECT_GT(rect.left, window.left);
  EXPECT_LT(rect.right, window.right);
  EXPECT_LT(rect.bottom, window.bottom);
  windows_.SendMessage(tab_, fw::tcm::kAdjustRect, 1, reinterpret_cast<fw::LParam>(&rect));
  EXPECT_EQ(rect, window);
}

}  // namespace
