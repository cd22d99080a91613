#include "View.h"

#include "ControlBars.h"
#include "Document.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CFormView::CFormView(UINT templateId) : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)) {}

CFormView::CFormView(LPCSTR templateName) : m_lpszTemplateName(templateName) {}

// The form is the template's dialog, made a child and bound to this view;
// it missed its WM_CREATE, so it joins its document here.
BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       CCreateContext* context)
{
    HWND window = KfCreateChildDialog(m_lpszTemplateName, parent);
    if (!window)
        return FALSE;
    if (!SubclassWindow(window)) {
        ::DestroyWindow(window);
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(id));
    CRect form;
    GetWindowRect(&form);
    SetScrollSizes(MM_TEXT, form.Size());
    if (style & WS_BORDER)
        ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    if (style & WS_VISIBLE)
        ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

// The frames' accelerators first, then the dialog keys of the form.
BOOL CFormView::PreTranslateMessage(MSG* msg)
{
    for (CFrameWnd* frame = GetParentFrame(); frame; frame = frame->GetParentFrame()) {
        if (frame->PreTranslateMessage(msg))
            return TRUE;
    }
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg) ? TRUE : FALSE;
}

void CFormView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView)
{
    if (!activate) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_hWnd, focus))
            m_hWndFocus = focus;
    }
    CScrollView::OnActivateView(activate, activateView, deactiveView);
}

// The focus goes on to the control that had it, else the first one.
void CFormView::OnSetFocus(CWnd*)
{
    if (m_hWndFocus && ::IsWindow(m_hWndFocus) && ::IsChild(m_hWnd, m_hWndFocus)) {
        ::SetFocus(m_hWndFocus);
        return;
    }
    HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (first)
        ::SetFocus(first);
}
