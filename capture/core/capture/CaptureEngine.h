// What the dispatch calls of the capture engine and the capture kinds. Each
// works on CurrentCapture and the work image.
#pragma once

#ifdef _WIN32
#include <windows.h>

// Runs one capture of CurrentCapture.type over CurrentCapture.rectangle into
// the work image and hands it to the chosen destinations.
void CaptureNow();
// Window capture of the start window (type 4 without mouse selection).
void CaptureForegroundWindow();
// Title bar and menus (type 6).
void CaptureTitleAndMenu();
// The button under the cursor (types 9 and 10).
void CaptureButton();
// The command bar under the cursor (type 11).
void CaptureCommandBar();
// The rubber band of a region capture over the frozen screen, then
// CaptureNow (type 5).
void TrackRegionRectangle();
// The deepest visible child window under the cursor.
HWND FindChildWindowUnderCursor();
// The window 30 pixels below the last menu point when it is at most 250
// pixels wide, else null.
HWND GetSmallWindowBelowPoint();
#endif
