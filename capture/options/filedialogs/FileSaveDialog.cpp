#include "FileSaveDialog.h"

#include <string>

#include "../../../formats/Pictova.h"
#include "AppServices.h"
#include "DocumentFileNames.h"
#include "DocumentOperationCalls.h"
#include "FileDialogIds.h"
#include "FileDialogRules.h"
#include "Settings.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(XDialogFileSave, CFileDialog)
    ON_BN_CLICKED(IDC_SAVE_REDUCE_COLORS, OnReduceColors)
END_MESSAGE_MAP()

namespace {

CString SaveFilter()
{
    CString filter;
    filter.LoadString(IDS_SAVE_FILTER);
    if (filter.Right(1) == "|")
        filter = filter.Left(filter.GetLength() - 1);
    return filter;
}

int ClampedSaveIndex(int index) { return index >= 1 && index <= kSaveFormatCount ? index : 1; }

// The chosen name gets its type; false after "Unrecognized format." or
// when the name is too long to keep.
bool TypeOfChosenName(std::string& chosen, int filterIndex, int& type)
{
    chosen = WithDefaultExtension(chosen, filterIndex);
    type = SaveTypeOfName(chosen, filterIndex);
    if (type == 0) {
        ShowStringMessage(IDS_UNRECOGNIZED_FORMAT);
        return false;
    }
    if (chosen.size() > kLongestPath) {
        DisplayFormatErrorMsg(kErrCannotCreate);
        return false;
    }
    return true;
}

}  // namespace

XDialogFileSave::XDialogFileSave(LPCSTR filter, LPCSTR fileName)
    : CFileDialog(FALSE, nullptr, fileName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter)
{
    m_ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_FILE_SAVE_OPTIONS);
}

BOOL XDialogFileSave::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    CheckDlgButton(IDC_SAVE_REDUCE_COLORS, reduceColors ? BST_CHECKED : BST_UNCHECKED);
    // FALSE: the dialog puts the keyboard on its own name box, as every
    // file dialog opens, rather than on this part's first control.
    return FALSE;
}

// A bare name gets the chosen entry's extension after the dialog; the file
// so named, when it exists, is confirmed here as the system confirms a name
// typed whole (the dialog stays open on No).
BOOL XDialogFileSave::OnFileNameOK()
{
    HWND dialog = ::GetParent(m_hWnd);
    const std::string typed = static_cast<LPCSTR>(GetPathName());
    if (!dialog || typed.empty() || ExtensionDot(typed) != std::string::npos)
        return FALSE;
    const LRESULT entry = ::SendDlgItemMessageA(dialog, IDC_FILE_DIALOG_TYPE_LIST, CB_GETCURSEL, 0, 0);
    const std::string full = WithDefaultExtension(typed, static_cast<int>(entry) + 1);
    if (GetFileAttributesA(full.c_str()) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    char title[128] = "";
    ::GetWindowTextA(dialog, title, sizeof title);
    const std::string question = full + " already exists.\nDo you want to replace it?";
    return ::MessageBoxA(dialog, question.c_str(), title, MB_YESNO | MB_ICONWARNING) != IDYES;
}

void XDialogFileSave::OnReduceColors() { reduceColors = !reduceColors; }

bool RunFileSaveDialog(bool captureFileMode, const char* initialFolder)
{
    const int startIndex = ClampedSaveIndex(Format[captureFileMode ? kFormatCaptureFile : kFormatSaveAs]);
    std::string startName, startFolder;
    if (captureFileMode) {
        startName = CaptureFileStartName(FileNameDirect);
        startFolder = CaptureFileStartFolder(FileNameDirect);
    } else {
        startName = DefaultSavePattern(startIndex);
        startFolder = initialFolder ? initialFolder : SaveStartFolder(FileNameSave);
    }
    XDialogFileSave dialog(SaveFilter(), startName.c_str());
    dialog.m_ofn.hwndOwner = ::GetForegroundWindow();
    dialog.m_ofn.nFilterIndex = static_cast<DWORD>(startIndex);
    dialog.m_ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    dialog.reduceColors = Format[kFormatReduceOnSave];
    const INT_PTR answer = dialog.DoModal();
    Format[kFormatReduceOnSave] = dialog.reduceColors;
    if (answer != IDOK)
        return false;

    const int filterIndex = static_cast<int>(dialog.m_ofn.nFilterIndex);
    std::string chosen = static_cast<LPCSTR>(dialog.GetPathName());
    int type = 0;
    if (!TypeOfChosenName(chosen, filterIndex, type))
        return false;
    char* path = captureFileMode ? FileNameDirect : FileNameSave;
    lstrcpynA(path, chosen.c_str(), kSettingsPathSize);
    Format[captureFileMode ? kFormatCaptureFile : kFormatSaveAs] = type;
    return true;
}

bool RunSaveAsDialog(const char* initialFolder) { return RunFileSaveDialog(false, initialFolder); }

bool RunCaptureFileSaveAsDialog() { return RunFileSaveDialog(true, nullptr); }
