// Resource ids of the Open and Save As dialogs: their child templates, the
// controls in them, and the controls the older Open dialog adds itself.
#pragma once

// The system dialog's placeholder for its own controls in a child template.
#define IDC_FILE_DIALOG_PLACEHOLDER 1119
// The system dialog's file list (both styles) and its file type list.
#define IDC_FILE_DIALOG_LIST 1120
#define IDC_FILE_DIALOG_TYPE_LIST 1136

// The explorer-style Open dialog's child template.
#define IDD_FILE_OPEN_PREVIEW 1150
#define IDC_OPEN_PREVIEW_CHECK 1128
#define IDC_OPEN_PREVIEW_PANE 1129
#define IDC_OPEN_IMAGE_SIZE 1130
#define IDC_OPEN_PATH_LINE 1131

// The controls the older Open dialog creates.
#define IDC_OLD_OPEN_IMAGE_SIZE 101
#define IDC_OLD_OPEN_PREVIEW_PANE 102
#define IDC_OLD_OPEN_PREVIEW_CHECK 104

// The Save As dialog's child template.
#define IDD_FILE_SAVE_OPTIONS 221
#define IDC_SAVE_REDUCE_COLORS 1168

#define IDS_UNRECOGNIZED_FORMAT 32961   // "Unrecognized format."
