#include "BrowserBars.h"

#include "BrowserIds.h"

IMPLEMENT_DYNAMIC(CMyCoolBar, CCoolBar)

namespace {

const UINT kBarId = 0xE800;
const DWORD kBandBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOOLTIPS |
                            CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
const int kMenuBandWidth = 2047;
const int kToolBandWidth = 32767;

}  // namespace

void CMyCoolBar::LoadFrameMenu(HWND frame)
{
    HMENU menu = menuBar_.GetMenu();
    menuBar_.SetMenuButtons(menu ? menu : ::GetMenu(frame), nullptr);
}

BOOL CMyCoolBar::OnCreateBands()
{
    if (!menuBar_.Create(this, kBandBarStyle, kBarId) || !AddToolBarBand(menuBar_, kMenuBandWidth, 0, false))
        return FALSE;
    if (!toolBar_.Create(this, kBandBarStyle, kBarId) || !toolBar_.LoadToolBar(IDR_MAINFRAME))
        return FALSE;
    return AddToolBarBand(toolBar_, kToolBandWidth, 2, true);
}
