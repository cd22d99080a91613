#include "CaptureCanvas.h"

#include "WorkImage.h"

CaptureCanvas::CaptureCanvas(int width, int height) : width(width), height(height)
{
    if (width <= 0 || height <= 0)
        return;
    screen = GetDC(nullptr);
    memory = CreateCompatibleDC(screen);
    bitmap = memory ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (bitmap)
        previous = SelectObject(memory, bitmap);
}

CaptureCanvas::~CaptureCanvas()
{
    if (bitmap) {
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    if (memory)
        DeleteDC(memory);
    if (screen)
        ReleaseDC(nullptr, screen);
}

void CaptureCanvas::FillWhite()
{
    if (bitmap)
        PatBlt(memory, 0, 0, width, height, WHITENESS);
}

void CaptureCanvas::FillWhite(const RECT& area)
{
    if (bitmap && area.right > area.left && area.bottom > area.top)
        PatBlt(memory, area.left, area.top, area.right - area.left, area.bottom - area.top, WHITENESS);
}

void CaptureCanvas::CopyFromScreen(const RECT& source, POINT origin)
{
    if (!bitmap || source.right <= source.left || source.bottom <= source.top)
        return;
    BitBlt(memory, source.left - origin.x, source.top - origin.y, source.right - source.left,
           source.bottom - source.top, screen, source.left, source.top, SRCCOPY);
}

bool CaptureCanvas::HandToWorkImage()
{
    if (!bitmap)
        return false;
    // The bitmap must leave its memory device context before the pixels are
    // read from it.
    SelectObject(memory, previous);
    WorkImage->bitmap.Attach(bitmap);
    WorkImage->width = width;
    WorkImage->height = height;
    bitmap = nullptr;
    return true;
}
