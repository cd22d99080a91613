// The pages of an install: where to and for whom, then the copy.
#include "SetupPages.h"

#include "app/SetupState.h"
#include "files/InstallFiles.h"
#include "files/InstallList.h"
#include "files/InstalledCopy.h"
#include "files/Shortcuts.h"
#include "InstallFolder.h"

namespace {

const char kDefaultInstallFolder[] = "C:\\Kaptura99";
const int kTextLimit = MAX_PATH;   // characters of a path, name or organisation

CString ItemText(HWND page, int id)
{
    char text[kTextLimit + 1] = {};
    ::GetDlgItemTextA(page, id, text, sizeof text);
    return CString(text);
}

// "C:\Kaptura99\" names the same folder as "C:\Kaptura99".
CString WithoutTrailingSlashes(CString folder)
{
    int length = folder.GetLength();
    while (length > 0 && (folder[length - 1] == '\\' || folder[length - 1] == '/'))
        --length;
    return folder.Left(length);
}

}  // namespace

BOOL XPropertyPageFolderPath::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetupState& setup = TheSetup();
    SetHeading(IDC_FOLDER_HEADING);
    SendDlgItemMessage(IDC_INSTALL_FOLDER, EM_LIMITTEXT, kTextLimit);
    SendDlgItemMessage(IDC_USER_NAME, EM_LIMITTEXT, kTextLimit - 1);
    SendDlgItemMessage(IDC_ORGANIZATION, EM_LIMITTEXT, kTextLimit - 1);
    if (!setup.userName.IsEmpty())
        SetDlgItemText(IDC_USER_NAME, setup.userName);
    if (!setup.organisation.IsEmpty())
        SetDlgItemText(IDC_ORGANIZATION, setup.organisation);
    SetDlgItemText(IDC_INSTALL_FOLDER, setup.installFolder.IsEmpty() ? kDefaultInstallFolder : setup.installFolder);
    setup.totalSize = SumInstallSize(setup.setupFolder);
    char size[32] = {};
    FormatMegabytes(setup.totalSize, size, sizeof size);
    SetDlgItemText(IDC_REQUIRED_SPACE, size);
    // The sheet puts the focus on the page's first control once the page
    // shows; the name field takes it after that.
    ::PostMessageA(::GetParent(m_hWnd), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_USER_NAME)),
                   TRUE);
    return FALSE;
}

BOOL XPropertyPageFolderPath::OnSetActive()
{
    PageHistory& history = TheSetup().history;
    history.Push(IDD_FOLDER_PATH);
    ShowSheetButton(IDC_WIZARD_BACK, true);
    ShowSheetButton(IDC_WIZARD_NEXT, true);
    SetSheetButtonText(IDC_WIZARD_BACK, "<&Back");
    SetSheetButtonText(IDC_WIZARD_NEXT, "&Next>");
    SetWizardButtons(PSWIZB_NEXT | (history.Count() > 1 ? PSWIZB_BACK : 0));
    return TRUE;
}

LRESULT XPropertyPageFolderPath::OnWizardBack() { return TheSetup().history.Pop(); }

void XPropertyPageFolderPath::Refuse(int control, const CString& message)
{
    ::MessageBoxA(m_hWnd, message, kSetupMessageCaption, MB_OK);
    ::SetFocus(::GetDlgItem(m_hWnd, control));
}

// Every entry is checked before anything is made on disk: the folder is
// made only when the page is accepted.
LRESULT XPropertyPageFolderPath::OnWizardNext()
{
    CString folder = WithoutTrailingSlashes(ItemText(m_hWnd, IDC_INSTALL_FOLDER));
    FolderVerdict verdict = CheckInstallFolder(folder);
    if (verdict != FolderVerdict::Usable) {
        Refuse(IDC_INSTALL_FOLDER, FolderRefusalText(verdict, folder));
        return -1;
    }
    CString userName = ItemText(m_hWnd, IDC_USER_NAME);
    if (userName.IsEmpty()) {
        CString required;
        required.LoadString(IDS_USER_NAME_REQUIRED);
        Refuse(IDC_USER_NAME, required);
        return -1;
    }
    HWND organisation = ::GetDlgItem(m_hWnd, IDC_ORGANIZATION);
    if (::GetFocus() == ::GetDlgItem(m_hWnd, IDC_USER_NAME) && ::GetWindowTextLengthA(organisation) == 0) {
        ::SetFocus(organisation);   // Enter in the name field leads to the next field
        return -1;
    }
    verdict = MakeInstallFolder(folder);
    if (verdict != FolderVerdict::Usable) {
        Refuse(IDC_INSTALL_FOLDER, FolderRefusalText(verdict, folder));
        return -1;
    }
    SetupState& setup = TheSetup();
    setup.installFolder = folder;
    setup.userName = userName;
    setup.organisation = ItemText(m_hWnd, IDC_ORGANIZATION);
    return IDD_COPY_FILE;
}

BOOL XPropertyPageCopyFile::OnSetActive()
{
    SetupState& setup = TheSetup();
    SetHeading(IDC_SHOWN_USER_NAME, setup.userName);
    SetHeading(IDC_SHOWN_ORGANIZATION, setup.organisation);
    SetHeading(IDC_SHOWN_FOLDER, setup.installFolder);
    SetDlgItemText(IDC_CURRENT_FILE, "");
    SendDlgItemMessage(IDC_COPY_PROGRESS, PBM_SETPOS, 0);
    setup.history.Push(IDD_COPY_FILE);
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    return TRUE;
}

LRESULT XPropertyPageCopyFile::OnWizardBack() { return TheSetup().history.Pop(); }

LRESULT XPropertyPageCopyFile::OnWizardNext()
{
    SetupState& setup = TheSetup();
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (!CopyInstallFiles(setup.setupFolder, setup.installFolder, m_hWnd))
        return IDD_EXIT;
    WriteInstalledCopy({setup.userName, setup.organisation, setup.installFolder});
    setup.recordedFolder = setup.installFolder;
    CreateProgramShortcuts(setup.installFolder, m_hWnd);
    return IDD_FINISH;
}
