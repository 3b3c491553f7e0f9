// The framework's message vocabulary must be the platform's own values: the Win32 backend
// passes them through unchanged.
#include <cstddef>

#include "framework/messages.h"
#include "framework/open_file_request.h"
#include "framework/win32/windows_api.h"
// After <windows.h>, whose types it uses.
#include <dbt.h>

namespace fw::win32 {
namespace {

static_assert(wm::kCreate == WM_CREATE);
static_assert(wm::kDestroy == WM_DESTROY);
static_assert(wm::kMove == WM_MOVE);
static_assert(wm::kSize == WM_SIZE);
static_assert(wm::kSetText == WM_SETTEXT);
static_assert(wm::kGetText == WM_GETTEXT);
static_assert(wm::kGetTextLength == WM_GETTEXTLENGTH);
static_assert(wm::kPaint == WM_PAINT);
static_assert(wm::kClose == WM_CLOSE);
static_assert(wm::kShowWindow == WM_SHOWWINDOW);
static_assert(wm::kQueryDragIcon == WM_QUERYDRAGICON);
static_assert(wm::kNotify == WM_NOTIFY);
static_assert(wm::kSetIcon == WM_SETICON);
static_assert(wm::kNcDestroy == WM_NCDESTROY);
static_assert(wm::kInitDialog == WM_INITDIALOG);
static_assert(wm::kCommand == WM_COMMAND);
static_assert(wm::kSysCommand == WM_SYSCOMMAND);
static_assert(wm::kTimer == WM_TIMER);
static_assert(wm::kHScroll == WM_HSCROLL);
static_assert(wm::kVScroll == WM_VSCROLL);
static_assert(wm::kMouseMove == WM_MOUSEMOVE);
static_assert(wm::kLButtonDown == WM_LBUTTONDOWN);
static_assert(wm::kLButtonUp == WM_LBUTTONUP);
static_assert(wm::kLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(wm::kRButtonDown == WM_RBUTTONDOWN);
static_assert(wm::kRButtonUp == WM_RBUTTONUP);
static_assert(wm::kRButtonDblClk == WM_RBUTTONDBLCLK);
static_assert(wm::kDeviceChange == WM_DEVICECHANGE);
static_assert(wm::kUser == WM_USER);
static_assert(icon::kSmall == ICON_SMALL);
static_assert(icon::kBig == ICON_BIG);
static_assert(dbt::kDevNodesChanged == DBT_DEVNODES_CHANGED);

static_assert(bm::kGetCheck == BM_GETCHECK);
static_assert(bm::kSetCheck == BM_SETCHECK);
static_assert(bm::kGetState == BM_GETSTATE);
static_assert(bm::kSetState == BM_SETSTATE);
static_assert(bm::kClick == BM_CLICK);
static_assert(bm::kSetImage == BM_SETIMAGE);
static_assert(bm::kNotifyClicked == BN_CLICKED);
static_assert(bm::kUnchecked == BST_UNCHECKED);
static_assert(bm::kChecked == BST_CHECKED);

static_assert(cb::kAddString == CB_ADDSTRING);
static_assert(cb::kDeleteString == CB_DELETESTRING);
static_assert(cb::kGetCount == CB_GETCOUNT);
static_assert(cb::kGetCurSel == CB_GETCURSEL);
static_assert(cb::kGetLbText == CB_GETLBTEXT);
static_assert(cb::kGetLbTextLen == CB_GETLBTEXTLEN);
static_assert(cb::kInsertString == CB_INSERTSTRING);
static_assert(cb::kResetContent == CB_RESETCONTENT);
static_assert(cb::kFindString == CB_FINDSTRING);
static_assert(cb::kSelectString == CB_SELECTSTRING);
static_assert(cb::kSetCurSel == CB_SETCURSEL);
static_assert(cb::kNotifySelChange == CBN_SELCHANGE);
static_assert(cb::kErr == CB_ERR);
static_assert(cb::kSort == CBS_SORT);
static_assert(lb::kAddString == LB_ADDSTRING);

static_assert(tcm::kGetItemCount == TCM_GETITEMCOUNT);
static_assert(tcm::kInsertItemA == TCM_INSERTITEMA);
static_assert(tcm::kGetCurSel == TCM_GETCURSEL);
static_assert(tcm::kSetCurSel == TCM_SETCURSEL);
static_assert(tcm::kAdjustRect == TCM_ADJUSTRECT);
static_assert(tcm::kNotifySelChange == static_cast<unsigned>(TCN_SELCHANGE));
static_assert(tcm::kNotifySelChanging == static_cast<unsigned>(TCN_SELCHANGING));
static_assert(tcm::kIfText == TCIF_TEXT);

static_assert(ws::kOverlapped == WS_OVERLAPPED);
static_assert(ws::kPopup == WS_POPUP);
static_assert(ws::kChild == WS_CHILD);
static_assert(ws::kVisible == WS_VISIBLE);
static_assert(ws::kDisabled == WS_DISABLED);
static_assert(ws::kClipSiblings == WS_CLIPSIBLINGS);
static_assert(ws::kCaption == WS_CAPTION);
static_assert(ws::kBorder == WS_BORDER);
static_assert(ws::kSysMenu == WS_SYSMENU);
static_assert(ws::kGroup == WS_GROUP);
static_assert(ws::kTabStop == WS_TABSTOP);
static_assert(ws::kExAppWindow == WS_EX_APPWINDOW);
static_assert(ws::kExControlParent == WS_EX_CONTROLPARENT);

static_assert(bs::kPushButton == BS_PUSHBUTTON);
static_assert(bs::kDefPushButton == BS_DEFPUSHBUTTON);
static_assert(bs::kCheckBox == BS_CHECKBOX);
static_assert(bs::kAutoCheckBox == BS_AUTOCHECKBOX);
static_assert(bs::kRadioButton == BS_RADIOBUTTON);
static_assert(bs::k3State == BS_3STATE);
static_assert(bs::kAuto3State == BS_AUTO3STATE);
static_assert(bs::kGroupBox == BS_GROUPBOX);
static_assert(bs::kAutoRadioButton == BS_AUTORADIOBUTTON);
static_assert(bs::kOwnerDraw == BS_OWNERDRAW);
static_assert(bs::kTypeMask == BS_TYPEMASK);

static_assert(mb::kOk == MB_OK);
static_assert(mb::kOkCancel == MB_OKCANCEL);
static_assert(mb::kYesNo == MB_YESNO);
static_assert(mb::kIconHand == MB_ICONHAND);
static_assert(mb::kIconQuestion == MB_ICONQUESTION);
static_assert(mb::kIconExclamation == MB_ICONEXCLAMATION);
static_assert(mb::kIconAsterisk == MB_ICONASTERISK);

static_assert(kIdOk == IDOK);
static_assert(kIdCancel == IDCANCEL);
static_assert(kIdYes == IDYES);
static_assert(kIdNo == IDNO);

static_assert(mf::kByCommand == MF_BYCOMMAND);
static_assert(mf::kGrayed == MF_GRAYED);
static_assert(mf::kDisabled == MF_DISABLED);
static_assert(mf::kPopup == MF_POPUP);
static_assert(mf::kSeparator == MF_SEPARATOR);
static_assert(mf::kByPosition == MF_BYPOSITION);

static_assert(tpm::kLeftButton == TPM_LEFTBUTTON);
static_assert(tpm::kLeftAlign == TPM_LEFTALIGN);
static_assert(tpm::kTopAlign == TPM_TOPALIGN);
static_assert(tpm::kRightButton == TPM_RIGHTBUTTON);
static_assert(tpm::kNoNotify == TPM_NONOTIFY);
static_assert(tpm::kReturnCmd == TPM_RETURNCMD);

static_assert(ofn::kOverwritePrompt == OFN_OVERWRITEPROMPT);
static_assert(ofn::kHideReadOnly == OFN_HIDEREADONLY);
static_assert(ofn::kFileMustExist == OFN_FILEMUSTEXIST);

static_assert(sw::kHide == SW_HIDE);
static_assert(sw::kShowNormal == SW_SHOWNORMAL);
static_assert(sw::kShow == SW_SHOW);

// Records handed to the platform as they are.
static_assert(sizeof(Hwnd) == sizeof(HWND));
static_assert(sizeof(Hmenu) == sizeof(HMENU));
static_assert(sizeof(Hicon) == sizeof(HICON));
static_assert(sizeof(WParam) == sizeof(WPARAM));
static_assert(sizeof(LParam) == sizeof(LPARAM));
static_assert(sizeof(LResult) == sizeof(LRESULT));

static_assert(sizeof(NmHdr) == sizeof(NMHDR));
static_assert(offsetof(NmHdr, hwndFrom) == offsetof(NMHDR, hwndFrom));
static_assert(offsetof(NmHdr, idFrom) == offsetof(NMHDR, idFrom));
static_assert(offsetof(NmHdr, code) == offsetof(NMHDR, code));

static_assert(sizeof(TabItem) == sizeof(TCITEMA));
static_assert(offsetof(TabItem, mask) == offsetof(TCITEMA, mask));
static_assert(offsetof(TabItem, state) == offsetof(TCITEMA, dwState));
static_assert(offsetof(TabItem, stateMask) == offsetof(TCITEMA, dwStateMask));
static_assert(offsetof(TabItem, text) == offsetof(TCITEMA, pszText));
static_assert(offsetof(TabItem, textMax) == offsetof(TCITEMA, cchTextMax));
static_assert(offsetof(TabItem, image) == offsetof(TCITEMA, iImage));
static_assert(offsetof(TabItem, param) == offsetof(TCITEMA, lParam));

static_assert(sizeof(Point) == sizeof(POINT));
static_assert(sizeof(Rect) == sizeof(RECT));

}  // namespace
}  // namespace fw::win32
