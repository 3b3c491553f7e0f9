// The framework's trackbar vocabulary must be the platform's own values: CSliderCtrl sends
// them to the real control unchanged.
#include "framework/messages.h"
#include "framework/win32/windows_api.h"

namespace fw::win32 {
namespace {

static_assert(tbm::kGetPos == TBM_GETPOS);
static_assert(tbm::kGetRangeMin == TBM_GETRANGEMIN);
static_assert(tbm::kGetRangeMax == TBM_GETRANGEMAX);
static_assert(tbm::kSetPos == TBM_SETPOS);
static_assert(tbm::kSetRange == TBM_SETRANGE);
static_assert(tbm::kLineUp == TB_LINEUP);
static_assert(tbm::kLineDown == TB_LINEDOWN);
static_assert(tbm::kThumbPosition == TB_THUMBPOSITION);
static_assert(tbm::kThumbTrack == TB_THUMBTRACK);
static_assert(tbm::kEndTrack == TB_ENDTRACK);
static_assert(tbm::kStyleVert == TBS_VERT);
static_assert(nm::kReleasedCapture == static_cast<unsigned>(NM_RELEASEDCAPTURE));

}  // namespace
}  // namespace fw::win32
