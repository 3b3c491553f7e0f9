// Window messages, notification codes, styles and small records the framework uses. Values
// are the platform's own (winuser.h / commctrl.h), so both backends speak one vocabulary.
#pragma once

#include <cstdint>

namespace fw {

struct HwndOpaque;
using Hwnd = HwndOpaque*;  // a window; null is no window
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

struct HmenuOpaque;
using Hmenu = HmenuOpaque*;  // a menu; null is no menu
struct HiconOpaque;
using Hicon = HiconOpaque*;  // an icon; null is no icon
struct HbitmapOpaque;
using Hbitmap = HbitmapOpaque*;  // a bitmap; null is no bitmap
struct HdcOpaque;
using Hdc = HdcOpaque*;  // a drawing context; null is none

// COLORREF: 0x00BBGGRR. kInvalidColor (CLR_INVALID) is what a pixel outside the visible
// area reads as.
using ColorRef = std::uint32_t;
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFF;
constexpr ColorRef Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

constexpr unsigned LoWord(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HiWord(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
constexpr WParam MakeWParam(unsigned lo, unsigned hi) { return (lo & 0xFFFF) | ((hi & 0xFFFFu) << 16); }

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// NMHDR, the header of every WM_NOTIFY record.
struct NmHdr {
  Hwnd hwndFrom = nullptr;
  std::uintptr_t idFrom = 0;
  unsigned code = 0;
};

namespace wm {
inline constexpr unsigned kCreate = 0x0001;
inline constexpr unsigned kDestroy = 0x0002;
inline constexpr unsigned kMove = 0x0003;
inline constexpr unsigned kSize = 0x0005;
inline constexpr unsigned kSetText = 0x000C;
inline constexpr unsigned kGetText = 0x000D;
inline constexpr unsigned kGetTextLength = 0x000E;
inline constexpr unsigned kPaint = 0x000F;
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kShowWindow = 0x0018;
inline constexpr unsigned kQueryDragIcon = 0x0037;
inline constexpr unsigned kNotify = 0x004E;
inline constexpr unsigned kDrawItem = 0x002B;
inline constexpr unsigned kSetIcon = 0x0080;
inline constexpr unsigned kNcDestroy = 0x0082;
inline constexpr unsigned kInitDialog = 0x0110;
inline constexpr unsigned kCommand = 0x0111;
inline constexpr unsigned kSysCommand = 0x0112;
inline constexpr unsigned kTimer = 0x0113;
inline constexpr unsigned kHScroll = 0x0114;
inline constexpr unsigned kVScroll = 0x0115;
inline constexpr unsigned kMouseMove = 0x0200;
inline constexpr unsigned kLButtonDown = 0x0201;
inline constexpr unsigned kLButtonUp = 0x0202;
inline constexpr unsigned kLButtonDblClk = 0x0203;
inline constexpr unsigned kRButtonDown = 0x0204;
inline constexpr unsigned kRButtonUp = 0x0205;
inline constexpr unsigned kRButtonDblClk = 0x0206;
inline constexpr unsigned kDeviceChange = 0x0219;
inline constexpr unsigned kUser = 0x0400;
}  // namespace wm

// WM_SETICON's icon sizes.
namespace icon {
inline constexpr WParam kSmall = 0;  // ICON_SMALL
inline constexpr WParam kBig = 1;    // ICON_BIG
}  // namespace icon

// WM_DEVICECHANGE's events.
namespace dbt {
inline constexpr WParam kDevNodesChanged = 0x0007;  // DBT_DEVNODES_CHANGED
}  // namespace dbt

// Button messages, notifications and states.
namespace bm {
inline constexpr unsigned kGetCheck = 0x00F0;
inline constexpr unsigned kSetCheck = 0x00F1;
inline constexpr unsigned kGetState = 0x00F2;
inline constexpr unsigned kSetState = 0x00F3;
inline constexpr unsigned kClick = 0x00F5;
inline constexpr unsigned kSetImage = 0x00F7;
inline constexpr unsigned kNotifyClicked = 0;  // BN_CLICKED
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
}  // namespace bm

// Static control images (STM_SETIMAGE / STM_GETIMAGE with IMAGE_BITMAP).
namespace stm {
inline constexpr unsigned kSetImage = 0x0172;
inline constexpr unsigned kGetImage = 0x0173;
inline constexpr WParam kImageBitmap = 0;  // IMAGE_BITMAP
}  // namespace stm

// DRAWITEMSTRUCT, as WM_DRAWITEM carries it to the parent of an owner-drawn control.
struct DrawItem {
  unsigned ctlType = 0;  // odt::k...
  unsigned ctlId = 0;
  unsigned itemId = 0;
  unsigned itemAction = 0;
  unsigned itemState = 0;
  Hwnd hwndItem = nullptr;
  Hdc dc = nullptr;
  Rect rcItem;
  std::uintptr_t itemData = 0;
};
namespace odt {
inline constexpr unsigned kButton = 4;         // ODT_BUTTON
inline constexpr unsigned kDrawEntire = 1;     // ODA_DRAWENTIRE
inline constexpr unsigned kStateDisabled = 4;  // ODS_DISABLED
}  // namespace odt

// RedrawWindow flags.
namespace rdw {
inline constexpr unsigned kInvalidate = 0x0001;
inline constexpr unsigned kErase = 0x0004;
inline constexpr unsigned kAllChildren = 0x0080;
inline constexpr unsigned kUpdateNow = 0x0100;
}  // namespace rdw

// Mouse message key state and point (in the client pixels of the window it reaches).
namespace mk {
inline constexpr WParam kLButton = 0x0001;  // MK_LBUTTON
}  // namespace mk
constexpr Point PointFromLParam(LParam lParam) {
  return {static_cast<std::int16_t>(lParam & 0xFFFF),
          static_cast<std::int16_t>((lParam >> 16) & 0xFFFF)};
}
constexpr LParam LParamFromPoint(Point p) {
  return static_cast<LParam>((static_cast<unsigned>(p.x) & 0xFFFF) |
                             ((static_cast<unsigned>(p.y) & 0xFFFF) << 16));
}

// Combo box messages, notifications and styles.
namespace cb {
inline constexpr unsigned kAddString = 0x0143;
inline constexpr unsigned kDeleteString = 0x0144;
inline constexpr unsigned kGetCount = 0x0146;
inline constexpr unsigned kGetCurSel = 0x0147;
inline constexpr unsigned kGetLbText = 0x0148;
inline constexpr unsigned kGetLbTextLen = 0x0149;
inline constexpr unsigned kInsertString = 0x014A;
inline constexpr unsigned kResetContent = 0x014B;
inline constexpr unsigned kFindString = 0x014C;
inline constexpr unsigned kSelectString = 0x014D;
inline constexpr unsigned kSetCurSel = 0x014E;
inline constexpr unsigned kNotifySelChange = 1;  // CBN_SELCHANGE
inline constexpr LResult kErr = -1;              // CB_ERR
inline constexpr std::uint32_t kSort = 0x0100;   // CBS_SORT
}  // namespace cb

// List box message a dialog's initialisation data may carry.
namespace lb {
inline constexpr unsigned kAddString = 0x0180;
}  // namespace lb

// Tab control (the page selector of the property sheet).
namespace tcm {
inline constexpr unsigned kGetItemCount = 0x1304;
inline constexpr unsigned kInsertItemA = 0x1307;
inline constexpr unsigned kGetCurSel = 0x130B;
inline constexpr unsigned kSetCurSel = 0x130C;
inline constexpr unsigned kAdjustRect = 0x1328;
inline constexpr unsigned kNotifySelChange = static_cast<unsigned>(-551);    // TCN_SELCHANGE
inline constexpr unsigned kNotifySelChanging = static_cast<unsigned>(-552);  // TCN_SELCHANGING
inline constexpr unsigned kIfText = 0x0001;                                  // TCIF_TEXT
}  // namespace tcm

// Trackbar (slider) messages, scroll codes and styles. A trackbar tells its parent about a
// move with WM_VSCROLL (vertical) or WM_HSCROLL and the scroll code in the low word of wParam.
namespace tbm {
inline constexpr unsigned kGetPos = 0x0400;       // TBM_GETPOS
inline constexpr unsigned kGetRangeMin = 0x0401;  // TBM_GETRANGEMIN
inline constexpr unsigned kGetRangeMax = 0x0402;  // TBM_GETRANGEMAX
inline constexpr unsigned kSetPos = 0x0405;       // TBM_SETPOS: wParam redraw, lParam position
inline constexpr unsigned kSetRange = 0x0406;     // TBM_SETRANGE: wParam redraw, lParam lo/hi
inline constexpr unsigned kLineUp = 0;            // TB_LINEUP
inline constexpr unsigned kLineDown = 1;          // TB_LINEDOWN
inline constexpr unsigned kThumbPosition = 4;     // TB_THUMBPOSITION
inline constexpr unsigned kThumbTrack = 5;        // TB_THUMBTRACK
inline constexpr unsigned kEndTrack = 8;          // TB_ENDTRACK
inline constexpr std::uint32_t kStyleVert = 0x0002;  // TBS_VERT
}  // namespace tbm

// Common control notifications.
namespace nm {
inline constexpr unsigned kReleasedCapture = static_cast<unsigned>(-16);  // NM_RELEASEDCAPTURE
}  // namespace nm

// TCITEMA, as TCM_INSERTITEMA takes it.
struct TabItem {
  unsigned mask = 0;
  unsigned state = 0;
  unsigned stateMask = 0;
  char* text = nullptr;
  int textMax = 0;
  int image = -1;
  LParam param = 0;
};

namespace ws {
inline constexpr std::uint32_t kOverlapped = 0x00000000;
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kClipSiblings = 0x04000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kExAppWindow = 0x00040000;
inline constexpr std::uint32_t kExControlParent = 0x00010000;
}  // namespace ws

namespace bs {
inline constexpr std::uint32_t kPushButton = 0;
inline constexpr std::uint32_t kDefPushButton = 1;
inline constexpr std::uint32_t kCheckBox = 2;
inline constexpr std::uint32_t kAutoCheckBox = 3;
inline constexpr std::uint32_t kRadioButton = 4;
inline constexpr std::uint32_t k3State = 5;
inline constexpr std::uint32_t kAuto3State = 6;
inline constexpr std::uint32_t kGroupBox = 7;
inline constexpr std::uint32_t kAutoRadioButton = 9;
inline constexpr std::uint32_t kOwnerDraw = 0xB;
inline constexpr std::uint32_t kTypeMask = 0xF;
}  // namespace bs

// Message box types and answers.
namespace mb {
inline constexpr unsigned kOk = 0x0000;
inline constexpr unsigned kOkCancel = 0x0001;
inline constexpr unsigned kYesNo = 0x0004;
inline constexpr unsigned kIconHand = 0x0010;
inline constexpr unsigned kIconQuestion = 0x0020;
inline constexpr unsigned kIconExclamation = 0x0030;
inline constexpr unsigned kIconAsterisk = 0x0040;
}  // namespace mb

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Menu item flags (MF_*) and pop-up menu tracking flags (TPM_*).
namespace mf {
inline constexpr unsigned kByCommand = 0x0000;
inline constexpr unsigned kGrayed = 0x0001;
inline constexpr unsigned kDisabled = 0x0002;
inline constexpr unsigned kPopup = 0x0010;
inline constexpr unsigned kSeparator = 0x0800;
inline constexpr unsigned kByPosition = 0x0400;
}  // namespace mf

namespace tpm {
inline constexpr unsigned kLeftButton = 0x0000;
inline constexpr unsigned kLeftAlign = 0x0000;
inline constexpr unsigned kTopAlign = 0x0000;
inline constexpr unsigned kRightButton = 0x0002;
inline constexpr unsigned kNoNotify = 0x0080;
inline constexpr unsigned kReturnCmd = 0x0100;
}  // namespace tpm

namespace sw {
inline constexpr int kHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShow = 5;
inline constexpr int kRestore = 9;
}  // namespace sw

}  // namespace fw
