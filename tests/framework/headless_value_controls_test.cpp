// Combo boxes and trackbars of the headless window system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::Delivered;
using framework_test::RecordingTarget;
using framework_test::TestResources;
using fw::Hwnd;
using fw::headless::HeadlessWindowSystem;

class ValueControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = windows_.CreateDialogFromTemplate(IDD_VALUES, nullptr, &target_);
    ASSERT_TRUE(windows_.IsWindowVisible(dialog_));
  }
  void TearDown() override { windows_.DestroyWindow(dialog_); }
  Hwnd Item(int id) { return windows_.GetDlgItem(dialog_, id); }
  fw::LResult Send(int id, unsigned msg, fw::WParam wParam = 0, fw::LParam lParam = 0) {
    return windows_.SendMessage(Item(id), msg, wParam, lParam);
  }
  fw::LResult Add(int id, const char* text) {
    return Send(id, fw::cb::kAddString, 0, reinterpret_cast<fw::LParam>(text));
  }
  // (message, code, position) of the scroll messages the dialog received.
  std::vector<std::string> Scrolls() {
    std::vector<std::string> found;
    for (const Delivered& d : target_.Journal()) {
      if (d.msg != fw::wm::kVScroll && d.msg != fw::wm::kHScroll) continue;
      found.push_back(std::string(d.msg == fw::wm::kVScroll ? "V" : "H") + " " +
                      std::to_string(fw::LoWord(d.wParam)) + " " +
                      std::to_string(fw::HiWord(d.wParam)));
    }
    return found;
  }

  HeadlessWindowSystem windows_{TestResources()};
  RecordingTarget target_;
  Hwnd dialog_ = nullptr;
};

TEST_F(ValueControlsTest, ChoosingAnItemNotifiesTheParent) {
  Add(IDC_LIST, "One");
  Add(IDC_LIST, "Two");
  EXPECT_TRUE(windows_.SelectComboItem(Item(IDC_LIST), 1));
  EXPECT_EQ(windows_.ComboSelection(Item(IDC_LIST)), 1);
  ASSERT_EQ(target_.Of(fw::wm::kCommand).size(), 1u);
  const Delivered command = target_.Of(fw::wm::kCommand)[0];
  EXPECT_EQ(command.wParam, fw::MakeWParam(IDC_LIST, fw::cb::kNotifySelChange));
  EXPECT_EQ(command.lParam, reinterpret_cast<fw::LParam>(Item(IDC_LIST)));
  EXPECT_FALSE(windows_.SelectComboItem(Item(IDC_LIST), 2));
  windows_.EnableWindow(Item(IDC_LIST), false);
  EXPECT_FALSE(windows_.SelectComboItem(Item(IDC_LIST), 0));
  EXPECT_EQ(windows_.ComboSelection(Item(IDC_LIST)), 1);
}

TEST_F(ValueControlsTest, TrackbarKeepsItsPositionInsideItsRange) {
  EXPECT_EQ(windows_.SliderRange(Item(IDC_SLIDER_V)), (std::pair<int, int>{0, 100}));
  Send(IDC_SLIDER_V, fw::tbm::kSetRange, 0, 0 | (40 << 16));
  Send(IDC_SLIDER_V, fw::tbm::kSetPos, 1, 20);
  EXPECT_EQ(Send(IDC_SLIDER_V, fw::tbm::kGetPos), 20);
  EXPECT_EQ(Send(IDC_SLIDER_V, fw::tbm::kGetRangeMax), 40);
  Send(IDC_SLIDER_V, fw::tbm::kSetPos, 1, 55);
  EXPECT_EQ(Send(IDC_SLIDER_V, fw::tbm::kGetPos), 40);
  Send(IDC_SLIDER_V, fw::tbm::kSetPos, 1, -3);
  EXPECT_EQ(Send(IDC_SLIDER_V, fw::tbm::kGetPos), 0);
  EXPECT_TRUE(Scrolls().empty()) << "setting the position never notifies";
}

TEST_F(ValueControlsTest, DraggingScrollsThenReleases) {
  Send(IDC_SLIDER_V, fw::tbm::kSetRange, 0, 0 | (40 << 16));
  std::vector<std::string> order;
  target_.handler = [&](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kVScroll) {
      order.push_back("scroll " + std::to_string(fw::LoWord(wParam)) + " at " +
                      std::to_string(windows_.SliderPosition(Item(IDC_SLIDER_V))));
    }
    if (msg == fw::wm::kNotify) order.push_back("released");
    return false;
  };
  EXPECT_TRUE(windows_.DragSlider(Item(IDC_SLIDER_V), 50));
  EXPECT_EQ(order, (std::vector<std::string>{"scroll 5 at 40", "scroll 4 at 40", "scroll 8 at 40",
                                             "released"}));
  ASSERT_EQ(target_.notifications.size(), 1u);
  EXPECT_EQ(target_.notifications[0].code, fw::nm::kReleasedCapture);
  EXPECT_EQ(target_.notifications[0].idFrom, static_cast<std::uintptr_t>(IDC_SLIDER_V));
  EXPECT_EQ(Scrolls(), (std::vector<std::string>{"V 5 40", "V 4 40", "V 8 0"}));
}

TEST_F(ValueControlsTest, KeysMoveStepByStepWithoutARelease) {
  Send(IDC_SLIDER_H, fw::tbm::kSetPos, 1, 10);
  EXPECT_TRUE(windows_.MoveSliderWithKeys(Item(IDC_SLIDER_H), 8));
  EXPECT_EQ(windows_.SliderPosition(Item(IDC_SLIDER_H)), 8);
  EXPECT_EQ(Scrolls(), (std::vector<std::string>{"H 0 0", "H 0 0", "H 8 0"}));
  EXPECT_TRUE(target_.notifications.empty());
  windows_.ShowWindow(dialog_, fw::sw::kHide);
  EXPECT_FALSE(windows_.DragSlider(Item(IDC_SLIDER_H), 3));
  EXPECT_EQ(windows_.SliderPosition(Item(IDC_SLIDER_H)), 8);
}

}  // namespace
