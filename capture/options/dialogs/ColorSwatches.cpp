#include "ColorSwatches.h"

#include "AuxWindows.h"

const COLORREF StandardColors[kStandardColorCount] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

namespace {

// The swatch's index in the table, -1 for an id outside it.
int SwatchIndex(HWND window)
{
    const int index = ::GetDlgCtrlID(window) - kSwatchFirstId;
    return index >= 0 && index < kStandardColorCount ? index : -1;
}

COLORREF SwatchColor(HWND window)
{
    const int index = SwatchIndex(window);
    return index >= 0 ? StandardColors[index] : ::GetSysColor(COLOR_BTNFACE);
}

void DrawFocusOver(HWND window)
{
    RECT inside;
    ::GetClientRect(window, &inside);
    HDC dc = ::GetDC(window);
    ::DrawFocusRect(dc, &inside);
    ::ReleaseDC(window, dc);
}

HWND PaletteWindows[kStandardColorCount];
int SelectedPalette = -1;

void SelectPaletteSwatch(HWND window)
{
    const int index = SwatchIndex(window);
    if (index < 0 || index == SelectedPalette)
        return;
    // A focus rectangle drawn again over itself goes away.
    if (SelectedPalette >= 0 && ::IsWindow(PaletteWindows[SelectedPalette]))
        DrawFocusOver(PaletteWindows[SelectedPalette]);
    SelectedPalette = index;
    DrawFocusOver(window);
}

void PaintPaletteSwatch(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT inside;
    ::GetClientRect(window, &inside);
    ::FillRect(dc, &inside, ::GetSysColorBrush(COLOR_BTNFACE));
    HBRUSH brush = ::CreateSolidBrush(SwatchColor(window));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::Rectangle(dc, inside.left + 3, inside.top + 3, inside.right - 3, inside.bottom - 3);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
    if (SwatchIndex(window) >= 0 && SwatchIndex(window) == SelectedPalette)
        ::DrawFocusRect(dc, &inside);
    ::EndPaint(window, &paint);
}

}  // namespace

void InstallSwatchProcedures()
{
    SetHelperWindowProcedure(kBlackWhiteSwatchClass, ColorSwatchWndProc);
    SetHelperWindowProcedure(kPaletteSwatchClass, PaletteSwatchWndProc);
}

LRESULT CALLBACK ColorSwatchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return ::DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT inside;
    ::GetClientRect(window, &inside);
    HBRUSH brush = ::CreateSolidBrush(SwatchColor(window));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::Rectangle(dc, inside.left, inside.top, inside.right, inside.bottom);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
    ::EndPaint(window, &paint);
    return 0;
}

LRESULT CALLBACK PaletteSwatchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (SwatchIndex(window) >= 0)
            PaletteWindows[SwatchIndex(window)] = window;
        break;
    case WM_SETFOCUS:
    case WM_LBUTTONDOWN:
        SelectPaletteSwatch(window);
        break;
    case WM_PAINT:
        PaintPaletteSwatch(window);
        return 0;
    case WM_DESTROY:
        if (SwatchIndex(window) >= 0 && PaletteWindows[SwatchIndex(window)] == window) {
            PaletteWindows[SwatchIndex(window)] = nullptr;
            if (SelectedPalette == SwatchIndex(window))
                SelectedPalette = -1;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

int SelectedPaletteSwatch() { return SelectedPalette; }
