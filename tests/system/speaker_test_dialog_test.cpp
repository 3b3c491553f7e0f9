// The Speaker Test dialog: stored state at start-up, the mode buttons, TEST, the Auto
// sequence, Manual press-and-hold, opening and closing.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "speaker_test_fixture.h"

namespace korven {
namespace {

using SpeakerTestDialogTest = SpeakerTestFixture;

constexpr int kModeButtons[] = {IDC_MODE_AUTO, IDC_MODE_MANUAL, IDC_MODE_SURROUND};

// By channel index: picture control, idle and lit image, tone.
struct ChannelView {
  int picture;
  const char* idle;
  const char* lit;
  const char* tone;
};
constexpr ChannelView kView[] = {
    {},
    {IDC_PICTURE_LF, "190", "191", "wave 177 loop"},
    {IDC_PICTURE_CTR, "193", "192", "wave 181 loop"},
    {IDC_PICTURE_RF, "195", "194", "wave 180 loop"},
    {IDC_PICTURE_RS, "197", "196", "wave 178 loop"},
    {IDC_PICTURE_LFE, "201", "200", "wave 182 loop"},
    {IDC_PICTURE_LS, "199", "198", "wave 179 loop"},
};

TEST_F(SpeakerTestDialogTest, FirstRunSelectsManualDisablesTestAndWritesDefaults) {
  Create();
  EXPECT_TRUE(Checked(IDC_MODE_MANUAL));
  EXPECT_FALSE(Checked(IDC_MODE_AUTO));
  EXPECT_FALSE(Checked(IDC_MODE_SURROUND));
  EXPECT_FALSE(Enabled(IDC_TEST));
  EXPECT_EQ(TestImage(), "TESTX");
  EXPECT_EQ(Stored("TestMode"), 2u);
  EXPECT_EQ(Stored("TestBtnStatus"), 0u);
  EXPECT_EQ(registry_.KeyClass(platform::HKey::LocalMachine, kKey), "Quenta");
  // Created hidden, and nothing reaches the driver until it is opened.
  EXPECT_FALSE(windows_.IsWindowVisible(Dlg()));
  EXPECT_FALSE(dlg_->IsShown());
  EXPECT_EQ(device_.OpenHandleCount(), 0);
  EXPECT_EQ(windows_.LiveBitmapCount(), 13u);  // twelve pictures and TEST's image
  for (int channel = 1; channel <= 6; ++channel) {
    EXPECT_EQ(Picture(kView[channel].picture), kView[channel].idle) << channel;
  }
}

TEST_F(SpeakerTestDialogTest, PicturesAreLaidOutInTheSpeakerGroup) {
  Create();
  const fw::Rect g = windows_.GetWindowRect(Item(IDC_SPEAKER_GROUP));
  const fw::Point origin = windows_.ScreenToClient(Dlg(), {g.left, g.top});
  const int L = origin.x, T = origin.y, W = g.Width(), H = g.Height();
  struct Expected {
    int id;
    int left, top;
    int channel;  // 0: the listener, whose place is not recorded
  };
  const Expected expected[] = {
      {IDC_PICTURE_LF, L + 10, T + H / 3 - 24, CSpeakerTestDlg::LF},
      {IDC_PICTURE_CTR, L + W / 2 - 24, T + 15, CSpeakerTestDlg::CTR},
      {IDC_PICTURE_RF, L + W - 58, T + H / 3 - 24, CSpeakerTestDlg::RF},
      {IDC_PICTURE_LFE, L + W / 2 - 24, T + H - 53, CSpeakerTestDlg::LFE},
      {IDC_PICTURE_LS, L + 10, T + 2 * H / 3 - 24, CSpeakerTestDlg::LS},
      {IDC_PICTURE_RS, L + W - 58, T + 2 * H / 3 - 24, CSpeakerTestDlg::RS},
      {IDC_PICTURE_LISTENER, L + W / 2 - 24, T + H / 2 - 19, 0},
  };
  for (const Expected& e : expected) {
    const fw::Rect r = windows_.GetWindowRect(Item(e.id));
    const fw::Point at = windows_.ScreenToClient(Dlg(), {r.left, r.top});
    EXPECT_EQ(at, (fw::Point{e.left, e.top})) << e.id;
    EXPECT_EQ(r.Width(), 48) << e.id;
    EXPECT_EQ(r.Height(), 48) << e.id;
    if (e.channel != 0) {
      EXPECT_EQ(dlg_->m_rcPictures[e.channel], (fw::Rect{e.left, e.top, e.left + 48, e.top + 48}))
          << e.id;
    }
  }
}

TEST_F(SpeakerTestDialogTest, StoredRunningStatusFirstClickStopsSecondStarts) {
  Store("TestMode", 1);
  Store("TestBtnStatus", 2);
  CreateAndOpen();
  EXPECT_TRUE(Enabled(IDC_TEST));
  EXPECT_EQ(TestImage(), "TESTU");
  for (int id : kModeButtons) EXPECT_TRUE(Enabled(id)) << id;

  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Stored("TestBtnStatus"), 1u);
  EXPECT_EQ(TestImage(), "TESTU");
  windows_.Advance(1000);
  EXPECT_EQ(sound_.Playing(), "");
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_AUTO_SEQUENCE));

  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Stored("TestBtnStatus"), 2u);
  EXPECT_EQ(TestImage(), "TESTD");
  for (int id : kModeButtons) EXPECT_FALSE(Enabled(id)) << id;
  windows_.Advance(100);
  EXPECT_EQ(sound_.Playing(), "wave 177 loop");
}

TEST_F(SpeakerTestDialogTest, StoredModeZeroSelectsNothingAndTestDisablesLikeManual) {
  Store("TestMode", 0);
  Store("TestBtnStatus", 1);
  CreateAndOpen();
  for (int id : kModeButtons) EXPECT_FALSE(Checked(id)) << id;
  EXPECT_TRUE(Enabled(IDC_TEST));
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_FALSE(Enabled(IDC_TEST));
  EXPECT_EQ(TestImage(), "TESTX");
  EXPECT_EQ(Stored("TestBtnStatus"), 0u);
  EXPECT_EQ(Requests(), "");
  EXPECT_EQ(Sounds(), "");
}

TEST_F(SpeakerTestDialogTest, ModeButtonsSwitchTheFilterOffAndStoreTheMode) {
  struct Row {
    int button;
    const char* requests;
    bool testEnabled;
    const char* image;
    platform::Dword mode, status;
  };
  const Row rows[] = {
      {IDC_MODE_AUTO, "IOCTL_FILTER_OFF\n", true, "TESTU", 1, 1},
      {IDC_MODE_MANUAL, "IOCTL_FILTER_OFF\n", false, "TESTX", 2, 0},
      {IDC_MODE_SURROUND, "", true, "TESTU", 3, 1},
  };
  CreateAndOpen();
  for (const Row& row : rows) {
    Clear();
    ASSERT_TRUE(Click(row.button));
    EXPECT_EQ(Requests(), row.requests) << row.button;
    EXPECT_EQ(Enabled(IDC_TEST), row.testEnabled) << row.button;
    EXPECT_EQ(TestImage(), row.image) << row.button;
    EXPECT_EQ(Stored("TestMode"), row.mode) << row.button;
    EXPECT_EQ(Stored("TestBtnStatus"), row.status) << row.button;
  }
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

TEST_F(SpeakerTestDialogTest, FailedFilterOffInAutoOrManualReportsAndKeepsTheValues) {
  Store("TestMode", 3);
  Store("TestBtnStatus", 1);
  CreateAndOpen();
  device_.FailAlways(IOCTL_FILTER_OFF);
  ASSERT_TRUE(Click(IDC_MODE_AUTO));
  EXPECT_TRUE(Enabled(IDC_TEST));
  EXPECT_EQ(TestImage(), "TESTU");
  ASSERT_TRUE(Click(IDC_MODE_MANUAL));
  EXPECT_FALSE(Enabled(IDC_TEST));
  EXPECT_EQ(TestImage(), "TESTX");
  EXPECT_EQ(Stored("TestMode"), 3u);
  EXPECT_EQ(Stored("TestBtnStatus"), 1u);
  ASSERT_EQ(windows_.MessageBoxes().size(), 2u);
  for (const auto& box : windows_.MessageBoxes()) {
    EXPECT_EQ(box.text, "DATA TRANSPORT ERROR,TRY AGAIN.");
    EXPECT_EQ(box.caption, "IOCONTROL ERROR");
    EXPECT_EQ(box.type, fw::mb::kOk);
    EXPECT_EQ(box.owner, Dlg());
  }
}

TEST_F(SpeakerTestDialogTest, ModeButtonsWithoutDeviceOnlyMoveTheirMark) {
  Create();  // never opened: no handle
  windows_.ShowWindow(Dlg(), fw::sw::kShow);
  ASSERT_TRUE(Click(IDC_MODE_AUTO));
  EXPECT_TRUE(Checked(IDC_MODE_AUTO));
  EXPECT_FALSE(Enabled(IDC_TEST));
  EXPECT_EQ(Stored("TestMode"), 2u);
  EXPECT_TRUE(device_.Requests().empty());
}

// The 60-tick cycle, twice: which tone starts at each tick and which picture shows lit.
TEST_F(SpeakerTestDialogTest, AutoCycleFollowsTheTable) {
  Store("TestMode", 1);
  Store("TestBtnStatus", 1);
  CreateAndOpen();
  ASSERT_TRUE(Click(IDC_TEST));
  windows_.Advance(99);
  EXPECT_EQ(Sounds(), "") << "the first tone comes with the first tick";
  constexpr int kOrder[] = {1, 2, 3, 4, 5, 6};  // LF, CTR, RF, RS, LFE, LS
  for (int t = 0; t < 120; ++t) {
    sound_.ClearLog();
    windows_.Advance(t == 0 ? 1 : 100);
    const int tick = t % 60;
    const int current = kOrder[tick / 10];
    if (tick % 10 == 0) {
      EXPECT_EQ(Sounds(), std::string("play ") + (kView[current].tone + 5) + "\n") << t;
    } else {
      EXPECT_EQ(Sounds(), "") << t;
    }
    const bool blinkLit = tick % 10 != 0 && tick % 2 == 0;
    for (int channel = 1; channel <= 6; ++channel) {
      const bool lit = channel == current && blinkLit;
      EXPECT_EQ(Picture(kView[channel].picture), lit ? kView[channel].lit : kView[channel].idle)
          << "tick " << t << " channel " << channel;
    }
  }
  EXPECT_EQ(dlg_->m_nStep, 1);
  EXPECT_EQ(dlg_->m_nTick, 0);
}

TEST_F(SpeakerTestDialogTest, StoppingWhileLfeBlinksSilencesAndNextStartBeginsAtLf) {
  Store("TestMode", 1);
  Store("TestBtnStatus", 1);
  CreateAndOpen();
  ASSERT_TRUE(Click(IDC_TEST));
  windows_.Advance(100 * 43);  // ticks 0..42: LFE blinks, lit on tick 42
  ASSERT_EQ(Picture(IDC_PICTURE_LFE), "200");
  ASSERT_EQ(sound_.Playing(), "wave 182 loop");
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Picture(IDC_PICTURE_LFE), "201");
  EXPECT_EQ(sound_.Playing(), "");
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_AUTO_SEQUENCE));
  EXPECT_EQ(dlg_->m_nStep, 0);

  sound_.ClearLog();
  ASSERT_TRUE(Click(IDC_TEST));
  windows_.Advance(100);
  EXPECT_EQ(Sounds(), "play 177 loop\n");
  windows_.Advance(200);
  EXPECT_EQ(Picture(IDC_PICTURE_LF), "191");
}

TEST_F(SpeakerTestDialogTest, ManualPressHoldDragOffAndRelease) {
  CreateAndOpen();
  // Outside every picture: nothing.
  ASSERT_TRUE(windows_.MouseDown(Dlg(), {2, 2}));
  EXPECT_EQ(Sounds(), "");
  EXPECT_EQ(dlg_->m_nPressed, 0);

  const fw::Point ctr = CentreOf(IDC_PICTURE_CTR);
  ASSERT_TRUE(windows_.MouseDown(Dlg(), ctr));
  EXPECT_EQ(Picture(IDC_PICTURE_CTR), "192");
  EXPECT_EQ(sound_.Playing(), "wave 181 loop");
  EXPECT_EQ(dlg_->m_nPressed, CSpeakerTestDlg::CTR);
  windows_.MouseMove(Dlg(), {ctr.x + 3, ctr.y});  // still on it
  EXPECT_EQ(sound_.Playing(), "wave 181 loop");

  windows_.MouseMove(Dlg(), {2, 2});
  EXPECT_EQ(Picture(IDC_PICTURE_CTR), "193");
  EXPECT_EQ(sound_.Playing(), "");
  sound_.ClearLog();
  windows_.MouseMove(Dlg(), ctr);
  windows_.MouseUp(Dlg(), ctr);
  EXPECT_EQ(Sounds(), "") << "dragging back does not play again";
  EXPECT_EQ(Picture(IDC_PICTURE_CTR), "193");
  EXPECT_TRUE(device_.Requests().empty());

  // Pressed and released on the picture.
  ASSERT_TRUE(windows_.MouseDown(Dlg(), CentreOf(IDC_PICTURE_LS)));
  EXPECT_EQ(sound_.Playing(), "wave 179 loop");
  ASSERT_TRUE(windows_.MouseUp(Dlg(), CentreOf(IDC_PICTURE_LS)));
  EXPECT_EQ(sound_.Playing(), "");
  EXPECT_EQ(Picture(IDC_PICTURE_LS), "199");
}

TEST_F(SpeakerTestDialogTest, ManualHitTestIncludesThePictureEdges) {
  CreateAndOpen();
  for (int channel = 1; channel <= 6; ++channel) {
    const fw::Rect r = windows_.GetWindowRect(Item(kView[channel].picture));
    const fw::Point corner = windows_.ScreenToClient(Dlg(), {r.right, r.bottom});
    ASSERT_TRUE(windows_.MouseDown(Dlg(), corner));
    EXPECT_EQ(sound_.Playing(), kView[channel].tone) << channel;
    windows_.MouseUp(Dlg(), corner);
    const fw::Point outside{corner.x + 1, corner.y};
    windows_.MouseDown(Dlg(), outside);
    EXPECT_EQ(sound_.Playing(), "") << channel;
    windows_.MouseUp(Dlg(), outside);
  }
}

TEST_F(SpeakerTestDialogTest, OpenWithoutDeviceReportsStaysHiddenAndTriesAgainNextTime) {
  Create();
  device_.SetDriverLoaded(false);
  dlg_->OpenSpeakerTest();
  ASSERT_EQ(windows_.MessageBoxes().size(), 1u);
  const auto& box = windows_.MessageBoxes()[0];
  EXPECT_EQ(box.text,
            "Filter driver was not loaded or failed!\n\nPlease re-plug the device and try again.");
  EXPECT_EQ(box.caption, "KORVEN : ERROR");
  EXPECT_EQ(box.type, fw::mb::kIconHand);
  EXPECT_FALSE(dlg_->IsShown());
  EXPECT_FALSE(windows_.IsWindowVisible(Dlg()));
  EXPECT_TRUE(device_.Requests().empty());

  device_.SetDriverLoaded(true);
  dlg_->OpenSpeakerTest();
  EXPECT_TRUE(dlg_->IsShown());
  EXPECT_TRUE(windows_.IsWindowVisible(Dlg()));
  EXPECT_EQ(Requests(), "IOCTL_FILTER_OFF\n");
}

TEST_F(SpeakerTestDialogTest, OpenAndCloseRestoreTheStoredFilterChoice) {
  struct Row {
    platform::Dword enableFilter;
    const char* closing;
  };
  for (const Row& row : {Row{1, "IOCTL_FILTER_ON\n"}, Row{0, "IOCTL_FILTER_OFF\n"}}) {
    Store("EnableFilter", row.enableFilter);
    Create();
    for (int cycle = 0; cycle < 3; ++cycle) {
      Clear();
      dlg_->OpenSpeakerTest();
      EXPECT_EQ(Requests(), "IOCTL_FILTER_OFF\n");
      EXPECT_EQ(device_.OpenHandleCount(), 1);
      dlg_->OpenSpeakerTest();  // "Test Speaker" while shown changes nothing
      EXPECT_EQ(device_.OpenHandleCount(), 1);
      Clear();
      ASSERT_TRUE(Click(IDC_EXIT));
      EXPECT_EQ(Requests(), row.closing);
      EXPECT_EQ(Sounds(), "purge\nplay 215 once\n");
      EXPECT_EQ(device_.OpenHandleCount(), 0);
      EXPECT_FALSE(dlg_->IsShown());
      EXPECT_FALSE(windows_.IsWindowVisible(Dlg()));
    }
    Destroy();
  }
}

TEST_F(SpeakerTestDialogTest, MissingEnableFilterIsWrittenAtOpen) {
  Create();
  EXPECT_FALSE(Stored("EnableFilter").has_value());
  dlg_->OpenSpeakerTest();
  EXPECT_EQ(Stored("EnableFilter"), 1u);
}

TEST_F(SpeakerTestDialogTest, CloseBoxRunsTheCloseAndEnterDoesNothing) {
  CreateAndOpen();
  windows_.SendMessage(Dlg(), fw::wm::kCommand, fw::MakeWParam(fw::kIdOk, 0), 0);
  EXPECT_TRUE(dlg_->IsShown());
  EXPECT_TRUE(windows_.IsWindowVisible(Dlg()));
  ASSERT_TRUE(windows_.Close(Dlg()));
  EXPECT_FALSE(dlg_->IsShown());
  EXPECT_EQ(Requests(), "IOCTL_FILTER_ON\n");
}

TEST_F(SpeakerTestDialogTest, ClosingDuringAutoStopsItAndMarksTestReady) {
  Store("TestMode", 1);
  Store("TestBtnStatus", 1);
  CreateAndOpen();
  ASSERT_TRUE(Click(IDC_TEST));
  windows_.Advance(250);
  dlg_->CloseSpeakerTest();
  EXPECT_EQ(Stored("TestBtnStatus"), 1u);
  EXPECT_EQ(TestImage(), "TESTU");
  for (int id : kModeButtons) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_AUTO_SEQUENCE));
  EXPECT_EQ(Picture(IDC_PICTURE_LF), "190");
  EXPECT_EQ(sound_.Playing(), "wave 215 once");
}

}  // namespace
}  // namespace korven
