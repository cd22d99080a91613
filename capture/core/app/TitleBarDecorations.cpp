// The snapshot strip and the clock, drawn straight onto the screen into the
// caption of the window in front by the main frame's 100 ms timer. The
// button faces and the strip are prepared bitmaps, so a timer pass is one or
// two screen copies, a few WindowFromPoint probes and pixel reads.
#include "TitleBarDecorations.h"

#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "../../../hook/Kapthook.h"
#include "CaptureDispatch.h"
#include "CaptureState.h"
#include "ScreenProbes.h"
#include "Settings.h"
#include "TitleBarLayout.h"

namespace {

// The prepared faces, strip and clock font; deleted when the program ends.
struct StripBitmaps {
    HBITMAP up[6] = {};
    HBITMAP down[6] = {};
    HBITMAP strip = nullptr;
    HFONT clockFont = nullptr;
    int slotTypes[6] = {};
    int slotButtons[6] = {};   // which button (0 Screen ... 5 Command Bar) each slot shows
    int slotCount = 0;
    int stripWidth = 0;
    bool built = false;

    void Free()
    {
        for (int i = 0; i < 6; ++i) {
            if (up[i])
                ::DeleteObject(up[i]);
            if (down[i])
                ::DeleteObject(down[i]);
            up[i] = down[i] = nullptr;
        }
        if (strip)
            ::DeleteObject(strip);
        if (clockFont)
            ::DeleteObject(clockFont);
        strip = nullptr;
        clockFont = nullptr;
        slotCount = stripWidth = 0;
        built = false;
    }
    ~StripBitmaps() { Free(); }
};

StripBitmaps Strip;
RECT StripRect = {0, 0, 0, 0};   // screen pixels, where the strip was last drawn
HWND TrackedWindow = nullptr;
HWND StripWindow = nullptr;      // the window the strip was last drawn on

void BuildSnapshotStrip();

// The settings store rebuilds the strip through this after the snapshot
// button settings or the metrics change; the old strip's place is
// forgotten at once, by the hook library too.
struct RebuilderInstaller {
    RebuilderInstaller()
    {
        SnapshotStripRebuilder = [] {
            Strip.built = false;
            SetRectEmpty(&StripRect);
            PassSnapRect(&StripRect);
        };
    }
} InstallRebuilder;

void EnsureBuilt()
{
    if (!Strip.built)
        BuildSnapshotStrip();
}

int MajorVersion() { return LOBYTE(LOWORD(WindowsVersion)); }

COLORREF FaceColor() { return ButtonColors ? ButtonColors : ::GetSysColor(COLOR_BTNFACE); }

void DrawLine(HDC dc, HPEN pen, std::initializer_list<POINT> points)
{
    HGDIOBJ old = ::SelectObject(dc, pen);
    const POINT* p = points.begin();
    ::MoveToEx(dc, p->x, p->y, nullptr);
    for (++p; p != points.end(); ++p)
        ::LineTo(dc, p->x, p->y);
    ::SelectObject(dc, old);
}

// A monochrome 7 x 7 bitmap of a glyph (rows word-aligned).
HBITMAP GlyphBitmap(int button)
{
    const uint8_t* rows = SnapshotGlyph(button);
    uint8_t bits[14] = {};
    for (int y = 0; y < 7; ++y)
        bits[2 * y] = rows[y];
    return ::CreateBitmap(7, 7, 1, 1, bits);
}

// One button face, up or pressed, in a display-compatible bitmap.
HBITMAP BuildFace(HDC screen, int button, bool pressed)
{
    const int w = SnapshotButtonWidth, h = SnapshotButtonHeight;
    HBITMAP face = ::CreateCompatibleBitmap(screen, w, h);
    HDC dc = ::CreateCompatibleDC(screen);
    HDC glyphDc = ::CreateCompatibleDC(screen);
    HBITMAP glyph = GlyphBitmap(button);
    if (!face || !dc || !glyphDc || !glyph) {
        if (face)
            ::DeleteObject(face);
        face = nullptr;
    } else {
        HGDIOBJ oldFace = ::SelectObject(dc, face);
        HBRUSH brush = ::CreateSolidBrush(FaceColor());
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::Rectangle(dc, 0, 0, w, h);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(brush);
        HPEN highlight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
        if (!pressed) {
            DrawLine(dc, highlight, {{0, h - 2}, {0, 0}, {w - 1, 0}});
            DrawLine(dc, shadow, {{w - 2, 1}, {w - 2, h - 2}, {0, h - 2}});
        } else {
            DrawLine(dc, highlight, {{0, h - 1}, {w - 1, h - 1}, {w - 1, -1}});
            DrawLine(dc, shadow, {{w - 3, 1}, {1, 1}, {1, h - 2}});
        }
        ::DeleteObject(highlight);
        ::DeleteObject(shadow);
        // Set glyph bits blacken the face (destination AND NOT source).
        HGDIOBJ oldGlyph = ::SelectObject(glyphDc, glyph);
        const int shift = pressed ? 1 : 0;
        ::BitBlt(dc, (w - 7) / 2 + shift, (h - 7) / 2 + shift, 7, 7, glyphDc, 0, 0, 0x220326);
        ::SelectObject(glyphDc, oldGlyph);
        ::SelectObject(dc, oldFace);
    }
    if (glyph)
        ::DeleteObject(glyph);
    if (glyphDc)
        ::DeleteDC(glyphDc);
    if (dc)
        ::DeleteDC(dc);
    return face;
}

void BuildSnapshotStrip()
{
    Strip.Free();
    Strip.built = true;
    SetRectEmpty(&StripRect);
    PassSnapRect(&StripRect);
    Strip.clockFont = ::CreateFontA(-ClockFontHeight, 0, 0, 0, ClockFontWeight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                    ClockFontFace);
    const int w = SnapshotButtonWidth, h = SnapshotButtonHeight;
    if (w < 1 || h < 1)
        return;
    HDC screen = ::GetDC(nullptr);
    for (int button = 0; button < 6; ++button) {
        Strip.up[button] = BuildFace(screen, button, false);
        Strip.down[button] = BuildFace(screen, button, true);
    }
    int count = 0;
    for (int button = 0; button < 6; ++button)
        if (SnapshotButton[button] && Strip.up[button])
            Strip.slotButtons[count++] = button;
    int enabled[kSnapshotButtonCount] = {};
    for (int slot = 0; slot < count; ++slot)
        enabled[Strip.slotButtons[slot]] = 1;
    Strip.slotCount = SnapshotSlotTypes(enabled, Strip.slotTypes);
    if (count > 0)
        Strip.strip = ::CreateCompatibleBitmap(screen, count * w, h);
    if (Strip.strip) {
        HDC stripDc = ::CreateCompatibleDC(screen);
        HDC faceDc = ::CreateCompatibleDC(screen);
        HGDIOBJ oldStrip = ::SelectObject(stripDc, Strip.strip);
        for (int slot = 0; slot < count; ++slot) {
            HGDIOBJ oldFace = ::SelectObject(faceDc, Strip.up[Strip.slotButtons[slot]]);
            ::BitBlt(stripDc, slot * w, 0, w, h, faceDc, 0, 0, SRCCOPY);
            ::SelectObject(faceDc, oldFace);
        }
        ::SelectObject(stripDc, oldStrip);
        ::DeleteDC(faceDc);
        ::DeleteDC(stripDc);
        Strip.stripWidth = count * w;
    } else {
        Strip.slotCount = 0;
    }
    ::ReleaseDC(nullptr, screen);
}

// Rows from the window's top edge to its caption: where the middle column
// first shows two pixels of the active caption colour, else the frame.
int TopInset(HWND window, const RECT& frame)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF caption = ::GetNearestColor(screen, ::GetSysColor(COLOR_ACTIVECAPTION));
    const int x = (frame.left + frame.right) / 2;
    int inset = -1;
    COLORREF above = ::GetPixel(screen, x, frame.top);
    for (int row = 0; row < CaptionHeight && inset < 0; ++row) {
        const COLORREF below = ::GetPixel(screen, x, frame.top + row + 1);
        if (above == caption && below == caption)
            inset = row;
        above = below;
    }
    ::ReleaseDC(nullptr, screen);
    (void)window;
    return inset >= 0 ? inset : ::GetSystemMetrics(SM_CYFRAME);
}

int CaptionButtons(HWND window)
{
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    const CaptionStyle caption = {(style & WS_SYSMENU) != 0, (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0,
                                  (exStyle & WS_EX_CONTEXTHELP) != 0};
    return CaptionButtonsWidth(caption, MajorVersion(), CaptionHeight);
}

// Nothing covers the rectangle: the window itself is under its corners and
// the middles of its top and bottom edges.
bool Uncovered(HWND window, const RECT& r)
{
    const LONG right = r.right - 1, bottom = r.bottom - 1, middle = (r.left + r.right) / 2;
    const POINT probes[6] = {{r.left, r.top}, {r.left, bottom}, {right, bottom},
                             {right, r.top},  {middle, r.top}, {middle, bottom}};
    for (const POINT& p : probes)
        if (::WindowFromPoint(p) != window)
            return false;
    return true;
}

// The strip's pixels as a screen copy gives them (0x00BBGGRR, top row
// first).
std::vector<uint32_t> StripPixels()
{
    const int width = Strip.stripWidth, height = SnapshotButtonHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size_t(width) * height);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, Strip.strip, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    for (uint32_t& quad : pixels)   // blue, green, red quads
        quad = ((quad & 0xFF) << 16) | (quad & 0xFF00) | ((quad >> 16) & 0xFF);
    return pixels;
}

// Whether the screen still shows the strip where it was last drawn.
bool StripOnScreen(const std::vector<uint32_t>& strip)
{
    const ScreenSnapshot shown(StripRect);
    const int width = StripRect.right - StripRect.left;
    for (size_t i = 0; i < strip.size(); ++i)
        if (shown.At(StripRect.left + int(i % width), StripRect.top + int(i / width)) != strip[i])
            return false;
    return true;
}

// Another program paints its caption when asked, but under Wine what it
// paints reaches the screen only when it next flushes its drawing, on a
// busy machine after the screen was frozen for the capture. So the strip
// is waited for to leave the screen, for a moment at most.
void WaitUntilStripLeavesScreen()
{
    constexpr DWORD kLongestWaitMs = 500;
    if (!Strip.strip || ::IsRectEmpty(&StripRect) || StripRect.right - StripRect.left != Strip.stripWidth ||
        StripRect.bottom - StripRect.top != SnapshotButtonHeight)
        return;
    const std::vector<uint32_t> strip = StripPixels();
    const DWORD start = ::GetTickCount();
    while (StripOnScreen(strip) && ::GetTickCount() - start < kLongestWaitMs)
        ::Sleep(10);
}

void CopyToScreen(HBITMAP bitmap, int x, int y, int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::BitBlt(screen, x, y, width, height, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

void RedrawFrame(HWND window, UINT extraFlags)
{
    if (window && ::IsWindow(window))
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | extraFlags);
}

bool StripHiddenForCapture() { return DecorationsSuspended && SnapshotButton[kSnapHideInCapture]; }

} // namespace

HWND TrackForegroundWindow()
{
    HWND window = ::GetForegroundWindow();
    if (window && (!::IsWindowVisible(window) || ::IsIconic(window) ||
                   (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION) == 0))
        window = nullptr;
    if (window != TrackedWindow) {
        RedrawFrame(TrackedWindow, SWP_NOACTIVATE);
        TrackedWindow = window;
    }
    return window;
}

void DrawSnapshotButtonStrip(HWND window)
{
    EnsureBuilt();
    if (!window || ModalBusy || Strip.stripWidth == 0 || CurrentCapture.stripPressed)
        return;
    RECT frame;
    if (!::GetWindowRect(window, &frame))
        return;
    const int inset = TopInset(window, frame);
    const int x = frame.right - inset - Strip.stripWidth - CaptionButtons(window);
    if (x < frame.left)
        return;
    const int top = frame.top + inset + (CaptionHeight - SnapshotButtonHeight) / 2;
    SetRect(&StripRect, x, top, x + Strip.stripWidth, top + SnapshotButtonHeight);
    if (Uncovered(window, StripRect)) {
        CopyToScreen(Strip.strip, x, top, Strip.stripWidth, SnapshotButtonHeight);
        StripWindow = window;
        PassSnapRect(&StripRect);
    } else {
        const RECT none = {0, 0, 0, 0};
        PassSnapRect(&none);
    }
}

void DrawTitleBarClock(HWND window)
{
    if (!window || (!Clock[kClockTime] && !Clock[kClockDate]))
        return;
    CString date, time;
    FormatTimeStamp(static_cast<long>(::time(nullptr)), date, time);
    std::string text = Clock[kClockTime] ? static_cast<LPCSTR>(time) : "";
    if (Clock[kClockDate])
        text += (text.empty() ? "" : " ") + std::string(static_cast<LPCSTR>(date));
    RECT frame;
    if (!::GetWindowRect(window, &frame))
        return;
    EnsureBuilt();
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ oldFont = Strip.clockFont ? ::SelectObject(dc, Strip.clockFont) : nullptr;
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int inset = TopInset(window, frame);
    int x = frame.right - extent.cx - inset - 4 - CaptionButtons(window);
    if (!StripHiddenForCapture() && !ModalBusy)
        x -= Strip.stripWidth;
    const int y = frame.top + inset + (CaptionHeight - extent.cy) / 2;
    const RECT box = {x, y, x + extent.cx + 4, y + extent.cy};
    HBITMAP bitmap = nullptr;
    if (x >= frame.left && extent.cx > 0 && Uncovered(window, box))
        bitmap = ::CreateCompatibleBitmap(screen, extent.cx + 4, extent.cy);
    if (bitmap) {
        HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
        const RECT all = {0, 0, extent.cx + 4, extent.cy};
        HBRUSH background = ::CreateSolidBrush(::GetSysColor(COLOR_ACTIVECAPTION));
        ::FillRect(dc, &all, background);
        ::DeleteObject(background);
        ::SetTextColor(dc, COLORREF(Clock[kClockColor]));
        ::SetBkMode(dc, TRANSPARENT);
        ::TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
        ::BitBlt(screen, x, y, extent.cx + 4, extent.cy, dc, 0, 0, SRCCOPY);
        ::SelectObject(dc, oldBitmap);
        ::DeleteObject(bitmap);
    }
    if (oldFont)
        ::SelectObject(dc, oldFont);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

void HitTestSnapshotButtons()
{
    EnsureBuilt();
    POINT cursor;
    if (!::GetCursorPos(&cursor) || Strip.slotCount == 0 || IsRectEmpty(&StripRect))
        return;
    if (cursor.y < StripRect.top || cursor.y >= StripRect.bottom || cursor.x < StripRect.left)
        return;
    const int slot = (cursor.x - StripRect.left) / SnapshotButtonWidth;
    if (slot >= Strip.slotCount)
        return;
    CopyToScreen(Strip.down[Strip.slotButtons[slot]], StripRect.left + slot * SnapshotButtonWidth, StripRect.top,
                 SnapshotButtonWidth, SnapshotButtonHeight);
    CurrentCapture.pressedSlot = slot;
}

int SnapshotSlotCaptureType(int slot)
{
    int types[6];
    const int count = SnapshotSlotTypes(SnapshotButton, types);
    return slot >= 0 && slot < count ? types[slot] : 0;
}

void RedrawTitleBarDecorations()
{
    EnsureBuilt();
    const bool clockShown = Clock[kClockTime] || Clock[kClockDate];
    if (!Clock[kClockHideInCapture] && !SnapshotButton[kSnapHideInCapture])
        return;
    if (Strip.stripWidth == 0 && !clockShown)
        return;
    HWND window = CurrentCapture.startWindow;
    // The caption must be repainted before this call returns, so that a
    // screen frozen next never holds the decorations. Only the frame change
    // waits for another program's window to repaint; a window of this
    // thread repaints at once, and a frame change would lay it out again
    // for nothing. The decorations live in the caption: the window's
    // children stay valid (a main window without WS_CLIPCHILDREN would
    // otherwise have every bar and image window painted again, the folder
    // tree synchronously when the new image window takes the focus).
    const bool otherThread = window && ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId();
    if (otherThread)
        RedrawFrame(window, 0);
    if (window && ::IsWindow(window))
        ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    if (otherThread && StripHiddenForCapture() && StripWindow == window)
        WaitUntilStripLeavesScreen();
    if (!Clock[kClockHideInCapture] && clockShown)
        DrawTitleBarClock(window);
    if (!SnapshotButton[kSnapHideInCapture] && Strip.stripWidth)
        DrawSnapshotButtonStrip(window);
}

void RebuildSnapshotButtons()
{
    BuildSnapshotStrip();
    RedrawFrame(TrackedWindow, SWP_NOACTIVATE);
    if (StripWindow != TrackedWindow)
        RedrawFrame(StripWindow, SWP_NOACTIVATE);
    StripWindow = nullptr;
}

void DrawSnapshotButtonFace(HDC dc, int button, int x, int y)
{
    EnsureBuilt();
    if (button < 0 || button >= 6 || !Strip.up[button])
        return;
    HDC faceDc = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(faceDc, Strip.up[button]);
    ::BitBlt(dc, x, y, SnapshotButtonWidth, SnapshotButtonHeight, faceDc, 0, 0, SRCCOPY);
    ::SelectObject(faceDc, old);
    ::DeleteDC(faceDc);
}

void FormatTimeStamp(long stamp, CString& dateText, CString& timeText)
{
    const time_t seconds = stamp;
    struct tm local = {};
    std::string date, time;
    if (const struct tm* converted = localtime(&seconds)) {
        local = *converted;
        FormatClockTexts(Clock, local, date, time);
    }
    dateText = date.c_str();
    timeText = time.c_str();
}

HBITMAP SnapshotButtonFace(int button)
{
    if (button < 0 || button >= 6)
        return nullptr;
    EnsureBuilt();
    return Strip.up[button];
}
