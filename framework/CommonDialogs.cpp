#include "CommonDialogs.h"

#include "HandleMap.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

HWND DefaultOwner(CWnd* parent) { return parent ? parent->m_hWnd : AfxDefaultOwner(); }

const UINT kListSelectionChanged = ::RegisterWindowMessageA(LBSELCHSTRINGA);
const UINT kFileNameOk = ::RegisterWindowMessageA(FILEOKSTRINGA);

// Some systems name a file in a drive's top folder "M:\\name" while the
// dialog runs; the shell calls refuse that, so one separator is kept where
// two meet (a network path's leading pair stays).
CString WithSingleSeparators(const CString& path)
{
    CString result;
    LPCSTR text = path;
    for (int i = 0; text[i]; ++i) {
        if (i > 1 && text[i] == '\\' && text[i - 1] == '\\')
            continue;
        result += text[i];
    }
    return result;
}

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                         LPCSTR filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog)
{
    m_pParentWnd = parent;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpstrFile = fileBuffer_;
    m_ofn.nMaxFile = sizeof(fileBuffer_);
    m_ofn.lpstrFileTitle = titleBuffer_;
    m_ofn.nMaxFileTitle = sizeof(titleBuffer_);
    if (fileName)
        lstrcpynA(fileBuffer_, fileName, sizeof(fileBuffer_));
    if (defaultExtension) {
        defaultExtension_ = defaultExtension;
        m_ofn.lpstrDefExt = defaultExtension_;
    }
    if (filter) {
        // Kept with its terminators: the system wants "part\0part\0\0".
        filter_ = filter;
        filter_ += '|';
        m_ofn.lpstrFilter = filter_.GetBufferSetLength(filter_.GetLength());
        for (char* p = const_cast<char*>(m_ofn.lpstrFilter); *p; ++p) {
            if (*p == '|')
                *p = '\0';
        }
    }
}

UINT_PTR CALLBACK KfFileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        auto* dialog = ofn ? reinterpret_cast<CFileDialog*>(ofn->lCustData) : nullptr;
        if (!dialog)
            return TRUE;
        // Explorer style: this is the child template's dialog, ours now.
        if (!CWnd::FromHandlePermanent(window) && !dialog->SubclassWindow(window))
            return TRUE;
        return dialog->OnInitDialog();
    }
    auto* dialog = DYNAMIC_DOWNCAST(CFileDialog, CWnd::FromHandlePermanent(window));
    if (!dialog)
        return FALSE;
    if (message == kListSelectionChanged) {
        dialog->OnLBSelChangedNotify(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    }
    // The explorer style asks through CDN_FILEOK (some systems send both).
    if (message == kFileNameOk && !dialog->IsExplorerStyle())
        return dialog->OnFileNameOK();
    return FALSE;
}

BOOL CFileDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

INT_PTR CFileDialog::DoModal()
{
    if (m_hWnd)
        return -1;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags |= OFN_ENABLEHOOK;
    m_ofn.lpfnHook = KfFileDialogHook;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (!m_ofn.hwndOwner)
        m_ofn.hwndOwner = DefaultOwner(m_pParentWnd);
    if ((m_ofn.Flags & OFN_ENABLETEMPLATE) && !m_ofn.hInstance)
        m_ofn.hInstance = AfxGetResourceHandle();
    BOOL chosen;
    if (IsExplorerStyle()) {
        chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    } else {
        // The older dialog is itself ours, from its first message on.
        KfCreationScope scope(this);
        chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    }
    return chosen ? IDOK : IDCANCEL;
}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case CDN_INITDONE: OnInitDone(); break;
    case CDN_SELCHANGE: OnFileNameChange(); break;
    case CDN_FOLDERCHANGE: OnFolderChange(); break;
    case CDN_TYPECHANGE: OnTypeChange(); break;
    case CDN_FILEOK:
        *result = OnFileNameOK();
        // The dialog reads the answer from the child's message result.
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *result);
        return TRUE;
    default: return CDialog::OnNotify(wParam, lParam, result);
    }
    *result = 0;
    return TRUE;
}

HWND CFileDialog::DialogWindow() const
{
    if (!m_hWnd)
        return nullptr;
    return IsExplorerStyle() ? ::GetParent(m_hWnd) : m_hWnd;
}

CString CFileDialog::AskDialog(UINT message) const
{
    HWND dialog = DialogWindow();
    if (!dialog || !IsExplorerStyle())
        return CString();
    LRESULT needed = ::SendMessageA(dialog, message, 0, 0);
    if (needed <= 0)
        return CString();
    CString text;
    char* buffer = text.GetBuffer(static_cast<int>(needed) + 1);
    ::SendMessageA(dialog, message, static_cast<WPARAM>(needed) + 1, reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer();
    return text;
}

CString CFileDialog::GetPathName() const
{
    if (m_hWnd && IsExplorerStyle())
        return WithSingleSeparators(AskDialog(CDM_GETFILEPATH));
    return CString(m_ofn.lpstrFile ? m_ofn.lpstrFile : "");
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    int slash = path.ReverseFind('\\');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    if (m_hWnd && IsExplorerStyle())
        return AskDialog(CDM_GETFOLDERPATH);
    CString path = GetPathName();
    int slash = path.ReverseFind('\\');
    return slash >= 0 ? path.Left(slash) : CString();
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent)
{
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = initial;
    m_cc.Flags = flags | CC_RGBINIT;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.hwndOwner = parent ? parent->m_hWnd : nullptr;
}

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF colors[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return colors;
}

INT_PTR CColorDialog::DoModal()
{
    if (!m_cc.hwndOwner)
        m_cc.hwndOwner = DefaultOwner(nullptr);
    return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}

CFontDialog::CFontDialog(const LOGFONTA* initial, DWORD flags, CDC* printer, CWnd* parent)
{
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags;
    if (initial) {
        m_lf = *initial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (printer) {
        m_cf.hDC = printer->m_hDC;
        m_cf.Flags |= CF_PRINTERFONTS;
    }
    m_cf.hwndOwner = parent ? parent->m_hWnd : nullptr;
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.lpLogFont = &m_lf;   // the object may have been copied about
    if (!m_cf.hwndOwner)
        m_cf.hwndOwner = DefaultOwner(nullptr);
    return ::ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
    m_pd.hwndOwner = parent ? parent->m_hWnd : nullptr;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDevMode)
        ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        ::GlobalFree(m_pd.hDevNames);
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
}

INT_PTR CPrintDialog::DoModal()
{
    if (!m_pd.hwndOwner)
        m_pd.hwndOwner = DefaultOwner(nullptr);
    return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    DWORD saved = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    m_pd.Flags &= ~PD_RETURNDC;
    BOOL found = ::PrintDlgA(&m_pd);
    m_pd.Flags = saved;
    return found;
}

CString CPrintDialog::DevNamesField(int which) const
{
    if (!m_pd.hDevNames)
        return CString();
    auto* names = static_cast<DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
    if (!names)
        return CString();
    WORD offset = which == 0 ? names->wDriverOffset : which == 1 ? names->wDeviceOffset : names->wOutputOffset;
    // The offsets must stay inside the block and the text end in it.
    SIZE_T size = ::GlobalSize(m_pd.hDevNames);
    CString text;
    if (offset < size) {
        const char* start = reinterpret_cast<const char*>(names) + offset;
        SIZE_T length = 0;
        while (offset + length < size && start[length])
            ++length;
        text = CString(start, static_cast<int>(length));
    }
    ::GlobalUnlock(m_pd.hDevNames);
    return text;
}

CString CPrintDialog::GetDriverName() const { return DevNamesField(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesField(1); }
CString CPrintDialog::GetPortName() const { return DevNamesField(2); }

HDC CPrintDialog::CreatePrinterDC()
{
    if (!m_pd.hDevNames)
        return nullptr;
    CString driver = GetDriverName(), device = GetDeviceName(), port = GetPortName();
    auto* mode = m_pd.hDevMode ? static_cast<DEVMODEA*>(::GlobalLock(m_pd.hDevMode)) : nullptr;
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = ::CreateDCA(driver, device, port, mode);
    if (mode)
        ::GlobalUnlock(m_pd.hDevMode);
    return m_pd.hDC;
}
