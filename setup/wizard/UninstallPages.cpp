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
    SetDlgItemText(IDC_SHOWN_FOLDER, setup.installFolder);
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

LRESULT XPropertyPageUninstall::OnWizardBack()
{
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    UninstallFiles(TheSetup().installFolder);
    return IDD_RESTART;
}
