// The folder tree: "My Computer", the scanned drives, their folders and
// image files. It runs the drive scan, keeps the selected path, and renames
// or converts files by label editing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../../framework/CtrlView.h"

#include "../document/ExplorerDoc.h"
class XDialogScanner;
struct FolderStackEntry;

// A folder being walked and the folders above it, so that the walk can tell
// a folder it has already entered on the way down.
struct FolderIdentity {
    uint64_t index = 0;   // the folder's number on its volume
    std::string path;
    std::shared_ptr<const FolderIdentity> parent;
};

const UINT WM_APPLY_LABEL = WM_APP + 1;

enum TreeImage { kImageComputer = 0, kImageDrive = 1, kImageFolder = 2, kImageFolderOpen = 3, kImageFile = 4,
                 kImageFileSelected = 5 };

class XExplorerTreeView : public CTreeView {
    DECLARE_DYNCREATE(XExplorerTreeView)
public:
    XExplorerTreeView();
    ~XExplorerTreeView() override;

    XExplorerDoc* GetDocument() const { return static_cast<XExplorerDoc*>(m_pDocument); }
    CTreeCtrl& Tree() const { return GetTreeCtrl(); }

    // Rebuilds the tree, the list and the counters from the chosen drives.
    void ScanDrives();
    // The path of an item: drive, folders and name joined by "\".
    std::string GetItemPath(HTREEITEM item) const;
    int ItemImage(HTREEITEM item) const;
    // Only folders and files are renamed ("My Computer" and drives are not).
    bool IsRenamable(HTREEITEM item) const;
    // Puts a scanned folder's image files into the tree (they wait until
    // the folder is first opened) and gives their list rows the items.
    void OpenFolderFiles(HTREEITEM folder);
    const std::string& SelectedPath() const { return selectedPath_; }
    bool selectingRow = false;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSelChanging(NMHDR* header, LRESULT* result);
    afx_msg void OnItemExpanding(NMHDR* header, LRESULT* result);
    afx_msg void OnGetDispInfo(NMHDR* header, LRESULT* result);
    afx_msg void OnBeginLabelEdit(NMHDR* header, LRESULT* result);
    afx_msg void OnEndLabelEdit(NMHDR* header, LRESULT* result);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg LRESULT OnApplyLabel(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    // Appended to the parent's children. Folders and drives ask for their
    // button (children may still wait in pendingFiles_).
    HTREEITEM InsertTreeItem(HTREEITEM parent, const char* text, int image, int selectedImage);
    void PushFolder(HTREEITEM item, const std::string& path,
                    std::shared_ptr<const FolderIdentity> parent = nullptr);
    bool PopFolder(HTREEITEM& item, std::string& path, std::shared_ptr<const FolderIdentity>& parent);
    void ScanNextFolder(XDialogScanner& scanner);
    // The children by text alone (folders and files mixed).
    void SortChildren(HTREEITEM parent);
    void EndLabelEdit(HTREEITEM item, const char* text);
    // Renames or converts the edited file or folder; false (and the user
    // told) when the file system or the library refused.
    bool ApplyNewLabel(HTREEITEM item, bool isFile, const std::string& oldLabel, std::string& newLabel);

    CImageList images_;
    // The image files of each scanned folder not opened yet, sorted by name.
    std::unordered_map<HTREEITEM, std::vector<std::string>> pendingFiles_;
    std::vector<FolderStackEntry*> folderStack_;
    int stackTop_ = -1;
    std::string oldLabel_;
    HTREEITEM pendingItem_ = nullptr;
    std::string pendingLabel_;
    std::string selectedPath_;
};

// Keys shared by the three views: Del deletes the selected image.
bool HandleDeleteKey(UINT key);
