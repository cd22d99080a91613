#include "FolderTreeCtrl.h"

namespace {

const UINT WM_FOCUS_LEFT = WM_APP + 1;

}  // namespace

BEGIN_MESSAGE_MAP(XFolderTreeCtrl, CTreeCtrl)
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_WM_PAINT()
    ON_MESSAGE(WM_FOCUS_LEFT, OnFocusLeft)
END_MESSAGE_MAP()

void XFolderTreeCtrl::OnKillFocus(CWnd*)
{
    lossPending = true;
    paintedWhileAway = false;
    PostMessage(WM_FOCUS_LEFT);
}

// Back before the control learnt it had gone: nothing on screen changed,
// unless it was drawn without the focus meanwhile.
void XFolderTreeCtrl::OnSetFocus(CWnd*)
{
    const bool unnoticed = lossPending && !paintedWhileAway;
    lossPending = false;
    if (!unnoticed)
        Default();
}

void XFolderTreeCtrl::OnPaint()
{
    paintedWhileAway = paintedWhileAway || lossPending;
    Default();
}

LRESULT XFolderTreeCtrl::OnFocusLeft(WPARAM, LPARAM)
{
    if (!lossPending)
        return 0;
    lossPending = false;
    return DefWindowProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(::GetFocus()), 0);
}
