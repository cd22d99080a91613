// The menu and toolbar layer on a test MDI frame under Wine: the rebar with
// the menu bar and the flat toolbar, the owner-drawn menus, the maximised
// child's caption parts and the Window list.
#include <gtest/gtest.h>

#include <string>

#include "FrameTestKit.h"
#include "ui/coolbars/ComCtlVersion.h"
#include "ui/coolbars/CoolBar.h"
#include "ui/coolbars/CoolMenuManager.h"
#include "ui/coolbars/MenuBar.h"

using namespace kftest;

namespace {

class TestCoolBar : public CCoolBar {
public:
    CMenuBar menuBar;
    CFlatToolBar toolBar;

protected:
    BOOL OnCreateBands() override
    {
        const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
        if (!menuBar.Create(this, style, AFX_IDW_TOOLBAR) || !toolBar.Create(this, style, AFX_IDW_TOOLBAR) ||
            !toolBar.LoadToolBar(IDR_KF_MAINFRAME))
            return FALSE;
        CRect first;
        menuBar.GetItemRect(0, &first);
        if (!InsertBand(&menuBar, 50, first.Height(), 2047, nullptr, -1, FALSE))
            return FALSE;
        toolBar.GetItemRect(0, &first);
        return InsertBand(&toolBar, 50, first.Height() + 2, 32767, nullptr, -1, TRUE);
    }
};

class CoolFrame : public CMDIFrameWnd {
public:
    TestCoolBar coolBar;
    CCoolMenuManager menus;

    int OnCreate(LPCREATESTRUCT cs)
    {
        if (CMDIFrameWnd::OnCreate(cs) == -1 ||
            !coolBar.Create(this, kCoolBarWindowStyle, CBRS_ALIGN_TOP, AFX_IDW_TOOLBAR))
            return -1;
        coolBar.SetBandColours(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNFACE));
        menus.AttachFrame(m_hWnd);
        menus.LoadToolbarImages(IDR_KF_MAINFRAME);
        return 0;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return coolBar.menuBar.FilterFrameKey(msg) || CMDIFrameWnd::PreTranslateMessage(msg);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CoolFrame, CMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class CoolBars : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CoolFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_KF_MAINFRAME)) << "no frame window (is there a display?)";
        app.m_pMainWnd = frame;
        frame->SetWindowPos(nullptr, 20, 20, 640, 480, SWP_NOZORDER);
        frame->ShowWindow(SW_SHOW);
        Pump();
    }
    void TearDown() override { CloseMainFrame(app); }

    std::string ButtonText(CToolBar& bar, int index)
    {
        char text[80] = "";
        TBBUTTON button{};
        bar.SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        bar.SendMessage(TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
        return text;
    }

    TestApp app{ScratchFolder("coolbars_frame") + "\\test.ini"};
    CoolFrame* frame = nullptr;
};

} // namespace

TEST_F(CoolBars, RebarHoldsMenuBarAndToolbarAndFrameLosesItsMenu)
{
    EXPECT_GT(ComCtlVersion(), 470) << "Wine's library is newer than 4.70";
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
    CMenuBar& bar = frame->coolBar.menuBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(ButtonText(bar, 0), "&File");
    EXPECT_EQ(ButtonText(bar, 2), "&Window");
    EXPECT_EQ(::GetParent(bar.m_hWnd), frame->coolBar.m_hWnd);
    EXPECT_EQ(bar.OwnerWindow(), frame->m_hWnd);
    EXPECT_EQ(frame->coolBar.toolBar.CommandToIndex(ID_KF_COUNT), 2);
    CRect rebar;
    frame->coolBar.GetWindowRect(&rebar);
    EXPECT_GT(rebar.Height(), 20);
}
