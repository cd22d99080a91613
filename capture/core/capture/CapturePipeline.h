// The steps of one capture inside the engine (CaptureNow, CaptureEngine.h)
// and the capture kinds: the pixel copies, the post-processing and the
// destinations. Each works on CurrentCapture and the work image.
#pragma once

#include <windows.h>

#include <vector>

#include "ScreenProbes.h"

// ---- Pixels ----
// The capture rectangle from the screen into the work image's bitmap, with
// the pointer drawn in.
void CaptureScreenRectangle();
// A window capture's copy (window kind), with an overlapping window when
// the options ask for it.
void CaptureWindowRectangle();
// The traced outline of a freehand capture, then its box.
void CaptureFreehand();
// Whether the title-and-menu capture is to be assembled on white, and the
// assembly itself.
bool TitleMenuCompositeWanted();
void CaptureTitleMenuComposite();

// ---- After the pixels ----
// Button frame, frame and mat, colour option.
void PostProcessCapture();

// ---- Destinations, in the order they run ----
void SendCaptureToClipboard();
void SendCaptureToFile();
void SendCaptureToPrinter();
void SendCaptureToWindow();
// The file destination without the dialog: the stored path (numbered or
// day-and-time name) in the capture file format. True when written.
bool SaveCaptureAutomatically();
void RaiseMainWindowAfterCapture();

// ---- Bars and menus ----
// Where the command bar at the menu point lies: the bar and the item on it
// (screen coordinates, either may be empty).
struct BarLocation {
    RECT bar;
    RECT item;
};
BarLocation LocateCommandBar();
// Windows met one after another along the edges of the window before,
// starting from first (included), at most limit windows in all.
void FollowWindowChain(HWND first, const WindowEdge* order, int edgeCount, int limit, std::vector<RECT>& chain);
