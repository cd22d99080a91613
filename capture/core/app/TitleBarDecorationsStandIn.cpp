// Stand-in definitions of the snapshot strip and the title-bar clock until
// their own files land: nothing is drawn into captions, and the strip's
// slots follow the SnapshotButton settings. Delete this file when the strip
// and the clock are built.
#include "TitleBarDecorations.h"

#include "CaptureDispatch.h"
#include "Settings.h"

#include <ctime>

HWND TrackForegroundWindow() { return nullptr; }
void DrawSnapshotButtonStrip(HWND) {}
void DrawTitleBarClock(HWND) {}
void HitTestSnapshotButtons() {}
void RedrawTitleBarDecorations() {}

int SnapshotSlotCaptureType(int slot)
{
    static const int kSlotTypes[6] = {kCaptureScreenDelayed, kCaptureWindowDelayed, kCaptureRegion,
                                      kCaptureFreehand,      kCaptureButtonPicked,  kCaptureCommandBarPicked};
    for (int button = 0; button < 6; ++button)
        if (SnapshotButton[button] && slot-- == 0)
            return kSlotTypes[button];
    return 0;
}

void FormatTimeStamp(long stamp, CString& dateText, CString& timeText)
{
    time_t seconds = stamp;
    struct tm* local = localtime(&seconds);
    char date[32] = "", time[32] = "";
    if (local) {
        strftime(date, sizeof date, "%m/%d/%Y", local);
        strftime(time, sizeof time, "%I:%M:%S %p", local);
    }
    dateText = date;
    timeText = time;
}
