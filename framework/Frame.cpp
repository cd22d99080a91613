#include "Frame.h"

#include "ControlBars.h"
#include "DocTemplateStrings.h"
#include "DocTemplate.h"
#include "Document.h"
#include "RecentFileList.h"
#include "View.h"

#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

// CW_USEDEFAULT stands in both corners of the default rectangle.
void CreationSize(const RECT& rect, int& width, int& height)
{
    width = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    height = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
}

CString StringPart(UINT id, int part)
{
    CString full;
    if (!full.LoadString(id))
        return CString();
    CString text;
    KfGetDocStringPart(full, part, text);
    return text;
}

} // namespace

void KfRepositionBars(CWnd* parent, UINT first, UINT last, UINT leftOverId, UINT flag, LPRECT rectParam,
                      LPCRECT clientRect, BOOL stretch)
{
    if (!parent || !parent->m_hWnd)
        return;
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = stretch;
    if (clientRect)
        layout.rect = *clientRect;
    else
        parent->GetClientRect(&layout.rect);
    if (flag == reposExtra && rectParam) {
        layout.rect.left += rectParam->left;
        layout.rect.top += rectParam->top;
        layout.rect.right -= rectParam->right;
        layout.rect.bottom -= rectParam->bottom;
    }
    layout.hDWP = flag == reposQuery ? nullptr : ::BeginDeferWindowPos(8);
    HWND leftOver = nullptr;
    for (HWND child = ::GetTopWindow(parent->m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == leftOverId)
            leftOver = child;
        else if (id >= first && id <= last && CWnd::FromHandlePermanent(child))
            ::SendMessageA(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
    if (flag == reposQuery) {
        if (rectParam)
            *rectParam = layout.rect;
        return;
    }
    CRect rest(layout.rect);
    if (rest.right < rest.left)
        rest.right = rest.left;
    if (rest.bottom < rest.top)
        rest.bottom = rest.top;
    if (leftOver && layout.hDWP)
        layout.hDWP = ::DeferWindowPos(layout.hDWP, leftOver, nullptr, rest.left, rest.top, rest.Width(),
                                       rest.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    // Bars that outlive the frame's window must not call back into it.
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos)
        static_cast<CControlBar*>(m_listControlBars.GetNext(pos))->m_pDockSite = nullptr;
}

// Creation

LPCSTR CFrameWnd::RegisterFrameClass(UINT resourceId)
{
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    return AfxRegisterWndClass(CS_DBLCLKS, arrow, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    HMENU menu = menuName ? ::LoadMenuA(AfxGetResourceHandle(), menuName) : nullptr;
    m_hMenuDefault = menu;
    m_strTitle = windowName;
    m_pPendingContext = context;
    int width, height;
    CreationSize(rect, width, height);
    // A failed creation has already destroyed the window (and this object
    // with it, in PostNcDestroy): nothing of ours may be touched after.
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, width, height,
                    parent ? parent->m_hWnd : nullptr, menu, context);
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = resourceId;
    CString title = StringPart(resourceId, kDocWindowTitle);
    LPCSTR className = RegisterFrameClass(resourceId);
    HINSTANCE resources = AfxGetResourceHandle();
    LPCSTR menuName = ::FindResourceA(resources, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(4))
                          ? MAKEINTRESOURCEA(resourceId)
                          : nullptr;   // RT_MENU
    HACCEL accel = ::LoadAcceleratorsA(resources, MAKEINTRESOURCEA(resourceId));
    // Tables loaded from resources are the system's to free.
    if (!Create(className, title, style, rectDefault, parent, menuName, 0, context))
        return FALSE;
    m_hAccelTable = accel;
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR name)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), name);
    return m_hAccelTable != nullptr;
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    // Beside a single document the caption reads "document - program".
    if ((cs.style & FWS_ADDTOTITLE) && !(cs.style & WS_CHILD) && !(cs.dwExStyle & WS_EX_MDICHILD))
        cs.style |= FWS_PREFIXTITLE;
    return CWnd::PreCreateWindow(cs);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    CCreateContext* context = m_pPendingContext;
    m_pPendingContext = nullptr;
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!OnCreateClient(cs, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (context && context->m_pNewViewClass)
        return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CObject* object = context->m_pNewViewClass->CreateObject();
    CWnd* view = object && object->IsKindOf(RUNTIME_CLASS(CWnd)) ? static_cast<CWnd*>(object) : nullptr;
    if (!view) {
        delete object;
        return nullptr;
    }
    // A view that fails goes with its window (its PostNcDestroy).
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, context))
        return nullptr;
    return view;
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

void CFrameWnd::OnDestroy()
{
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos)
        static_cast<CControlBar*>(m_listControlBars.GetNext(pos))->m_pDockSite = nullptr;
    m_listControlBars.RemoveAll();
    // The system destroys only the menu in place; the frame's own menu may
    // have been replaced (a document's menu) or removed (a menu bar).
    HMENU current = ::GetMenu(m_hWnd);
    if (m_hMenuDefault && current != m_hMenuDefault) {
        if (current && !(GetStyle() & WS_CHILD))
            ::SetMenu(m_hWnd, nullptr);
        ::DestroyMenu(m_hMenuDefault);
    }
    m_hMenuDefault = nullptr;
    m_hAccelTable = nullptr;   // loaded from resources: the system frees it
    m_pViewActive = nullptr;
    Default();
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        if (!app->m_pMainWnd)
            return;   // the documents took the main window with them
        DestroyWindow();
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    if (doc && doc->m_bAutoDelete) {
        // The document goes with its last frame.
        bool otherFrame = false;
        POSITION pos = doc->GetFirstViewPosition();
        while (pos && !otherFrame)
            otherFrame = doc->GetNextView(pos)->GetParentFrame() != this;
        if (!otherFrame) {
            doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

// Layout

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = FALSE;
    m_bLayoutPending = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL) { m_bLayoutPending = TRUE; }

void CFrameWnd::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* oldWnd)
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(oldWnd);
}

// Views and documents

CView* CFrameWnd::GetActiveView() const { return m_pViewActive; }

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pViewActive;
    if (view == old)
        return;
    m_pViewActive = view;
    if (notify && old && old->m_hWnd)
        old->OnActivateView(FALSE, view, old);
    if (notify && view && view->m_hWnd)
        view->OnActivateView(TRUE, view, old);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CFrameWnd* frame = GetActiveFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int showCommand)
{
    if (showCommand == -1) {
        if (!IsWindowVisible())
            showCommand = SW_SHOWNORMAL;
        else if (IsIconic())
            showCommand = SW_RESTORE;
    }
    if (showCommand != -1)
        ShowWindow(showCommand);
    BringWindowToTop();
}

CView* CFrameWnd::FindFirstPaneView() const
{
    std::vector<HWND> pending{m_hWnd};
    while (!pending.empty()) {
        HWND parent = pending.back();
        pending.pop_back();
        for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::GetDlgCtrlID(child) != AFX_IDW_PANE_FIRST)
                continue;
            CWnd* wnd = CWnd::FromHandlePermanent(child);
            if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CView)))
                return static_cast<CView*>(wnd);
            pending.push_back(child);   // a splitter: look inside
        }
    }
    return nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    CView* view = m_pViewActive;
    if (!view) {
        view = FindFirstPaneView();
        if (view)
            SetActiveView(view, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    // Titled while still hidden, so that its caption is drawn once.
    (void)doc;
    OnUpdateFrameTitle(TRUE);
    if (makeVisible) {
        ActivateFrame();
        if (view && view->m_hWnd)
            view->OnActivateView(TRUE, view, view);
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(addToTitle && doc ? (LPCSTR)doc->GetTitle() : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR docName)
{
    CString title = m_strTitle;
    if (docName && *docName) {
        if (GetStyle() & FWS_PREFIXTITLE)
            title = CString(docName) + (m_strTitle.IsEmpty() ? "" : " - ") + m_strTitle;
        else
            title = m_strTitle + (m_strTitle.IsEmpty() ? "" : " - ") + docName;
    }
    if (title != m_strShownTitle) {
        m_strShownTitle = title;
        SetWindowText(title);
    }
}

// Control bars

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (bar && !m_listControlBars.Find(bar))
        m_listControlBars.AddTail(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    if (POSITION pos = m_listControlBars.Find(bar))
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT id)
{
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == id)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    if (!bar || !bar->m_hWnd)
        return;
    bar->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (delay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT, LPCRECT)
{
    if (!bar)
        return;
    AddControlBar(bar);
    bar->m_pDockSite = this;
    RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT id)
{
    CControlBar* bar = GetControlBar(id);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !bar->IsWindowVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    if (!bar) {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck(bar->IsWindowVisible() ? 1 : 0);
}

// The recent-file list's entries in the File menu.
void CFrameWnd::OnUpdateRecentFileMenu(CCmdUI* cmdUI)
{
    if (CRecentFileList* list = KfGetRecentFileList())
        list->UpdateMenu(cmdUI);
    else
        cmdUI->Enable(FALSE);
}

// Status-bar messages

CWnd* CFrameWnd::GetMessageBar()
{
    CFrameWnd* top = GetTopLevelFrame();
    HWND owner = top ? top->m_hWnd : m_hWnd;
    return CWnd::FromHandlePermanent(::GetDlgItem(owner, AFX_IDW_STATUS_BAR));
}

void CFrameWnd::GetMessageString(UINT id, CString& message) const
{
    message = StringPart(id, 0);
    if (message.IsEmpty() && id == AFX_IDS_IDLEMESSAGE)
        message = "Ready";
}

void CFrameWnd::SetMessageText(LPCSTR text)
{
    if (CWnd* bar = GetMessageBar())
        bar->SetWindowText(text ? text : "");
}

void CFrameWnd::SetMessageText(UINT id)
{
    CString message;
    GetMessageString(id, message);
    SetMessageText(message);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    if (lParam)
        SetMessageText(reinterpret_cast<LPCSTR>(lParam));
    else if (wParam)
        SetMessageText(static_cast<UINT>(wParam));
    return 0;
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu) {
        m_nMenuPromptId = 0;
        SetMessageText(AFX_IDS_IDLEMESSAGE);   // the menu closed
    } else if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) && item != 0 && item < 0xF000) {
        m_nMenuPromptId = item;
        SetMessageText(item);
    } else {
        m_nMenuPromptId = 0;
        SetMessageText("");
    }
    Default();
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    Default();
    if (!sysMenu)
        CCmdUI::UpdateMenuItems(popup, this, m_bAutoMenuEnable);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_bLayoutPending)
        RecalcLayout();
    OnUpdateFrameTitle(TRUE);
    return 0;
}

// Routing

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    if (m_pViewActive && m_pViewActive->m_hWnd && m_pViewActive->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    // Only the outermost frame passes on to the application, so that a main
    // frame sees the commands its document windows leave.
    if (GetParentFrame())
        return FALSE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_hAccelTable)
        return FALSE;
    // Keys typed in other top-level windows (dialogs) are theirs.
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) ? TRUE : FALSE;
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if ((header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) && OnToolTipText(header, result))
        return TRUE;
    if (header->code == TBN_HOTITEMCHANGE)
        OnHotItemChange(header);
    return CWnd::OnNotify(wParam, lParam, result);
}

BOOL CFrameWnd::OnToolTipText(NMHDR* header, LRESULT* result)
{
    UINT id = static_cast<UINT>(header->idFrom);
    bool isWindow = header->code == TTN_GETDISPINFOA
                        ? (reinterpret_cast<NMTTDISPINFOA*>(header)->uFlags & TTF_IDISHWND) != 0
                        : (reinterpret_cast<NMTTDISPINFOW*>(header)->uFlags & TTF_IDISHWND) != 0;
    if (isWindow)
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
    if (id == 0)
        return FALSE;
    CString tip = StringPart(id, 1);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, tip, sizeof info->szText);
        info->lpszText = info->szText;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        int n = ::MultiByteToWideChar(CP_ACP, 0, tip, -1, info->szText, 80);
        if (n <= 0)
            info->szText[0] = 0;
        info->szText[79] = 0;
        info->lpszText = info->szText;
        info->hinst = nullptr;
    }
    if (result)
        *result = 0;
    return TRUE;
}

void CFrameWnd::OnHotItemChange(NMHDR* header)
{
    CWnd* from = CWnd::FromHandlePermanent(header->hwndFrom);
    auto* bar = from && from->IsKindOf(RUNTIME_CLASS(CControlBar)) ? static_cast<CControlBar*>(from) : nullptr;
    if (!bar || !(bar->GetBarStyle() & CBRS_FLYBY))
        return;
    auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
    if (hot->dwFlags & HICF_LEAVING)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else
        SetMessageText(static_cast<UINT>(hot->idNew));
}

// Dropped files open as documents, in the order given.
void CFrameWnd::OnDropFiles(HDROP drop)
{
    SetForegroundWindow();
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<CString> paths;
    for (UINT i = 0; i < count; ++i) {
        UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        std::vector<char> buffer(length + 1, '\0');
        if (::DragQueryFileA(drop, i, buffer.data(), length + 1) > 0)
            paths.emplace_back(buffer.data());
    }
    ::DragFinish(drop);
    CWinApp* app = AfxGetApp();
    for (const CString& path : paths) {
        if (app)
            app->OpenDocumentFile(path);
    }
}
