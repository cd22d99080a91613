// The full-screen view: a borderless topmost window over the whole screen
// showing the active document's images centred on the view background,
// until a key or a mouse button is pressed. At most one exists.
#pragma once

#include "../../../framework/Wnd.h"

class XWndFullScreenView : public CWnd {
    DECLARE_DYNCREATE(XWndFullScreenView)
public:
    // Creates the window (hidden until shown).
    XWndFullScreenView();
    ~XWndFullScreenView() override;

    // The one view now open, or null.
    static XWndFullScreenView* Current;
    // Opens the view, or closes the one that is open.
    static void Toggle();

protected:
    // The object goes with its window, after the window's last message.
    void PostNcDestroy() override;

    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
