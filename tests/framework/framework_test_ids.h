// Resource ids of the framework tests' own resource script.
#pragma once

#define IDD_FORM 100
#define IDD_PAGE_A 201
#define IDD_PAGE_B 202
#define IDD_PAGE_C 203
#define IDD_CHILD_FORM 204
#define IDD_VALUES 205

#define IDC_CHECK 1001
#define IDC_RADIO_A 1002
#define IDC_RADIO_B 1003
#define IDC_RADIO_C 1004
#define IDC_RADIO_X 1005
#define IDC_RADIO_Y 1006
#define IDC_EDIT 1007
#define IDC_APPLY 1008
#define IDC_HIDDEN 1009
#define IDC_DISABLED 1010
#define IDC_FRAME 1011
#define IDC_PICTURE 1012
#define IDC_PRESET_1 1020
#define IDC_PRESET_2 1021
#define IDC_PRESET_3 1022
#define IDC_PAGE_CHECK 1030
#define IDC_PAGE_EDIT 1031
#define IDC_LIST 1040
#define IDC_SORTED_LIST 1041
#define IDC_SLIDER_V 1042
#define IDC_SLIDER_H 1043

#define IDI_PICTURE 300

#define IDR_MENU 400
#define IDM_FIRST 401
#define IDM_SECOND 402

#define IDS_GREETING 10
#define IDS_SECOND 11
