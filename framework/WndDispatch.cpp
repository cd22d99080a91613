// How a framework window hands its messages to the message table: commands
// and notifications (with reflection to the controls that sent them), and
// plain window messages.
#include "Wnd.h"

namespace {

bool IsControlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// The child a parent-bound message is about, for reflection.
HWND ReflectedChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lParam);
    default:
        if (IsControlColorMessage(message))
            return reinterpret_cast<HWND>(lParam);
        (void)wParam;
        return nullptr;
    }
}

KfMessageCall MakeCall(UINT message, WPARAM wParam, LPARAM lParam)
{
    KfMessageCall call{};
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    // All control-colour messages share one entry; the handler gets the kind.
    if (IsControlColorMessage(message)) {
        call.message = WM_CTLCOLORSTATIC;
        call.id = message - WM_CTLCOLORMSGBOX;
    }
    return call;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header && OnNotify(wParam, lParam, result);
    }
    if (HWND child = ReflectedChild(m_hWnd, message, wParam, lParam)) {
        CWnd* control = FromHandlePermanent(child);
        if (control && control != this && control->OnChildNotify(message, wParam, lParam, result))
            return TRUE;
    }
    KfMessageCall call = MakeCall(message, wParam, lParam);
    if (!DispatchToTable(call))
        return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control) {
        CWnd* child = FromHandlePermanent(control);
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    } else {
        code = CN_COMMAND;   // a menu item or an accelerator
    }
    return OnCmdMsg(id, static_cast<int>(code), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child && child != this && child->OnChildNotify(WM_NOTIFY, 0, lParam, result))
        return TRUE;
    KfNotifyArgs args{header, result};
    return OnCmdMsg(static_cast<UINT>(header->idFrom), static_cast<int>(MAKELONG(header->code, WM_NOTIFY)), &args,
                    nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    KfMessageCall call = MakeCall(message, wParam, lParam);
    call.message += WM_REFLECT_BASE;
    if (message == WM_COMMAND) {
        call.code = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        call.code = header->code;
        call.id = static_cast<UINT>(header->idFrom);
        call.extra = header;
    }
    if (!DispatchToTable(call))
        return FALSE;
    if (result)
        *result = call.result;
    return TRUE;
}
