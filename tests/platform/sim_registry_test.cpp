// The in-memory registry answers the way the system's registry calls rely on.
#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "device/requests.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_korven_device.h"

namespace {

using platform::Dword;
using platform::HKey;
using platform::sim::SimRegistry;
namespace error = platform::error;
namespace reg = platform::reg;

constexpr char kPath[] = "SOFTWARE\\TALVOR\\KORVEN\\Filter";

class SimRegistryTest : public ::testing::Test {
 protected:
  HKey Open(const char* path = kPath) {
    HKey key = HKey::Null;
    EXPECT_EQ(registry.CreateKeyEx(HKey::LocalMachine, path, "Quenta", 0, reg::kKeyAllAccess, &key,
                                   nullptr),
              error::kSuccess);
    return key;
  }

  SimRegistry registry;
};

TEST_F(SimRegistryTest, QueryAnswersSizeQueriesShortBuffersAndStoredBytes) {
  registry.SetString(HKey::LocalMachine, kPath, "OneKeyStart", "1234567");
  HKey key = Open();

  Dword type = 0;
  Dword size = 0;
  EXPECT_EQ(registry.QueryValueEx(key, "OneKeyStart", &type, nullptr, &size), error::kSuccess);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(type, reg::kTypeSz);

  std::uint8_t small[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  size = sizeof(small);
  type = 0;
  EXPECT_EQ(registry.QueryValueEx(key, "OneKeyStart", &type, small, &size), error::kMoreData);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(type, reg::kTypeSz);

  char text[16] = {};
  size = sizeof(text);
  EXPECT_EQ(registry.QueryValueEx(key, "onekeystart", nullptr,
                                  reinterpret_cast<std::uint8_t*>(text), &size),
            error::kSuccess);
  EXPECT_EQ(size, 8u);
  EXPECT_STREQ(text, "1234567");

  size = sizeof(text);
  EXPECT_EQ(
      registry.QueryValueEx(key, "Missing", nullptr, reinterpret_cast<std::uint8_t*>(text), &size),
      error::kFileNotFound);
  EXPECT_EQ(registry.CloseKey(key), error::kSuccess);
}

TEST_F(SimRegistryTest, CreateMakesMissingParentsWithTheClassAndReportsDisposition) {
  HKey key = HKey::Null;
  Dword disposition = 0;
  ASSERT_EQ(registry.CreateKeyEx(HKey::LocalMachine, "SOFTWARE\\TALVOR\\KORVEN\\Filter\\", "Quenta",
                                 0, reg::kKeyAllAccess, &key, &disposition),
            error::kSuccess);
  EXPECT_EQ(disposition, reg::kCreatedNewKey);
  EXPECT_TRUE(registry.KeyExists(HKey::LocalMachine, "software\\talvor"));
  EXPECT_EQ(registry.KeyClass(HKey::LocalMachine, kPath), "Quenta");
  EXPECT_FALSE(registry.KeyExists(HKey::CurrentUser, kPath));

  HKey again = HKey::Null;
  ASSERT_EQ(registry.CreateKeyEx(HKey::LocalMachine, "software\\talvor\\korven\\FILTER", "Other", 0,
                                 reg::kKeyAllAccess, &again, &disposition),
            error::kSuccess);
  EXPECT_EQ(disposition, reg::kOpenedExistingKey);
  EXPECT_EQ(registry.KeyClass(HKey::LocalMachine, kPath), "Quenta");
  EXPECT_NE(key, again);

  // Both handles name the same key: a value written through one is read through the other.
  const std::uint8_t one[4] = {1, 0, 0, 0};
  ASSERT_EQ(registry.SetValueEx(key, "EnableFilter", reg::kTypeDword, one, 4), error::kSuccess);
  std::uint8_t read[4] = {};
  Dword size = 4;
  EXPECT_EQ(registry.QueryValueEx(again, "ENABLEFILTER", nullptr, read, &size), error::kSuccess);
  EXPECT_EQ(read[0], 1);
  registry.CloseKey(key);
  registry.CloseKey(again);
}

TEST_F(SimRegistryTest, HandlesAreCountedAndClosedOnesAreRefused) {
  EXPECT_EQ(registry.OpenHandleCount(), 0);
  HKey first = Open();
  HKey second = Open();
  EXPECT_EQ(registry.OpenHandleCount(), 2);
  EXPECT_EQ(registry.CloseKey(first), error::kSuccess);
  EXPECT_EQ(registry.OpenHandleCount(), 1);

  const std::uint8_t byte = 0;
  Dword size = 1;
  std::uint8_t out = 0;
  EXPECT_EQ(registry.CloseKey(first), error::kInvalidHandle);
  EXPECT_EQ(registry.SetValueEx(first, "X", reg::kTypeBinary, &byte, 1), error::kInvalidHandle);
  EXPECT_EQ(registry.QueryValueEx(first, "X", nullptr, &out, &size), error::kInvalidHandle);
  EXPECT_EQ(registry.QueryValueEx(HKey::Null, "X", nullptr, &out, &size), error::kInvalidHandle);
  EXPECT_EQ(registry.InvalidHandleUses(), 4);
  EXPECT_TRUE(registry.Writes().empty());

  // A new handle never takes the number of a closed one.
  HKey third = Open();
  EXPECT_NE(third, first);
  registry.CloseKey(second);
  registry.CloseKey(third);

  // Predefined roots are always valid, and closing one changes nothing.
  EXPECT_EQ(registry.CloseKey(HKey::LocalMachine), error::kSuccess);
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

TEST_F(SimRegistryTest, EnumKeyListsSubkeysThenNoMoreItems) {
  registry.AddKey(HKey::LocalMachine, "SOFTWARE\\Beta");
  registry.AddKey(HKey::LocalMachine, "SOFTWARE\\alpha");
  HKey key = HKey::Null;
  ASSERT_EQ(registry.OpenKeyEx(HKey::LocalMachine, "SOFTWARE", reg::kKeyRead, &key),
            error::kSuccess);
  char name[16];
  ASSERT_EQ(registry.EnumKey(key, 0, name, sizeof(name)), error::kSuccess);
  EXPECT_STREQ(name, "alpha");
  ASSERT_EQ(registry.EnumKey(key, 1, name, sizeof(name)), error::kSuccess);
  EXPECT_STREQ(name, "Beta");
  EXPECT_EQ(registry.EnumKey(key, 2, name, sizeof(name)), error::kNoMoreItems);
  EXPECT_EQ(registry.EnumKey(key, 0, name, 5), error::kMoreData);  // "alpha" needs 6
  registry.CloseKey(key);
}

TEST_F(SimRegistryTest, DeniedKeyAndItsChildrenCannotBeOpenedOrCreated) {
  registry.AddKey(HKey::LocalMachine, kPath);
  registry.DenyKey(HKey::LocalMachine, "SOFTWARE\\TALVOR");
  HKey key = static_cast<HKey>(0x1234);
  EXPECT_EQ(registry.CreateKeyEx(HKey::LocalMachine, kPath, "Quenta", 0, reg::kKeyAllAccess, &key,
                                 nullptr),
            error::kAccessDenied);
  EXPECT_EQ(key, HKey::Null);
  EXPECT_EQ(registry.OpenKeyEx(HKey::LocalMachine, "software\\talvor", reg::kKeyRead, &key),
            error::kAccessDenied);
  EXPECT_EQ(registry.OpenKeyEx(HKey::LocalMachine, "SOFTWARE", reg::kKeyRead, &key),
            error::kSuccess);
  registry.CloseKey(key);
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

TEST_F(SimRegistryTest, WritesAreLoggedInOrderWithTheKeyPath) {
  HKey key = Open();
  const std::uint8_t gain[4] = {0x00, 0x00, 0x80, 0x3F};
  const std::uint8_t text[3] = {'a', 'b', 0};
  registry.SetValueEx(key, "VolumeL", reg::kTypeDword, gain, 4);
  registry.SetValueEx(key, "OneKeyStart", reg::kTypeSz, text, 3);
  ASSERT_EQ(registry.Writes().size(), 2u);
  EXPECT_EQ(registry.Writes()[0].key, "HKEY_LOCAL_MACHINE\\SOFTWARE\\TALVOR\\KORVEN\\Filter");
  EXPECT_EQ(registry.Writes()[0].name, "VolumeL");
  EXPECT_EQ(registry.Writes()[0].data, std::vector<std::uint8_t>(gain, gain + 4));
  EXPECT_EQ(registry.Writes()[1].type, reg::kTypeSz);
  EXPECT_EQ(registry.GetDword(HKey::LocalMachine, kPath, "volumel"), 0x3F800000u);
  EXPECT_FALSE(registry.GetDword(HKey::LocalMachine, kPath, "OneKeyStart").has_value());

  registry.DenyWrites(true);
  EXPECT_EQ(registry.SetValueEx(key, "VolumeR", reg::kTypeDword, gain, 4), error::kAccessDenied);
  EXPECT_EQ(registry.Writes().size(), 2u);
  EXPECT_FALSE(registry.GetValue(HKey::LocalMachine, kPath, "VolumeR").has_value());
  registry.CloseKey(key);
}

TEST(FaultPlanTest, NumbersCallsAcrossSimulationsAndFailsOnlyTheChosenOne) {
  platform::sim::FaultPlan plan;
  SimRegistry registry(&plan);
  platform::sim::SimKorvenDevice device(&plan);
  plan.FailCall(3);

  HKey key = HKey::Null;
  EXPECT_EQ(registry.CreateKeyEx(HKey::LocalMachine, kPath, "", 0, 0, &key, nullptr),
            error::kSuccess);                                                 // call 1
  auto handle = device.CreateFile(korven::kDevicePath, 0xC0000000, 3, 3, 0);  // call 2
  ASSERT_NE(handle, platform::kInvalidHandle);
  Dword returned = 0;
  EXPECT_FALSE(device.DeviceIoControl(handle, korven::IOCTL_FILTER_ON, nullptr, 0, nullptr, 0,
                                      &returned));  // call 3
  EXPECT_EQ(device.GetLastError(), static_cast<Dword>(error::kGenFailure));
  EXPECT_FALSE(device.State().filterOn);
  EXPECT_TRUE(device.DeviceIoControl(handle, korven::IOCTL_FILTER_ON, nullptr, 0, nullptr, 0,
                                     &returned));  // call 4
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(registry.SetValueEx(key, "EnableFilter", reg::kTypeDword, one, 4), error::kSuccess);

  EXPECT_EQ(plan.CallCount(), 5);
  EXPECT_EQ(plan.Calls()[2], "DeviceIoControl");
  EXPECT_EQ(plan.Calls()[4], "RegSetValueExA");
  // Closing is never a numbered call, so a sweep cannot turn a close into a leak.
  device.CloseHandle(handle);
  registry.CloseKey(key);
  EXPECT_EQ(plan.CallCount(), 5);
}

}  // namespace
