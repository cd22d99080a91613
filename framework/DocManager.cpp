// The application's document layer: the templates, opening files by the
// template that suits them, the recent-file list, and the registration of
// the document types with the shell.
#include "CommonDialogs.h"
#include "DocTemplate.h"
#include "Document.h"
#include "Frame.h"
#include "MdiFrame.h"
#include "RecentFileList.h"
#include "View.h"

#include <algorithm>
#include <memory>

namespace {

const int kMaxRecentFiles = 16;   // the command ids reserved for the list

CString ModulePath()
{
    char buffer[MAX_PATH * 2];
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return length && length < sizeof buffer ? CString(buffer) : CString();
}

// Writes a default value under HKEY_CURRENT_USER\Software\Classes.
bool SetClassValue(const CString& key, const CString& value)
{
    HKEY handle = nullptr;
    CString path = "Software\\Classes\\" + key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG done = ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>((LPCSTR)value),
                                 static_cast<DWORD>(value.GetLength() + 1));
    ::RegCloseKey(handle);
    return done == ERROR_SUCCESS;
}

CString GetClassValue(const CString& key)
{
    char buffer[512] = "";
    LONG size = sizeof buffer;
    CString path = "Software\\Classes\\" + key;
    if (::RegQueryValueA(HKEY_CURRENT_USER, path, buffer, &size) != ERROR_SUCCESS)
        return CString();
    return CString(buffer);
}

void ActivateDocumentFrame(CDocument* doc)
{
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
    if (frame)
        frame->ActivateFrame();
}

class KfDocManager : public CDocManager {
public:
    ~KfDocManager() override;

    void AddDocTemplate(CDocTemplate* docTemplate) override;
    CDocument* OpenDocumentFile(LPCSTR path) override;
    void OnFileNew() override;
    void OnFileOpen() override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL endSession) override;
    int GetOpenDocumentCount() const override;
    void LoadRecentFileList(UINT maxEntries) override;
    void SaveRecentFileList() override;
    void AddToRecentFileList(LPCSTR path) override;
    CDocument* OpenRecentFile(UINT index) override;
    void EnableShellOpen() override { shellOpen_ = TRUE; }
    void RegisterShellFileTypes(BOOL compatible) override;
    POSITION GetFirstDocTemplatePosition() const override { return templates_.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& position) const override
    {
        return static_cast<CDocTemplate*>(templates_.GetNext(position));
    }

    CRecentFileList* RecentFiles() { return recent_.get(); }

private:
    void WriteRecentFiles();
    CString OpenFilter() const;

    CPtrList templates_;
    std::unique_ptr<CRecentFileList> recent_;
    BOOL shellOpen_ = FALSE;
};

KfDocManager* theManager = nullptr;

KfDocManager::~KfDocManager()
{
    while (!templates_.IsEmpty())
        delete static_cast<CDocTemplate*>(templates_.RemoveHead());
    if (theManager == this)
        theManager = nullptr;
}

void KfDocManager::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (!docTemplate || templates_.Find(docTemplate))
        return;
    docTemplate->LoadTemplate();
    templates_.AddTail(docTemplate);
}

// The file goes to the template that suits it best; a file already open
// brings its window forward instead.
CDocument* KfDocManager::OpenDocumentFile(LPCSTR path)
{
    if (!path || !*path)
        return nullptr;
    CString full = KfFullPathName(path);
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestConfidence = CDocTemplate::noAttempt;
    for (POSITION pos = templates_.GetHeadPosition(); pos;) {
        auto* candidate = static_cast<CDocTemplate*>(templates_.GetNext(pos));
        CDocument* match = nullptr;
        CDocTemplate::Confidence confidence = candidate->MatchDocType(full, match);
        if (confidence == CDocTemplate::yesAlreadyOpen) {
            ActivateDocumentFrame(match);
            return match;
        }
        if (confidence > bestConfidence) {
            best = candidate;
            bestConfidence = confidence;
        }
    }
    return best ? best->OpenDocumentFile(full) : nullptr;
}

void KfDocManager::OnFileNew()
{
    if (!templates_.IsEmpty())
        static_cast<CDocTemplate*>(templates_.GetHead())->OpenDocumentFile(nullptr);
}

CString KfDocManager::OpenFilter() const
{
    CString filter;
    for (POSITION pos = templates_.GetHeadPosition(); pos;) {
        auto* docTemplate = static_cast<CDocTemplate*>(templates_.GetNext(pos));
        CString name, strings;
        docTemplate->GetDocString(name, CDocTemplate::filterName);
        docTemplate->GetDocString(strings, CDocTemplate::filterExt);
        CString extension = KfDocFilterExtension(CString("\n\n\n\n") + strings);
        if (!name.IsEmpty() && !extension.IsEmpty())
            filter += name + "|*" + extension + "|";
    }
    return filter + "All Files (*.*)|*.*||";
}

void KfDocManager::OnFileOpen()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, OpenFilter());
    if (dialog.DoModal() != IDOK)
        return;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(dialog.GetPathName());
}

BOOL KfDocManager::SaveAllModified()
{
    for (POSITION pos = templates_.GetHeadPosition(); pos;) {
        if (!static_cast<CDocTemplate*>(templates_.GetNext(pos))->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void KfDocManager::CloseAllDocuments(BOOL endSession)
{
    for (POSITION pos = templates_.GetHeadPosition(); pos;)
        static_cast<CDocTemplate*>(templates_.GetNext(pos))->CloseAllDocuments(endSession);
}

int KfDocManager::GetOpenDocumentCount() const
{
    int count = 0;
    for (POSITION pos = templates_.GetHeadPosition(); pos;)
        count += static_cast<CDocTemplate*>(templates_.GetNext(pos))->GetDocumentCount();
    return count;
}

// Recent files

void KfDocManager::LoadRecentFileList(UINT maxEntries)
{
    int size = static_cast<int>(std::min<UINT>(maxEntries, kMaxRecentFiles));
    recent_ = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List", "File%d", size);
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszProfileName)
        recent_->SetProfileName(app->m_pszProfileName);
    recent_->ReadList();
}

void KfDocManager::WriteRecentFiles()
{
    if (!recent_)
        return;
    // The program may have moved its profile since the list was read.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszProfileName)
        recent_->SetProfileName(app->m_pszProfileName);
    recent_->WriteList();
}

void KfDocManager::SaveRecentFileList() { WriteRecentFiles(); }

// Written at once, so that the list survives a program that does not end
// normally.
void KfDocManager::AddToRecentFileList(LPCSTR path)
{
    if (!recent_ || !path || !*path)
        return;
    recent_->Add(KfFullPathName(path));
    WriteRecentFiles();
}

CDocument* KfDocManager::OpenRecentFile(UINT index)
{
    if (!recent_)
        return nullptr;
    CString path = (*recent_)[static_cast<int>(index)];
    if (path.IsEmpty())
        return nullptr;
    CWinApp* app = AfxGetApp();
    CDocument* doc = app ? app->OpenDocumentFile(path) : OpenDocumentFile(path);
    if (!doc) {
        // A file that no longer opens leaves the list.
        int at = -1;
        for (int i = 0; i < recent_->GetSize() && at < 0; ++i) {
            if ((*recent_)[i].CompareNoCase(path) == 0)
                at = i;
        }
        recent_->Remove(at);
        WriteRecentFiles();
    }
    return doc;
}

// Shell registration, per user: the type's name, icon and open command, and
// the extension when no other program holds it.
void KfDocManager::RegisterShellFileTypes(BOOL compatible)
{
    CString program = ModulePath();
    if (program.IsEmpty())
        return;
    CString quoted = "\"" + program + "\"";
    for (POSITION pos = templates_.GetHeadPosition(); pos;) {
        auto* docTemplate = static_cast<CDocTemplate*>(templates_.GetNext(pos));
        CString typeId, typeName, strings;
        if (!docTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId))
            continue;   // the template names no file type
        if (!docTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName))
            typeName = typeId;
        SetClassValue(typeId, typeName);
        SetClassValue(typeId + "\\DefaultIcon", program + ",0");
        SetClassValue(typeId + "\\shell\\open\\command", quoted + " \"%1\"");
        if (compatible) {
            SetClassValue(typeId + "\\shell\\print\\command", quoted + " /p \"%1\"");
            SetClassValue(typeId + "\\shell\\printto\\command", quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        }
        docTemplate->GetDocString(strings, CDocTemplate::filterExt);
        CString extension = KfDocFilterExtension(CString("\n\n\n\n") + strings);
        if (extension.IsEmpty() || extension == ".*")
            continue;
        CString holder = GetClassValue(extension);
        if (holder.IsEmpty() || holder == typeId)
            SetClassValue(extension, typeId);
    }
}

} // namespace

CDocManager* KfCreateDocManager()
{
    theManager = new KfDocManager;
    return theManager;
}

CRecentFileList* KfGetRecentFileList() { return theManager ? theManager->RecentFiles() : nullptr; }
