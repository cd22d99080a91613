// Resource ids of the batch converter Morfix99.exe.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDR_MAINFRAME 128
#define IDR_CONVERT_CLIP 142
#define IDD_CONVERT 198
#define IDB_FOLDER_IMAGES 61

// Controls of the main dialog.
#define IDC_CONVERT_ANIMATION 1000
#define IDC_STOP 1001
#define IDC_OUTPUT_COUNT 1002
#define IDC_DETAILS_LIST 1003
#define IDC_DETAILS 1004
#define IDC_HELP_BUTTON 1005
#define IDC_INPUT_TREE 1151
#define IDC_INPUT_LIST 1152
#define IDC_OUTPUT_TREE 1153
#define IDC_INPUT_FORMAT 1154
#define IDC_OUTPUT_FORMAT 1155
#define IDC_SELECT_ALL 1156
#define IDC_INPUT_COUNTS 1157
#define IDC_OUTPUT_LIST 1160

// The system-menu command of the about box.
#define IDM_ABOUTBOX 0x0010
