// The Volume page against the simulated device, registry and mixers, driven through a sheet
// the way the program's main window drives it.
#include "pages/volume_page.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework/property_sheet.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_mixers.h"
#include "platform/sim/sim_registry.h"
#include "res/resource.h"
#include "sheet_host.h"

namespace korven {
namespace {

using platform::Dword;
using platform::sim::MixerCall;

constexpr const char* kKey = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";
constexpr Dword kUnity = 0x3F800000;

struct Trim {
  int slider;
  int reset;
  const char* request;
  const char* value;
};
constexpr Trim kTrims[] = {
    {IDC_SLIDER_L, IDC_RESET_L, "IOCTL_SET_GAIN_L", "VolumeL"},
    {IDC_SLIDER_R, IDC_RESET_R, "IOCTL_SET_GAIN_R", "VolumeR"},
    {IDC_SLIDER_LFE, IDC_RESET_LFE, "IOCTL_SET_GAIN_LFE", "VolumeLFE"},
    {IDC_SLIDER_C, IDC_RESET_C, "IOCTL_SET_GAIN_C", "VolumeC"},
    {IDC_SLIDER_RL, IDC_RESET_RL, "IOCTL_SET_GAIN_RL", "VolumeRL"},
    {IDC_SLIDER_RR, IDC_RESET_RR, "IOCTL_SET_GAIN_RR", "VolumeRR"},
};

Dword Bits(float gain) {
  return std::bit_cast<Dword>(gain);
}

// One gain request as the request log shows it: four bytes, little-endian.
std::string GainLine(const char* request, Dword bits) {
  char bytes[16];
  std::snprintf(bytes, sizeof bytes, "%02X %02X %02X %02X", bits & 0xFF, (bits >> 8) & 0xFF,
                (bits >> 16) & 0xFF, bits >> 24);
  return std::string(request) + " " + bytes + "\n";
}

class VolumePageTest : public ::testing::Test, protected testing::SheetHost<CVolumePage> {
 protected:
  VolumePageTest() {
    platform_.registry = &registry_;
    platform_.device = &device_;
    platform_.mixer = &mixers_;
  }

  ~VolumePageTest() override {
    Close();
    EXPECT_EQ(device_.OpenHandleCount(), 0) << "device handles leaked";
    EXPECT_EQ(registry_.OpenHandleCount(), 0) << "registry handles leaked";
    EXPECT_EQ(mixers_.OpenHandleCount(), mixerHandlesKept_) << "mixer handles leaked";
    EXPECT_EQ(mixers_.InvalidHandleUses(), 0);
  }

  // The page at index 0 and a plain page at index 1, in a sheet over the main window's frame.
  void Open() { OpenSheet(windows_, platform_); }

  void Close() { CloseSheet(); }

  // Leaving the page and coming back runs only the activation again.
  void Reactivate() {
    sheet_->SetActivePage(1);
    sheet_->SetActivePage(0);
  }

  fw::Hwnd Slider(int id) const { return windows_.Control(page_->GetSafeHwnd(), id); }
  int Position(int id) const { return windows_.SliderPosition(Slider(id)); }
  void Drag(int id, int position) { ASSERT_TRUE(windows_.DragSlider(Slider(id), position)); }
  void Click(int id) { ASSERT_TRUE(windows_.Click(page_->GetSafeHwnd(), id)); }
  std::string Log() const { return platform::sim::FormatRequests(device_.Requests()); }
  std::optional<Dword> Stored(const char* name) const {
    return registry_.GetDword(platform::HKey::LocalMachine, kKey, name);
  }
  void Store(const char* name, Dword value) {
    registry_.SetDword(platform::HKey::LocalMachine, kKey, name, value);
  }
  void ClearLogs() {
    device_.ClearRequests();
    registry_.ClearWrites();
    mixers_.ClearLog();
  }
  // A fresh set of mixers: "Onboard" at 65535 and "Other" at 26214 (neither named USB).
  void TwoPlainMixers() {
    mixers_ = platform::sim::SimMixers();
    mixers_.AddMixer("Onboard", 65535);
    mixers_.AddMixer("Other", 26214);
  }

  mutable fw::headless::HeadlessWindowSystem windows_;
  platform::sim::SimRegistry registry_;
  platform::sim::SimKorvenDevice device_;
  platform::sim::SimMixers mixers_;
  platform::Platform platform_;
  int mixerHandlesKept_ = 0;  // a refused mixerClose leaves its handle with the platform
};

// --- Creation and activation ---------------------------------------------------------------

TEST_F(VolumePageTest, FirstRunWritesDefaultsSendsUnityAndTakesTheMasterFromTheMixer) {
  mixers_.AddMixer("USB Audio", 65535);
  Open();
  EXPECT_EQ(registry_.KeyClass(platform::HKey::LocalMachine, kKey), "Quenta");
  std::vector<std::string> written;
  for (const auto& write : registry_.Writes()) written.push_back(write.name);
  EXPECT_EQ(written,
            (std::vector<std::string>{"SystemVolume", "VolumeL", "VolumeR", "VolumeLFE", "VolumeC",
                                      "VolumeRL", "VolumeRR", "FilterVolume", "SystemVolume"}));
  EXPECT_EQ(registry_.Writes()[0].data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
  for (const Trim& trim : kTrims) {
    EXPECT_EQ(Stored(trim.value), kUnity) << trim.value;
    EXPECT_EQ(Position(trim.slider), 20) << trim.value;
    EXPECT_EQ(windows_.SliderRange(Slider(trim.slider)), std::make_pair(0, 40));
  }
  EXPECT_EQ(Stored("FilterVolume"), 1u);
  EXPECT_EQ(Stored("SystemVolume"), 40u) << "the mixer's level replaces the default";
  EXPECT_EQ(Position(IDC_SLIDER_MASTER), 0);
  EXPECT_EQ(Log(),
            GainLine("IOCTL_SET_GAIN_L", kUnity) + GainLine("IOCTL_SET_GAIN_R", kUnity) +
                GainLine("IOCTL_SET_GAIN_C", kUnity) + GainLine("IOCTL_SET_GAIN_LFE", kUnity) +
                GainLine("IOCTL_SET_GAIN_RL", kUnity) + GainLine("IOCTL_SET_GAIN_RR", kUnity));
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

TEST_F(VolumePageTest, StoredGainsAreSentUnchangedOverAHandleOfTheirOwnOnlyAtCreation) {
  const float stored[] = {10.0f, 0.1f, 2.5f, 0.75f, 20.0f, 0.05f};  // L R LFE C RL RR
  for (std::size_t i = 0; i < std::size(kTrims); ++i) Store(kTrims[i].value, Bits(stored[i]));
  Open();
  EXPECT_EQ(
      Log(),
      GainLine("IOCTL_SET_GAIN_L", Bits(10.0f)) + GainLine("IOCTL_SET_GAIN_R", Bits(0.1f)) +
          GainLine("IOCTL_SET_GAIN_C", Bits(0.75f)) + GainLine("IOCTL_SET_GAIN_LFE", Bits(2.5f)) +
          GainLine("IOCTL_SET_GAIN_RL", Bits(20.0f)) + GainLine("IOCTL_SET_GAIN_RR", Bits(0.05f)));
  EXPECT_EQ(device_.Requests().front().handleNumber, 1) << "the burst's handle comes first";
  EXPECT_EQ(device_.OpenHandleCount(), 1) << "and is closed at once";
  EXPECT_EQ(Position(IDC_SLIDER_RL), 0) << "above 10.0 shows at the top";
  EXPECT_EQ(Position(IDC_SLIDER_RR), 40) << "below 0.1 at the bottom";
  EXPECT_EQ(Position(IDC_SLIDER_LFE), 12) << "2.5 is +7.96 dB";

  device_.ClearRequests();
  Reactivate();
  EXPECT_TRUE(device_.Requests().empty()) << "a later activation sends nothing";
  device_.FailAllRequests(true);
  Close();
  Open();
  EXPECT_TRUE(windows_.MessageBoxes().empty()) << "failures of the burst are silent";
}

TEST_F(VolumePageTest, GainsWithoutADecibelValue) {
  struct Case {
    const char* name;
    Dword stored;
    int position;
    Dword sentAndStored;
  };
  const Case cases[] = {
      // Zero and negative gains show at the bottom and still reach the driver unchanged.
      {"zero", Bits(0.0f), 40, Bits(0.0f)},
      {"negative", Bits(-2.0f), 40, Bits(-2.0f)},
      // Not a number, infinite: corrupt, replaced by unity as a missing value would be.
      {"NaN", Bits(std::numeric_limits<float>::quiet_NaN()), 20, kUnity},
      {"+infinity", Bits(std::numeric_limits<float>::infinity()), 20, kUnity},
      {"-infinity", Bits(-std::numeric_limits<float>::infinity()), 20, kUnity},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store("VolumeC", c.stored);
    device_.ClearRequests();
    Open();
    EXPECT_EQ(Position(IDC_SLIDER_C), c.position);
    ASSERT_EQ(device_.Requests().size(), 6u);
    EXPECT_EQ(platform::sim::FormatRequest(device_.Requests()[2]) + "\n",
              GainLine("IOCTL_SET_GAIN_C", c.sentAndStored));
    EXPECT_EQ(Stored("VolumeC"), c.sentAndStored);
    Close();
  }
}

TEST_F(VolumePageTest, LeavingClosesTheDeviceAndComingBackOpensItAgain) {
  Open();
  EXPECT_EQ(device_.OpenHandleCount(), 1);
  sheet_->SetActivePage(1);
  EXPECT_EQ(device_.OpenHandleCount(), 0);
  sheet_->SetActivePage(0);
  EXPECT_EQ(device_.OpenHandleCount(), 1);
}

TEST_F(VolumePageTest, WithoutADeviceTheTrimsAreInertAndTheMasterStillWorks) {
  device_.SetDriverLoaded(false);
  mixers_.AddMixer("USB Audio", 26214);
  Open();
  EXPECT_TRUE(device_.Requests().empty());
  ClearLogs();
  Drag(IDC_SLIDER_L, 3);
  EXPECT_EQ(Position(IDC_SLIDER_L), 3);
  Click(IDC_RESET_L);
  EXPECT_EQ(Position(IDC_SLIDER_L), 3) << "Reset does nothing at all";
  EXPECT_TRUE(device_.Requests().empty());
  EXPECT_TRUE(registry_.Writes().empty());
  EXPECT_TRUE(windows_.MessageBoxes().empty());
  Drag(IDC_SLIDER_MASTER, 10);
  EXPECT_EQ(mixers_.ValuesSet(0), (std::vector<Dword>{26214 + 983 * 30}));
  EXPECT_EQ(Stored("SystemVolume"), 30u);
}

// --- Channel trims -------------------------------------------------------------------------

TEST_F(VolumePageTest, ReleasedTrimSendsItsGainAndStoresIt) {
  const std::pair<int, Dword> telling[] = {
      {0, 0x41200000}, {10, 0x404A62C2}, {20, 0x3F800000}, {30, 0x3EA1E89B}, {40, 0x3DCCCCCD},
  };
  Open();
  for (const Trim& trim : kTrims) {
    for (const auto& [position, bits] : telling) {
      SCOPED_TRACE(std::string(trim.value) + " at " + std::to_string(position));
      Drag(trim.slider, position == 20 ? 0 : 20);
      ClearLogs();
      Drag(trim.slider, position);
      EXPECT_EQ(Log(), GainLine(trim.request, bits));
      EXPECT_EQ(Stored(trim.value), bits);
      EXPECT_EQ(registry_.Writes().size(), 1u);
    }
  }
}

TEST_F(VolumePageTest, EveryPositionComesBackAtTheNextCreation) {
  for (int round = 0; round <= 40; ++round) {
    Open();
    // Each trim gets a different position in each round, so all six cover all 41.
    for (int i = 0; i < 6; ++i) Drag(kTrims[i].slider, (round + 7 * i) % 41);
    Close();
    Open();
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(Position(kTrims[i].slider), (round + 7 * i) % 41) << kTrims[i].value;
    }
    Close();
  }
}

TEST_F(VolumePageTest, ResetSendsUnityStoresItAndCentresTheSlider) {
  Open();
  for (const Trim& trim : kTrims) {
    Drag(trim.slider, 33);
    ClearLogs();
    Click(trim.reset);
    EXPECT_EQ(Log(), GainLine(trim.request, kUnity));
    EXPECT_EQ(Stored(trim.value), kUnity);
    EXPECT_EQ(Position(trim.slider), 20) << trim.value;
  }
}

TEST_F(VolumePageTest, FailedRequestReportsOnceStoresNothingAndMovesNothing) {
  Open();
  for (const Trim& trim : kTrims) {
    for (bool reset : {false, true}) {
      SCOPED_TRACE(std::string(trim.value) + (reset ? " Reset" : " release"));
      Drag(trim.slider, 8);
      const Dword stored = *Stored(trim.value);
      const std::size_t boxes = windows_.MessageBoxes().size();
      device_.FailAllRequests(true);
      if (reset) {
        Click(trim.reset);
      } else {
        Drag(trim.slider, 5);
      }
      device_.FailAllRequests(false);
      ASSERT_EQ(windows_.MessageBoxes().size(), boxes + 1);
      const auto& box = windows_.MessageBoxes().back();
      EXPECT_EQ(box.owner, page_->GetSafeHwnd());
      EXPECT_EQ(box.text, "DATA TRANSPORT ERROR,TRY AGAIN.");
      EXPECT_EQ(box.caption, "IOCONTROL ERROR");
      EXPECT_EQ(box.type, 0u);
      EXPECT_EQ(Stored(trim.value), stored);
      EXPECT_EQ(Position(trim.slider), reset ? 8 : 5);
    }
  }
}

TEST_F(VolumePageTest, KeyboardMovesSendNothingUntilTheNextRelease) {
  Open();
  ClearLogs();
  ASSERT_TRUE(windows_.MoveSliderWithKeys(Slider(IDC_SLIDER_R), 25));
  ASSERT_TRUE(windows_.MoveSliderWithKeys(Slider(IDC_SLIDER_MASTER), 2));
  EXPECT_EQ(Position(IDC_SLIDER_R), 25);
  EXPECT_TRUE(device_.Requests().empty());
  EXPECT_TRUE(registry_.Writes().empty());
  EXPECT_TRUE(mixers_.Log().empty());
  Drag(IDC_SLIDER_R, 25);
  EXPECT_EQ(Log(), GainLine("IOCTL_SET_GAIN_R", Bits(static_cast<float>(std::pow(10.0, -0.25)))));
}

// --- Master volume --------------------------------------------------------------------------

TEST_F(VolumePageTest, MasterStepsMapOntoMixerValues) {
  struct Case {
    Dword filterVolume;
    bool apply;  // step -> value on a release; otherwise value -> step on activation
    int step;
    Dword value;
  };
  const Case cases[] = {
      {1, true, 0, 26214},   {1, true, 40, 65534},  {1, true, 20, 45874},  {0, true, 0, 0},
      {0, true, 40, 65520},  {0, true, 1, 1638},    {1, false, 0, 20000},  {1, false, 0, 26214},
      {1, false, 40, 65535}, {1, false, 20, 45874}, {0, false, 40, 65535}, {0, false, 0, 0},
      {0, false, 0, 818},    {0, false, 1, 820},    {7, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("FilterVolume " + std::to_string(c.filterVolume) + " step " +
                 std::to_string(c.step) + " value " + std::to_string(c.value));
    Store("FilterVolume", c.filterVolume);
    mixers_ = platform::sim::SimMixers();
    mixers_.AddMixer("USB Audio", c.apply ? 12345 : c.value);
    Open();
    if (c.apply) {
      Drag(IDC_SLIDER_MASTER, 40 - c.step);
      EXPECT_EQ(mixers_.ValuesSet(0), std::vector<Dword>{c.value});
    }
    EXPECT_EQ(Position(IDC_SLIDER_MASTER), 40 - c.step);
    EXPECT_EQ(Stored("SystemVolume"), static_cast<Dword>(c.step));
    Close();
  }
}

TEST_F(VolumePageTest, EveryMasterStepAppliedReadsBackAsTheSameStep) {
  for (Dword filterVolume : {0u, 1u}) {
    Store("FilterVolume", filterVolume);
    mixers_ = platform::sim::SimMixers();
    mixers_.AddMixer("USB Audio", 0);
    Open();
    for (int step = 0; step <= 40; ++step) {
      Drag(IDC_SLIDER_MASTER, 40 - step);
      const Dword applied = mixers_.Volume(0);
      // Another program moves the volume; the page shows it at its next activation.
      Drag(IDC_SLIDER_MASTER, 40 - (step + 1) % 41);
      mixers_.SetVolume(0, applied);
      Reactivate();
      EXPECT_EQ(Position(IDC_SLIDER_MASTER), 40 - step) << filterVolume << " step " << step;
    }
    Close();
  }
}

TEST_F(VolumePageTest, TheFirstMixerNamedUsbIsShownAndEveryMixerIsSet) {
  mixers_.AddMixer("Onboard HD Audio", 65535);  // step 40
  mixers_.AddMixer("Korven usb Sound", 26214);  // step 0: lower case still counts
  mixers_.AddMixer("Another USB Box", 45874);   // not read: the walk stops at the match
  Open();
  EXPECT_EQ(Position(IDC_SLIDER_MASTER), 40);
  EXPECT_EQ(Stored("SystemVolume"), 0u);
  EXPECT_EQ(mixers_.FormatLog(),
            "mixerOpen 0\nmixerGetDevCapsA 0\nmixerGetLineInfoA 0\nmixerGetLineControlsA 0\n"
            "mixerGetControlDetailsA 0\nmixerClose 0\n"
            "mixerOpen 1\nmixerGetDevCapsA 1\nmixerGetLineInfoA 1\nmixerGetLineControlsA 1\n"
            "mixerGetControlDetailsA 1\nmixerClose 1\n");
  Drag(IDC_SLIDER_MASTER, 30);
  for (int index = 0; index < 3; ++index) {
    EXPECT_EQ(mixers_.ValuesSet(index), std::vector<Dword>{26214 + 983 * 10}) << index;
  }
  EXPECT_EQ(Stored("SystemVolume"), 10u);

  // Without a USB name the last mixer is shown.
  Close();
  TwoPlainMixers();
  Open();
  EXPECT_EQ(Position(IDC_SLIDER_MASTER), 40);
}

TEST_F(VolumePageTest, WithoutMixersTheHeldStepIsWrittenAndNoMixerIsTouched) {
  Store("SystemVolume", 7);
  Open();
  EXPECT_EQ(Position(IDC_SLIDER_MASTER), 33);
  EXPECT_EQ(registry_.Writes().back().name, "SystemVolume");
  EXPECT_EQ(Stored("SystemVolume"), 7u);
  Drag(IDC_SLIDER_MASTER, 15);
  EXPECT_EQ(Stored("SystemVolume"), 25u);
  EXPECT_TRUE(mixers_.Log().empty());
  Close();
  // A stored level outside the scale is kept to it.
  Store("SystemVolume", 0x80000000u);
  Open();
  EXPECT_EQ(Position(IDC_SLIDER_MASTER), 0);
  EXPECT_EQ(Stored("SystemVolume"), 40u);
}

TEST_F(VolumePageTest, MixerWithoutSpeakersEndsTheReadAndEveryApply) {
  Store("SystemVolume", 12);
  mixers_.AddMixer("No Speakers", 0, /*speakersLine=*/false);
  mixers_.AddMixer("USB Audio", 65535);
  Open();
  EXPECT_EQ(Position(IDC_SLIDER_MASTER), 28) << "the stored level stays";
  EXPECT_EQ(Stored("SystemVolume"), 12u);
  EXPECT_EQ(mixers_.FormatLog(),
            "mixerOpen 0\nmixerGetDevCapsA 0\nmixerGetLineInfoA 0 FAILED 1024\nmixerClose 0\n");
  ClearLogs();
  Drag(IDC_SLIDER_MASTER, 0);
  EXPECT_TRUE(mixers_.ValuesSet(0).empty());
  EXPECT_TRUE(mixers_.ValuesSet(1).empty());
  EXPECT_TRUE(registry_.Writes().empty());
}

// Any failing call of any mixer ends the walk at once, closes that mixer and writes nothing.
TEST_F(VolumePageTest, EveryMixerCallFailureEndsTheWalk) {
  const MixerCall calls[] = {MixerCall::Open,        MixerCall::GetDevCaps,
                             MixerCall::GetLineInfo, MixerCall::GetLineControls,
                             MixerCall::GetValue,    MixerCall::SetValue,
                             MixerCall::Close};
  for (int failing = 0; failing < 2; ++failing) {
    for (MixerCall call : calls) {
      const bool kept = call == MixerCall::Close;
      SCOPED_TRACE("mixer " + std::to_string(failing) + " call " +
                   std::to_string(static_cast<int>(call)));
      Store("SystemVolume", 12);
      TwoPlainMixers();
      mixers_.Fail(failing, call);
      Open();
      if (call != MixerCall::SetValue) {
        EXPECT_EQ(Position(IDC_SLIDER_MASTER), 28) << "read ended";
        EXPECT_EQ(Stored("SystemVolume"), 12u);
        EXPECT_EQ(mixers_.OpenHandleCount(), kept ? 1 : 0);
        Close();
        mixers_.ClearFailures();
        Open();
        mixers_.Fail(failing, call);
      }
      ClearLogs();
      const int openBefore = mixers_.OpenHandleCount();
      Drag(IDC_SLIDER_MASTER, 0);
      // Mixers before the failing one keep their new volume; the ones after are not touched.
      EXPECT_EQ(mixers_.ValuesSet(0).size(), failing == 1 || kept ? 1u : 0u);
      EXPECT_EQ(mixers_.ValuesSet(1).size(), failing == 1 && kept ? 1u : 0u);
      EXPECT_TRUE(registry_.Writes().empty()) << "SystemVolume is not written";
      mixerHandlesKept_ = mixers_.OpenHandleCount();
      EXPECT_EQ(mixerHandlesKept_ - openBefore, kept ? 1 : 0);
      EXPECT_TRUE(windows_.MessageBoxes().empty());
      Close();
    }
  }
}

}  // namespace
}  // namespace korven
