// The property sheet: which page work runs, in which order, when pages are selected by the
// program or by a click on a tab. On both window systems.
#include "framework/property_sheet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/property_page.h"
#include "tests/framework/both_backends/test_backend.h"
#include "tests/framework/framework_test_ids.h"

namespace {

constexpr unsigned kTcmGetItemA = 0x1305;

class LoggingPage : public fw::CPropertyPage {
 public:
  LoggingPage(fw::WindowSystem& windows, int templateId, std::string name,
              std::vector<std::string>* log)
      : CPropertyPage(windows, templateId), name_(std::move(name)), log_(log) {}

  bool refuseActivation = false;
  bool refuseLeaving = false;
  int option = 0;

 protected:
  bool OnInitDialog() override {
    log_->push_back(name_ + " init");
    return CPropertyPage::OnInitDialog();
  }
  bool OnSetActive() override {
    log_->push_back(name_ + " set active" + (refuseActivation ? " (refused)" : ""));
    return CPropertyPage::OnSetActive() && !refuseActivation;
  }
  bool OnKillActive() override {
    log_->push_back(name_ + " kill active" + (refuseLeaving ? " (refused)" : ""));
    return CPropertyPage::OnKillActive() && !refuseLeaving;
  }
  void DoDataExchange(fw::CDataExchange* dx) override { fw::DDX_Check(dx, IDC_PAGE_CHECK, option); }

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

class PropertySheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowsBefore_ = backend_->LiveWindowCount();
    ASSERT_TRUE(host_.Create());
    host_.ShowWindow(fw::sw::kShow);
    for (LoggingPage* page : {&a_, &b_, &c_}) sheet_.AddPage(page);
    ASSERT_TRUE(sheet_.Create(host_, {5, 5, 285, 205}));
  }
  void TearDown() override {
    sheet_.DestroyWindow();
    for (LoggingPage* page : {&a_, &b_, &c_}) page->DestroyWindow();
    host_.DestroyWindow();
    EXPECT_EQ(backend_->LiveWindowCount(), windowsBefore_);
  }
  std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }
  bool Shown(const LoggingPage& page) const {
    return page.GetSafeHwnd() != nullptr && page.IsWindowVisible();
  }
  fw::Hwnd Tabs() const { return sheet_.GetSafeHwnd(); }
  int TabSelection() {
    return static_cast<int>(windows_.SendMessage(Tabs(), fw::tcm::kGetCurSel, 0, 0));
  }
  std::string TabText(int index) {
    char text[32] = {};
    fw::TabItem item;
    item.mask = fw::tcm::kIfText;
    item.text = text;
    item.textMax = sizeof text;
    windows_.SendMessage(Tabs(), kTcmGetItemA, static_cast<fw::WParam>(index),
                         reinterpret_cast<fw::LParam>(&item));
    return text;
  }

  using Log = std::vector<std::string>;
  std::unique_ptr<framework_test::TestBackend> backend_ = framework_test::MakeBackend();
  fw::WindowSystem& windows_ = backend_->Windows();
  std::size_t windowsBefore_ = 0;
  Log log_;
  fw::CDialog host_{windows_, IDD_FORM};
  LoggingPage a_{windows_, IDD_PAGE_A, "A", &log_};
  LoggingPage b_{windows_, IDD_PAGE_B, "B", &log_};
  LoggingPage c_{windows_, IDD_PAGE_C, "C", &log_};
  fw::CPropertySheet sheet_{windows_};
};

TEST_F(PropertySheetTest, TabsCarryThePageCaptionsAndNoPageExistsBeforeSelection) {
  EXPECT_EQ(windows_.SendMessage(Tabs(), fw::tcm::kGetItemCount, 0, 0), 3);
  EXPECT_EQ(TabText(0), "Alpha");
  EXPECT_EQ(TabText(2), "Gamma");
  EXPECT_EQ(a_.GetSafeHwnd(), nullptr);
  EXPECT_TRUE(log_.empty());
}

TEST_F(PropertySheetTest, FirstSelectionCreatesThePageBeforeActivatingIt) {
  ASSERT_TRUE(sheet_.SetActivePage(0));
  EXPECT_EQ(TakeLog(), (Log{"A init", "A set active"}));
  EXPECT_TRUE(Shown(a_));
  EXPECT_EQ(windows_.GetParent(a_.GetSafeHwnd()), host_.GetSafeHwnd());
  // The page sits inside the tab row's display area.
  const fw::Rect tabs = windows_.GetWindowRect(Tabs());
  const fw::Rect page = windows_.GetWindowRect(a_.GetSafeHwnd());
  EXPECT_GT(page.top, tabs.top);
  EXPECT_LE(page.bottom, tabs.bottom);
  // A page has no caption bar or frame of its own.
  const fw::Rect client = windows_.GetClientRect(a_.GetSafeHwnd());
  EXPECT_EQ(client.Width(), page.Width());
  EXPECT_EQ(client.Height(), page.Height());
}

TEST_F(PropertySheetTest, SelectingAnotherPageLeavesTheCurrentOneFirst) {
  sheet_.SetActivePage(0);
  TakeLog();
  ASSERT_TRUE(sheet_.SetActivePage(1));
  EXPECT_EQ(TakeLog(), (Log{"A kill active", "B init", "B set active"}));
  EXPECT_FALSE(Shown(a_));
  EXPECT_TRUE(Shown(b_));
  EXPECT_EQ(TabSelection(), 1);
  sheet_.SetActivePage(0);
  EXPECT_EQ(TakeLog(), (Log{"B kill active", "A set active"})) << "made only once";
}

TEST_F(PropertySheetTest, SelectingTheSelectedPageLeavesAndActivatesItAgain) {
  sheet_.SetActivePage(0);
  TakeLog();
  backend_->Click(a_.GetDlgItem(IDC_PAGE_CHECK));
  sheet_.SetActivePage(0);
  EXPECT_EQ(TakeLog(), (Log{"A kill active", "A set active"}));
  EXPECT_TRUE(Shown(a_));
  EXPECT_EQ(a_.option, 1) << "leaving saved the controls";
}

TEST_F(PropertySheetTest, LaterActivationsShowTheFieldsAgain) {
  sheet_.SetActivePage(0);
  sheet_.SetActivePage(1);
  a_.option = 1;
  sheet_.SetActivePage(0);
  EXPECT_EQ(windows_.SendMessage(a_.GetDlgItem(IDC_PAGE_CHECK), fw::bm::kGetCheck, 0, 0), 1);
}

TEST_F(PropertySheetTest, APageRefusingToBeLeftKeepsTheSelection) {
  sheet_.SetActivePage(0);
  a_.refuseLeaving = true;
  TakeLog();
  EXPECT_FALSE(sheet_.SetActivePage(1));
  EXPECT_EQ(TakeLog(), (Log{"A kill active (refused)"}));
  EXPECT_EQ(sheet_.GetActiveIndex(), 0);
  EXPECT_TRUE(Shown(a_));
  EXPECT_EQ(b_.GetSafeHwnd(), nullptr);
}

TEST_F(PropertySheetTest, ARefusingPageStaysHiddenAndTheNextOneIsShown) {
  sheet_.SetActivePage(0);
  b_.refuseActivation = true;
  TakeLog();
  sheet_.SetActivePage(1);
  EXPECT_EQ(TakeLog(),
            (Log{"A kill active", "B init", "B set active (refused)", "C init", "C set active"}));
  EXPECT_FALSE(Shown(b_));
  EXPECT_FALSE(Shown(a_));
  EXPECT_TRUE(Shown(c_));
  EXPECT_EQ(sheet_.GetActiveIndex(), 2);
  EXPECT_EQ(TabSelection(), 2);
}

TEST_F(PropertySheetTest, TheLastPageIsShownEvenIfItRefuses) {
  sheet_.SetActivePage(0);
  c_.refuseActivation = true;
  TakeLog();
  sheet_.SetActivePage(2);
  EXPECT_EQ(TakeLog(), (Log{"A kill active", "C init", "C set active (refused)"}));
  EXPECT_TRUE(Shown(c_));
  EXPECT_EQ(sheet_.GetActiveIndex(), 2);
}

TEST_F(PropertySheetTest, ClickingATabRunsTheSameLeaveAndActivation) {
  sheet_.SetActivePage(0);
  TakeLog();
  backend_->ClickTab(Tabs(), 1);
  EXPECT_EQ(TakeLog(), (Log{"A kill active", "B init", "B set active"}));
  EXPECT_TRUE(Shown(b_));
  EXPECT_EQ(sheet_.GetActiveIndex(), 1);

  b_.refuseLeaving = true;
  backend_->ClickTab(Tabs(), 2);
  EXPECT_EQ(TakeLog(), (Log{"B kill active (refused)"}));
  EXPECT_EQ(TabSelection(), 1) << "the page vetoes the tab change";
  EXPECT_TRUE(Shown(b_));

  b_.refuseLeaving = false;
  c_.refuseActivation = true;
  a_.refuseActivation = true;
  backend_->ClickTab(Tabs(), 0);
  EXPECT_EQ(TakeLog(), (Log{"B kill active", "A set active (refused)", "B set active"}))
      << "the refusing page is skipped for the next one";
  EXPECT_EQ(sheet_.GetActiveIndex(), 1);
  EXPECT_EQ(TabSelection(), 1);
}

TEST_F(PropertySheetTest, HidingTheSheetHidesTheActivePage) {
  sheet_.SetActivePage(1);
  sheet_.ShowSheet(false);
  EXPECT_FALSE(Shown(b_));
  EXPECT_FALSE(windows_.IsWindowVisible(Tabs()));
  sheet_.ShowSheet(true);
  EXPECT_TRUE(Shown(b_));
}

TEST_F(PropertySheetTest, DestroyedSheetForgetsPagesTheirOwnerMayDelete) {
  sheet_.SetActivePage(1);
  sheet_.DestroyWindow();
  EXPECT_EQ(sheet_.GetPageCount(), 0);
  EXPECT_EQ(sheet_.GetActivePage(), nullptr);
  EXPECT_EQ(b_.GetSheet(), nullptr);
  TakeLog();
  EXPECT_FALSE(sheet_.SetActivePage(0));
  sheet_.MoveSheet({0, 0, 100, 100});  // no page is reached any more
  EXPECT_TRUE(TakeLog().empty());
}

}  // namespace
