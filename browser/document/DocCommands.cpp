// The document's commands on the selected image and on the scan.
#include <string>

#include "../../capture/core/image/ClipboardImage.h"
#include "../../capture/core/image/DisplayImage.h"
#include "../../framework/AnsiFolderSearch.h"
#include "../../framework/CommonDialogs.h"
#include "../../framework/WinApp.h"
#include "../../print/Pagent.h"
#include "../app/BrowserIds.h"
#include "../app/BrowserState.h"
#include "../dialogs/BrowserDialogs.h"
#include "../model/BrowserFormats.h"
#include "../views/ListView.h"
#include "../views/TreeView.h"
#include "ExplorerDoc.h"
#include "FullScreenWnd.h"

namespace {

XWndFullScreen* fullScreen = nullptr;

HWND MainWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

// The file name part of a path (after the last "\" or ":").
std::string FileNamePart(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The path in lines of about 80 characters, broken after backslashes: a
// message box does not break a path, and a long one runs off the screen.
std::string PathInLines(const std::string& path)
{
    const size_t kLineLength = 80;
    std::string lines;
    size_t lineLength = 0;
    size_t start = 0;
    while (start < path.size()) {
        const size_t slash = path.find('\\', start);
        const size_t end = slash == std::string::npos ? path.size() : slash + 1;
        if (lineLength > 0 && lineLength + (end - start) > kLineLength) {
            lines += '\n';
            lineLength = 0;
        }
        lines.append(path, start, end - start);
        lineLength += end - start;
        start = end;
    }
    return lines;
}

}  // namespace

void XExplorerDoc::OnSelectFormats()
{
    XDialogSelection dialog;
    if (dialog.DoModal() != IDOK)
        return;
    std::copy(dialog.formatFlags, dialog.formatFlags + kBrowserFormatCount, Browser.formatFlags);
    std::copy(dialog.driveFlags, dialog.driveFlags + kBrowserDriveCount, Browser.driveFlags);
    SaveSelection();
    ClearAll();
    if (treeView)
        treeView->ScanDrives();
}

void XExplorerDoc::OnSummaryReport()
{
    XDialogReport dialog;
    dialog.DoModal();
}

void XExplorerDoc::OnFileSaveAs()
{
    if (!image || !treeView)
        return;
    char filter[512] = "";
    LoadStringA(AfxGetResourceHandle(), IDS_SAVE_FILTER, filter, sizeof filter);
    const std::string selected = treeView->SelectedPath();
    const std::string name = FileNamePart(selected);
    const std::string folder = selected.substr(0, selected.size() - name.size());
    const size_t dot = name.rfind('.');
    const std::string title = dot == std::string::npos ? name : name.substr(0, dot);

    CFileDialog dialog(FALSE, nullptr, title.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
    const int initialType = SaveTypeFromExtension(name);
    dialog.m_ofn.nFilterIndex = initialType > 0 ? initialType : 1;
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    if (dialog.DoModal() != IDOK)
        return;
    std::string path = static_cast<LPCSTR>(dialog.GetPathName());
    int type;
    // Only a "." in the file name itself names a format (a folder may
    // have one too).
    if (FileNamePart(path).find('.') != std::string::npos) {
        type = SaveTypeFromExtension(FileNamePart(path));
        if (type == 0) {
            ShowStringMessage(IDS_UNRECOGNIZED_FORMAT);
            return;
        }
    } else {
        type = static_cast<int>(dialog.m_ofn.nFilterIndex);
        path = AppendFormatExtension(path, type);
    }
    record.error = 0;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ExportImageFile(&record, path.c_str(), type);
    SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
    if (record.error)
        DisplayFormatErrorMsg(record.error);
}

void XExplorerDoc::OnDeleteImage()
{
    if (!treeView)
        return;
    CTreeCtrl& tree = treeView->Tree();
    HTREEITEM item = tree.GetSelectedItem();
    if (!item || treeView->ItemImage(item) != kImageFile) {
        BrowserMessage("You can not delete folders within Pixorama.");
        return;
    }
    const std::string path = treeView->SelectedPath();
    const std::string question = "Are you sure you want to remove file " + path + "?";
    if (BrowserMessage(question.c_str(), MB_YESNO) != IDYES)
        return;
    // A file that stays (read-only, in use, out of the program's reach)
    // keeps its row and its count.
    WIN32_FIND_DATAA data;
    if (!ReadFileEntry(path, data) || !DeleteFileA(path.c_str())) {
        const std::string message = "The file " + PathInLines(path) + " could not be removed.";
        BrowserMessage(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Browser.counters.Remove(MatchScannedFile(data.cFileName, Browser.formatFlags),
                            (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    busy = 1;
    if (listView)
        listView->DeleteFileRow(item);
    busy = 0;
    tree.DeleteItem(item);
}

void XExplorerDoc::OnCopyImage()
{
    if (!image)
        return;
    const HWND owner = MainWindow();
    if (image->bitCount == 1)
        CopyMonoImageToClipboard(*image, owner);
    else if (image->bitCount > Browser.screenDepth)
        CopyImageToClipboardDIB(*image, owner);
    else
        CopyImageToClipboardBitmap(*image, owner);
}

void XExplorerDoc::OnPrint()
{
    if (image)
        PrintOneXImage(&record, "Pixorama", Browser.settingsPath, 1, 0);
}

void XExplorerDoc::OnFullScreenView()
{
    if (fullScreen) {
        if (fullScreen->GetSafeHwnd())
            fullScreen->DestroyWindow();
        delete fullScreen;
        fullScreen = nullptr;
        return;
    }
    if (!image)
        return;
    fullScreen = new XWndFullScreen(image);
    if (!fullScreen->Open()) {
        delete fullScreen;
        fullScreen = nullptr;
    }
}
