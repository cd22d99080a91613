// Child windows made from dialog templates (form views, dialog bars): the
// template is copied with its styles made those of a child, and the window
// gets a dialog procedure that leaves everything to the framework object
// that subclasses it right after.
#include "ControlBars.h"

#include <cstring>
#include <vector>

namespace {

INT_PTR CALLBACK ChildDialogProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A sizing border stays: a bar may be sized at its edge.
const DWORD kTopLevelStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_DISABLED | DS_MODALFRAME |
                              DS_SYSMODAL | DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE;

} // namespace

HWND KfCreateChildDialog(LPCSTR templateName, CWnd* parent)
{
    if (!parent || !parent->m_hWnd)
        return nullptr;
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, templateName, MAKEINTRESOURCEA(5));   // RT_DIALOG
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    DWORD size = resource ? ::SizeofResource(instance, resource) : 0;
    const DWORD kMaxTemplate = 1u << 20;   // far above any dialog
    if (!data || size < 18 || size > kMaxTemplate)
        return nullptr;
    // DWORD-aligned copy, as the system wants templates.
    std::vector<DWORD> copy((size + 3) / 4, 0);
    std::memcpy(copy.data(), data, size);
    BYTE* bytes = reinterpret_cast<BYTE*>(copy.data());
    WORD signature;
    std::memcpy(&signature, bytes + 2, sizeof signature);
    size_t styleOffset = signature == 0xFFFF ? 12 : 0;   // extended template or plain
    DWORD style;
    std::memcpy(&style, bytes + styleOffset, sizeof style);
    style = (style & ~kTopLevelStyles) | WS_CHILD | DS_CONTROL;
    std::memcpy(bytes + styleOffset, &style, sizeof style);
    return ::CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(bytes), parent->m_hWnd,
                                        ChildDialogProcedure, 0);
}

BOOL KfAttachChildDialog(CWnd* window, LPCSTR templateName, CWnd* parent, UINT id)
{
    HWND dialog = KfCreateChildDialog(templateName, parent);
    if (!dialog)
        return FALSE;
    if (!window->SubclassWindow(dialog)) {
        ::DestroyWindow(dialog);
        return FALSE;
    }
    window->SetDlgCtrlID(static_cast<int>(id));
    return TRUE;
}

BOOL KfPreTranslateChildDialog(CWnd* window, MSG* msg)
{
    for (CFrameWnd* frame = window->GetParentFrame(); frame; frame = frame->GetParentFrame()) {
        if (frame->PreTranslateMessage(msg))
            return TRUE;
    }
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageA(window->m_hWnd, msg) ? TRUE : FALSE;
}
