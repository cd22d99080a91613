#include "PropertySheet.h"

#include "HandleMap.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    if (captionId && caption_.LoadString(captionId)) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = caption_;
    }
}

BOOL CPropertyPage::OnSetActive() { return TRUE; }
BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

CPropertySheet* CPropertyPage::GetSheet() const
{
    return m_hWnd ? DYNAMIC_DOWNCAST(CPropertySheet, CWnd::FromHandlePermanent(::GetParent(m_hWnd))) : nullptr;
}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (sheet)
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        if (!OnApply()) {
            *result = PSNRET_INVALID_NOCHANGEPAGE;
            return TRUE;
        }
        if (CPropertySheet* sheet = GetSheet())
            sheet->applied_ = true;
        *result = PSNRET_NOERROR;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *result = 0;
        return TRUE;
    case PSN_QUERYCANCEL:
        *result = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    case PSN_WIZBACK:
    case PSN_WIZNEXT:
        *result = header->code == PSN_WIZBACK ? OnWizardBack() : OnWizardNext();
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *result);
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : m_pParentWnd(parent), startPage_(selectPage)
{
    caption_.LoadString(captionId);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
}

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parent, UINT selectPage)
    : m_pParentWnd(parent), caption_(caption), startPage_(selectPage)
{
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
}

namespace {

PROPSHEETPAGEA PageRecord(CPropertyPage* page)
{
    PROPSHEETPAGEA record = page->m_psp;
    record.dwSize = sizeof(record);
    record.hInstance = AfxGetResourceHandle();
    record.pfnDlgProc = KfDialogProcedure;
    record.lParam = reinterpret_cast<LPARAM>(page);
    return record;
}

} // namespace

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (!page)
        return;
    pages_.push_back(page);
    if (m_hWnd) {
        PROPSHEETPAGEA record = PageRecord(page);
        if (HPROPSHEETPAGE made = ::CreatePropertySheetPageA(&record))
            SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(made));
    }
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, index, 0);
    pages_.erase(pages_.begin() + index);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const
{
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] == page)
            return static_cast<int>(i);
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return static_cast<int>(startPage_);
    HWND current = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (current && pages_[i]->m_hWnd == current)
            return static_cast<int>(i);
    }
    return static_cast<int>(startPage_);
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

BOOL CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        startPage_ = static_cast<UINT>(index);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, index, 0));
}

void CPropertySheet::SetTitle(LPCSTR title, UINT style)
{
    caption_ = title;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (style & PSH_PROPTITLE);
    if (m_hWnd)
        SendMessage(PSM_SETTITLEA, style, reinterpret_cast<LPARAM>(caption_.GetString()));
}

// Always a modeless sheet from the control: DoModal runs its own loop so that
// EndDialog from any handler ends it.
HWND CPropertySheet::Open(HWND owner, bool)
{
    if (m_hWnd || pages_.empty())
        return nullptr;
    std::vector<PROPSHEETPAGEA> records;
    for (CPropertyPage* page : pages_)
        records.push_back(PageRecord(page));
    PROPSHEETHEADERA header = m_psh;
    header.dwSize = sizeof(header);
    header.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.hwndParent = owner;
    header.hInstance = AfxGetResourceHandle();
    header.pszCaption = caption_;
    header.nPages = static_cast<UINT>(records.size());
    header.nStartPage = startPage_ < records.size() ? startPage_ : 0;
    header.ppsp = records.data();
    ended_ = false;
    applied_ = false;
    result_ = -1;
    KfCreationScope scope(this);
    HWND made = reinterpret_cast<HWND>(::PropertySheetA(&header));
    return made && m_hWnd == made ? made : nullptr;
}

INT_PTR CPropertySheet::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : AfxDefaultOwner();
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    HWND sheet = Open(owner, false);
    if (!sheet) {
        if (ownerWasEnabled)
            ::EnableWindow(owner, TRUE);
        return -1;
    }
    modalRunning_ = true;
    MSG msg{};
    while (!ended_) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);   // for the outer loop
            result_ = IDCANCEL;
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        // The control closes a modeless sheet's page after OK or Cancel.
        if (!ended_ && m_hWnd && !SendMessage(PSM_GETCURRENTPAGEHWND)) {
            ended_ = true;
            result_ = applied_ ? IDOK : IDCANCEL;
        }
        if (!m_hWnd)
            ended_ = true;
    }
    modalRunning_ = false;
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    if (owner)
        ::SetActiveWindow(owner);
    DestroyWindow();
    return result_;
}

BOOL CPropertySheet::Create(CWnd* parent)
{
    m_pParentWnd = parent;
    HWND made = Open(parent ? parent->m_hWnd : nullptr, true);
    if (made)
        ::ShowWindow(made, SW_SHOW);
    return made != nullptr;
}

void CPropertySheet::EndDialog(int result)
{
    result_ = result;
    ended_ = true;
    if (!modalRunning_)
        DestroyWindow();
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    return m_hWnd && static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)));
}
