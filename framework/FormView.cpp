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
    if (!KfAttachChildDialog(this, m_lpszTemplateName, parent, id))
        return FALSE;
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

BOOL CFormView::PreTranslateMessage(MSG* msg)
{
    return KfPreTranslateChildDialog(this, msg);
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
