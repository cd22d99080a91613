// The image document: one image (several while images are being merged),
// shown by an image window with the image view on top and the notepad
// below. Every capture and every image operation ends here: the work image
// is adopted as a new document. Files are opened and saved through the
// format library, notes travel in PNG files or in "txt" side files.
#pragma once

#include "../../../framework/Document.h"
#include "../../../framework/Collections.h"

#include "DisplayImage.h"

#include <vector>

class XNotepadFormView;
class XImageView;

class XImageDoc : public CDocument {
    DECLARE_DYNCREATE(XImageDoc)
public:
    XImageDoc();
    ~XImageDoc() override;

    // Drawing order: the last image is the top image.
    std::vector<DisplayImage*> images;
    int canvasWidth = 0;
    int canvasHeight = 0;

    DisplayImage* FirstImage() const { return images.empty() ? nullptr : images.front(); }
    DisplayImage* TopImage() const { return images.empty() ? nullptr : images.back(); }
    bool HasOneImage() const { return images.size() == 1; }

    void DeleteContents() override;
    BOOL SaveModified() override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR path) override;
    // Modified: an image not on disk yet, a changed image list, or a note
    // the user edited (the notepad's edit keeps its own flag).
    BOOL IsModified() override;
    void SetModifiedFlag(BOOL modified = TRUE) override;
    // The framework's Save (and the Yes of its close prompt): Save As for
    // the first image; FALSE when it was not written.
    BOOL DoFileSave() override;

    // The notepad's text back into the first image's note.
    void StoreNoteText();
    // The note as the notepad shows it, whether or not it was opened yet.
    CString NoteText();
    // The notepad shows the first image's note: called whenever the image
    // list changes, before the views are redrawn. Text typed for an image
    // that stays in the list is kept in its note.
    void NotepadFollowsFirstImage();
    // An image about to leave the list: the notepad no longer refers to it.
    void ReleaseFromNotepad(const DisplayImage* image);
    // The first image is now the file at path: its name, status and the
    // document's title; the document is no longer modified.
    void SetSavedName(const char* path);
    void PlaceImage(int index);
    void UpdateCanvasSize();
    XNotepadFormView* FindNotepadView();
    XImageView* FindImageView();
    // A copy of an image dropped on this document's view joins it on top.
    void AddImageCopy(const DisplayImage& dropped);
    // Views redrawn with the new note; the notepad shown when hidden.
    void ShowNote();
    // The notepad's text changed by the user.
    void OnNoteEdited() { SetModifiedFlag(TRUE); }
    // Title "Merging - n" for n images.
    void SetMergingTitle();

protected:
    // Takes image as the document's only image and shows its note.
    void AdoptImage(DisplayImage* image);

    // File menu (ImageDocFileCommands.cpp).
    afx_msg void OnFileSaveAs();
    afx_msg void OnUpdateFileSaveAs(CCmdUI* cmdUI);
    afx_msg void OnFileSaveAll();
    afx_msg void OnFileOpenNoteText();
    afx_msg void OnFileSaveNoteText();
    afx_msg void OnUpdateFileSaveNoteText(CCmdUI* cmdUI);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintAll();
    afx_msg void OnFilePrintAllOnOnePage();
    // Edit menu.
    afx_msg void OnEditUndo();
    afx_msg void OnEditCopyImage();
    afx_msg void OnEditCopyText();
    afx_msg void OnUpdateEditCopyText(CCmdUI* cmdUI);
    afx_msg void OnEditPasteText();
    afx_msg void OnUpdateEditPasteText(CCmdUI* cmdUI);
    afx_msg void OnEditDeleteImage();
    afx_msg void OnEditImageInfo();
    // View menu (ImageDocViewCommands.cpp).
    afx_msg void OnViewNotepad();
    afx_msg void OnUpdateViewNotepad(CCmdUI* cmdUI);
    afx_msg void OnViewFullScreenView();
    // Tool, Color and Crop menus (ImageDocToolCommands.cpp).
    afx_msg void OnToolFrame();
    afx_msg void OnToolZoomIn();
    afx_msg void OnToolZoomOut();
    afx_msg void OnToolScale();
    afx_msg void OnToolFlipHorizontal();
    afx_msg void OnToolFlipVertical();
    afx_msg void OnToolRotateLeft();
    afx_msg void OnToolRotateRight();
    afx_msg void OnToolMergeImages();
    afx_msg void OnToolMergeBackground();
    afx_msg void OnColorBlackWhite();
    afx_msg void OnColorGrayscale();
    afx_msg void OnColorInvert();
    afx_msg void OnColorCountColors();
    afx_msg void OnColorReduce();
    afx_msg void OnCropSelectImage();
    afx_msg void OnUpdateCropSelectImage(CCmdUI* cmdUI);
    afx_msg void OnCropResetLines();
    afx_msg void OnCropCrop();
    afx_msg void OnCropErase();
    afx_msg void OnUpdateOneImage(CCmdUI* cmdUI);
    afx_msg void OnUpdateSeveralImages(CCmdUI* cmdUI);
    afx_msg void OnUpdateDeeperThanOneBit(CCmdUI* cmdUI);
    afx_msg void OnUpdateDeeperThanFourBits(CCmdUI* cmdUI);
    afx_msg void OnUpdateSelectionDiffers(CCmdUI* cmdUI);
    afx_msg void OnUpdateSelectionShown(CCmdUI* cmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // The first image through op into the work image, opened as a new
    // document (or the operation's message shown).
    void RunOperation(void (*op)(DisplayImage&, const DisplayImage&));
    bool SelectionShown() const;
    bool SelectionDiffersFromImage() const;
    void RedrawViews() { UpdateAllViews(nullptr); }
};

// The number of image documents open now.
extern int OpenImageDocuments;

// The Save As dialog for image, then the file and its note; true when the
// image was written (its path in FileNameSave).
bool RunSaveAsForImage(DisplayImage& image);
// ExportImageWithNote, telling the user when the note's side file could not
// be written; true when the image was written.
bool ExportImageTellingOfNote(DisplayImage& image);
// The document of the active image window, or null.
XImageDoc* GetActiveImageDoc();
