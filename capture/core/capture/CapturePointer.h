// The mouse pointer in captures: drawn into a capture bitmap where it lies
// over the captured rectangle, and the pointer capture itself.
#pragma once

#include <windows.h>

// The snapshot strip's screen rectangle as last drawn, empty when there is
// none; the strip drawing keeps it up to date. A pointer over the strip is
// never drawn into a capture.
extern RECT SnapshotStripRectangle;

// The pointer shape to draw: the one the hook library reported last, else
// the one the system shows now, else the arrow.
HCURSOR CapturePointerShape();

// Whether the pointer belongs in a capture of type over capture: not when
// the pointer is hidden by the options, for region and button captures, for
// a window picked with the mouse, nor when it lies outside the rectangle or
// on the snapshot strip.
bool PointerBelongsInCapture(int type, POINT cursor, const RECT& capture);

// Draws shape at its natural size with its hot spot on cursor, into dc whose
// top-left pixel stands for the screen point origin.
void DrawPointerShape(HDC dc, HCURSOR shape, POINT cursor, POINT origin);

// DrawPointerShape with the current pointer into the bitmap of the current
// capture (dc), when PointerBelongsInCapture says so.
void DrawPointerIntoCapture(HDC dc);

// The pointer capture: a white 32 by 32 picture of the pointer shape, drawn
// at (0, 0) without its hot spot; the screen under it is not copied.
void CapturePointer();
