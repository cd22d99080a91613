// The command bar kind: the bar under the last menu point, its dropdown
// menus, or both, assembled on white.
#include "CaptureCanvas.h"
#include "CaptureEngine.h"
#include "CapturePipeline.h"
#include "CapturePointer.h"
#include "CaptureState.h"
#include "ScreenProbes.h"
#include "Settings.h"

namespace {

enum { kDropdownLimit = 11, kSmallWindowWidth = 250, kBelowMenuPoint = 30 };

// Whether rows top..bottom (inclusive) of column x all show color exactly.
bool ColumnIs(const ScreenSnapshot& pixels, int x, int top, int bottom, uint32_t color)
{
    for (int y = top; y <= bottom; ++y)
        if (pixels.At(x, y) != color)
            return false;
    return true;
}

// The highlighted item on a menu bar: the run of its middle row between the
// first and last column whose middle rows are all the highlight colour.
RECT HighlightedRun(const RECT& bar)
{
    RECT item = {0, 0, 0, 0};
    const int middle = bar.top + (bar.bottom - bar.top) / 2;
    const ScreenSnapshot pixels(bar);
    const uint32_t highlight = NearestScreenColor(COLOR_HIGHLIGHT);
    int first = -1, last = -1;
    for (int x = bar.left; x < bar.right; ++x) {
        if (ColumnIs(pixels, x, middle - 5, middle + 4, highlight)) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    if (first >= 0)
        SetRect(&item, first, bar.top, last + 1, bar.bottom);
    return item;
}

// The button on a toolbar around point: from the nearest shadow column on
// its left to the first highlight column on its right.
RECT ToolbarItem(const RECT& bar, POINT point)
{
    RECT item = {0, 0, 0, 0};
    const ScreenSnapshot pixels(bar);
    const uint32_t shadow = NearestScreenColor(COLOR_BTNSHADOW), highlight = NearestScreenColor(COLOR_BTNHIGHLIGHT);
    int left = -1, right = -1;
    for (int x = point.x - 1; x >= bar.left && left < 0; --x)
        if (ColumnIs(pixels, x, point.y - 5, point.y + 4, shadow))
            left = x;
    for (int x = point.x + 1; x < bar.right && right < 0; ++x)
        if (ColumnIs(pixels, x, point.y - 5, point.y + 4, highlight))
            right = x;
    if (left >= 0 && right >= 0)
        SetRect(&item, left, bar.top, right + 1, bar.bottom);
    return item;
}

}  // namespace

HWND GetSmallWindowBelowPoint()
{
    const POINT below = {CurrentCapture.menuPoint.x, CurrentCapture.menuPoint.y + kBelowMenuPoint};
    HWND window = WindowFromPoint(below);
    RECT rect;
    if (!window || !GetWindowRect(window, &rect) || rect.right - rect.left > kSmallWindowWidth)
        return nullptr;
    return window;
}

BarLocation LocateCommandBar()
{
    BarLocation found = {{0, 0, 0, 0}, {0, 0, 0, 0}};
    const POINT point = CurrentCapture.menuPoint;
    HWND window = WindowFromPoint(point);
    if (!window)
        return found;
    if (window == GetForegroundWindow()) {
        found.bar = MenuBarRectangle(window);
        found.item = HighlightedRun(found.bar);
    } else if (!CommandBarPage[kCommandBarBar] || CommandBarPage[kCommandBarDropdowns]) {
        GetWindowRect(window, &found.bar);
        found.bar.bottom += 1;
        found.item = ToolbarItem(found.bar, point);
    } else {
        POINT cursor;
        GetCursorPos(&cursor);
        if (HWND under = WindowFromPoint(cursor))
            GetWindowRect(under, &found.bar);
    }
    return found;
}

void FollowWindowChain(HWND first, const WindowEdge* order, int edgeCount, int limit, std::vector<RECT>& chain)
{
    std::vector<HWND> met;
    for (HWND window = first; window && static_cast<int>(met.size()) < limit;) {
        RECT rect;
        if (!GetWindowRect(window, &rect))
            break;
        met.push_back(window);
        chain.push_back(ClipToScreen(rect));
        // Windows already met are skipped, so two overlapping menus cannot
        // send the search back and forth.
        window = FirstWindowAlongEdges(rect, met, order, edgeCount);
    }
}

void CaptureCommandBar()
{
    static const WindowEdge kOrder[] = {kEdgeRight, kEdgeLeft, kEdgeTop, kEdgeBottom};
    const BarLocation location = LocateCommandBar();
    std::vector<RECT> pieces;
    if (CommandBarPage[kCommandBarBar] && !IsRectEmpty(&location.bar))
        pieces.push_back(ClipToScreen(location.bar));
    if (CommandBarPage[kCommandBarDropdowns])
        if (HWND dropdown = GetSmallWindowBelowPoint())
            FollowWindowChain(dropdown, kOrder, 4, kDropdownLimit, pieces);

    RECT rect = {0, 0, 0, 0};
    for (const RECT& piece : pieces)
        UniteRect(rect, piece);
    CurrentCapture.rectangle = rect;
    CaptureCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    if (canvas.Valid()) {
        const POINT origin = {rect.left, rect.top};
        canvas.FillWhite();
        for (const RECT& piece : pieces)
            canvas.CopyFromScreen(piece, origin);
        if (CommandBarPage[kCommandBarPointer])
            DrawPointerIntoCapture(canvas.Dc());
        canvas.HandToWorkImage();
    }
    CaptureNow();
}
