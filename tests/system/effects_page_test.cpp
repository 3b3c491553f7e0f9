// The Filter page against the simulated device and registry, driven through a sheet the way
// the program's main window drives it.
#include "pages/effects_page.h"

#include <gtest/gtest.h>

#include <memory>

#include "device/requests.h"
#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework/property_sheet.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_registry.h"
#include "res/resource.h"
#include "sheet_host.h"

namespace korven {
namespace {

using platform::HKey;
using platform::sim::FormatRequests;

constexpr const char* kKey = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";
constexpr const char* kPushFirstRun =
    "IOCTL_FILTER_ON\n"
    "IOCTL_OUTPUT_5_1\n"
    "IOCTL_SET_BASS_MODE C8 00 00 00 64 00 00 00 2C 01 00 00\n";

class FilterPageTest : public ::testing::Test, protected testing::SheetHost<CEffectsPage> {
 protected:
  FilterPageTest() {
    platform_.registry = &registry_;
    platform_.device = &device_;
  }

  ~FilterPageTest() override {
    Close();
    EXPECT_EQ(device_.OpenHandleCount(), 0) << "device handles leaked";
    EXPECT_EQ(registry_.OpenHandleCount(), 0) << "registry handles leaked";
  }

  // The page at index 0 and a plain page at index 1, in a sheet over the main window's frame.
  void Open(int activationMode = CEffectsPage::PushAll) {
    OpenSheet(
        windows_, platform_,
        [&](fw::CDialog&, CEffectsPage& page) { page.ActivationMode = activationMode; },
        openFailures_);
  }

  void Close() { CloseSheet(); }

  fw::Hwnd Page() const { return page_->GetSafeHwnd(); }
  void Click(int id) { windows_.Click(Page(), id); }
  bool Checked(int id) { return page_->IsDlgButtonChecked(id) == 1; }
  bool Enabled(int id) { return page_->IsDlgItemEnabled(id); }
  std::string Log() const { return FormatRequests(device_.Requests()); }
  std::optional<platform::Dword> Stored(const char* name) const {
    return registry_.GetDword(HKey::LocalMachine, kKey, name);
  }
  void Store(const char* name, platform::Dword value) {
    registry_.SetDword(HKey::LocalMachine, kKey, name, value);
  }

  fw::headless::HeadlessWindowSystem windows_;
  platform::sim::SimRegistry registry_;
  platform::sim::SimKorvenDevice device_;
  platform::Platform platform_;
  int openFailures_ = 0;  // the process's count, which the application object keeps
};

constexpr int kFilterDependent[] = {IDC_SPEAKERS_21, IDC_SPEAKERS_51, IDC_BASS_GROUP,
                                    IDC_BASS_120,    IDC_BASS_300,    IDC_BASS_450};

TEST_F(FilterPageTest, FirstRunPushesFilterOn51And120AndWritesDefaults) {
  Open();
  EXPECT_EQ(Log(), kPushFirstRun);
  EXPECT_EQ(registry_.KeyClass(HKey::LocalMachine, kKey), "Quenta");
  EXPECT_EQ(Stored("EnableFilter"), 1u);
  EXPECT_EQ(Stored("OutputMode"), 1u);
  EXPECT_EQ(Stored("BassOutputMode"), 0u);
  EXPECT_EQ(registry_.GetValue(HKey::LocalMachine, kKey, "EnableFilter")->type,
            platform::reg::kTypeDword);
  EXPECT_TRUE(Checked(IDC_ENABLE_FILTER));
  EXPECT_TRUE(Checked(IDC_SPEAKERS_51));
  EXPECT_FALSE(Checked(IDC_SPEAKERS_21));
  EXPECT_TRUE(Checked(IDC_BASS_120));
  EXPECT_EQ(page_->ActivationMode, CEffectsPage::Settled);
  EXPECT_TRUE(windows_.IsWindowVisible(Page()));
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

TEST_F(FilterPageTest, StoredFilterOffPushesOnlyFilterOffAndDisablesTheSixControls) {
  Store("EnableFilter", 0);
  Store("OutputMode", 0);
  Store("BassOutputMode", 2);
  Open();
  EXPECT_EQ(Log(), "IOCTL_FILTER_OFF\n");
  for (int id : kFilterDependent) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(IDC_ENABLE_FILTER));
  EXPECT_TRUE(Enabled(IDC_SOURCE_TEXT));
  EXPECT_TRUE(Checked(IDC_SPEAKERS_21));
  EXPECT_TRUE(Checked(IDC_BASS_450));

  // Switching the filter on again enables them, sends only the filter request and stores it.
  device_.ClearRequests();
  Click(IDC_ENABLE_FILTER);
  EXPECT_EQ(Log(), "IOCTL_FILTER_ON\n");
  for (int id : kFilterDependent) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_EQ(Stored("EnableFilter"), 1u);
}

TEST_F(FilterPageTest, StoredFilterOnPushesStoredLayoutAndCrossover) {
  Store("OutputMode", 0);
  Store("BassOutputMode", 1);
  Open();
  EXPECT_EQ(Log(),
            "IOCTL_FILTER_ON\n"
            "IOCTL_OUTPUT_2_1\n"
            "IOCTL_SET_BASS_MODE 3C 00 00 00 28 00 00 00 64 00 00 00\n");
}

TEST_F(FilterPageTest, OutOfRangeStoredChoicesPushOnlyTheFilter) {
  Store("OutputMode", 7);
  Store("BassOutputMode", 5);
  Open();
  EXPECT_EQ(Log(), "IOCTL_FILTER_ON\n");
  EXPECT_FALSE(Checked(IDC_SPEAKERS_21));
  EXPECT_FALSE(Checked(IDC_SPEAKERS_51));
  EXPECT_FALSE(Checked(IDC_BASS_120));
}

TEST_F(FilterPageTest, ChoiceClicksSendTheirRequestAndStoreTheChoice) {
  struct Case {
    int id;
    const char* sent;
    const char* name;
    platform::Dword stored;
  };
  const Case cases[] = {
      {IDC_BASS_450, "IOCTL_SET_BASS_MODE 28 00 00 00 1B 00 00 00 43 00 00 00\n", "BassOutputMode",
       2},
      {IDC_BASS_300, "IOCTL_SET_BASS_MODE 3C 00 00 00 28 00 00 00 64 00 00 00\n", "BassOutputMode",
       1},
      {IDC_BASS_120, "IOCTL_SET_BASS_MODE C8 00 00 00 64 00 00 00 2C 01 00 00\n", "BassOutputMode",
       0},
      {IDC_SPEAKERS_21, "IOCTL_OUTPUT_2_1\n", "OutputMode", 0},
      {IDC_SPEAKERS_51, "IOCTL_OUTPUT_5_1\n", "OutputMode", 1},
  };
  Open();
  for (const Case& c : cases) {
    device_.ClearRequests();
    Click(c.id);
    EXPECT_EQ(Log(), c.sent) << c.id;
    EXPECT_EQ(Stored(c.name), c.stored) << c.id;
  }
}

TEST_F(FilterPageTest, ExitResetSwitchesOffAndSetsUnityGainsWithoutTouchingTheKey) {
  Store("EnableFilter", 1);
  Open();
  registry_.ClearWrites();
  device_.ClearRequests();
  // Selecting the page already shown runs its leave work and its activation again.
  page_->ActivationMode = CEffectsPage::ExitReset;
  sheet_->SetActivePage(0);
  EXPECT_EQ(Log(),
            "IOCTL_FILTER_OFF\n"
            "IOCTL_SET_GAIN_LFE 00 00 80 3F\n"
            "IOCTL_SET_GAIN_C 00 00 80 3F\n"
            "IOCTL_SET_GAIN_R 00 00 80 3F\n"
            "IOCTL_SET_GAIN_L 00 00 80 3F\n"
            "IOCTL_SET_GAIN_RR 00 00 80 3F\n"
            "IOCTL_SET_GAIN_RL 00 00 80 3F\n");
  EXPECT_TRUE(registry_.Writes().empty());
  EXPECT_EQ(Stored("EnableFilter"), 1u);
  // Every request failing changes nothing either: the reset is silent.
  device_.FailAllRequests(true);
  sheet_->SetActivePage(0);
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

// A failed request stores nothing and the control keeps what the user set; only the
// crossover's failure goes unreported.
TEST_F(FilterPageTest, FailedClickRequestsStoreNothing) {
  struct Case {
    platform::Dword code;
    int id;
    const char* name;
    platform::Dword stored;
    std::size_t boxes;
  };
  const Case cases[] = {
      {IOCTL_SET_BASS_MODE, IDC_BASS_450, "BassOutputMode", 0, 0},
      {IOCTL_OUTPUT_2_1, IDC_SPEAKERS_21, "OutputMode", 1, 1},
      {IOCTL_FILTER_OFF, IDC_ENABLE_FILTER, "EnableFilter", 1, 2},
  };
  Open();
  for (const Case& c : cases) {
    device_.FailNext(c.code);
    Click(c.id);
    EXPECT_EQ(windows_.MessageBoxes().size(), c.boxes) << c.id;
    EXPECT_EQ(Stored(c.name), c.stored) << c.id;
    EXPECT_EQ(Checked(c.id), c.id != IDC_ENABLE_FILTER) << c.id;
  }
  const auto& box = windows_.MessageBoxes().back();
  EXPECT_EQ(box.owner, Page());
  EXPECT_EQ(box.text, "DATA TRANSPORT ERROR,TRY AGAIN.");
  EXPECT_EQ(box.caption, "IOCONTROL ERROR");
  EXPECT_EQ(box.type, 0u);
  for (int id : kFilterDependent) EXPECT_FALSE(Enabled(id)) << id;
  windows_.Advance(300);
  EXPECT_EQ(page_->BassOutputMode, 2) << "the source display reads the controls";
}

TEST_F(FilterPageTest, FailedPushKeepsTheStoredValuesAndStillSettles) {
  Store("EnableFilter", 1);
  Store("OutputMode", 0);
  device_.FailNext(IOCTL_FILTER_ON);
  Open();
  EXPECT_EQ(Log(), "IOCTL_FILTER_ON FAILED 31\n");
  EXPECT_EQ(windows_.MessageBoxes().size(), 1u);
  EXPECT_EQ(Stored("OutputMode"), 0u);
  EXPECT_EQ(page_->ActivationMode, CEffectsPage::Settled);
}

TEST_F(FilterPageTest, DriverMissingRefusesActivationAndReportsOnlyARepeatedPushFailure) {
  device_.SetDriverLoaded(false);
  Open();
  EXPECT_TRUE(windows_.MessageBoxes().empty()) << "the first failed open is silent";
  EXPECT_FALSE(windows_.IsWindowVisible(Page()));
  EXPECT_EQ(sheet_->GetActiveIndex(), 1) << "the sheet moves on to the next page";
  EXPECT_EQ(page_->ActivationMode, CEffectsPage::PushAll);
  EXPECT_EQ(openFailures_, 1);
  windows_.Advance(1000);
  EXPECT_TRUE(device_.Requests().empty()) << "no source display without a device";

  // The next push (device arrival) fails again: now the user is told.
  sheet_->SetActivePage(0);
  ASSERT_EQ(windows_.MessageBoxes().size(), 1u);
  const auto& box = windows_.MessageBoxes()[0];
  EXPECT_EQ(box.text,
            "Filter driver was not loaded or failed!\n\nPlease re-plug the device and try again.");
  EXPECT_EQ(box.caption, "KORVEN : ERROR");
  EXPECT_EQ(box.type, 0x10u);
  EXPECT_EQ(box.owner, Page());

  // Without a push pending, a failure is silent whatever the count.
  page_->ActivationMode = CEffectsPage::None;
  sheet_->SetActivePage(0);
  EXPECT_EQ(windows_.MessageBoxes().size(), 1u);

  // Once the driver is there, the pending push is retried.
  device_.SetDriverLoaded(true);
  page_->ActivationMode = CEffectsPage::PushAll;
  sheet_->SetActivePage(0);
  EXPECT_EQ(Log(), kPushFirstRun);
  EXPECT_EQ(sheet_->GetActiveIndex(), 0);
}

TEST_F(FilterPageTest, SourceDisplayShowsWhatTheDriverReports) {
  Open();
  device_.ClearRequests();
  device_.SetSourceChannels(1, 1);
  windows_.Advance(300);
  EXPECT_EQ(Log(), "IOCTL_GET_SOURCE_CHANNELS out 4\n");
  EXPECT_EQ(page_->GetDlgItemText(IDC_SOURCE_TEXT), "5.1-channel data");
  device_.SetSourceChannels(0, 1);
  windows_.Advance(300);
  EXPECT_EQ(page_->GetDlgItemText(IDC_SOURCE_TEXT), "2-channel data");
  device_.FailNext(IOCTL_GET_SOURCE_CHANNELS);
  windows_.Advance(300);
  EXPECT_EQ(page_->GetDlgItemText(IDC_SOURCE_TEXT), "2-channel data") << "a failed poll keeps it";
  device_.SetSourceChannels(0, 0);
  windows_.Advance(300);
  EXPECT_EQ(page_->GetDlgItemText(IDC_SOURCE_TEXT), "");
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

TEST_F(FilterPageTest, LeavingClosesTheDeviceAndComingBackPushesNothing) {
  Open();
  EXPECT_EQ(device_.OpenHandleCount(), 1);
  sheet_->SetActivePage(1);
  EXPECT_EQ(device_.OpenHandleCount(), 0);
  device_.ClearRequests();
  windows_.Advance(1200);
  EXPECT_TRUE(device_.Requests().empty()) << "the source display stops with the page";

  sheet_->SetActivePage(0);
  EXPECT_EQ(device_.OpenHandleCount(), 1);
  EXPECT_TRUE(device_.Requests().empty()) << "a settled page pushes nothing";
  windows_.Advance(300);
  EXPECT_EQ(Log(), "IOCTL_GET_SOURCE_CHANNELS out 4\n");
}

TEST_F(FilterPageTest, ClicksWithoutADeviceDoNothing) {
  Open();
  sheet_->SetActivePage(1);
  device_.ClearRequests();
  registry_.ClearWrites();
  windows_.Click(Page(), IDC_BASS_450);  // a hidden page takes no clicks; call the handler path
  page_->SendMessage(fw::wm::kCommand, fw::MakeWParam(IDC_BASS_450, 0), 0);
  page_->SendMessage(fw::wm::kCommand, fw::MakeWParam(IDC_SPEAKERS_21, 0), 0);
  page_->SendMessage(fw::wm::kCommand, fw::MakeWParam(IDC_ENABLE_FILTER, 0), 0);
  EXPECT_TRUE(device_.Requests().empty());
  EXPECT_TRUE(registry_.Writes().empty());
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

TEST_F(FilterPageTest, DeclinedWarningReachesTheDriverOverTheActivePagesHandle) {
  Open();
  device_.ClearRequests();
  page_->EnableFilter = 0;
  page_->ApplyFilterState();
  EXPECT_EQ(Log(), "IOCTL_FILTER_OFF\n");
  EXPECT_FALSE(Checked(IDC_ENABLE_FILTER));
  EXPECT_EQ(Stored("EnableFilter"), 0u);
}

TEST_F(FilterPageTest, DeclinedWarningWhileAnotherPageIsShownUsesAHandleOfItsOwn) {
  // ControlPanelTest declines the warning over the Volume page and sees the request, the
  // stored value and the one open handle. Here: the page's own controls, and no device.
  Open();
  sheet_->SetActivePage(1);
  page_->EnableFilter = 0;
  page_->ApplyFilterState();
  for (int id : kFilterDependent) EXPECT_FALSE(Enabled(id)) << id;

  // Without a device the answer cannot be applied: reported, nothing stored.
  page_->EnableFilter = 1;
  page_->ApplyFilterState();
  device_.SetDriverLoaded(false);
  const auto stored = Stored("EnableFilter");
  page_->EnableFilter = 0;
  page_->ApplyFilterState();
  EXPECT_EQ(Stored("EnableFilter"), stored);
  ASSERT_FALSE(windows_.MessageBoxes().empty());
  EXPECT_EQ(windows_.MessageBoxes().back().text, "DATA TRANSPORT ERROR,TRY AGAIN.");
}

TEST_F(FilterPageTest, ValueOfAnotherTypeOrSizeReadsAsMissing) {
  registry_.SetString(HKey::LocalMachine, kKey, "EnableFilter", "1234567");
  registry_.SetValue(HKey::LocalMachine, kKey, "OutputMode", platform::reg::kTypeBinary, {0, 0});
  Open();
  const auto value = registry_.GetValue(HKey::LocalMachine, kKey, "EnableFilter");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, platform::reg::kTypeDword);
  EXPECT_EQ(Stored("EnableFilter"), 1u);
  EXPECT_EQ(Stored("OutputMode"), 1u);
  EXPECT_EQ(Log(), kPushFirstRun);
}

TEST_F(FilterPageTest, KeyThatCannotBeOpenedLeavesDefaultsAndWritesNothing) {
  registry_.DenyKey(HKey::LocalMachine, kKey);
  Open();
  EXPECT_EQ(Log(), kPushFirstRun);
  EXPECT_TRUE(registry_.Writes().empty());
  EXPECT_FALSE(registry_.KeyExists(HKey::LocalMachine, kKey));
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

}  // namespace
}  // namespace korven
