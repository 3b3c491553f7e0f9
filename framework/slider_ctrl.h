// CSliderCtrl: a trackbar control of a dialog. Each operation is one trackbar message; the
// control keeps its own range and position.
#pragma once

#include "framework/wnd.h"

namespace fw {

class CSliderCtrl : public CWnd {
 public:
  explicit CSliderCtrl(WindowSystem& windows) : CWnd(windows) {}

  // TBM_SETRANGE. A position outside the new range is moved to its nearest end.
  void SetRange(int minimum, int maximum, bool redraw = false) const;
  int GetRangeMin() const;
  int GetRangeMax() const;
  // TBM_SETPOS. The control keeps a position outside its range at the nearest end.
  void SetPos(int position, bool redraw = true) const;
  // TBM_GETPOS.
  int GetPos() const;
};

}  // namespace fw
