#include "DocTemplate.h"

#include "Document.h"
#include "Frame.h"
#include "View.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

namespace {

bool HasResource(UINT id, LPCSTR type)
{
    return ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), type) != nullptr;
}

bool EndsWithNoCase(const CString& text, const CString& end)
{
    return text.GetLength() >= end.GetLength() && text.Right(end.GetLength()).CompareNoCase(end) == 0;
}

// A new document of the template in a new frame; null, with nothing left of
// either, when one cannot be made.
CDocument* NewDocumentInNewFrame(CDocTemplate& docTemplate, CFrameWnd*& frame)
{
    frame = nullptr;
    CDocument* doc = docTemplate.CreateNewDocument();
    if (!doc)
        return nullptr;
    // Until the document has its frame, a failing view must not take it.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    frame = docTemplate.CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    return doc;
}

} // namespace

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate()
{
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
}

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
    if (!m_hMenuShared && HasResource(m_nIDResource, MAKEINTRESOURCEA(4)))   // RT_MENU
        m_hMenuShared = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDResource));
    if (!m_hAccelTable && HasResource(m_nIDResource, MAKEINTRESOURCEA(9)))   // RT_ACCELERATOR
        m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDResource));
}

BOOL CDocTemplate::GetDocString(CString& part, DocStringIndex index) const
{
    return KfGetDocStringPart(m_strDocStrings, index, part) && !part.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* doc) { doc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* doc)
{
    if (doc->m_pDocTemplate == this)
        doc->m_pDocTemplate = nullptr;
}

int CDocTemplate::GetDocumentCount() const
{
    int count = 0;
    for (POSITION pos = GetFirstDocPosition(); pos; GetNextDoc(pos))
        ++count;
    return count;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    CDocument* doc = DYNAMIC_DOWNCAST(CDocument, object);
    if (!doc) {
        delete object;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    // A frame whose window failed has deleted itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible)
{
    frame->InitialUpdateFrame(doc, makeVisible);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR path, CDocument*& match)
{
    match = nullptr;
    CString name(path);
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc->GetPathName().IsEmpty() && doc->GetPathName().CompareNoCase(name) == 0) {
            match = doc;
            return yesAlreadyOpen;
        }
    }
    CString extension = KfDocFilterExtension(m_strDocStrings);
    if (!extension.IsEmpty() && extension != ".*" && EndsWithNoCase(name, extension))
        return yesAttemptNative;
    return yesAttemptForeign;
}

BOOL CDocTemplate::SaveAllModified()
{
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    // Closing changes the list: work from a copy, and only on documents
    // still open when their turn comes.
    std::vector<CDocument*> docs;
    for (POSITION pos = GetFirstDocPosition(); pos;)
        docs.push_back(GetNextDoc(pos));
    for (CDocument* doc : docs) {
        bool open = false;
        for (POSITION pos = GetFirstDocPosition(); pos && !open;)
            open = GetNextDoc(pos) == doc;
        if (open)
            doc->OnCloseDocument();
    }
}

// Many documents

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                                     const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass)
{
    LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    while (!m_docList.IsEmpty())
        CDocTemplate::RemoveDocument(static_cast<CDocument*>(m_docList.RemoveHead()));
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& position) const
{
    return static_cast<CDocument*>(m_docList.GetNext(position));
}

void CMultiDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_docList.AddTail(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    if (POSITION pos = m_docList.Find(doc))
        m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) { doc->SetTitle(KfUntitledTitle(m_strDocStrings, m_nUntitledCount + 1)); }

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible)
{
    CFrameWnd* frame = nullptr;
    CDocument* doc = NewDocumentInNewFrame(*this, frame);
    if (!doc)
        return nullptr;
    BOOL ready;
    if (!path) {
        SetDefaultTitle(doc);
        ready = doc->OnNewDocument();
        if (ready)
            ++m_nUntitledCount;
    } else {
        ready = doc->OnOpenDocument(path);
    }
    if (!ready) {
        // The frame's views take the document with them; one without views
        // is deleted here.
        frame->DestroyWindow();
        if (m_docList.Find(doc))
            delete doc;
        return nullptr;
    }
    if (path)
        doc->SetPathName(path);
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

// One document

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                                       const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass)
{
    LoadTemplate();
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        CDocTemplate::RemoveDocument(m_pOnlyDoc);
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    return m_pOnlyDoc ? reinterpret_cast<POSITION>(const_cast<CDocument**>(&m_pOnlyDoc)) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& position) const
{
    CDocument* doc = position ? m_pOnlyDoc : nullptr;
    position = nullptr;
    return doc;
}

void CSingleDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    if (m_pOnlyDoc == doc)
        m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc) { doc->SetTitle(KfUntitledTitle(m_strDocStrings, 0)); }

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible)
{
    CDocument* doc = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (doc) {
        if (!doc->SaveModified())
            return nullptr;
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = pos ? doc->GetNextView(pos) : nullptr;
        frame = view ? view->GetParentFrame() : nullptr;
    } else {
        doc = NewDocumentInNewFrame(*this, frame);
        if (!doc)
            return nullptr;
        created = true;
    }
    BOOL ready;
    if (!path) {
        SetDefaultTitle(doc);
        ready = doc->OnNewDocument();
    } else {
        ready = doc->OnOpenDocument(path);
    }
    if (!ready) {
        if (created) {
            frame->DestroyWindow();
            if (m_pOnlyDoc == doc)
                delete doc;
        } else {
            // The old contents may be half replaced: start afresh.
            SetDefaultTitle(doc);
            doc->OnNewDocument();
        }
        return nullptr;
    }
    if (path)
        doc->SetPathName(path);
    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd && frame)
        app->m_pMainWnd = frame;
    if (frame)
        InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}
