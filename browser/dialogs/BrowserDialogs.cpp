#include "BrowserDialogs.h"

#include <algorithm>

#include "../../framework/Controls.h"
#include "../app/BrowserIds.h"
#include "../app/BrowserState.h"
#include "../model/TextFormats.h"

const int kReportCountIds[kBrowserFormatCount] = {
    IDC_REPORT_BMP, IDC_REPORT_CLP, IDC_REPORT_CUR, IDC_REPORT_DIB, IDC_REPORT_GIF, IDC_REPORT_ICO,
    IDC_REPORT_JPG, IDC_REPORT_PCX, IDC_REPORT_PNG, IDC_REPORT_RLE, IDC_REPORT_TIF, IDC_REPORT_WPG};

namespace {

void CenterOnDesktop(CWnd& dialog) { dialog.CenterWindow(CWnd::GetDesktopWindow()); }

}  // namespace

// ---- Scanner --------------------------------------------------------------------

XDialogScanner::XDialogScanner() : CDialog(IDD_SCANNER) {}

BOOL XDialogScanner::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterOnDesktop(*this);
    SendDlgItemMessage(IDC_SCAN_ANIMATION, ACM_OPENA, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_SCAN_CLIP)));
    return TRUE;
}

void XDialogScanner::OnCancel()
{
    Browser.scanCancelled = true;
    DestroyWindow();
}

void XDialogScanner::ShowPath(const char* path)
{
    // Twenty paths a second are as many as anyone reads; painting each
    // folder's would cost the scan more than its own search.
    const DWORD now = GetTickCount();
    if (!m_hWnd || (shownAt_ && now - shownAt_ < 50))
        return;
    shownAt_ = now ? now : 1;
    SetDlgItemText(IDC_SCAN_PATH, path);
}

void XDialogScanner::Close()
{
    if (m_hWnd)
        DestroyWindow();
}

// ---- Selection -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(XDialogSelection, CDialog)
    ON_BN_CLICKED(IDC_ALL_FORMATS, OnAllFormats)
    ON_BN_CLICKED(IDC_ALL_DRIVES, OnAllDrives)
END_MESSAGE_MAP()

XDialogSelection::XDialogSelection() : CDialog(IDD_SELECTION)
{
    std::copy(Browser.formatFlags, Browser.formatFlags + kBrowserFormatCount, formatFlags);
    std::copy(Browser.driveFlags, Browser.driveFlags + kBrowserDriveCount, driveFlags);
}

void XDialogSelection::DoDataExchange(CDataExchange* dx)
{
    for (int i = 0; i < kBrowserFormatCount; ++i)
        DDX_Check(dx, IDC_FIRST_FORMAT + i, formatFlags[i]);
    for (int i = 0; i < kBrowserDriveCount; ++i)
        DDX_Check(dx, IDC_FIRST_DRIVE + i, driveFlags[i]);
}

BOOL XDialogSelection::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Letters the system does not know stay hidden; their flags are kept.
    for (int i = 0; i < kBrowserDriveCount; ++i) {
        const char root[] = {static_cast<char>('C' + i), ':', '\\', 0};
        if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR)
            ::ShowWindow(::GetDlgItem(m_hWnd, IDC_FIRST_DRIVE + i), SW_HIDE);
    }
    CenterOnDesktop(*this);
    return TRUE;
}

void XDialogSelection::OnAllFormats()
{
    for (int i = 0; i < kBrowserFormatCount; ++i)
        ::CheckDlgButton(m_hWnd, IDC_FIRST_FORMAT + i, BST_CHECKED);
}

void XDialogSelection::OnAllDrives()
{
    for (int i = 0; i < kBrowserDriveCount; ++i)
        ::CheckDlgButton(m_hWnd, IDC_FIRST_DRIVE + i, BST_CHECKED);
}

// ---- Report ----------------------------------------------------------------------

XDialogReport::XDialogReport() : CDialog(IDD_REPORT) {}

BOOL XDialogReport::OnInitDialog()
{
    CDialog::OnInitDialog();
    const ScanCounters& counters = Browser.counters;
    for (int i = 0; i < kBrowserFormatCount; ++i) {
        SetDlgItemText(kReportCountIds[i], FormatThousands(static_cast<uint64_t>(counters.files[i])).c_str());
        SetDlgItemText(kReportCountIds[i] + 1, FormatKilobytes(counters.bytes[i]).c_str());
    }
    SetDlgItemText(IDC_REPORT_TOTAL, FormatThousands(static_cast<uint64_t>(counters.TotalFiles())).c_str());
    SetDlgItemText(IDC_REPORT_TOTAL + 1, FormatKilobytes(counters.TotalBytes()).c_str());
    return TRUE;
}

XDialogExplorerAbout::XDialogExplorerAbout() : CDialog(IDD_ABOUTBOX) {}
