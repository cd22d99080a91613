#include "TreeView.h"

#include "../../capture/core/image/DisplayImage.h"
#include "../../formats/Pictova.h"
#include "../../framework/WinApp.h"
#include "../app/BrowserIds.h"
#include "../app/BrowserState.h"
#include "../model/BrowserFormats.h"
#include "ListView.h"

IMPLEMENT_DYNCREATE(XExplorerTreeView, CTreeView)

BEGIN_MESSAGE_MAP(XExplorerTreeView, CTreeView)
    ON_WM_CREATE()
    ON_WM_KEYDOWN()
    ON_NOTIFY_REFLECT(TVN_SELCHANGINGA, OnSelChanging)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_MESSAGE(WM_APPLY_LABEL, OnApplyLabel)
END_MESSAGE_MAP()

XExplorerTreeView::XExplorerTreeView() = default;

BOOL XExplorerTreeView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_DISABLEDRAGDROP |
                TVS_SHOWSELALWAYS;
    return CTreeView::PreCreateWindow(cs);
}

int XExplorerTreeView::OnCreate(LPCREATESTRUCT cs)
{
    if (CTreeView::OnCreate(cs) == -1)
        return -1;
    if (!images_.Create(IDB_TREE_IMAGES, 16, 0, RGB(255, 255, 255)))
        return -1;
    Tree().SetImageList(&images_, TVSIL_NORMAL);
    if (XExplorerDoc* doc = GetDocument())
        doc->treeView = this;
    return 0;
}

int XExplorerTreeView::ItemImage(HTREEITEM item) const
{
    int image = -1, selectedImage = -1;
    Tree().GetItemImage(item, image, selectedImage);
    return image;
}

// Renaming a drive would move everything on it into the program's folder.
bool XExplorerTreeView::IsRenamable(HTREEITEM item) const
{
    const int image = ItemImage(item);
    return image == kImageFolder || image == kImageFile;
}

std::string XExplorerTreeView::GetItemPath(HTREEITEM item) const
{
    CTreeCtrl& tree = Tree();
    std::string path = static_cast<LPCSTR>(tree.GetItemText(item));
    const HTREEITEM root = tree.GetRootItem();
    for (HTREEITEM parent = tree.GetParentItem(item); parent && parent != root; parent = tree.GetParentItem(parent))
        path = std::string(static_cast<LPCSTR>(tree.GetItemText(parent))) + "\\" + path;
    return path;
}

HTREEITEM XExplorerTreeView::InsertTreeItem(HTREEITEM parent, const char* text, int image, int selectedImage)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.cchTextMax = MAX_PATH;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.cChildren = image == kImageFile ? 0 : I_CHILDRENCALLBACK;
    return Tree().InsertItem(&insert);
}

void XExplorerTreeView::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
    if (!(info->item.mask & TVIF_CHILDREN))
        return;
    HTREEITEM item = info->item.hItem;
    const auto pending = pendingFiles_.find(item);
    info->item.cChildren = Tree().GetChildItem(item) || (pending != pendingFiles_.end() && !pending->second.empty());
}

void XExplorerTreeView::OnItemExpanding(NMHDR* header, LRESULT* result)
{
    *result = FALSE;
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    if (change->action & TVE_EXPAND)
        OpenFolderFiles(change->itemNew.hItem);
}

void XExplorerTreeView::OpenFolderFiles(HTREEITEM folder)
{
    const auto pending = pendingFiles_.find(folder);
    if (pending == pendingFiles_.end())
        return;
    std::vector<std::string> names;
    names.swap(pending->second);
    pendingFiles_.erase(pending);
    std::unordered_map<std::string, HTREEITEM> items;
    for (const std::string& name : names)
        if (HTREEITEM item = InsertTreeItem(folder, name.c_str(), kImageFile, kImageFileSelected))
            items.emplace(name, item);
    XExplorerDoc* doc = GetDocument();
    if (!doc || !doc->listView)
        return;
    FileRowTable& rows = doc->listView->Rows();
    const uintptr_t key = reinterpret_cast<uintptr_t>(folder);
    for (size_t i = 0; i < rows.Count(); ++i) {
        FileRow& row = rows.Row(i);
        if (row.folderItem != key || row.treeItem)
            continue;
        const auto found = items.find(row.Name());
        if (found != items.end())
            row.treeItem = reinterpret_cast<uintptr_t>(found->second);
    }
}

void XExplorerTreeView::OnSelChanging(NMHDR* header, LRESULT* result)
{
    *result = FALSE;
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    XExplorerDoc* doc = GetDocument();
    HTREEITEM item = change->itemNew.hItem;
    if (!doc || !item || doc->busy)
        return;
    const std::string path = GetItemPath(item);
    if (EqualNoCase(path, selectedPath_))
        return;
    selectedPath_ = path;
    if (ItemImage(item) == kImageFile) {
        doc->LoadSelectedImage(path.c_str());
        if (doc->listView) {
            selectingRow = true;
            doc->listView->SelectFileRow(item);
            selectingRow = false;
        }
    } else {
        doc->CloseImage();
    }
}

void XExplorerTreeView::OnBeginLabelEdit(NMHDR* header, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
    if (!IsRenamable(info->item.hItem)) {
        *result = TRUE;   // the edit does not start
        return;
    }
    oldLabel_ = static_cast<LPCSTR>(Tree().GetItemText(info->item.hItem));
    *result = FALSE;
}

void XExplorerTreeView::OnEndLabelEdit(NMHDR* header, LRESULT* result)
{
    // The control keeps its text; the rename runs once the edit box has gone
    // (its messages would otherwise end the edit a second time).
    *result = FALSE;
    auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
    if (!info->item.pszText)
        return;
    pendingItem_ = info->item.hItem;
    pendingLabel_ = info->item.pszText;
    PostMessage(WM_APPLY_LABEL);
}

LRESULT XExplorerTreeView::OnApplyLabel(WPARAM, LPARAM)
{
    HTREEITEM item = pendingItem_;
    pendingItem_ = nullptr;
    if (item)
        EndLabelEdit(item, pendingLabel_.c_str());
    return 0;
}

void XExplorerTreeView::EndLabelEdit(HTREEITEM item, const char* text)
{
    if (!IsRenamable(item))
        return;
    const bool isFile = ItemImage(item) == kImageFile;
    std::string newLabel = text;
    if (newLabel.empty() || newLabel == oldLabel_)
        return;
    if (isFile && newLabel.find('.') == std::string::npos)
        newLabel += ExtensionWithDot(oldLabel_);
    if (isFile && SaveTypeFromExtension(newLabel) == 0) {
        BrowserMessage("The new filename is an unsupported format.");
        return;
    }
    if (!ApplyNewLabel(item, isFile, oldLabel_, newLabel)) {
        Tree().SetItemText(item, oldLabel_.c_str());
        return;
    }
    SortChildren(Tree().GetParentItem(item));
    if (isFile && GetDocument() && GetDocument()->listView)
        GetDocument()->listView->RefreshFileRow(item, selectedPath_);
}

bool XExplorerTreeView::ApplyNewLabel(HTREEITEM item, bool isFile, const std::string& oldLabel,
                                      std::string& newLabel)
{
    const std::string oldPath = GetItemPath(item);
    Tree().SetItemText(item, newLabel.c_str());
    const std::string newPath = GetItemPath(item);
    XExplorerDoc* doc = GetDocument();
    if (isFile && !EqualNoCase(ExtensionWithDot(newLabel), ExtensionWithDot(oldLabel))) {
        if (!doc || !doc->image || !doc->record.hBits) {
            BrowserMessage("unsupported image file");
            return false;
        }
        if (GetFileAttributesA(newPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const std::string message = "Cannot convert to " + newPath + ": the file exists.";
            BrowserMessage(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        doc->record.error = 0;
        ExportImageFile(&doc->record, newPath.c_str(), SaveTypeFromExtension(newLabel));
        if (doc->record.error) {
            DisplayFormatErrorMsg(doc->record.error);
            DeleteFileA(newPath.c_str());   // no half-written file beside the old one
            doc->record.error = 0;
            return false;
        }
        DeleteFileA(oldPath.c_str());
    } else if (!MoveFileA(oldPath.c_str(), newPath.c_str())) {
        const std::string message = "Cannot rename " + oldPath + " to " + newLabel + ".";
        BrowserMessage(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    selectedPath_ = newPath;
    if (doc && doc->image && isFile) {
        doc->image->name = newPath.c_str();
        doc->FillRecordFromImage();
    }
    return true;
}

bool HandleDeleteKey(UINT key)
{
    if (key != VK_DELETE)
        return false;
    if (XExplorerDoc* doc = ActiveExplorerDoc())
        doc->OnDeleteImage();
    return true;
}

void XExplorerTreeView::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    HandleDeleteKey(key);
    CTreeView::Default();
    (void)repeat, (void)flags;
}
