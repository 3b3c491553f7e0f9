// The headless window tree: dialogs built from templates, destruction, dead handles,
// geometry and window state.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::Delivered;
using framework_test::RecordingTarget;
using framework_test::TestResources;
using fw::Hwnd;
using fw::headless::HeadlessWindowSystem;

constexpr int kIdStatic = 0xFFFF;

class WindowTreeTest : public ::testing::Test {
 protected:
  HeadlessWindowSystem windows_{TestResources()};
};

TEST_F(WindowTreeTest, DialogIsBuiltFromItsTemplate) {
  RecordingTarget target;
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(windows_.TemplateIdOf(form), IDD_FORM);
  EXPECT_EQ(windows_.FindDialog(IDD_FORM), form);
  EXPECT_EQ(windows_.Children(form).size(), 17u);

  Hwnd check = windows_.GetDlgItem(form, IDC_CHECK);
  EXPECT_EQ(windows_.GetWindowText(check), "Enable");
  EXPECT_EQ(windows_.GetStyle(check) & fw::bs::kTypeMask, fw::bs::kAutoCheckBox);
  EXPECT_EQ(windows_.GetClassName(windows_.GetDlgItem(form, IDC_EDIT)), "Edit");

  EXPECT_TRUE(windows_.GetStyle(windows_.GetDlgItem(form, IDC_RADIO_A)) & fw::ws::kGroup);
  EXPECT_FALSE(windows_.GetStyle(windows_.GetDlgItem(form, IDC_RADIO_B)) & fw::ws::kGroup);

  Hwnd picture = windows_.GetDlgItem(form, IDC_PICTURE);
  EXPECT_EQ(windows_.GetClassName(picture), "Static");
  EXPECT_EQ(windows_.ImageOrdinal(picture), std::optional<std::uint16_t>(IDI_PICTURE));
  EXPECT_EQ(windows_.ImageOrdinal(check), std::nullopt);
  EXPECT_EQ(windows_.GetDlgItem(form, kIdStatic), nullptr);
  windows_.DestroyWindow(form);
}

TEST_F(WindowTreeTest, TemplateVisibilityAppliesAfterInitDialogAndInsideAVisibleParent) {
  RecordingTarget target;
  bool visibleDuringInit = true;
  target.handler = [&](unsigned msg, fw::WParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kInitDialog) visibleDuringInit = windows_.IsWindowVisible(target.Hwnd());
    return false;
  };
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  EXPECT_EQ(target.Of(fw::wm::kInitDialog).size(), 1u);
  EXPECT_FALSE(visibleDuringInit);

  RecordingTarget inner;
  Hwnd child = windows_.CreateDialogFromTemplate(IDD_CHILD_FORM, form, &inner);
  EXPECT_EQ(windows_.GetParent(child), form);
  EXPECT_TRUE(windows_.GetStyle(child) & fw::ws::kVisible) << "its template is WS_VISIBLE";
  EXPECT_FALSE(windows_.IsWindowVisible(child)) << "inside a hidden parent";
  windows_.ShowWindow(form, fw::sw::kShow);
  EXPECT_TRUE(windows_.IsWindowVisible(child));
  windows_.DestroyWindow(form);
  EXPECT_EQ(inner.detached, 1);
}

TEST_F(WindowTreeTest, MissingTemplateOrDeadParentGivesNoWindow) {
  RecordingTarget target;
  EXPECT_EQ(windows_.CreateDialogFromTemplate(999, nullptr, &target), nullptr);
  EXPECT_EQ(target.attached, 0);
  EXPECT_EQ(windows_.CreateDialogFromTemplate(IDD_CHILD_FORM, nullptr, &target), nullptr)
      << "a child template needs a parent";
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  windows_.DestroyWindow(form);
  EXPECT_EQ(windows_.CreateDialogFromTemplate(IDD_CHILD_FORM, form, &target), nullptr);
  EXPECT_EQ(windows_.LiveWindowCount(), 0u);
}

TEST_F(WindowTreeTest, DestructionSendsDestroyTopDownThenNcDestroyBottomUp) {
  std::vector<Delivered> journal;
  RecordingTarget outer(&journal);
  RecordingTarget inner(&journal);
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &outer);
  Hwnd child = windows_.CreateDialogFromTemplate(IDD_CHILD_FORM, form, &inner);
  bool childAliveDuringParentDestroy = false;
  outer.handler = [&](unsigned msg, fw::WParam, fw::LParam, fw::LResult*) {
    if (msg == fw::wm::kDestroy) {
      childAliveDuringParentDestroy =
          windows_.IsWindow(child) && windows_.GetDlgItem(child, IDC_CHECK) != nullptr;
    }
    return false;
  };
  journal.clear();

  EXPECT_TRUE(windows_.DestroyWindow(form));
  std::vector<std::pair<Hwnd, unsigned>> order;
  for (const Delivered& d : journal) order.emplace_back(d.hwnd, d.msg);
  const std::vector<std::pair<Hwnd, unsigned>> expected = {{form, fw::wm::kDestroy},
                                                           {child, fw::wm::kDestroy},
                                                           {child, fw::wm::kNcDestroy},
                                                           {form, fw::wm::kNcDestroy}};
  EXPECT_EQ(order, expected);
  EXPECT_TRUE(childAliveDuringParentDestroy);
  EXPECT_EQ(outer.detached, 1);
  EXPECT_EQ(outer.detachedAfter, 4u) << "detached after its last message";
  EXPECT_EQ(inner.detachedAfter, 3u);
  EXPECT_FALSE(windows_.IsWindow(form));
  EXPECT_FALSE(windows_.IsWindow(child));
  EXPECT_EQ(windows_.LiveWindowCount(), 0u);
  EXPECT_FALSE(windows_.DestroyWindow(form)) << "a second destroy does nothing";
}

TEST_F(WindowTreeTest, DestroyingFromInsideItsOwnHandlerIsSafe) {
  RecordingTarget target;
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  target.handler = [&](unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult* result) {
    if (msg == fw::wm::kCommand && fw::LoWord(wParam) == IDC_APPLY) {
      windows_.DestroyWindow(target.Hwnd());
      *result = 0;
      return true;
    }
    if (msg == fw::wm::kDestroy) windows_.DestroyWindow(target.Hwnd());  // re-entry is refused
    return false;
  };
  windows_.ShowWindow(form, fw::sw::kShow);
  EXPECT_TRUE(windows_.Click(form, IDC_APPLY));
  EXPECT_FALSE(windows_.IsWindow(form));
  EXPECT_EQ(target.Of(fw::wm::kDestroy).size(), 1u);
  EXPECT_EQ(target.detached, 1);
}

TEST_F(WindowTreeTest, DeadAndUnknownHandlesAnswerNothing) {
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  Hwnd check = windows_.GetDlgItem(form, IDC_CHECK);
  windows_.DestroyWindow(form);
  Hwnd made_up = reinterpret_cast<Hwnd>(static_cast<std::uintptr_t>(0x1234));
  for (Hwnd dead : {check, form, made_up}) {
    EXPECT_FALSE(windows_.IsWindow(dead));
    EXPECT_EQ(windows_.SendMessage(dead, fw::bm::kGetCheck, 0, 0), 0);
    EXPECT_FALSE(windows_.PostMessage(dead, fw::wm::kUser, 0, 0));
    EXPECT_EQ(windows_.GetWindowText(dead), "");
    EXPECT_EQ(windows_.GetDlgItem(dead, IDC_CHECK), nullptr);
    EXPECT_EQ(windows_.GetParent(dead), nullptr);
    EXPECT_EQ(windows_.GetNextSibling(dead), nullptr);
    EXPECT_FALSE(windows_.ShowWindow(dead, fw::sw::kShow));
    EXPECT_FALSE(windows_.EnableWindow(dead, true));
    EXPECT_FALSE(windows_.IsWindowEnabled(dead));
    EXPECT_EQ(windows_.SetTimer(dead, 1, 100), 0u);
    EXPECT_FALSE(windows_.KillTimer(dead, 1));
    EXPECT_EQ(windows_.GetWindowRect(dead), fw::Rect{});
    EXPECT_FALSE(windows_.MoveWindow(dead, {0, 0, 1, 1}, true));
    EXPECT_FALSE(windows_.Click(dead));
    EXPECT_FALSE(windows_.DestroyWindow(dead));
    windows_.SetWindowText(dead, "x");
    windows_.EndDialog(dead, 1);
  }
  // Handles are never reused, so the old one stays dead when new windows appear.
  Hwnd again = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  EXPECT_NE(again, form);
  EXPECT_FALSE(windows_.IsWindow(form));
  EXPECT_FALSE(windows_.IsWindow(check));
  windows_.DestroyWindow(again);
}

TEST_F(WindowTreeTest, DestroyingAnOwnerDestroysTheWindowsItOwns) {
  RecordingTarget ownerTarget;
  RecordingTarget ownedTarget;
  Hwnd owner = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &ownerTarget);
  Hwnd owned = windows_.CreateDialogFromTemplate(IDD_FORM, owner, &ownedTarget);
  EXPECT_EQ(windows_.Owner(owned), owner);
  EXPECT_EQ(windows_.GetParent(owned), owner) << "a pop-up's parent is its owner";
  EXPECT_EQ(windows_.FindDialog(IDD_FORM), owned) << "the most recent one";
  windows_.DestroyWindow(owner);
  EXPECT_FALSE(windows_.IsWindow(owned));
  EXPECT_EQ(ownedTarget.detached, 1);
  EXPECT_EQ(windows_.FindDialog(IDD_FORM), nullptr);
  EXPECT_EQ(windows_.LiveWindowCount(), 0u);
}

TEST_F(WindowTreeTest, SiblingsFollowTemplateOrder) {
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  Hwnd a = windows_.GetDlgItem(form, IDC_RADIO_A);
  EXPECT_EQ(windows_.GetNextSibling(a), windows_.GetDlgItem(form, IDC_RADIO_B));
  EXPECT_EQ(windows_.GetNextSibling(windows_.GetDlgItem(form, fw::kIdCancel)), nullptr);
  Hwnd tab = windows_.CreateControl(form, "SysTabControl32", "", fw::ws::kChild, {}, 77);
  EXPECT_EQ(windows_.GetNextSibling(windows_.GetDlgItem(form, fw::kIdCancel)), tab)
      << "a new control goes last";
  windows_.DestroyWindow(form);
}

TEST_F(WindowTreeTest, DialogUnitsMapToPixelsTheSameWayEverywhere) {
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  // The form sits at (10, 20) dialog units on the screen, 200 x 150 large.
  EXPECT_EQ(windows_.GetWindowRect(form), (fw::Rect{15, 33, 315, 276}));
  EXPECT_EQ(windows_.GetClientRect(form), (fw::Rect{0, 0, 300, 243}));
  EXPECT_EQ(windows_.MapDialogRect(form, {10, 20, 210, 170}), windows_.GetWindowRect(form));
  // The Apply button: 120, 65, 50 x 14 units inside the form.
  Hwnd apply = windows_.GetDlgItem(form, IDC_APPLY);
  const fw::Rect units = windows_.MapDialogRect(form, {120, 65, 170, 79});
  EXPECT_EQ(units, (fw::Rect{180, 106, 255, 128}));
  EXPECT_EQ(windows_.GetWindowRect(apply), (fw::Rect{15 + 180, 33 + 106, 15 + 255, 33 + 128}));
  EXPECT_EQ(windows_.ScreenToClient(form, {100, 100}), (fw::Point{85, 67}));
  EXPECT_EQ(windows_.ScreenToClient(apply, {195, 139}), (fw::Point{0, 0}));
  windows_.DestroyWindow(form);
}

TEST_F(WindowTreeTest, MovingSendsMoveAndSizeOnlyForWhatChanged) {
  RecordingTarget target;
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  Hwnd child = windows_.CreateDialogFromTemplate(IDD_CHILD_FORM, form, &target);
  const fw::Rect start = windows_.GetClientRect(child);
  EXPECT_TRUE(windows_.MoveWindow(child, {30, 40, 30 + start.right, 40 + start.bottom}, true));
  EXPECT_EQ(target.Of(fw::wm::kMove).size(), 1u);
  EXPECT_EQ(target.Of(fw::wm::kSize).size(), 0u);
  EXPECT_EQ(target.Of(fw::wm::kMove)[0].lParam, 30 | (40 << 16));
  windows_.MoveWindow(child, {30, 40, 130, 90}, true);
  EXPECT_EQ(target.Of(fw::wm::kMove).size(), 1u);
  ASSERT_EQ(target.Of(fw::wm::kSize).size(), 1u);
  EXPECT_EQ(target.Of(fw::wm::kSize)[0].lParam, 100 | (50 << 16));
  const fw::Rect formRect = windows_.GetWindowRect(form);
  EXPECT_EQ(windows_.GetWindowRect(child), (fw::Rect{formRect.left + 30, formRect.top + 40,
                                                     formRect.left + 130, formRect.top + 90}));
  windows_.DestroyWindow(form);
}

TEST_F(WindowTreeTest, ADisabledWindowLosesTheFocus) {
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, nullptr);
  Hwnd check = windows_.GetDlgItem(form, IDC_CHECK);
  EXPECT_EQ(windows_.SetFocus(check), nullptr);
  EXPECT_EQ(windows_.GetFocus(), check);
  windows_.EnableWindow(form, false);
  EXPECT_EQ(windows_.GetFocus(), nullptr) << "a disabled window loses the focus";
  windows_.DestroyWindow(form);
}

TEST_F(WindowTreeTest, TextGoesThroughTheTextMessages) {
  RecordingTarget target;
  Hwnd form = windows_.CreateDialogFromTemplate(IDD_FORM, nullptr, &target);
  windows_.SetWindowText(form, "Renamed");
  EXPECT_EQ(windows_.GetWindowText(form), "Renamed");
  EXPECT_EQ(target.Of(fw::wm::kSetText).size(), 1u);
  EXPECT_GE(target.Of(fw::wm::kGetText).size(), 1u);

  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(windows_.SendMessage(form, fw::wm::kGetText, sizeof small,
                                 reinterpret_cast<fw::LParam>(small)),
            3);
  EXPECT_STREQ(small, "Ren");
  EXPECT_EQ(windows_.SendMessage(form, fw::wm::kGetTextLength, 0, 0), 7);

  // A target that answers the text itself is what GetWindowText reports.
  target.handler = [](unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) {
    if (msg == fw::wm::kGetTextLength) {
      *result = 2;
      return true;
    }
    if (msg == fw::wm::kGetText && wParam >= 3) {
      std::memcpy(reinterpret_cast<char*>(lParam), "Hi", 3);
      *result = 2;
      return true;
    }
    return false;
  };
  EXPECT_EQ(windows_.GetWindowText(form), "Hi");
  windows_.DestroyWindow(form);
}

TEST_F(WindowTreeTest, DestroyingAMenuTakesItsPopupAlong) {
  const fw::Hmenu menu = windows_.LoadMenu(IDR_MENU);
  ASSERT_NE(windows_.GetSubMenu(menu, 0), nullptr);
  EXPECT_EQ(windows_.LiveMenuCount(), 2u);
  EXPECT_TRUE(windows_.DestroyMenu(menu));
  EXPECT_FALSE(windows_.DestroyMenu(menu));
  EXPECT_EQ(windows_.LiveMenuCount(), 0u);
}

TEST(WindowSystemResources, MalformedResourcesAreRefused) {
  const std::uint8_t garbage[] = {1, 2, 3, 4, 5};
  EXPECT_THROW(HeadlessWindowSystem{garbage}, std::invalid_argument);
}

}  // namespace
