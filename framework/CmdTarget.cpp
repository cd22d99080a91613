#include "CmdTarget.h"

#include "Menu.h"
#include "Wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const KfMessageMap* CCmdTarget::GetThisMessageMap()
{
    static const KfMessageEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const KfMessageMap map = {nullptr, entries};
    return &map;
}

const KfMessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

bool IsCommandMessage(UINT message)
{
    return message == WM_COMMAND || message == WM_REFLECT_BASE + WM_COMMAND;
}

bool IsNotifyMessage(UINT message)
{
    return message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_NOTIFY;
}

// Commands match by code and id range, notifications by the low word of
// their code (the routed form keeps only that) and id range; reflected
// entries carry no id. Other messages match by message alone.
bool EntryTakes(const KfMessageEntry& entry, const KfMessageCall& call)
{
    if (entry.message != call.message)
        return false;
    bool reflected = call.message >= WM_REFLECT_BASE;
    if (IsCommandMessage(call.message)) {
        if (entry.code != call.code)
            return false;
    } else if (IsNotifyMessage(call.message)) {
        if (LOWORD(entry.code) != LOWORD(call.code))
            return false;
    } else {
        return true;
    }
    return reflected || (call.id >= entry.firstId && call.id <= entry.lastId);
}

} // namespace

BOOL CCmdTarget::DispatchToTable(KfMessageCall& call, BOOL probeOnly)
{
    for (const KfMessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const KfMessageEntry* entry = map->entries; entry->thunk; ++entry) {
            if (!EntryTakes(*entry, call))
                continue;
            if (probeOnly)
                return TRUE;
            if (entry->thunk(this, call))
                return TRUE;
            // An "_EX" handler declined: look further.
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    KfMessageCall call{};
    call.id = id;
    KfNotifyArgs* notify = nullptr;
    if (code != static_cast<int>(CN_UPDATE_COMMAND_UI) && HIWORD(code) == WM_NOTIFY) {
        notify = static_cast<KfNotifyArgs*>(extra);
        call.message = WM_NOTIFY;
        call.code = LOWORD(code);
        call.extra = notify ? notify->header : nullptr;
    } else {
        call.message = WM_COMMAND;
        call.code = static_cast<UINT>(code);
        call.extra = extra;
    }
    if (handlerInfo)
        return DispatchToTable(call, TRUE);
    if (notify && !notify->header)
        return FALSE;

    CCmdUI* cmdUI = call.code == CN_UPDATE_COMMAND_UI ? static_cast<CCmdUI*>(extra) : nullptr;
    if (cmdUI)
        cmdUI->m_bContinueRouting = FALSE;
    if (!DispatchToTable(call))
        return FALSE;
    if (notify && notify->result)
        *notify->result = call.result;
    if (cmdUI && cmdUI->m_bContinueRouting) {
        cmdUI->m_bContinueRouting = FALSE;
        return FALSE;
    }
    return TRUE;
}

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu) {
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // A control losing the focus while disabled would leave the dialog
        // without one: move it on first.
        if (!on && ::GetFocus() == m_pOther->m_hWnd)
            ::SendMessageA(::GetParent(m_pOther->m_hWnd), WM_NEXTDLGCTL, 0, FALSE);
        ::EnableWindow(m_pOther->m_hWnd, on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int state)
{
    if (m_pMenu) {
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (state ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        LRESULT code = ::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0);
        if (code & DLGC_BUTTON)
            ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, state, 0);
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (!m_pMenu) {
        SetCheck(on ? 1 : 0);
        return;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info))
        return;
    info.fType = on ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
    info.fState = on ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
    ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
}

void CCmdUI::SetText(LPCSTR text)
{
    if (m_pMenu) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPSTR>(text ? text : "");
        ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther) {
        ::SetWindowTextA(m_pOther->m_hWnd, text ? text : "");
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    // System commands belong to the system menu, not to any table.
    if (m_nID == 0 || m_nID >= 0xF000)
        return TRUE;
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        int probe = 0;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &probe));
    }
    return handled;
}

void CCmdUI::UpdateMenuItems(CMenu* popup, CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (!popup || !popup->m_hMenu || !target)
        return;
    CCmdUI state;
    state.m_pMenu = popup;
    int count = ::GetMenuItemCount(popup->m_hMenu);
    for (int index = 0; index < count; ++index) {
        UINT id = ::GetMenuItemID(popup->m_hMenu, index);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;   // separators and submenus
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(index);
        state.m_nIndexMax = static_cast<UINT>(count);
        state.DoUpdate(target, disableIfNoHandler);
        int now = ::GetMenuItemCount(popup->m_hMenu);
        if (now < 0)
            return;
        index += now - count;   // past the items the handler put in its place
        count = now;
    }
}
