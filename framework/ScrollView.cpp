#include "View.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line)
{
    m_nMapMode = mapMode;
    m_totalLog = CSize(std::max(0L, total.cx), std::max(0L, total.cy));
    m_pageDev = page;
    if (m_pageDev.cx <= 0)
        m_pageDev.cx = m_totalLog.cx / 10;
    if (m_pageDev.cy <= 0)
        m_pageDev.cy = m_totalLog.cy / 10;
    m_lineDev = line;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    m_pageDev = CSize(std::max(1L, m_pageDev.cx), std::max(1L, m_pageDev.cy));
    m_lineDev = CSize(std::max(1L, m_lineDev.cx), std::max(1L, m_lineDev.cy));
    if (m_hWnd) {
        UpdateBars();
        Invalidate(TRUE);
    }
}

void CScrollView::GetDeviceScrollSizes(int& mapMode, SIZE& total, SIZE& page, SIZE& line) const
{
    mapMode = m_nMapMode;
    total = m_totalLog;
    page = m_pageDev;
    line = m_lineDev;
}

int CScrollView::MaxScroll(int bar) const
{
    CRect client;
    GetClientRect(&client);
    int room = bar == SB_HORZ ? client.Width() : client.Height();
    int total = bar == SB_HORZ ? m_totalLog.cx : m_totalLog.cy;
    return std::max(0, total - room);
}

void CScrollView::ScrollToPosition(POINT position)
{
    CPoint target(std::clamp(static_cast<int>(position.x), 0, MaxScroll(SB_HORZ)),
                  std::clamp(static_cast<int>(position.y), 0, MaxScroll(SB_VERT)));
    if (target == m_scrollPos)
        return;
    CPoint old = m_scrollPos;
    m_scrollPos = target;
    SetScrollPos(SB_HORZ, target.x);
    SetScrollPos(SB_VERT, target.y);
    ScrollWindow(old.x - target.x, old.y - target.y);
}

// Bars only where the canvas is larger than the room; a bar taking room
// may make the other one necessary.
void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || !m_hWnd)
        return;
    m_bInsideUpdate = TRUE;
    CRect client;
    GetClientRect(&client);
    DWORD style = GetStyle();
    CSize room(client.Width() + ((style & WS_VSCROLL) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0),
               client.Height() + ((style & WS_HSCROLL) ? ::GetSystemMetrics(SM_CYHSCROLL) : 0));
    bool needH = m_totalLog.cx > room.cx;
    bool needV = m_totalLog.cy > room.cy;
    if (needH && !needV)
        needV = m_totalLog.cy > room.cy - ::GetSystemMetrics(SM_CYHSCROLL);
    if (needV && !needH)
        needH = m_totalLog.cx > room.cx - ::GetSystemMetrics(SM_CXVSCROLL);
    if (needV)
        room.cx -= ::GetSystemMetrics(SM_CXVSCROLL);
    if (needH)
        room.cy -= ::GetSystemMetrics(SM_CYHSCROLL);

    CPoint old = m_scrollPos;
    m_scrollPos.x = needH ? std::clamp(static_cast<int>(m_scrollPos.x), 0, static_cast<int>(m_totalLog.cx - room.cx)) : 0;
    m_scrollPos.y = needV ? std::clamp(static_cast<int>(m_scrollPos.y), 0, static_cast<int>(m_totalLog.cy - room.cy)) : 0;
    struct BarSetting {
        int bar;
        bool needed;
        int total;
        int page;
        int pos;
    } bars[] = {{SB_HORZ, needH, static_cast<int>(m_totalLog.cx), static_cast<int>(room.cx), static_cast<int>(m_scrollPos.x)},
                {SB_VERT, needV, static_cast<int>(m_totalLog.cy), static_cast<int>(room.cy), static_cast<int>(m_scrollPos.y)}};
    for (const BarSetting& b : bars) {
        SCROLLINFO info{};
        info.fMask = SIF_ALL;
        info.nMin = 0;
        info.nMax = b.needed ? b.total - 1 : 0;
        info.nPage = b.needed ? static_cast<UINT>(std::max(b.page, 0)) : 0;
        info.nPos = b.pos;
        SetScrollInfo(b.bar, &info, TRUE);
        ShowScrollBar(b.bar, b.needed);
    }
    if (old != m_scrollPos)
        Invalidate(TRUE);
    m_bInsideUpdate = FALSE;
}

void CScrollView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    UpdateBars();
}

int CScrollView::ScrollTarget(int bar, UINT code, int current) const
{
    int page = bar == SB_HORZ ? m_pageDev.cx : m_pageDev.cy;
    int line = bar == SB_HORZ ? m_lineDev.cx : m_lineDev.cy;
    switch (code) {
    case SB_LINEUP:
        return current - line;
    case SB_LINEDOWN:
        return current + line;
    case SB_PAGEUP:
        return current - page;
    case SB_PAGEDOWN:
        return current + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return MaxScroll(bar);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position: the message carries only 16 bits.
        SCROLLINFO info{};
        GetScrollInfo(bar, &info, SIF_TRACKPOS);
        return info.nTrackPos;
    }
    default:
        return current;
    }
}

void CScrollView::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (bar) {
        CView::OnHScroll(code, pos, bar);
        return;
    }
    ScrollToPosition(CPoint(ScrollTarget(SB_HORZ, code, m_scrollPos.x), m_scrollPos.y));
}

void CScrollView::OnVScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (bar) {
        CView::OnVScroll(code, pos, bar);
        return;
    }
    ScrollToPosition(CPoint(m_scrollPos.x, ScrollTarget(SB_VERT, code, m_scrollPos.y)));
}

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint)
{
    int lines = -delta * 3 / WHEEL_DELTA;
    if (lines == 0)
        return FALSE;
    bool vertical = MaxScroll(SB_VERT) > 0;
    if (vertical)
        ScrollToPosition(CPoint(m_scrollPos.x, m_scrollPos.y + lines * m_lineDev.cy));
    else
        ScrollToPosition(CPoint(m_scrollPos.x + lines * m_lineDev.cx, m_scrollPos.y));
    return TRUE;
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    dc->SetMapMode(MM_TEXT);
    dc->SetViewportOrg(-m_scrollPos.x, -m_scrollPos.y);
    CView::OnPrepareDC(dc, info);
}
