#include "FileOpenDialogs.h"

#include <string>

#include "../../../formats/Pictova.h"
#include "../../../framework/WinApp.h"
#include "AppServices.h"
#include "FileDialogIds.h"
#include "FileDialogRules.h"
#include "OptionDialogCalls.h"
#include "Settings.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(XDialogFileOpen, CFileDialog)
    ON_WM_CREATE()
    ON_BN_CLICKED(IDC_OLD_OPEN_PREVIEW_CHECK, OnPreview)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(XDialogFile4, CFileDialog)
    ON_BN_CLICKED(IDC_OPEN_PREVIEW_CHECK, OnPreview)
END_MESSAGE_MAP()

namespace {

const int kOldPreviewWidth = 148;
const int kExplorerPreviewWidth = 156;
const DWORD kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// The 14-entry filter of both Open dialogs, "|" between its parts.
CString OpenFilter()
{
    CString first, second;
    first.LoadString(IDS_OPEN_FILTER_FIRST);
    second.LoadString(IDS_OPEN_FILTER_SECOND);
    CString filter = first + second;
    // The dialog object adds the closing separator itself.
    if (filter.Right(1) == "|")
        filter = filter.Left(filter.GetLength() - 1);
    return filter;
}

void ResizeWindow(HWND window, int width, int height)
{
    ::SetWindowPos(window, nullptr, 0, 0, width, height, kResizeOnly);
}

int WindowWidth(HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r);
    return r.right - r.left;
}

int WindowHeight(HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r);
    return r.bottom - r.top;
}

void SetUpOpenDialog(CFileDialog& dialog)
{
    dialog.m_ofn.nFilterIndex = Format[kFormatOpenFilter] >= 1 && Format[kFormatOpenFilter] <= 14
                                    ? static_cast<DWORD>(Format[kFormatOpenFilter])
                                    : 14;
    dialog.m_ofn.lpstrInitialDir = PathNameOpen[0] ? PathNameOpen : nullptr;
    dialog.m_ofn.hwndOwner = MainFrameWindow();
}

// After the dialog: OK stores the choice and hands the name over; cancel
// forgets any preview.
int FinishOpenDialog(CFileDialog& dialog, INT_PTR answer, int previewOn, char* name, int size)
{
    if (answer != IDOK) {
        DiscardPreview();
        return 2;
    }
    const std::string path = static_cast<LPCSTR>(dialog.GetPathName());
    const std::string fileName = static_cast<LPCSTR>(dialog.GetFileName());
    // The name goes back without its folder, which must be the current one:
    // a full path typed into the name box leaves the dialog where it was.
    std::string folder = path.substr(0, path.size() - fileName.size());
    if (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    // A path the file system's calls cannot hold is refused as unreadable.
    if (path.size() > kLongestPath || fileName.empty() || static_cast<int>(fileName.size()) >= size ||
        !SetCurrentDirectoryA(folder.c_str())) {
        DiscardPreview();
        DisplayFormatErrorMsg(kErrCannotOpen);
        return 2;
    }
    // The document's open takes the preview over only for the file confirmed.
    KeepPreviewOnlyFor(path.c_str());
    lstrcpynA(FileNameOpen, fileName.c_str(), sizeof FileNameOpen);
    GetCurrentDirectoryA(sizeof PathNameOpen, PathNameOpen);
    Format[kFormatOpenFilter] = static_cast<int>(dialog.m_ofn.nFilterIndex);
    Format[kFormatOpenPreview] = previewOn;
    lstrcpynA(name, fileName.c_str(), size);
    return 1;
}

}  // namespace

// ---- The older dialog -------------------------------------------------------------

XDialogFileOpen::XDialogFileOpen(LPCSTR filter)
    : CFileDialog(TRUE, nullptr, FileNameOpen, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter)
{
    m_ofn.Flags = OFN_FILEMUSTEXIST | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
}

int XDialogFileOpen::OnCreate(LPCREATESTRUCT cs)
{
    if (CFileDialog::OnCreate(cs) == -1)
        return -1;
    const int w = WindowWidth(m_hWnd);
    const int h = WindowHeight(m_hWnd);
    ResizeWindow(m_hWnd, previewOn ? w + kOldPreviewWidth : w, h + 30);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    sizeLabel.Create("STATIC", "", child, CRect(w - 6, h - 50, w + 129, h - 25), this,
                     IDC_OLD_OPEN_IMAGE_SIZE);
    preview.Create("STATIC", "", child, CRect(w - 6, h - 190, w + 129, h - 55), this,
                   IDC_OLD_OPEN_PREVIEW_PANE);
    previewCheck.Create("Preview", child | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(12, h - 34, 82, h - 4), this,
                        IDC_OLD_OPEN_PREVIEW_CHECK);
    previewCheck.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    previewCheck.SetCheck(previewOn ? BST_CHECKED : BST_UNCHECKED);
    CenterWindow(CWnd::GetDesktopWindow());
    return 0;
}

void XDialogFileOpen::OnPreview()
{
    const int w = WindowWidth(m_hWnd);
    ResizeWindow(m_hWnd, previewOn ? w - kOldPreviewWidth : w + kOldPreviewWidth, WindowHeight(m_hWnd));
    previewOn = !previewOn;
}

void XDialogFileOpen::OnLBSelChangedNotify(UINT listId, UINT selection, UINT code)
{
    if (!previewOn || listId != IDC_FILE_DIALOG_LIST || code != CD_LBSELCHANGE)
        return;
    HWND list = ::GetDlgItem(m_hWnd, IDC_FILE_DIALOG_LIST);
    const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, selection, 0);
    if (length <= 0 || length >= MAX_PATH)
        return;
    char fileName[MAX_PATH] = "";
    ::SendMessageA(list, LB_GETTEXT, selection, reinterpret_cast<LPARAM>(fileName));
    if (!fileName[0])
        return;
    // The older dialog lists the current folder's files.
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string path = folder;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    path += fileName;
    if (path.size() > kLongestPath)
        return;
    LoadPreview(path.c_str());
    preview.Invalidate();
    sizeLabel.Invalidate();
}

// ---- The explorer-style dialog -------------------------------------------------

XDialogFile4::XDialogFile4(LPCSTR filter)
    : CFileDialog(TRUE, nullptr, FileNameOpen, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter)
{
    m_ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_FILE_OPEN_PREVIEW);
}

BOOL XDialogFile4::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    preview.SubclassDlgItem(IDC_OPEN_PREVIEW_PANE, this);
    CheckDlgButton(IDC_OPEN_PREVIEW_CHECK, previewOn ? BST_CHECKED : BST_UNCHECKED);
    // FALSE: the dialog puts the keyboard on its own name box, as every
    // file dialog opens, rather than on this part's first control.
    return FALSE;
}

void XDialogFile4::OnInitDone()
{
    CFileDialog::OnInitDone();
    HWND dialog = ::GetParent(m_hWnd);
    HWND list = ::GetDlgItem(dialog, IDC_FILE_DIALOG_LIST);
    HWND pathLine = ::GetDlgItem(m_hWnd, IDC_OPEN_PATH_LINE);
    if (list && pathLine) {
        RECT listRect, lineRect;
        ::GetWindowRect(list, &listRect);
        ::GetWindowRect(pathLine, &lineRect);
        POINT listCorner = {listRect.left, listRect.top};
        POINT lineCorner = {lineRect.left, lineRect.top};
        ::ScreenToClient(m_hWnd, &listCorner);
        ::ScreenToClient(m_hWnd, &lineCorner);
        ::MoveWindow(pathLine, listCorner.x + 3, lineCorner.y, listRect.right - listRect.left,
                     lineRect.bottom - lineRect.top, TRUE);
    }
    fullWidth = WindowWidth(dialog);
    reducedWidth = fullWidth - kExplorerPreviewWidth;
    ApplyWidth();
}

void XDialogFile4::ApplyWidth()
{
    HWND dialog = ::GetParent(m_hWnd);
    ResizeWindow(dialog, previewOn ? fullWidth : reducedWidth, WindowHeight(dialog));
}

void XDialogFile4::OnPreview()
{
    previewOn = !previewOn;
    ApplyWidth();
}

void XDialogFile4::OnFileNameChange()
{
    const std::string path = static_cast<LPCSTR>(GetPathName());
    if (path.empty() || path.size() > kLongestPath)
        return;
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) || !info.szDisplayName[0])
        return;
    uint64_t size = 0;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    SetDlgItemText(IDC_OPEN_PATH_LINE, PathLineWithSize(path, size).c_str());
    if (!previewOn)
        return;
    // A folder selected in the list is no file to show.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return;
    const bool loaded = LoadPreview(path.c_str());
    preview.Invalidate();
    preview.UpdateWindow();
    SetDlgItemText(IDC_OPEN_IMAGE_SIZE, loaded ? PreviewSizeText() : CString());
}

void XDialogFile4::OnFolderChange()
{
    SetDlgItemText(IDC_OPEN_PATH_LINE, ("Path:  " + std::string(static_cast<LPCSTR>(GetFolderPath()))).c_str());
}

// ---- Runners ------------------------------------------------------------------------

int RunOpenDialog(char* name, int size)
{
    XDialogFileOpen dialog(OpenFilter());
    SetUpOpenDialog(dialog);
    dialog.previewOn = Format[kFormatOpenPreview] != 0;
    const INT_PTR answer = dialog.DoModal();
    return FinishOpenDialog(dialog, answer, dialog.previewOn, name, size);
}

int RunExplorerOpenDialog(char* name, int size)
{
    XDialogFile4 dialog(OpenFilter());
    SetUpOpenDialog(dialog);
    dialog.previewOn = Format[kFormatOpenPreview] != 0;
    const INT_PTR answer = dialog.DoModal();
    return FinishOpenDialog(dialog, answer, dialog.previewOn, name, size);
}
