// The Surround test and the sound movement pad: requests and sounds in order, every row of
// the failure table, the marker's place on the pad by elapsed time, and the clock's wrap.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "speaker_test_fixture.h"

namespace korven {
namespace {

constexpr fw::ColorRef kRed = fw::Rgb(255, 0, 0);

class SurroundTest : public SpeakerTestFixture {
 protected:
  explicit SurroundTest(
      std::uint32_t startTime = fw::headless::HeadlessWindowSystem::kDefaultStartTime)
      : SpeakerTestFixture(startTime) {}

  // Opened in Surround mode with TEST ready; the pad's pixels as painted.
  void OpenInSurroundMode() {
    Store("TestMode", 3);
    Store("TestBtnStatus", 1);
    CreateAndOpen();
    const fw::Rect rc = windows_.GetClientRect(Pad());
    for (int y = 0; y < rc.bottom; ++y) {
      for (int x = 0; x < rc.right; ++x) painted_.push_back(windows_.PixelAt(Pad(), x, y));
    }
  }
  void Start() {
    ASSERT_TRUE(Click(IDC_TEST));
    start_ = windows_.Now();
  }
  // Only the ticks a test delivers with TickAt, none of the timer's own in between.
  void ManualTicksOnly() { windows_.KillTimer(Dlg(), IDT_ROTATION); }
  fw::Hwnd Pad() const { return Item(IDC_PAD); }
  // One rotation tick at exactly `elapsed` ms after the start.
  void TickAt(std::uint32_t elapsed) {
    windows_.Advance(elapsed - (windows_.Now() - start_));
    windows_.SendMessage(Dlg(), fw::wm::kTimer, IDT_ROTATION, 0);
  }
  fw::Point Marker() const {
    const SoundMovementMarker& m = marker_;
    return {m.x, m.y};
  }
  fw::ColorRef Painted(int x, int y) {
    const fw::Rect rc = windows_.GetClientRect(Pad());
    if (x < 0 || y < 0 || x >= rc.right || y >= rc.bottom) return fw::kInvalidColor;
    return painted_[static_cast<std::size_t>(y * rc.right + x)];
  }
  // Whether the nine marker pixels around `centre` show red where they lie on the pad.
  void ExpectMarkerAt(fw::Point centre) {
    for (const fw::Point& d : kMarkerPattern) {
      const fw::ColorRef expected =
          Painted(centre.x + d.x, centre.y + d.y) == fw::kInvalidColor ? fw::kInvalidColor : kRed;
      EXPECT_EQ(windows_.PixelAt(Pad(), centre.x + d.x, centre.y + d.y), expected)
          << centre.x + d.x << "," << centre.y + d.y;
    }
  }
  void ExpectRestoredAt(fw::Point centre) {
    for (const fw::Point& d : kMarkerPattern) {
      EXPECT_EQ(windows_.PixelAt(Pad(), centre.x + d.x, centre.y + d.y),
                Painted(centre.x + d.x, centre.y + d.y))
          << centre.x + d.x << "," << centre.y + d.y;
    }
  }

  std::vector<fw::ColorRef> painted_;
  std::uint32_t start_ = 0;
};

TEST_F(SurroundTest, StartSwitchesFilterOnStartsMovementClipAndRotation) {
  OpenInSurroundMode();
  Start();
  EXPECT_EQ(Requests(), "IOCTL_FILTER_ON\nIOCTL_SURROUND_START\n");
  EXPECT_EQ(Sounds(), "clip 209 loop\n");
  EXPECT_TRUE(windows_.HasTimer(Dlg(), IDT_ROTATION));
  EXPECT_EQ(dlg_->m_dwRotationStart, windows_.Now());
  EXPECT_EQ(TestImage(), "TESTD");
  EXPECT_EQ(Stored("TestBtnStatus"), 2u);
  // The shortest period: a tick every 10 ms.
  device_.ClearRequests();
  const SoundMovementMarker before = marker_;
  windows_.Advance(10);
  EXPECT_TRUE(marker_.drawn);
  EXPECT_FALSE(before.drawn);
  EXPECT_EQ(Requests(), "") << "the start window passed before the first tick";
}

TEST_F(SurroundTest, MarkerCirclesClockwiseFromFrontOnThePadEllipse) {
  OpenInSurroundMode();
  const fw::Rect rc = windows_.GetClientRect(Pad());
  ASSERT_EQ(rc, (fw::Rect{0, 0, 65, 65})) << "the pad takes its picture's size";
  Start();
  struct Row {
    std::uint32_t elapsed;
    fw::Point centre;
  };
  // RIGHT falls at 1877.5 ms, between two whole milliseconds: one column short of W there.
  const Row rows[] = {
      {0, {32, 0}},     {1877, {64, 32}}, {1878, {64, 32}},
      {3755, {32, 65}}, {5633, {0, 32}},  {7510, {32, 0}},
  };
  fw::Point previous{};
  bool first = true;
  for (const Row& row : rows) {
    TickAt(row.elapsed);
    EXPECT_EQ(Marker(), row.centre) << row.elapsed;
    ExpectMarkerAt(row.centre);
    if (!first && !(previous == row.centre)) ExpectRestoredAt(previous);
    previous = row.centre;
    first = false;
  }
}

TEST_F(SurroundTest, EighthTurnLiesOnTheEllipse) {
  OpenInSurroundMode();
  Start();
  TickAt(939);  // an eighth of a turn: 45 degrees to the right of FRONT
  EXPECT_EQ(Marker(), (fw::Point{55, 9}));
  TickAt(7510 + 939);
  EXPECT_EQ(Marker(), (fw::Point{55, 9}));
}

TEST_F(SurroundTest, RepeatedStartGoesOutOnlyInTheFirstPartOfATurn) {
  OpenInSurroundMode();
  Start();
  ManualTicksOnly();
  struct Row {
    std::uint32_t elapsed;
    bool sends;
  };
  const Row rows[] = {{3755, false}, {7509, false}, {7510, true},  {7513, true},
                      {7514, false}, {15020, true}, {15025, false}};
  for (const Row& row : rows) {
    device_.ClearRequests();
    TickAt(row.elapsed);
    EXPECT_EQ(Requests(), row.sends ? "IOCTL_SURROUND_START\n" : "") << row.elapsed;
  }
  // A failure of it is silent.
  device_.FailNext(IOCTL_SURROUND_START);
  TickAt(22530);
  EXPECT_TRUE(windows_.MessageBoxes().empty());
}

TEST_F(SurroundTest, TickWhileAnUpdateIsPendingDrawsNothing) {
  OpenInSurroundMode();
  Start();
  TickAt(500);
  const fw::Point drawn = Marker();
  windows_.Uncover(Dlg());
  TickAt(1000);
  EXPECT_EQ(Marker(), drawn);
  ExpectMarkerAt(drawn);
  windows_.PaintPending();
  ExpectRestoredAt(drawn);  // the repaint wiped it
  TickAt(1500);
  EXPECT_NE(Marker(), drawn);
  ExpectMarkerAt(Marker());
  ExpectRestoredAt(drawn);
}

TEST_F(SurroundTest, MarkerOnTheLeftmostColumnIsStillErasedByTheNextTick) {
  OpenInSurroundMode();
  Start();
  ManualTicksOnly();
  TickAt(5633);
  ASSERT_EQ(Marker(), (fw::Point{0, 32}));
  ExpectMarkerAt({0, 32});
  TickAt(6500);
  EXPECT_GT(Marker().x, 2);
  ExpectRestoredAt({0, 32});
}

TEST_F(SurroundTest, StopSwitchesOffSilencesStopsMovementAndRotation) {
  OpenInSurroundMode();
  Start();
  windows_.Advance(100);
  const fw::Point last = Marker();
  Clear();
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Requests(), "IOCTL_FILTER_OFF\nIOCTL_SURROUND_STOP\n");
  EXPECT_EQ(Sounds(), "purge\nclip stop\n");
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_ROTATION));
  EXPECT_EQ(TestImage(), "TESTU");
  ExpectMarkerAt(last);  // stays where it was drawn last
  // A new start begins again at FRONT and first restores the old marker.
  ASSERT_TRUE(Click(IDC_TEST));
  start_ = windows_.Now();
  TickAt(0);
  EXPECT_EQ(Marker(), (fw::Point{32, 0}));
  ExpectRestoredAt(last);
}

TEST_F(SurroundTest, ClosingDuringTheTestStopsItThenRestoresTheFilterInOrder) {
  struct Row {
    platform::Dword enableFilter;
    const char* requests;
  };
  const Row rows[] = {
      {1, "IOCTL_FILTER_OFF\nIOCTL_SURROUND_STOP\nIOCTL_FILTER_ON\n"},
      {0, "IOCTL_FILTER_OFF\nIOCTL_SURROUND_STOP\nIOCTL_FILTER_OFF\n"},
  };
  for (const Row& row : rows) {
    Store("EnableFilter", row.enableFilter);
    OpenInSurroundMode();
    Start();
    windows_.Advance(50);
    Clear();
    dlg_->CloseSpeakerTest();
    EXPECT_EQ(Requests(), row.requests);
    EXPECT_EQ(Sounds(), "purge\npurge\nclip stop\nplay 215 once\n");
    EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_ROTATION));
    EXPECT_EQ(Stored("TestBtnStatus"), 1u);
    EXPECT_EQ(device_.OpenHandleCount(), 0);
    Destroy();
    painted_.clear();
  }
}

TEST_F(SurroundTest, FailedFilterOnStartsNothingAndNextClickStops) {
  OpenInSurroundMode();
  device_.FailNext(IOCTL_FILTER_ON);
  Start();
  EXPECT_EQ(Requests(), "IOCTL_FILTER_ON FAILED 31\n");
  EXPECT_EQ(windows_.MessageBoxes().size(), 1u);
  EXPECT_EQ(Sounds(), "");
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_ROTATION));
  EXPECT_EQ(TestImage(), "TESTD");
  EXPECT_EQ(Stored("TestBtnStatus"), 2u);
  Clear();
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Requests(), "IOCTL_FILTER_OFF\nIOCTL_SURROUND_STOP\n");
  EXPECT_EQ(Stored("TestBtnStatus"), 1u);
}

// A failed surround request is reported and the test still starts and stops.
TEST_F(SurroundTest, FailedSurroundStartOrStopReportsAndStillRunsOrStops) {
  OpenInSurroundMode();
  device_.FailNext(IOCTL_SURROUND_START);
  Start();
  EXPECT_EQ(windows_.MessageBoxes().size(), 1u);
  EXPECT_EQ(Sounds(), "clip 209 loop\n");
  EXPECT_TRUE(windows_.HasTimer(Dlg(), IDT_ROTATION));
  device_.FailNext(IOCTL_SURROUND_STOP);
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(windows_.MessageBoxes().size(), 2u);
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_ROTATION));
}

TEST_F(SurroundTest, FailedFilterOffAtStopLeavesClipAndRotationUntilClose) {
  OpenInSurroundMode();
  Start();
  device_.FailNext(IOCTL_FILTER_OFF);
  Clear();
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Requests(), "IOCTL_FILTER_OFF FAILED 31\n");
  EXPECT_EQ(windows_.MessageBoxes().size(), 1u);
  EXPECT_EQ(sound_.Playing(), "clip 209 loop");
  EXPECT_TRUE(windows_.HasTimer(Dlg(), IDT_ROTATION));
  EXPECT_EQ(TestImage(), "TESTU");
  // The next start restarts both.
  Clear();
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_EQ(Requests(), "IOCTL_FILTER_ON\nIOCTL_SURROUND_START\n");
  EXPECT_EQ(Sounds(), "clip 209 loop\n");
  // Stopped again with the request failing, then closed: the clip and the rotation end.
  device_.FailNext(IOCTL_FILTER_OFF);
  ASSERT_TRUE(Click(IDC_TEST));
  dlg_->CloseSpeakerTest();
  EXPECT_NE(sound_.Playing(), "clip 209 loop");
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_ROTATION)) << "no rotation ticking for a hidden dialog";
}

TEST_F(SurroundTest, FailedFilterRequestAtCloseStillClosesTheHandleAndHides) {
  for (platform::Dword enableFilter : {1u, 0u}) {
    Store("EnableFilter", enableFilter);
    OpenInSurroundMode();
    const std::size_t boxes = windows_.MessageBoxes().size();
    device_.FailAllRequests(true);
    dlg_->CloseSpeakerTest();
    EXPECT_EQ(windows_.MessageBoxes().size(), boxes + 1);
    EXPECT_EQ(device_.OpenHandleCount(), 0);
    EXPECT_FALSE(windows_.IsWindowVisible(Dlg()));
    EXPECT_FALSE(dlg_->IsShown());
    device_.FailAllRequests(false);
    Destroy();
    painted_.clear();
  }
}

TEST_F(SurroundTest, WithoutDeviceStartAndStopDoNothing) {
  Store("TestMode", 3);
  Store("TestBtnStatus", 1);
  Create();
  windows_.ShowWindow(Dlg(), fw::sw::kShow);
  ASSERT_TRUE(Click(IDC_TEST));
  ASSERT_TRUE(Click(IDC_TEST));
  EXPECT_TRUE(device_.Requests().empty());
  EXPECT_EQ(Sounds(), "");
  EXPECT_FALSE(windows_.HasTimer(Dlg(), IDT_ROTATION));
}

// The clock wraps past 2^32 a second into the test; the marker keeps its pace.
class SurroundWrapTest : public SurroundTest {
 protected:
  SurroundWrapTest() : SurroundTest(0xFFFFFFFFu - 1000u) {}
};

TEST_F(SurroundWrapTest, MarkerKeepsItsPaceAcrossTheWrap) {
  OpenInSurroundMode();
  Start();
  ASSERT_GT(start_, 0xFFFF0000u);
  TickAt(3755);
  EXPECT_LT(windows_.Now(), start_) << "the clock has wrapped";
  EXPECT_EQ(Marker(), (fw::Point{32, 65}));
  TickAt(7510);
  EXPECT_EQ(Marker(), (fw::Point{32, 0}));
}

}  // namespace
}  // namespace korven
