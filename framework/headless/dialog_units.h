// Dialog units to pixels, as MapDialogRect does it with a dialog font's base units.
#pragma once

#include <cstdint>

#include "framework/messages.h"

namespace fw::headless {

// a * b / c rounded half away from zero, as MulDiv.
constexpr int MulDiv(int a, int b, int c) {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

constexpr Rect DialogUnitsToPixels(const Rect& du, int baseX, int baseY) {
  return {MulDiv(du.left, baseX, 4), MulDiv(du.top, baseY, 8), MulDiv(du.right, baseX, 4),
          MulDiv(du.bottom, baseY, 8)};
}

}  // namespace fw::headless
