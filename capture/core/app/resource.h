// Resource ids of the capture program Kaptura99.
//
// Commands, menus, toolbar buttons and accelerators share one id space: the
// framework's standard ids (FrameworkIds.h) for Open, Save As, Print, Exit and
// the like, and the program's own commands from 32771 up. A command's string
// of the same id is its status-bar prompt, then "\n" and its tooltip. String
// ids 32899 to 32925 are image status and caption ids, 32940 and up messages.
#pragma once

#include "../../../framework/FrameworkIds.h"

// Resources that share the frame's id: menu, accelerators, icon, title string.
#define IDR_MAINFRAME 2
// The image document template: menu, icon and the template string.
#define IDR_IMAGE_DOC 3
// The notification-area pop-up menu.
#define IDR_TRAY_MENU 4
// The toolbar: a bitmap of 16 x 15 glyphs and its button list.
#define IDR_MAIN_TOOLBAR 136

// Toolbar button lists: custom resource type 241. Layout (16-bit words):
// version 1, glyph width, glyph height, item count, then the item command ids
// (0 = separator).
#ifndef RT_TOOLBAR
#define RT_TOOLBAR 241
#endif

// Bitmaps.
#define IDB_EXPLORER_IMAGES 61 // folder-tree images, 16 x 16 each, white mask

// Dialogs and their controls.
#define IDD_NOTEPAD_FORM 101
#define IDC_NOTE_EDIT 1127
#define IDD_EXPLORER_BAR 1097
#define IDC_EXPLORER_TREE 105
#define IDD_SPLASH 1100
#define IDD_MERGE_PROGRESS 1104
#define IDC_MERGE_TEXT 1700
#define IDD_SCALE 1105
#define IDC_SCALE_PIXELS 1483
#define IDC_SCALE_PERCENT 1484
#define IDC_SCALE_WIDTH 1485
#define IDC_SCALE_HEIGHT 1486
#define IDC_SCALE_WIDTH_SPIN 1350
#define IDC_SCALE_HEIGHT_SPIN 1351
#define IDC_SCALE_SMOOTH 1167
#define IDD_CHECK_COLOR 1106
#define IDC_CHECK_COLOR_SWATCH 1701
#define IDC_CHECK_COLOR_RED 1702
#define IDC_CHECK_COLOR_GREEN 1703
#define IDC_CHECK_COLOR_BLUE 1704
#define IDC_CHECK_COLOR_CHANGE 1705
// Control bar id of the folder-tree bar inside the main frame.
#define IDW_EXPLORER_BAR 59394

// Cursors.
#define IDC_CURSOR_PICK_COLOR 91   // Check & Change Colors
#define IDC_CURSOR_PICK_BUTTON 92  // button picked with the mouse (type 10)
#define IDC_CURSOR_REGION 93       // rubber-band region (type 5)
#define IDC_CURSOR_DRAG_IMAGE 94   // dragging an image over an image window
#define IDC_CURSOR_NO_DROP 95      // dragging an image where it cannot land
#define IDC_CURSOR_MOVE_IMAGE 96   // moving an image of a merging document
#define IDC_CURSOR_FREEHAND 97     // freehand outline (type 7)
#define IDC_CURSOR_PICK_WINDOW 98  // window picked with the mouse (type 4)
#define IDC_CURSOR_DROP_TREE 197   // dragging an image over the folder tree
#define IDC_CURSOR_PICK_BAR 233    // command bar picked with the mouse (type 12)

// Capture sounds 1 to 4 (NotifyPage value 1): resources of type "WAVE",
// played with PlaySound from the program's module.
#define IDR_WAVE_CAPTURE1 201
#define IDR_WAVE_CAPTURE2 202
#define IDR_WAVE_CAPTURE3 203
#define IDR_WAVE_CAPTURE4 204

// The program's own commands.
#define ID_FILE_SAVE_ALL 32771
#define ID_FILE_PIXORAMA 32772
#define ID_FILE_BATCH_CONVERSION 32773
#define ID_FILE_OPEN_NOTE_TEXT 32774
#define ID_FILE_SAVE_NOTE_TEXT 32775
#define ID_FILE_PRINT_ALL 32776
#define ID_FILE_PRINT_ALL_ONE_PAGE 32777
#define ID_EDIT_COPY_IMAGE 32778
#define ID_EDIT_PASTE_IMAGE 32779
#define ID_EDIT_COPY_TEXT 32780
#define ID_EDIT_PASTE_TEXT 32781
#define ID_EDIT_DELETE_IMAGE 32782
#define ID_EDIT_IMAGE_INFO 32783
#define ID_VIEW_KAPTURA_EXPLORER 32784
#define ID_VIEW_NOTEPAD 32785
#define ID_VIEW_FULL_SCREEN 32786
#define ID_VIEW_BACKGROUND 32787
#define ID_TOOL_FRAME 32788
#define ID_TOOL_ZOOM_IN 32789
#define ID_TOOL_ZOOM_OUT 32790
#define ID_TOOL_SCALE 32791
#define ID_TOOL_FLIP_HORIZONTAL 32792
#define ID_TOOL_FLIP_VERTICAL 32793
#define ID_TOOL_ROTATE_LEFT 32794
#define ID_TOOL_ROTATE_RIGHT 32795
#define ID_TOOL_MERGE_IMAGES 32796
#define ID_TOOL_SHOW_BORDER 32797
#define ID_TOOL_MERGE_BACKGROUND 32798
#define ID_COLOR_BLACK_WHITE 32799
#define ID_COLOR_GRAYSCALE 32800
#define ID_COLOR_INVERT 32801
#define ID_COLOR_COUNT_COLORS 32802
#define ID_COLOR_CHECK_CHANGE 32803
#define ID_COLOR_REDUCE 32804
#define ID_CROP_SELECT_IMAGE 32805
#define ID_CROP_INVERT_SELECTION 32806
#define ID_CROP_RESET_LINES 32807
#define ID_CROP_CROP 32808
#define ID_CROP_ERASE 32809
#define ID_OPTIONS_KAPTURA_SETUP 32810
#define ID_OPTIONS_CAPTURE_SETUP 32811
#define ID_OPTIONS_CLOCK 32812
#define ID_OPTIONS_SNAPSHOT_BUTTONS 32813
#define ID_OPTIONS_HOTKEY_SETUP 32814
#define ID_OPTIONS_MASTER_RESET 32815
#define ID_OPTIONS_LOAD_SETTINGS 32816
#define ID_OPTIONS_SAVE_SETTINGS 32817
#define ID_WINDOW_CLOSE_ALL 32819
#define ID_HELP_USERS_GUIDE 32820
#define ID_TRAY_OPEN 32825
#define ID_TRAY_HIDE 32826
#define ID_TRAY_REMOVE_ICON 32827

// Status-bar panes and their initial texts (the texts set the widths).
#define ID_INDICATOR_IMAGE_SIZE 2000
#define ID_INDICATOR_IMAGE_DEPTH 2001
#define ID_INDICATOR_IMAGE_TIME 2002
#define ID_INDICATOR_DOC_COUNT 2003

// File dialog filters ("|" separates the fields).
#define IDS_OPEN_FILTER_FIRST 1908  // the Open dialogs: 1908 then 1909
#define IDS_OPEN_FILTER_SECOND 1909
#define IDS_SAVE_FILTER 1910        // Save As: entry n is export format n
#define IDS_INI_FILTER 1911
#define IDS_TXT_FILTER 1912

// Image status ids (an image's status field) and document captions.
#define IDS_STATUS_FILE 32899       // the image is a file; its name is the path
#define IDS_CAPTION_CLIPBOARD 32900
#define IDS_CAPTION_FRAME 32901
#define IDS_CAPTION_ZOOM_IN 32902
#define IDS_CAPTION_ZOOM_OUT 32903
#define IDS_CAPTION_FLIP_HORIZONTAL 32904
#define IDS_CAPTION_FLIP_VERTICAL 32905
#define IDS_CAPTION_ROTATE_LEFT 32906
#define IDS_CAPTION_ROTATE_RIGHT 32907
#define IDS_CAPTION_SCALE 32908
#define IDS_CAPTION_BLACK_WHITE 32909
#define IDS_CAPTION_GRAYSCALE 32910
#define IDS_CAPTION_INVERT 32911
#define IDS_CAPTION_CHANGE_COLOR 32912
#define IDS_CAPTION_REDUCE_COLORS 32913
#define IDS_CAPTION_MERGED 32914
#define IDS_CAPTION_MERGING 32915   // followed by the image count
#define IDS_CAPTION_CROP 32916
#define IDS_CAPTION_ERASE 32917
#define IDS_CAPTION_SCREEN 32918
#define IDS_CAPTION_WINDOW 32919
#define IDS_CAPTION_REGION 32920
#define IDS_CAPTION_MENU 32921
#define IDS_CAPTION_FREEHAND 32922
#define IDS_CAPTION_POINTER 32923
#define IDS_CAPTION_BUTTON 32924
#define IDS_CAPTION_COMMAND_BAR 32925
// Status of an image whose name the capture's file destination set.
#define IDS_STATUS_SAVED_CAPTURE ID_FILE_SAVE_AS

// Messages.
#define IDS_ASK_MASTER_RESET 32940
#define IDS_RUNS_IN_BACKGROUND 32941
#define IDS_ASK_CLOSE_ALL 32942
#define IDS_INSUFFICIENT_MEMORY 32965
#define IDS_CANNOT_OPEN_CLIPBOARD 32967
#define IDS_NO_BITMAP_IN_CLIPBOARD 32968
#define IDS_NO_COLOR_CHANGE 32969
#define IDS_MORE_THAN_16_COLORS 32970
#define IDS_MORE_THAN_256_COLORS 32971
#define IDS_NO_MENU_FOUND 32973
#define IDS_SCANNING_IMAGES 33020
#define IDS_MERGING_IMAGES 33021
#define IDS_TOTAL_COLORS 33022      // followed by the count
#define IDS_ASK_REPLACE_FILE 33051  // follows the path
#define IDS_IMAGE_NOT_SAVED 33052
#define IDS_UNSAVED_IMAGE 33053     // name and title of a deleted image file
#define IDS_SPLASH_TITLE 33054
#define IDS_SPLASH_LINE 33055
#define IDS_SELECT_ONE_CAPTURE_OPTION 33056
#define IDS_ASK_REMOVE_FILE 33057   // "%s": the file's path
#define IDS_FILE_NOT_REMOVED 33058  // "%s": the file's path; the system's reason follows
#define IDS_NOTE_NOT_WRITTEN 33059  // "%s": the note file's path
#define IDS_CLOSE_DIALOG_FIRST 33060
