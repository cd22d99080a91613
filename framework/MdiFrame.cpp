#include "MdiFrame.h"

#include "DocTemplate.h"
#include "DocTemplateStrings.h"
#include "Document.h"
#include "View.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
    ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTile)
    ON_COMMAND(ID_WINDOW_TILE_VERT, OnWindowTileVert)
    ON_COMMAND(ID_WINDOW_ARRANGE, OnWindowArrange)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

bool IsWindowCommand(UINT id)
{
    return id == ID_WINDOW_CASCADE || id == ID_WINDOW_TILE_HORZ || id == ID_WINDOW_TILE_VERT ||
           id == ID_WINDOW_ARRANGE || id == ID_WINDOW_NEW;
}

bool IsKeyMessage(const MSG* msg) { return msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST; }

} // namespace

// The MDI frame

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
    HMENU menu = ::GetMenu(m_hWnd);
    CLIENTCREATESTRUCT client{GetWindowMenuPopup(menu ? menu : m_hMenuDefault), AFX_IDM_FIRST_MDICHILD};
    m_hWndMDIClient = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES, 0, 0, 0, 0,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(),
        &client);
    m_hMenuInPlace = menu;
    return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU menuBar)
{
    if (!menuBar)
        return nullptr;
    int count = ::GetMenuItemCount(menuBar);
    for (int i = 0; i < count; ++i) {
        HMENU popup = ::GetSubMenu(menuBar, i);
        int items = popup ? ::GetMenuItemCount(popup) : 0;
        for (int j = 0; j < items; ++j) {
            if (IsWindowCommand(::GetMenuItemID(popup, j)))
                return popup;
        }
    }
    return count >= 2 ? ::GetSubMenu(menuBar, count - 2) : nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    BOOL zoomed = FALSE;
    HWND active = m_hWndMDIClient
                      ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                              reinterpret_cast<LPARAM>(&zoomed)))
                      : nullptr;
    CWnd* wnd = CWnd::FromHandlePermanent(active);
    CMDIChildWnd* child = DYNAMIC_DOWNCAST(CMDIChildWnd, wnd);
    if (maximized)
        *maximized = child ? zoomed : FALSE;
    return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* child)
{
    if (child && child->m_hWnd)
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* child)
{
    if (child && child->m_hWnd)
        ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}

HMENU CMDIFrameWnd::MDISetMenu(HMENU frameMenu, HMENU windowMenu)
{
    // Another window of the same kind keeps the menu in place: putting it
    // there again would lay the frame out and redraw its bar for nothing.
    // The menu is in place on the frame itself or, when the frame has none,
    // on the menu bar that took it over from the client's WM_MDISETMENU.
    const HMENU shown = ::GetMenu(m_hWnd);
    if (frameMenu && frameMenu == m_hMenuInPlace && (shown == frameMenu || !shown) &&
        windowMenu == GetWindowMenuPopup(frameMenu))
        return frameMenu;
    HMENU previous = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                            reinterpret_cast<WPARAM>(frameMenu),
                                                            reinterpret_cast<LPARAM>(windowMenu)));
    m_hMenuInPlace = frameMenu;
    DrawMenuBar();
    return previous;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator()
{
    CMDIChildWnd* child = MDIGetActive();
    HACCEL own = child ? child->GetDefaultAccelerator() : nullptr;
    return own ? own : m_hAccelTable;
}

// The active document window (its view, its document, itself) first.
BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The Window menu's list of document windows belongs to the client.
    if (lParam == 0 && LOWORD(wParam) >= AFX_IDM_FIRST_MDICHILD) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (IsKeyMessage(msg) && m_hWndMDIClient && ::IsChild(m_hWndMDIClient, msg->hwnd) &&
        ::TranslateMDISysAccel(m_hWndMDIClient, msg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

// "program - document" while the active document window is not maximised
// (the system's own caption shows the maximised one).
void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    BOOL maximized = FALSE;
    CMDIChildWnd* child = MDIGetActive(&maximized);
    CDocument* doc = child && !maximized ? child->GetActiveDocument() : nullptr;
    UpdateFrameTitleForDocument(addToTitle && doc ? (LPCSTR)doc->GetTitle() : nullptr);
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* cmdUI) { cmdUI->Enable(MDIGetActive() != nullptr); }

// Document windows

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                          CMDIFrameWnd* parent, CCreateContext* context)
{
    if (!parent)
        parent = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (!parent || !parent->m_hWndMDIClient)
        return FALSE;
    m_strTitle = windowName;
    m_pPendingContext = context;
    int x = rect.left, y = rect.top;
    int width = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    int height = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    // Shown by ActivateFrame once its views are ready.
    style &= ~(WS_VISIBLE | WS_MAXIMIZE);
    return CreateEx(WS_EX_MDICHILD, className, windowName, style, x, y, width, height, parent->m_hWndMDIClient,
                    nullptr, context);
}

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = resourceId;
    CDocTemplate* docTemplate = context ? context->m_pNewDocTemplate : nullptr;
    if (docTemplate)
        m_hMenuShared = docTemplate->m_hMenuShared;
    LPCSTR className = RegisterFrameClass(resourceId);
    CMDIFrameWnd* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, parent);
    return Create(className, nullptr, style, rectDefault, frame, context);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    HWND frame = client ? ::GetParent(client) : nullptr;
    return DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(frame));
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

// A new window opens maximised when the active one is.
void CMDIChildWnd::ActivateFrame(int showCommand)
{
    CMDIFrameWnd* frame = GetMDIFrame();
    if (showCommand == -1 && frame) {
        BOOL maximized = FALSE;
        CMDIChildWnd* active = frame->MDIGetActive(&maximized);
        if (active && active != this && maximized)
            showCommand = SW_SHOWMAXIMIZED;
    }
    CFrameWnd::ActivateFrame(showCommand);
    MDIActivate();
    if (frame)
        ::SendMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

// The client destroys document windows, so that it keeps its list right.
BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    MDIDestroy();   // this object is gone afterwards (PostNcDestroy)
    return TRUE;
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* msg)
{
    if (!IsKeyMessage(msg) || !m_hAccelTable)
        return FALSE;
    CMDIFrameWnd* frame = GetMDIFrame();
    HWND target = frame ? frame->m_hWnd : m_hWnd;
    return ::TranslateAcceleratorA(target, m_hAccelTable, msg) ? TRUE : FALSE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* doc = GetActiveDocument();
    CString title = addToTitle && doc ? doc->GetTitle() : m_strTitle;
    if (title != m_strShownTitle) {
        m_strShownTitle = title;
        SetWindowText(title);
        // The client's window list keeps the text a window had when it was
        // listed; have it read the titles again.
        if (HWND client = ::GetParent(m_hWnd))
            ::SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
    }
}

void CMDIChildWnd::OnMDIActivate(BOOL activate, CWnd* activated, CWnd*)
{
    CView* view = GetActiveView();
    if (!activate && view && view->m_hWnd)
        view->OnActivateView(FALSE, view, view);
    Default();
    UpdateFrameMenu(activate, activated);
    if (activate && view && view->m_hWnd)
        view->OnActivateView(TRUE, view, view);
}

void CMDIChildWnd::UpdateFrameMenu(BOOL activating, CWnd* activated)
{
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame || (!activating && activated))
        return;   // another document window puts its own menu in place
    HMENU menu = activating && m_hMenuShared ? m_hMenuShared : frame->m_hMenuDefault;
    if (menu)
        frame->MDISetMenu(menu, frame->GetWindowMenuPopup(menu));
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy)
{
    Default();   // the client's maximise handling needs it
    CFrameWnd::OnSize(type, cx, cy);
}

void CMDIChildWnd::OnDestroy()
{
    // The last document window leaves the frame's own menu behind.
    HWND client = ::GetParent(m_hWnd);
    bool others = false;
    for (HWND child = ::GetTopWindow(client); child && !others; child = ::GetWindow(child, GW_HWNDNEXT))
        others = child != m_hWnd && ::GetWindow(child, GW_OWNER) == nullptr &&
                 DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(child)) != nullptr;
    if (!others)
        UpdateFrameMenu(FALSE, nullptr);
    CFrameWnd::OnDestroy();
}
