#include "framework/resources/dialog_template.h"

#include <gtest/gtest.h>

#include "tests/resources/test_ids.h"
#include "tests/resources/test_resources.h"

namespace fw::res {
namespace {

using resources_test::TestResource;

constexpr std::uint32_t kChildVisible = WS_CHILD | WS_VISIBLE;

struct ExpectedItem {
  const char* className;
  int id;
  const char* text;
  std::uint32_t style;
  std::int16_t x, y, cx, cy;
};

void ExpectItems(const DialogTemplate& dlg, const std::vector<ExpectedItem>& expected) {
  ASSERT_EQ(dlg.items.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const DialogItem& item = dlg.items[i];
    EXPECT_EQ(item.className, expected[i].className);
    EXPECT_EQ(item.id, expected[i].id);
    EXPECT_EQ(item.text, expected[i].text);
    EXPECT_EQ(item.style, expected[i].style);
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.x, expected[i].x);
    EXPECT_EQ(item.y, expected[i].y);
    EXPECT_EQ(item.cx, expected[i].cx);
    EXPECT_EQ(item.cy, expected[i].cy);
  }
}

TEST(DialogTemplateTest, ReadsExtendedDialogWithFontAndControls) {
  std::optional<DialogTemplate> dlg = ParseDialogTemplate(TestResource(kTypeDialog, IDD_EX));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_TRUE(dlg->extended);
  EXPECT_EQ(dlg->style,
            std::uint32_t{DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU});
  EXPECT_EQ(dlg->exStyle, std::uint32_t{WS_EX_APPWINDOW});
  EXPECT_EQ(dlg->x, 10);
  EXPECT_EQ(dlg->y, 20);
  EXPECT_EQ(dlg->cx, 295);
  EXPECT_EQ(dlg->cy, 185);
  EXPECT_EQ(dlg->menu, ResourceId::Number(IDR_MENU));
  EXPECT_EQ(dlg->windowClass, std::nullopt);
  EXPECT_EQ(dlg->caption, "Test: Panel");
  EXPECT_EQ(dlg->pointSize, 8);
  EXPECT_EQ(dlg->fontName, "Arial");
  EXPECT_EQ(dlg->weight, 0);
  EXPECT_FALSE(dlg->italic);
  EXPECT_EQ(dlg->charset, 1);  // DEFAULT_CHARSET

  constexpr std::uint32_t kTab = WS_TABSTOP;
  ExpectItems(
      *dlg,
      {
          {"Button", IDC_CHECK, "&Enable", kChildVisible | kTab | BS_AUTOCHECKBOX, 7, 7, 60, 10},
          {"Button", IDC_RADIO1, "2.1", kChildVisible | WS_GROUP | BS_AUTORADIOBUTTON, 7, 20, 40,
           10},
          {"Button", IDC_RADIO2, "5.1", kChildVisible | kTab | BS_AUTORADIOBUTTON, 7, 32, 40, 10},
          {"Edit", IDC_EDIT, "", kChildVisible | kTab | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 7,
           50, 80, 14},
          {"Button", -1, "Speakers", kChildVisible | BS_GROUPBOX, 5, 60, 100, 40},
          {"Static", -1, "Label", kChildVisible | WS_GROUP, 7, 70, 40, 8},
          {"Static", -1, "", kChildVisible | SS_ICON, 120, 7, 0, 0},  // an icon sizes itself
          {"MSCTLS_TRACKBAR32", IDC_SLIDER, "", kChildVisible | kTab | TBS_VERT, 150, -7, 20, 80},
          {"Button", IDC_CUSTOM, "Data", kChildVisible | kTab | BS_PUSHBUTTON, 1, 2, 3, 4},
          {"ComboBox", IDC_COMBO, "", kChildVisible | WS_VSCROLL | CBS_DROPDOWNLIST, 7, 100, 60,
           50},
      });
  const DialogItem& icon = dlg->items[6];
  EXPECT_TRUE(icon.textIsOrdinal);
  EXPECT_EQ(icon.textOrdinal, IDI_TEST);
  EXPECT_FALSE(dlg->items[7].textIsOrdinal);
  EXPECT_EQ(dlg->items[8].creationData, (std::vector<std::uint8_t>{1, 0, 2, 0, 'a', 'b'}));
  EXPECT_TRUE(dlg->items[9].creationData.empty());
}

TEST(DialogTemplateTest, ReadsClassicDialog) {
  std::optional<DialogTemplate> dlg = ParseDialogTemplate(TestResource(kTypeDialog, IDD_CLASSIC));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_FALSE(dlg->extended);
  EXPECT_EQ(dlg->style,
            std::uint32_t{DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU});
  EXPECT_EQ(dlg->cx, 196);
  EXPECT_EQ(dlg->cy, 122);
  EXPECT_EQ(dlg->menu, std::nullopt);
  EXPECT_EQ(dlg->windowClass, ResourceId::Name("TESTCLASS"));
  EXPECT_EQ(dlg->caption, "About");
  EXPECT_EQ(dlg->pointSize, 10);
  EXPECT_EQ(dlg->fontName, "System");

  ExpectItems(
      *dlg,
      {
          {"Button", IDOK, "OK", kChildVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, 70, 100, 50, 14},
          {"Static", -1, "Version 1.0", kChildVisible | WS_GROUP, 10, 10, 100, 8},
          {"ListBox", IDC_LIST, "", kChildVisible | WS_BORDER | LBS_NOTIFY, 10, 30, 80, 40},
          {"ScrollBar", IDC_SCROLL, "", kChildVisible | SBS_VERT, 100, 30, 10, 40},
          {"Static", IDC_PICTURE, "", kChildVisible | SS_BITMAP, 120, 30, 40, 40},
      });
  EXPECT_TRUE(dlg->items[4].textIsOrdinal);
  EXPECT_EQ(dlg->items[4].textOrdinal, IDB_TEST);
}

TEST(DialogTemplateTest, ReadsDialogWithoutFontOrItems) {
  const ResourceEntry* e = resources_test::TestResFile().Find(ResourceId::Number(kTypeDialog),
                                                              ResourceId::Name("NAMEDDIALOG"));
  ASSERT_NE(e, nullptr);
  std::optional<DialogTemplate> dlg = ParseDialogTemplate(e->data);
  ASSERT_TRUE(dlg.has_value());
  EXPECT_EQ(dlg->cx, 50);
  EXPECT_TRUE(dlg->caption.empty());
  EXPECT_TRUE(dlg->fontName.empty());
  EXPECT_TRUE(dlg->items.empty());
}

// Builds little-endian words into a classic template with one item of the given class field.
std::vector<std::uint8_t> ClassicWithItemClass(std::vector<std::uint16_t> classField) {
  std::vector<std::uint16_t> words = {0, 0x5000, 0, 0, 1, 0, 0, 10, 10, 0, 0, 0};
  words.insert(words.end(), {0, 0x5000, 0, 0, 1, 2, 3, 4, 77});  // aligned: 24 bytes so far
  words.insert(words.end(), classField.begin(), classField.end());
  words.insert(words.end(), {0, 0});  // no text, no creation data
  std::vector<std::uint8_t> bytes;
  for (std::uint16_t w : words) {
    bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
  }
  return bytes;
}

TEST(DialogTemplateTest, NamesControlClassesAndRejectsUnknownAtoms) {
  std::optional<DialogTemplate> atom = ParseDialogTemplate(ClassicWithItemClass({0xFFFF, 0x85}));
  ASSERT_TRUE(atom.has_value());
  ASSERT_EQ(atom->items.size(), 1u);
  EXPECT_EQ(atom->items[0].className, "ComboBox");
  EXPECT_EQ(atom->items[0].id, 77);

  std::optional<DialogTemplate> named =
      ParseDialogTemplate(ClassicWithItemClass({'e', 'D', 'i', 'T', 0}));
  ASSERT_TRUE(named.has_value());
  EXPECT_EQ(named->items[0].className, "Edit");

  EXPECT_FALSE(ParseDialogTemplate(ClassicWithItemClass({0xFFFF, 0x86})).has_value());
  EXPECT_FALSE(ParseDialogTemplate(ClassicWithItemClass({0xFFFF, 0x7F})).has_value());
}

}  // namespace
}  // namespace fw::res
