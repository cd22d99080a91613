// Stand-in definitions of the image document calls until the image document,
// its child frame and views land: a document adopts the work image, titles
// itself by the image's caption and shows it in a plain view. Delete this
// file when the image document is built.
#include <windows.h>

#include "../../framework/DocTemplate.h"
#include "../../framework/Document.h"
#include "../../framework/MdiFrame.h"
#include "../../framework/View.h"
#include "AppServices.h"
#include "DisplayImage.h"
#include "DocumentCalls.h"
#include "ImageFileIO.h"
#include "WorkImage.h"
#include "resource.h"

#include <ctime>

namespace {

int openDocuments = 0;

class StandInImageDoc : public CDocument {
    DECLARE_DYNCREATE(StandInImageDoc)
public:
    StandInImageDoc() { ++openDocuments; }
    ~StandInImageDoc() override
    {
        --openDocuments;
        delete image;
    }
    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument())
            return FALSE;
        image = TakeWorkImage();
        char caption[128];
        if (image && image->status && LoadStringA(AfxGetResourceHandle(), image->status, caption, sizeof caption))
            SetTitle(caption);
        if (image)
            image->PrepareForDisplay();
        return TRUE;
    }
    BOOL OnOpenDocument(LPCSTR path) override
    {
        image = new DisplayImage;
        if (!LoadImageFile(image, path))
            return FALSE;
        image->status = kStatusLoadedFromFile;
        image->name = path;
        image->PrepareForDisplay();
        return TRUE;
    }
    DisplayImage* image = nullptr;
};
IMPLEMENT_DYNCREATE(StandInImageDoc, CDocument)

class StandInImageView : public CView {
    DECLARE_DYNCREATE(StandInImageView)
public:
    void OnDraw(CDC* dc) override
    {
        StandInImageDoc* doc = static_cast<StandInImageDoc*>(GetDocument());
        if (doc && doc->image)
            doc->image->Draw(dc->GetSafeHdc());
    }
};
IMPLEMENT_DYNCREATE(StandInImageView, CView)

}  // namespace

CMultiDocTemplate* CreateImageDocTemplate()
{
    auto record = [](const CRuntimeClass* c) { return const_cast<CRuntimeClass*>(c); };
    return new CMultiDocTemplate(IDR_IMAGE_DOC, record(RUNTIME_CLASS(StandInImageDoc)),
                                 record(RUNTIME_CLASS(CMDIChildWnd)), record(RUNTIME_CLASS(StandInImageView)));
}

void OpenWorkImageAsDocument()
{
    if (!WorkImage->hPixels) {
        ShowStringMessage(WorkImage->status ? WorkImage->status : kStatusNoMemory);
        return;
    }
    WorkImage->timeStamp = static_cast<int32_t>(time(nullptr));
    CWinApp* app = AfxGetApp();
    POSITION position = app->GetFirstDocTemplatePosition();
    if (CDocTemplate* docTemplate = position ? app->GetNextDocTemplate(position) : nullptr)
        docTemplate->OpenDocumentFile(nullptr, TRUE);
}

DisplayImage* TopImageOfChildFrame(CMDIChildWnd* frame)
{
    StandInImageDoc* doc = frame ? DYNAMIC_DOWNCAST(StandInImageDoc, frame->GetActiveDocument()) : nullptr;
    return doc ? doc->image : nullptr;
}

int OpenImageDocumentCount() { return openDocuments; }
