// The browser's one document: the selected file's image and its record for
// the format and print libraries, and the commands that act on it.
#pragma once

#include "../../formats/Pictova.h"
#include "../../framework/Document.h"

class DisplayImage;
class XExplorerTreeView;
class XExplorerListView;
class XExplorerImageView;
class XWndFullScreen;

class XExplorerDoc : public CDocument {
    DECLARE_DYNCREATE(XExplorerDoc)
public:
    XExplorerDoc();
    ~XExplorerDoc() override;

    ImageRecord record;
    DisplayImage* image = nullptr;
    int busy = 0;
    XExplorerTreeView* treeView = nullptr;
    XExplorerListView* listView = nullptr;
    XExplorerImageView* imageView = nullptr;

    BOOL OnNewDocument() override { return TRUE; }
    BOOL OnOpenDocument(LPCSTR) override { return TRUE; }

    // Loads a file into the image pane; a file the library cannot read is
    // reported and leaves the pane empty.
    void LoadSelectedImage(const char* path);
    void CloseImage();
    // Empties the tree and the list and closes the image.
    void ClearAll();

    afx_msg void OnSelectFormats();
    afx_msg void OnSummaryReport();
    afx_msg void OnFileSaveAs();
    afx_msg void OnDeleteImage();
    afx_msg void OnCopyImage();
    afx_msg void OnPrint();
    afx_msg void OnFullScreenView();
    afx_msg void OnUpdateImageCommand(CCmdUI* cmdUI);

    // The record names the image's blocks, name and time again.
    void FillRecordFromImage();

    DECLARE_MESSAGE_MAP()
};

// The document of the running browser (there is one).
XExplorerDoc* ActiveExplorerDoc();
