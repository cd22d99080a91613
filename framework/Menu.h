// Menus: a wrapper owning its menu handle, or a temporary one from
// FromHandle for menus it does not own (dropped when the application idles).
#pragma once

#include "CObject.h"
#include "CString.h"

#include <windows.h>

class CWnd;

class CMenu : public CObject {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() override { DestroyMenu(); }

    HMENU m_hMenu = nullptr;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    static CMenu* FromHandle(HMENU menu);
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL DestroyMenu();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(LPCSTR name);

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int index) const { return ::GetMenuItemID(m_hMenu, index); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, LPSTR text, int max, UINT flags) const
    {
        return ::GetMenuStringA(m_hMenu, item, text, max, flags);
    }
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int index) const { return FromHandle(::GetSubMenu(m_hMenu, index)); }

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr)
    {
        return ::AppendMenuA(m_hMenu, flags, id, text);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr)
    {
        return ::InsertMenuA(m_hMenu, position, flags, id, text);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr)
    {
        return ::ModifyMenuA(m_hMenu, position, flags, id, text);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT EnableMenuItem(UINT item, UINT flags) { return ::EnableMenuItem(m_hMenu, item, flags); }
    UINT CheckMenuItem(UINT item, UINT flags) { return ::CheckMenuItem(m_hMenu, item, flags); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
    {
        return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
    }
    BOOL SetMenuItemBitmaps(UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked)
    {
        return ::SetMenuItemBitmaps(m_hMenu, position, flags, unchecked, checked);
    }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
};

// Drops the temporary menu wrappers (called when the application is idle).
void KfDeleteTempMenus();
