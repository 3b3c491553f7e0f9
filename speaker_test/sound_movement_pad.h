// The sound movement pad: a red marker that circles on the "Sound Movement" picture while
// the Surround test runs. Its state is one for the whole program: it outlives a test and the
// hiding of the dialog, so the next test first restores the pixels under the last marker.
// The application object owns it and hands it to the Speaker Test dialog.
#pragma once

#include "framework/messages.h"
#include "framework/window_system.h"

namespace korven {

struct SoundMovementMarker {
  static constexpr int kPatternSize = 9;
  static constexpr fw::ColorRef kColor = fw::Rgb(255, 0, 0);

  // Puts back the pixels under the last marker and draws it at (px, py), each -4..4, on
  // `pad`; does nothing while `dialog` waits for a repaint.
  void Draw(fw::WindowSystem& windows, fw::Hwnd dialog, fw::Hwnd pad, float px, float py);

  // The pad's pixels under the marker drawn last, in pattern order.
  fw::ColorRef savedColors[kPatternSize] = {
      fw::kInvalidColor, fw::kInvalidColor, fw::kInvalidColor, fw::kInvalidColor, fw::kInvalidColor,
      fw::kInvalidColor, fw::kInvalidColor, fw::kInvalidColor, fw::kInvalidColor};
  int x = 0;  // pad client pixels of the marker's centre
  int y = 0;
  // A marker has been drawn. The first saved colour cannot tell: it is the pixel left of the
  // centre, outside the pad whenever the marker sits on its leftmost column.
  bool drawn = false;
};

// The 3 x 3 square as (column, row) offsets from the centre, in the order it is handled.
inline constexpr fw::Point kMarkerPattern[SoundMovementMarker::kPatternSize] = {
    {-1, 0}, {0, -1}, {0, 0}, {0, 1}, {1, 0}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1},
};

}  // namespace korven
