#include "Dialog.h"

#include "HandleMap.h"
#include "PropertySheet.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK KfDialogProcedure(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CWnd* wnd = CWnd::FromHandlePermanent(window);
    if (!wnd) {
        // A property page: the sheet's control made it from our page record.
        auto* page = lParam ? reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam)
                            : nullptr;
        if (!page || !page->SubclassWindow(window))
            return TRUE;
        wnd = page;
    }
    CDialog* dialog = DYNAMIC_DOWNCAST(CDialog, wnd);
    return dialog ? dialog->OnInitDialog() : TRUE;
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_nIDHelp(templateId), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent)
{
    indirectTemplate_ = dialogTemplate;
    m_pParentWnd = parent;
    return dialogTemplate != nullptr;
}

const DLGTEMPLATE* CDialog::ResolveTemplate() const
{
    if (indirectTemplate_)
        return indirectTemplate_;
    if (!m_lpszTemplateName)
        return nullptr;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, m_lpszTemplateName, MAKEINTRESOURCEA(5));   // dialog templates
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}

// The given parent, else the current popup of the main window or of the
// caller's active window (a modal dialog over a modal dialog stays on top).
HWND CDialog::OwnerWindow() const
{
    return m_pParentWnd ? m_pParentWnd->m_hWnd : AfxDefaultOwner();
}

INT_PTR CDialog::DoModal()
{
    const DLGTEMPLATE* dialogTemplate = ResolveTemplate();
    if (!dialogTemplate || m_hWnd)
        return -1;
    modal_ = TRUE;
    INT_PTR result;
    {
        KfCreationScope scope(this);
        result = ::DialogBoxIndirectParamA(AfxGetResourceHandle(), dialogTemplate, OwnerWindow(), KfDialogProcedure,
                                           reinterpret_cast<LPARAM>(this));
    }
    modal_ = FALSE;
    return result;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_lpszTemplateName = MAKEINTRESOURCEA(templateId);
    if (!m_nIDHelp)
        m_nIDHelp = templateId;
    return Create(m_lpszTemplateName, parent);
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
    const DLGTEMPLATE* dialogTemplate = ResolveTemplate();
    return dialogTemplate ? CreateIndirect(dialogTemplate, parent) : FALSE;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent)
{
    if (!dialogTemplate || m_hWnd)
        return FALSE;
    m_pParentWnd = parent;
    HWND made;
    {
        KfCreationScope scope(this);
        made = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), dialogTemplate, OwnerWindow(), KfDialogProcedure,
                                            reinterpret_cast<LPARAM>(this));
    }
    return made != nullptr;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;   // the system puts the focus on the first control
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;   // the field in error has the focus, the dialog stays
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation of a modeless dialog (modal ones run the
    // system's own loop, which does it).
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return ::IsDialogMessageA(m_hWnd, msg);
    return FALSE;
}
