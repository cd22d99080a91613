// The freehand kind: the outline the user traces with the button held, the
// box around it captured, and everything outside the outline turned white.
#include <new>

#include "AppServices.h"
#include "CaptureCanvas.h"
#include "CapturePipeline.h"
#include "CaptureState.h"
#include "DisplayImage.h"
#include "FreehandShape.h"
#include "MouseTracking.h"
#include "Settings.h"

namespace {

// The point buffer: as large as memory allows of these sizes.
struct PointBuffer {
    TracePoint* points = nullptr;
    size_t capacity = 0;
    size_t count = 0;

    PointBuffer()
    {
        for (size_t wanted : {10000u, 5000u, 1000u}) {
            points = new (std::nothrow) TracePoint[wanted];
            if (points) {
                capacity = wanted;
                return;
            }
        }
    }
    ~PointBuffer() { delete[] points; }
    PointBuffer(const PointBuffer&) = delete;
    PointBuffer& operator=(const PointBuffer&) = delete;

    bool NearlyFull() const { return count + 1 >= capacity; }
    void Add(POINT point) { points[count++] = TracePoint{point.x, point.y}; }
};

// A copy of the whole screen, put back when the tracing is over.
class ScreenCopy {
public:
    ScreenCopy() : copy(ScreenWidth, ScreenHeight)
    {
        copy.CopyFromScreen(RECT{0, 0, ScreenWidth, ScreenHeight}, POINT{0, 0});
    }
    bool Valid() const { return copy.Valid(); }
    void Restore() const
    {
        HDC screen = GetDC(nullptr);
        BitBlt(screen, 0, 0, ScreenWidth, ScreenHeight, copy.Dc(), 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }

private:
    CaptureCanvas copy;
};

// Follows the mouse until the button comes up, setting each point on the
// screen; false when the mouse capture was lost on the way.
bool TraceOutline(PointBuffer& buffer)
{
    POINT cursor;
    GetCursorPos(&cursor);
    buffer.Add(cursor);
    HDC screen = GetDC(nullptr);
    const int oldMode = SetROP2(screen, FreehandPage[kFreehandInvertPen] ? R2_NOTXORPEN : R2_COPYPEN);
    const COLORREF pen = static_cast<COLORREF>(FreehandPage[kFreehandPenColor]);
    MouseTracking tracking;
    bool finished = true;
    for (;;) {
        const MouseTracking::Event event = tracking.Next();
        if (event != MouseTracking::kMoved) {
            finished = event == MouseTracking::kReleased;
            break;
        }
        GetCursorPos(&cursor);
        buffer.Add(cursor);
        SetPixel(screen, cursor.x, cursor.y, pen);
        if (buffer.NearlyFull()) {
            // The trace so far is still captured.
            SetROP2(screen, oldMode);
            ReleaseDC(nullptr, screen);
            ShowStringMessage(kStatusNoMemory);
            return true;
        }
    }
    SetROP2(screen, oldMode);
    ReleaseDC(nullptr, screen);
    return finished;
}

// Rows of the canvas left and right of the outline become white; rows the
// outline never touched, all of them.
void WhitenOutside(CaptureCanvas& canvas, const FreehandShape& shape)
{
    for (int row = 0; row < shape.Height(); ++row) {
        if (!shape.RowTouched(row)) {
            canvas.FillWhite(RECT{0, row, shape.Width(), row + 1});
            continue;
        }
        canvas.FillWhite(RECT{0, row, shape.least[row], row + 1});
        canvas.FillWhite(RECT{shape.greatest[row] + 1, row, shape.Width(), row + 1});
    }
}

}  // namespace

void CaptureFreehand()
{
    SetRectEmpty(&CurrentCapture.rectangle);
    ScreenCopy screen;
    PointBuffer buffer;
    if (!buffer.points || !screen.Valid()) {
        ShowStringMessage(kStatusNoMemory);
        return;
    }
    if (!TraceOutline(buffer)) {
        // Another window took the mouse: nothing is captured.
        screen.Restore();
        return;
    }
    const FreehandShape shape = TraceFreehandShape(buffer.points, buffer.count);
    SetRect(&CurrentCapture.rectangle, shape.left, shape.top, shape.right, shape.bottom);
    const RECT& box = CurrentCapture.rectangle;
    CaptureCanvas canvas(shape.Width(), shape.Height());
    const bool withBorder = FreehandPage[kFreehandBorder] != 0;
    if (!withBorder)
        screen.Restore();
    if (canvas.Valid())
        canvas.CopyFromScreen(box, POINT{box.left, box.top});
    if (withBorder)
        screen.Restore();
    if (!canvas.Valid())
        return;
    WhitenOutside(canvas, shape);
    canvas.HandToWorkImage();
}
