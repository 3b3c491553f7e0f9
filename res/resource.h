// Resource ids of the KORVEN Control Panel, shared by res/korven.rc and the C++ code.
// Plain macros only: windres reads this file through the C preprocessor.
#ifndef KORVEN_RES_RESOURCE_H
#define KORVEN_RES_RESOURCE_H

// String table
#define IDS_TRAY_TIP                    1
#define IDS_SETTINGS_KEY                2
#define IDS_TRANSPORT_ERROR             3
#define IDS_IOCONTROL_ERROR             4
#define IDS_WARNING_51_SOURCE           5
#define IDS_DRIVER_MISSING              6
#define IDS_CAPTION_WARNING             7
#define IDS_CAPTION_ERROR               8
#define IDS_ALREADY_RUNNING             9
#define IDS_SOURCE_2CH                  10
#define IDS_SOURCE_51CH                 11
// Texts of the negative error codes: the id is the code's low 16 bits.
#define IDS_ERROR_REBOOT                65334
#define IDS_ERROR_NOT_PLUGGED           65335
#define IDS_ERROR_NOT_INSTALLED         65336
#define IDS_ERROR_HID_DLL_MISSING       65435
#define IDS_ERROR_DLL_MISSING           65436
#define IDS_ERROR_UNKNOWN               65535

// Dialogs
#define IDD_CONTROL_PANEL               102
#define IDD_FILTER                      150
#define IDD_SPEAKER_TEST                151
#define IDD_REMOTE_CTRL                 154
#define IDD_INFORMATION                 176
#define IDD_VOLUME                      213
#define IDD_ABOUT                       224

// Menus
#define IDR_MENU_CLOSED                 139
#define IDR_MENU_NODEVICE               146
#define IDR_MENU_OPEN                   222

// Icons
#define IDI_TRAY_CLOSED                 130
#define IDI_TRAY_NODEVICE               131
#define IDI_TRAY_OPEN                   186
#define IDI_ABOUT                       203
#define IDI_LOGO                        242

// Bitmaps. The TEST button's images are named resources: "TESTU", "TESTD", "TESTX".
#define IDB_PAD                         187
#define IDB_LF_IDLE                     190
#define IDB_LF_LIT                      191
#define IDB_CTR_LIT                     192
#define IDB_CTR_IDLE                    193
#define IDB_RF_LIT                      194
#define IDB_RF_IDLE                     195
#define IDB_RS_LIT                      196
#define IDB_RS_IDLE                     197
#define IDB_LS_LIT                      198
#define IDB_LS_IDLE                     199
#define IDB_LFE_LIT                     200
#define IDB_LFE_IDLE                    201
#define IDB_LISTENER                    1019

// Waves (resource type "WAVE")
#define IDR_WAVE_LF                     177
#define IDR_WAVE_RS                     178
#define IDR_WAVE_LS                     179
#define IDR_WAVE_RF                     180
#define IDR_WAVE_CTR                    181
#define IDR_WAVE_LFE                    182
#define IDR_WAVE_ROTATION               209
#define IDR_WAVE_SILENCE                215

// Initial control data of a dialog, stored under the dialog's id.
#define KORVEN_RT_DLGINIT               240
// Message number of a combo box string in that data.
#define KORVEN_DLGINIT_CB_ADDSTRING     0x0403

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

// Control Panel window (102)
#define IDC_CLOSE                       1002
#define IDC_SHEET_FRAME                 1008
#define IDC_LOGO                        1068

// Filter page (150)
#define IDC_BASS_300                    1007
#define IDC_BASS_120                    1010
#define IDC_SPEAKERS_21                 1011
#define IDC_SPEAKERS_51                 1012
#define IDC_BASS_450                    1013
#define IDC_ENABLE_FILTER               1048
#define IDC_BASS_GROUP                  1072
#define IDC_SOURCE_TEXT                 1073

// Speaker Test dialog (151)
#define IDC_PAD                         1009
#define IDC_TEST                        1022
#define IDC_MODE_AUTO                   1040
#define IDC_MODE_MANUAL                 1041
#define IDC_MODE_SURROUND               1042
#define IDC_PICTURE_LF                  1051
#define IDC_PICTURE_CTR                 1052
#define IDC_PICTURE_RF                  1053
#define IDC_PICTURE_LS                  1054
#define IDC_PICTURE_LFE                 1055
#define IDC_PICTURE_RS                  1056
#define IDC_PICTURE_LISTENER            1057
#define IDC_SPEAKER_GROUP               1067
#define IDC_EXIT                        1076

// Remote Controller page (154)
#define IDC_PLAYER_WINDVD               1027
#define IDC_PLAYER_POWERDVD             1028
#define IDC_PLAYER_WINAMP               1029
#define IDC_PLAYER_MEDIAPLAYER          1030
#define IDC_POWER_KEY_LIST              1061
#define IDC_PLAYER_WINRIP               1064

// Volume page (213)
#define IDC_SLIDER_RL                   1014
#define IDC_SLIDER_LFE                  1015
#define IDC_SLIDER_MASTER               1016
#define IDC_SLIDER_RR                   1017
#define IDC_SLIDER_L                    1018
#define IDC_SLIDER_R                    1020
#define IDC_SLIDER_C                    1070
#define IDC_RESET_RR                    1075
#define IDC_RESET_RL                    1076
#define IDC_RESET_C                     1077
#define IDC_RESET_LFE                   1078
#define IDC_RESET_R                     1079
#define IDC_RESET_L                     1080

// Tray menu commands
#define ID_TRAY_EXIT                    32771
#define ID_TRAY_OPEN_SETTING            32774
#define ID_TRAY_TEST_SPEAKER            32775
#define ID_TRAY_ABOUT                   32776
#define ID_TRAY_CLOSE_SETTING           32777

// Window timers
#define IDT_SOURCE_POLL                 32769
#define IDT_ROTATION                    32772
#define IDT_AUTO_SEQUENCE               32774
#define IDT_SOURCE_DISPLAY              32784

// Private window messages of the Control Panel window
#define WM_TRAY_NOTIFY                  0x040A
#define WM_REMOTE_PAGE                  0x040B

#endif
