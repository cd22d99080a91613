// The framework's window core under Wine: message tables and their
// handlers, command routing and command update, reflection to controls,
// handle maps and temporary wrappers, the application's loop and profile.
#include "framework/HandleMap.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kPing = WM_APP + 1;
const UINT kRegisteredPing = ::RegisterWindowMessageA("KfTestRegisteredPing");
const UINT kCmdFirst = 40001;   // ON_COMMAND
const UINT kCmdRangeA = 40010;  // ON_COMMAND_RANGE 40010..40012
const UINT kCmdDeclined = 40020;
const UINT kCmdOverridden = 40030;

class RecordingWnd : public CWnd {
public:
    std::vector<std::string> log;
    CPoint lastPoint;
    UINT lastRangeId = 0;
    int sizeCx = -1, sizeCy = -1;
    int createResult = 0;
    int postNcDestroyCalls = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        log.push_back("create");
        if (createResult != 0)
            return createResult;
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnSize(UINT, int cx, int cy)
    {
        sizeCx = cx;
        sizeCy = cy;
    }
    afx_msg void OnLButtonDown(UINT, CPoint point)
    {
        lastPoint = point;
        log.push_back("lbutton");
    }
    afx_msg LRESULT OnNcHitTest(CPoint point)
    {
        log.push_back("hittest");
        return CWnd::OnNcHitTest(point);
    }
    afx_msg void OnFirst() { log.push_back("first"); }
    afx_msg void OnRange(UINT id)
    {
        lastRangeId = id;
        log.push_back("range");
    }
    afx_msg BOOL OnDeclined(UINT) { log.push_back("declined-derived"); return FALSE; }
    afx_msg void OnOverridden() { log.push_back("overridden-base"); }
    afx_msg LRESULT OnPing(WPARAM wp, LPARAM lp) { return static_cast<LRESULT>(wp + lp); }
    afx_msg LRESULT OnRegisteredPing(WPARAM wp, LPARAM) { return static_cast<LRESULT>(wp * 2); }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_COMMAND(kCmdFirst, OnFirst)
    ON_COMMAND_RANGE(kCmdRangeA, kCmdRangeA + 2, OnRange)
    ON_COMMAND(kCmdOverridden, OnOverridden)
    ON_MESSAGE(kPing, OnPing)
    ON_REGISTERED_MESSAGE(kRegisteredPing, OnRegisteredPing)
END_MESSAGE_MAP()

// A derived table: its own entries come first, the base's still apply.
class DerivedWnd : public RecordingWnd {
protected:
    afx_msg BOOL OnDeclinedFirst(UINT) { log.push_back("declined-first"); return FALSE; }
    afx_msg void OnDeclinedTaken() { log.push_back("declined-taken"); }
    afx_msg void OnOverriddenDerived() { log.push_back("overridden-derived"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, RecordingWnd)
    ON_COMMAND_EX(kCmdDeclined, OnDeclinedFirst)
    ON_COMMAND(kCmdDeclined, OnDeclinedTaken)
    ON_COMMAND(kCmdOverridden, OnOverriddenDerived)
END_MESSAGE_MAP()

bool Logged(const RecordingWnd& wnd, const char* entry)
{
    for (const auto& e : wnd.log)
        if (e == entry)
            return true;
    return false;
}

BOOL CreateTopLevel(CWnd& wnd)
{
    return wnd.CreateEx(0, nullptr, "kf test", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr);
}

} // namespace

TEST(FrameworkWindow, MessagesReachTheirHandlersWithUnpackedParameters)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    EXPECT_TRUE(Logged(wnd, "create"));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);

    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(wnd.sizeCx, 123);
    EXPECT_EQ(wnd.sizeCy, 45);
    // Coordinates are signed: a press left of and above the client area.
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-7)));
    EXPECT_EQ(wnd.lastPoint.x, -5);
    EXPECT_EQ(wnd.lastPoint.y, -7);

    EXPECT_EQ(wnd.SendMessage(kPing, 3, 4), 7);
    EXPECT_EQ(wnd.SendMessage(kRegisteredPing, 21, 0), 42);

    // A handler calling its base gets the system's answer for the message.
    CRect client;
    wnd.GetClientRect(&client);
    CPoint inside = client.CenterPoint();
    wnd.ClientToScreen(&inside);
    EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    EXPECT_TRUE(Logged(wnd, "hittest"));

    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.postNcDestroyCalls, 1);
}

TEST(FrameworkWindow, CommandsRouteByIdRangeAndThroughBaseTables)
{
    DerivedWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kCmdFirst, 0), 0);
    EXPECT_TRUE(Logged(wnd, "first"));   // from the base table
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kCmdRangeA + 2, 1), 0);   // an accelerator
    EXPECT_EQ(wnd.lastRangeId, kCmdRangeA + 2);
    wnd.lastRangeId = 0;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kCmdRangeA + 3, 0), 0);   // just past the range
    EXPECT_EQ(wnd.lastRangeId, 0u);

    // The derived entry wins over the base's; a declining _EX entry lets
    // the next one take the command.
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kCmdOverridden, 0), 0);
    EXPECT_TRUE(Logged(wnd, "overridden-derived"));
    EXPECT_FALSE(Logged(wnd, "overridden-base"));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kCmdDeclined, 0), 0);
    EXPECT_TRUE(Logged(wnd, "declined-first"));
    EXPECT_TRUE(Logged(wnd, "declined-taken"));

    int probe = 0;
    EXPECT_TRUE(wnd.OnCmdMsg(kCmdFirst, CN_COMMAND, nullptr, &probe));
    EXPECT_FALSE(wnd.OnCmdMsg(kCmdFirst + 999, CN_COMMAND, nullptr, &probe));
    wnd.DestroyWindow();
}

TEST(FrameworkWindow, RefusedCreationReportsFailureAndReleasesTheObject)
{
    RecordingWnd wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.postNcDestroyCalls, 1);
    // The object is free again for a second try.
    wnd.createResult = 0;
    EXPECT_TRUE(CreateTopLevel(wnd));
    wnd.DestroyWindow();
}

namespace {

const UINT kMenuEnabled = 41001;   // update handler enables and checks
const UINT kMenuDisabled = 41002;  // update handler disables, sets the text
const UINT kMenuHandlerOnly = 41003;
const UINT kMenuNothing = 41004;
const UINT kMenuRadio = 41005;
const UINT kMenuGrowing = 41010;   // replaced by three items 41010..41012
const UINT kMenuAfterGrowing = 41020;

class UpdatingTarget : public CCmdTarget {
public:
    int growingCalls = 0;

protected:
    afx_msg void OnUpdateEnabled(CCmdUI* ui)
    {
        ui->Enable(TRUE);
        ui->SetCheck(1);
    }
    afx_msg void OnUpdateDisabled(CCmdUI* ui)
    {
        ui->Enable(FALSE);
        ui->SetText("&Renamed");
    }
    afx_msg void OnHandlerOnly() {}
    afx_msg void OnUpdateRadio(CCmdUI* ui) { ui->SetRadio(TRUE); }
    afx_msg void OnUpdateGrowing(CCmdUI* ui)
    {
        ++growingCalls;
        if (ui->m_nID != kMenuGrowing)
            return;
        ui->m_pMenu->DeleteMenu(ui->m_nIndex, MF_BYPOSITION);
        for (UINT i = 0; i < 3; ++i)
            ui->m_pMenu->InsertMenu(ui->m_nIndex + i, MF_BYPOSITION | MF_STRING, kMenuGrowing + i, "entry");
    }
    afx_msg void OnUpdateAfterGrowing(CCmdUI* ui) { ui->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UpdatingTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(kMenuEnabled, OnUpdateEnabled)
    ON_UPDATE_COMMAND_UI(kMenuDisabled, OnUpdateDisabled)
    ON_COMMAND(kMenuHandlerOnly, OnHandlerOnly)
    ON_UPDATE_COMMAND_UI(kMenuRadio, OnUpdateRadio)
    ON_UPDATE_COMMAND_UI_RANGE(kMenuGrowing, kMenuGrowing + 5, OnUpdateGrowing)
    ON_UPDATE_COMMAND_UI(kMenuAfterGrowing, OnUpdateAfterGrowing)
END_MESSAGE_MAP()

UINT StateOf(const CMenu& menu, UINT id) { return menu.GetMenuState(id, MF_BYCOMMAND); }

} // namespace

TEST(FrameworkCommandUpdate, MenuItemsTakeTheStateTheirTargetGives)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING | MF_GRAYED, kMenuEnabled, "Enabled");
    menu.AppendMenu(MF_STRING, kMenuDisabled, "Disabled");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, kMenuHandlerOnly, "Handler only");
    menu.AppendMenu(MF_STRING, kMenuNothing, "Nothing");
    menu.AppendMenu(MF_STRING, kMenuRadio, "Radio");
    menu.AppendMenu(MF_STRING, kMenuGrowing, "Growing");
    menu.AppendMenu(MF_STRING, kMenuAfterGrowing, "After");
    menu.AppendMenu(MF_STRING, SC_CLOSE, "System command");

    UpdatingTarget target;
    CCmdUI::UpdateMenuItems(&menu, &target, TRUE);

    EXPECT_FALSE(StateOf(menu, kMenuEnabled) & MF_GRAYED);
    EXPECT_TRUE(StateOf(menu, kMenuEnabled) & MF_CHECKED);
    EXPECT_TRUE(StateOf(menu, kMenuDisabled) & MF_GRAYED);
    CString text;
    menu.GetMenuString(kMenuDisabled, text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Renamed");
    EXPECT_FALSE(StateOf(menu, kMenuHandlerOnly) & MF_GRAYED);   // a command handler exists
    EXPECT_TRUE(StateOf(menu, kMenuNothing) & MF_GRAYED);        // nothing handles it
    EXPECT_TRUE(StateOf(menu, kMenuRadio) & MF_CHECKED);
    EXPECT_FALSE(StateOf(menu, SC_CLOSE) & MF_GRAYED);           // system commands are left alone

    // The growing handler ran once, for its own item, and the walk went on
    // past the items it inserted to the next one.
    EXPECT_EQ(target.growingCalls, 1);
    EXPECT_EQ(menu.GetMenuItemCount(), 11);
    EXPECT_EQ(menu.GetMenuItemID(8), kMenuGrowing + 2);
    EXPECT_TRUE(StateOf(menu, kMenuAfterGrowing) & MF_GRAYED);

    // Without disabling, items that nothing handles keep their state.
    CMenu second;
    second.CreatePopupMenu();
    second.AppendMenu(MF_STRING, kMenuNothing, "Nothing");
    CCmdUI::UpdateMenuItems(&second, &target, FALSE);
    EXPECT_FALSE(StateOf(second, kMenuNothing) & MF_GRAYED);
}

namespace {

const UINT kButtonId = 501;
const UINT kOtherButtonId = 502;
const UINT kCustomNotify = 77;   // a private notification code

// A button that takes its own click and a custom notification.
class SelfHandlingButton : public CWnd {
public:
    int clicks = 0;
    int notifications = 0;
    BOOL passOn = FALSE;

protected:
    afx_msg BOOL OnReflectedClick()
    {
        ++clicks;
        return !passOn;
    }
    afx_msg void OnReflectedNotify(NMHDR* header, LRESULT* result)
    {
        ++notifications;
        *result = static_cast<LRESULT>(header->idFrom) + 1000;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfHandlingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_NOTIFY_REFLECT(kCustomNotify, OnReflectedNotify)
END_MESSAGE_MAP()

class ParentWnd : public CWnd {
public:
    std::vector<UINT> clicked;
    int notifications = 0;

protected:
    afx_msg void OnButton() { clicked.push_back(kButtonId); }
    afx_msg void OnOtherButton() { clicked.push_back(kOtherButtonId); }
    afx_msg void OnNotifyFromOther(NMHDR*, LRESULT* result)
    {
        ++notifications;
        *result = 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWnd, CWnd)
    ON_BN_CLICKED(kButtonId, OnButton)
    ON_BN_CLICKED(kOtherButtonId, OnOtherButton)
    ON_NOTIFY(kCustomNotify, kOtherButtonId, OnNotifyFromOther)
END_MESSAGE_MAP()

LRESULT SendCustomNotify(CWnd& parent, HWND from, UINT id)
{
    NMHDR header{from, id, kCustomNotify};
    return parent.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

} // namespace

TEST(FrameworkReflection, NotificationsReachTheControlBeforeItsParent)
{
    ParentWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    HWND raw = ::CreateWindowExA(0, "BUTTON", "own", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
    HWND other = ::CreateWindowExA(0, "BUTTON", "other", WS_CHILD | WS_VISIBLE, 60, 0, 50, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(kOtherButtonId), nullptr, nullptr);
    SelfHandlingButton button;
    ASSERT_TRUE(button.SubclassDlgItem(kButtonId, &parent));
    EXPECT_EQ(button.m_hWnd, raw);

    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.clicks, 1);
    EXPECT_TRUE(parent.clicked.empty());   // taken by the control

    button.passOn = TRUE;
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.clicks, 2);
    ASSERT_EQ(parent.clicked.size(), 1u);  // declined: the parent sees it too

    ::SendMessageA(other, BM_CLICK, 0, 0);  // a plain control: the parent's table
    ASSERT_EQ(parent.clicked.size(), 2u);
    EXPECT_EQ(parent.clicked[1], kOtherButtonId);

    EXPECT_EQ(SendCustomNotify(parent, raw, kButtonId), 1000 + static_cast<LRESULT>(kButtonId));
    EXPECT_EQ(button.notifications, 1);
    EXPECT_EQ(parent.notifications, 0);
    EXPECT_EQ(SendCustomNotify(parent, other, kOtherButtonId), 5);
    EXPECT_EQ(parent.notifications, 1);

    // Unsubclassed, the control goes back to its own procedure.
    EXPECT_EQ(button.UnsubclassWindow(), raw);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    ::SendMessageA(raw, BM_CLICK, 0, 0);
    EXPECT_EQ(button.clicks, 2);
    EXPECT_EQ(parent.clicked.size(), 3u);
    parent.DestroyWindow();
}

TEST(FrameworkHandleMap, ForeignHandlesGetTemporaryWrappersUntilIdle)
{
    HWND foreign = ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                     nullptr);
    ASSERT_NE(foreign, nullptr);
    CWinApp app("kf test");
    CWnd::DeleteTempMap();

    CWnd* first = CWnd::FromHandle(foreign);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CWnd::FromHandle(foreign), first);   // one wrapper per handle
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CString text;
    first->GetWindowText(text);
    EXPECT_STREQ(text, "foreign");
    HDC hdc = ::GetDC(foreign);
    CDC* dc = CDC::FromHandle(hdc);
    EXPECT_EQ(dc->m_hDC, hdc);
    EXPECT_EQ(KfTemporaryWindows().Count(), 1u);

    // Idle: the second round drops the wrappers, the handles live on.
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_FALSE(app.OnIdle(1));
    EXPECT_EQ(KfTemporaryWindows().Count(), 0u);
    EXPECT_TRUE(::IsWindow(foreign));
    EXPECT_EQ(::GetObjectType(hdc), static_cast<DWORD>(OBJ_DC));   // not deleted with its wrapper
    ::ReleaseDC(foreign, hdc);

    // Attached objects are permanent; detached, the handle is foreign again.
    CWnd attached;
    ASSERT_TRUE(attached.Attach(foreign));
    EXPECT_EQ(CWnd::FromHandle(foreign), &attached);
    EXPECT_EQ(attached.Detach(), foreign);
    EXPECT_NE(CWnd::FromHandle(foreign), &attached);
    CWnd::DeleteTempMap();
    ::DestroyWindow(foreign);
}

namespace {

class LoopWnd : public CWnd {
public:
    int idleUpdates = 0;
    int preTranslated = 0;
    int pings = 0;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == kPing)
            ++preTranslated;
        return FALSE;
    }

protected:
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++idleUpdates;
        return 0;
    }
    afx_msg LRESULT OnPing(WPARAM, LPARAM)
    {
        ++pings;
        ::PostQuitMessage(7);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LoopWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
    ON_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

class LoopApp : public CWinApp {
public:
    LoopApp() : CWinApp("kf loop") {}
    int idleCalls = 0;
    bool pinged = false;
    BOOL OnIdle(LONG count) override
    {
        ++idleCalls;
        BOOL more = CWinApp::OnIdle(count);
        // Once idle is over, a message comes in that ends the loop.
        if (!more && m_pMainWnd && !pinged) {
            pinged = true;
            m_pMainWnd->GetDlgItem(1)->PostMessage(kPing);
        }
        return more;
    }
};

} // namespace

TEST(FrameworkApplication, LoopIdlesUpdatesBarsPreTranslatesAndEndsWithTheQuitCode)
{
    LoopApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr));
    LoopWnd bar;
    ASSERT_TRUE(bar.Create(nullptr, "bar", WS_VISIBLE, CRect(0, 0, 50, 20), &main, 1));
    app.m_pMainWnd = &main;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetMainWnd(), &main);

    EXPECT_EQ(app.Run(), 7);
    EXPECT_GE(app.idleCalls, 2);
    EXPECT_GE(bar.idleUpdates, 1);   // the bar was asked to update itself
    EXPECT_EQ(bar.pings, 1);
    EXPECT_EQ(bar.preTranslated, 1);  // seen before it was dispatched
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST(FrameworkApplication, ProfileValuesOfAnyLengthRoundTrip)
{
    CWinApp app("kf profile");
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    CString path = CString(folder) + "kf_profile_test.ini";
    ::DeleteFileA(path);
    app.SetProfileName(path);

    EXPECT_STREQ(app.GetProfileString("Section", "Missing", "fallback"), "fallback");
    EXPECT_EQ(app.GetProfileInt("Section", "Missing", -3), static_cast<UINT>(-3));
    EXPECT_TRUE(app.WriteProfileInt("Section", "Number", -42));
    EXPECT_EQ(static_cast<int>(app.GetProfileInt("Section", "Number", 0)), -42);

    std::string longValue;
    for (int i = 0; i < 700; ++i)
        longValue += static_cast<char>('a' + i % 26);
    EXPECT_TRUE(app.WriteProfileString("Section", "Long", longValue.c_str()));
    EXPECT_EQ(std::string(app.GetProfileString("Section", "Long")), longValue);
    ::DeleteFileA(path);
}
