// The menu and toolbar layer on a test MDI frame under Wine: the rebar with
// the menu bar and the flat toolbar, the owner-drawn menus, the maximised
// child's caption parts and the Window list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameTestKit.h"
#include "ui/coolbars/ComCtlVersion.h"
#include "ui/coolbars/CoolBar.h"
#include "ui/coolbars/CoolDraw.h"
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
    void OnCount() { ++counted; }
    int counted = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CoolFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_KF_COUNT, OnCount)
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

    // Band colours as the frame sets them (after a system colour change too).
    frame->coolBar.SetBandColours(RGB(1, 2, 3), RGB(4, 5, 6));
    for (int band = 0; band < 2; ++band) {
        REBARBANDINFOA info{};
        info.cbSize = REBARBANDINFOA_V3_SIZE;
        info.fMask = RBBIM_COLORS | RBBIM_CHILD;
        ASSERT_TRUE(frame->coolBar.SendMessage(RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.clrFore, RGB(1, 2, 3)) << band;
        EXPECT_EQ(info.clrBack, RGB(4, 5, 6)) << band;
        EXPECT_EQ(info.hwndChild, band == 0 ? bar.m_hWnd : frame->coolBar.toolBar.m_hWnd);
    }

    // A click on a toolbar button in the rebar reaches the frame.
    CFlatToolBar& tools = frame->coolBar.toolBar;
    Idle(app);
    CRect count;
    tools.GetItemRect(tools.CommandToIndex(ID_KF_COUNT), &count);
    const LPARAM at = MAKELPARAM(count.CenterPoint().x, count.CenterPoint().y);
    tools.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    tools.SendMessage(WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(frame->counted, 1);
    EXPECT_EQ(reinterpret_cast<HWND>(tools.SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(frame->m_hWnd))),
              frame->m_hWnd);
}

namespace {

// Live GDI objects of this process. Wine's GetGuiResources answers 0; there
// a handle with a zero high word names any live table entry, so the table
// is counted directly.
int LiveGdiObjects()
{
    if (DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(counted);
    int live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        live += ::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}

std::string ItemText(HMENU menu, int position)
{
    char text[300] = "";
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

MENUITEMINFOA ItemInfo(HMENU menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return info;
}

// Measures and draws every item of the popup as the system would, in
// every state, into a memory bitmap.
void MeasureAndDraw(HWND frame, HMENU popup)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 40);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        MENUITEMINFOA info = ItemInfo(popup, i);
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
        ::SendMessageA(frame, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        for (UINT state : {0u, UINT(ODS_SELECTED), UINT(ODS_GRAYED), UINT(ODS_CHECKED), UINT(ODS_CHECKED | ODS_SELECTED)}) {
            DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(popup), dc,
                                {0, 0, 300, 20}, info.dwItemData};
            ::SendMessageA(frame, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

void OpenAndClose(HWND frame, HMENU popup)
{
    ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    MeasureAndDraw(frame, popup);
    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
}

HWND menuFrame = nullptr;   // gets a colour and a display change while its popup is open

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (menuFrame) {
        ::SendMessageA(menuFrame, WM_SYSCOLORCHANGE, 0, 0);
        ::SendMessageA(menuFrame, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    }
    ::EndMenu();
}

} // namespace

TEST_F(CoolBars, PopupItemsAreOwnerDrawnWhileOpenAndPlainWithTheirTextsAfter)
{
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, ID_KF_STAMP, "&Stamp");
    ::AppendMenuA(popup, MF_STRING, ID_KF_COUNT, "C&ount");
    ::AppendMenuA(popup, MF_STRING, ID_KF_COUNT, "&Count\tF9");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(popup, MF_STRING, ID_KF_NOBODY, "");
    const std::string longText(70, 'x');
    ::AppendMenuA(popup, MF_STRING, ID_KF_NOBODY, longText.c_str());
    ::AppendMenuA(popup, MF_OWNERDRAW, 4711, reinterpret_cast<LPCSTR>(0x1234));   // someone else's

    frame->m_hAccelTable = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_KF_MAINFRAME));
    ::SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(ItemInfo(popup, i).fType & MFT_OWNERDRAW) << i;
    EXPECT_EQ(ItemInfo(popup, 6).dwItemData, 0x1234u);
    EXPECT_EQ(frame->menus.ConvertedMenuCount(), 1);
    // Opened again while converted: the items keep their texts, also where
    // the system keeps no text for an owner-drawn item.
    MENUITEMINFOA noText{};
    noText.cbSize = sizeof noText;
    noText.fMask = MIIM_STRING;
    noText.dwTypeData = const_cast<LPSTR>("");
    ::SetMenuItemInfoA(popup, 0, TRUE, &noText);
    ::SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    MeasureAndDraw(frame->m_hWnd, popup);
    ::SendMessageA(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);

    EXPECT_EQ(frame->menus.ConvertedMenuCount(), 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(ItemInfo(popup, i).fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ(ItemInfo(popup, i).dwItemData, 0u) << i;
    }
    EXPECT_EQ(ItemText(popup, 0), "&Stamp");
    EXPECT_EQ(ItemText(popup, 1), "C&ount\tCtrl+T");   // the shortcut from the accelerator table
    EXPECT_EQ(ItemText(popup, 2), "&Count\tF9");       // a text with a tab keeps it
    EXPECT_EQ(ItemText(popup, 5), longText);
    EXPECT_TRUE(ItemInfo(popup, 6).fType & MFT_OWNERDRAW);
    ::DestroyMenu(popup);
}

namespace {

// The pixels of the glyph column (the button's width) of an item drawn into
// a white memory bitmap, row by row.
std::vector<COLORREF> GlyphColumn(HWND frame, HMENU popup, int position, int width)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 20);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all = {0, 0, 300, 20};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    MENUITEMINFOA info = ItemInfo(popup, position);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(popup), dc, all,
                        info.dwItemData};
    ::SendMessageA(frame, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

// An item whose command has a toolbar button shows the button's glyph; one
// without shows none.
TEST_F(CoolBars, ItemsWithAToolbarButtonShowItsGlyph)
{
    HMENU popup = ::CreatePopupMenu();
    // The same text twice, so that only a glyph can tell the two apart.
    ::AppendMenuA(popup, MF_STRING, ID_KF_COUNT, "C&ount");
    ::AppendMenuA(popup, MF_STRING, 4712, "C&ount");
    ::SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const int width = frame->menus.m_sizeButton.cx;
    ASSERT_GT(width, 0) << "no toolbar images";
    const std::vector<COLORREF> withButton = GlyphColumn(frame->m_hWnd, popup, 0, width);
    const std::vector<COLORREF> without = GlyphColumn(frame->m_hWnd, popup, 1, width);
    ::SendMessageA(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_NE(withButton, without) << "the Count item shows no glyph";
    ::DestroyMenu(popup);
}

TEST_F(CoolBars, ShortcutsListTheLaterAcceleratorFirst)
{
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'C', 100}, {FVIRTKEY | FCONTROL, VK_INSERT, 100}, {0, 2, 101}};
    frame->m_hAccelTable = ::CreateAcceleratorTableA(table, 3);
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 100, "&Copy");
    ::AppendMenuA(popup, MF_STRING, 101, "&Black\told");
    frame->menus.m_nAccelMode = 1;
    OpenAndClose(frame->m_hWnd, popup);
    const std::string copy = ItemText(popup, 0);
    EXPECT_EQ(copy.rfind("&Copy\tCtrl+", 0), 0u) << copy;
    EXPECT_NE(copy.find(", Ctrl+C"), std::string::npos) << copy;
    EXPECT_EQ(copy.find("Ctrl+C"), copy.rfind("Ctrl+C")) << "Insert comes first: " << copy;
    EXPECT_EQ(ItemText(popup, 1), "&Black\tCtrl+B");   // mode 1 replaces; a control character reads as Ctrl
    ::DestroyMenu(popup);
    ::DestroyAcceleratorTable(frame->m_hAccelTable);
    frame->m_hAccelTable = nullptr;
}

TEST_F(CoolBars, OpeningEveryPopupFiftyTimesLeaksNoGdiObject)
{
    CMenuBar& bar = frame->coolBar.menuBar;
    HMENU menu = bar.GetMenu();
    ASSERT_TRUE(menu);
    // Warm up the objects made once (fonts, brushes, the image list).
    for (int i = 0; i < bar.GetCount(); ++i)
        OpenAndClose(frame->m_hWnd, ::GetSubMenu(menu, i));
    ::SetTimer(nullptr, 0, 20, EndMenuSoon);
    bar.OpenPopup(0);
    Pump();
    const int before = LiveGdiObjects();
    menuFrame = frame->m_hWnd;
    for (int round = 0; round < 50; ++round) {
        frame->SendMessage(WM_SYSCOLORCHANGE);   // images and fonts made again
        for (int i = 0; i < bar.GetCount(); ++i) {
            OpenAndClose(frame->m_hWnd, ::GetSubMenu(menu, i));
            ::SetTimer(nullptr, 0, 5, EndMenuSoon);
            bar.OpenPopup(i);   // a real popup, drawn by the system through the manager
        }
    }
    menuFrame = nullptr;
    Pump();
    for (int i = 0; i < bar.GetCount(); ++i)   // the fonts and images the last change dropped
        OpenAndClose(frame->m_hWnd, ::GetSubMenu(menu, i));
    EXPECT_EQ(LiveGdiObjects(), before);
    EXPECT_EQ(bar.GetState(), CMenuBar::kIdle);
}

TEST_F(CoolBars, MenusWithoutItemsOrTextsAndASecondCreateAreHarmless)
{
    CMenuBar& bar = frame->coolBar.menuBar;
    HMENU empty = ::CreateMenu();
    HMENU previous = bar.SetMenuButtons(empty, nullptr);
    EXPECT_EQ(bar.GetCount(), 0);
    bar.ToggleHotState();
    bar.OpenPopup(0);   // nothing to open
    bar.SetState(CMenuBar::kIdle, -1);

    HMENU odd = ::CreateMenu();
    ::AppendMenuA(odd, MF_STRING, 1, "");
    ::AppendMenuA(odd, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), std::string(80, 'y').c_str());
    ::AppendMenuA(odd, MF_STRING, 3, "&Plain");   // a position without a sub-menu
    bar.SetMenuButtons(odd, nullptr);
    ASSERT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(ButtonText(bar, 0), std::string(63, 'y'));
    bar.OpenPopup(1);   // opens nothing

    CREATESTRUCTA create{};
    const int hooked = CHookWindowMap::WindowCount();
    bar.SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    Pump();
    EXPECT_EQ(CHookWindowMap::WindowCount(), hooked);
    bar.SetMenuButtons(previous, nullptr);
    ::DestroyMenu(odd);
    ::DestroyMenu(empty);

    CFlatToolBar bare;   // a toolbar with no buttons
    ASSERT_TRUE(bare.Create(frame, WS_CHILD | CBRS_TOP | CBRS_SIZE_DYNAMIC, 0xE810));
    CSize size = bare.CalcDynamicLayout(0, LM_HORZ | LM_COMMIT);
    EXPECT_GE(size.cy, 0);
    bare.DestroyWindow();
}

TEST_F(CoolBars, MaximisedChildShowsItsCaptionPartsAndTheWindowMenuListsChildren)
{
    auto* a = new CMDIChildWnd;
    auto* b = new CMDIChildWnd;
    ASSERT_TRUE(a->Create(nullptr, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    ASSERT_TRUE(b->Create(nullptr, "B", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    frame->MDIActivate(b);
    Pump();
    CMenuBar& bar = frame->coolBar.menuBar;
    CMenuBarMdiControls& controls = bar.m_mdiControls;

    // The Window menu ends with the children, numbered, the active one checked;
    // opening it again replaces the entries.
    HMENU window = ::GetSubMenu(bar.GetMenu(), 2);
    ASSERT_TRUE(window);
    const int own = ::GetMenuItemCount(window);
    for (int round = 0; round < 2; ++round) {
        controls.UpdateWindowList(window);
        ASSERT_EQ(::GetMenuItemCount(window), own + 3);
        EXPECT_TRUE(::GetMenuState(window, static_cast<UINT>(own), MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(ItemText(window, own + 1), "&1  A");
        EXPECT_EQ(ItemText(window, own + 2), "&2  B");
        EXPECT_TRUE(::GetMenuState(window, static_cast<UINT>(own + 2), MF_BYPOSITION) & MF_CHECKED);
        EXPECT_FALSE(::GetMenuState(window, static_cast<UINT>(own + 1), MF_BYPOSITION) & MF_CHECKED);
    }

    // Choosing an entry activates its window.
    frame->SendMessage(WM_COMMAND, ::GetMenuItemID(window, own + 1), 0);
    Pump();
    EXPECT_EQ(frame->MDIGetActive(), a);
    frame->MDIActivate(b);
    frame->MDIMaximize(b);
    Pump();
    Idle(app);
    ASSERT_TRUE(controls.IsMaximised());
    CRect client, first;
    bar.GetClientRect(&client);
    bar.GetItemRect(0, &first);
    EXPECT_GE(first.left, ::GetSystemMetrics(SM_CXSMICON)) << "the buttons make room for the icon";
    const CRect& close = controls.m_rcParts[CMenuBarMdiControls::kClose];
    EXPECT_LE(close.right, client.right);
    EXPECT_GT(close.left, controls.m_rcParts[CMenuBarMdiControls::kRestore].left);
    EXPECT_EQ(controls.HitTest(close.CenterPoint().x, close.CenterPoint().y), CMenuBarMdiControls::kClose);

    // The close button closes the active child.
    const LPARAM at = MAKELPARAM(close.CenterPoint().x, close.CenterPoint().y);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    bar.SendMessage(WM_LBUTTONUP, 0, at);
    Pump();
    Idle(app);
    EXPECT_EQ(CountMdiChildren(frame), 1);
    controls.UpdateWindowList(window);
    EXPECT_EQ(::GetMenuItemCount(window), own + 2);
    EXPECT_EQ(ItemText(window, own + 1), "&1  A");
}

namespace {

// States of the maximised child's system menu items while the menu is open.
HWND systemMenuChild = nullptr;
UINT restoreState = 0, maximiseState = 0, minimiseState = 0;
bool systemMenuSeen = false;

void CALLBACK ReadSystemMenuAndEnd(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HMENU menu = ::GetSystemMenu(systemMenuChild, FALSE);
    restoreState = ::GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND);
    maximiseState = ::GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    minimiseState = ::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND);
    systemMenuSeen = ::FindWindowA("#32768", nullptr) != nullptr;
    ::EndMenu();
}

} // namespace

// The icon of a maximised child opens the child's system menu in the
// child's own state: Restore enabled, Maximize grey.
TEST_F(CoolBars, MaximisedChildsIconMenuShowsTheChildsState)
{
    auto* child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                              frame));
    frame->MDIActivate(child);
    frame->MDIMaximize(child);
    Pump();
    Idle(app);
    CMenuBar& bar = frame->coolBar.menuBar;
    ASSERT_TRUE(bar.m_mdiControls.IsMaximised());
    const CRect& icon = bar.m_mdiControls.m_rcParts[CMenuBarMdiControls::kIcon];
    systemMenuChild = child->m_hWnd;
    ::SetTimer(nullptr, 0, 200, ReadSystemMenuAndEnd);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
    Pump();
    ASSERT_TRUE(systemMenuSeen) << "no menu opened";
    EXPECT_FALSE(restoreState & MF_GRAYED) << "Restore is grey";
    EXPECT_TRUE(maximiseState & MF_GRAYED) << "Maximize is enabled";
    EXPECT_FALSE(minimiseState & MF_GRAYED) << "Minimize is grey";
    EXPECT_TRUE(::IsZoomed(child->m_hWnd)) << "the closed menu changed the child";
}

namespace {

// The toolbar's height with its rows wrapped at the separator, committed.
int WrappedHeight(CWnd* parent, int version, bool& separatorWrapped)
{
    SetComCtlVersion(version);
    CFlatToolBar bar;
    EXPECT_EQ(bar.m_bOldLibrary, version <= 470);
    EXPECT_EQ(bar.m_bPostPaint, version == 471 || version == 472);
    EXPECT_TRUE(bar.Create(parent, WS_CHILD | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, 0xE811));
    EXPECT_TRUE(bar.LoadToolBar(IDR_KF_MAINFRAME));   // Stamp, separator, Count, Nobody
    CRect stamp, separator;
    bar.GetItemRect(0, &stamp);
    bar.GetItemRect(1, &separator);
    // Room for the first button and the separator only.
    const int length = stamp.Width() + separator.Width() + 2;
    CSize size = bar.CalcDynamicLayout(length, LM_HORZ | LM_COMMIT);
    separatorWrapped = (bar.SendMessage(TB_GETSTATE, 0, 0) != -1) &&
                       (bar.GetButtonStyle(1) & (TBSTATE_WRAP << 8)) != 0;
    bar.DestroyWindow();
    SetComCtlVersion(0);
    return size.cy;
}

} // namespace

TEST_F(CoolBars, ToolbarRowsFollowTheLibraryVersion)
{
    bool wrapped = false;
    const int h470 = WrappedHeight(frame, 470, wrapped);
    EXPECT_TRUE(wrapped);
    const int h471 = WrappedHeight(frame, 471, wrapped);
    EXPECT_TRUE(wrapped);
    const int h472 = WrappedHeight(frame, 472, wrapped);
    const int h600 = WrappedHeight(frame, 600, wrapped);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(h471 - h470, 3) << "4.70 leaves the separator's height less 3 between the rows";
    EXPECT_EQ(h472, h600) << "from 4.72 on the separator's width is the gap";
    EXPECT_NE(h472, h471);
    EXPECT_GT(ComCtlVersion(), 470) << "read again from the library";
}

// Shortcut names of the extended keys come with their extended bit:
// "Insert", not the keypad's "Num 0".
TEST_F(CoolBars, ShortcutNamesOfExtendedKeysAreTheirOwn)
{
    ACCEL table[] = {{FVIRTKEY, VK_INSERT, 100}, {FVIRTKEY | FSHIFT, VK_DELETE, 101}, {FVIRTKEY, VK_HOME, 102}};
    frame->m_hAccelTable = ::CreateAcceleratorTableA(table, 3);
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 100, "&Paste");
    ::AppendMenuA(popup, MF_STRING, 101, "Cu&t");
    ::AppendMenuA(popup, MF_STRING, 102, "&First");
    frame->menus.m_nAccelMode = 1;
    OpenAndClose(frame->m_hWnd, popup);
    EXPECT_EQ(ItemText(popup, 0), "&Paste\tInsert");
    EXPECT_EQ(ItemText(popup, 1), "Cu&t\tShift+Delete");
    EXPECT_EQ(ItemText(popup, 2), "&First\tHome");
    ::DestroyMenu(popup);
    ::DestroyAcceleratorTable(frame->m_hAccelTable);
    frame->m_hAccelTable = nullptr;
}

// A typed mnemonic that several items share moves the highlight from one
// to the next and runs none; one that a single item has runs it.
TEST_F(CoolBars, SharedMnemonicSelectsInTurnAndASingleOneRuns)
{
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, ID_KF_STAMP, "&Copy");
    ::AppendMenuA(popup, MF_STRING, ID_KF_COUNT, "&Count");
    ::AppendMenuA(popup, MF_STRING, ID_KF_NOBODY, "&Stamp");
    ::SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    auto typed = [&](char key) {
        return ::SendMessageA(frame->m_hWnd, WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP), reinterpret_cast<LPARAM>(popup));
    };
    auto highlight = [&](int position, bool on) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        info.fState = on ? MFS_HILITE : 0;
        ::SetMenuItemInfoA(popup, static_cast<UINT>(position), TRUE, &info);
    };
    EXPECT_EQ(typed('c'), MAKELRESULT(0, MNC_SELECT));
    highlight(0, true);
    EXPECT_EQ(typed('C'), MAKELRESULT(1, MNC_SELECT));
    highlight(0, false);
    highlight(1, true);
    EXPECT_EQ(typed('c'), MAKELRESULT(0, MNC_SELECT)) << "from the last match back to the first";
    EXPECT_EQ(typed('s'), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(typed('x'), 0);
    ::SendMessageA(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    ::DestroyMenu(popup);
}

// A disabled glyph is embossed: its shadow where the glyph is, its
// highlight one pixel down and right of it.
TEST_F(CoolBars, EmbossedGlyphHasItsShadowOnTopAndItsHighlightBelow)
{
    HDC screen = ::GetDC(nullptr);
    HDC glyphDc = ::CreateCompatibleDC(screen);
    HBITMAP glyph = ::CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ oldGlyph = ::SelectObject(glyphDc, glyph);
    ::PatBlt(glyphDc, 0, 0, 8, 8, WHITENESS);
    ::PatBlt(glyphDc, 2, 2, 4, 4, BLACKNESS);   // a black square on white
    ::SelectObject(glyphDc, oldGlyph);
    HIMAGELIST images = ImageList_Create(8, 8, ILC_COLOR24 | ILC_MASK, 1, 1);
    ASSERT_GE(ImageList_AddMasked(images, glyph, RGB(255, 255, 255)), 0);

    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ oldCanvas = ::SelectObject(dc, canvas);
    const RECT all = {0, 0, 20, 20};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    for (BOOL colour : {TRUE, FALSE}) {
        DrawEmbossedImage(dc, images, 0, 5, 5, colour);
        EXPECT_EQ(::GetPixel(dc, 5 + 2, 5 + 2), ::GetSysColor(COLOR_BTNSHADOW)) << "colour " << colour;
        EXPECT_EQ(::GetPixel(dc, 5 + 6, 5 + 6), ::GetSysColor(COLOR_BTNHIGHLIGHT)) << "colour " << colour;
        EXPECT_EQ(::GetPixel(dc, 5 + 1, 5 + 1), ::GetSysColor(COLOR_BTNFACE)) << "colour " << colour;
    }
    ::SelectObject(dc, oldCanvas);
    ::DeleteObject(canvas);
    ::DeleteDC(dc);
    ImageList_Destroy(images);
    ::DeleteObject(glyph);
    ::DeleteDC(glyphDc);
    ::ReleaseDC(nullptr, screen);
}
