// What the user sees and hears when a capture is taken: one of four capture
// sounds and one of four flashes over the captured rectangle. The Notify
// page's test buttons call these with the choice being tried.
#pragma once

#include <windows.h>

#include "CaptureState.h"

// 0: nothing; 1-4: the program's WAVE resource 201-204, played without
// waiting for it to end.
void PlayCaptureSound(int choice);

// 0: nothing; 1 Center-In, 2 Center Out, 3 Inside Out, 4 Up-Down: lines
// inverted on the screen over area and, after a pause, inverted back, so the
// screen is left as it was.
void AnimateFeedbackOver(int choice, const RECT& area);
// The same over the current capture rectangle.
inline void AnimateCaptureFeedback(int choice)
{
    AnimateFeedbackOver(choice, CurrentCapture.rectangle);
}
