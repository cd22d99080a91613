// The framework's file dialog under Wine: the object is bound to the right
// window in both styles, receives the dialog's notifications and returns
// the chosen path.
#include "framework/CommonDialogs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const int kFileNameCombo = 0x47C;   // the explorer-style name box
const int kFileNameEdit = 0x480;    // the older dialog's name edit

CString TempFolder()
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    CString path(folder);
    if (path.Right(1) == "\\")
        path = path.Left(path.GetLength() - 1);
    return path;
}

// Types a name and presses OK as soon as the dialog is ready.
class TypingFileDialog : public CFileDialog {
public:
    TypingFileDialog(DWORD flags) : CFileDialog(FALSE, "bmp", nullptr, flags, "Bitmaps|*.bmp|All|*.*||") {}
    int initDone = 0, nameChecks = 0, creates = 0;
    HWND boundWindow = nullptr;
    HWND dialogParent = nullptr;
    bool refuseFirstName = false;

protected:
    void OnInitDone() override
    {
        ++initDone;
        boundWindow = m_hWnd;
        dialogParent = ::GetParent(m_hWnd);
        ::SendMessageA(dialogParent, CDM_SETCONTROLTEXT, kFileNameCombo, (LPARAM) "kf_file_test.bmp");
        ::PostMessageA(dialogParent, WM_COMMAND, IDOK, 0);
    }
    BOOL OnFileNameOK() override
    {
        ++nameChecks;
        if (refuseFirstName && nameChecks == 1) {
            // Refused: the dialog stays; the second press is accepted.
            ::PostMessageA(IsExplorerStyle() ? ::GetParent(m_hWnd) : m_hWnd, WM_COMMAND, IDOK, 0);
            return TRUE;
        }
        return FALSE;
    }
    BOOL OnInitDialog() override
    {
        BOOL result = CFileDialog::OnInitDialog();
        if (!IsExplorerStyle()) {
            boundWindow = m_hWnd;
            SetDlgItemText(kFileNameEdit, "kf_old_test.bmp");
            PostMessage(WM_COMMAND, IDOK);
        }
        return result;
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        ++creates;
        return CFileDialog::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TypingFileDialog, CFileDialog)
    ON_WM_CREATE()
END_MESSAGE_MAP()

} // namespace

TEST(FrameworkFileDialog, ExplorerStyleBindsTheChildAndReturnsThePath)
{
    CWinApp app("kf files");
    CString folder = TempFolder();
    TypingFileDialog dialog(OFN_HIDEREADONLY);
    dialog.m_ofn.lpstrInitialDir = folder;
    dialog.refuseFirstName = true;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.initDone, 1);
    EXPECT_EQ(dialog.nameChecks, 2);
    EXPECT_NE(dialog.boundWindow, nullptr);
    EXPECT_NE(dialog.dialogParent, nullptr);   // the object holds the inner window
    EXPECT_EQ(dialog.creates, 0);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_STREQ(dialog.GetFileName(), "kf_file_test.bmp");
    EXPECT_STREQ(dialog.GetFileExt(), "bmp");
    EXPECT_STREQ(dialog.GetFileTitle(), "kf_file_test");
    EXPECT_EQ(dialog.GetFolderPath().CompareNoCase(folder), 0);
}

TEST(FrameworkFileDialog, OlderStyleIsOursFromItsCreation)
{
    CWinApp app("kf files");
    CString folder = TempFolder();
    TypingFileDialog dialog(OFN_HIDEREADONLY);
    dialog.m_ofn.Flags &= ~OFN_EXPLORER;
    dialog.m_ofn.lpstrInitialDir = folder;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.creates, 1);   // its WM_CREATE reached the table
    EXPECT_NE(dialog.boundWindow, nullptr);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_STREQ(dialog.GetFileName(), "kf_old_test.bmp");
    EXPECT_EQ(dialog.nameChecks, 1);
}
