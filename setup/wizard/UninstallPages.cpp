// The pages of a later run: Uninstall or Reinstall, and the page after an
// uninstall.
#include "SetupPages.h"

#include "app/SetupState.h"
#include "files/InstallFiles.h"

BOOL XPropertyPageRestart::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetHeading(IDC_HEADING);
    return TRUE;
}

BOOL XPropertyPageRestart::OnSetActive()
{
    TheSetup().history.Reset(IDD_RESTART);
    SetWizardButtons(PSWIZB_NEXT);
    SetSheetButtonText(IDC_WIZARD_NEXT, "&Setup");
    ShowSheetButton(IDC_WIZARD_BACK, false);
    ShowSheetButton(IDC_WIZARD_NEXT, true);
    return TRUE;
}

BOOL XPropertyPageUninstall::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const SetupState& setup = TheSetup();
    SetHeading(IDC_HEADING);
    if (setup.userName.GetLength() > 1)
        SetDlgItemText(IDC_SHOWN_USER_NAME, setup.userName);
    if (setup.organisation.GetLength() > 1)
        SetDlgItemText(IDC_SHOWN_ORGANIZATION, setup.organisation);
    SetDlgItemText(IDC_SHOWN_FOLDER, setup.recordedFolder);
    return TRUE;
}

BOOL XPropertyPageUninstall::OnSetActive()
{
    TheSetup().history.Reset(IDD_UNINSTALL);
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    ShowSheetButton(IDC_WIZARD_BACK, true);
    ShowSheetButton(IDC_WIZARD_NEXT, true);
    SetSheetButtonText(IDC_WIZARD_BACK, "&Uninstall");
    SetSheetButtonText(IDC_WIZARD_NEXT, "&Reinstall");
    return TRUE;
}

// Only the recorded installation goes, whatever folder the folder page took
// since. A file that cannot be removed keeps the page (and the record), so
// that Uninstall can be tried again once the program has ended.
LRESULT XPropertyPageUninstall::OnWizardBack()
{
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    std::vector<CString> left = UninstallFiles(TheSetup().recordedFolder);
    if (left.empty())
        return IDD_RESTART;
    CString said;
    for (const CString& path : left) {
        CString line;
        line.LoadString(IDS_FILE_IN_USE);
        line.Replace("%1", path);
        said += said.IsEmpty() ? line : "\n" + line;
    }
    ::MessageBoxA(m_hWnd, said, kSetupMessageCaption, MB_OK);
    return -1;
}
