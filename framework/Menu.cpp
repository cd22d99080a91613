#include "Menu.h"

#include "Wnd.h"

#include <map>
#include <memory>

namespace {

std::map<HMENU, std::unique_ptr<CMenu>>& TempMenus()
{
    static std::map<HMENU, std::unique_ptr<CMenu>> table;
    return table;
}

} // namespace

void KfDeleteTempMenus()
{
    for (auto& entry : TempMenus())
        entry.second->Detach();
    TempMenus().clear();
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu)
        return nullptr;
    auto& table = TempMenus();
    auto found = table.find(menu);
    if (found != table.end())
        return found->second.get();
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = menu;
    CMenu* result = wrapper.get();
    table.emplace(menu, std::move(wrapper));
    return result;
}

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu)
        return FALSE;
    DestroyMenu();
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(UINT id) { return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id))); }
BOOL CMenu::LoadMenu(LPCSTR name) { return Attach(::LoadMenuA(AfxGetResourceHandle(), name)); }

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    char buffer[256] = {};
    int length = ::GetMenuStringA(m_hMenu, item, buffer, sizeof(buffer), flags);
    text = buffer;
    return length;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}
