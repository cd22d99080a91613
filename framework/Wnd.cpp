#include "Wnd.h"

#include "HandleMap.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const char kKfDefaultWindowClass[] = "KfWnd";

const KfMessageMap* CWnd::GetThisMessageMap()
{
    static const KfMessageEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const KfMessageMap map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

const KfMessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

// The message each framework window is handling, innermost last.
thread_local MSG currentMessage{};

// The object waiting for its window while a creation scope is open, and
// the hook that binds them at the window's first moment.
thread_local CWnd* objectAwaitingWindow = nullptr;
thread_local HHOOK creationHook = nullptr;
thread_local int creationDepth = 0;

void RegisterDefaultClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));   // the arrow
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kKfDefaultWindowClass;
    registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

const MSG* AfxGetCurrentMessage() { return &currentMessage; }

MSG& KfCurrentMessageRecord() { return currentMessage; }

KfCreationScope::KfCreationScope(CWnd* wnd)
{
    if (creationDepth++ == 0)
        creationHook = ::SetWindowsHookExA(WH_CBT, KfCreationHook, nullptr, ::GetCurrentThreadId());
    previous_ = objectAwaitingWindow;
    objectAwaitingWindow = wnd;
}

KfCreationScope::~KfCreationScope()
{
    objectAwaitingWindow = previous_;
    if (--creationDepth == 0 && creationHook) {
        ::UnhookWindowsHookEx(creationHook);
        creationHook = nullptr;
    }
}

void KfCreationScope::Await(CWnd* wnd) { objectAwaitingWindow = wnd; }

LRESULT CALLBACK KfCreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && objectAwaitingWindow) {
        CWnd* wnd = objectAwaitingWindow;
        objectAwaitingWindow = nullptr;   // only the outermost new window is ours
        wnd->BindCreatedWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(creationHook, code, wParam, lParam);
}

LRESULT CALLBACK KfWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = KfPermanentWindows().Find(window);
    if (!wnd)
        return ::DefWindowProcA(window, message, wParam, lParam);
    MSG saved = currentMessage;
    currentMessage.hwnd = window;
    currentMessage.message = message;
    currentMessage.wParam = wParam;
    currentMessage.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        wnd->FinishDestroyed(window);
    currentMessage = saved;
    return result;
}

void CWnd::BindCreatedWindow(HWND window)
{
    Attach(window);
    PreSubclassWindow();
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KfWindowProcedure)));
    if (previous != &KfWindowProcedure)
        m_pfnSuper = previous;
}

// After WM_NCDESTROY: the handle is dead, give the window back its own
// procedure for anything still in flight and let the object go.
void CWnd::FinishDestroyed(HWND window)
{
    if (m_hWnd != window)
        return;
    if (m_pfnSuper)
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

CWnd::~CWnd()
{
    if (m_hWnd && KfPermanentWindows().Find(m_hWnd) == this) {
        // Too late for a derived class's handlers: the window dies quietly.
        HWND window = m_hWnd;
        if (m_pfnSuper)
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        Detach();
        ::DestroyWindow(window);
    }
}

CWnd* CWnd::FromHandle(HWND window)
{
    if (!window)
        return nullptr;
    if (CWnd* permanent = KfPermanentWindows().Find(window))
        return permanent;
    return KfTemporaryWindows().Get(window);
}

CWnd* CWnd::FromHandlePermanent(HWND window) { return window ? KfPermanentWindows().Find(window) : nullptr; }

void CWnd::DeleteTempMap() { KfTemporaryWindows().Clear(); }

BOOL CWnd::Attach(HWND window)
{
    if (!window || m_hWnd)
        return FALSE;
    m_hWnd = window;
    KfPermanentWindows().Add(window, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND window = m_hWnd;
    if (window)
        KfPermanentWindows().Remove(window, this);
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        RegisterDefaultClass();
        cs.lpszClass = kKfDefaultWindowClass;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, LPVOID param)
{
    if (m_hWnd)
        return FALSE;   // one object, one window
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND made;
    {
        KfCreationScope scope(this);
        made = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    // A window refused in WM_NCCREATE or WM_CREATE is already destroyed
    // (and this object told so through PostNcDestroy).
    return made != nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (!window || !::IsWindow(window) || KfPermanentWindows().Find(window) || !Attach(window))
        return FALSE;
    PreSubclassWindow();
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KfWindowProcedure)));
    if (previous != &KfWindowProcedure)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper && m_hWnd)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(currentMessage.message, currentMessage.wParam, currentMessage.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

void CWnd::DoDataExchange(CDataExchange*) {}

namespace {

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!onlyPermanent)
            ::SendMessageA(child, message, wParam, lParam);
        else if (CWnd* wnd = CWnd::FromHandlePermanent(child))
            wnd->SendMessage(message, wParam, lParam);
        if (deep)
            SendToDescendants(child, message, wParam, lParam, deep, onlyPermanent);
    }
}

} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, deep, onlyPermanent);
}

// Frames derive from CWnd alone, so a frame's CWnd address is its own.
CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent()) {
        if (parent->IsFrameWnd())
            return reinterpret_cast<CFrameWnd*>(parent);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    const CWnd* frame = IsFrameWnd() ? this : reinterpret_cast<const CWnd*>(GetParentFrame());
    while (frame) {
        const CWnd* outer = reinterpret_cast<const CWnd*>(frame->GetParentFrame());
        if (!outer)
            break;
        frame = outer;
    }
    return reinterpret_cast<CFrameWnd*>(const_cast<CWnd*>(frame));
}
