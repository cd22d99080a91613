// The folder tree's focus under Wine: a focus that leaves and comes back
// while messages are being handled goes unnoticed by the tree control; one
// that stays away reaches it once they are handled; and a tree drawn while
// the focus was away hears of its return.
#include "capture/options/explorer/FolderTreeCtrl.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

const UINT kTreeId = 100;
int g_killNotices = 0;
int g_setNotices = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        g_killNotices += header->code == static_cast<UINT>(NM_KILLFOCUS);
        g_setNotices += header->code == static_cast<UINT>(NM_SETFOCUS);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// One host window for all cases: hiding the active window takes Wine a
// while on a display without a window manager.
class FolderTreeFocus : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitCommonControls();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FolderTreeFocusHost";
        RegisterClassA(&windowClass);
        host = CreateWindowA("FolderTreeFocusHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        other = CreateWindowA("BUTTON", "other", WS_CHILD | WS_VISIBLE, 160, 0, 100, 30, host, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(host);
    }
    static void TearDownTestSuite() { DestroyWindow(host); }

    void SetUp() override
    {
        ASSERT_NE(other, nullptr);
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_SHOWSELALWAYS, CRect(0, 0, 150, 200),
                                CWnd::FromHandle(host), kTreeId));
        tree.SelectItem(tree.InsertItem("folder"));
        ::SetFocus(tree.m_hWnd);
        Pump();
        ASSERT_EQ(GetFocus(), tree.m_hWnd);
        g_killNotices = g_setNotices = 0;
    }
    void TearDown() override
    {
        tree.DestroyWindow();
        Pump();
    }

    static HWND host;
    static HWND other;
    XFolderTreeCtrl tree;
};

HWND FolderTreeFocus::host = nullptr;
HWND FolderTreeFocus::other = nullptr;

TEST_F(FolderTreeFocus, FocusBackBeforeTheMessagesAreHandledGoesUnnoticed)
{
    ::SetFocus(other);
    ::SetFocus(tree.m_hWnd);
    Pump();
    EXPECT_EQ(g_killNotices, 0);
    EXPECT_EQ(g_setNotices, 0);
}

TEST_F(FolderTreeFocus, FocusThatStaysAwayReachesTheTreeOnce)
{
    ::SetFocus(other);
    EXPECT_EQ(g_killNotices, 0);
    Pump();
    EXPECT_EQ(g_killNotices, 1);
    ::SetFocus(tree.m_hWnd);
    Pump();
    EXPECT_EQ(g_killNotices, 1);
    EXPECT_EQ(g_setNotices, 1);
}

TEST_F(FolderTreeFocus, TreeDrawnWhileTheFocusWasAwayHearsOfItsReturn)
{
    ::SetFocus(other);
    tree.Invalidate();
    tree.UpdateWindow();
    ::SetFocus(tree.m_hWnd);
    Pump();
    EXPECT_EQ(g_killNotices, 0);
    EXPECT_EQ(g_setNotices, 1);
}

}  // namespace
