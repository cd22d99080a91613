#include "ExplorerDoc.h"

#include <sys/stat.h>

#include "../../capture/core/document/ImageFileIO.h"
#include "../../capture/core/image/DisplayImage.h"
#include "../../framework/WinApp.h"
#include "../app/BrowserIds.h"
#include "../app/BrowserState.h"
#include "../views/ImageView.h"
#include "../views/ListView.h"
#include "../views/TreeView.h"

IMPLEMENT_DYNCREATE(XExplorerDoc, CDocument)

BEGIN_MESSAGE_MAP(XExplorerDoc, CDocument)
    ON_COMMAND(ID_VIEW_SELECT_FORMATS, OnSelectFormats)
    ON_COMMAND(ID_SUMMARY_REPORT, OnSummaryReport)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND(ID_EDIT_CLEAR, OnDeleteImage)
    ON_COMMAND(ID_EDIT_COPY, OnCopyImage)
    ON_COMMAND(ID_FILE_PRINT, OnPrint)
    ON_COMMAND(ID_FULL_SCREEN_VIEW, OnFullScreenView)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(ID_FULL_SCREEN_VIEW, OnUpdateImageCommand)
END_MESSAGE_MAP()

namespace {
XExplorerDoc* theDocument = nullptr;
}

XExplorerDoc* ActiveExplorerDoc() { return theDocument; }

XExplorerDoc::XExplorerDoc()
{
    ZeroMemory(&record, sizeof record);
    theDocument = this;
}

XExplorerDoc::~XExplorerDoc()
{
    delete image;
    if (theDocument == this)
        theDocument = nullptr;
}

void XExplorerDoc::LoadSelectedImage(const char* path)
{
    if (busy)
        return;
    DisplayImage* loaded = new DisplayImage;
    // The library's message for a file it cannot read comes from the loader.
    if (!LoadImageFile(loaded, path)) {
        delete loaded;
        CloseImage();
        return;
    }
    delete image;
    image = loaded;
    image->PrepareForDisplay();
    image->name = path;
    image->placement = {0, 0, image->width, image->height};
    struct _stat64 status;
    image->timeStamp = _stat64(path, &status) == 0 ? static_cast<int32_t>(status.st_mtime) : 0;
    FillRecordFromImage();
    if (imageView) {
        imageView->SetImageScrollSize(image->width, image->height);
        ::RedrawWindow(imageView->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

// The record names the image's blocks; the image keeps owning them.
void XExplorerDoc::FillRecordFromImage()
{
    ZeroMemory(&record, sizeof record);
    if (!image)
        return;
    record.width = image->width;
    record.height = image->height;
    record.bitCount = image->bitCount;
    record.hBits = image->hPixels;
    record.hInfo = image->hHeader;
    record.hDisplayBits = image->hDisplayPixels;
    record.hDisplayInfo = image->hDisplayHeader;
    record.hPalette = image->palette.GetSafeHandle();
    record.hNote = image->hNote;
    record.noteLength = image->hNote ? image->noteLength : 0;
    record.fileTime = image->timeStamp;
    record.fileName = const_cast<char*>(static_cast<const char*>(image->name));
}

void XExplorerDoc::CloseImage()
{
    delete image;
    image = nullptr;
    ZeroMemory(&record, sizeof record);
    if (imageView) {
        imageView->SetImageScrollSize(0, 0);
        imageView->Invalidate(TRUE);
    }
}

void XExplorerDoc::ClearAll()
{
    busy = 1;
    CloseImage();
    if (treeView)
        treeView->Tree().DeleteAllItems();
    if (listView)
        listView->DeleteAllRows();
    busy = 0;
}

void XExplorerDoc::OnUpdateImageCommand(CCmdUI* cmdUI) { cmdUI->Enable(image != nullptr); }
