#include "ScreenProbes.h"

#include <algorithm>

#include "Settings.h"

ScreenSnapshot::ScreenSnapshot(const RECT& wanted) : area(ClipToScreen(wanted))
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && section && bits) {
        HGDIOBJ old = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const uint32_t* quads = static_cast<const uint32_t*>(bits);
        pixels.resize(static_cast<size_t>(width) * height);
        // Sections hold blue, green, red: turn them into colour references.
        for (size_t i = 0; i < pixels.size(); ++i) {
            const uint32_t quad = quads[i];
            pixels[i] = ((quad & 0xFF) << 16) | (quad & 0xFF00) | ((quad >> 16) & 0xFF);
        }
        SelectObject(memory, old);
    }
    if (section)
        DeleteObject(section);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

uint32_t ScreenSnapshot::At(int x, int y) const
{
    if (pixels.empty() || x < area.left || x >= area.right || y < area.top || y >= area.bottom)
        return kNoPixel;
    return pixels[static_cast<size_t>(y - area.top) * (area.right - area.left) + (x - area.left)];
}

uint32_t NearestScreenColor(int systemColor)
{
    HDC screen = GetDC(nullptr);
    COLORREF color = GetNearestColor(screen, GetSysColor(systemColor));
    ReleaseDC(nullptr, screen);
    return color == CLR_INVALID ? GetSysColor(systemColor) : color;
}

RECT ClipToScreen(RECT rect)
{
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::min<LONG>(rect.right, ScreenWidth);
    rect.bottom = std::min<LONG>(rect.bottom, ScreenHeight);
    return rect;
}

void UniteRect(RECT& rect, const RECT& other)
{
    if (IsRectEmpty(&other))
        return;
    if (IsRectEmpty(&rect)) {
        rect = other;
        return;
    }
    UnionRect(&rect, &rect, &other);
}

namespace {

HWND TopLevelOf(HWND window) { return window ? GetAncestor(window, GA_ROOT) : nullptr; }

bool Excluded(HWND window, const std::vector<HWND>& excluded)
{
    return std::find(excluded.begin(), excluded.end(), window) != excluded.end();
}

// The first probe of one edge that finds a window not excluded.
HWND ProbeEdge(const RECT& rect, WindowEdge edge, const std::vector<HWND>& excluded)
{
    const bool column = edge == kEdgeRight || edge == kEdgeLeft;
    const int fixed = edge == kEdgeRight ? rect.right - 1
                      : edge == kEdgeLeft ? rect.left
                      : edge == kEdgeBottom ? rect.bottom - 1
                                            : rect.top;
    const int from = column ? rect.top : rect.left, to = column ? rect.bottom : rect.right;
    for (int along = from; along < to; ++along) {
        POINT probe = column ? POINT{fixed, along} : POINT{along, fixed};
        if (probe.x < 0 || probe.y < 0 || probe.x >= ScreenWidth || probe.y >= ScreenHeight)
            continue;
        HWND found = TopLevelOf(WindowFromPoint(probe));
        if (found && !Excluded(found, excluded) && found != GetDesktopWindow())
            return found;
    }
    return nullptr;
}

}  // namespace

HWND FirstWindowAlongEdges(const RECT& rect, const std::vector<HWND>& excluded, const WindowEdge* order,
                           int edgeCount)
{
    std::vector<HWND> roots;
    for (HWND window : excluded)
        roots.push_back(TopLevelOf(window));
    for (int i = 0; i < edgeCount; ++i)
        if (HWND found = ProbeEdge(rect, order[i], roots))
            return found;
    return nullptr;
}

HWND FirstWindowAlongEdges(const RECT& rect, HWND exclude, const WindowEdge* order, int edgeCount)
{
    return FirstWindowAlongEdges(rect, std::vector<HWND>{exclude}, order, edgeCount);
}

int CaptionTopInset(HWND window)
{
    RECT frame;
    if (!GetWindowRect(window, &frame))
        return GetSystemMetrics(SM_CYFRAME);
    const int middle = frame.left + (frame.right - frame.left) / 2;
    RECT column = {middle, frame.top, middle + 1, frame.top + CaptionHeight + 1};
    const ScreenSnapshot pixels(column);
    const uint32_t caption = NearestScreenColor(COLOR_ACTIVECAPTION);
    for (int row = frame.top; row < frame.top + CaptionHeight; ++row)
        if (pixels.At(middle, row) == caption && pixels.At(middle, row + 1) == caption)
            return row - frame.top;
    return GetSystemMetrics(SM_CYFRAME);
}

RECT MenuBarRectangle(HWND window)
{
    RECT frame = {0, 0, 0, 0};
    GetWindowRect(window, &frame);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int inset = CaptionTopInset(window);
    RECT bar = {origin.x - 1, frame.top + inset + CaptionHeight - 1, frame.right - inset + 1, origin.y};
    if (bar.bottom - bar.top <= 1) {
        POINT below = {bar.left + 5, bar.bottom + 2};
        HWND separate = WindowFromPoint(below);
        if (separate && separate != window)
            GetWindowRect(separate, &bar);
    }
    return bar;
}
