#include "MenuBar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "ComCtlVersion.h"
#include "MdiFrame.h"

IMPLEMENT_DYNAMIC(CMenuBar, CFlatToolBar)

namespace {

const UINT kFirstChildId = 0xFF00;   // the MDI client numbers its children from here
const int kMaxButtonText = 64;       // 63 characters and the terminating zero

HFONT menuFont = nullptr;
CMenuBar* trackingBar = nullptr;
HHOOK menuFilterHook = nullptr;

LRESULT CALLBACK MenuInputFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && trackingBar && trackingBar->FilterMenuMessage(reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return ::CallNextHookEx(menuFilterHook, code, wParam, lParam);
}

bool IsMouseButtonMessage(UINT message) { return message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK; }

// A menu-loop mouse message's point in the client coordinates of `window`,
// from the message's screen position (its lParam is relative to whichever
// window has the capture, which differs between systems).
CPoint MessagePoint(const MSG* msg, HWND window)
{
    POINT point = msg->pt;
    ::ScreenToClient(window, &point);
    return CPoint(point.x, point.y);
}

const UINT kPartCommands[] = {0, SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
const UINT kPartFrameStates[] = {0, DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};

} // namespace

// ---- Hooks -----------------------------------------------------------------

LRESULT CMenuBarWindowHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CMenuBar* bar = m_pMenuBar;
    switch (message) {
    case WM_SYSCOLORCHANGE:
        bar->ApplyMenuFont();
        break;
    case WM_MENUSELECT:
        bar->NoteMenuSelect(HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_MDISETMENU:
        // The bar shows the new menu; the frame keeps none of its own.
        if (wParam) {
            bar->SetMenuButtons(reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
            ::SetMenu(bar->OwnerWindow(), nullptr);
        }
        return 0;
    case WM_MDIREFRESHMENU:
        return 0;   // the list is made each time the Window menu opens
    default:
        break;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}

LRESULT CMenuBarMdiFrameHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
        if (draw->hdr.hwndFrom == m_hWndMenuBar && draw->hdr.code == static_cast<UINT>(NM_CUSTOMDRAW) &&
            draw->dwDrawStage == CDDS_PREPAINT)
            m_pControls->OnCustomDraw(*draw);
    } else if (message == WM_INITMENUPOPUP && !HIWORD(lParam) && m_pControls->WindowMenu() &&
               reinterpret_cast<HMENU>(wParam) == m_pControls->WindowMenu()) {
        m_pControls->UpdateWindowList(reinterpret_cast<HMENU>(wParam));
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}

// ---- MDI child controls ----------------------------------------------------

void CMenuBarMdiControls::Install(HWND menuBar, HWND frame, HWND mdiClient, UINT notifyMessage)
{
    m_hWndMDIClient = mdiClient;
    m_nNotifyMessage = notifyMessage;
    Attach(menuBar);
    m_frameHook.m_pControls = this;
    m_frameHook.m_hWndMenuBar = menuBar;
    m_frameHook.Attach(frame);
}

HWND CMenuBarMdiControls::ActiveChild() const
{
    if (!m_hWndMDIClient || !::IsWindow(m_hWndMDIClient))
        return nullptr;
    return reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
}

void CMenuBarMdiControls::RefreshActiveChild()
{
    if (!m_hWndMDIClient || !m_hWnd)
        return;
    BOOL maximised = FALSE;
    HWND active = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    maximised = active && maximised;
    if (maximised != m_bMaximised) {
        m_bMaximised = maximised;
        if (maximised)
            Layout();
        ::SendMessageA(m_hWnd, m_nNotifyMessage, maximised, 0);
    } else if (maximised && active != m_hActiveShown) {
        ::InvalidateRect(m_hWnd, &m_rcParts[kIcon], TRUE);   // another child's icon
    }
    m_hActiveShown = active;
}

void CMenuBarMdiControls::Layout()
{
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    const int iconWidth = ::GetSystemMetrics(SM_CXSMICON), iconHeight = ::GetSystemMetrics(SM_CYSMICON);
    const int iconTop = (client.Height() - iconHeight) / 2;
    m_rcParts[kIcon].SetRect(0, iconTop, iconWidth, iconTop + iconHeight);

    const int width = ::GetSystemMetrics(SM_CXSIZE), height = ::GetSystemMetrics(SM_CYSIZE);
    const int top = (client.Height() - height) / 2 + 2, bottom = top + height - 4;
    const int x = std::max(m_nLeftLimit + 3 * width, static_cast<int>(client.Width())) - width;
    m_rcParts[kClose].SetRect(x, top, x + width - 2, bottom);
    m_rcParts[kRestore].SetRect(x - width, top, x - 2, bottom);
    m_rcParts[kMinimise].SetRect(x - 2 * width + 2, top, x - width, bottom);
    m_rcCaptionButtons.SetRect(m_rcParts[kMinimise].left, top, m_rcParts[kClose].right, bottom);
}

void CMenuBarMdiControls::Relayout()
{
    ::InvalidateRect(m_hWnd, &m_rcCaptionButtons, TRUE);
    Layout();
    ::InvalidateRect(m_hWnd, &m_rcCaptionButtons, TRUE);
}

void CMenuBarMdiControls::DrawPart(HDC dc, int part, BOOL pressed)
{
    HWND child = ActiveChild();
    if (!child || part < 0 || part >= kPartCount)
        return;
    CRect& rect = m_rcParts[part];
    if (part == kIcon) {
        auto icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICONSM));
        if (!icon)
            icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICON));
        if (icon)
            ::DrawIconEx(dc, rect.left, rect.top, icon, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
        return;
    }
    ::DrawFrameControl(dc, &rect, DFC_CAPTION, kPartFrameStates[part] | (pressed ? DFCS_PUSHED : 0));
}

void CMenuBarMdiControls::DrawPressed(int part, BOOL pressed)
{
    HDC dc = ::GetDC(m_hWnd);
    DrawPart(dc, part, pressed);
    ::ReleaseDC(m_hWnd, dc);
}

int CMenuBarMdiControls::HitTest(int x, int y) const
{
    const POINT point{x, y};
    for (int part = kMinimise; part < kPartCount; ++part) {
        if (m_rcParts[part].PtInRect(point))
            return part;
    }
    return m_rcParts[kIcon].PtInRect(point) ? kIcon : -1;
}

BOOL CMenuBarMdiControls::OnMouse(UINT message, UINT, int x, int y)
{
    HWND child = ActiveChild();
    if (!child)
        return FALSE;
    const int part = HitTest(x, y);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (part >= kMinimise) {
            m_nPressed = part;
            m_bPressedInside = TRUE;
            DrawPressed(part, TRUE);
            ::SetCapture(m_hWnd);
            return TRUE;
        }
        if (part == kIcon) {
            CRect icon = m_rcParts[kIcon];
            ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&icon), 2);
            TPMPARAMS exclude{sizeof(TPMPARAMS), icon};
            // Owned by the child, whose state the system gives the items;
            // the choice goes to the child too: a system command for the
            // frame would act on the frame.
            UINT command = static_cast<UINT>(::TrackPopupMenuEx(
                ::GetSystemMenu(child, FALSE), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL | TPM_RETURNCMD,
                icon.left, icon.bottom, child, &exclude));
            if (command && ::IsWindow(child))
                ::SendMessageA(child, WM_SYSCOMMAND, command, 0);
            return TRUE;
        }
        return FALSE;
    case WM_MOUSEMOVE:
        if (!m_nPressed)
            return FALSE;
        if ((part == m_nPressed) != (m_bPressedInside != FALSE)) {
            m_bPressedInside = part == m_nPressed;
            DrawPressed(m_nPressed, m_bPressedInside);
        }
        return TRUE;
    case WM_LBUTTONUP:
        if (!m_nPressed)
            return FALSE;
        {
            const int pressed = m_nPressed;
            m_nPressed = 0;
            ::ReleaseCapture();
            if (m_bPressedInside) {
                DrawPressed(pressed, FALSE);
                ::SendMessageA(child, WM_SYSCOMMAND, kPartCommands[pressed], 0);
            }
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void CMenuBarMdiControls::UpdateWindowList(HMENU popup)
{
    int count = ::GetMenuItemCount(popup);
    int first = -1;
    for (int i = 0; i < count && first < 0; ++i) {
        if (::GetMenuItemID(popup, i) >= kFirstChildId)
            first = i;
    }
    for (int i = count - 1; first >= 0 && i >= first; --i)
        ::DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);

    std::vector<HWND> children;
    for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::GetWindow(child, GW_OWNER) && static_cast<UINT>(::GetDlgCtrlID(child)) >= kFirstChildId)
            children.push_back(child);
    }
    std::sort(children.begin(), children.end(),
              [](HWND a, HWND b) { return ::GetDlgCtrlID(a) < ::GetDlgCtrlID(b); });

    count = ::GetMenuItemCount(popup);
    const bool endsWithSeparator = count > 0 && (::GetMenuState(popup, count - 1, MF_BYPOSITION) & MF_SEPARATOR);
    if (children.empty()) {
        if (endsWithSeparator)   // no list to set apart
            ::DeleteMenu(popup, static_cast<UINT>(count - 1), MF_BYPOSITION);
        return;
    }
    if (!endsWithSeparator)
        ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    HWND active = ActiveChild();
    int number = 1;
    for (HWND child : children) {
        char title[MAX_PATH] = "";
        ::GetWindowTextA(child, title, sizeof title);
        char text[MAX_PATH + 16];
        snprintf(text, sizeof text, "&%d  %s", number++, title);
        ::AppendMenuA(popup, MF_STRING | (child == active ? MF_CHECKED : 0),
                      static_cast<UINT_PTR>(::GetDlgCtrlID(child)), text);
    }
}

void CMenuBarMdiControls::OnCustomDraw(const NMCUSTOMDRAW& draw)
{
    if (!m_bMaximised)
        return;
    for (int part = kIcon; part < kPartCount; ++part)
        DrawPart(draw.hdc, part, FALSE);
}

LRESULT CMenuBarMdiControls::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && m_bMaximised) {
        // Drawn again once the bar has painted: some library versions paint
        // the bar's background after the pre-paint notification.
        LRESULT result = CSubclassWnd::WindowProc(message, wParam, lParam);
        HDC dc = ::GetDC(m_hWnd);
        for (int part = kIcon; part < kPartCount; ++part)
            DrawPart(dc, part, part == m_nPressed && m_bPressedInside);
        ::ReleaseDC(m_hWnd, dc);
        return result;
    }
    if (message == WM_SIZE) {
        LRESULT result = CSubclassWnd::WindowProc(message, wParam, lParam);
        if (m_bMaximised)
            Relayout();
        return result;
    }
    if ((message == WM_MOUSEMOVE || message == WM_LBUTTONUP || message == WM_LBUTTONDOWN ||
         message == WM_LBUTTONDBLCLK) &&
        (m_bMaximised || m_nPressed) &&
        OnMouse(message, static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                static_cast<short>(HIWORD(lParam))))
        return 0;
    if (message == WM_CAPTURECHANGED && m_nPressed && reinterpret_cast<HWND>(lParam) != m_hWnd) {
        DrawPressed(m_nPressed, FALSE);
        m_nPressed = 0;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}

// ---- The bar ---------------------------------------------------------------

CMenuBar::CMenuBar()
{
    m_clientHook.m_pMenuBar = this;
    m_frameHook.m_pMenuBar = this;
    if (ComCtlVersion() <= 470)
        AfxMessageBox("Warning: This program requires comctl32.dll version 4.71 or greater.", MB_OK);
}

CMenuBar::~CMenuBar() = default;

LRESULT CMenuBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CFlatToolBar::WindowProc(message, wParam, lParam);
        return result == -1 ? -1 : OnCreateBar();
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    case WM_MOUSEMOVE:
        if (OnMouseMove(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))))
            return 0;
        break;
    case WM_MENUBAR_REMOVE_FRAME_MENU:
        if (wParam)
            ::SetMenu(reinterpret_cast<HWND>(wParam), nullptr);
        return 0;
    case WM_MENUBAR_MDI_STATE:
        OnMdiChildState(static_cast<BOOL>(wParam));
        return 0;
    default:
        break;
    }
    return CFlatToolBar::WindowProc(message, wParam, lParam);
}

int CMenuBar::OnCreateBar()
{
    HWND frame = OwnerWindow();
    m_frameHook.Attach(frame);
    SetMenuButtons(::GetMenu(frame), nullptr);
    auto* mdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(frame));
    if (mdiFrame && mdiFrame->m_hWndMDIClient) {
        m_hWndMDIClient = mdiFrame->m_hWndMDIClient;
        m_clientHook.Attach(m_hWndMDIClient);
        m_mdiControls.Install(m_hWnd, frame, m_hWndMDIClient, WM_MENUBAR_MDI_STATE);
    }
    ApplyMenuFont();
    PostMessage(WM_MENUBAR_REMOVE_FRAME_MENU, reinterpret_cast<WPARAM>(frame), 0);
    return 0;
}

void CMenuBar::RemoveFrameMenuNow()
{
    MSG message;
    while (::PeekMessage(&message, m_hWnd, WM_MENUBAR_REMOVE_FRAME_MENU, WM_MENUBAR_REMOVE_FRAME_MENU, PM_REMOVE))
        ::DispatchMessage(&message);
}

void CMenuBar::ApplyMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return;
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    if (!font)
        return;
    if (m_hWnd)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (menuFont)
        ::DeleteObject(menuFont);
    menuFont = font;
}

HMENU CMenuBar::SetMenuButtons(HMENU menu, HMENU windowMenu)
{
    HMENU previous = m_hMenu;
    m_hMenu = menu;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    SendMessage(TB_SETIMAGELIST, 0, 0);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(0, 0));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(0, 0));
    ModifyStyle(0, TBSTYLE_FLAT);
    const int items = menu ? ::GetMenuItemCount(menu) : 0;
    for (int position = 0; position < items; ++position) {
        char text[kMaxButtonText] = "";
        if (::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION) <= 0 || !text[0])
            continue;
        auto same = std::find_if(m_buttonTexts.begin(), m_buttonTexts.end(),
                                 [&text](const CString& known) { return strcmp(known, text) == 0; });
        INT_PTR stringIndex = same - m_buttonTexts.begin();
        if (same == m_buttonTexts.end()) {
            char pool[kMaxButtonText + 1] = "";   // the control reads a list ending in two zeros
            lstrcpynA(pool, text, kMaxButtonText);
            stringIndex = SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(pool));
            if (stringIndex < 0)
                continue;
            m_buttonTexts.resize(static_cast<size_t>(stringIndex) + 1);
            m_buttonTexts[static_cast<size_t>(stringIndex)] = text;
        }
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = position;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
        button.iString = stringIndex;
        SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    m_mdiControls.SetWindowMenu(windowMenu);
    SendMessage(TB_AUTOSIZE);
    return previous;
}

// Some toolbar versions lay their buttons out again only when the button
// size changes (not for a new indent, nor for a size they already have): a
// size one pixel taller and back makes them.
void CMenuBar::ForceLayout()
{
    const DWORD size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(LOWORD(size), HIWORD(size) + 1));
    SendMessage(TB_SETBUTTONSIZE, 0, static_cast<LPARAM>(size));
}

void CMenuBar::OnMdiChildState(BOOL maximised)
{
    const int indent = maximised ? m_mdiControls.m_rcParts[CMenuBarMdiControls::kIcon].Width() : 0;
    SendMessage(TB_SETINDENT, static_cast<WPARAM>(indent));
    // Some library versions take the indent only at their next layout.
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(0, 0));
    ForceLayout();
    const int count = GetCount();
    CRect last(0, 0, 0, 0);
    if (count > 0)
        GetItemRect(count - 1, &last);
    m_mdiControls.m_nLeftLimit = count > 0 ? last.right + 2 : 0;
    m_mdiControls.Layout();
    Invalidate();
}

int CMenuBar::HitTest(int x, int y) const
{
    POINT point{x, y};
    const int hit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    CRect client;
    GetClientRect(&client);
    if (hit < 0 || !client.PtInRect(point))
        return -1;
    return hit < GetCount() ? hit : -1;
}

void CMenuBar::SetState(int state, int position)
{
    if (state == m_nState)
        return;
    if (state == kIdle)
        position = -1;
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(position));
    if (state == kPopupOpen) {
        m_bEscapeWasPressed = FALSE;
        m_bProcessRightArrow = m_bProcessLeftArrow = TRUE;
        m_nPopupTracking = position;
    } else {
        m_nPopupTracking = -1;
    }
    m_nState = state;
}

void CMenuBar::ToggleHotState()
{
    if (m_nState == kIdle)
        SetState(kHot, 0);
    else if (m_nState == kHot)
        SetState(kIdle, -1);
}

int CMenuBar::NextPosition(int position, BOOL backwards) const
{
    const int count = GetCount();
    if (count <= 0)
        return -1;
    if (backwards)
        return position <= 0 ? count - 1 : position - 1;
    return position + 1 >= count ? 0 : position + 1;
}

void CMenuBar::CancelAndOpen(int position)
{
    if (position == m_nPopupTracking)
        return;
    ::PostMessageA(OwnerWindow(), WM_CANCELMODE, 0, 0);
    m_nNextPopup = position;
}

void CMenuBar::OpenPopup(int position)
{
    HWND frame = OwnerWindow();
    while (position >= 0 && position < GetCount() && m_hMenu) {
        m_nNextPopup = -1;
        const UINT command = GetItemID(position);
        SendMessage(TB_PRESSBUTTON, command, MAKELONG(TRUE, 0));
        UpdateWindow();
        // The popup opens with its first item selected.
        ::PostMessageA(frame, WM_KEYDOWN, VK_DOWN, 1);
        ::PostMessageA(frame, WM_KEYUP, VK_DOWN, 1);
        SetState(kPopupOpen, position);
        trackingBar = this;
        menuFilterHook = ::SetWindowsHookExA(WH_MSGFILTER, MenuInputFilter, nullptr, ::GetCurrentThreadId());
        if (HMENU popup = ::GetSubMenu(m_hMenu, static_cast<int>(command))) {
            CRect rect;
            SendMessage(TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
            ClientToScreen(&rect);
            TPMPARAMS exclude{sizeof(TPMPARAMS), rect};
            ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, rect.left, rect.bottom, frame,
                               &exclude);
        }
        if (menuFilterHook)
            ::UnhookWindowsHookEx(menuFilterHook);
        menuFilterHook = nullptr;
        trackingBar = nullptr;
        if (!m_hWnd)
            return;   // a command closed the frame
        SendMessage(TB_PRESSBUTTON, command, MAKELONG(FALSE, 0));
        UpdateWindow();
        SetState(m_bEscapeWasPressed ? kHot : kIdle, position);
        position = m_nNextPopup;
    }
}

void CMenuBar::NoteMenuSelect(UINT flags, HMENU menu)
{
    if (m_nState == kIdle || (flags == 0xFFFF && !menu))
        return;
    m_bProcessRightArrow = (flags & MF_POPUP) == 0;
    m_bProcessLeftArrow = FALSE;
    const int items = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < items && !m_bProcessLeftArrow; ++i)
        m_bProcessLeftArrow = ::GetSubMenu(m_hMenu, i) == menu;
}

BOOL CMenuBar::FilterMenuMessage(MSG* msg)
{
    switch (msg->message) {
    case WM_KEYDOWN:
        if ((msg->wParam == VK_LEFT && m_bProcessLeftArrow) || (msg->wParam == VK_RIGHT && m_bProcessRightArrow)) {
            CancelAndOpen(NextPosition(m_nPopupTracking, msg->wParam == VK_LEFT));
            return TRUE;
        }
        if (msg->wParam == VK_ESCAPE)
            m_bEscapeWasPressed = TRUE;
        return FALSE;
    case WM_LBUTTONDOWN: {
        const CPoint point = MessagePoint(msg, m_hWnd);
        if (HitTest(point.x, point.y) == m_nPopupTracking) {
            CancelAndOpen(-1);
            return TRUE;
        }
        return FALSE;
    }
    case WM_MOUSEMOVE: {
        const CPoint point = MessagePoint(msg, m_hWnd);
        if (point != m_ptMouse) {
            const int hit = HitTest(point.x, point.y);
            if (hit >= 0 && hit != m_nPopupTracking)
                CancelAndOpen(hit);
            m_ptMouse = point;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

BOOL CMenuBar::FilterFrameKey(MSG* msg)
{
    const UINT message = msg->message;
    HWND frame = OwnerWindow();
    if (IsMouseButtonMessage(message)) {
        if (msg->hwnd != m_hWnd && m_nState > kIdle)
            SetState(kIdle, -1);
        return FALSE;
    }
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN && message != WM_SYSKEYUP)
        return FALSE;
    // Keys typed in other top-level windows (dialogs) are theirs.
    if (msg->hwnd != frame && !::IsChild(frame, msg->hwnd))
        return FALSE;
    const UINT key = static_cast<UINT>(msg->wParam);
    if (key == VK_F10 || key == VK_MENU) {
        if (message == WM_SYSKEYUP)
            ToggleHotState();
        return TRUE;
    }
    if (message == WM_SYSKEYUP)
        return FALSE;
    const bool hot = m_nState == kHot;
    const int hotItem = static_cast<int>(SendMessage(TB_GETHOTITEM));
    if (hot && key == VK_ESCAPE) {
        SetState(kIdle, -1);
        return TRUE;
    }
    if (hot && (key == VK_SPACE || key == VK_UP || key == VK_DOWN)) {
        OpenPopup(hotItem < 0 ? 0 : hotItem);
        return TRUE;
    }
    if (hot && (key == VK_LEFT || key == VK_RIGHT)) {
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(NextPosition(hotItem, key == VK_LEFT)));
        return TRUE;
    }
    const bool altHeld = (msg->lParam & (1 << 29)) != 0;
    if (key < 0x80 && std::isalnum(static_cast<int>(key)) && (altHeld || hot)) {
        UINT command = 0;
        if (SendMessage(TB_MAPACCELERATOR, key, reinterpret_cast<LPARAM>(&command))) {
            OpenPopup(CommandToIndex(command));
            return TRUE;
        }
        if (hot && !altHeld) {
            ::MessageBeep(0);
            return TRUE;
        }
    }
    if (m_nState > kIdle)
        SetState(kIdle, -1);
    return FALSE;
}

void CMenuBar::OnLButtonDown(CPoint point) { OpenPopup(HitTest(point.x, point.y)); }

BOOL CMenuBar::OnMouseMove(CPoint point)
{
    if (m_nState == kHot && point != m_ptMouse) {
        const int hit = HitTest(point.x, point.y);
        if (hit >= 0) {
            SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(hit));
            m_ptMouse = point;
            return TRUE;
        }
    }
    m_ptMouse = point;
    return FALSE;
}

void CMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    m_mdiControls.RefreshActiveChild();
    // Every button opens its popup: all are enabled.
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        SendMessage(TB_ENABLEBUTTON, GetItemID(i), MAKELONG(TRUE, 0));
}
