// The framework's scroll view, single-document template, command line and
// status-bar panes under Wine.
#include "FrameTestKit.h"

#include "framework/CommandLine.h"

#include <gtest/gtest.h>

using namespace kftest;

namespace {

class CanvasView : public CScrollView {
    DECLARE_DYNCREATE(CanvasView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CanvasView, CScrollView)

class SdiFrame : public CFrameWnd {
    DECLARE_DYNCREATE(SdiFrame)
};
IMPLEMENT_DYNCREATE(SdiFrame, CFrameWnd)

// A plain frame around one view of the class, without a document.
CFrameWnd* FrameAround(const CRuntimeClass* viewClass, int width, int height)
{
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    auto* frame = new CFrameWnd;
    if (!frame->Create(nullptr, "Canvas", WS_OVERLAPPEDWINDOW, CRect(0, 0, width, height), nullptr, nullptr, 0,
                       &context))
        return nullptr;
    frame->ShowWindow(SW_SHOW);
    Pump();
    return frame;
}

std::string Caption(CWnd* wnd)
{
    char text[128] = "";
    wnd->GetWindowText(text, sizeof text);
    return text;
}

} // namespace

TEST(FrameworkView, ScrollViewStaysWithinItsCanvas)
{
    CFrameWnd* frame = FrameAround(RUNTIME_CLASS(CanvasView), 400, 300);
    ASSERT_NE(frame, nullptr);
    auto* view = DYNAMIC_DOWNCAST(CanvasView, frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_NE(view, nullptr);

    view->SetScrollSizes(MM_TEXT, CSize(1000, 800), CSize(100, 50), CSize(10, 5));
    CRect client;
    view->GetClientRect(&client);
    EXPECT_TRUE(view->GetStyle() & WS_HSCROLL);
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
    view->ScrollToPosition(CPoint(5000, -20));
    EXPECT_EQ(view->GetScrollPosition(), CPoint(1000 - client.Width(), 0));

    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(view->GetScrollPosition().y, 55);
    view->SendMessage(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(view->GetScrollPosition().y, 800 - client.Height());
    view->SendMessage(WM_HSCROLL, SB_TOP);
    EXPECT_EQ(view->GetScrollPosition().x, 0);

    // Drawing starts at the scroll position.
    CClientDC dc(view);
    view->OnPrepareDC(&dc);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, -(800 - client.Height())));

    // A canvas that fits: no bars, back at the origin.
    view->SetScrollSizes(MM_TEXT, CSize(10, 10));
    EXPECT_FALSE(view->GetStyle() & WS_HSCROLL);
    EXPECT_FALSE(view->GetStyle() & WS_VSCROLL);
    EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 0));
    frame->DestroyWindow();
    Pump();
}

TEST(FrameworkView, SingleDocumentTemplateReusesItsDocument)
{
    std::string folder = ScratchFolder("kf_view_sdi");
    TestApp app(folder + "\\test.ini");
    auto* docTemplate =
        new CSingleDocTemplate(IDR_KF_MAINFRAME, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(SdiFrame),
                               RUNTIME_CLASS(TestView));
    app.AddDocTemplate(docTemplate);
    app.OnFileNew();
    ASSERT_NE(app.m_pMainWnd, nullptr);
    auto* frame = static_cast<CFrameWnd*>(app.m_pMainWnd);
    CDocument* doc = frame->GetActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Caption(frame), "Untitled - Frame Test");

    WriteFile(folder + "\\a.kft", "alpha");
    WriteFile(folder + "\\bad.kft", "bad");
    EXPECT_EQ(app.OpenDocumentFile((folder + "\\a.kft").c_str()), doc);
    EXPECT_EQ(static_cast<TestDoc*>(doc)->content, "alpha");
    Idle(app);
    EXPECT_EQ(Caption(frame), "a.kft - Frame Test");

    // A modified document asks first; Cancel keeps it as it is.
    doc->SetModifiedFlag();
    {
        BoxAnswerer cancel(IDCANCEL);
        EXPECT_EQ(app.OpenDocumentFile((folder + "\\bad.kft").c_str()), nullptr);
        EXPECT_EQ(BoxAnswerer::seen, 1);
    }
    EXPECT_EQ(doc->GetPathName(), CString((folder + "\\a.kft").c_str()));
    // A file it refuses leaves it empty and untitled, never half loaded.
    doc->SetModifiedFlag(FALSE);
    EXPECT_EQ(app.OpenDocumentFile((folder + "\\bad.kft").c_str()), nullptr);
    EXPECT_EQ(docTemplate->GetDocumentCount(), 1);
    EXPECT_EQ(doc->GetTitle(), "Untitled");
    EXPECT_TRUE(doc->GetPathName().IsEmpty());
    CloseMainFrame(app);
    EXPECT_EQ(TestDoc::live, 0);
}

TEST(FrameworkView, CommandLineNamesTheFileToOpen)
{
    CCommandLineInfo none;
    KfParseCommandLine("", none);
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);

    CCommandLineInfo open;
    KfParseCommandLine("  \"C:\\My Shots\\x.kft\" /nologo", open);
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "C:\\My Shots\\x.kft");
    EXPECT_FALSE(open.m_bShowSplash);

    CCommandLineInfo print;
    KfParseCommandLine("/p y.kft", print);
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, "y.kft");

    // A named file that does not open is reported and start-up fails.
    std::string folder = ScratchFolder("kf_view_cmdline");
    TestApp app(folder + "\\test.ini");
    app.AddDocTemplate(new CSingleDocTemplate(IDR_KF_MAINFRAME, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(SdiFrame),
                                              RUNTIME_CLASS(TestView)));
    CCommandLineInfo missing;
    KfParseCommandLine(("\"" + folder + "\\gone.kft\"").c_str(), missing);
    {
        BoxAnswerer ok(IDOK);
        EXPECT_FALSE(KfProcessShellCommand(app, missing));
        EXPECT_NE(BoxAnswerer::text.find("gone.kft"), std::string::npos);
    }
    CloseMainFrame(app);
}

TEST(FrameworkView, StatusPanesTakeTheirWidthsFromTheirStrings)
{
    std::string folder = ScratchFolder("kf_view_status");
    TestApp app(folder + "\\test.ini");
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    CStatusBar& bar = frame->statusBar;
    EXPECT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(bar.CommandToIndex(IDS_KF_PANE_DOCS), 1);
    EXPECT_EQ(bar.GetPaneText(1), "00 documents");
    EXPECT_TRUE(bar.GetPaneStyle(0) & SBPS_STRETCH);

    // The stretching pane takes what the fixed one leaves.
    int edges[2] = {0, 0};
    ASSERT_EQ(bar.SendMessage(SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
    UINT id, style;
    int width;
    bar.GetPaneInfo(1, id, style, width);
    CRect client;
    bar.GetClientRect(&client);
    int grip = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_GT(width, 20);
    EXPECT_GT(edges[0], client.Width() / 2);
    EXPECT_LE(edges[0] + width, client.Width() - grip + 8);

    // The window text is the first pane; a disabled pane shows nothing.
    bar.SetWindowText("hello");
    EXPECT_EQ(bar.GetPaneText(0), "hello");
    bar.SetPaneStyle(1, bar.GetPaneStyle(1) | SBPS_DISABLED);
    char text[64] = "x";
    bar.SendMessage(SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "");
    bar.SetPaneStyle(1, bar.GetPaneStyle(1) & ~SBPS_DISABLED);
    bar.SendMessage(SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "00 documents");
    CloseMainFrame(app);
}

TEST(FrameworkView, ToolbarBitmapsTakeTheSystemButtonColours)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, MAKEINTRESOURCEA(IDR_KF_MAINFRAME), MAKEINTRESOURCEA(2));
    ASSERT_NE(resource, nullptr);
    HBITMAP bitmap = AfxLoadSysColorBitmap(instance, resource);
    ASSERT_NE(bitmap, nullptr);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    // Light grey is the button face, black the button text; red stays red.
    EXPECT_EQ(::GetPixel(dc, 40, 7), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(dc, 32, 0), ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(::GetPixel(dc, 8, 7), RGB(255, 0, 0));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    EXPECT_EQ(AfxLoadSysColorBitmap(instance, nullptr), nullptr);

    // A toolbar without its resource is refused.
    CFrameWnd* frame = FrameAround(RUNTIME_CLASS(CanvasView), 300, 200);
    ASSERT_NE(frame, nullptr);
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_FALSE(bar.LoadToolBar(4242));
    EXPECT_EQ(bar.GetCount(), 0);
    bar.DestroyWindow();
    frame->DestroyWindow();
    Pump();
}
