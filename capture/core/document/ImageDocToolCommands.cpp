// The image document's View, Tool, Color and Crop commands and the state of
// their menu items. Every operation takes the first image as its source,
// builds its result in the work image and opens it as a new document.
#include "ImageDoc.h"

#include <commdlg.h>

#include "../../../framework/Splitter.h"
#include "../../../framework/DocTemplate.h"
#include "AppServices.h"
#include "DocumentCalls.h"
#include "ColorOps.h"
#include "DocumentOperationCalls.h"
#include "FullScreenView.h"
#include "ImageChildFrame.h"
#include "ImageView.h"
#include "NotepadForm.h"
#include "Settings.h"
#include "WorkImage.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(XImageDoc, CDocument)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSaveAs)
    ON_COMMAND(ID_FILE_SAVE_ALL, OnFileSaveAll)
    ON_COMMAND(ID_FILE_OPEN_NOTE_TEXT, OnFileOpenNoteText)
    ON_COMMAND(ID_FILE_SAVE_NOTE_TEXT, OnFileSaveNoteText)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_NOTE_TEXT, OnUpdateFileSaveNoteText)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_ALL, OnFilePrintAll)
    ON_COMMAND(ID_FILE_PRINT_ALL_ONE_PAGE, OnFilePrintAllOnOnePage)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_EDIT_COPY_IMAGE, OnEditCopyImage)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_IMAGE, OnUpdateOneImage)
    ON_COMMAND(ID_EDIT_COPY_TEXT, OnEditCopyText)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_TEXT, OnUpdateEditCopyText)
    ON_COMMAND(ID_EDIT_PASTE_TEXT, OnEditPasteText)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE_TEXT, OnUpdateEditPasteText)
    ON_COMMAND(ID_EDIT_DELETE_IMAGE, OnEditDeleteImage)
    ON_COMMAND(ID_EDIT_IMAGE_INFO, OnEditImageInfo)
    ON_COMMAND(ID_VIEW_NOTEPAD, OnViewNotepad)
    ON_UPDATE_COMMAND_UI(ID_VIEW_NOTEPAD, OnUpdateViewNotepad)
    ON_COMMAND(ID_VIEW_FULL_SCREEN, OnViewFullScreenView)
    ON_COMMAND(ID_TOOL_FRAME, OnToolFrame)
    ON_UPDATE_COMMAND_UI(ID_TOOL_FRAME, OnUpdateOneImage)
    ON_COMMAND(ID_TOOL_ZOOM_IN, OnToolZoomIn)
    ON_UPDATE_COMMAND_UI(ID_TOOL_ZOOM_IN, OnUpdateOneImage)
    ON_COMMAND(ID_TOOL_ZOOM_OUT, OnToolZoomOut)
    ON_UPDATE_COMMAND_UI(ID_TOOL_ZOOM_OUT, OnUpdateOneImage)
    ON_COMMAND(ID_TOOL_SCALE, OnToolScale)
    ON_UPDATE_COMMAND_UI(ID_TOOL_SCALE, OnUpdateOneImage)
    ON_COMMAND(ID_TOOL_FLIP_HORIZONTAL, OnToolFlipHorizontal)
    ON_COMMAND(ID_TOOL_FLIP_VERTICAL, OnToolFlipVertical)
    ON_COMMAND(ID_TOOL_ROTATE_LEFT, OnToolRotateLeft)
    ON_COMMAND(ID_TOOL_ROTATE_RIGHT, OnToolRotateRight)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TOOL_FLIP_HORIZONTAL, ID_TOOL_ROTATE_RIGHT, OnUpdateOneImage)
    ON_COMMAND(ID_TOOL_MERGE_IMAGES, OnToolMergeImages)
    ON_UPDATE_COMMAND_UI(ID_TOOL_MERGE_IMAGES, OnUpdateSeveralImages)
    ON_COMMAND(ID_TOOL_MERGE_BACKGROUND, OnToolMergeBackground)
    ON_UPDATE_COMMAND_UI(ID_TOOL_MERGE_BACKGROUND, OnUpdateSeveralImages)
    ON_COMMAND(ID_COLOR_BLACK_WHITE, OnColorBlackWhite)
    ON_UPDATE_COMMAND_UI(ID_COLOR_BLACK_WHITE, OnUpdateDeeperThanOneBit)
    ON_COMMAND(ID_COLOR_GRAYSCALE, OnColorGrayscale)
    ON_UPDATE_COMMAND_UI(ID_COLOR_GRAYSCALE, OnUpdateOneImage)
    ON_COMMAND(ID_COLOR_INVERT, OnColorInvert)
    ON_UPDATE_COMMAND_UI(ID_COLOR_INVERT, OnUpdateOneImage)
    ON_COMMAND(ID_COLOR_COUNT_COLORS, OnColorCountColors)
    ON_UPDATE_COMMAND_UI(ID_COLOR_COUNT_COLORS, OnUpdateDeeperThanOneBit)
    ON_UPDATE_COMMAND_UI(ID_COLOR_CHECK_CHANGE, OnUpdateDeeperThanOneBit)
    ON_COMMAND(ID_COLOR_REDUCE, OnColorReduce)
    ON_UPDATE_COMMAND_UI(ID_COLOR_REDUCE, OnUpdateDeeperThanFourBits)
    ON_COMMAND(ID_CROP_SELECT_IMAGE, OnCropSelectImage)
    ON_UPDATE_COMMAND_UI(ID_CROP_SELECT_IMAGE, OnUpdateCropSelectImage)
    ON_COMMAND(ID_CROP_RESET_LINES, OnCropResetLines)
    ON_UPDATE_COMMAND_UI(ID_CROP_RESET_LINES, OnUpdateSelectionDiffers)
    ON_COMMAND(ID_CROP_CROP, OnCropCrop)
    ON_UPDATE_COMMAND_UI(ID_CROP_CROP, OnUpdateSelectionDiffers)
    ON_COMMAND(ID_CROP_ERASE, OnCropErase)
    ON_UPDATE_COMMAND_UI(ID_CROP_ERASE, OnUpdateSelectionShown)
END_MESSAGE_MAP()

void XImageDoc::RunOperation(void (*op)(DisplayImage&, const DisplayImage&))
{
    DisplayImage* source = FirstImage();
    if (!source)
        return;
    op(*WorkImage, *source);
    OpenWorkImageAsDocument();
}

bool XImageDoc::SelectionShown() const { return HasOneImage() && FirstImage()->selectionShown; }

bool XImageDoc::SelectionDiffersFromImage() const
{
    if (!SelectionShown())
        return false;
    const DisplayImage* image = FirstImage();
    const ImageRect& s = image->selection;
    return s.left != 0 || s.top != 0 || s.right != image->width || s.bottom != image->height;
}

// ---- View ---------------------------------------------------------------------

void XImageDoc::OnViewNotepad()
{
    XImageMDIChildWnd* child = GetActiveImageChildFrame();
    if (!child)
        return;
    XNotepadFormView* notepad = child->NotepadView();
    const bool open = !notepad || !notepad->shown;
    CRect client;
    child->splitter.GetClientRect(&client);
    child->splitter.SetRowInfo(0, open ? client.Height() / 2 : ScreenHeight, 0);
    child->splitter.RecalcLayout();
    if (XImageView* view = child->ImageView())
        view->SetFocus();
}

void XImageDoc::OnUpdateViewNotepad(CCmdUI* cmdUI)
{
    XNotepadFormView* notepad = FindNotepadView();
    cmdUI->SetCheck(notepad && notepad->shown ? 1 : 0);
}

void XImageDoc::OnViewFullScreenView() { XWndFullScreenView::Toggle(); }

// ---- Tool ---------------------------------------------------------------------

void XImageDoc::OnToolFrame()
{
    if (RunFrameDialog())
        RunOperation(AddImageFrame);
}

void XImageDoc::OnToolZoomIn()
{
    if (DisplayImage* source = FirstImage()) {
        ScaleImageUp(*WorkImage, *source, 2, 2);
        OpenWorkImageAsDocument();
    }
}

void XImageDoc::OnToolZoomOut()
{
    DisplayImage* source = FirstImage();
    if (!source)
        return;
    RunMode[kRunSmoothScaling] = 0;
    ScaleImage(*WorkImage, *source, source->width / 2, source->height / 2);
    OpenWorkImageAsDocument();
}

void XImageDoc::OnToolScale()
{
    DisplayImage* source = FirstImage();
    if (!source)
        return;
    ScaleChoice choice = {source->width, source->height, 0, 100, 100, RunMode[kRunSmoothScaling]};
    if (!RunScaleDialog(choice))
        return;
    int width = choice.width;
    int height = choice.height;
    if (choice.percentMode) {
        width = static_cast<int>(int64_t(choice.percentX) * source->width / 100);
        height = static_cast<int>(int64_t(choice.percentY) * source->height / 100);
    }
    RunMode[kRunSmoothScaling] = choice.smooth;
    RedrawViews();
    ScaleImage(*WorkImage, *source, width, height);
    OpenWorkImageAsDocument();
}

void XImageDoc::OnToolFlipHorizontal() { RunOperation(FlipImageHorizontal); }
void XImageDoc::OnToolFlipVertical() { RunOperation(FlipImageVertical); }
void XImageDoc::OnToolRotateLeft() { RunOperation(RotateImageLeft); }
void XImageDoc::OnToolRotateRight() { RunOperation(RotateImageRight); }

void XImageDoc::OnToolMergeImages()
{
    if (images.size() < 2)
        return;
    MergeImages(*WorkImage, images.data(), static_cast<int>(images.size()));
    OpenWorkImageAsDocument();
}

void XImageDoc::OnToolMergeBackground()
{
    static COLORREF custom[16];
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainFrameWindow();
    dialog.rgbResult = static_cast<COLORREF>(Session[kSessionMergeBackground]);
    dialog.lpCustColors = custom;
    dialog.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorA(&dialog))
        Session[kSessionMergeBackground] = static_cast<int>(dialog.rgbResult);
}

// ---- Color --------------------------------------------------------------------

void XImageDoc::OnColorBlackWhite()
{
    if (RunBlackWhiteDialog())
        RunOperation(ConvertToBlackWhite);
}

void XImageDoc::OnColorGrayscale() { RunOperation(ConvertToGrayscale); }

void XImageDoc::OnColorInvert() { RunOperation(InvertColors); }

void XImageDoc::OnColorCountColors()
{
    DisplayImage* image = FirstImage();
    if (!image)
        return;
    if (image->colorCount == 0) {
        if (image->bitCount == 4)
            image->CountColors4();
        else if (image->bitCount == 8)
            image->CountColors8();
        else if (image->bitCount == 24)
            image->CountColors24();
    }
    CString text;
    text.LoadString(IDS_TOTAL_COLORS);
    text.AppendFormat("%ld", static_cast<long>(image->colorCount));
    AfxMessageBox(text);
}

void XImageDoc::OnColorReduce()
{
    DisplayImage* source = FirstImage();
    if (source)
        RunOperation(source->bitCount == 8 ? ReduceColors8To4 : ReduceColors24To8);
}

// ---- Crop ---------------------------------------------------------------------

void XImageDoc::OnCropSelectImage()
{
    DisplayImage* image = FirstImage();
    if (!image)
        return;
    image->selectionShown = !image->selectionShown;
    RedrawViews();
    if (XImageView* view = FindImageView())
        view->SetFocus();
}

void XImageDoc::OnUpdateCropSelectImage(CCmdUI* cmdUI)
{
    cmdUI->Enable(HasOneImage());
    cmdUI->SetCheck(SelectionShown() ? 1 : 0);
}

void XImageDoc::OnCropResetLines()
{
    DisplayImage* image = FirstImage();
    if (!image)
        return;
    image->selection = {0, 0, image->width, image->height};
    RedrawViews();
}

void XImageDoc::OnCropCrop() { RunOperation(CropImage); }

void XImageDoc::OnCropErase() { RunOperation(EraseSelection); }

// ---- Item states --------------------------------------------------------------

void XImageDoc::OnUpdateOneImage(CCmdUI* cmdUI) { cmdUI->Enable(HasOneImage()); }

void XImageDoc::OnUpdateSeveralImages(CCmdUI* cmdUI) { cmdUI->Enable(images.size() > 1); }

void XImageDoc::OnUpdateDeeperThanOneBit(CCmdUI* cmdUI) { cmdUI->Enable(HasOneImage() && FirstImage()->bitCount > 1); }

void XImageDoc::OnUpdateDeeperThanFourBits(CCmdUI* cmdUI)
{
    cmdUI->Enable(HasOneImage() && FirstImage()->bitCount > 4);
}

void XImageDoc::OnUpdateSelectionDiffers(CCmdUI* cmdUI) { cmdUI->Enable(SelectionDiffersFromImage()); }

void XImageDoc::OnUpdateSelectionShown(CCmdUI* cmdUI) { cmdUI->Enable(SelectionShown()); }
