#include "XDialogBar.h"

#include "../../../framework/Document.h"
#include "../../../framework/WinApp.h"
#include "AppServices.h"
#include "ExplorerIds.h"
#include "ExplorerNames.h"
#include "ExplorerTree.h"
#include "Settings.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(XDialogBar, CDialogBar)

BEGIN_MESSAGE_MAP(XDialogBar, CDialogBar)
    ON_WM_GETMINMAXINFO()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_SIZE()
    ON_NOTIFY(TVN_KEYDOWN, IDC_EXPLORER_TREE, OnTreeKeyDown)
    ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_EXPLORER_TREE, OnTreeItemExpanding)
    ON_NOTIFY(TVN_SELCHANGINGA, IDC_EXPLORER_TREE, OnTreeSelChanging)
END_MESSAGE_MAP()

namespace {

const int kMinimumWidth = 80;
const int kSizingMargin = 5;
const int kCursorMargin = 20;
// Levels read below a folder: drive C at start and every expanded folder
// show their subfolders' contents; other drives only their own.
const int kDeepListing = 2;
const int kShallowListing = 1;

int CALLBACK CompareTreeItems(LPARAM first, LPARAM second, LPARAM treeWindow)
{
    CTreeCtrl* tree = reinterpret_cast<CTreeCtrl*>(treeWindow);
    const auto a = reinterpret_cast<HTREEITEM>(first);
    const auto b = reinterpret_cast<HTREEITEM>(second);
    int imageA = 0, imageB = 0, selected = 0;
    tree->GetItemImage(a, imageA, selected);
    tree->GetItemImage(b, imageB, selected);
    return CompareExplorerItems(imageA, static_cast<LPCSTR>(tree->GetItemText(a)), imageB,
                                static_cast<LPCSTR>(tree->GetItemText(b)));
}

bool IsListedDriveType(UINT type)
{
    return type == DRIVE_REMOVABLE || type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_CDROM ||
           type == DRIVE_RAMDISK;
}

// While the bar opens a file or selects an item itself, the image windows
// leave the tree's selection alone.
class BusyScope {
public:
    BusyScope() { ++ExplorerOpeningFile; }
    ~BusyScope() { --ExplorerOpeningFile; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace

XDialogBar* GetExplorerBar()
{
    CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    return frame ? DYNAMIC_DOWNCAST(XDialogBar, frame->GetControlBar(IDW_EXPLORER_BAR)) : nullptr;
}

XDialogBar::XDialogBar() = default;

XDialogBar::~XDialogBar()
{
    if (width > 0)
        Session[kSessionExplorerWidth] = width;
}

BOOL XDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    if (!CDialogBar::Create(parent, templateId, style, id))
        return FALSE;
    if (!tree.SubclassDlgItem(IDC_EXPLORER_TREE, this))
        return FALSE;
    FillRoot();
    width = Session[kSessionExplorerWidth] >= kMinimumWidth ? Session[kSessionExplorerWidth] : kMinimumWidth;
    return TRUE;
}

CSize XDialogBar::CalcDynamicLayout(int, DWORD)
{
    // Below all other bars and views, so that the frame's sizing never
    // hides it.
    SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return CSize(width, 32767);
}

HTREEITEM XDialogBar::InsertItem(HTREEITEM parent, const char* text, int image, int selectedImage)
{
    char name[MAX_PATH];
    lstrcpynA(name, text, sizeof name);
    HTREEITEM item = tree.InsertItem(name, image, selectedImage, parent, TVI_LAST);
    if (item)
        tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(item));
    return item;
}

void XDialogBar::SortChildren(HTREEITEM item)
{
    TVSORTCB sort = {};
    sort.hParent = item;
    sort.lpfnCompare = CompareTreeItems;
    sort.lParam = reinterpret_cast<LPARAM>(&tree);
    tree.SortChildrenCB(&sort);
}

std::string XDialogBar::GetItemPath(HTREEITEM item)
{
    return ExplorerItemPath(tree.m_hWnd, item);
}

void XDialogBar::SelectItem(HTREEITEM item)
{
    BusyScope busy;
    SelectExplorerItem(tree.m_hWnd, item);
}

int XDialogBar::ItemImage(HTREEITEM item) const
{
    int image = -1, selected = -1;
    tree.GetItemImage(item, image, selected);
    return image;
}

// ---- Listing ------------------------------------------------------------------

void XDialogBar::FillRoot()
{
    images.Create(IDB_EXPLORER_IMAGES, 16, 0, RGB(255, 255, 255));
    tree.SetImageList(&images, TVSIL_NORMAL);
    HTREEITEM root = tree.InsertItem("My Computer", kExplorerComputer, kExplorerComputer, TVI_ROOT, TVI_SORT);
    for (char letter = 'Z'; letter >= 'C'; --letter) {
        const char drive[] = {letter, ':', '\0'};
        const char driveRoot[] = {letter, ':', '\\', '\0'};
        if (!IsListedDriveType(GetDriveTypeA(driveRoot)))
            continue;
        HTREEITEM item = tree.InsertItem(drive, kExplorerDrive, kExplorerDrive, root, TVI_SORT);
        if (item)
            folderStack.push_back({item, drive, letter == 'C' ? kDeepListing : kShallowListing});
    }
    while (!folderStack.empty())
        ListFolder();
    // Opened as listed: these expansions read nothing again.
    listing = true;
    tree.Expand(root, TVE_EXPAND);
    if (HTREEITEM driveC = FindChildItem(tree.m_hWnd, root, "C:"))
        tree.Expand(driveC, TVE_EXPAND);
    listing = false;
}

void XDialogBar::ListFolder()
{
    FolderWork work = folderStack.back();
    folderStack.pop_back();
    const int remaining = work.depth - 1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((work.path + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            HTREEITEM folder = InsertItem(work.item, found.cFileName, kExplorerFolder, kExplorerOpenFolder);
            if (folder && remaining > 0)
                folderStack.push_back({folder, work.path + "\\" + name, remaining});
        } else if (IsImageFileName(name)) {
            InsertItem(work.item, found.cFileName, kExplorerImageFile, kExplorerSelectedImageFile);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    SortChildren(work.item);
}

void XDialogBar::DeleteChildren(HTREEITEM item)
{
    for (HTREEITEM child = tree.GetChildItem(item); child;) {
        HTREEITEM next = tree.GetNextSiblingItem(child);
        tree.DeleteItem(child);
        child = next;
    }
}

// ---- Handlers -----------------------------------------------------------------

void XDialogBar::OnGetMinMaxInfo(MINMAXINFO* info)
{
    CDialogBar::OnGetMinMaxInfo(info);
    info->ptMinTrackSize.x = kMinimumWidth;
}

void XDialogBar::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    CPoint at = point;
    ScreenToClient(&at);
    CRect client;
    GetClientRect(&client);
    // Only the right edge sizes the bar.
    if (at.x < kSizingMargin || at.y < kSizingMargin || at.y > client.bottom - kSizingMargin)
        return;
    CDialogBar::OnNcLButtonDown(hitTest, point);
}

BOOL XDialogBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint at;
    GetCursorPos(&at);
    ScreenToClient(&at);
    CRect client;
    GetClientRect(&client);
    if (at.x < kSizingMargin || at.y < kCursorMargin || at.y > client.bottom - kCursorMargin)
        return FALSE;
    return CDialogBar::OnSetCursor(wnd, hitTest, message);
}

void XDialogBar::OnSize(UINT type, int cx, int cy)
{
    CDialogBar::OnSize(type, cx, cy);
    if (!tree.m_hWnd)
        return;
    CRect window;
    GetWindowRect(&window);
    const bool widthChanged = window.Width() != width;
    width = window.Width();
    height = window.Height();
    tree.MoveWindow(0, 0, cx, cy);
    if (widthChanged) {
        if (CFrameWnd* frame = GetDockingFrame())
            frame->RecalcLayout();
    }
}

void XDialogBar::OnTreeKeyDown(NMHDR* header, LRESULT* result)
{
    *result = 0;
    if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey != VK_DELETE)
        return;
    if (CFrameWnd* frame = GetDockingFrame())
        frame->PostMessage(WM_COMMAND, ID_EDIT_DELETE_IMAGE, 0);
}

void XDialogBar::OnTreeItemExpanding(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    HTREEITEM item = change->itemNew.hItem;
    // A listing already under way keeps what it has: its pumped messages
    // must not start another over the same items.
    if (change->action != TVE_EXPAND || !item || item == tree.GetRootItem() || listing)
        return;
    listing = true;
    DeleteChildren(item);
    folderStack.push_back({item, GetItemPath(item), kDeepListing});
    const HWND bar = m_hWnd;
    while (!folderStack.empty()) {
        if (!ExplorerWalkingTree)
            PumpMessages();
        if (!::IsWindow(bar))
            return;   // the program closed meanwhile
        ListFolder();
    }
    listing = false;
}

void XDialogBar::OnTreeSelChanging(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    if (change->action == TVC_UNKNOWN || !change->itemNew.hItem)
        return;   // a change the program made
    tree.SelectDropTarget(change->itemNew.hItem);
    if (ItemImage(change->itemNew.hItem) == kExplorerImageFile)
        OpenImageItem(change->itemNew.hItem);
}

void XDialogBar::OpenImageItem(HTREEITEM item)
{
    const std::string path = GetItemPath(item);
    BusyScope busy;
    if (CDocument* document = AfxGetApp()->OpenDocumentFile(path.c_str()))
        document->SetTitle(path.c_str());
}
