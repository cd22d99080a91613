// The recent-file list in the File menu: its entries replace the
// placeholder item, numbered from 1.
#include "CmdTarget.h"
#include "Menu.h"
#include "RecentFileList.h"

void CRecentFileList::UpdateMenu(CCmdUI* cmdUI)
{
    CMenu* menu = cmdUI ? cmdUI->m_pMenu : nullptr;
    if (!menu || !menu->m_hMenu)
        return;
    if (m_strOriginal.IsEmpty())
        menu->GetMenuString(cmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    int position = static_cast<int>(cmdUI->m_nIndex);
    // Every entry shown last time goes; the placeholder holds the first id.
    for (int i = 0; i < m_nSize; ++i)
        menu->DeleteMenu(m_nStart + static_cast<UINT>(i), MF_BYCOMMAND);

    char folder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof folder, folder);
    int shown = 0;
    for (int i = 0; i < m_nSize; ++i) {
        CString name;
        if (!GetDisplayName(name, i, folder))
            continue;
        menu->InsertMenu(static_cast<UINT>(position + shown), MF_STRING | MF_BYPOSITION,
                         m_nStart + static_cast<UINT>(i), KfRecentMenuText(i, name));
        ++shown;
    }
    if (shown == 0) {
        menu->InsertMenu(static_cast<UINT>(position), MF_STRING | MF_BYPOSITION | MF_GRAYED, m_nStart,
                         m_strOriginal);
        cmdUI->m_nIndex = static_cast<UINT>(position);
        cmdUI->Enable(FALSE);
    }
    cmdUI->m_nIndexMax = static_cast<UINT>(menu->GetMenuItemCount());
}
