// Truncated and corrupted input: every reader must reject it or parse it without reading
// outside the bytes it was given (each case runs on an exact heap copy, so the address
// sanitizer reports any stray read).
#include <gtest/gtest.h>

#include <set>

#include "framework/resources/dialog_template.h"
#include "framework/resources/dlg_init.h"
#include "framework/resources/menu_template.h"
#include "framework/resources/res_file.h"
#include "tests/resources/test_ids.h"
#include "tests/resources/test_resources.h"

namespace fw::res {
namespace {

using resources_test::Copy;
using resources_test::TestResBytes;
using resources_test::TestResFile;
using resources_test::TestResource;

// Offsets at which an entry ends, padding included: the only prefixes that are whole files.
std::set<std::size_t> EntryBoundaries() {
  std::set<std::size_t> ends = {32};
  const std::uint8_t* base = TestResBytes().data();
  for (const ResourceEntry& e : TestResFile().Entries()) {
    std::size_t end = static_cast<std::size_t>(e.data.data() - base) + e.data.size();
    ends.insert((end + 3) / 4 * 4);
  }
  return ends;
}

// Runs every reader that could apply to an entry; only the absence of stray reads matters.
void ReadEverything(const ResFile& file) {
  for (const ResourceEntry& e : file.Entries()) {
    (void)ParseDialogTemplate(e.data);
    (void)ParseMenuTemplate(e.data);
    (void)ParseDlgInit(e.data);
  }
  for (unsigned id : {1u, 15u, 16u, 100u, 101u, 65535u}) (void)file.FindString(id);
}

TEST(MalformedInputTest, EveryPrefixOfTheFileIsRejectedUnlessItEndsAnEntry) {
  const std::set<std::size_t> boundaries = EntryBoundaries();
  ASSERT_EQ(boundaries.count(TestResBytes().size()), 1u);
  for (std::size_t length = 0; length <= TestResBytes().size(); ++length) {
    SCOPED_TRACE(length);
    std::vector<std::uint8_t> prefix = Copy(TestResBytes().first(length));
    std::optional<ResFile> file = ResFile::Parse(prefix);
    EXPECT_EQ(file.has_value(), boundaries.count(length) == 1);
    if (file) ReadEverything(*file);
  }
}

TEST(MalformedInputTest, EveryProperPrefixOfATemplateIsRejected) {
  struct Case {
    std::uint16_t type, name;
  };
  for (Case c : {Case{kTypeDialog, IDD_EX}, Case{kTypeDialog, IDD_CLASSIC},
                 Case{kTypeMenu, IDR_MENU}, Case{kTypeDlgInit, IDD_EX}}) {
    std::span<const std::uint8_t> whole = TestResource(c.type, c.name);
    ASSERT_FALSE(whole.empty());
    for (std::size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE(testing::Message() << c.type << "/" << c.name << " length " << length);
      std::vector<std::uint8_t> prefix = Copy(whole.first(length));
      switch (c.type) {
        case kTypeDialog:
          EXPECT_FALSE(ParseDialogTemplate(prefix).has_value());
          break;
        case kTypeMenu:
          EXPECT_FALSE(ParseMenuTemplate(prefix).has_value());
          break;
        default:
          EXPECT_FALSE(ParseDlgInit(prefix).has_value());
      }
    }
  }
}

TEST(MalformedInputTest, CorruptedBytesNeverLeadOutsideTheFile) {
  const std::span<const std::uint8_t> original = TestResBytes();
  for (std::size_t at = 0; at < original.size(); ++at) {
    for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      std::vector<std::uint8_t> bytes = Copy(original);
      bytes[at] = value;
      std::optional<ResFile> file = ResFile::Parse(bytes);
      if (!file) continue;
      for (const ResourceEntry& e : file->Entries()) {
        ASSERT_GE(e.data.data(), bytes.data());
        ASSERT_LE(e.data.data() + e.data.size(), bytes.data() + bytes.size());
      }
      ReadEverything(*file);
    }
  }
}

// Little-endian DWORDs.
std::vector<std::uint8_t> Dwords(std::initializer_list<std::uint32_t> values) {
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t v : values) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  return bytes;
}

TEST(MalformedInputTest, RejectsBadHeaders) {
  auto file = [&](std::initializer_list<std::uint32_t> entry) {
    std::vector<std::uint8_t> bytes = Dwords({0, 32, 0xFFFF, 0xFFFF, 0, 0, 0, 0});
    std::vector<std::uint8_t> rest = Dwords(entry);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
  };
  // A well-formed entry: RCDATA #5, four data bytes.
  const std::vector<std::uint8_t> goodBytes =
      file({4, 32, 0x000AFFFF, 0x0005FFFF, 0, 0, 0, 0, 0xDDCCBBAA});
  std::optional<ResFile> good = ResFile::Parse(goodBytes);
  ASSERT_TRUE(good.has_value());
  ASSERT_EQ(good->Entries().size(), 1u);
  EXPECT_EQ(good->Entries()[0].data.size(), 4u);
  EXPECT_EQ(good->Entries()[0].data[3], 0xDD);

  // The leading entry is missing or not empty.
  EXPECT_FALSE(ResFile::Parse(Dwords({4, 32, 0x000AFFFF, 0x0005FFFF, 0, 0, 0, 0, 1})).has_value());
  EXPECT_FALSE(ResFile::Parse(Dwords({4, 32, 0xFFFF, 0xFFFF, 0, 0, 0, 0, 1})).has_value());
  // A header whose size wraps round, one too short for its own fields, a name string with
  // no terminator inside the header. (Data, headers and padding cut short by the end of the
  // file: every prefix of the test file, above.)
  EXPECT_FALSE(
      ResFile::Parse(file({0, 0xFFFFFFF0, 0x000AFFFF, 0x0005FFFF, 0, 0, 0, 0})).has_value());
  EXPECT_FALSE(ResFile::Parse(file({0, 28, 0x000AFFFF, 0x0005FFFF, 0, 0, 0, 0})).has_value());
  EXPECT_FALSE(ResFile::Parse(file({0, 32, 0x000AFFFF, 0x00410041, 0x00410041, 0x00410041,
                                    0x00410041, 0x00410041}))
                   .has_value());
}

}  // namespace
}  // namespace fw::res
