// The drive scan: the chosen drives' folders walked with an explicit folder
// stack, each folder's subfolders and image files put in the tree and its
// files in the list, while the scanner dialog shows where the walk is.
#include <algorithm>
#include <memory>
#include <string>

#include <windows.h>
#include <winternl.h>

#include "../../framework/AnsiFolderSearch.h"
#include "../../framework/WinApp.h"
#include "../app/BrowserIds.h"
#include "../app/BrowserState.h"
#include "../dialogs/BrowserDialogs.h"
#include "ListView.h"
#include "TreeView.h"

struct FolderStackEntry {
    HTREEITEM item;
    std::string path;
    std::shared_ptr<const FolderIdentity> parent;   // the folders above it
};

namespace {

const size_t kStackSlots = 4000;
const DWORD kPumpInterval = 10;   // ms

// Folders that lead elsewhere (links, junctions, mount points) are not
// walked: a link back to a parent would never end.
bool IsWalkableFolder(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

HANDLE OpenFolder(const std::string& path)
{
    // "C:" alone is the drive's current folder; its root is "C:\".
    const std::string name = path.size() == 2 ? path + "\\" : path;
    return CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The folder's number on its volume. GetFileInformationByHandle gives it
// with the volume's serial, but the serial costs Wine a round trip to its
// mount manager, about a millisecond a folder: half the scan.
bool FolderIndex(const std::string& path, uint64_t& index)
{
    HANDLE folder = OpenFolder(path);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    IO_STATUS_BLOCK io;
    FILE_INTERNAL_INFORMATION info;
    const NTSTATUS status = NtQueryInformationFile(folder, &io, &info, sizeof info, FileInternalInformation);
    CloseHandle(folder);
    index = static_cast<uint64_t>(info.IndexNumber.QuadPart);
    return NT_SUCCESS(status);
}

// True when both folders are on one volume, or either cannot be asked.
bool OnSameVolume(const std::string& first, const std::string& second)
{
    DWORD serials[2] = {};
    const std::string* paths[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        HANDLE folder = OpenFolder(*paths[i]);
        if (folder == INVALID_HANDLE_VALUE)
            return true;
        BY_HANDLE_FILE_INFORMATION info;
        const BOOL known = GetFileInformationByHandle(folder, &info);
        CloseHandle(folder);
        if (!known)
            return true;
        serials[i] = info.dwVolumeSerialNumber;
    }
    return serials[0] == serials[1];
}

// A folder's identity; null when the folder cannot be opened or is one of
// the folders above it (a link back up the tree, which Wine shows as an
// ordinary folder on a mapped drive). Volumes are compared only when the
// numbers match, which within one volume means the same folder.
std::shared_ptr<const FolderIdentity> IdentifyFolder(const std::string& path,
                                                     const std::shared_ptr<const FolderIdentity>& ancestors)
{
    auto self = std::make_shared<FolderIdentity>();
    if (!FolderIndex(path, self->index))
        return nullptr;
    self->path = path;
    self->parent = ancestors;
    for (const FolderIdentity* above = ancestors.get(); above; above = above->parent.get())
        if (above->index == self->index && OnSameVolume(above->path, path))
            return nullptr;
    return self;
}

// Drains the queue so the scanner dialog paints and its Cancel is heard.
void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            Browser.scanCancelled = true;
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int CALLBACK CompareTreeTexts(LPARAM first, LPARAM second, LPARAM treeWindow)
{
    char text1[MAX_PATH] = "", text2[MAX_PATH] = "";
    TVITEMA a = {}, b = {};
    a.mask = b.mask = TVIF_TEXT;
    a.hItem = reinterpret_cast<HTREEITEM>(first);
    b.hItem = reinterpret_cast<HTREEITEM>(second);
    a.pszText = text1;
    b.pszText = text2;
    a.cchTextMax = b.cchTextMax = MAX_PATH;
    const HWND tree = reinterpret_cast<HWND>(treeWindow);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&a));
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&b));
    return CompareNoCase(text1, text2);
}

}  // namespace

XExplorerTreeView::~XExplorerTreeView()
{
    for (FolderStackEntry* entry : folderStack_)
        delete entry;
}

void XExplorerTreeView::PushFolder(HTREEITEM item, const std::string& path,
                                   std::shared_ptr<const FolderIdentity> parent)
{
    ++stackTop_;
    if (static_cast<size_t>(stackTop_) >= folderStack_.size())
        folderStack_.push_back(nullptr);
    delete folderStack_[static_cast<size_t>(stackTop_)];
    folderStack_[static_cast<size_t>(stackTop_)] = new FolderStackEntry{item, path, std::move(parent)};
}

bool XExplorerTreeView::PopFolder(HTREEITEM& item, std::string& path,
                                  std::shared_ptr<const FolderIdentity>& parent)
{
    if (stackTop_ < 0)
        return false;
    FolderStackEntry*& entry = folderStack_[static_cast<size_t>(stackTop_)];
    item = entry->item;
    path.swap(entry->path);
    parent = std::move(entry->parent);
    delete entry;
    entry = nullptr;
    --stackTop_;
    return true;
}

void XExplorerTreeView::SortChildren(HTREEITEM parent)
{
    // The sort hands the callback each item's data: the item's own handle.
    CTreeCtrl& tree = Tree();
    for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child))
        tree.SetItemData(child, reinterpret_cast<DWORD_PTR>(child));
    TVSORTCB sort = {};
    sort.hParent = parent;
    sort.lpfnCompare = CompareTreeTexts;
    sort.lParam = reinterpret_cast<LPARAM>(GetSafeHwnd());
    Tree().SortChildrenCB(&sort);
}

void XExplorerTreeView::ScanDrives()
{
    XExplorerDoc* doc = GetDocument();
    XExplorerListView* list = doc ? doc->listView : nullptr;
    CTreeCtrl& tree = Tree();
    // The frame takes no input while the scan runs; the scanner dialog does.
    CWnd* main = AfxGetMainWnd();
    if (main)
        main->EnableWindow(FALSE);
    Browser.counters.Reset();
    selectedPath_.clear();
    pendingFiles_.clear();
    HTREEITEM computer = InsertTreeItem(TVI_ROOT, "My Computer", kImageComputer, kImageComputer);
    folderStack_.reserve(kStackSlots);
    stackTop_ = -1;
    std::vector<HTREEITEM> drives;
    for (int i = kBrowserDriveCount - 1; i >= 0; --i) {
        const char root[] = {static_cast<char>('C' + i), ':', '\\', 0};
        if (!Browser.driveFlags[i])
            continue;
        const UINT type = GetDriveTypeA(root);
        if (type < DRIVE_REMOVABLE || type > DRIVE_RAMDISK)
            continue;
        const char name[] = {root[0], ':', 0};
        HTREEITEM drive = InsertTreeItem(computer, name, kImageDrive, kImageDrive);
        drives.push_back(drive);
        PushFolder(drive, name);
    }
    SortChildren(computer);

    SendMessage(WM_SETREDRAW, FALSE);
    if (list)
        list->SendMessage(WM_SETREDRAW, FALSE);
    Browser.scanCancelled = false;
    Browser.scanRunning = true;
    XDialogScanner scanner;
    scanner.Create(IDD_SCANNER, main);
    DWORD pumpedAt = GetTickCount() - kPumpInterval;
    while (stackTop_ >= 0) {
        // Each look at the queue costs Wine a trip to its server: every few
        // milliseconds is soon enough for painting and Cancel.
        const DWORD now = GetTickCount();
        if (now - pumpedAt >= kPumpInterval) {
            PumpMessages();
            pumpedAt = now;
        }
        if (Browser.scanCancelled)
            break;
        ScanNextFolder(scanner);
    }
    for (FolderStackEntry*& entry : folderStack_) {
        delete entry;
        entry = nullptr;
    }
    folderStack_.clear();
    stackTop_ = -1;

    tree.Expand(computer, TVE_EXPAND);
    for (HTREEITEM drive : drives)
        tree.Expand(drive, TVE_EXPAND);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    if (list) {
        list->Settle();
        list->SendMessage(WM_SETREDRAW, TRUE);
        list->Invalidate();
    }
    if (main)
        main->EnableWindow(TRUE);
    scanner.Close();
    Browser.scanRunning = false;
    if (Browser.closeAfterScan && main) {
        Browser.closeAfterScan = false;
        main->PostMessage(WM_CLOSE);
    }
}

void XExplorerTreeView::ScanNextFolder(XDialogScanner& scanner)
{
    HTREEITEM parent;
    std::string path;
    std::shared_ptr<const FolderIdentity> ancestors;
    if (!PopFolder(parent, path, ancestors))
        return;
    scanner.ShowPath(path.c_str());
    std::shared_ptr<const FolderIdentity> self = IdentifyFolder(path, ancestors);
    if (!self)
        return;   // unreadable, or already on the way down to it
    // Names the program could not open are left out, from the counters too.
    AnsiFolderSearch search(path);
    if (!search.IsOpen())
        return;
    XExplorerDoc* doc = GetDocument();
    XExplorerListView* list = doc ? doc->listView : nullptr;
    std::vector<std::string> folders, files;
    std::string location = path + "\\";
    const size_t folderLength = location.size();
    WIN32_FIND_DATAA data;
    while (search.Next(data)) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (IsWalkableFolder(data))
                folders.emplace_back(data.cFileName);
            continue;
        }
        const int format = MatchScannedFile(data.cFileName, Browser.formatFlags);
        if (format < 0)
            continue;
        Browser.counters.Add(format, (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        files.emplace_back(data.cFileName);
        if (list) {
            location.resize(folderLength);
            location += data.cFileName;
            list->InsertFileRow(location, data, nullptr, parent);
        }
    }

    // The tree shows a folder's subfolders, then its files, each by name;
    // the files go in when the folder is first opened.
    const auto byName = [](const std::string& a, const std::string& b) { return CompareNoCase(a.c_str(), b.c_str()) < 0; };
    std::sort(folders.begin(), folders.end(), byName);
    for (const std::string& name : folders)
        if (HTREEITEM folder = InsertTreeItem(parent, name.c_str(), kImageFolder, kImageFolderOpen))
            PushFolder(folder, path + "\\" + name, self);
    if (!files.empty()) {
        std::sort(files.begin(), files.end(), byName);
        pendingFiles_[parent] = std::move(files);
    }
}
