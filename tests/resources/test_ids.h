// Ids and window styles of test.rc, shared by the script and the tests (which see no
// Windows headers).
#pragma once

#define IDS_FIRST 1
#define IDS_END_OF_BLOCK 15
#define IDS_NEXT_BLOCK 16
#define IDS_SPARSE 100
#define IDS_ANSI 101
#define IDS_TOP 65535

#define IDD_EX 200
#define IDD_CLASSIC 201
#define IDR_MENU 300
#define IDI_TEST 310
#define IDB_TEST 311

#define IDOK 1
#define IDC_STATIC (-1)
#define IDC_CHECK 1001
#define IDC_RADIO1 1002
#define IDC_RADIO2 1003
#define IDC_EDIT 1004
#define IDC_SLIDER 1005
#define IDC_CUSTOM 1006
#define IDC_COMBO 1007
#define IDC_LIST 1008
#define IDC_SCROLL 1009
#define IDC_PICTURE 1010

#define ID_OPEN 40001
#define ID_RECENT 40002
#define ID_EXIT 40003
#define ID_HELP 40004

#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_VISIBLE 0x10000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_VSCROLL 0x00200000
#define WS_SYSMENU 0x00080000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000
#define WS_EX_APPWINDOW 0x00040000
#define DS_MODALFRAME 0x80
#define DS_SETFONT 0x40
#define BS_PUSHBUTTON 0x0
#define BS_DEFPUSHBUTTON 0x1
#define BS_AUTOCHECKBOX 0x3
#define BS_GROUPBOX 0x7
#define BS_AUTORADIOBUTTON 0x9
#define ES_AUTOHSCROLL 0x80
#define ES_READONLY 0x800
#define SS_ICON 0x3
#define SS_BITMAP 0xE
#define CBS_DROPDOWNLIST 0x3
#define LBS_NOTIFY 0x1
#define SBS_VERT 0x1
#define TBS_VERT 0x2
