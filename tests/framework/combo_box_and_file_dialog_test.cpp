// CComboBox and CFileDialog over the headless window system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/combo_box.h"
#include "framework/file_dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::RecordingTarget;
using framework_test::TestResources;
using Strings = std::vector<std::string>;

class ComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = windows_.CreateDialogFromTemplate(IDD_VALUES, nullptr, &target_);
    ASSERT_NE(dialog_, nullptr);
    list_.Attach(windows_.GetDlgItem(dialog_, IDC_LIST));
  }
  void TearDown() override {
    list_.Detach();
    windows_.DestroyWindow(dialog_);
  }

  fw::headless::HeadlessWindowSystem windows_{TestResources()};
  RecordingTarget target_;
  fw::Hwnd dialog_ = nullptr;
  fw::CComboBox list_{windows_};
};

TEST_F(ComboBoxTest, InsertingAtTheTopKeepsTheSelectionOnItsItem) {
  EXPECT_EQ(list_.InsertString(0, "Not Selected"), 0);
  EXPECT_EQ(list_.SetCurSel(0), 0);
  EXPECT_EQ(list_.InsertString(0, "Winamp"), 0);
  EXPECT_EQ(list_.InsertString(-1, "Last"), 2);
  EXPECT_EQ(list_.InsertString(9, "Beyond"), fw::cb::kErr);
  EXPECT_EQ(windows_.ComboItems(list_.GetSafeHwnd()), (Strings{"Winamp", "Not Selected", "Last"}));
  EXPECT_EQ(list_.GetCurSel(), 1);
  EXPECT_EQ(list_.GetLBText(list_.GetCurSel()), "Not Selected");
  EXPECT_EQ(list_.GetLBText(7), "");
  EXPECT_EQ(list_.GetCount(), 3);
}

TEST_F(ComboBoxTest, PrefixSearchStartsAfterTheGivenItemWrapsAndIgnoresCase) {
  for (const char* text : {"Winamp", "WinDVD", "Winamp Lite", "Not Selected"}) {
    list_.AddString(text);
  }
  struct Case {
    int after;
    const char* prefix;
    int found;
  };
  const Case cases[] = {
      {0, "Winamp", 2},        // item 0 is looked at last
      {2, "winamp", 0},        // wraps round, case-insensitive
      {-1, "WINAMP", 0},       // the whole list from the top
      {0, "Not Selected", 3},  //
      {0, "Win", 1},           //
      {9, "WinDVD", 1},        // past the end: from the top
      {0, "Windows", fw::cb::kErr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list_.FindString(c.after, c.prefix), c.found) << c.after << " " << c.prefix;
  }
}

TEST_F(ComboBoxTest, DeletingMovesOrDropsTheSelection) {
  for (const char* text : {"A", "B", "C"}) list_.AddString(text);
  list_.SetCurSel(2);
  EXPECT_EQ(list_.DeleteString(0), 2);
  EXPECT_EQ(list_.GetCurSel(), 1);
  EXPECT_EQ(list_.DeleteString(list_.FindString(0, "C")), 1);
  EXPECT_EQ(list_.GetCurSel(), fw::cb::kErr);
  EXPECT_EQ(list_.DeleteString(fw::cb::kErr), fw::cb::kErr);
  EXPECT_EQ(list_.SetCurSel(-1), fw::cb::kErr);
  list_.ResetContent();
  EXPECT_EQ(list_.GetCount(), 0);
}

class FileDialogTest : public ::testing::Test {
 protected:
  fw::headless::HeadlessWindowSystem windows_{TestResources()};
};

// The program's own chooser (no parent: the main window owns it; its title, filters, flags
// and the confirmed path) is checked by the Remote Controller page tests. Here: what the
// program does not use.
TEST_F(FileDialogTest, CancelLeavesNoPathAndAParentOwnsTheChooser) {
  RecordingTarget parentTarget;
  fw::CWnd parent(windows_);
  parent.Attach(windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &parentTarget));
  fw::CFileDialog dialog(windows_, "exe", "start.exe", 0, "Only a description|", &parent);
  windows_.AnswerFileDialog("C:\\first.exe");
  EXPECT_EQ(dialog.DoModal(), fw::kIdOk);
  windows_.AnswerFileDialog(std::nullopt);
  EXPECT_EQ(dialog.DoModal(), fw::kIdCancel);
  EXPECT_EQ(dialog.GetPathName(), "");
  // Unscripted: cancelled.
  EXPECT_EQ(dialog.DoModal(), fw::kIdCancel);

  const fw::OpenFileRequest& shown = windows_.FileDialogs().back();
  EXPECT_EQ(shown.owner, parent.GetSafeHwnd());
  EXPECT_TRUE(shown.filters.empty()) << "a description without patterns is dropped";
  EXPECT_EQ(shown.defaultExtension, "exe");
  EXPECT_EQ(shown.fileName, "start.exe");
  const fw::Hwnd hwnd = parent.GetSafeHwnd();
  parent.Detach();
  windows_.DestroyWindow(hwnd);
}

}  // namespace
