// How the capture kinds find things on the screen: pixel reads of a piece of
// the screen, the display's nearest colour of a system colour, windows met
// along another window's edges, and the caption and menu bar of a window.
#pragma once

#include <windows.h>

#include <vector>

#include "ButtonEdges.h"

// A copy of a screen rectangle that answers pixel reads in screen
// coordinates (kNoPixel outside it, or when the copy could not be made).
class ScreenSnapshot : public PixelSource {
public:
    explicit ScreenSnapshot(const RECT& area);
    uint32_t At(int x, int y) const override;

private:
    RECT area;
    std::vector<uint32_t> pixels;   // top-down rows, 0x00BBGGRR
};

// The colour the display shows for system colour index (COLOR_...), as
// 0x00BBGGRR.
uint32_t NearestScreenColor(int systemColor);

// The rectangle clipped to the screen.
RECT ClipToScreen(RECT rect);
// rect grown to take in other (an empty rect gives other).
void UniteRect(RECT& rect, const RECT& other);

// The edges of a window's rectangle, probed pixel by pixel with
// WindowFromPoint: the right column (x = right - 1) and the left column top
// to bottom, the bottom row (y = bottom - 1) and the top row left to right.
enum WindowEdge { kEdgeRight, kEdgeLeft, kEdgeBottom, kEdgeTop };
// The first top-level window met along the edges of rect in the order
// given, other than the windows of exclude's own top-level window; null
// when there is none. Probes off the screen are skipped.
HWND FirstWindowAlongEdges(const RECT& rect, HWND exclude, const WindowEdge* order, int edgeCount);
// The same skipping the top-level windows of every window in excluded.
HWND FirstWindowAlongEdges(const RECT& rect, const std::vector<HWND>& excluded, const WindowEdge* order,
                           int edgeCount);

// The caption's top inset of window: from its top edge down the middle
// column, the first row where that pixel and the one below show the active
// caption colour; the frame height when none is found within a caption's
// height.
int CaptionTopInset(HWND window);

// The menu bar of window in screen coordinates: from the client origin's
// left less 1, below the caption, to the client origin's top; when that is
// at most one pixel high, the rectangle of a separate bar window just below
// (when there is one that is not window itself).
RECT MenuBarRectangle(HWND window);
