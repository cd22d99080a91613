#include "FrameTestKit.h"

#include <fstream>
#include <sstream>

namespace kftest {

IMPLEMENT_DYNCREATE(TestDoc, CDocument)
IMPLEMENT_DYNCREATE(TestView, CView)
IMPLEMENT_DYNCREATE(TestForm, CFormView)
IMPLEMENT_DYNCREATE(SplitChild, CMDIChildWnd)
IMPLEMENT_DYNCREATE(TestMainFrame, CMDIFrameWnd)

int TestDoc::live = 0;
bool TestDoc::failSaves = false;

BEGIN_MESSAGE_MAP(TestDoc, CDocument)
    ON_COMMAND(ID_KF_STAMP, OnStamp)
    ON_UPDATE_COMMAND_UI(ID_KF_STAMP, OnUpdateStamp)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TestMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_KF_COUNT, OnCount)
    ON_UPDATE_COMMAND_UI(ID_KF_COUNT, OnUpdateCount)
    ON_BN_CLICKED(ID_KF_BAR_BUTTON, OnBarButton)
    ON_UPDATE_COMMAND_UI(IDS_KF_PANE_DOCS, OnUpdateDocsPane)
END_MESSAGE_MAP()

namespace {

int answerButton = IDCANCEL;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = ::FindWindowA("#32770", "Kf Frame Test");
    if (!box)
        return;
    char text[256] = "";
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    BoxAnswerer::text = text;
    ++BoxAnswerer::seen;
    ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answerButton), 0);
}

} // namespace

std::string BoxAnswerer::text;
int BoxAnswerer::seen = 0;

BoxAnswerer::BoxAnswerer(int button) : timer_(::SetTimer(nullptr, 0, 40, AnswerBox))
{
    answerButton = button;
    text.clear();
    seen = 0;
}

BoxAnswerer::~BoxAnswerer() { ::KillTimer(nullptr, timer_); }

std::string ScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return folder;
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        CWinApp* app = AfxGetApp();
        if (app && app->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Idle(CWinApp& app)
{
    Pump();
    app.OnIdle(0);
}

int CountMdiChildren(CMDIFrameWnd* frame)
{
    int count = 0;
    for (HWND child = ::GetTopWindow(frame->m_hWndMDIClient); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(child)))
            ++count;
    }
    return count;
}

// Documents

BOOL TestDoc::OnOpenDocument(LPCSTR path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return FALSE;
    std::stringstream text;
    text << in.rdbuf();
    content = text.str();
    SetModifiedFlag(FALSE);
    return content != "bad";
}

BOOL TestDoc::OnSaveDocument(LPCSTR path)
{
    ++saves;
    if (failSaves)
        return FALSE;
    WriteFile(path, content);
    SetModifiedFlag(FALSE);
    return TRUE;
}

// Frames

BOOL SplitChild::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (!splitter.CreateStatic(this, 2, 1))
        return FALSE;
    if (!splitter.CreateView(0, 0, RUNTIME_CLASS(TestView), CSize(0, 0), context) ||
        !splitter.CreateView(1, 0, RUNTIME_CLASS(TestForm), CSize(0, 0), context))
        return FALSE;
    splitter.SetRowInfo(0, ::GetSystemMetrics(SM_CYSCREEN), 0);
    return TRUE;
}

int TestMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY) ||
        !toolBar.LoadToolBar(IDR_KF_MAINFRAME))
        return -1;
    static const UINT indicators[] = {ID_SEPARATOR, IDS_KF_PANE_DOCS};
    if (!statusBar.Create(this) || !statusBar.SetIndicators(indicators, 2))
        return -1;
    UINT id, style;
    int width;
    statusBar.GetPaneInfo(0, id, style, width);
    statusBar.SetPaneInfo(0, id, SBPS_STRETCH, width);
    if (withDialogBar && !dialogBar.Create(this, IDD_KF_BAR, WS_CHILD | WS_VISIBLE | CBRS_LEFT, 0xE805))
        return -1;
    return 0;
}

void TestMainFrame::OnUpdateDocsPane(CCmdUI* cmdUI)
{
    CWinApp* app = AfxGetApp();
    int count = app ? app->GetOpenDocumentCount() : 0;
    CString text;
    text.Format("%02d documents", count);
    cmdUI->SetText(text);
    cmdUI->Enable(count > 0);
}

TestMainFrame* MakeMainFrame(CWinApp& app, bool withDialogBar)
{
    auto* frame = new TestMainFrame;
    frame->withDialogBar = withDialogBar;
    if (!frame->LoadFrame(IDR_KF_MAINFRAME))
        return nullptr;
    app.m_pMainWnd = frame;
    frame->SetWindowPos(nullptr, 20, 20, 800, 600, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    Pump();
    return frame;
}

void CloseMainFrame(CWinApp& app)
{
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    Pump();
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
        app.m_pMainWnd->DestroyWindow();
    app.m_pMainWnd = nullptr;
    Pump();
}

} // namespace kftest
