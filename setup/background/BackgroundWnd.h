// The screen-sized window behind the installer's wizard: a tiled picture
// with the installer's title.
#pragma once

#include "Wnd.h"

class XWndBackground : public CWnd {
public:
    // Creates, shows and paints the window over the whole screen.
    BOOL CreateOverScreen();

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};

// Tiles the bitmap over width x height from (0, 0); the last column and row
// are cut at the edges.
void TileBitmap(HDC dc, HBITMAP tile, int width, int height);
