// The image document's life: adoption of the work image, opening a file,
// its images' placement and canvas, its note, and the calls the rest of the
// program makes of the image documents.
#include "ImageDoc.h"

#include <algorithm>
#include <ctime>

#include "../../../framework/DocTemplate.h"
#include "../../../framework/MdiFrame.h"
#include "AppServices.h"
#include "ColorOps.h"
#include "DocumentCalls.h"
#include "DocumentFileNames.h"
#include "DocumentOperationCalls.h"
#include "ImageChildFrame.h"
#include "ImageDocLayout.h"
#include "ImageFileIO.h"
#include "ImageView.h"
#include "NotepadForm.h"
#include "NoteSideFile.h"
#include "Settings.h"
#include "WorkImage.h"
#include "resource.h"

int OpenImageDocuments = 0;

IMPLEMENT_DYNCREATE(XImageDoc, CDocument)

XImageDoc::XImageDoc() { ++OpenImageDocuments; }

XImageDoc::~XImageDoc()
{
    DeleteContents();
    --OpenImageDocuments;
}

void XImageDoc::DeleteContents()
{
    if (XNotepadFormView* notepad = FindNotepadView())
        notepad->image = nullptr;
    for (DisplayImage* image : images)
        delete image;
    images.clear();
}

void XImageDoc::AdoptImage(DisplayImage* image)
{
    image->PrepareForDisplay();
    images.push_back(image);
    NotepadFollowsFirstImage();
    PlaceImage(0);
    UpdateCanvasSize();
}

BOOL XImageDoc::OnNewDocument()
{
    if (!WorkImage || !WorkImage->hPixels)
        return FALSE;
    if (WorkImage->status != kStatusSavedByCapture) {
        CString caption;
        caption.LoadString(static_cast<UINT>(WorkImage->status));
        WorkImage->name = caption;
    }
    SetTitle(WorkImage->name);
    AdoptImage(TakeWorkImage());
    // A capture or an operation's result is on no disk yet (the capture's
    // file destination aside).
    SetModifiedFlag(images.front()->status != kStatusSavedByCapture);
    return TRUE;
}

namespace {

int32_t FileModificationTime(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return static_cast<int32_t>(time(nullptr));
    ULARGE_INTEGER ticks;
    ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100-ns ticks since 1601 to seconds since 1970.
    return static_cast<int32_t>(ticks.QuadPart / 10000000ULL - 11644473600ULL);
}

// The image the Open dialog's preview left in the work image, or null when
// it left none that can be shown.
DisplayImage* TakePreviewedImage()
{
    PreviewLoaded = 0;
    if (!WorkImage->hPixels || WorkImage->status != 0) {
        CreateWorkImage();
        return nullptr;
    }
    return TakeWorkImage();
}

DisplayImage* LoadFileImage(const char* path)
{
    DisplayImage* image = new DisplayImage;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool loaded = LoadImageFile(image, path);
    SetCursor(previous);
    if (!loaded) {
        delete image;
        return nullptr;
    }
    return image;
}

}  // namespace

BOOL XImageDoc::OnOpenDocument(LPCSTR path)
{
    DisplayImage* image = PreviewLoaded ? TakePreviewedImage() : LoadFileImage(path);
    if (!image)
        return FALSE;
    image->name = path;
    image->status = kStatusLoadedFromFile;
    bool showNotepad = ReadNoteSideFile(*image, path);
    image->timeStamp = FileModificationTime(path);
    AdoptImage(image);
    SetModifiedFlag(FALSE);
    if (showNotepad && AfxGetMainWnd())
        AfxGetMainWnd()->PostMessage(WM_COMMAND, ID_VIEW_NOTEPAD);
    return TRUE;
}

BOOL XImageDoc::IsModified()
{
    XNotepadFormView* notepad = FindNotepadView();
    return CDocument::IsModified() || (notepad && notepad->noteEdit.m_hWnd && notepad->noteEdit.GetModify());
}

void XImageDoc::SetModifiedFlag(BOOL modified)
{
    CDocument::SetModifiedFlag(modified);
    XNotepadFormView* notepad = modified ? nullptr : FindNotepadView();
    if (notepad && notepad->noteEdit.m_hWnd)
        notepad->noteEdit.SetModify(FALSE);
}

BOOL XImageDoc::DoFileSave()
{
    DisplayImage* image = FirstImage();
    if (!image)
        return FALSE;
    StoreNoteText();
    if (!RunSaveAsForImage(*image))
        return FALSE;
    SetSavedName(FileNameSave);
    return TRUE;
}

void XImageDoc::StoreNoteText()
{
    DisplayImage* image = FirstImage();
    XNotepadFormView* notepad = FindNotepadView();
    if (!image || !notepad)
        return;
    CString text = notepad->NoteText();
    SetNoteText(*image, text, static_cast<size_t>(text.GetLength()));
}

CString XImageDoc::NoteText()
{
    if (XNotepadFormView* notepad = FindNotepadView())
        return notepad->NoteText();
    const DisplayImage* image = FirstImage();
    return image ? NoteTextForEdit(*image) : CString();
}

void XImageDoc::NotepadFollowsFirstImage()
{
    XNotepadFormView* notepad = FindNotepadView();
    if (!notepad)
        return;
    DisplayImage* shown = notepad->image;
    const bool shownStays = shown && std::find(images.begin(), images.end(), shown) != images.end();
    if (shownStays && notepad->noteEdit.m_hWnd && notepad->noteEdit.GetModify()) {
        CString text = notepad->NoteText();
        SetNoteText(*shown, text, static_cast<size_t>(text.GetLength()));
        CDocument::SetModifiedFlag(TRUE);
    }
    DisplayImage* first = FirstImage();
    if (shown == first)
        return;
    notepad->image = first;
    notepad->OnUpdate(nullptr, 0, nullptr);
}

void XImageDoc::ReleaseFromNotepad(const DisplayImage* image)
{
    XNotepadFormView* notepad = FindNotepadView();
    if (notepad && notepad->image == image)
        notepad->image = nullptr;
}

void XImageDoc::SetSavedName(const char* path)
{
    DisplayImage* image = FirstImage();
    if (!image)
        return;
    image->name = path;
    image->status = kStatusLoadedFromFile;
    SetTitle(path);
    SetModifiedFlag(FALSE);
}

void XImageDoc::PlaceImage(int index)
{
    if (index < 0 || index >= static_cast<int>(images.size()))
        return;
    DisplayImage* image = images[static_cast<size_t>(index)];
    image->placement = PlacementForIndex(index, image->width, image->height);
}

void XImageDoc::UpdateCanvasSize()
{
    std::vector<ImageRect> placements;
    for (const DisplayImage* image : images)
        placements.push_back(image->placement);
    CanvasSize canvas = CanvasAround(placements, SendtoPage[kSendtoMarginX], SendtoPage[kSendtoMarginY]);
    canvasWidth = canvas.width;
    canvasHeight = canvas.height;
}

XNotepadFormView* XImageDoc::FindNotepadView()
{
    POSITION position = GetFirstViewPosition();
    while (position) {
        if (XNotepadFormView* view = DYNAMIC_DOWNCAST(XNotepadFormView, GetNextView(position)))
            return view;
    }
    return nullptr;
}

XImageView* XImageDoc::FindImageView()
{
    POSITION position = GetFirstViewPosition();
    while (position) {
        if (XImageView* view = DYNAMIC_DOWNCAST(XImageView, GetNextView(position)))
            return view;
    }
    return nullptr;
}

void XImageDoc::SetMergingTitle()
{
    CString title;
    title.LoadString(IDS_CAPTION_MERGING);
    title.AppendFormat("%d", static_cast<int>(images.size()));
    SetTitle(title);
}

void XImageDoc::AddImageCopy(const DisplayImage& dropped)
{
    DisplayImage* copy = new DisplayImage;
    if (!DuplicateImage(*copy, dropped)) {
        delete copy;
        ShowStringMessage(kStatusNoMemory);
        return;
    }
    copy->name = dropped.name;
    copy->PrepareForDisplay();
    copy->borderShown = 1;
    if (DisplayImage* top = TopImage()) {
        top->selectionShown = 0;
        top->borderShown = 0;
    }
    images.push_back(copy);
    NotepadFollowsFirstImage();
    SetMergingTitle();
    PlaceImage(static_cast<int>(images.size()) - 1);
    UpdateCanvasSize();
    SetModifiedFlag(TRUE);
    RedrawViews();
}

void XImageDoc::ShowNote()
{
    RedrawViews();
    XNotepadFormView* notepad = FindNotepadView();
    if (!notepad || !notepad->shown)
        OnViewNotepad();
}

// ---- What the rest of the program calls ------------------------------------------

CMultiDocTemplate* CreateImageDocTemplate()
{
    // The template takes its class records as plain pointers; it never
    // changes them.
    return new CMultiDocTemplate(IDR_IMAGE_DOC, const_cast<CRuntimeClass*>(RUNTIME_CLASS(XImageDoc)),
                                 const_cast<CRuntimeClass*>(RUNTIME_CLASS(XImageMDIChildWnd)), nullptr);
}

void OpenWorkImageAsDocument()
{
    if (!WorkImage)
        return;
    if (!WorkImage->hPixels) {
        // An operation that built nothing and says nothing shows nothing.
        if (WorkImage->status)
            ShowStringMessage(WorkImage->status);
        WorkImage->status = 0;
        return;
    }
    WorkImage->timeStamp = static_cast<int32_t>(time(nullptr));
    CWinApp* app = AfxGetApp();
    POSITION position = app ? app->GetFirstDocTemplatePosition() : nullptr;
    if (CDocTemplate* docTemplate = position ? app->GetNextDocTemplate(position) : nullptr)
        docTemplate->OpenDocumentFile(nullptr, TRUE);
}

DisplayImage* TopImageOfChildFrame(CMDIChildWnd* frame)
{
    XImageDoc* doc = frame ? DYNAMIC_DOWNCAST(XImageDoc, frame->GetActiveDocument()) : nullptr;
    return doc ? doc->TopImage() : nullptr;
}

int OpenImageDocumentCount() { return OpenImageDocuments; }

XImageDoc* GetActiveImageDoc()
{
    CMDIFrameWnd* main = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    CMDIChildWnd* child = main ? main->MDIGetActive() : nullptr;
    return child ? DYNAMIC_DOWNCAST(XImageDoc, child->GetActiveDocument()) : nullptr;
}

bool RunSaveAsForImage(DisplayImage& image)
{
    if (!RunSaveAsDialog(nullptr))
        return false;
    if (CWnd* main = AfxGetMainWnd())
        main->UpdateWindow();
    return ExportImageTellingOfNote(image);
}

bool ExportImageTellingOfNote(DisplayImage& image)
{
    const ExportOutcome outcome = ExportImageWithNote(image);
    if (outcome == kExportNoteNotWritten) {
        char format[512];
        if (!LoadStringA(AfxGetResourceHandle(), IDS_NOTE_NOT_WRITTEN, format, sizeof format))
            lstrcpynA(format, "%s", sizeof format);
        CString text;
        text.Format(format, NoteSideFilePath(FileNameSave).c_str());
        MessageBoxA(MainFrameWindow(), text, ApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
    }
    return outcome != kExportFailed;
}
