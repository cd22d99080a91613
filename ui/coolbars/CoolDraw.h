// Drawing routines the owner-drawn menus, the flat toolbar and the menu bar
// share: the dithered "checked" background, the embossed "disabled" image,
// system-coloured bitmaps and window rectangles.
#pragma once

#include <windows.h>
#include <commctrl.h>

// A bitmap resource of the resource module with its standard button colours
// replaced by the current system colours; null when it is missing.
HBITMAP LoadSysColorBitmapResource(LPCSTR name);
// A solid fill of the rectangle.
void FillRectColour(HDC dc, const RECT& rect, COLORREF colour);
// A one-pixel checkerboard of the button highlight and face colours.
void FillDitheredRect(HDC dc, const RECT& rect);
// Image `index` of the list drawn in the disabled (embossed) style at (x, y):
// its dark pixels in the highlight colour one pixel down-right, then in the
// shadow colour. `colour`: the mask is made from a colour copy (else mono).
void DrawEmbossedImage(HDC dc, HIMAGELIST images, int index, int x, int y, BOOL colour);

// GetWindowRectByMode modes.
enum WindowRectMode {
    kClientRect = 0,             // client rectangle, client coordinates
    kClientRectOnScreen = 1,     // client rectangle, screen coordinates
    kWindowRect = 2,             // window rectangle, screen coordinates
    kWindowRectInClient = 3,     // window rectangle, the window's client coordinates
    kFirstChildWindowRect = 4,   // the first child's window rectangle, screen coordinates
};
void GetWindowRectByMode(RECT& rect, HWND window, int mode);
