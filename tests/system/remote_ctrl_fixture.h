// The Remote Controller page in a sheet over the main window's frame, on the simulated
// registry, with media players installed the way their own set-ups register them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework/property_sheet.h"
#include "platform/platform.h"
#include "platform/sim/sim_registry.h"
#include "remote/remote_ctrl_page.h"
#include "res/resource.h"
#include "sheet_host.h"

namespace korven::testing {

using platform::HKey;

inline constexpr const char* kSettingsKey = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";
inline constexpr const char* kWinDVDKey = "SOFTWARE\\InterVideo\\WinDVD";
inline constexpr const char* kPowerDVDKey = "SOFTWARE\\CyberLink\\PowerDVD";
inline constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* kWinripKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\WinRip.exe";
inline constexpr const char* kMediaPlayerKey = "SOFTWARE\\Microsoft\\MediaPlayer";

inline constexpr int kPlayerBoxes[] = {IDC_PLAYER_WINDVD, IDC_PLAYER_POWERDVD, IDC_PLAYER_WINAMP,
                                       IDC_PLAYER_WINRIP, IDC_PLAYER_MEDIAPLAYER};

class RemoteCtrlTest : public ::testing::Test, protected testing::SheetHost<CRemoteCtrlPage> {
 protected:
  RemoteCtrlTest() { platform_.registry = &registry_; }

  ~RemoteCtrlTest() override {
    Close();
    EXPECT_EQ(registry_.OpenHandleCount(), 0) << "registry handles leaked";
    EXPECT_EQ(registry_.InvalidHandleUses(), 0);
    for (const auto& write : registry_.WritesOutside(HKey::LocalMachine, kSettingsKey)) {
      ADD_FAILURE() << "written outside the Settings key: " << write.key << "\\" << write.name;
    }
    EXPECT_EQ(windows_.PendingFileAnswerCount(), 0u) << "a scripted chooser never came";
  }

  // The page at index 0 and a plain page at index 1; the page's first activation runs.
  void Open() {
    OpenSheet(windows_, platform_,
              [&](fw::CDialog& host, CRemoteCtrlPage&) { windows_.SetMainWnd(&host); });
  }

  // The user leaves the page and comes back to it.
  void Reactivate() {
    sheet_->SetActivePage(1);
    sheet_->SetActivePage(0);
  }

  void Close() { CloseSheet(); }

  // --- Players' own installations.
  void InstallWinDVD(std::string_view directory = "C:\\Program Files\\InterVideo\\DVD4") {
    registry_.SetString(HKey::LocalMachine, kWinDVDKey, "PATH", directory);
  }
  void InstallPowerDVD(std::string_view directory = "C:\\Program Files\\CyberLink\\PowerDVD") {
    registry_.SetString(HKey::LocalMachine, kPowerDVDKey, "InstallDir", directory);
  }
  // `generation` is "Winamp" or "Winamp3"; an empty command leaves UninstallString out.
  void InstallWinamp(std::string_view generation = "Winamp",
                     std::string_view command = "\"C:\\Program Files\\Winamp\\UninstWA.exe\"") {
    const std::string key = std::string(kUninstallKey) + "\\" + std::string(generation);
    registry_.SetString(HKey::LocalMachine, key, "DisplayName", generation);
    if (!command.empty()) registry_.SetString(HKey::LocalMachine, key, "UninstallString", command);
  }
  void InstallWinrip(std::string_view directory = "C:\\Program Files\\WinRip") {
    registry_.SetString(HKey::LocalMachine, kWinripKey, "PATH", directory);
  }
  void InstallMediaPlayer(std::vector<std::string_view> versions = {"6.4", "8.0"},
                          std::string_view directory = "C:\\Program Files\\Windows Media Player") {
    registry_.SetString(HKey::LocalMachine, kMediaPlayerKey, "Installation Directory", directory);
    for (std::string_view version : versions) {
      registry_.AddKey(HKey::LocalMachine,
                       std::string(kMediaPlayerKey) + "\\" + std::string(version));
    }
  }

  // --- The screen.
  fw::Hwnd Page() const { return page_->GetSafeHwnd(); }
  fw::Hwnd List() const { return windows_.Control(Page(), IDC_POWER_KEY_LIST); }
  std::vector<std::string> Items() const { return windows_.ComboItems(List()); }
  std::string Selected() const {
    const int index = windows_.ComboSelection(List());
    const std::vector<std::string> items = Items();
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : "<none>";
  }
  bool Checked(int id) const { return page_->IsDlgButtonChecked(id) == 1; }
  bool Enabled(int id) const { return page_->IsDlgItemEnabled(id); }
  void Click(int id) { ASSERT_TRUE(windows_.Click(Page(), id)) << "box " << id; }
  void Pick(std::string_view text) {
    const std::vector<std::string> items = Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == text) {
        ASSERT_TRUE(windows_.SelectComboItem(List(), static_cast<int>(i)));
        return;
      }
    }
    FAIL() << "no item " << text;
  }

  // --- The Settings key.
  std::optional<platform::Dword> Stored(const char* name) const {
    return registry_.GetDword(HKey::LocalMachine, kSettingsKey, name);
  }
  void Store(const char* name, platform::Dword value) {
    registry_.SetDword(HKey::LocalMachine, kSettingsKey, name, value);
  }
  // OneKeyStart as written: a REG_SZ whose bytes end in exactly one zero.
  std::string OneKeyStart() const {
    const auto value = registry_.GetValue(HKey::LocalMachine, kSettingsKey, "OneKeyStart");
    if (!value) return "<absent>";
    EXPECT_EQ(value->type, platform::reg::kTypeSz);
    if (value->data.empty() || value->data.back() != 0) return "<not terminated>";
    return std::string(value->data.begin(), value->data.end() - 1);
  }
  // The names of the writes since the last ClearWrites, in order.
  std::vector<std::string> WrittenNames() const {
    std::vector<std::string> names;
    for (const auto& write : registry_.Writes()) names.push_back(write.name);
    return names;
  }

  fw::headless::HeadlessWindowSystem windows_;
  platform::sim::SimRegistry registry_;
  platform::Platform platform_;
};

}  // namespace korven::testing
