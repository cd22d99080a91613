// The window kind: the window in front (or its client area), optionally
// with a window that overlaps its edges, and the window picked by a click.
#include "CaptureCanvas.h"
#include "CaptureEngine.h"
#include "CapturePipeline.h"
#include "CapturePointer.h"
#include "CaptureState.h"
#include "ScreenProbes.h"
#include "Settings.h"

namespace {

// The client area to leave white, screen coordinates (empty: none).
RECT whiteClientArea = {0, 0, 0, 0};

RECT ClientRectOnScreen(HWND window)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

HWND OverlappingWindow(const RECT& captured)
{
    static const WindowEdge kOrder[] = {kEdgeRight, kEdgeLeft, kEdgeBottom, kEdgeTop};
    return FirstWindowAlongEdges(captured, CurrentCapture.startWindow, kOrder, 4);
}

}  // namespace

void CaptureForegroundWindow()
{
    HWND window = CurrentCapture.startWindow;
    RECT rect = {0, 0, 0, 0};
    const bool wholeWindow = WindowPage[kWindowFrame] || !WindowPage[kWindowWorkspace];
    if (window) {
        if (wholeWindow)
            GetWindowRect(window, &rect);
        else
            rect = ClientRectOnScreen(window);
    }
    SetRectEmpty(&whiteClientArea);
    if (window && !WindowPage[kWindowWorkspace])
        whiteClientArea = ClientRectOnScreen(window);
    CurrentCapture.rectangle = ClipToScreen(rect);
    CaptureNow();
}

void CaptureWindowRectangle()
{
    RECT own = CurrentCapture.rectangle;
    RECT overlapping = {0, 0, 0, 0};
    if (WindowPage[kWindowWithCurrent]) {
        if (HWND other = OverlappingWindow(own)) {
            GetWindowRect(other, &overlapping);
            overlapping = ClipToScreen(overlapping);
            UniteRect(CurrentCapture.rectangle, overlapping);
        }
    }
    const RECT rect = CurrentCapture.rectangle;
    const POINT origin = {rect.left, rect.top};
    CaptureCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    if (!canvas.Valid())
        return;
    canvas.FillWhite();
    if (WindowPage[kWindowWithCurrent] && WindowPage[kWindowEraseBackground] && !IsRectEmpty(&overlapping)) {
        canvas.CopyFromScreen(own, origin);
        canvas.CopyFromScreen(overlapping, origin);
    } else {
        canvas.CopyFromScreen(rect, origin);
    }
    DrawPointerIntoCapture(canvas.Dc());
    if (!WindowPage[kWindowWorkspace] && !IsRectEmpty(&whiteClientArea)) {
        RECT area = whiteClientArea;
        OffsetRect(&area, -origin.x, -origin.y);
        canvas.FillWhite(area);
    }
    canvas.HandToWorkImage();
    // Focus can only be given back to a window of this thread.
    HWND start = CurrentCapture.startWindow;
    if (start && GetWindowThreadProcessId(start, nullptr) == GetCurrentThreadId())
        SetFocus(start);
}

HWND FindChildWindowUnderCursor()
{
    POINT cursor;
    GetCursorPos(&cursor);
    HWND window = WindowFromPoint(cursor);
    if (!window || IsIconic(window))
        return window;
    for (;;) {
        POINT inside = cursor;
        ScreenToClient(window, &inside);
        HWND child = ChildWindowFromPointEx(window, inside, CWP_SKIPINVISIBLE);
        if (!child || child == window)
            return window;
        window = child;
    }
}
