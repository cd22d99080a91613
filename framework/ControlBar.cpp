#include "ControlBars.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

const int kEdge = 2;   // an etched border line

bool IsCommandButton(HWND window)
{
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0)
        return false;
    // Automatic check boxes and radio buttons work without a handler.
    switch (::GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_CHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
        return true;
    default:
        return false;
    }
}

} // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

void CControlBar::SetBarStyle(DWORD style)
{
    DWORD old = m_dwStyle;
    m_dwStyle = style;
    if (old != style)
        OnBarStyleChange(old, style);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

BOOL CControlBar::IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE) != 0; }

CFrameWnd* CControlBar::GetDockingFrame() const { return m_pDockSite ? m_pDockSite : GetParentFrame(); }

void CControlBar::AttachToFrame()
{
    CWnd* parent = GetParent();
    if (!parent || !parent->IsFrameWnd())
        return;
    m_pDockSite = static_cast<CFrameWnd*>(parent);
    m_pDockSite->AddControlBar(this);
    m_pDockSite->DelayRecalcLayout();   // the new bar takes its room at the next idle
}

int CControlBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    AttachToFrame();
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    Default();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

// Layout

void CControlBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += kEdge;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += kEdge;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= kEdge;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= kEdge;
    if (horizontal) {
        rect.left += m_cxLeftBorder;
        rect.right -= m_cxRightBorder;
        rect.top += m_cyTopBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.right -= m_cyBottomBorder;
        rect.top += m_cxLeftBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

CSize CControlBar::BorderSize(BOOL horizontal) const
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, horizontal);
    return CSize(-rect.Width(), -rect.Height());
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize size = BorderSize(horizontal);
    if (stretch) {
        if (horizontal)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

// The frame's layout: the bar takes its side of the free rectangle.
LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!layout || !IsVisible() || !(m_dwStyle & CBRS_ALIGN_ANY))
        return 0;
    CRect free(layout->rect);
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CSize size;
    if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        DWORD mode = (horizontal ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK) | (layout->bStretch ? LM_STRETCH : 0);
        size = CalcDynamicLayout(-1, mode);
    } else {
        size = CalcFixedLayout(layout->bStretch, horizontal);
    }
    size.cx = std::max(0L, std::min(size.cx, static_cast<LONG>(free.Width())));
    size.cy = std::max(0L, std::min(size.cy, static_cast<LONG>(free.Height())));

    CRect place(free.left, free.top, free.left + size.cx, free.top + size.cy);
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        layout->rect.top += size.cy;
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        place.OffsetRect(0, free.Height() - size.cy);
        layout->rect.bottom -= size.cy;
    } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        layout->rect.left += size.cx;
    } else {
        place.OffsetRect(free.Width() - size.cx, 0);
        layout->rect.right -= size.cx;
    }
    layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    layout->sizeTotal.cy += size.cy;
    if (layout->hDWP)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, place.left, place.top, place.Width(),
                                        place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// Command update

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsVisible())
        return 0;
    if (CFrameWnd* target = GetDockingFrame())
        OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    return 0;
}

void CControlBar::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (!target)
        return;
    CCmdUI state;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == 0 || id == 0xFFFF)
            continue;
        state.m_pOther = CWnd::FromHandle(child);
        state.m_nID = id;
        state.DoUpdate(target, disableIfNoHandler && IsCommandButton(child));
    }
}
