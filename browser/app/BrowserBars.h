// The browser's command bars inside a rebar: the menu bar band above the
// flat toolbar band (made when the common-controls library is newer than
// 4.70).
#pragma once

#include "CoolBar.h"
#include "MenuBar.h"

class CMyCoolBar : public CCoolBar {
    DECLARE_DYNAMIC(CMyCoolBar)
public:
    CMenuBar& MenuBar() { return menuBar_; }
    // The menu bar takes its buttons from the frame's menu.
    void LoadFrameMenu(HWND frame);

protected:
    BOOL OnCreateBands() override;

private:
    CMenuBar menuBar_;
    CFlatToolBar toolBar_;
};
