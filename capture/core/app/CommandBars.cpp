#include "CommandBars.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CMyMenuBar, CMenuBar)
IMPLEMENT_DYNAMIC(CMyCoolBar, CCoolBar)

namespace {

const UINT kBarId = 0xE800;
const DWORD kBandBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOOLTIPS |
                            CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
const int kMenuBandWidth = 2047;
const int kToolBandWidth = 32767;

} // namespace

void CMyMenuBar::LoadFrameMenu()
{
    HMENU menu = GetMenu();
    if (!menu)
        menu = ::GetMenu(OwnerWindow());
    SetMenuButtons(menu, m_mdiControls.WindowMenu());
}

BOOL CMyCoolBar::OnCreateBands()
{
    if (!menuBar.Create(this, kBandBarStyle, kBarId) || !AddToolBarBand(menuBar, kMenuBandWidth, 0, false))
        return FALSE;
    if (!toolBar.Create(this, kBandBarStyle, kBarId) || !toolBar.LoadToolBar(IDR_MAIN_TOOLBAR))
        return FALSE;
    return AddToolBarBand(toolBar, kToolBandWidth, 2, true);
}
