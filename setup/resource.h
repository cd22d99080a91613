// Resource ids of the installer (resources/setup.rc).
#pragma once

#define IDR_SETUP_ICON 128
#define IDB_BACKGROUND 100
#define IDB_FINISH 142

// Wizard pages.
#define IDD_FOLDER_PATH 129
#define IDD_FINISH 131
#define IDD_EXIT 132
#define IDD_COPY_FILE 138
#define IDD_UNINSTALL 143
#define IDD_RESTART 144

// Controls of the pages.
#define IDC_INSTALL_FOLDER 1006
#define IDC_PICTURE_FRAME 1012
#define IDC_HEADING 1013
#define IDC_FINISH_FRAME 1014
#define IDC_FINISH_HEADING 1015
#define IDC_EXIT_HEADING 1019
#define IDC_REQUIRED_SPACE 1020
#define IDC_USER_NAME 1023
#define IDC_ORGANIZATION 1027
#define IDC_COPY_PROGRESS 1028
#define IDC_FOLDER_HEADING 1030
#define IDC_SHOWN_ORGANIZATION 1032
#define IDC_CURRENT_FILE 1033
#define IDC_SHOWN_FOLDER 1039
#define IDC_SHOWN_USER_NAME 1046

// The wizard's own buttons.
#define IDC_WIZARD_BACK 0x3023
#define IDC_WIZARD_NEXT 0x3024

// Texts (the string table); "%1" stands for the drive, folder, file or
// number the text is about.
#define IDS_FOLDER_NOT_MADE 200
#define IDS_USER_NAME_REQUIRED 201
#define IDS_NO_FOLDER_NAME 202
#define IDS_FOLDER_TOO_LONG 203
#define IDS_NO_SUCH_DRIVE 204
#define IDS_READ_ONLY_DRIVE 205
#define IDS_NO_PARENT_FOLDER 206
#define IDS_NOT_A_FOLDER 207
#define IDS_FOLDER_DENIED 208
#define IDS_FILE_IN_USE 209
