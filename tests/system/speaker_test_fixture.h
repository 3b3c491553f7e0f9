// The Speaker Test dialog owned by a stand-in Control Panel window, on the simulated device,
// registry and sounds, with the sound clock wired to the window system's virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/requests.h"
#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_sound.h"
#include "res/compiled_resources.h"
#include "res/resource.h"
#include "speaker_test/sound_movement_pad.h"
#include "speaker_test/speaker_test_dlg.h"

namespace korven {

class SpeakerTestFixture : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";

  explicit SpeakerTestFixture(
      std::uint32_t startTime = fw::headless::HeadlessWindowSystem::kDefaultStartTime)
      : windows_({res::kCompiledResources, res::kCompiledResourcesSize}, startTime) {
    platform_.registry = &registry_;
    platform_.device = &device_;
    platform_.sound = &sound_;
    sound_.SetClock([this] { return windows_.Now(); });
  }

  ~SpeakerTestFixture() override {
    Destroy();
    EXPECT_EQ(device_.OpenHandleCount(), 0) << "device handles leaked";
    EXPECT_EQ(registry_.OpenHandleCount(), 0) << "registry handles leaked";
    EXPECT_EQ(windows_.LiveBitmapCount(), 0u) << "bitmaps leaked";
    EXPECT_EQ(windows_.LiveDcCount(), 0u) << "drawing contexts leaked";
    EXPECT_EQ(windows_.LiveTimerCount(), 0u) << "timers left running";
  }

  void Create() {
    owner_ = std::make_unique<fw::CDialog>(windows_, IDD_CONTROL_PANEL);
    ASSERT_TRUE(owner_->Create());
    dlg_ = std::make_unique<CSpeakerTestDlg>(windows_, platform_, marker_);
    ASSERT_TRUE(dlg_->Create(owner_.get()));
  }
  // Created and opened, with the logs of both cleared.
  void CreateAndOpen() {
    Create();
    dlg_->OpenSpeakerTest();
    ASSERT_TRUE(dlg_->IsShown());
    device_.ClearRequests();
    sound_.ClearLog();
  }
  void Destroy() {
    if (dlg_ == nullptr) return;
    dlg_->DestroyWindow();
    dlg_.reset();
    owner_->DestroyWindow();
    owner_.reset();
  }

  fw::Hwnd Dlg() const { return dlg_->GetSafeHwnd(); }
  fw::Hwnd Item(int id) const { return windows_.Control(Dlg(), id); }
  bool Click(int id) { return windows_.Click(Dlg(), id); }
  bool Enabled(int id) const { return dlg_->IsDlgItemEnabled(id); }
  bool Checked(int id) const { return windows_.GetCheck(Item(id)) == fw::bm::kChecked; }
  // The image the TEST button drew last, by resource name.
  std::string TestImage() const {
    return windows_.BitmapName(windows_.DrawnBitmap(Item(IDC_TEST)));
  }
  std::string Picture(int id) const { return windows_.ShownBitmap(Item(id)); }
  fw::Point CentreOf(int id) {
    const fw::Rect r = windows_.GetWindowRect(Item(id));
    return windows_.ScreenToClient(Dlg(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

  std::string Requests() const { return platform::sim::FormatRequests(device_.Requests()); }
  std::string Sounds() const { return sound_.FormatLog(); }
  void Clear() {
    device_.ClearRequests();
    sound_.ClearLog();
  }
  std::optional<platform::Dword> Stored(const char* name) const {
    return registry_.GetDword(platform::HKey::LocalMachine, kKey, name);
  }
  void Store(const char* name, platform::Dword value) {
    registry_.SetDword(platform::HKey::LocalMachine, kKey, name, value);
  }

  fw::headless::HeadlessWindowSystem windows_;
  platform::sim::SimRegistry registry_;
  platform::sim::SimKorvenDevice device_;
  platform::sim::SimSound sound_;
  SoundMovementMarker marker_;  // the process's marker, which the application object keeps
  platform::Platform platform_;
  std::unique_ptr<fw::CDialog> owner_;
  std::unique_ptr<CSpeakerTestDlg> dlg_;
};

}  // namespace korven
