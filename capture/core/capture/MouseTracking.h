// The small message loop the region and freehand kinds run while the user
// drags: mouse messages only (everything else stays queued), ending on the
// button's release (its message, or the button found up with no message
// waiting), or when the mouse capture that carried the drag is lost to
// another window.
#pragma once

#include <windows.h>

class MouseTracking {
public:
    // Remembers which window holds the mouse capture now.
    MouseTracking();

    enum Event { kMoved, kReleased, kLost };
    // Waits for the next mouse message and says what it was.
    Event Next();

private:
    HWND captureOwner;
};
