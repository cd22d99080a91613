// The folder-tree bar docked at the left of the capture program's main
// frame: one tree of the computer, its drives, their folders and the image
// files in them. Selecting an image file opens it as a document; expanding
// a folder reads it again from disk; Del asks the frame to delete the image.
// The bar is sized at its right edge only and keeps its width in Session.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "../../../framework/ControlBars.h"
#include "../../../framework/Controls.h"
#include "FolderTreeCtrl.h"

class XDialogBar : public CDialogBar {
    DECLARE_DYNCREATE(XDialogBar)
public:
    XDialogBar();
    ~XDialogBar() override;

    // The dialog bar from the template, its tree filled; FALSE on failure.
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) override;
    // The docked width, as tall as the frame allows.
    CSize CalcDynamicLayout(int length, DWORD mode) override;

    // An item last under parent, its own handle as item data.
    HTREEITEM InsertItem(HTREEITEM parent, const char* text, int image, int selectedImage);
    // Folders before image files, each by name ignoring case.
    void SortChildren(HTREEITEM item);
    // "C:\folder\file": the texts from the drive down to item.
    std::string GetItemPath(HTREEITEM item);
    // Selects and drop-highlights item without opening anything.
    void SelectItem(HTREEITEM item);
    // Asks the user, then deletes the image file at path and its tree item;
    // TRUE when the file was deleted.
    BOOL DeleteImageFile(const char* path);

    CTreeCtrl& Tree() { return tree; }
    int Width() const { return width; }

protected:
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnTreeKeyDown(NMHDR* header, LRESULT* result);
    afx_msg void OnTreeItemExpanding(NMHDR* header, LRESULT* result);
    afx_msg void OnTreeSelChanging(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    // A folder waiting to be listed, with how many levels below it to read.
    struct FolderWork {
        HTREEITEM item;
        std::string path;
        int depth;
    };

    void FillRoot();
    void ListFolder();
    void DeleteChildren(HTREEITEM item);
    int ItemImage(HTREEITEM item) const;
    void OpenImageItem(HTREEITEM item);

    XFolderTreeCtrl tree;
    CImageList images;
    std::vector<FolderWork> folderStack;
    int width = 0;
    int height = 0;
    bool listing = false;
};

// The main frame's folder-tree bar, or null.
XDialogBar* GetExplorerBar();
