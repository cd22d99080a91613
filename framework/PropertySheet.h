// Property sheets: a sheet of pages, each page a dialog from its own
// template. The sheet's control creates a page's window when the page is
// first shown; the page object gets its messages from then on. A modal
// sheet runs until OK or Cancel (or EndDialog from a handler of the sheet's
// own table, such as an IDOK handler that validates the pages itself).
// In wizard mode (SetWizardMode) the sheet shows Back and Next in place of
// the tabs; a page's OnWizardBack and OnWizardNext answer 0 for the
// neighbouring page, -1 to stay, or the template id of the page to show.
#pragma once

#include "Dialog.h"

#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    PROPSHEETPAGEA m_psp{};

    // Page notifications: becoming the shown page (FALSE refuses), being
    // left (FALSE keeps the page: by default when its data do not
    // validate), OK or Apply, Cancel.
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel() { return TRUE; }
    virtual LRESULT OnWizardBack() { return 0; }
    virtual LRESULT OnWizardNext() { return 0; }
    // A page's OK and Cancel belong to the sheet: they end nothing.
    void OnOK() override {}
    void OnCancel() override {}
    void SetModified(BOOL changed = TRUE);
    CPropertySheet* GetSheet() const;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    CString caption_;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);

    PROPSHEETHEADERA m_psh{};   // dwFlags may take PSH_NOAPPLYNOW and the like
    CWnd* m_pParentWnd = nullptr;

    void AddPage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(const CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    void SetTitle(LPCSTR title, UINT style = 0);
    void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
    // Sent, so that a page may show or hide buttons after it.
    void SetWizardButtons(DWORD flags) { SendMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags)); }

    virtual INT_PTR DoModal();
    using CWnd::Create;
    BOOL Create(CWnd* parent = nullptr);   // modeless
    void EndDialog(int result);
    BOOL PressButton(int button) { return static_cast<BOOL>(SendMessage(PSM_PRESSBUTTON, button)); }
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    friend class CPropertyPage;
    HWND Open(HWND owner, bool modeless);
    std::vector<CPropertyPage*> pages_;
    CString caption_;
    UINT startPage_ = 0;
    bool modalRunning_ = false;
    bool ended_ = false;
    bool applied_ = false;
    INT_PTR result_ = -1;
};
