#include "CapturePointer.h"

#include "CaptureCanvas.h"
#include "CaptureDispatch.h"
#include "CaptureState.h"
#include "Settings.h"

RECT SnapshotStripRectangle = {0, 0, 0, 0};

namespace {

enum { kPointerCaptureSize = 32 };

bool PickedWithMouse(int type)
{
    return type == kCaptureWindow && WindowPage[kWindowSelectWithMouse];
}

// Whether the shape can be drawn here: a shape another program made may not
// be readable from this one.
bool Drawable(HCURSOR shape)
{
    ICONINFO info = {};
    if (!shape || !GetIconInfo(shape, &info))
        return false;
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return true;
}

}  // namespace

HCURSOR CapturePointerShape()
{
    if (Drawable(CurrentCapture.pointerShape))
        return CurrentCapture.pointerShape;
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) && Drawable(info.hCursor))
        return info.hCursor;
    return LoadCursor(nullptr, IDC_ARROW);
}

bool PointerBelongsInCapture(int type, POINT cursor, const RECT& capture)
{
    if (CapturePage[kCaptureHidePointer])
        return false;
    if (type == kCaptureRegion || type == kCaptureButton || type == kCaptureButtonPicked || PickedWithMouse(type))
        return false;
    if (!PtInRect(&capture, cursor))
        return false;
    return !PtInRect(&SnapshotStripRectangle, cursor);
}

void DrawPointerShape(HDC dc, HCURSOR shape, POINT cursor, POINT origin)
{
    ICONINFO info = {};
    if (!shape || !GetIconInfo(shape, &info))
        return;
    DrawIconEx(dc, cursor.x - static_cast<int>(info.xHotspot) - origin.x,
               cursor.y - static_cast<int>(info.yHotspot) - origin.y, shape, 0, 0, 0, nullptr, DI_NORMAL);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

void DrawPointerIntoCapture(HDC dc)
{
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return;
    const RECT& capture = CurrentCapture.rectangle;
    if (!PointerBelongsInCapture(CurrentCapture.type, cursor, capture))
        return;
    DrawPointerShape(dc, CapturePointerShape(), cursor, POINT{capture.left, capture.top});
}

void CapturePointer()
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    SetRect(&CurrentCapture.rectangle, cursor.x, cursor.y, cursor.x + kPointerCaptureSize,
            cursor.y + kPointerCaptureSize);
    CaptureCanvas canvas(kPointerCaptureSize, kPointerCaptureSize);
    if (!canvas.Valid())
        return;
    canvas.FillWhite();
    DrawIconEx(canvas.Dc(), 0, 0, CapturePointerShape(), 0, 0, 0, nullptr, DI_NORMAL);
    canvas.HandToWorkImage();
}
