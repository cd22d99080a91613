// The values the Capture Setup sheet edits: a copy of the ten page keys,
// taken when the sheet opens and stored back only by its OK.
#pragma once

#include "Settings.h"

enum CaptureSetupPage {
    kPageSendTo, kPageCapture, kPageScreen, kPageWindow, kPageRegion, kPageTitleMenu,
    kPageFreehand, kPageButton, kPageCommandBar, kPageNotify, kCaptureSetupPageCount
};

// The edits' ranges.
enum {
    kMarginLimit = 1200,       // image margins, pixels
    kCountdownLimit = 600,     // countdown seconds
    kScreenAreaLimit = 32767   // capture rectangle coordinates
};

struct CaptureSetupValues {
    int sendTo[kSendtoPageCount];
    int capture[kCapturePageCount];
    int screen[kScreenPageCount];
    int window[kWindowPageCount];
    int region[kRegionPageCount];
    int titleMenu[kTitleMenuPageCount];
    int freehand[kFreehandPageCount];
    int button[kButtonPageCount];
    int commandBar[kCommandBarPageCount];
    int notify[kNotifyPageCount];
};

// The settings' values, each brought inside the range its control accepts
// (so that a settings file with wrong values opens a sheet that can be
// confirmed as it stands).
CaptureSetupValues LoadCaptureSetupValues();

// Copies the values into the settings: a file naming with no button chosen
// becomes 0, no destination at all becomes the Kaptura window, and
// activePage becomes the page to open next time. Writes nothing.
void StoreCaptureSetupValues(CaptureSetupValues& values, int activePage);

// Whether the image margins of values differ from the stored ones.
bool MarginsChanged(const CaptureSetupValues& values);
