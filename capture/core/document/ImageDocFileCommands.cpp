// The image document's File and Edit commands: Save As, Save All, the note
// text files, printing, the clipboard, Delete Image and Image Info.
#include "ImageDoc.h"

#include <commdlg.h>

#include <string>

#include "../../../framework/DocTemplate.h"
#include "../../../framework/kernel/ReplacingFile.h"
#include "AppServices.h"
#include "DocumentCalls.h"
#include "CaptureApp.h"
#include "CaptureState.h"
#include "ClipboardImage.h"
#include "DocumentFileNames.h"
#include "DocumentOperationCalls.h"
#include "ExplorerTree.h"
#include "ImageFileIO.h"
#include "ImageView.h"
#include "NotepadForm.h"
#include "NoteSideFile.h"
#include "Settings.h"
#include "WorkImage.h"
#include "resource.h"

namespace {

const char kNoteTextFilter[] = "TXT(*.txt)\0*.txt\0";

// The note text file dialogs: true on OK with the chosen path.
bool RunNoteTextDialog(bool save, char* path, DWORD size)
{
    path[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainFrameWindow();
    dialog.lpstrFilter = kNoteTextFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return save ? GetSaveFileNameA(&dialog) != 0 : GetOpenFileNameA(&dialog) != 0;
}

void AddToExplorerWhenOnHardDrive(const char* path)
{
    if (path[0] > 'B')
        AddSavedFileToExplorer(path);
}

}  // namespace

void XImageDoc::OnFileSaveAs()
{
    DisplayImage* image = FirstImage();
    if (!image)
        return;
    StoreNoteText();
    if (!RunSaveAsForImage(*image))
        return;
    SetSavedName(FileNameSave);
    AddToExplorerWhenOnHardDrive(FileNameSave);
}

void XImageDoc::OnUpdateFileSaveAs(CCmdUI* cmdUI) { cmdUI->Enable(OpenImageDocuments > 0 && HasOneImage()); }

void XImageDoc::OnFileSaveAll()
{
    if (!RunSaveAsDialog(nullptr))
        return;
    CDocTemplate* docTemplate = GetDocTemplate();
    if (!docTemplate)
        return;
    std::vector<std::string> names = SaveAllFileNames(FileNameSave, OpenImageDocuments);
    size_t next = 0;
    POSITION position = docTemplate->GetFirstDocPosition();
    while (position && next < names.size()) {
        XImageDoc* doc = DYNAMIC_DOWNCAST(XImageDoc, docTemplate->GetNextDoc(position));
        const std::string& path = names[next++];
        DisplayImage* image = doc ? doc->FirstImage() : nullptr;
        if (!image)
            continue;
        doc->StoreNoteText();
        const int32_t oldStatus = image->status;
        ExportImageToFile(*image, path.c_str(), Format[kFormatSaveAs]);
        if (image->status != 0) {
            image->status = oldStatus;   // skipped silently, still what it was
            continue;
        }
        doc->SetSavedName(path.c_str());
        AddToExplorerWhenOnHardDrive(path.c_str());
    }
}

void XImageDoc::OnFileOpenNoteText()
{
    char path[MAX_PATH];
    DisplayImage* image = FirstImage();
    if (!image || !RunNoteTextDialog(false, path, sizeof path))
        return;
    if (!ReadNoteTextFile(*image, path))
        return;
    SetModifiedFlag(TRUE);
    ShowNote();
}

void XImageDoc::OnFileSaveNoteText()
{
    char chosen[MAX_PATH];
    if (!RunNoteTextDialog(true, chosen, sizeof chosen))
        return;
    CString text = NoteText();
    std::string path = NoteTextFileName(chosen);
    // The text with its terminating zero.
    WriteFileReplacing(path.c_str(), static_cast<LPCSTR>(text), static_cast<size_t>(text.GetLength()) + 1);
}

void XImageDoc::OnUpdateFileSaveNoteText(CCmdUI* cmdUI)
{
    XNotepadFormView* notepad = FindNotepadView();
    const DisplayImage* image = FirstImage();
    // Without its window yet the note is the image's own.
    cmdUI->Enable(notepad ? notepad->NoteLength() > 0 : image && image->hNote);
}

namespace {

// Print calls under way: the print library reads the blocks of open
// documents' images until the call returns.
int g_printCalls = 0;

class PrintHold {
public:
    PrintHold() { ++g_printCalls; }
    ~PrintHold() { --g_printCalls; }
    PrintHold(const PrintHold&) = delete;
    PrintHold& operator=(const PrintHold&) = delete;
};

// True when the document is still one of the template's: compared by
// address only, so a document that went is never touched.
bool IsStillOpen(CDocTemplate* docTemplate, const void* doc)
{
    for (POSITION position = docTemplate ? docTemplate->GetFirstDocPosition() : nullptr; position;) {
        if (docTemplate->GetNextDoc(position) == doc)
            return true;
    }
    return false;
}

}  // namespace

void XImageDoc::OnFilePrint()
{
    if (images.empty())
        return;
    const bool merged = !HasOneImage();
    if (merged) {
        MergeImagesForPrint(*WorkImage, images.data(), static_cast<int>(images.size()));
        if (!WorkImage->hPixels) {
            OpenWorkImageAsDocument();   // shows why, opens nothing
            return;
        }
        ImageToPrint = WorkImage;
    } else {
        ImageToPrint = FirstImage();
        StoreNoteText();
    }
    CDocTemplate* docTemplate = GetDocTemplate();
    ModalBusy = 1;
    {
        PrintHold hold;
        PrintCurrentImage(1);
    }
    ModalBusy = 0;
    ImageToPrint = nullptr;
    if (merged)
        CreateWorkImage();
    if (IsStillOpen(docTemplate, this))
        RedrawViews();
}

void XImageDoc::OnFilePrintAll()
{
    CDocTemplate* docTemplate = GetDocTemplate();
    ModalBusy = 1;
    {
        PrintHold hold;
        PrintAllImages();
    }
    ModalBusy = 0;
    if (IsStillOpen(docTemplate, this))
        RedrawViews();
}

BOOL XImageDoc::SaveModified()
{
    // The print library is reading the images' blocks: no document goes.
    if (g_printCalls > 0)
        return FALSE;
    return CDocument::SaveModified();
}

void XImageDoc::OnFilePrintAllOnOnePage()
{
    ModalBusy = 1;
    {
        PrintHold hold;
        PrintAllImagesOnOnePage();
    }
    ModalBusy = 0;
}

void XImageDoc::OnEditUndo()
{
    if (XNotepadFormView* notepad = FindNotepadView())
        notepad->noteEdit.SendMessage(EM_UNDO);
}

void XImageDoc::OnEditCopyImage()
{
    DisplayImage* image = FirstImage();
    if (!image)
        return;
    HWND owner = MainFrameWindow();
    if (image->bitCount == 1)
        CopyMonoImageToClipboard(*image, owner);
    else if (image->bitCount > ScreenDepth)
        CopyImageToClipboardDIB(*image, owner);
    else
        CopyImageToClipboardBitmap(*image, owner);
}

void XImageDoc::OnEditCopyText()
{
    if (XNotepadFormView* notepad = FindNotepadView())
        notepad->noteEdit.SendMessage(WM_COPY);
}

void XImageDoc::OnUpdateEditCopyText(CCmdUI* cmdUI)
{
    XNotepadFormView* notepad = FindNotepadView();
    int start = 0, end = 0;
    if (notepad && notepad->noteEdit.m_hWnd)
        notepad->noteEdit.GetSel(start, end);
    cmdUI->Enable(end > start);
}

void XImageDoc::OnEditPasteText()
{
    XNotepadFormView* notepad = FindNotepadView();
    if (!notepad)
        return;
    if (!notepad->shown && AfxGetMainWnd())
        AfxGetMainWnd()->PostMessage(WM_COMMAND, ID_VIEW_NOTEPAD);
    notepad->noteEdit.SendMessage(WM_PASTE);
}

void XImageDoc::OnUpdateEditPasteText(CCmdUI* cmdUI) { cmdUI->Enable(IsClipboardFormatAvailable(CF_TEXT)); }

void XImageDoc::OnEditDeleteImage()
{
    if (images.empty())
        return;
    if (HasOneImage()) {
        DisplayImage* image = FirstImage();
        if (image->status != kStatusLoadedFromFile) {
            ShowStringMessage(IDS_IMAGE_NOT_SAVED);
            return;
        }
        if (!DeleteImageFileThroughExplorer(image->name))
            return;
        image->status = 0;
        image->name = "Unsaved Image";
        SetTitle(image->name);
        SetModifiedFlag(TRUE);
        return;
    }
    ReleaseFromNotepad(images.back());
    delete images.back();
    images.pop_back();
    NotepadFollowsFirstImage();
    SetMergingTitle();
    UpdateCanvasSize();
    SetModifiedFlag(TRUE);
    RedrawViews();
}

void XImageDoc::OnEditImageInfo()
{
    if (DisplayImage* image = FirstImage())
        RunImageInfoDialog(GetTitle(), *image);
}
