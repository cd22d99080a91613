// Dialog boxes from dialog templates: modal (DoModal, ended by EndDialog)
// or modeless (Create, ended by DestroyWindow). The object receives the
// dialog's messages from its creation on; OnInitDialog fills the controls
// from the members (UpdateData(FALSE)), OnOK reads them back and validates
// (UpdateData(TRUE)) before the dialog ends with IDOK.
#pragma once

#include "DataExchange.h"
#include "Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);

    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

    // Modal.
    BOOL InitModalIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    // Modeless.
    using CWnd::Create;
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;

    void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
    void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
    void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
    DWORD GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }
    void MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }
    BOOL IsModal() const { return modal_; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    const DLGTEMPLATE* ResolveTemplate() const;
    HWND OwnerWindow() const;
    LPCDLGTEMPLATE indirectTemplate_ = nullptr;
    BOOL modal_ = FALSE;
};

// The dialog procedure of every framework dialog: it hands WM_INITDIALOG
// to the object (binding property pages, which are created without a
// creation scope); everything else goes through the object's window
// procedure first.
INT_PTR CALLBACK KfDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
