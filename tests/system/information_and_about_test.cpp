// The Information page and the About dialog show the product's name, version, date and legal
// notice from their templates; the About dialog only hides when dismissed and shows again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework/property_sheet.h"
#include "res/resource.h"
#include "shell/about_dlg.h"
#include "shell/information_page.h"

namespace korven {
namespace {

constexpr const char* kLegalFirst = "TALVOR Corporation. All rights reserved.";
constexpr const char* kLegalSecond = "Copyright 2002";

std::vector<std::string> Texts(fw::headless::HeadlessWindowSystem& windows, fw::Hwnd dialog) {
  std::vector<std::string> texts;
  for (fw::Hwnd child : windows.Children(dialog)) {
    if (windows.GetClassName(child) == "Static" && !windows.ImageOrdinal(child)) {
      texts.push_back(windows.GetWindowText(child));
    }
  }
  return texts;
}

TEST(InformationPageTest, ShowsNameVersionWithItsBlankDateAndLegalNotice) {
  fw::headless::HeadlessWindowSystem windows;
  fw::CDialog host(windows, IDD_CONTROL_PANEL);
  ASSERT_TRUE(host.Create());
  CInformationPage page(windows);
  fw::CPropertySheet sheet(windows);
  sheet.AddPage(&page);
  ASSERT_TRUE(sheet.Create(host, {5, 5, 420, 260}));
  ASSERT_TRUE(sheet.SetActivePage(0));

  ASSERT_NE(page.GetSafeHwnd(), nullptr);
  EXPECT_EQ(windows.TemplateIdOf(page.GetSafeHwnd()), 176);
  EXPECT_EQ(Texts(windows, page.GetSafeHwnd()),
            (std::vector<std::string>{"KORVEN\n\nVersion 1.5.1 \n\nDec, 2002", kLegalFirst,
                                      kLegalSecond}));
  EXPECT_EQ(windows.GetTemplateCaption(IDD_INFORMATION), "About");
  EXPECT_STREQ(CInformationPage::kClassName, "CInformationPage");

  sheet.DestroyWindow();
  page.DestroyWindow();
  host.DestroyWindow();
}

class AboutDlgTest : public ::testing::Test {
 protected:
  fw::Hwnd About() const { return about_.GetSafeHwnd(); }
  fw::headless::HeadlessWindowSystem windows_;
  CAboutDlg about_{windows_};
};

TEST_F(AboutDlgTest, CreatedHiddenWithoutParentShowingItsTexts) {
  ASSERT_TRUE(about_.Create());
  EXPECT_FALSE(windows_.IsWindowVisible(About()));
  EXPECT_EQ(windows_.Owner(About()), nullptr);
  EXPECT_EQ(windows_.GetWindowText(About()), "About");
  EXPECT_EQ(Texts(windows_, About()),
            (std::vector<std::string>{"KORVEN\n\nVersion 1.5.1\n\nDec, 2002", kLegalFirst,
                                      kLegalSecond}));
  EXPECT_EQ(about_.GetDlgItemText(fw::kIdOk), "OK");

  std::vector<std::uint16_t> pictures;
  for (fw::Hwnd child : windows_.Children(About())) {
    if (auto ordinal = windows_.ImageOrdinal(child)) pictures.push_back(*ordinal);
  }
  EXPECT_EQ(pictures, std::vector<std::uint16_t>{IDI_ABOUT});
  about_.DestroyWindow();
}

}  // namespace
}  // namespace korven
