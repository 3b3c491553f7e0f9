// The Settings key: created below HKEY_LOCAL_MACHINE with its class, values read as exactly
// four bytes, defaults written back at once, failures silent.
#include "settings/settings_key.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_registry.h"
#include "settings/settings_values.h"

namespace {

using platform::Dword;
using platform::HKey;
using platform::sim::SimRegistry;
using namespace korven;
namespace reg = platform::reg;

constexpr char kPath[] = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";
constexpr char kKeyName[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\TALVOR\\KORVEN\\Filter";

const settings::DwordValue* const kAllValues[] = {
    &settings::EnableFilter,  &settings::OutputMode,   &settings::BassOutputMode,
    &settings::SystemVolume,  &settings::VolumeL,      &settings::VolumeR,
    &settings::VolumeC,       &settings::VolumeLFE,    &settings::VolumeRL,
    &settings::VolumeRR,      &settings::FilterVolume, &settings::TestMode,
    &settings::TestBtnStatus, &settings::WinDVDEnable, &settings::PowerDVDEnable,
    &settings::WinampEnable,  &settings::WinripEnable, &settings::MediaPlayerEnable,
    &settings::DefaultSelect,
};

std::vector<std::uint8_t> DwordBytes(Dword v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

class SettingsKeyTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(registry.OpenHandleCount(), 0);
    EXPECT_EQ(registry.InvalidHandleUses(), 0);
  }

  SimRegistry registry;
};

TEST_F(SettingsKeyTest, FirstRunCreatesTheKeyAndWritesEveryDefaultInOrder) {
  {
    SettingsKey key(registry);
    key.Open(kPath);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(registry.KeyClass(HKey::LocalMachine, kPath), "Quenta");
    for (const auto* value : kAllValues) {
      EXPECT_EQ(key.ReadOrDefault(*value), value->defaultValue) << value->name;
    }
  }
  const auto& writes = registry.Writes();
  ASSERT_EQ(writes.size(), std::size(kAllValues));
  for (std::size_t i = 0; i < writes.size(); ++i) {
    SCOPED_TRACE(kAllValues[i]->name);
    EXPECT_EQ(writes[i].key, kKeyName);
    EXPECT_EQ(writes[i].name, kAllValues[i]->name);
    EXPECT_EQ(writes[i].type, reg::kTypeDword);
    EXPECT_EQ(writes[i].data, DwordBytes(kAllValues[i]->defaultValue));
  }
  EXPECT_EQ(registry.GetDword(HKey::LocalMachine, kPath, "VolumeLFE"), 0x3F800000u);
  EXPECT_EQ(registry.GetDword(HKey::LocalMachine, kPath, "TestMode"), 2u);
}

TEST_F(SettingsKeyTest, StoredValuesAreReadWhateverTheirTypeAndNotRewritten) {
  registry.SetDword(HKey::LocalMachine, kPath, "BassOutputMode", 2);
  registry.SetDword(HKey::LocalMachine, kPath, "VolumeL", 0x41200000);
  registry.SetValue(HKey::LocalMachine, kPath, "OutputMode", reg::kTypeBinary, {0, 0, 0, 0});
  SettingsKey key(registry);
  key.Open(kPath);
  EXPECT_EQ(key.ReadOrDefault(settings::BassOutputMode), 2u);
  EXPECT_EQ(key.ReadOrDefault(settings::VolumeL), 0x41200000u);
  EXPECT_EQ(key.ReadOrDefault(settings::OutputMode), 0u);
  EXPECT_TRUE(registry.Writes().empty());
}

TEST_F(SettingsKeyTest, ValuesOfAnyOtherLengthAreMissingAndReplacedByTheDefault) {
  registry.SetString(HKey::LocalMachine, kPath, "EnableFilter", "1234567");
  registry.SetValue(HKey::LocalMachine, kPath, "OutputMode", reg::kTypeBinary, {0x00, 0x00});
  registry.SetValue(HKey::LocalMachine, kPath, "TestMode", reg::kTypeDword, {});
  SettingsKey key(registry);
  key.Open(kPath);
  Dword value = 0xDEADBEEF;
  EXPECT_FALSE(key.Read("EnableFilter", &value));
  EXPECT_FALSE(key.Read("OutputMode", &value));
  EXPECT_EQ(value, 0xDEADBEEFu);  // a failed read leaves the variable alone

  EXPECT_EQ(key.ReadOrDefault(settings::EnableFilter), 1u);
  EXPECT_EQ(key.ReadOrDefault(settings::OutputMode), 1u);
  EXPECT_EQ(key.ReadOrDefault(settings::TestMode), 2u);
  const auto enable = registry.GetValue(HKey::LocalMachine, kPath, "EnableFilter");
  ASSERT_TRUE(enable.has_value());
  EXPECT_EQ(enable->type, reg::kTypeDword);
  EXPECT_EQ(enable->data, DwordBytes(1));
  EXPECT_EQ(registry.GetDword(HKey::LocalMachine, kPath, "OutputMode"), 1u);
  EXPECT_EQ(registry.Writes().size(), 3u);
}

TEST_F(SettingsKeyTest, KeyThatCannotBeOpenedLeavesDefaultsAndWritesNothing) {
  registry.DenyKey(HKey::LocalMachine, "SOFTWARE\\TALVOR");
  SettingsKey key(registry);
  key.Open(kPath);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(key.Handle(), HKey::Null);
  EXPECT_EQ(key.ReadOrDefault(settings::TestMode), 2u);
  EXPECT_EQ(key.ReadOrDefault(settings::VolumeRR), settings::kUnityGainBits);
  key.WriteDword("EnableFilter", 0);
  key.WriteString(settings::OneKeyStart, "C:\\player.exe");
  EXPECT_TRUE(registry.Writes().empty());
  EXPECT_FALSE(registry.KeyExists(HKey::LocalMachine, kPath));
}

TEST_F(SettingsKeyTest, WritesDwordsAndNulTerminatedStrings) {
  SettingsKey key(registry);
  key.Open(kPath);
  key.WriteDword("DefaultSelect", 3);
  key.WriteString(settings::OneKeyStart, "C:\\a.exe");
  key.WriteString(settings::OneKeyStart, "");
  const auto& writes = registry.Writes();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0].data, DwordBytes(3));
  EXPECT_EQ(writes[1].type, reg::kTypeSz);
  EXPECT_EQ(writes[1].data,
            (std::vector<std::uint8_t>{'C', ':', '\\', 'a', '.', 'e', 'x', 'e', 0}));
  EXPECT_EQ(writes[2].data, std::vector<std::uint8_t>{0});
}

TEST_F(SettingsKeyTest, FailedWritesAreIgnoredAndTheDefaultStillHolds) {
  registry.DenyWrites(true);
  SettingsKey key(registry);
  key.Open(kPath);
  EXPECT_EQ(key.ReadOrDefault(settings::SystemVolume), 1u);
  EXPECT_FALSE(registry.GetValue(HKey::LocalMachine, kPath, "SystemVolume").has_value());
}

TEST_F(SettingsKeyTest, EveryHolderHasItsOwnHandleAndClosesItOnce) {
  SettingsKey first(registry);
  SettingsKey second(registry);
  first.Open(kPath);
  second.Open(kPath);
  EXPECT_NE(first.Handle(), second.Handle());
  EXPECT_EQ(registry.OpenHandleCount(), 2);
  first.WriteDword("EnableFilter", 0);
  Dword value = 1;
  EXPECT_TRUE(second.Read("EnableFilter", &value));
  EXPECT_EQ(value, 0u);
  first.Open(kPath);  // opening again replaces the handle instead of leaking it
  EXPECT_EQ(registry.OpenHandleCount(), 2);
  first.Close();
  first.Close();
  EXPECT_EQ(first.Handle(), HKey::Null);
  EXPECT_FALSE(first.Read("EnableFilter", &value));
  EXPECT_EQ(registry.OpenHandleCount(), 1);
}

}  // namespace
