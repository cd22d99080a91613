// The window-free half of the capture dispatch: hot-key decoding, the request
// guard, the countdown, the progress percent and the table of capture types.
// The main frame owns the windows and calls these to decide what to do.
#pragma once

#include <cstdint>

#include "Settings.h"

// Capture types: the wParam of a capture request.
enum CaptureType {
    kCaptureScreenDelayed = 1,
    kCaptureScreen = 2,
    kCaptureWindowDelayed = 3,
    kCaptureWindow = 4,
    kCaptureRegion = 5,
    kCaptureTitleMenu = 6,
    kCaptureFreehand = 7,
    kCapturePointer = 8,
    kCaptureButton = 9,
    kCaptureButtonPicked = 10,
    kCaptureCommandBar = 11,
    kCaptureCommandBarPicked = 12,
    kCaptureStripReleased = 13,
    kCaptureStripPressed = 14,
    kCaptureMenuNotice = 15,
    kCaptureHideProgram = 16,
    kCaptureShowProgram = 17,
    kCaptureHelp = 256
};

// Caption string ids: the work image's status before a capture, which
// later titles its window.
enum CaptureCaption {
    kCaptionScreen = 32918,
    kCaptionWindow = 32919,
    kCaptionRegion = 32920,
    kCaptionMenu = 32921,
    kCaptionFreehand = 32922,
    kCaptionPointer = 32923,
    kCaptionButton = 32924,
    kCaptionCommandBar = 32925
};

// ---- Hot keys -------------------------------------------------------------

// The request type of a hot key from the hook library (virtual key in the
// low word; bits 28, 24, 20, 16 clear while Esc, Shift, Ctrl, Alt are held),
// matched against the eight rows given; 0 when nothing matches.
int DecodeHotkey(uint32_t keyAndBits, const int systemKeys[kHotkeyRowCount][kHotkeyModifierCount],
                 const int normalKeys[kHotkeyRowCount]);
// The same against the rows of the settings.
int DecodeHotkey(uint32_t keyAndBits);

// ---- The type table -------------------------------------------------------

// What the dispatch does with a request, once past the guard.
enum DispatchAction {
    kActionIgnore,            // no such type
    kActionRequestNow,        // send the follow-up request at once
    kActionStartCountdown,    // count down, then send the follow-up request
    kActionCaptureNow,        // CaptureNow on the capture rectangle
    kActionMouseSelection,    // freeze the screen, let the user click
    kActionForegroundWindow,  // CaptureForegroundWindow
    kActionTitleAndMenu,      // CaptureTitleAndMenu
    kActionButtonAtCursor,    // CaptureButton
    kActionCommandBarAtCursor,// CaptureCommandBar
    kActionStripReleased,
    kActionStripPressed,
    kActionHideProgram,
    kActionShowProgram,
    kActionHelp
};

struct DispatchPlan {
    DispatchAction action;
    int captureType;          // the type the engine sees (2 for 1, 4 for 3)
    int captionId;            // 0: the status is left alone
    int countdownSeconds;     // for kActionStartCountdown
    bool suspendDecorations;  // clock and strip stay off until the capture ends
    bool redrawDecorations;   // wipe them from the start window's caption
    bool screenRectangle;     // capture rectangle = the ScreenPage values
    bool refusedOverOwnMenu;  // ignored when the main frame is in front with a menu below
};

// The plan for one request type under the current settings.
DispatchPlan PlanDispatch(int type);

// The caption id a capture type gives its image (0 for the others).
int CaptureCaptionId(int type);
// The cursor resource shown while a mouse selection of that type is pending
// (0 for types without a mouse selection).
int SelectionCursorId(int type);

// ---- The guard ------------------------------------------------------------

// Requests are dropped while any of these is set.
struct RequestGuard {
    bool captureRunning;
    bool countdownActive;
    bool modalBusy;
    // A mouse selection is being finished: it pumps messages before the
    // engine marks the capture as running, and a request let in then would
    // start a second capture inside the first.
    bool finishingSelection;

    bool Allows() const { return !captureRunning && !countdownActive && !modalBusy && !finishingSelection; }
};

// ---- The snapshot strip's press -----------------------------------------------

// Ends a strip press (type 14): by its release (type 13, released true) or
// without it (the guard dropped the release, or another request came
// first). The press is forgotten. Returns the type to request: the pressed
// slot's type (slotType, 0 when the slot gives none) on the release of a
// press, else 0; a release whose press was dropped or is over requests
// nothing.
// Unless a capture follows, the decorations the press suspended come back,
// except while held (a capture, a countdown or a mouse selection keeps them
// off).
int EndStripPress(bool& pressed, bool released, int slotType, bool held, int& decorationsSuspended);

// ---- Countdown ------------------------------------------------------------

// The delayed capture, advanced by the 100 ms timer: a beep each second, the
// last one just before the request; 0 seconds requests at the first tick.
class CaptureCountdown {
public:
    struct Tick {
        bool beep;
        bool request;   // send the stored type now; the countdown has ended
        int type;
    };
    void Start(int seconds, int type);
    Tick Advance();
    bool Active() const { return active; }
    int Seconds() const { return seconds; }
    void Cancel() { active = false; }

private:
    bool active = false;
    int seconds = 0;
    int ticks = 0;
    int type = 0;
};

// ---- Progress ---------------------------------------------------------------

// Turns (row done, row count) into a percent, and says when it needs drawing.
class ProgressMeter {
public:
    // The percent of row done (0-based) out of count, 0..100.
    static int Percent(long rowDone, long rowCount);
    // True when percent differs from the last one drawn; it becomes the last.
    bool Update(long rowDone, long rowCount, int* percent);
    int Last() const { return last; }

private:
    int last = -1;
};

// Where the progress bar's parts go inside the status bar's client area
// (shrunk by one pixel on every side by the caller).
struct ProgressLayout {
    int filledRight;   // blue from left up to here, yellow after
    int textX;
    int textY;
};
ProgressLayout LayoutProgress(int left, int top, int right, int bottom, int percent,
                              int textWidth, int textHeight);
