// The two reports of a failed device channel: texts and captions from the string table, the
// box type, and the window that made the request as owner.
#include "device/failure_reports.h"

#include <gtest/gtest.h>

#include "framework/headless/headless_window_system.h"
#include "framework/wnd.h"
#include "res/resource.h"

namespace {

class FailureReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(windows.CreateDialogFromTemplate(IDD_ABOUT, nullptr, &owner), nullptr);
  }

  fw::headless::HeadlessWindowSystem windows;
  fw::CWnd owner{windows};
};

TEST_F(FailureReportsTest, TransportErrorIsAnOkBoxWithoutIcon) {
  korven::ShowTransportErrorReport(owner);
  ASSERT_EQ(windows.MessageBoxes().size(), 1u);
  const auto& box = windows.MessageBoxes()[0];
  EXPECT_EQ(box.text, "DATA TRANSPORT ERROR,TRY AGAIN.");
  EXPECT_EQ(box.caption, "IOCONTROL ERROR");
  EXPECT_EQ(box.type, 0u);
  EXPECT_EQ(box.owner, owner.GetSafeHwnd());
}

TEST_F(FailureReportsTest, DriverMissingIsAStopBoxWithTheErrorCaption) {
  korven::ShowDriverMissingReport(owner);
  ASSERT_EQ(windows.MessageBoxes().size(), 1u);
  const auto& box = windows.MessageBoxes()[0];
  EXPECT_EQ(box.text,
            "Filter driver was not loaded or failed!\n\nPlease re-plug the device and try again.");
  EXPECT_EQ(box.caption, "KORVEN : ERROR");
  EXPECT_EQ(box.type, 0x10u);
  EXPECT_EQ(box.owner, owner.GetSafeHwnd());
}

}  // namespace
