#include "ControlBars.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

CDialogBar::CDialogBar()
{
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = m_cyBottomBorder = 0;
}

CDialogBar::~CDialogBar() = default;

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    return Create(parent, MAKEINTRESOURCEA(templateId), style, id);
}

BOOL CDialogBar::Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    if (!KfAttachChildDialog(this, templateName, parent, id))
        return FALSE;
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    AttachToFrame();
    if (style & WS_VISIBLE)
        ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (horizontal)
        return CSize(stretch ? 32767 : m_sizeDefault.cx, m_sizeDefault.cy);
    return CSize(m_sizeDefault.cx, stretch ? 32767 : m_sizeDefault.cy);
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    UpdateDialogControls(target, disableIfNoHandler);
}

BOOL CDialogBar::PreTranslateMessage(MSG* msg)
{
    return KfPreTranslateChildDialog(this, msg);
}

// What the bar's own table leaves of its controls' commands and
// notifications goes to the frame.
LRESULT CDialogBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result))
            return result;
        if (CFrameWnd* frame = GetDockingFrame())
            return frame->SendMessage(message, wParam, lParam);
        break;
    }
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
