// Small programs for the framework's frame and document tests: an
// application with its own ini, an MDI main frame with toolbar and status
// bar, a document that reads and writes its file, views, a form, and a child
// frame with a static splitter.
#pragma once

#include "framework/ControlBars.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MdiFrame.h"
#include "framework/Splitter.h"
#include "framework/View.h"

#include "FrameTestResources.h"

#include <string>

namespace kftest {

// A folder of its own under the temporary folder, emptied first.
std::string ScratchFolder(const char* name);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
// Runs everything waiting in the queue (WM_QUIT included: it is dropped, so
// that a test's closed main frame does not end the next test's loops).
void Pump();
// The application's idle pass that updates bars and titles.
void Idle(CWinApp& app);
int CountMdiChildren(CMDIFrameWnd* frame);

// Answers the next message box of the test application with a button,
// by a message posted to it from a timer while the box runs; keeps what the
// box said.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    static std::string text;   // the last box's message
    static int seen;           // boxes answered

private:
    UINT_PTR timer_;
};

class TestApp : public CWinApp {
public:
    explicit TestApp(const std::string& ini) : CWinApp("Kf Frame Test") { SetProfileName(ini.c_str()); }
};

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    TestDoc() { ++live; }
    ~TestDoc() override { --live; }
    static int live;               // documents alive now
    static bool failSaves;         // OnSaveDocument refuses

    std::string content;
    int saves = 0;
    int stamps = 0;

    BOOL OnOpenDocument(LPCSTR path) override;
    BOOL OnSaveDocument(LPCSTR path) override;

    afx_msg void OnStamp() { ++stamps; }
    afx_msg void OnUpdateStamp(CCmdUI* cmdUI) { cmdUI->Enable(IsModified()); }
    DECLARE_MESSAGE_MAP()
};

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    int initialUpdates = 0;
    int updates = 0;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override
    {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, LPARAM hint, CObject* object) override
    {
        ++updates;
        CView::OnUpdate(sender, hint, object);
    }
};

class TestForm : public CFormView {
    DECLARE_DYNCREATE(TestForm)
public:
    TestForm() : CFormView(IDD_KF_FORM) {}
    int initialUpdates = 0;
    void OnInitialUpdate() override
    {
        ++initialUpdates;
        CFormView::OnInitialUpdate();
    }
};

// The document window of the image editor's shape: a static splitter of a
// view over a form, the form pushed out of view.
class SplitChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(SplitChild)
public:
    CSplitterWnd splitter;
    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
};

class TestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(TestMainFrame)
public:
    CToolBar toolBar;
    CStatusBar statusBar;
    CDialogBar dialogBar;
    bool withDialogBar = false;
    int counts = 0;
    int barButtons = 0;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnCount() { ++counts; }
    afx_msg void OnUpdateCount(CCmdUI* cmdUI) { cmdUI->SetCheck(counts % 2); }
    afx_msg void OnBarButton() { ++barButtons; }
    afx_msg void OnUpdateDocsPane(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()
};

// A main frame shown on the screen, made the application's main window.
TestMainFrame* MakeMainFrame(CWinApp& app, bool withDialogBar = false);
// Closes the main frame (documents and all) and forgets it.
void CloseMainFrame(CWinApp& app);

} // namespace kftest
