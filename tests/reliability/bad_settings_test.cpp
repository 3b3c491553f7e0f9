// Whatever another program or a damaged hive left in the Settings key, a whole sitting runs
// cleanly, the driver only ever gets values it knows, and the key ends with values the
// program can read back.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "device/requests.h"
#include "settings/settings_values.h"
#include "tests/reliability/tray_run.h"

namespace korven::reliability {
namespace {

using platform::Dword;
using platform::HKey;
namespace reg = platform::reg;

constexpr const char* kKey = testing::SimulatedMachine::kSettingsKey;

// Every value of the key the program reads as a number.
const settings::DwordValue kNumbers[] = {
    settings::EnableFilter,  settings::OutputMode,   settings::BassOutputMode,
    settings::SystemVolume,  settings::VolumeL,      settings::VolumeR,
    settings::VolumeC,       settings::VolumeLFE,    settings::VolumeRL,
    settings::VolumeRR,      settings::FilterVolume, settings::TestMode,
    settings::TestBtnStatus, settings::WinDVDEnable, settings::PowerDVDEnable,
    settings::WinampEnable,  settings::WinripEnable, settings::MediaPlayerEnable,
    settings::DefaultSelect,
};

std::vector<std::uint8_t> Bytes(Dword value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

struct Case {
  std::string what;
  std::string name;
  Dword type;
  std::vector<std::uint8_t> data;
  // The sitting leaves a number in its place (the program read it as missing).
  bool replaced;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  const std::vector<std::uint8_t> veryLong(70000, 0x41);
  for (const settings::DwordValue& value : kNumbers) {
    const std::string name = value.name;
    // Too short or too long to be a number: read as missing, so the default goes back.
    for (std::size_t length : {0u, 1u, 3u, 5u}) {
      cases.push_back({name + " binary of " + std::to_string(length), name, reg::kTypeBinary,
                       std::vector<std::uint8_t>(length, 0xFF), true});
    }
    cases.push_back({name + " very long string", name, reg::kTypeSz, veryLong, true});
    cases.push_back(
        {name + " 64-bit number", name, reg::kTypeQword, {1, 0, 0, 0, 0, 0, 0, 0}, true});
    cases.push_back({name + " multi-string", name, reg::kTypeMultiSz, {'1', 0, 0}, true});
    // Four bytes of another type are still four bytes: read as they are.
    cases.push_back({name + " four-byte string", name, reg::kTypeSz, {'1', '2', '3', 0}, false});
    cases.push_back({name + " all ones", name, reg::kTypeDword, Bytes(0xFFFFFFFF), false});
  }
  const Dword nan = std::bit_cast<Dword>(std::numeric_limits<float>::quiet_NaN());
  const Dword inf = std::bit_cast<Dword>(std::numeric_limits<float>::infinity());
  cases.push_back({"TestMode 7", "TestMode", reg::kTypeDword, Bytes(7), false});
  cases.push_back({"DefaultSelect 99", "DefaultSelect", reg::kTypeDword, Bytes(99), false});
  cases.push_back({"SystemVolume -1", "SystemVolume", reg::kTypeDword, Bytes(0xFFFFFFFF), false});
  cases.push_back({"SystemVolume 1000", "SystemVolume", reg::kTypeDword, Bytes(1000), false});
  cases.push_back({"BassOutputMode 5", "BassOutputMode", reg::kTypeDword, Bytes(5), false});
  cases.push_back({"VolumeL NaN", "VolumeL", reg::kTypeDword, Bytes(nan), true});
  cases.push_back({"VolumeR infinite", "VolumeR", reg::kTypeDword, Bytes(inf), true});
  cases.push_back(
      {"VolumeLFE minus infinite", "VolumeLFE", reg::kTypeDword, Bytes(inf | 0x80000000u), true});
  cases.push_back(
      {"VolumeRR signalling NaN", "VolumeRR", reg::kTypeDword, Bytes(0x7F800001), true});
  return cases;
}

// What the driver got that it does not know: one line each.
std::vector<std::string> UnknownToTheDriver(const testing::SimulatedMachine& m) {
  std::vector<std::string> found;
  for (const platform::sim::DeviceRequest& request : m.korven.Accepted()) {
    if (request.code >= IOCTL_SET_GAIN_LFE && request.code <= IOCTL_SET_GAIN_RR) {
      float gain = 0;
      std::memcpy(&gain, request.input.data(), sizeof gain);
      if (!std::isfinite(gain)) found.push_back(platform::sim::FormatRequest(request));
    }
    if (request.code == IOCTL_SET_BASS_MODE) {
      bool known = false;
      for (const BassModeRecord& record : kBassModeRecords) {
        known = known || std::memcmp(&record, request.input.data(), sizeof record) == 0;
      }
      if (!known) found.push_back(platform::sim::FormatRequest(request));
    }
  }
  for (Dword volume : m.mixers.ValuesSet(0)) {
    if (volume > platform::sim::SimMixers::kMaximumVolume) {
      found.push_back("master volume " + std::to_string(volume));
    }
  }
  return found;
}

TEST(BadStoredSettings, EveryMalformedValueGivesACleanSittingAndKnownValues) {
  int checked = 0;
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    TrayRun s;
    s.m.PlugKorven();
    InstallPlayers(s.m);
    s.m.registry.SetValue(HKey::LocalMachine, kKey, c.name, c.type, c.data);
    s.Run([&] { OneSitting(s); });

    EXPECT_TRUE(s.exitReachable);
    EXPECT_EQ(s.m.windows.AbandonedModalRunCount(), 0);
    const std::vector<std::string> left = s.Leftovers();
    EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left);
    const std::vector<std::string> unknown = UnknownToTheDriver(s.m);
    EXPECT_TRUE(unknown.empty()) << ::testing::PrintToString(unknown);
    if (c.replaced) {
      EXPECT_TRUE(s.m.registry.GetDword(HKey::LocalMachine, kKey, c.name)) << "not a number";
    }
    for (const char* gain :
         {"VolumeL", "VolumeR", "VolumeC", "VolumeLFE", "VolumeRL", "VolumeRR"}) {
      const auto stored = s.m.registry.GetDword(HKey::LocalMachine, kKey, gain);
      ASSERT_TRUE(stored) << gain;
      EXPECT_TRUE(std::isfinite(std::bit_cast<float>(*stored))) << gain;
    }
    ++checked;
  }
  EXPECT_GE(checked, 180);
}

}  // namespace
}  // namespace korven::reliability
