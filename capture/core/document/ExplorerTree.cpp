#include "ExplorerTree.h"

#include <vector>

#include "DocumentFileNames.h"
#include "DocumentOperationCalls.h"
#include "../../../framework/ControlBars.h"
#include "../../../framework/Frame.h"
#include "resource.h"

int ExplorerOpeningFile = 0;
int ExplorerWalkingTree = 0;

namespace {

// Expands an item for the program's own walk over the tree.
void ExpandItem(HWND tree, HTREEITEM item)
{
    ++ExplorerWalkingTree;
    TreeView_Expand(tree, item, TVE_EXPAND);
    --ExplorerWalkingTree;
}

std::string ItemText(HWND tree, HTREEITEM item)
{
    char text[MAX_PATH] = "";
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    TreeView_GetItem(tree, &data);
    return text;
}

// The deepest item along the "\"-separated parts of path, from the root;
// with whole, null unless every part was found.
HTREEITEM WalkPath(HWND tree, const std::string& path, bool whole = false)
{
    HTREEITEM item = TreeView_GetRoot(tree);
    size_t start = 0;
    while (item && start < path.size()) {
        size_t end = path.find('\\', start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? path.size() : end + 1;
        if (part.empty())
            continue;
        HTREEITEM child = FindChildItem(tree, item, part.c_str());
        if (!child)
            return whole ? nullptr : item;
        item = child;
    }
    return item;
}

}  // namespace

HWND GetExplorerTree()
{
    CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    CControlBar* bar = frame ? frame->GetControlBar(IDW_EXPLORER_BAR) : nullptr;
    if (!bar || !bar->m_hWnd)
        return nullptr;
    return ::GetDlgItem(bar->m_hWnd, IDC_EXPLORER_TREE);
}

HTREEITEM FindChildItem(HWND tree, HTREEITEM item, const char* name)
{
    ExpandItem(tree, item);
    for (HTREEITEM child = TreeView_GetChild(tree, item); child; child = TreeView_GetNextSibling(tree, child)) {
        if (lstrcmpiA(ItemText(tree, child).c_str(), name) == 0)
            return child;
    }
    return nullptr;
}

bool IsFileItem(HWND tree, HTREEITEM item)
{
    TVITEMA data = {};
    data.mask = TVIF_IMAGE | TVIF_HANDLE;
    data.hItem = item;
    return TreeView_GetItem(tree, &data) && data.iImage == kExplorerFileImage;
}

std::string ExplorerItemPath(HWND tree, HTREEITEM item)
{
    std::vector<std::string> parts;
    for (HTREEITEM at = item; at && TreeView_GetParent(tree, at); at = TreeView_GetParent(tree, at))
        parts.push_back(ItemText(tree, at));
    std::string path;
    for (size_t i = parts.size(); i > 0; --i) {
        path += parts[i - 1];
        if (i > 1)
            path += '\\';
    }
    return path;
}

// The drop highlight moves first: some tree controls take any selection of
// the item that already has the caret as done, which would leave the
// highlight on the item the user clicked before.
void SelectExplorerItem(HWND tree, HTREEITEM item)
{
    TreeView_SelectDropTarget(tree, item);
    TreeView_SelectItem(tree, item);
}

void SelectFileInExplorer(const char* path)
{
    HWND tree = GetExplorerTree();
    if (!tree || !path)
        return;
    std::string text(path);
    if (text.size() > MAX_PATH)
        text.resize(MAX_PATH);
    if (HTREEITEM item = WalkPath(tree, text))
        SelectExplorerItem(tree, item);
}

void SelectExplorerFolder()
{
    HWND tree = GetExplorerTree();
    HTREEITEM selected = tree ? TreeView_GetSelection(tree) : nullptr;
    if (selected && IsFileItem(tree, selected)) {
        if (HTREEITEM parent = TreeView_GetParent(tree, selected))
            SelectExplorerItem(tree, parent);
    }
}

void AddSavedFileToExplorer(const char* path)
{
    HWND tree = GetExplorerTree();
    if (!tree || !path)
        return;
    std::string folderPath = FolderPart(path);
    HTREEITEM folder = WalkPath(tree, folderPath, true);
    if (!folder || folder == TreeView_GetRoot(tree))
        return;
    std::string name = FileNamePart(path);
    if (!FindChildItem(tree, folder, name.c_str()))
        InsertFileItemThroughExplorer(folder, name.c_str());
    ExpandItem(tree, folder);
    SelectFileInExplorer(path);
}
