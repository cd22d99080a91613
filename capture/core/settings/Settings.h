// The capture program's options: globals loaded from and saved to
// "Kaptura99.ini", one comma-separated integer list per key.
//
// The arrays hold the values of their key in stored order; the enums below
// name the positions (value 1 of a key is index 0). Option dialogs copy these
// globals into their controls and back, then write their own key with the
// matching Write...Settings routine; the capture code reads them directly.
#pragma once

#include "../../../framework/kernel/KernelApi.h"
#include "../../../framework/kernel/ProfileNumber.h"

// ---- The file and its section -------------------------------------------

enum { kSettingsPathSize = 260, kSettingsTitleSize = 12, kSettingsValueSize = 260 };

// Section name: the application title, at most 11 characters.
extern char ApplicationTitle[kSettingsTitleSize];
// Full path of "Kaptura99.ini", and the program's folder without a trailing
// backslash; both set by SetSettingsPaths.
extern char SettingsPath[kSettingsPathSize];
extern char ProgramFolder[kSettingsPathSize];

// Fills ApplicationTitle: from string 0xE000 of the running program on
// Windows, "Kaptura 99" when that string is missing (and always natively).
void LoadApplicationTitle();
// Program folder = modulePath up to its last backslash; SettingsPath = that
// folder + "\Kaptura99.ini". Paths too long for the buffers are cut.
void SetSettingsPaths(const char* modulePath);

// ---- Parsing ------------------------------------------------------------

// Splits text at commas into its non-empty tokens and fills values[0..count)
// with them; values without a token keep their defaults. Returns how many
// tokens were read (at most count).
int ParseValueList(const char* text, int* values, const int* defaults, int count);
// Reads key into a 260-byte buffer and parses it as above; an absent or empty
// key gives the defaults.
int ReadValueList(const char* key, int* values, const int* defaults, int count);
// Writes values as "v1,v2,...".
void WriteValueList(const char* key, const int* values, int count);

// ---- Keys and their values ----------------------------------------------

enum SendtoPageValue {
    kSendtoFirstPage, kSendtoWindow, kSendtoClipboard, kSendtoPrinter, kSendtoFile,
    kSendtoFileNaming, kSendtoPrintDialog, kSendtoMarginX, kSendtoMarginY, kSendtoPageCount
};
enum CapturePageValue {
    kCaptureHidePointer, kCaptureAddFrame, kCaptureRaiseMainWindow, kCaptureShowInfo,
    kCaptureColorOption, kCapturePageCount
};
enum ScreenPageValue {
    kScreenLeft, kScreenTop, kScreenRight, kScreenBottom, kScreenCountdown,
    kScreenCountdownSeconds, kScreenPageCount
};
enum WindowPageValue {
    kWindowSelectWithMouse, kWindowFrame, kWindowWorkspace, kWindowWithCurrent,
    kWindowEraseBackground, kWindowCountdown, kWindowCountdownSeconds, kWindowPageCount
};
enum RegionPageValue { kRegionInvert, kRegionShowSize, kRegionPenColor, kRegionPageCount };
enum FreehandPageValue { kFreehandBorder, kFreehandInvertPen, kFreehandPenColor, kFreehandPageCount };
enum TitleMenuPageValue {
    kTitleMenuTitleBar, kTitleMenuMenuBar, kTitleMenuPulldown, kTitleMenuCascading,
    kTitleMenuEraseBackground, kTitleMenuPageCount
};
enum ButtonPageValue { kButtonAddFrame, kButtonPageCount };
enum CommandBarPageValue {
    kCommandBarBar, kCommandBarDropdowns, kCommandBarPointer, kCommandBarPageCount
};
enum NotifyPageValue { kNotifySound, kNotifyFlash, kNotifyPageCount };
enum FormatValue {
    kFormatOpenFilter, kFormatSaveAs, kFormatCaptureFile, kFormatOpenPreview,
    kFormatReduceOnSave, kFormatCount
};
enum FrameValue { kFrameWidth, kFrameMatWidth, kFrameColor, kFrameMatColor, kFrameCount };
enum ClockValue {
    kClockTime, kClockDate, kClockHideInCapture, kClockHourFormat, kClockSeconds, kClockAmPm,
    kClockUpperCase, kClockDateOrder, kClockSeparator, kClockCentury, kClockColor, kClockCount
};
enum SnapshotButtonValue {
    kSnapScreen, kSnapWindow, kSnapRegion, kSnapFreehand, kSnapButton, kSnapCommandBar,
    kSnapHideInCapture, kSnapshotButtonCount
};
enum RunModeValue {
    kRunStartWithWindows, kRunMinimised, kRunLogo, kRunShowMainWindow, kRunTrayIcon,
    kRunDesktopKaptura, kRunDesktopBrowser, kRunDesktopConverter, kRunSmoothScaling,
    kRunModeCount
};
enum SessionValue {
    kSessionKept1, kSessionKept2, kSessionExplorerShown, kSessionExplorerWidth,
    kSessionMergeBorder, kSessionInvertSelection, kSessionViewBackground,
    kSessionMergeBackground, kSessionCount
};

// Hot-key rows: 1 screen, 2 window, 3 region, 4 title and menu, 5 freehand,
// 6 pointer, 7 button, 8 command bar. Modifier states per row in the order
// Esc, Shift, Ctrl, Alt: -1 = must be held, 0 = must not be held.
enum { kHotkeyRowCount = 8, kHotkeyModifierCount = 4, kHotkeyTableSize = 101 };
enum HotkeyModifier { kModifierEsc, kModifierShift, kModifierCtrl, kModifierAlt };

extern int SendtoPage[kSendtoPageCount];
extern int CapturePage[kCapturePageCount];
extern int ScreenPage[kScreenPageCount];
extern int WindowPage[kWindowPageCount];
extern int RegionPage[kRegionPageCount];
extern int FreehandPage[kFreehandPageCount];
extern int TitleMenuPage[kTitleMenuPageCount];
extern int ButtonPage[kButtonPageCount];
extern int CommandBarPage[kCommandBarPageCount];
extern int NotifyPage[kNotifyPageCount];
extern BYTE BlackWhite[16];            // 1: that standard colour becomes white
extern int Format[kFormatCount];
extern int Frame[kFrameCount];
extern int Clock[kClockCount];
extern int SystemKey[kHotkeyRowCount][kHotkeyModifierCount];
extern int NormalKey[kHotkeyRowCount];  // index into the hot-key key table
extern int SnapshotButton[kSnapshotButtonCount];
extern COLORREF ButtonColors;           // 0: the system button-face colour
extern int RunMode[kRunModeCount];
extern int Session[kSessionCount];

extern char FileNameOpen[kSettingsPathSize];
extern char PathNameOpen[kSettingsPathSize];
extern char FileNameSave[kSettingsPathSize];
extern char FileNameDirect[kSettingsPathSize];

// ---- Screen metrics -------------------------------------------------------

extern DWORD WindowsVersion;      // GetVersion()
extern int ScreenWidth;
extern int ScreenHeight;
extern int ScreenPlanes;
extern int ScreenBitsPerPixel;
extern int ScreenDepth;           // planes x bits per pixel
// 1 << ScreenDepth, held at 1 << 24 for deeper screens (a 32-bit screen
// shows no more colours than a 24-bit one, and 1 << 32 does not fit).
extern int ScreenColorCount;
extern int CaptionHeight;         // SM_CYCAPTION
extern int ClockFontHeight;       // 11 for captions below 21 pixels, else 19
extern const int ClockFontWeight; // 700
extern const char ClockFontFace[]; // "MS Sans Serif"
extern int SnapshotButtonWidth;   // caption height - 3
extern int SnapshotButtonHeight;  // caption height - 5

// ---- Run-time flags cleared by LoadAllSettings ----------------------------

extern int PreviewLoaded;         // the Open dialog's preview left its file in the work image
extern int DecorationsSuspended;  // the timer draws neither clock nor snapshot strip
extern int CaptureRunning;        // CaptureNow is running

// ---- Loaders and writers --------------------------------------------------

void LoadScreenMetrics();
void LoadAllSettings();
void LoadCapturePageSettings();
void LoadBlackWhiteSettings();
void LoadFileNameSettings();
void LoadFrameSettings();
void LoadFormatSettings();
void LoadHotkeySettings();
void LoadClockSettings();
// Derives the two button sizes, reads SnapshotButton and ButtonColors, then
// rebuilds the strip through SnapshotStripRebuilder when one is set (which
// also empties the strip rectangle, for the hook library too).
void LoadSnapshotButtonSettings();
// Reads RunMode, brings the shortcuts in line through ShortcutUpdater when
// one is set, then reads Session.
void LoadRunModeAndSession();
// RunMode, Session, Format, then PathNameOpen, FileNameSave, FileNameDirect,
// FileNameOpen.
void SaveSessionSettings();

// The keys written by the option dialogs, in the stored format.
void WriteCapturePageSettings();   // SendtoPage to NotifyPage
void WriteBlackWhiteSettings();
void WriteFrameSettings();
void WriteFormatSettings();
void WriteClockSettings();
void WriteHotkeySettings();        // NormalKey, SystemKey1 to SystemKey8
void WriteSnapshotButtonSettings(); // SnapshotButton, ButtonColors
void WriteRunModeSettings();
void WriteSessionValues();

// The folder-tree bar's remembered file (DlgBarFileName).
void ReadExplorerSelectionName(char* path, int size);
void WriteExplorerSelectionName(const char* path);

// Set by the parts that own the snapshot strip and the shortcuts.
extern void (*SnapshotStripRebuilder)();
extern int (*ShortcutUpdater)(int startUp, int desktopKaptura, int desktopBrowser, int desktopConverter);
