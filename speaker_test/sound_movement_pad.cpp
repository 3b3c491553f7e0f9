// The Speaker Test dialog's rotation tick and the marker it moves on the pad.
#include "speaker_test/sound_movement_pad.h"

#include <cmath>

#include "device/requests.h"
#include "res/resource.h"
#include "speaker_test/speaker_test_dlg.h"

namespace korven {

namespace {

constexpr double kQuarterTurnMs = 1877.5;  // a full turn takes 7,510 ms
// The first 0.00045 of a turn (3.38 ms) re-sends the surround start.
constexpr double kRestartWindow = 0.00045;

double QuarterTurn() {
  static const double quarter = std::asin(1.0);
  return quarter;
}

}  // namespace

void CSpeakerTestDlg::RotationTick() {
  // From the time elapsed, not from the ticks counted: ticks come as irregularly as they like.
  const platform::Dword now = sound_.TimeGetTime();
  const double elapsed = static_cast<double>(static_cast<platform::Dword>(now - m_dwRotationStart));
  const double angle = elapsed / (kQuarterTurnMs / QuarterTurn());
  const auto px = static_cast<float>(4.0 * std::sin(angle));
  const auto py = static_cast<float>(4.0 * std::cos(angle));
  const double turns = static_cast<double>(static_cast<float>(angle)) / QuarterTurn() * 0.25;
  const double fraction = turns - std::trunc(turns);
  if (fraction < kRestartWindow && m_hDevice.IsOpen()) {
    // Not examined: the movement runs already.
    m_hDevice.Send(IOCTL_SURROUND_START, &m_dwBytesReturned);
  }
  DrawMarker(px, py);
}

void CSpeakerTestDlg::DrawMarker(float px, float py) {
  SoundMovementMarker& marker = SoundMovementMarker::State();
  fw::WindowSystem& windows = Windows();
  const fw::Hwnd pad = GetDlgItem(IDC_PAD);
  const fw::Hdc dc = windows.GetDC(pad);
  // A repaint is on its way: drawing now would be painted over, or restore stale pixels.
  if (windows.HasUpdateRegion(m_hWnd)) {
    windows.ReleaseDC(pad, dc);
    return;
  }
  if (marker.drawn) {
    for (int i = 0; i < SoundMovementMarker::kPatternSize; ++i) {
      // A pixel that read as invalid lay outside the pad; there is nothing to put back.
      if (marker.savedColors[i] == fw::kInvalidColor) continue;
      windows.SetPixel(dc, marker.x + kMarkerPattern[i].x, marker.y + kMarkerPattern[i].y,
                       marker.savedColors[i]);
    }
  }
  const fw::Rect rc = windows.GetClientRect(pad);
  marker.x = static_cast<int>((rc.left + rc.right) * (px * 0.25 + 1) * 0.5);
  marker.y = static_cast<int>((1 - py * 0.25) * (rc.top + rc.bottom) * 0.5);
  for (int i = 0; i < SoundMovementMarker::kPatternSize; ++i) {
    marker.savedColors[i] =
        windows.GetPixel(dc, marker.x + kMarkerPattern[i].x, marker.y + kMarkerPattern[i].y);
  }
  for (const fw::Point& offset : kMarkerPattern) {
    windows.SetPixel(dc, marker.x + offset.x, marker.y + offset.y, SoundMovementMarker::kColor);
  }
  marker.drawn = true;
  windows.ReleaseDC(pad, dc);
}

}  // namespace korven
