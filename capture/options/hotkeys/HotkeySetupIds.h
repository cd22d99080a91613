// Resource ids of the Hotkey Setup dialog and its messages.
#pragma once

#define IDD_HOTKEY_SETUP 1121
// Key caps: control id 100 + key index (0 to 100).
#define IDC_KEY_CAP_FIRST 100
#define IDC_KEY_CAP_LAST 200
// The "Capture Type" radio group; its index is the hot-key row.
#define IDC_HOTKEY_SCREEN 1835
#define IDC_HOTKEY_POINTER 1840
#define IDC_HOTKEY_BUTTON 1841
#define IDC_HOTKEY_COMMAND_BAR 1375
#define IDC_HOTKEY_DEFAULT 1843
#define IDC_HOTKEY_HELP 1844

#define IDS_F1_IS_HELP 33023
#define IDS_SHIFT_WITH_KEYPAD 33024
#define IDS_TITLEMENU_MENU_KEYS 33025
#define IDS_IDENTICAL_HOTKEYS 33026
// 33027 to 33047: the pairs of rows, in the order the check compares them.
#define IDS_IDENTICAL_PAIR_FIRST 33027
