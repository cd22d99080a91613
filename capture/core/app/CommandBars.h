// The capture program's command bars inside a rebar: the menu bar band
// above the flat toolbar band (made when the common-controls library is
// newer than 4.70).
#pragma once

#include "CoolBar.h"
#include "MenuBar.h"

class CMyMenuBar : public CMenuBar {
    DECLARE_DYNAMIC(CMyMenuBar)
public:
    // The buttons of the frame menu the bar holds (the frame's own before
    // any image window opens).
    void LoadFrameMenu();
};

class CMyCoolBar : public CCoolBar {
    DECLARE_DYNAMIC(CMyCoolBar)
public:
    CMyMenuBar& MenuBar() { return menuBar; }
    CFlatToolBar& ToolBar() { return toolBar; }

protected:
    BOOL OnCreateBands() override;

private:
    CFlatToolBar toolBar;
    CMyMenuBar menuBar;
};
