// Documents: the data a program edits, shown by one or more views. The
// document keeps its title, path and modified flag, opens, saves and closes
// with the framework's prompts, and tells its views when it changes.
#pragma once

#include "Collections.h"
#include "CmdTarget.h"
#include "CString.h"

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    // Title, path and template.
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR title);   // and the titles of its frames
    const CString& GetPathName() const { return m_strPathName; }
    // The full path of the file the document stands for; the title becomes
    // the file name, and the path joins the recent-file list when addToMRU.
    virtual void SetPathName(LPCSTR path, BOOL addToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // The modified flag: set by the program's edits, cleared by a save.
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    // Views.
    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& position) const { return static_cast<CView*>(m_viewList.GetNext(position)); }
    // Calls every view's OnUpdate except the sender's.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    virtual void OnChangedViewList();

    // The document's life. OnNewDocument and OnOpenDocument return FALSE to
    // abandon the document (the framework then discards it and its window).
    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR path);
    virtual BOOL OnSaveDocument(LPCSTR path);
    // Destroys the document's frames (and so its views), then the document.
    virtual void OnCloseDocument();
    virtual void PreCloseFrame(CFrameWnd* frame) { (void)frame; }
    // TRUE when the frame may close: other frames still show the document,
    // or SaveModified agrees.
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // Asks "Save changes to <title>?" when modified: Yes saves (a failed save
    // keeps the document open), No discards, Cancel keeps it open.
    virtual BOOL SaveModified();
    // Saves to path, or asks for a name first when path is null (Save As);
    // with replace the document takes the new name.
    virtual BOOL DoSave(LPCSTR path, BOOL replace = TRUE);
    // Save: to the document's path, or through Save As when it has none.
    virtual BOOL DoFileSave();

    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    BOOL m_bAutoDelete = TRUE;   // delete the object when its last view goes

protected:
    friend class CDocTemplate;
    // Asks for a file name to save under; FALSE when the user cancels.
    virtual BOOL PromptForSaveName(CString& path);

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bClosing = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The standard question before a modified document closes; "%1" stands for
// the document's title.
extern const char kKfSaveChangesPrompt[];
// A file name made a full path, as documents and the recent-file list keep
// them; the name as given when the system cannot complete it.
CString KfFullPathName(LPCSTR path);
