// Resource ids of the capture program's small dialogs (Black and White,
// Frame, Kaptura Setup, Image Info, About) and of what they show.
#pragma once

// Black and White: row i (0-15) has the swatch 100 + i and the radio pair
// Black 1863 + 2i / White 1864 + 2i.
#define IDD_BLACK_WHITE 1124
#define IDC_BW_SWATCH_FIRST 100
#define IDC_BW_BLACK_FIRST 1863
#define IDC_BW_DEFAULT 1895

#define IDD_FRAME 1125
#define IDC_FRAME_SWATCH 1690
#define IDC_FRAME_MAT_SWATCH 1691
#define IDC_FRAME_WIDTH 1692
#define IDC_FRAME_MAT_WIDTH 1693
#define IDC_FRAME_WIDTH_SPIN 1350
#define IDC_FRAME_MAT_WIDTH_SPIN 1351
#define IDC_FRAME_SET_COLOR 1688
#define IDC_FRAME_SET_MAT_COLOR 1689

#define IDD_KAPTURA_SETUP 1119
#define IDC_SETUP_START_WITH_WINDOWS 1151
#define IDC_SETUP_LOAD_MINIMIZED 1152
#define IDC_SETUP_LOGO 1153
#define IDC_SETUP_TRAY_ICON 1154
#define IDC_SETUP_BACKGROUND 1155
#define IDC_SETUP_FOREGROUND 1156
#define IDC_SETUP_KAPTURA_ICON 1157
#define IDC_SETUP_PIXORAMA_ICON 1158
#define IDC_SETUP_MORFIX_ICON 1159
#define IDC_SETUP_DESKTOP_KAPTURA 1160
#define IDC_SETUP_DESKTOP_PIXORAMA 1161
#define IDC_SETUP_DESKTOP_MORFIX 1162
#define IDC_SETUP_PICTURE 1163
#define IDC_SETUP_DESKTOP_BOX 1164
#define IDC_SETUP_SMALL_DESKTOP_BOX 1165
#define IDC_SETUP_HELP 1166

#define IDD_IMAGE_INFO 1103
#define IDC_INFO_FILENAME 1854
#define IDC_INFO_WIDTH 1855
#define IDC_INFO_HEIGHT 1856
#define IDC_INFO_BITS 1857
#define IDC_INFO_COLORS 1858
#define IDC_INFO_MEMORY 1859
#define IDC_INFO_LAST_CHANGE 1860
#define IDC_INFO_TIME 1861
#define IDC_INFO_DATE 1862

#define IDD_ABOUT 1126
#define IDC_ABOUT_RESOLUTION 1905
#define IDC_ABOUT_DRIVER 1906
#define IDC_ABOUT_COLOR_MODE 1907

// Pictures: the About box's logo, the Setup picture without and with the
// notification-area icon, the icons of the image browser and the batch
// converter.
#define IDB_ABOUT_LOGO 41
#define IDB_SETUP_NO_TRAY 213
#define IDB_SETUP_TRAY 214
#define IDI_PIXORAMA 211
#define IDI_MORFIX 212
