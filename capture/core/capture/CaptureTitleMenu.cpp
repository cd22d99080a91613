// The title-and-menu kind: the title bar, the menu bar, the open pulldown
// menu and its cascade, as one rectangle or assembled on white.
#include <vector>

#include "AppServices.h"
#include "CaptureCanvas.h"
#include "CaptureEngine.h"
#include "CapturePipeline.h"
#include "CapturePointer.h"
#include "CaptureState.h"
#include "ScreenProbes.h"
#include "Settings.h"

namespace {

enum { kNoMenuFound = 32973, kCascadeLimit = 32, kNearTop = 6 };

// What CaptureTitleAndMenu found, for the assembly that follows.
struct TitleMenuParts {
    HWND menuWindow = nullptr;
    bool popup = false;
    RECT titleBar = {0, 0, 0, 0};
    RECT menuBar = {0, 0, 0, 0};
    RECT item = {0, 0, 0, 0};
    RECT pulldown = {0, 0, 0, 0};
    std::vector<RECT> cascade;
} parts;

bool MenuVisible() { return parts.menuWindow && IsWindowVisible(parts.menuWindow); }

// The menu under the menu point, when the notice says one opened there.
void FindNoticedMenu()
{
    POINT point = {CurrentCapture.menuPoint.x + 1, CurrentCapture.menuPoint.y + 1};
    parts.menuWindow = WindowFromPoint(point);
    RECT rect;
    if (parts.menuWindow && GetWindowRect(parts.menuWindow, &rect) && point.x != rect.left &&
        point.x != rect.left + 1) {
        point.x -= 2;
        parts.menuWindow = WindowFromPoint(point);
    }
    parts.popup = true;
}

RECT TitleBarOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int frameWidth = origin.x - rect.left;
    rect.bottom = rect.top + CaptionHeight + frameWidth - 1;
    return rect;
}

// The pulldown with the menu-bar item above it.
RECT PulldownWithItem(HWND start)
{
    RECT menu, window;
    GetWindowRect(parts.menuWindow, &menu);
    GetWindowRect(start, &window);
    if (parts.popup)
        return menu;
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    if (menu.top < window.top)
        menu.bottom += menuHeight;
    else
        menu.top -= menuHeight;
    if (menu.top - window.top <= kNearTop && window.top - menu.top <= kNearTop)
        menu.left -= 1;
    return menu;
}

// The highlighted part of the menu bar, found on its second row.
RECT HighlightedMenuItem()
{
    RECT item = {0, 0, 0, 0};
    const RECT& bar = parts.menuBar;
    const int row = bar.top + 1;
    const ScreenSnapshot pixels(bar);
    const uint32_t highlight = ScreenDepth == 1 ? 0 : NearestScreenColor(COLOR_HIGHLIGHT);
    int left = bar.left, right = bar.right - 1;
    while (left < bar.right && pixels.At(left, row) != highlight)
        ++left;
    while (right >= left && pixels.At(right, row) != highlight)
        --right;
    if (left <= right)
        SetRect(&item, left, bar.top, right + 1, bar.bottom);
    return item;
}

}  // namespace

bool TitleMenuCompositeWanted()
{
    return TitleMenuPage[kTitleMenuEraseBackground] &&
           (TitleMenuPage[kTitleMenuPulldown] || TitleMenuPage[kTitleMenuCascading]) && MenuVisible();
}

void CaptureTitleAndMenu()
{
    static const WindowEdge kCascadeOrder[] = {kEdgeRight, kEdgeLeft};
    HWND start = CurrentCapture.startWindow;
    parts = TitleMenuParts();
    if (!start)
        return;
    if (CurrentCapture.menuNotice == 1)
        FindNoticedMenu();
    if (!parts.popup) {
        parts.item = LocateCommandBar().item;
        parts.menuBar = MenuBarRectangle(start);
        parts.menuWindow = GetSmallWindowBelowPoint();
    }
    // A menu opened from the task bar rather than from a window.
    if (LOBYTE(LOWORD(WindowsVersion)) > 3 && !MenuVisible() && CurrentCapture.menuNotice == 0 &&
        TitleMenuPage[kTitleMenuPulldown]) {
        parts.menuWindow = WindowFromPoint(POINT{30, ScreenHeight - 40});
        parts.popup = true;
    }

    const bool iconic = IsIconic(start) != 0;
    RECT rect = {0, 0, 0, 0};
    if (!iconic || MenuVisible()) {
        if (!iconic && !parts.popup) {
            if (TitleMenuPage[kTitleMenuTitleBar]) {
                parts.titleBar = TitleBarOf(start);
                UniteRect(rect, parts.titleBar);
            }
            if (TitleMenuPage[kTitleMenuMenuBar])
                UniteRect(rect, parts.menuBar);
        }
        if (TitleMenuPage[kTitleMenuPulldown]) {
            if (MenuVisible()) {
                parts.pulldown = PulldownWithItem(start);
                UniteRect(rect, parts.pulldown);
            } else if (!TitleMenuPage[kTitleMenuMenuBar]) {
                ShowStringMessage(kNoMenuFound);
                return;
            }
        }
        if (TitleMenuPage[kTitleMenuCascading] && MenuVisible()) {
            FollowWindowChain(parts.menuWindow, kCascadeOrder, 2, kCascadeLimit, parts.cascade);
            for (const RECT& piece : parts.cascade)
                UniteRect(rect, piece);
        }
    }
    if (IsRectEmpty(&rect)) {
        ShowStringMessage(kNoMenuFound);
        return;
    }
    CurrentCapture.rectangle = ClipToScreen(rect);
    CaptureNow();
}

void CaptureTitleMenuComposite()
{
    const RECT rect = CurrentCapture.rectangle;
    const POINT origin = {rect.left, rect.top};
    CaptureCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    if (!canvas.Valid())
        return;
    canvas.FillWhite();
    HWND start = CurrentCapture.startWindow;
    if (start && !IsIconic(start)) {
        RECT base;
        if (TitleMenuPage[kTitleMenuTitleBar] && !parts.popup)
            GetWindowRect(start, &base);
        else if (!TitleMenuPage[kTitleMenuMenuBar] || parts.popup)
            base = HighlightedMenuItem();
        else
            base = parts.menuBar;
        canvas.CopyFromScreen(base, origin);
        RECT client = {0, 0, 0, 0};
        GetClientRect(start, &client);
        MapWindowPoints(start, nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -origin.x, -origin.y);
        canvas.FillWhite(client);
        if (TitleMenuPage[kTitleMenuTitleBar] || TitleMenuPage[kTitleMenuMenuBar]) {
            canvas.CopyFromScreen(parts.titleBar, origin);   // empty unless it was taken
            if (TitleMenuPage[kTitleMenuMenuBar] && !parts.popup)
                canvas.CopyFromScreen(parts.menuBar, origin);
        } else {
            canvas.CopyFromScreen(parts.item, origin);
        }
    }
    RECT menu;
    if (parts.menuWindow && GetWindowRect(parts.menuWindow, &menu))
        canvas.CopyFromScreen(menu, origin);
    if (TitleMenuPage[kTitleMenuCascading])
        for (const RECT& piece : parts.cascade)
            canvas.CopyFromScreen(piece, origin);
    DrawPointerIntoCapture(canvas.Dc());
    canvas.HandToWorkImage();
}
