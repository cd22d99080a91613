#include "SubclassWnd.h"

#include <map>

#include "Wnd.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

namespace {

LRESULT CALLBACK HookedWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::map<HWND, CSubclassWnd*>& FirstHooks()
{
    static std::map<HWND, CSubclassWnd*> map;
    return map;
}

// Windows whose last hook left while another subclass sat on top of the
// shared procedure: that subclass still calls it, which passes the
// messages on to the procedure from before the hooks.
std::map<HWND, WNDPROC>& PassThrough()
{
    static std::map<HWND, WNDPROC> map;
    return map;
}

WNDPROC CurrentProcedure(HWND window)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
}

void SetProcedure(HWND window, WNDPROC procedure)
{
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// The framework code a hook calls sees the hooked message as the current one.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        : record(KfCurrentMessageRecord()), saved(record)
    {
        record.hwnd = window;
        record.message = message;
        record.wParam = wParam;
        record.lParam = lParam;
    }
    ~CurrentMessageScope() { record = saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    MSG& record;
    MSG saved;
};

LRESULT CALLBACK HookedWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessageScope scope(window, message, wParam, lParam);
    CSubclassWnd* first = CHookWindowMap::Lookup(window);
    if (!first) {
        auto passing = PassThrough().find(window);
        WNDPROC next = passing != PassThrough().end() ? passing->second : nullptr;
        if (message == WM_NCDESTROY && passing != PassThrough().end())
            PassThrough().erase(passing);
        return next ? ::CallWindowProcA(next, window, message, wParam, lParam)
                    : ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        WNDPROC saved = first->m_pOldWndProc;
        CHookWindowMap::RemoveAll(window);
        return ::CallWindowProcA(saved, window, message, wParam, lParam);
    }
    return first->WindowProc(message, wParam, lParam);
}

} // namespace

CSubclassWnd::~CSubclassWnd() { Attach(nullptr); }

BOOL CSubclassWnd::Attach(HWND window)
{
    if (window) {
        if (m_hWnd)
            CHookWindowMap::Remove(this);
        m_hWnd = window;
        CHookWindowMap::Add(window, this);
    } else if (m_hWnd) {
        CHookWindowMap::Remove(this);
        m_pOldWndProc = nullptr;
    }
    m_hWnd = window;
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext)
        return m_pNext->WindowProc(message, wParam, lParam);
    if (m_pOldWndProc)
        return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default()
{
    const MSG* current = AfxGetCurrentMessage();
    return CSubclassWnd::WindowProc(current->message, current->wParam, current->lParam);
}

void CHookWindowMap::Add(HWND window, CSubclassWnd* hook)
{
    auto& map = FirstHooks();
    auto found = map.find(window);
    CSubclassWnd* first = found != map.end() ? found->second : nullptr;
    hook->m_pNext = first;
    map[window] = hook;
    if (first) {
        hook->m_pOldWndProc = first->m_pOldWndProc;
        return;
    }
    auto passing = PassThrough().find(window);
    if (passing != PassThrough().end()) {
        // The shared procedure is still called from below a foreign subclass.
        hook->m_pOldWndProc = passing->second;
        PassThrough().erase(passing);
        return;
    }
    hook->m_pOldWndProc = CurrentProcedure(window);
    SetProcedure(window, HookedWindowProcedure);
}

void CHookWindowMap::Remove(CSubclassWnd* hook)
{
    auto& map = FirstHooks();
    auto found = map.find(hook->m_hWnd);
    if (found == map.end())
        return;
    if (found->second == hook) {
        if (hook->m_pNext) {
            found->second = hook->m_pNext;
        } else {
            map.erase(found);
            if (CurrentProcedure(hook->m_hWnd) == HookedWindowProcedure)
                SetProcedure(hook->m_hWnd, hook->m_pOldWndProc);
            else if (::IsWindow(hook->m_hWnd))
                PassThrough()[hook->m_hWnd] = hook->m_pOldWndProc;
        }
    } else {
        CSubclassWnd* before = found->second;
        while (before->m_pNext && before->m_pNext != hook)
            before = before->m_pNext;
        if (before->m_pNext == hook)
            before->m_pNext = hook->m_pNext;
    }
    hook->m_pNext = nullptr;
}

void CHookWindowMap::RemoveAll(HWND window)
{
    while (CSubclassWnd* first = Lookup(window))
        first->Attach(nullptr);
}

CSubclassWnd* CHookWindowMap::Lookup(HWND window)
{
    auto& map = FirstHooks();
    auto found = map.find(window);
    return found != map.end() ? found->second : nullptr;
}

int CHookWindowMap::WindowCount() { return static_cast<int>(FirstHooks().size()); }
