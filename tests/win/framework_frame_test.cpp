// The framework's frames under Wine: an MDI main frame with its toolbar and
// status bar holding documents of a test template, command update of the
// bars, accelerators, prompts, a dialog bar docked at the left, a static
// splitter, dropped files and the window placement.
#include "FrameTestKit.h"

#include "framework/FramePlacement.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <vector>

using namespace kftest;

namespace {

CMultiDocTemplate* AddTemplate(CWinApp& app, const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
{
    auto* docTemplate =
        new CMultiDocTemplate(IDR_KF_DOCTYPE, RUNTIME_CLASS(TestDoc), frameClass, viewClass);
    app.AddDocTemplate(docTemplate);
    return docTemplate;
}

CRect ChildRect(CWnd* parent, HWND child)
{
    CRect rect;
    ::GetWindowRect(child, &rect);
    parent->ScreenToClient(&rect);
    return rect;
}

bool ButtonEnabled(CToolBar& bar, UINT id) { return bar.SendMessage(TB_ISBUTTONENABLED, id) != 0; }
bool ButtonChecked(CToolBar& bar, UINT id) { return bar.SendMessage(TB_ISBUTTONCHECKED, id) != 0; }

CString StatusText(CStatusBar& bar, int pane)
{
    char text[256] = "";
    bar.SendMessage(SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text));
    return CString(text);
}

// A dropped-files block as the shell hands it over: the names one after
// another, each ended by a zero, and a zero after the last.
HGLOBAL MakeDrop(const std::vector<std::string>& paths)
{
    std::string names;
    for (const std::string& path : paths)
        names += path + '\0';
    names += '\0';
    HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    ::GlobalUnlock(block);
    return block;
}

} // namespace

TEST(FrameworkFrame, MdiFrameWithBarsHoldsTwoDocuments)
{
    std::string folder = ScratchFolder("kf_frame_mdi");
    TestApp app(folder + "\\test.ini");
    CMultiDocTemplate* docTemplate = AddTemplate(app, RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(TestView));
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->m_hMenuDefault);

    // Bars at the sides, the MDI client in between.
    CRect client, tool, status, mdi;
    frame->GetClientRect(&client);
    tool = ChildRect(frame, frame->toolBar.m_hWnd);
    status = ChildRect(frame, frame->statusBar.m_hWnd);
    mdi = ChildRect(frame, frame->m_hWndMDIClient);
    EXPECT_EQ(tool.top, 0);
    EXPECT_EQ(tool.Width(), client.Width());
    EXPECT_GE(tool.Height(), 22);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(mdi.top, tool.bottom);
    EXPECT_EQ(mdi.bottom, status.top);
    EXPECT_EQ(frame->toolBar.GetCount(), 4);
    EXPECT_EQ(frame->toolBar.GetItemID(2), static_cast<UINT>(ID_KF_COUNT));
    EXPECT_TRUE(frame->toolBar.GetButtonStyle(1) & TBBS_SEPARATOR);

    WriteFile(folder + "\\a.kft", "alpha");
    WriteFile(folder + "\\b.kft", "beta");
    WriteFile(folder + "\\bad.kft", "bad");
    CDocument* a = app.OpenDocumentFile((folder + "\\a.kft").c_str());
    CDocument* b = app.OpenDocumentFile((folder + "\\b.kft").c_str());
    Idle(app);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(static_cast<TestDoc*>(a)->content, "alpha");
    EXPECT_EQ(a->GetTitle(), "a.kft");
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
    EXPECT_EQ(CountMdiChildren(frame), 2);
    ASSERT_NE(frame->MDIGetActive(), nullptr);
    EXPECT_EQ(frame->GetActiveDocument(), b);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), docTemplate->m_hMenuShared);
    char caption[64] = "";
    frame->MDIGetActive()->GetWindowText(caption, sizeof caption);
    EXPECT_STREQ(caption, "b.kft");

    // Each view had its initial update once.
    POSITION pos = b->GetFirstViewPosition();
    auto* view = static_cast<TestView*>(b->GetNextView(pos));
    EXPECT_EQ(view->initialUpdates, 1);
    EXPECT_EQ(pos, nullptr);

    // The same file again: its window comes forward, no second document.
    EXPECT_EQ(app.OpenDocumentFile((folder + "\\A.KFT").c_str()), a);
    EXPECT_EQ(frame->GetActiveDocument(), a);
    // A file the document refuses leaves no document and no window behind.
    EXPECT_EQ(app.OpenDocumentFile((folder + "\\bad.kft").c_str()), nullptr);
    EXPECT_EQ(app.OpenDocumentFile((folder + "\\missing.kft").c_str()), nullptr);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
    EXPECT_EQ(CountMdiChildren(frame), 2);
    EXPECT_EQ(TestDoc::live, 2);

    // Closing a document window closes its document; the last one gives the
    // frame its own menu back.
    frame->MDIGetActive()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    frame->MDIGetActive()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->m_hMenuDefault);
    EXPECT_EQ(frame->GetActiveDocument(), nullptr);

    app.OpenDocumentFile((folder + "\\a.kft").c_str());
    CloseMainFrame(app);
    EXPECT_EQ(TestDoc::live, 0);
}

TEST(FrameworkFrame, BarsFollowCommandUpdateAndShowPrompts)
{
    std::string folder = ScratchFolder("kf_frame_update");
    TestApp app(folder + "\\test.ini");
    AddTemplate(app, RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(TestView));
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);

    // Without a document: the document's button has no handler on the
    // route, the frame's has; nobody's is disabled; the pane is disabled.
    Idle(app);
    EXPECT_FALSE(ButtonEnabled(frame->toolBar, ID_KF_STAMP));
    EXPECT_TRUE(ButtonEnabled(frame->toolBar, ID_KF_COUNT));
    EXPECT_FALSE(ButtonEnabled(frame->toolBar, ID_KF_NOBODY));
    EXPECT_EQ(StatusText(frame->statusBar, 1), "");

    WriteFile(folder + "\\a.kft", "alpha");
    CDocument* doc = app.OpenDocumentFile((folder + "\\a.kft").c_str());
    ASSERT_NE(doc, nullptr);
    Idle(app);
    EXPECT_FALSE(ButtonEnabled(frame->toolBar, ID_KF_STAMP));   // not modified
    EXPECT_EQ(StatusText(frame->statusBar, 1), "01 documents");
    doc->SetModifiedFlag(TRUE);
    Idle(app);
    EXPECT_TRUE(ButtonEnabled(frame->toolBar, ID_KF_STAMP));

    // A toolbar click reaches the active document through the frame.
    frame->SendMessage(WM_COMMAND, ID_KF_STAMP, 0);
    EXPECT_EQ(static_cast<TestDoc*>(doc)->stamps, 1);

    // Ctrl+T in the document window is the frame's accelerator; the check
    // mark follows the handler's count.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG key{};
    key.hwnd = frame->MDIGetActive()->GetActiveView()->m_hWnd;
    key.message = WM_KEYDOWN;
    key.wParam = 'T';
    key.lParam = 1;
    EXPECT_TRUE(app.PreTranslateMessage(&key));
    keys[VK_CONTROL] = saved;
    ::SetKeyboardState(keys);
    EXPECT_EQ(frame->counts, 1);
    Idle(app);
    EXPECT_TRUE(ButtonChecked(frame->toolBar, ID_KF_COUNT));

    // Menu prompts and tooltips come from the command's string.
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_KF_STAMP, MF_STRING), 0);
    EXPECT_EQ(StatusText(frame->statusBar, 0), "Stamp the document");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(frame->statusBar, 0), "Ready");
    NMTTDISPINFOA tip{};
    tip.hdr.hwndFrom = frame->toolBar.m_hWnd;
    tip.hdr.idFrom = ID_KF_COUNT;
    tip.hdr.code = TTN_GETDISPINFOA;
    frame->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.lpszText, "Count");

    // Menu items are updated as their popup opens.
    HMENU edit = ::GetSubMenu(::GetMenu(frame->m_hWnd), 1);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    EXPECT_FALSE(::GetMenuState(edit, ID_KF_STAMP, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(edit, ID_KF_NOBODY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(edit, ID_KF_COUNT, MF_BYCOMMAND) & MF_CHECKED);

    // The View menu's bar commands hide the bar and lay out again.
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_FALSE(frame->statusBar.IsWindowVisible());
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(ChildRect(frame, frame->m_hWndMDIClient).bottom, client.bottom);

    doc->SetModifiedFlag(FALSE);
    CloseMainFrame(app);
}

TEST(FrameworkFrame, DialogBarDocksLeftAndPassesCommandsOn)
{
    std::string folder = ScratchFolder("kf_frame_bar");
    TestApp app(folder + "\\test.ini");
    TestMainFrame* frame = MakeMainFrame(app, true);
    ASSERT_NE(frame, nullptr);
    CRect tool = ChildRect(frame, frame->toolBar.m_hWnd);
    CRect status = ChildRect(frame, frame->statusBar.m_hWnd);
    CRect bar = ChildRect(frame, frame->dialogBar.m_hWnd);
    CRect mdi = ChildRect(frame, frame->m_hWndMDIClient);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.Width(), frame->dialogBar.m_sizeDefault.cx);
    EXPECT_EQ(bar.top, tool.bottom);
    EXPECT_EQ(bar.bottom, status.top);
    EXPECT_EQ(mdi.left, bar.right);

    // A button with a handler on the frame works, one without is disabled;
    // the tree, not a button, keeps its state.
    Idle(app);
    HWND go = ::GetDlgItem(frame->dialogBar.m_hWnd, ID_KF_BAR_BUTTON);
    HWND lost = ::GetDlgItem(frame->dialogBar.m_hWnd, ID_KF_BAR_ORPHAN);
    HWND tree = ::GetDlgItem(frame->dialogBar.m_hWnd, IDC_KF_BAR_TREE);
    EXPECT_TRUE(::IsWindowEnabled(go));
    EXPECT_FALSE(::IsWindowEnabled(lost));
    EXPECT_TRUE(::IsWindowEnabled(tree));
    ::SendMessageA(go, BM_CLICK, 0, 0);
    EXPECT_EQ(frame->barButtons, 1);
    CloseMainFrame(app);
}

TEST(FrameworkFrame, StaticSplitterHoldsViewOverForm)
{
    std::string folder = ScratchFolder("kf_frame_split");
    TestApp app(folder + "\\test.ini");
    AddTemplate(app, RUNTIME_CLASS(SplitChild), nullptr);
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    WriteFile(folder + "\\s.kft", "split");
    CDocument* doc = app.OpenDocumentFile((folder + "\\s.kft").c_str());
    ASSERT_NE(doc, nullptr);
    Pump();

    auto* child = static_cast<SplitChild*>(frame->MDIGetActive());
    ASSERT_NE(child, nullptr);
    CSplitterWnd& splitter = child->splitter;
    auto* top = DYNAMIC_DOWNCAST(TestView, splitter.GetPane(0, 0));
    auto* bottom = DYNAMIC_DOWNCAST(TestForm, splitter.GetPane(1, 0));
    ASSERT_NE(top, nullptr);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(top->GetDocument(), doc);
    EXPECT_EQ(bottom->GetDocument(), doc);
    EXPECT_EQ(top->initialUpdates, 1);
    EXPECT_EQ(bottom->initialUpdates, 1);
    EXPECT_EQ(child->GetActiveView(), top);
    EXPECT_NE(bottom->GetDlgItem(IDC_KF_FORM_EDIT), nullptr);

    // The first row's ideal height is the screen's: the form is out of view.
    CRect splitArea, topRect, bottomRect;
    splitter.GetClientRect(&splitArea);
    top->GetClientRect(&topRect);
    bottom->GetWindowRect(&bottomRect);
    EXPECT_GT(topRect.Height(), 0);
    EXPECT_EQ(bottomRect.Height(), 0);

    // Half the height each way shows it.
    splitter.SetRowInfo(0, splitArea.Height() / 2, 0);
    splitter.RecalcLayout();
    int current, minimum;
    splitter.GetRowInfo(0, current, minimum);
    EXPECT_EQ(current, splitArea.Height() / 2);
    bottom->GetWindowRect(&bottomRect);
    EXPECT_EQ(bottomRect.Height(), splitArea.Height() - splitArea.Height() / 2 - splitter.m_cySplitter);

    // Views update together; the document goes with the window.
    doc->UpdateAllViews(nullptr);
    EXPECT_EQ(top->updates, 2);
    child->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(TestDoc::live, 0);
    CloseMainFrame(app);
}

TEST(FrameworkFrame, DroppedFilesOpenAsDocuments)
{
    std::string folder = ScratchFolder("kf_frame_drop");
    TestApp app(folder + "\\test.ini");
    AddTemplate(app, RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(TestView));
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    frame->DragAcceptFiles();
    WriteFile(folder + "\\one.kft", "1");
    WriteFile(folder + "\\two.kft", "2");
    frame->PostMessage(WM_DROPFILES,
                       reinterpret_cast<WPARAM>(MakeDrop({folder + "\\one.kft", folder + "\\two.kft"})));
    Pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
    CDocument* active = frame->GetActiveDocument();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->GetTitle(), "two.kft");
    CloseMainFrame(app);
}

TEST(FrameworkFrame, PlacementComesBackOnlyWhenUsable)
{
    std::string folder = ScratchFolder("kf_frame_place");
    TestApp app(folder + "\\test.ini");
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    frame->SetWindowPos(nullptr, 40, 50, 500, 400, SWP_NOZORDER);
    ASSERT_TRUE(KfSaveWindowPlacement(frame, "Frame", "Placement"));
    frame->SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOZORDER);
    ASSERT_TRUE(KfRestoreWindowPlacement(frame, "Frame", "Placement"));
    CRect rect;
    frame->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 500);
    EXPECT_EQ(rect.Height(), 400);

    // Junk and a placement off the screen are refused and change nothing.
    app.WriteProfileString("Frame", "Placement", "0,1,2,3");
    EXPECT_FALSE(KfRestoreWindowPlacement(frame, "Frame", "Placement"));
    app.WriteProfileString("Frame", "Placement", "0,1,-1,-1,-1,-1,9000,9000,9500,9400");
    EXPECT_FALSE(KfRestoreWindowPlacement(frame, "Frame", "Placement"));
    frame->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 500);
    CloseMainFrame(app);
}
