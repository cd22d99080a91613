#include "CommandBars.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CMyMenuBar, CMenuBar)
IMPLEMENT_DYNAMIC(CMyCoolBar, CCoolBar)

void CMyMenuBar::LoadFrameMenu()
{
    HMENU menu = GetMenu();
    if (!menu)
        menu = ::GetMenu(OwnerWindow());
    SetMenuButtons(menu, m_mdiControls.WindowMenu());
}

BOOL CMyCoolBar::OnCreateBands() { return AddMenuAndToolBands(menuBar, toolBar, IDR_MAIN_TOOLBAR); }
