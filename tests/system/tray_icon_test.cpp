// The tray icon against the headless window system and the simulated notification area: what
// the shell gets, which menu a press opens and where, what reaches the owner window, and
// that every icon and menu handle goes back.
#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "platform/sim/sim_shell.h"
#include "res/resource.h"

namespace korven {
namespace {

using fw::headless::MenuPick;
using fw::headless::PopupMenuRecord;

// A window that owns a tray icon the way the Control Panel window does: it forwards the
// icon's callback message and keeps the menu commands it receives.
class OwnerDlg : public fw::CDialog {
 public:
  OwnerDlg(fw::WindowSystem& windows, CTrayIcon& tray) : CDialog(windows, IDD_ABOUT), tray_(tray) {}

  std::vector<unsigned> commands;

 protected:
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override {
    if (msg == WM_TRAY_NOTIFY) {
      *result = tray_.OnTrayNotification(wParam, lParam);
      return true;
    }
    if (msg == fw::wm::kCommand && fw::LoWord(wParam) >= ID_TRAY_EXIT) {
      commands.push_back(fw::LoWord(wParam));
      *result = 0;
      return true;
    }
    return CDialog::OnWndMsg(msg, wParam, lParam, result);
  }

 private:
  CTrayIcon& tray_;
};

// The menu as shown, one item a line: "32774 &Open Setting", "-" for a separator, and
// " (grayed)" after a grayed item.
std::string Shown(const PopupMenuRecord& menu) {
  std::string shown;
  for (const auto& item : menu.items) {
    shown += item.separator ? "-" : std::to_string(item.id) + " " + item.text;
    shown += item.grayed ? " (grayed)\n" : "\n";
  }
  return shown;
}

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    platform_.shell = &shell_;
    tray_ = std::make_unique<CTrayIcon>(windows_, platform_);
    owner_ = std::make_unique<OwnerDlg>(windows_, *tray_);
    EXPECT_TRUE(owner_->Create());
    baseIcons_ = windows_.LiveIconCount();
    baseMenus_ = windows_.LiveMenuCount();
  }

  ~TrayIconTest() override {
    tray_.reset();
    EXPECT_EQ(windows_.LiveIconCount(), baseIcons_) << "icons leaked";
    EXPECT_EQ(windows_.LiveMenuCount(), baseMenus_) << "menus leaked";
    EXPECT_EQ(shell_.IconCount(), 0u) << "icon left in the notification area";
    owner_->DestroyWindow();
  }

  bool CreateTray(int icon, unsigned menu) {
    return tray_->Create(owner_.get(), WM_TRAY_NOTIFY, "KORVEN", windows_.LoadIcon(icon), menu);
  }

  fw::LResult Notify(fw::WParam id, unsigned mouse) {
    return windows_.SendMessage(Owner(), WM_TRAY_NOTIFY, id, static_cast<fw::LParam>(mouse));
  }

  fw::Hwnd Owner() const { return owner_->GetSafeHwnd(); }
  platform::WindowRef OwnerRef() const {
    return static_cast<platform::WindowRef>(reinterpret_cast<std::uintptr_t>(Owner()));
  }

  fw::headless::HeadlessWindowSystem windows_;
  platform::sim::SimShell shell_;
  platform::Platform platform_;
  std::unique_ptr<CTrayIcon> tray_;
  std::unique_ptr<OwnerDlg> owner_;
  std::size_t baseIcons_ = 0;
  std::size_t baseMenus_ = 0;
};

TEST_F(TrayIconTest, CreateAddsTheFirstFormRecordForTheOwner) {
  const fw::Hicon icon = windows_.LoadIcon(IDI_TRAY_CLOSED);
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(tray_->Create(owner_.get(), WM_TRAY_NOTIFY, "KORVEN", icon, IDR_MENU_CLOSED));

  EXPECT_TRUE(tray_->IsEnabled());
  const platform::NotifyIconData* added = shell_.FindIcon(OwnerRef(), IDR_MENU_CLOSED);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->cbSize, 88u);
  EXPECT_EQ(added->uFlags, 7u);
  EXPECT_EQ(added->uCallbackMessage, 0x40Au);
  EXPECT_EQ(added->hIcon, static_cast<platform::IconRef>(reinterpret_cast<std::uintptr_t>(icon)));
  EXPECT_STREQ(added->szTip, "KORVEN");
  EXPECT_EQ(shell_.Log(), std::vector<std::string>{"add 139"});
  // The menu and its popup are held while the icon is shown.
  EXPECT_EQ(windows_.LiveMenuCount(), baseMenus_ + 2);
  EXPECT_EQ(windows_.IconResourceId(icon), IDI_TRAY_CLOSED);
}

TEST_F(TrayIconTest, EachStateShowsItsOwnMenu) {
  struct State {
    int icon;
    unsigned menu;
    const char* items;
  };
  const State states[] = {
      {IDI_TRAY_CLOSED, IDR_MENU_CLOSED,
       "32774 &Open Setting\n32775 &Test Speaker\n-\n32776 &About\n-\n32771 &Exit\n"},
      {IDI_TRAY_NODEVICE, IDR_MENU_NODEVICE,
       "32774 &Open Setting (grayed)\n32775 &Test Speaker (grayed)\n-\n32776 &About\n-\n"
       "32771 &Exit\n"},
      {IDI_TRAY_OPEN, IDR_MENU_OPEN,
       "32777 &Close Setting\n32775 &Test Speaker\n-\n32776 &About\n-\n32771 &Exit\n"},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.menu);
    // Swapped the way the Control Panel window swaps them: remove, then create anew.
    tray_->RemoveIcon();
    ASSERT_TRUE(CreateTray(state.icon, state.menu));
    EXPECT_EQ(windows_.LiveIconCount(), baseIcons_ + 1);
    EXPECT_EQ(shell_.IconCount(), 1u);
    EXPECT_EQ(Notify(state.menu, fw::wm::kRButtonDown), 1);
    ASSERT_FALSE(windows_.PopupMenus().empty());
    EXPECT_EQ(Shown(windows_.PopupMenus().back()), state.items);
  }
}

TEST_F(TrayIconTest, LeftOrRightPressOpensTheMenuAtTheCursorAndTheChoiceReachesTheOwner) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_CLOSED, IDR_MENU_CLOSED));
  windows_.SetCursorPos({1210, 744});
  windows_.AnswerPopupMenu(MenuPick::Command(ID_TRAY_ABOUT));
  EXPECT_EQ(Notify(IDR_MENU_CLOSED, fw::wm::kLButtonDown), 1);

  ASSERT_EQ(windows_.PopupMenus().size(), 1u);
  const PopupMenuRecord& first = windows_.PopupMenus()[0];
  EXPECT_EQ(first.menu, tray_->Popup());
  EXPECT_EQ(first.at, (fw::Point{1210, 744}));
  EXPECT_EQ(first.owner, Owner());
  EXPECT_EQ(first.flags, 0u) << "left-top aligned, left button, command sent to the owner";
  EXPECT_EQ(windows_.ForegroundWindow(), Owner());
  // The command arrives once the menu has closed, as a menu command.
  EXPECT_TRUE(owner_->commands.empty());
  windows_.PumpMessages();
  EXPECT_EQ(owner_->commands, std::vector<unsigned>{ID_TRAY_ABOUT});

  windows_.SetCursorPos({5, 6});
  windows_.AnswerPopupMenu(MenuPick::Position(5));
  EXPECT_EQ(Notify(IDR_MENU_CLOSED, fw::wm::kRButtonDown), 1);
  windows_.PumpMessages();
  ASSERT_EQ(windows_.PopupMenus().size(), 2u);
  EXPECT_EQ(windows_.PopupMenus()[1].at, (fw::Point{5, 6}));
  EXPECT_EQ(owner_->commands, (std::vector<unsigned>{ID_TRAY_ABOUT, ID_TRAY_EXIT}));
}

TEST_F(TrayIconTest, ReleasesMovesAndDoubleClicksDoNothing) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_CLOSED, IDR_MENU_CLOSED));
  for (unsigned mouse : {fw::wm::kLButtonUp, fw::wm::kRButtonUp, fw::wm::kMouseMove,
                         fw::wm::kLButtonDblClk, fw::wm::kRButtonDblClk}) {
    EXPECT_EQ(Notify(IDR_MENU_CLOSED, mouse), 1) << mouse;
  }
  EXPECT_TRUE(windows_.PopupMenus().empty());
  EXPECT_EQ(windows_.ForegroundWindow(), nullptr);
}

TEST_F(TrayIconTest, CallbackOfAnotherIconIsAnsweredZero) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_NODEVICE, IDR_MENU_NODEVICE));
  // The icon of an earlier state.
  EXPECT_EQ(Notify(IDR_MENU_CLOSED, fw::wm::kLButtonDown), 0);
  EXPECT_EQ(Notify(IDR_MENU_OPEN, fw::wm::kRButtonDown), 0);
  EXPECT_TRUE(windows_.PopupMenus().empty());
}

TEST_F(TrayIconTest, SecondCallbackWhileTheMenuIsShownIsAnsweredZero) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_CLOSED, IDR_MENU_CLOSED));
  fw::LResult nested = -1;
  windows_.AnswerPopupMenu([&](const PopupMenuRecord&) {
    nested = Notify(IDR_MENU_CLOSED, fw::wm::kRButtonDown);
    return MenuPick::Dismiss();
  });
  EXPECT_EQ(Notify(IDR_MENU_CLOSED, fw::wm::kLButtonDown), 1);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(windows_.PopupMenus().size(), 1u);

  // Once the menu has closed, a press opens it again.
  EXPECT_EQ(Notify(IDR_MENU_CLOSED, fw::wm::kLButtonDown), 1);
  EXPECT_EQ(windows_.PopupMenus().size(), 2u);
  windows_.PumpMessages();
  EXPECT_TRUE(owner_->commands.empty()) << "a dismissed menu sends nothing";
}

TEST_F(TrayIconTest, RemoveIconReleasesEverythingAndTwiceIsHarmless) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_OPEN, IDR_MENU_OPEN));
  tray_->RemoveIcon();
  EXPECT_FALSE(tray_->IsEnabled());
  EXPECT_EQ(shell_.IconCount(), 0u);
  EXPECT_EQ(windows_.LiveIconCount(), baseIcons_);
  EXPECT_EQ(windows_.LiveMenuCount(), baseMenus_);
  EXPECT_EQ(tray_->Menu(), nullptr);
  EXPECT_EQ(tray_->Popup(), nullptr);

  tray_->RemoveIcon();
  EXPECT_EQ(shell_.Log(), (std::vector<std::string>{"add 222", "delete 222"}));

  // Nothing is added before Create either.
  CTrayIcon fresh(windows_, platform_);
  fresh.RemoveIcon();
  EXPECT_EQ(shell_.Log().size(), 2u);
}

TEST_F(TrayIconTest, MissingMenuFailsWithoutAddingAndTheNextRemoveStillFreesTheIcon) {
  constexpr unsigned kNoSuchMenu = 999;
  EXPECT_FALSE(CreateTray(IDI_TRAY_CLOSED, kNoSuchMenu));
  EXPECT_EQ(shell_.IconCount(), 0u);
  EXPECT_TRUE(tray_->IsEnabled()) << "the record stays in use";
  EXPECT_EQ(windows_.LiveIconCount(), baseIcons_ + 1);

  tray_->RemoveIcon();
  EXPECT_EQ(windows_.LiveIconCount(), baseIcons_);
  EXPECT_FALSE(tray_->IsEnabled());
}

// An older shell, no live owner, or a shell that refuses the icon: nothing is added or
// held, and the record stays unused.
TEST_F(TrayIconTest, RefusedCreateAddsNothingAndHoldsNothing) {
  OwnerDlg gone(windows_, *tray_);
  ASSERT_TRUE(gone.Create());
  windows_.DestroyWindow(gone.GetSafeHwnd());
  struct Case {
    const char* what;
    int shellVersion;
    bool shellRefuses;
    fw::CWnd* owner;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"shell older than 4", 3, false, owner_.get(), {}},
      {"no owner", 5, false, nullptr, {}},
      {"dead owner", 5, false, &gone, {}},
      {"shell refuses", 5, true, owner_.get(), {"add 139 refused"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    shell_.ClearLog();
    shell_.SetMajorVersion(c.shellVersion);
    shell_.RefuseAdds(c.shellRefuses);
    EXPECT_FALSE(tray_->Create(c.owner, WM_TRAY_NOTIFY, "KORVEN",
                               windows_.LoadIcon(IDI_TRAY_CLOSED), IDR_MENU_CLOSED));
    EXPECT_FALSE(tray_->IsEnabled());
    EXPECT_EQ(windows_.LiveIconCount(), baseIcons_);
    EXPECT_EQ(windows_.LiveMenuCount(), baseMenus_);
    tray_->RemoveIcon();
    EXPECT_EQ(shell_.Log(), c.log);
  }
  shell_.SetMajorVersion(4);
  shell_.RefuseAdds(false);
  EXPECT_TRUE(CreateTray(IDI_TRAY_CLOSED, IDR_MENU_CLOSED));
}

TEST_F(TrayIconTest, CreateOverAnAddedIconReplacesItWithoutLeaking) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_CLOSED, IDR_MENU_CLOSED));
  ASSERT_TRUE(CreateTray(IDI_TRAY_OPEN, IDR_MENU_OPEN));
  EXPECT_EQ(shell_.Log(), (std::vector<std::string>{"add 139", "delete 139", "add 222"}));
  EXPECT_EQ(windows_.LiveIconCount(), baseIcons_ + 1);
  EXPECT_EQ(windows_.LiveMenuCount(), baseMenus_ + 2);
}

TEST_F(TrayIconTest, RemovedWhileItsMenuIsShownChoosesNothing) {
  ASSERT_TRUE(CreateTray(IDI_TRAY_CLOSED, IDR_MENU_CLOSED));
  windows_.AnswerPopupMenu([&](const PopupMenuRecord&) {
    tray_->RemoveIcon();  // the device went away meanwhile
    return MenuPick::Command(ID_TRAY_EXIT);
  });
  EXPECT_EQ(Notify(IDR_MENU_CLOSED, fw::wm::kLButtonDown), 1);
  windows_.PumpMessages();
  EXPECT_TRUE(owner_->commands.empty());
  EXPECT_EQ(windows_.LiveMenuCount(), baseMenus_);
}

TEST_F(TrayIconTest, TipIsCutToItsField) {
  const std::string longTip(80, 'K');
  ASSERT_TRUE(tray_->Create(owner_.get(), WM_TRAY_NOTIFY, longTip,
                            windows_.LoadIcon(IDI_TRAY_CLOSED), IDR_MENU_CLOSED));
  const platform::NotifyIconData* added = shell_.FindIcon(OwnerRef(), IDR_MENU_CLOSED);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(std::string(added->szTip), std::string(63, 'K'));
}

}  // namespace
}  // namespace korven
