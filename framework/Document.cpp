#include "Document.h"

#include "CommonDialogs.h"
#include "DocTemplate.h"
#include "View.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

const char kKfSaveChangesPrompt[] = "Save changes to %1?";

namespace {

CString FileNameOf(const CString& path)
{
    int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    return path.Mid(slash + 1);
}

} // namespace

CString KfFullPathName(LPCSTR path)
{
    char buffer[MAX_PATH * 2];
    DWORD length = ::GetFullPathNameA(path, sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer)
        return CString(path);
    return CString(buffer);
}

CDocument::~CDocument()
{
    // Views still bound (their windows outlived the document) forget it.
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos)
        static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

// Title and path

void CDocument::SetTitle(LPCSTR title)
{
    m_strTitle = title;
    std::vector<CFrameWnd*> frames;
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        CFrameWnd* frame = view->m_hWnd ? view->GetParentFrame() : nullptr;
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (CFrameWnd* frame : frames)
        frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(LPCSTR path, BOOL addToMRU)
{
    m_strPathName = KfFullPathName(path);
    SetTitle(FileNameOf(m_strPathName));
    CWinApp* app = AfxGetApp();
    if (addToMRU && app)
        app->AddToRecentFileList(m_strPathName);
}

// Views

void CDocument::AddView(CView* view)
{
    if (!view || m_viewList.Find(view))
        return;
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    POSITION pos = m_viewList.Find(view);
    if (!pos)
        return;
    m_viewList.RemoveAt(pos);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    // The last view gone takes the document with it.
    if (m_viewList.IsEmpty() && m_bAutoDelete && !m_bClosing)
        OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
    }
}

// Life

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The base document keeps no data: it only checks that the file can be read.
BOOL CDocument::OnOpenDocument(LPCSTR path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(file);
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The base document has nothing to write; documents with data override this
// and return FALSE when the file could not be written.
BOOL CDocument::OnSaveDocument(LPCSTR)
{
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    // Destroying the frames removes the views; the document stays until done.
    while (!m_viewList.IsEmpty()) {
        CView* view = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* frame = view->m_hWnd ? view->GetParentFrame() : nullptr;
        if (frame) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else if (view->m_hWnd) {
            view->DestroyWindow();
        }
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view)
            RemoveView(view);   // a window that would not go
    }
    DeleteContents();
    m_bClosing = FALSE;
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame)
{
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        if (view->m_hWnd && view->GetParentFrame() != frame)
            return TRUE;   // another frame keeps showing the document
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strTitle;
    if (name.IsEmpty())
        name = m_strPathName.IsEmpty() ? CString("Untitled") : FileNameOf(m_strPathName);
    CString prompt(kKfSaveChangesPrompt);
    prompt.Replace("%1", name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();   // a failed save keeps the document open
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave()
{
    DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName);
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (m_strPathName.IsEmpty() || readOnly)
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

// A failed save leaves everything as it was: the document modified, its
// name unchanged, and whatever file was there not deleted.
BOOL CDocument::DoSave(LPCSTR path, BOOL replace)
{
    CString name(path);
    if (name.IsEmpty() && !PromptForSaveName(name))
        return FALSE;
    if (!OnSaveDocument(name))
        return FALSE;
    if (replace)
        SetPathName(name);
    return TRUE;
}

BOOL CDocument::PromptForSaveName(CString& path)
{
    CString filter, extension;
    if (m_pDocTemplate) {
        CString filterName, docString;
        m_pDocTemplate->GetDocString(filterName, CDocTemplate::filterName);
        m_pDocTemplate->GetDocString(docString, CDocTemplate::filterExt);
        extension = KfDocFilterExtension(CString("\n\n\n\n") + docString);
        if (!filterName.IsEmpty() && !extension.IsEmpty())
            filter = filterName + "|*" + extension + "|";
    }
    filter += "All Files (*.*)|*.*||";
    CString initial = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CFileDialog dialog(FALSE, extension.IsEmpty() ? nullptr : (LPCSTR)extension.Mid(1), initial,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, filter);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return !path.IsEmpty();
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    if (CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, handlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
