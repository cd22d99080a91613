// Stand-in definitions of the capture engine and the capture kinds until
// their own files land: every kind copies a plain rectangle from the screen
// into the work image, which opens as a new document. Delete this file when
// CaptureNow and the kinds are built.
#include "CaptureEngine.h"

#include <ctime>

#include "AppServices.h"
#include "CaptureDispatch.h"
#include "CaptureState.h"
#include "DocumentCalls.h"
#include "Settings.h"
#include "WorkImage.h"

namespace {

RECT ClipToScreen(RECT rect)
{
    if (rect.left < 0) rect.left = 0;
    if (rect.top < 0) rect.top = 0;
    if (rect.right > ScreenWidth) rect.right = ScreenWidth;
    if (rect.bottom > ScreenHeight) rect.bottom = ScreenHeight;
    return rect;
}

RECT SquareAtCursor(int size)
{
    POINT cursor;
    GetCursorPos(&cursor);
    RECT rect = {cursor.x - size / 2, cursor.y - size / 2, cursor.x + size / 2, cursor.y + size / 2};
    return rect;
}

// The capture rectangle from the screen into the work image's device bitmap.
void CopyScreenRectangle()
{
    RECT rect = ClipToScreen(CurrentCapture.rectangle);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(memory, old);
        WorkImage->bitmap.Attach(bitmap);
        WorkImage->width = width;
        WorkImage->height = height;
        bitmap = nullptr;
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace

void CaptureNow()
{
    CaptureRunning = 1;
    WorkImage->bitCount = static_cast<uint16_t>(ScreenDepth);
    WorkImage->timeStamp = static_cast<int32_t>(time(nullptr));
    if (CurrentCapture.type == kCapturePointer)
        CurrentCapture.rectangle = SquareAtCursor(32);
    if (!WorkImage->bitmap.GetSafeHandle())
        CopyScreenRectangle();
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (WorkImage->bitmap.GetSafeHandle()) {
        if (WorkImage->CreateCaptureHeader())
            WorkImage->ConvertBitmapToDib();
        WorkImage->bitmap.DeleteObject();
    }
    if (!WorkImage->hPixels) {
        DecorationsSuspended = 0;
        CaptureRunning = 0;
        ShowStringMessage(kStatusNoMemory);
        return;
    }
    if (SendtoPage[kSendtoWindow])
        OpenWorkImageAsDocument();
    else
        WorkImage->FreeBlocks();
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    DecorationsSuspended = 0;
    CaptureRunning = 0;
}

void CaptureForegroundWindow()
{
    RECT rect = {0, 0, 0, 0};
    if (CurrentCapture.startWindow)
        GetWindowRect(CurrentCapture.startWindow, &rect);
    CurrentCapture.rectangle = ClipToScreen(rect);
    CaptureNow();
}

void CaptureTitleAndMenu()
{
    RECT rect = {0, 0, 0, 0};
    if (CurrentCapture.startWindow)
        GetWindowRect(CurrentCapture.startWindow, &rect);
    rect.bottom = rect.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) +
                  GetSystemMetrics(SM_CYFRAME);
    CurrentCapture.rectangle = rect;
    CaptureNow();
}

void CaptureButton()
{
    CurrentCapture.rectangle = SquareAtCursor(24);
    CaptureNow();
}

void CaptureCommandBar()
{
    HWND window = FindChildWindowUnderCursor();
    RECT rect = {0, 0, 0, 0};
    if (window)
        GetWindowRect(window, &rect);
    CurrentCapture.rectangle = rect;
    CaptureNow();
}

void TrackRegionRectangle()
{
    CurrentCapture.rectangle = SquareAtCursor(100);
    CaptureNow();
}

HWND FindChildWindowUnderCursor()
{
    POINT cursor;
    GetCursorPos(&cursor);
    HWND window = WindowFromPoint(cursor);
    while (window) {
        POINT inside = cursor;
        ScreenToClient(window, &inside);
        HWND child = ChildWindowFromPointEx(window, inside, CWP_SKIPINVISIBLE);
        if (!child || child == window)
            break;
        window = child;
    }
    return window;
}

HWND GetSmallWindowBelowPoint()
{
    POINT below = {CurrentCapture.menuPoint.x, CurrentCapture.menuPoint.y + 30};
    HWND window = WindowFromPoint(below);
    RECT rect;
    if (!window || !GetWindowRect(window, &rect) || rect.right - rect.left > 250)
        return nullptr;
    return window;
}
