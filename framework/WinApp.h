// The application object: one per program, made as a global. It starts the
// program (InitInstance), runs the message loop with idle processing and
// ends it (ExitInstance), receives the commands no window takes, and keeps
// the program's profile (a private ini file).
#pragma once

#include "CmdTarget.h"
#include "CString.h"
#include "Collections.h"

#include <windows.h>

class CWnd;
class CDocument;
class CDocTemplate;

// What the application asks of the document layer (templates, opening,
// the recent-file list). The document layer supplies the one manager
// through KfCreateDocManager, called when the first template is added.
class CDocManager {
public:
    virtual ~CDocManager() = default;
    virtual void AddDocTemplate(CDocTemplate* docTemplate) = 0;
    virtual CDocument* OpenDocumentFile(LPCSTR path) = 0;
    virtual void OnFileNew() = 0;
    virtual void OnFileOpen() = 0;
    virtual BOOL SaveAllModified() = 0;
    virtual void CloseAllDocuments(BOOL endSession) = 0;
    virtual int GetOpenDocumentCount() const = 0;
    virtual void LoadRecentFileList(UINT maxEntries) = 0;
    virtual void SaveRecentFileList() = 0;
    virtual void AddToRecentFileList(LPCSTR path) = 0;
    virtual CDocument* OpenRecentFile(UINT index) = 0;   // index from 0
    virtual void EnableShellOpen() = 0;
    virtual void RegisterShellFileTypes(BOOL compatible) = 0;
    virtual POSITION GetFirstDocTemplatePosition() const = 0;
    virtual CDocTemplate* GetNextDocTemplate(POSITION& position) const = 0;
};
CDocManager* KfCreateDocManager();

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;       // default: string AFX_IDS_APP_TITLE, else the exe name
    LPCSTR m_pszExeName = nullptr;       // the module's file name without folder and extension
    LPCSTR m_pszProfileName = nullptr;   // default: <program folder>\<exe name>.ini
    LPCSTR m_pszHelpFilePath = nullptr;  // default: <program folder>\<exe name>.hlp
    CWnd* m_pMainWnd = nullptr;
    CDocManager* m_pDocManager = nullptr;

    // The life of the program.
    virtual BOOL InitApplication() { return TRUE; }
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    virtual int Run();
    // Called while the queue is empty with count 0, 1, ...; TRUE asks for
    // more. Count 0 updates the main window's bars, count 1 drops the
    // temporary wrappers.
    virtual BOOL OnIdle(LONG count);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // One message from the queue, translated and dispatched; FALSE on WM_QUIT.
    BOOL PumpMessage();
    // Messages after which idle processing starts again.
    virtual BOOL IsIdleMessage(const MSG* msg);

    // Resources.
    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCSTR name) const;
    HICON LoadStandardIcon(LPCSTR name) const { return ::LoadIconA(nullptr, name); }
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadCursor(LPCSTR name) const;
    HCURSOR LoadStandardCursor(LPCSTR name) const { return ::LoadCursorA(nullptr, name); }
    HCURSOR LoadOEMCursor(UINT id) const { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)); }

    // The profile. Values of any length are read whole.
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr) const;
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const;
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    // Replaces the profile file name (the object keeps its own copy).
    void SetProfileName(LPCSTR path);

    // Three-dimensional controls are the system's own now.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    // Documents, through the document layer's manager.
    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    virtual CDocument* OpenDocumentFile(LPCSTR path);
    virtual void AddToRecentFileList(LPCSTR path);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);
    int GetOpenDocumentCount() const;
    // Reads the recent-file list (maxEntries of them) from the profile.
    void LoadStdProfileSettings(UINT maxEntries = 4);
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL compatible = FALSE);

    // Standard commands.
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT id);
    afx_msg void OnHelpFinder();

    DECLARE_MESSAGE_MAP()

private:
    CString profileName_;
    CString helpPath_;
    CString exeName_;
    CString appName_;
    MSG lastMessage_{};
    UINT lastMouseMessage_ = 0;
    POINT lastMousePoint_{-1, -1};
    WPARAM exitCode_ = 0;
    UINT recentFileEntries_ = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The window a dialog without a parent belongs to: the main window's
// current popup; in a library, whose application has no main window, the
// calling program's active window's current popup. 0 when there is none.
HWND AfxDefaultOwner();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);

// A message box titled with the application's name, owned by the main
// window; the string-id form loads the text from the string table.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = UINT(-1));

// The program's start: sets up the application object and runs it.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
