// Dialog data exchange moves fields into controls and back, and a modeless dialog that ends
// is only hidden.
#include <gtest/gtest.h>

#include <string>

#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::TestResources;
using fw::headless::HeadlessWindowSystem;

class FormDialog : public fw::CDialog {
 public:
  explicit FormDialog(fw::WindowSystem& windows) : CDialog(windows, IDD_FORM) {}

  int enabled = 1;
  int first = 1;    // radio group A, B, C
  int second = -1;  // radio group X, Y
  std::string name = "initial";
  int initCalls = 0;

 protected:
  bool OnInitDialog() override {
    ++initCalls;
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(fw::CDataExchange* dx) override {
    fw::DDX_Check(dx, IDC_CHECK, enabled);
    fw::DDX_Radio(dx, IDC_RADIO_A, first);
    fw::DDX_Radio(dx, IDC_RADIO_X, second);
    fw::DDX_Text(dx, IDC_EDIT, name);
  }
};

class DataExchangeTest : public ::testing::Test {
 protected:
  fw::Hwnd Item(int id) const { return dialog_.GetDlgItem(id); }
  int Checked(int id) const { return windows_.GetCheck(Item(id)); }

  HeadlessWindowSystem windows_{TestResources()};
  FormDialog dialog_{windows_};
};

TEST_F(DataExchangeTest, InitialisationShowsTheFields) {
  ASSERT_TRUE(dialog_.Create());
  EXPECT_EQ(dialog_.initCalls, 1);
  EXPECT_EQ(Checked(IDC_CHECK), 1);
  EXPECT_EQ(Checked(IDC_RADIO_A), 0);
  EXPECT_EQ(Checked(IDC_RADIO_B), 1);
  EXPECT_EQ(Checked(IDC_RADIO_C), 0);
  EXPECT_EQ(Checked(IDC_RADIO_X), 0) << "-1 shows no button checked";
  EXPECT_EQ(Checked(IDC_RADIO_Y), 0);
  EXPECT_EQ(windows_.GetWindowText(Item(IDC_EDIT)), "initial");
}

TEST_F(DataExchangeTest, SavingReadsWhatTheUserDid) {
  ASSERT_TRUE(dialog_.Create());
  dialog_.ShowWindow(fw::sw::kShow);
  windows_.Click(Item(IDC_CHECK));
  windows_.Click(Item(IDC_RADIO_C));
  windows_.Click(Item(IDC_RADIO_Y));
  windows_.TypeText(Item(IDC_EDIT), "typed");
  EXPECT_EQ(dialog_.enabled, 1) << "fields change only when saved";
  ASSERT_TRUE(dialog_.UpdateData(true));
  EXPECT_EQ(dialog_.enabled, 0);
  EXPECT_EQ(dialog_.first, 2);
  EXPECT_EQ(dialog_.second, 1);
  EXPECT_EQ(dialog_.name, "typed");
}

TEST_F(DataExchangeTest, ShowingMinusOneClearsAGroupAndSavingAnEmptyGroupGivesMinusOne) {
  ASSERT_TRUE(dialog_.Create());
  dialog_.first = -1;
  dialog_.second = 0;
  dialog_.UpdateData(false);
  EXPECT_EQ(Checked(IDC_RADIO_B), 0);
  EXPECT_EQ(Checked(IDC_RADIO_X), 1);
  dialog_.first = 2;
  dialog_.UpdateData(true);
  EXPECT_EQ(dialog_.first, -1);
  EXPECT_EQ(dialog_.second, 0);
}

TEST_F(DataExchangeTest, ModalOkSavesTheFieldsAndEndsWithIdOk) {
  windows_.SetModalDriver([&](fw::Hwnd dialog) {
    windows_.Click(dialog, IDC_RADIO_A);
    windows_.TypeText(windows_.GetDlgItem(dialog, IDC_EDIT), "done");
    windows_.Click(dialog, fw::kIdOk);
  });
  EXPECT_EQ(dialog_.DoModal(), fw::kIdOk);
  EXPECT_EQ(dialog_.first, 0);
  EXPECT_EQ(dialog_.name, "done");
  EXPECT_EQ(dialog_.GetSafeHwnd(), nullptr);
  EXPECT_EQ(windows_.LiveWindowCount(), 0u);
}

TEST_F(DataExchangeTest, ModalCancelAndCloseBoxKeepTheFields) {
  windows_.SetModalDriver([&](fw::Hwnd dialog) {
    windows_.Click(dialog, IDC_RADIO_A);
    windows_.Close(dialog);
  });
  EXPECT_EQ(dialog_.DoModal(), fw::kIdCancel);
  EXPECT_EQ(dialog_.first, 1);
}

TEST_F(DataExchangeTest, AModelessDialogIsOnlyHiddenByEndDialog) {
  ASSERT_TRUE(dialog_.Create());
  dialog_.ShowWindow(fw::sw::kShow);
  windows_.Click(dialog_.GetSafeHwnd(), IDC_CHECK);
  windows_.Click(dialog_.GetSafeHwnd(), fw::kIdOk);
  EXPECT_TRUE(windows_.IsWindow(dialog_.GetSafeHwnd()));
  EXPECT_FALSE(dialog_.IsWindowVisible());
  EXPECT_EQ(dialog_.enabled, 0) << "OK saved the fields";
  dialog_.ShowWindow(fw::sw::kShow);
  EXPECT_TRUE(windows_.Click(dialog_.GetSafeHwnd(), IDC_CHECK)) << "still a working window";
}

}  // namespace
