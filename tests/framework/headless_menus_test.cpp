// Menus and icons of the headless window system, on the program's own menus: counted
// handles, submenus that go with their item, and pop-up menus a test answers.
#include <gtest/gtest.h>

#include "framework/headless/headless_window_system.h"
#include "res/resource.h"

namespace {

using fw::headless::HeadlessWindowSystem;
using fw::headless::MenuPick;

class HeadlessMenusTest : public ::testing::Test {
 protected:
  HeadlessMenusTest() {
    owner_ = windows_.CreateControl(nullptr, "Static", "", fw::ws::kPopup, {0, 0, 10, 10}, 0);
  }
  HeadlessWindowSystem windows_;
  fw::Hwnd owner_ = nullptr;
};

TEST_F(HeadlessMenusTest, MenuAndItsPopupAreCountedAndGoTogether) {
  EXPECT_EQ(windows_.LoadMenu(4321), nullptr);
  fw::Hmenu menu = windows_.LoadMenu(IDR_MENU_CLOSED);
  ASSERT_NE(menu, nullptr);
  fw::Hmenu popup = windows_.GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(windows_.GetSubMenu(menu, 1), nullptr);
  EXPECT_EQ(windows_.GetSubMenu(popup, 0), nullptr) << "a command item has no submenu";
  EXPECT_EQ(windows_.LiveMenuCount(), 2u);
  ASSERT_NE(windows_.MenuItems(popup), nullptr);
  EXPECT_EQ(windows_.MenuItems(popup)->size(), 6u);

  // Deleting a command item leaves the rest in place.
  EXPECT_TRUE(windows_.DeleteMenu(popup, ID_TRAY_ABOUT, fw::mf::kByCommand));
  EXPECT_FALSE(windows_.DeleteMenu(popup, ID_TRAY_ABOUT, fw::mf::kByCommand));
  EXPECT_EQ(windows_.MenuItems(popup)->size(), 5u);

  // Deleting the pop-up item by position destroys the popup with it.
  EXPECT_FALSE(windows_.DeleteMenu(menu, 1, fw::mf::kByPosition));
  EXPECT_TRUE(windows_.DeleteMenu(menu, 0, fw::mf::kByPosition));
  EXPECT_EQ(windows_.MenuItems(popup), nullptr);
  EXPECT_EQ(windows_.LiveMenuCount(), 1u);
  EXPECT_TRUE(windows_.DestroyMenu(menu));
  EXPECT_FALSE(windows_.DestroyMenu(menu));
  EXPECT_EQ(windows_.LiveMenuCount(), 0u);

  // Destroying a menu takes its submenus along.
  fw::Hmenu other = windows_.LoadMenu(IDR_MENU_OPEN);
  EXPECT_TRUE(windows_.DestroyMenu(other));
  EXPECT_EQ(windows_.LiveMenuCount(), 0u);
}

TEST_F(HeadlessMenusTest, TrackedMenusAreRecordedAndOnlyChoosableItemsAreTaken) {
  fw::Hmenu menu = windows_.LoadMenu(IDR_MENU_NODEVICE);
  fw::Hmenu popup = windows_.GetSubMenu(menu, 0);

  windows_.AnswerPopupMenu(MenuPick::Command(ID_TRAY_EXIT));
  EXPECT_EQ(windows_.TrackPopupMenu(popup, fw::tpm::kReturnCmd, 3, 4, owner_),
            static_cast<int>(ID_TRAY_EXIT));
  // Separators, grayed items and positions past the end choose nothing.
  windows_.AnswerPopupMenu(MenuPick::Position(2));
  windows_.AnswerPopupMenu(MenuPick::Position(0));
  windows_.AnswerPopupMenu(MenuPick::Position(9));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(windows_.TrackPopupMenu(popup, fw::tpm::kReturnCmd, 0, 0, owner_), 0);
  }
  // Unscripted: dismissed.
  EXPECT_NE(windows_.TrackPopupMenu(popup, 0, 0, 0, owner_), 0);
  EXPECT_EQ(windows_.PendingMessageCount(), 0u);

  const auto& shown = windows_.PopupMenus();
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0].chosen, ID_TRAY_EXIT);
  EXPECT_EQ(shown[0].at, (fw::Point{3, 4}));
  EXPECT_TRUE(shown[1].refused && shown[2].refused && shown[3].refused);
  EXPECT_FALSE(shown[4].scripted);
  EXPECT_EQ(shown[4].chosen, 0u);

  // No menu or no owner: nothing is shown.
  EXPECT_EQ(windows_.TrackPopupMenu(popup, 0, 0, 0, nullptr), 0);
  windows_.DestroyMenu(menu);
  EXPECT_EQ(windows_.TrackPopupMenu(popup, 0, 0, 0, owner_), 0);
  EXPECT_EQ(windows_.PopupMenus().size(), 5u);
}

TEST_F(HeadlessMenusTest, IconsAreCountedByHandle) {
  EXPECT_EQ(windows_.LoadIcon(4321), nullptr);
  fw::Hicon a = windows_.LoadIcon(IDI_TRAY_CLOSED);
  fw::Hicon b = windows_.LoadIcon(IDI_TRAY_CLOSED);
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a, b) << "each load is an icon of its own";
  EXPECT_EQ(windows_.LiveIconCount(), 2u);
  EXPECT_EQ(windows_.IconResourceId(b), IDI_TRAY_CLOSED);
  EXPECT_TRUE(windows_.DestroyIcon(a));
  EXPECT_FALSE(windows_.DestroyIcon(a));
  EXPECT_EQ(windows_.IconResourceId(a), 0);
  EXPECT_TRUE(windows_.DestroyIcon(b));
  EXPECT_EQ(windows_.LiveIconCount(), 0u);
}

TEST_F(HeadlessMenusTest, ForegroundFollowsLiveWindowsOnly) {
  EXPECT_TRUE(windows_.SetForegroundWindow(owner_));
  EXPECT_EQ(windows_.ForegroundWindow(), owner_);
  windows_.DestroyWindow(owner_);
  EXPECT_EQ(windows_.ForegroundWindow(), nullptr);
  EXPECT_FALSE(windows_.SetForegroundWindow(owner_));
}

}  // namespace
