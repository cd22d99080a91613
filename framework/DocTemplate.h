// Document templates: what a kind of document is made of (document, frame and
// view classes by their run-time class records, the resources under one id:
// document string, menu, accelerators, icon) and the documents of that kind
// that are open.
#pragma once

#include "Collections.h"
#include "CmdTarget.h"
#include "CString.h"
#include "DocTemplateStrings.h"

#include <windows.h>

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle = kDocWindowTitle,
        docName = kDocName,
        fileNewName = kDocFileNewName,
        filterName = kDocFilterName,
        filterExt = kDocFilterExt,
        regFileTypeId = kDocRegFileTypeId,
        regFileTypeName = kDocRegFileTypeName
    };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                      yesAlreadyOpen };

    ~CDocTemplate() override;

    // Loads the document string, and the shared menu and accelerators when
    // the resources exist.
    virtual void LoadTemplate();
    virtual BOOL GetDocString(CString& part, DocStringIndex index) const;
    UINT GetResourceId() const { return m_nIDResource; }

    // The open documents.
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& position) const = 0;
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);
    int GetDocumentCount() const;

    // Opens the file as a new document of this kind (null path: a new,
    // untitled one). Null when the document could not be made or refused the
    // file; nothing of it is left then.
    virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* doc) = 0;
    // How well the file suits this template: already open (match gets the
    // document), the template's extension, or maybe.
    virtual Confidence MatchDocType(LPCSTR path, CDocument*& match);

    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

protected:
    CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

// Any number of documents, each in its own MDI child frame.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                      const CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& position) const override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

protected:
    CPtrList m_docList;
    int m_nUntitledCount = 0;
};

// One document at a time in the main frame; opening another replaces it.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                       const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& position) const override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

protected:
    CDocument* m_pOnlyDoc = nullptr;
};

class CRecentFileList;
// The recent-file list of the application's document layer (null before
// the first template or LoadStdProfileSettings).
CRecentFileList* KfGetRecentFileList();
