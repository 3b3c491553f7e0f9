// The marker on the sound movement pad.
#include "speaker_test/sound_movement_pad.h"

namespace korven {

void SoundMovementMarker::Draw(fw::WindowSystem& windows, fw::Hwnd dialog, fw::Hwnd pad, float px,
                               float py) {
  const fw::Hdc dc = windows.GetDC(pad);
  // A repaint is on its way: drawing now would be painted over, or restore stale pixels.
  if (windows.HasUpdateRegion(dialog)) {
    windows.ReleaseDC(pad, dc);
    return;
  }
  if (drawn) {
    for (int i = 0; i < kPatternSize; ++i) {
      // A pixel that read as invalid lay outside the pad; there is nothing to put back.
      if (savedColors[i] == fw::kInvalidColor) continue;
      windows.SetPixel(dc, x + kMarkerPattern[i].x, y + kMarkerPattern[i].y, savedColors[i]);
    }
  }
  const fw::Rect rc = windows.GetClientRect(pad);
  x = static_cast<int>((rc.left + rc.right) * (px * 0.25 + 1) * 0.5);
  y = static_cast<int>((1 - py * 0.25) * (rc.top + rc.bottom) * 0.5);
  for (int i = 0; i < kPatternSize; ++i) {
    savedColors[i] = windows.GetPixel(dc, x + kMarkerPattern[i].x, y + kMarkerPattern[i].y);
  }
  for (const fw::Point& offset : kMarkerPattern) {
    windows.SetPixel(dc, x + offset.x, y + offset.y, kColor);
  }
  drawn = true;
  windows.ReleaseDC(pad, dc);
}

}  // namespace korven
