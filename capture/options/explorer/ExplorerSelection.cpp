// The folder-tree bar as the rest of the program calls it: the file it
// remembers across runs, and deleting an image's file.
#include <string>

#include "../../../framework/Document.h"
#include "../../../framework/WinApp.h"
#include "AppServices.h"
#include "DocumentOperationCalls.h"
#include "ExplorerBarCalls.h"
#include "ExplorerIds.h"
#include "ExplorerNames.h"
#include "ExplorerTree.h"
#include "resource.h"
#include "MainFrame.h"
#include "Settings.h"
#include "XDialogBar.h"

namespace {

bool SamePath(const std::string& first, const char* second)
{
    return lstrcmpiA(first.c_str(), second) == 0;
}

bool CanBeRead(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

CString LoadedText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

void ShowDeleteFailure(const char* path, DWORD error)
{
    char reason[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                   sizeof reason, nullptr);
    CString text;
    text.Format(LoadedText(IDS_FILE_NOT_REMOVED), path);
    text += reason;
    MessageBoxA(MainFrameWindow(), text, ApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

BOOL XDialogBar::DeleteImageFile(const char* path)
{
    HTREEITEM selected = tree.GetSelectedItem();
    if (!selected || ItemImage(selected) != kExplorerImageFile) {
        ShowStringMessage(IDS_CANNOT_DELETE_FOLDERS);
        return FALSE;
    }
    // The item that goes is the one of the file that goes: when another file
    // is selected, the image's own item is looked for (and may be absent).
    if (!SamePath(GetItemPath(selected), path)) {
        SelectFileInExplorer(path);
        selected = tree.GetSelectedItem();
        if (!selected || ItemImage(selected) != kExplorerImageFile || !SamePath(GetItemPath(selected), path))
            selected = nullptr;
    }
    CString question;
    question.Format(LoadedText(IDS_ASK_REMOVE_FILE), path);
    if (::MessageBoxA(MainFrameWindow(), question, ApplicationTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    if (!DeleteFileA(path)) {
        ShowDeleteFailure(path, GetLastError());
        return FALSE;
    }
    if (selected) {
        if (HTREEITEM parent = tree.GetParentItem(selected))
            SelectItem(parent);
        tree.DeleteItem(selected);
    }
    return TRUE;
}

bool DeleteImageFileThroughExplorer(const char* path)
{
    XDialogBar* bar = GetExplorerBar();
    return bar && path && bar->DeleteImageFile(path);
}

HTREEITEM InsertFileItemThroughExplorer(HTREEITEM folder, const char* fileName)
{
    XDialogBar* bar = GetExplorerBar();
    if (!bar || !folder || !fileName)
        return nullptr;
    HTREEITEM item = bar->InsertItem(folder, fileName, kExplorerImageFile, kExplorerSelectedImageFile);
    bar->SortChildren(folder);
    return item;
}

void SaveExplorerSelection()
{
    XDialogBar* bar = GetExplorerBar();
    if (!bar || !bar->Tree().m_hWnd)
        return;
    HTREEITEM selected = bar->Tree().GetSelectedItem();
    WriteExplorerSelectionName(selected ? bar->GetItemPath(selected).c_str() : "");
}

void RestoreExplorerSelection()
{
    XDialogBar* bar = GetExplorerBar();
    if (!bar || !bar->Tree().m_hWnd)
        return;
    bar->SelectItem(bar->Tree().GetRootItem());
    char path[MAX_PATH] = "";
    ReadExplorerSelectionName(path, sizeof path);
    if (!path[0] || !CanBeRead(path))
        return;
    if (XMainFrame* frame = DYNAMIC_DOWNCAST(XMainFrame, AfxGetMainWnd()))
        frame->BringToFront();
    if (CDocument* document = AfxGetApp()->OpenDocumentFile(path))
        document->SetTitle(path);
}
