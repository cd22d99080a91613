// What the dispatch calls of the snapshot-button strip and the title-bar
// clock drawn into the caption of the window in front.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include "../../../framework/CString.h"

// The foreground window to decorate, or null; forgets the decorations of
// the window tracked before when it changes.
HWND TrackForegroundWindow();
void DrawSnapshotButtonStrip(HWND window);
void DrawTitleBarClock(HWND window);
// Draws the pressed face of the strip button under the cursor and records
// its slot in CurrentCapture.pressedSlot.
void HitTestSnapshotButtons();
// The capture type of the strip slot (Screen 1, Window 3, Region 5, ...),
// 0 for a slot not on the strip.
int SnapshotSlotCaptureType(int slot);
// The raised face of snapshot button (0 Screen, 1 Window, 2 Region, 3
// Freehand, 4 Button, 5 Command Bar), SnapshotButtonWidth x
// SnapshotButtonHeight pixels; owned by the strip, null when it cannot be
// built.
HBITMAP SnapshotButtonFace(int button);
// Wipes the decorations of the capture's start window, drawing back those
// that are not hidden during a capture.
void RedrawTitleBarDecorations();
// Rebuilds the button faces and the strip from the settings at once and
// wipes the decorations of the window they were last drawn on, so that the
// next timer pass draws the new strip wherever the foreground now is.
void RebuildSnapshotButtons();
// Copies the up face of a button (0 Screen ... 5 Command Bar) to dc at (x, y).
void DrawSnapshotButtonFace(HDC dc, int button, int x, int y);
// The date text and the time text of a time stamp (seconds since 1970) in
// the clock's formats.
void FormatTimeStamp(long stamp, CString& dateText, CString& timeText);
#endif
