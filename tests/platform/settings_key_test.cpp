// The Settings key handle. What it reads, writes and defaults is checked by the pages' first-run
// and stored-value scenarios and the bad-settings sweep; here only what no scenario does: one
// holder opening again and closing twice.
#include "settings/settings_key.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace {

constexpr char kPath[] = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";

TEST(SettingsKeyTest, EveryHolderHasItsOwnHandleAndClosesItOnce) {
  platform::sim::SimRegistry registry;
  korven::SettingsKey first(registry);
  korven::SettingsKey second(registry);
  first.Open(kPath);
  second.Open(kPath);
  EXPECT_NE(first.Handle(), second.Handle());
  first.WriteDword("EnableFilter", 0);
  platform::Dword value = 1;
  EXPECT_TRUE(second.Read("EnableFilter", &value));
  EXPECT_EQ(value, 0u);
  first.Open(kPath);  // opening again replaces the handle instead of leaking it
  EXPECT_EQ(registry.OpenHandleCount(), 2);
  first.Close();
  first.Close();
  EXPECT_EQ(first.Handle(), platform::HKey::Null);
  EXPECT_FALSE(first.Read("EnableFilter", &value));
  EXPECT_EQ(registry.OpenHandleCount(), 1);
  second.Close();
  EXPECT_EQ(registry.InvalidHandleUses(), 0);
}

}  // namespace
