// CWnd's members that need more than one system call.
#include "Wnd.h"

#include <deque>
#include <vector>

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetExStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(changed));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

namespace {

CString TextOfWindow(HWND window)
{
    int length = window ? ::GetWindowTextLengthA(window) : 0;
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int copied = window ? ::GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size())) : 0;
    return CString(buffer.data(), copied > 0 ? copied : 0);
}

} // namespace

void CWnd::GetWindowText(CString& text) const { text = TextOfWindow(m_hWnd); }

int CWnd::GetDlgItemText(int id, CString& text) const
{
    text = TextOfWindow(::GetDlgItem(m_hWnd, id));
    return text.GetLength();
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id) {
        if (::IsDlgButtonChecked(m_hWnd, id))
            return id;
    }
    return 0;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, control ? control->m_hWnd : nullptr, previous));
}

void CWnd::GotoDlgCtrl(CWnd* control)
{
    if (control)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

// Centres over the owner (or parent, or the given window); popups without
// one centre on the work area of the screen. Kept inside the work area.
void CWnd::CenterWindow(CWnd* alternateOwner)
{
    bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center = alternateOwner ? alternateOwner->m_hWnd
                                 : (child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    if (child) {
        ::GetClientRect(center, &area);
        over = area;
        if (alternateOwner) {
            ::GetWindowRect(alternateOwner->m_hWnd, &over);
            ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&over), 2);
        }
    } else if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &over);
    }
    CRect mine;
    ::GetWindowRect(m_hWnd, &mine);
    int x = (over.left + over.right) / 2 - mine.Width() / 2;
    int y = (over.top + over.bottom) / 2 - mine.Height() / 2;
    if (x + mine.Width() > area.right)
        x = area.right - mine.Width();
    if (x < area.left)
        x = area.left;
    if (y + mine.Height() > area.bottom)
        y = area.bottom - mine.Height();
    if (y < area.top)
        y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    placement->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, placement);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement)
{
    WINDOWPLACEMENT copy = *placement;
    copy.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, &copy);
}

void CWnd::CalcWindowRect(LPRECT clientRect) const
{
    ::AdjustWindowRectEx(clientRect, GetStyle(), FALSE, GetExStyle());
}

BOOL CWnd::RedrawWindow(LPCRECT rect, CRgn* region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, rect, region ? static_cast<HRGN>(region->m_hObject) : nullptr, flags);
}

int CWnd::ReleaseDC(CDC* dc)
{
    return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0;
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    while (top && (::GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
        top = ::GetParent(top);
    return FromHandle(top);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    if (!caption) {
        CWinApp* app = AfxGetApp();
        caption = app && app->m_pszAppName ? app->m_pszAppName : "";
    }
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // The name tells the attributes, so one registration serves them all;
    // a deque keeps the returned names in place.
    static std::deque<CString> names;
    CString name;
    name.Format("Kf:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
                static_cast<void*>(icon));
    for (const CString& known : names) {
        if (known == name)
            return known;
    }
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    names.push_back(name);
    return names.back();
}
