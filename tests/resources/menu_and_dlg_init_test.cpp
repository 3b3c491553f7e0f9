#include <gtest/gtest.h>

#include "framework/resources/dlg_init.h"
#include "framework/resources/menu_template.h"
#include "tests/resources/test_ids.h"
#include "tests/resources/test_resources.h"

namespace fw::res {
namespace {

using resources_test::TestResource;

TEST(MenuTemplateTest, ReadsPopupsItemsAndFlags) {
  std::optional<MenuTemplate> menu = ParseMenuTemplate(TestResource(kTypeMenu, IDR_MENU));
  ASSERT_TRUE(menu.has_value());
  ASSERT_EQ(menu->items.size(), 2u);

  const MenuItem& file = menu->items[0];
  EXPECT_TRUE(file.IsPopup());
  EXPECT_EQ(file.flags, kMenuPopup);
  EXPECT_EQ(file.text, "&File");
  ASSERT_EQ(file.items.size(), 4u);

  EXPECT_EQ(file.items[0].text, "&Open\tCtrl+O");
  EXPECT_EQ(file.items[0].id, ID_OPEN);
  EXPECT_EQ(file.items[0].flags, 0);
  EXPECT_TRUE(file.items[1].IsSeparator());
  EXPECT_FALSE(file.items[0].IsSeparator());

  const MenuItem& recent = file.items[2];
  EXPECT_TRUE(recent.IsPopup());
  EXPECT_FALSE(recent.IsSeparator());
  ASSERT_EQ(recent.items.size(), 1u);
  EXPECT_EQ(recent.items[0].text, "One");
  EXPECT_EQ(recent.items[0].id, ID_RECENT);
  EXPECT_EQ(recent.items[0].flags, kMenuChecked);  // the end mark is not kept

  EXPECT_EQ(file.items[3].text, "E&xit");
  EXPECT_EQ(file.items[3].id, ID_EXIT);
  EXPECT_EQ(file.items[3].flags, kMenuGrayed);

  EXPECT_EQ(menu->items[1].text, "&Help");
  EXPECT_EQ(menu->items[1].id, ID_HELP);
  EXPECT_EQ(menu->items[1].flags, kMenuHelp);
  EXPECT_TRUE(menu->items[1].items.empty());
}

std::vector<std::uint8_t> Bytes(std::initializer_list<std::uint16_t> words) {
  std::vector<std::uint8_t> bytes;
  for (std::uint16_t w : words) {
    bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
  }
  return bytes;
}

TEST(MenuTemplateTest, RejectsExtendedMenusMissingEndsAndDeepNesting) {
  // Header with two extra bytes to skip, then one item "A" with id 5 that ends the menu.
  std::optional<MenuTemplate> skipped =
      ParseMenuTemplate(Bytes({0, 2, 0xEEEE, kMenuEnd, 5, 'A', 0}));
  ASSERT_TRUE(skipped.has_value());
  ASSERT_EQ(skipped->items.size(), 1u);
  EXPECT_EQ(skipped->items[0].id, 5);
  EXPECT_EQ(skipped->items[0].text, "A");

  EXPECT_FALSE(ParseMenuTemplate(Bytes({1, 4, 0, 0, 0, 0, 0, 0})).has_value());  // MENUEX
  EXPECT_FALSE(ParseMenuTemplate(Bytes({0, 0, 0, 5, 'A', 0})).has_value());      // no end mark

  // Pop-ups nested far deeper than a menu can be.
  std::vector<std::uint8_t> deep = Bytes({0, 0});
  for (int i = 0; i < 100000; ++i) {
    std::vector<std::uint8_t> popup = Bytes({kMenuPopup | kMenuEnd, 0});
    deep.insert(deep.end(), popup.begin(), popup.end());
  }
  EXPECT_FALSE(ParseMenuTemplate(deep).has_value());
}

TEST(DlgInitTest, ReadsRecordsUpToTheTerminator) {
  std::optional<std::vector<DlgInitRecord>> records =
      ParseDlgInit(TestResource(kTypeDlgInit, IDD_EX));
  ASSERT_TRUE(records.has_value());
  ASSERT_EQ(records->size(), 2u);
  EXPECT_EQ((*records)[0].controlId, IDC_COMBO);
  EXPECT_EQ((*records)[0].message, kDlgInitComboAddString);
  EXPECT_EQ((*records)[0].data, (std::vector<std::uint8_t>{'1', '2', '0', 0}));
  EXPECT_EQ((*records)[0].Text(), "120");
  EXPECT_EQ((*records)[1].Text(), "450Hz");

  std::optional<std::vector<DlgInitRecord>> none = ParseDlgInit(Bytes({0}));
  ASSERT_TRUE(none.has_value());
  EXPECT_TRUE(none->empty());
  // A length beyond the data, and records without the terminator.
  EXPECT_FALSE(ParseDlgInit(Bytes({7, 0x403, 0xFFFF, 0xFFFF, 0})).has_value());
  EXPECT_FALSE(ParseDlgInit(Bytes({7, 0x403, 2, 0, 'x'})).has_value());
  EXPECT_FALSE(ParseDlgInit({}).has_value());
}

}  // namespace
}  // namespace fw::res
