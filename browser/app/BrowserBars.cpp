#include "BrowserBars.h"

#include "BrowserIds.h"

IMPLEMENT_DYNAMIC(CMyCoolBar, CCoolBar)

void CMyCoolBar::LoadFrameMenu(HWND frame)
{
    HMENU menu = menuBar_.GetMenu();
    menuBar_.SetMenuButtons(menu ? menu : ::GetMenu(frame), nullptr);
}

BOOL CMyCoolBar::OnCreateBands() { return AddMenuAndToolBands(menuBar_, toolBar_, IDR_MAINFRAME); }
