#include "framework/resources/res_file.h"

#include <gtest/gtest.h>

#include "tests/resources/test_ids.h"
#include "tests/resources/test_resources.h"

namespace fw::res {
namespace {

using resources_test::TestResBytes;
using resources_test::TestResFile;

TEST(ResFileTest, ReadsTypesNamesAndLanguagesOfEveryEntry) {
  std::optional<ResFile> file = ResFile::Parse(TestResBytes());
  ASSERT_TRUE(file.has_value());
  // Two string blocks (ids 1-15 and 16, 100-101, 65535 fall in blocks 1, 2, 7, 4096), three
  // dialogs, a menu, a DLGINIT and a custom resource; the leading empty entry is not one.
  EXPECT_EQ(file->Entries().size(), 10u);
  for (const ResourceEntry& e : file->Entries()) EXPECT_EQ(e.language, 0x0409);

  const ResourceEntry* dialog =
      file->Find(ResourceId::Number(kTypeDialog), ResourceId::Number(IDD_CLASSIC));
  ASSERT_NE(dialog, nullptr);
  EXPECT_GE(dialog->data.data(), TestResBytes().data());
  EXPECT_LE(dialog->data.data() + dialog->data.size(),
            TestResBytes().data() + TestResBytes().size());

  // String names are stored upper-cased and found in any case.
  const ResourceEntry* named =
      file->Find(ResourceId::Number(kTypeDialog), ResourceId::Name("NamedDialog"));
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(named->name, ResourceId::Name("NAMEDDIALOG"));

  const ResourceEntry* custom = file->Find(ResourceId::Name("customtype"), ResourceId::Number(7));
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(std::vector<std::uint8_t>(custom->data.begin(), custom->data.end()),
            (std::vector<std::uint8_t>{1, 0, 2, 0}));

  EXPECT_EQ(file->Find(ResourceId::Number(kTypeMenu), ResourceId::Number(IDD_EX)), nullptr);
  EXPECT_EQ(file->Find(ResourceId::Number(kTypeDialog), ResourceId::Name("OTHER")), nullptr);
  EXPECT_EQ(file->Find(ResourceId::Name("CUSTOMTYPE"), ResourceId::Name("7")), nullptr);
}

TEST(ResFileTest, FindsStringsAcrossBlocks) {
  const ResFile& file = TestResFile();
  EXPECT_EQ(file.FindString(IDS_FIRST), "KORVEN");
  EXPECT_EQ(file.FindString(IDS_END_OF_BLOCK), "fifteen");
  EXPECT_EQ(file.FindString(IDS_NEXT_BLOCK), "sixteen");
  EXPECT_EQ(file.FindString(IDS_SPARSE), "Line one\nLine two");
  EXPECT_EQ(file.FindString(IDS_TOP), "top");
  // Unused ids inside a present block, in an absent block, and beyond 16 bits.
  EXPECT_EQ(file.FindString(0), std::nullopt);
  EXPECT_EQ(file.FindString(2), std::nullopt);
  EXPECT_EQ(file.FindString(17), std::nullopt);
  EXPECT_EQ(file.FindString(50), std::nullopt);
  EXPECT_EQ(file.FindString(65535 + 2), std::nullopt);
}

TEST(ResFileTest, ConvertsTextToCodePage1252) {
  EXPECT_EQ(TestResFile().FindString(IDS_ANSI), "Caf\xE9 \x80 ?");

  const std::vector<std::uint16_t> text = {
      'A',    0x00FF, 0x0152,                // plain, Latin-1, a code-page-only letter (0x8C)
      0x0080, 0x0081, 0x2122,                // a C1 control it lacks, one it keeps, the trade mark
      0xD83D, 0xDE00, 0xD800, 'z', 0xDC00};  // a pair, then two lone surrogates
  EXPECT_EQ(AnsiFromUtf16(text), "A\xFF\x8C?\x81\x99??z?");
  EXPECT_EQ(AnsiFromUtf16({}), "");
}

}  // namespace
}  // namespace fw::res
