#include "framework/slider_ctrl.h"

namespace fw {

namespace {

// MAKELONG(low, high) as a message parameter.
LParam MakeLParam(int low, int high) {
  return static_cast<LParam>(static_cast<std::int32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                                       (static_cast<std::uint32_t>(high) << 16)));
}

}  // namespace

void CSliderCtrl::SetRange(int minimum, int maximum, bool redraw) const {
  SendMessage(tbm::kSetRange, redraw ? 1 : 0, MakeLParam(minimum, maximum));
}

int CSliderCtrl::GetRangeMin() const {
  return static_cast<int>(SendMessage(tbm::kGetRangeMin));
}

int CSliderCtrl::GetRangeMax() const {
  return static_cast<int>(SendMessage(tbm::kGetRangeMax));
}

void CSliderCtrl::SetPos(int position, bool redraw) const {
  SendMessage(tbm::kSetPos, redraw ? 1 : 0, static_cast<LParam>(position));
}

int CSliderCtrl::GetPos() const {
  return static_cast<int>(SendMessage(tbm::kGetPos));
}

}  // namespace fw
