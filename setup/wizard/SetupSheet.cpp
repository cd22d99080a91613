#include "SetupSheet.h"

XPropertySheetSetup::XPropertySheetSetup(CWnd* parent, bool installedCopyKnown) : CPropertySheet("KT99", parent)
{
    SetWizardMode();
    m_psh.dwFlags &= ~PSH_HASHELP;
    AddPage(&m_restart);
    AddPage(&m_uninstall);
    AddPage(&m_folderPath);
    AddPage(&m_copyFile);
    AddPage(&m_finish);
    AddPage(&m_exit);
    SetActivePage(installedCopyKnown ? &m_uninstall : static_cast<CPropertyPage*>(&m_folderPath));
}

LRESULT XPropertySheetSetup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The close box and Alt+F4 end here: they leave the wizard as Exit Setup
    // does, asking the shown page first, and only once.
    if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        PressButton(PSBTN_CANCEL);
        return 0;
    }
    LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        ::SetDlgItemTextA(m_hWnd, IDCANCEL, "E&xit Setup");
        RECT sheet{}, desktop{};
        ::GetWindowRect(m_hWnd, &sheet);
        ::GetWindowRect(::GetDesktopWindow(), &desktop);
        int width = sheet.right - sheet.left;
        int height = sheet.bottom - sheet.top;
        ::SetWindowPos(m_hWnd, nullptr, (desktop.right - width) / 2, (desktop.bottom - height) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}
