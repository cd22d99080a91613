// The region kind: a rubber band dragged over the frozen screen from the
// click that ended the mouse selection, then the rectangle is captured.
// Everything the band draws is an inversion, so drawing a piece twice takes
// it away again.
#include <algorithm>
#include <cstdio>

#include "CaptureEngine.h"
#include "CaptureState.h"
#include "MouseTracking.h"
#include "Settings.h"

namespace {

class RubberBand {
public:
    explicit RubberBand(POINT anchor) : anchor(anchor)
    {
        screen = GetDC(nullptr);
        pen = CreatePen(PS_DOT, 1, static_cast<COLORREF>(RegionPage[kRegionPenColor]));
        oldPen = SelectObject(screen, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(BLACK_PEN));
        oldMode = SetROP2(screen, R2_NOTXORPEN);
        SetRect(&shown, anchor.x, anchor.y, anchor.x, anchor.y);
    }
    ~RubberBand()
    {
        ShowInverted(RECT{0, 0, 0, 0});
        SetROP2(screen, oldMode);
        SelectObject(screen, oldPen);
        if (pen)
            DeleteObject(pen);
        ReleaseDC(nullptr, screen);
    }

    const RECT& Rectangle() const { return shown; }

    // The outline and size label on (drawn) or off (drawn again).
    void ToggleOutline()
    {
        if (IsRectEmpty(&shown))
            return;
        POINT corners[5] = {{shown.left, shown.top}, {shown.right, shown.top}, {shown.right, shown.bottom},
                            {shown.left, shown.bottom}, {shown.left, shown.top}};
        Polyline(screen, corners, 5);
        if (RegionPage[kRegionShowSize])
            ToggleSizeLabel();
    }

    // The band spans the anchor and the cursor.
    void FollowCursor()
    {
        POINT cursor;
        GetCursorPos(&cursor);
        RECT next = {std::min(anchor.x, cursor.x), std::min(anchor.y, cursor.y), std::max(anchor.x, cursor.x),
                     std::max(anchor.y, cursor.y)};
        if (RegionPage[kRegionInvert])
            ShowInverted(next);
        shown = next;
    }

private:
    // Only what differs between the area inverted now and wanted is
    // inverted, so the band does not flicker while it grows or shrinks.
    void ShowInverted(const RECT& wanted)
    {
        HRGN was = CreateRectRgnIndirect(&inverted), will = CreateRectRgnIndirect(&wanted);
        if (was && will && CombineRgn(was, was, will, RGN_XOR) != ERROR)
            InvertRgn(screen, was);
        if (was)
            DeleteObject(was);
        if (will)
            DeleteObject(will);
        inverted = wanted;
    }

    // "width x height" white on black, inverted onto the middle of the band.
    void ToggleSizeLabel()
    {
        char text[32];
        const int length = snprintf(text, sizeof text, "%ldx%ld", static_cast<long>(shown.right - shown.left),
                                    static_cast<long>(shown.bottom - shown.top));
        HDC memory = CreateCompatibleDC(screen);
        if (!memory)
            return;
        HGDIOBJ oldFont = SelectObject(memory, GetStockObject(SYSTEM_FONT));
        SIZE size = {0, 0};
        GetTextExtentPoint32A(memory, text, length, &size);
        HBITMAP mono = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
        if (mono) {
            HGDIOBJ oldBitmap = SelectObject(memory, mono);
            SetTextColor(memory, RGB(255, 255, 255));
            SetBkColor(memory, RGB(0, 0, 0));
            SetBkMode(memory, OPAQUE);
            TextOutA(memory, 0, 0, text, length);
            BitBlt(screen, (shown.left + shown.right - size.cx) / 2, (shown.top + shown.bottom - size.cy) / 2,
                   size.cx, size.cy, memory, 0, 0, SRCINVERT);
            SelectObject(memory, oldBitmap);
            DeleteObject(mono);
        }
        SelectObject(memory, oldFont);
        DeleteDC(memory);
    }

    POINT anchor;
    HDC screen;
    HPEN pen;
    HGDIOBJ oldPen;
    int oldMode;
    RECT shown;                       // the band's rectangle
    RECT inverted = {0, 0, 0, 0};     // the area shown inverted
};

}  // namespace

void TrackRegionRectangle()
{
    POINT anchor;
    GetCursorPos(&anchor);
    MouseTracking tracking;
    MouseTracking::Event event;
    RECT chosen;
    {
        RubberBand band(anchor);
        for (;;) {
            event = tracking.Next();
            if (event != MouseTracking::kLost)
                band.ToggleOutline();
            if (event != MouseTracking::kMoved)
                break;
            band.FollowCursor();
            band.ToggleOutline();
        }
        chosen = band.Rectangle();
        if (event == MouseTracking::kLost)
            band.ToggleOutline();
    }
    if (event == MouseTracking::kLost) {
        // Another window took the mouse: the drag ends without a capture.
        DecorationsSuspended = 0;
        return;
    }
    CurrentCapture.rectangle = chosen;
    CaptureNow();
}
