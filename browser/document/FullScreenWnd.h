// The selected image alone on the whole screen, centred on the background
// colour. A key or a mouse button closes it.
#pragma once

#include "../../framework/Wnd.h"

class DisplayImage;

class XWndFullScreen : public CWnd {
public:
    explicit XWndFullScreen(DisplayImage* image) : image_(image) {}
    BOOL Open();

    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Hands the closing to the main window's Full Screen View, which
    // destroys this window and object outside this window's own handler.
    void RequestClose();
    DisplayImage* image_;
    bool closing_ = false;
};
