#include "Splitter.h"

#include "View.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int columns, DWORD style, UINT id)
{
    if (!parent || rows < 1 || columns < 1 || rows > kMaxPanes || columns > kMaxPanes)
        return FALSE;
    m_rows.assign(static_cast<size_t>(rows), RowColInfo());
    m_columns.assign(static_cast<size_t>(columns), RowColInfo());
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, className, nullptr, style | WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), parent, id);
}

BOOL CSplitterWnd::CreateView(int row, int column, const CRuntimeClass* viewClass, SIZE initialSize,
                              CCreateContext* context)
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount() || !viewClass ||
        GetPane(row, column))
        return FALSE;
    CObject* object = viewClass->CreateObject();
    CWnd* pane = DYNAMIC_DOWNCAST(CWnd, object);
    if (!pane) {
        delete object;
        return FALSE;
    }
    CCreateContext local;
    if (context)
        local = *context;
    local.m_pNewViewClass = viewClass;
    m_rows[static_cast<size_t>(row)].ideal = std::max(0L, initialSize.cy);
    m_columns[static_cast<size_t>(column)].ideal = std::max(0L, initialSize.cx);
    CRect rect(CPoint(0, 0), initialSize);
    // A pane that fails goes with its window.
    return pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, this,
                        static_cast<UINT>(IdFromRowCol(row, column)), &local);
}

CWnd* CSplitterWnd::GetPane(int row, int column) const
{
    if (!m_hWnd || row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount())
        return nullptr;
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, column)));
}

BOOL CSplitterWnd::IsChildPane(CWnd* wnd, int* row, int* column) const
{
    if (!wnd || !wnd->m_hWnd || ::GetParent(wnd->m_hWnd) != m_hWnd)
        return FALSE;
    int id = wnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    if (id < 0 || id / 16 >= GetRowCount() || id % 16 >= GetColumnCount())
        return FALSE;
    if (row)
        *row = id / 16;
    if (column)
        *column = id % 16;
    return TRUE;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum)
{
    if (row < 0 || row >= GetRowCount())
        return;
    m_rows[static_cast<size_t>(row)].ideal = std::max(0, ideal);
    m_rows[static_cast<size_t>(row)].minimum = std::max(0, minimum);
}

void CSplitterWnd::SetColumnInfo(int column, int ideal, int minimum)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    m_columns[static_cast<size_t>(column)].ideal = std::max(0, ideal);
    m_columns[static_cast<size_t>(column)].minimum = std::max(0, minimum);
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const
{
    bool valid = row >= 0 && row < GetRowCount();
    current = valid ? m_rows[static_cast<size_t>(row)].current : 0;
    minimum = valid ? m_rows[static_cast<size_t>(row)].minimum : 0;
}

void CSplitterWnd::GetColumnInfo(int column, int& current, int& minimum) const
{
    bool valid = column >= 0 && column < GetColumnCount();
    current = valid ? m_columns[static_cast<size_t>(column)].current : 0;
    minimum = valid ? m_columns[static_cast<size_t>(column)].minimum : 0;
}

void CSplitterWnd::LayoutTracks(std::vector<RowColInfo>& tracks, int room, int barSize)
{
    int left = std::max(0, room - (static_cast<int>(tracks.size()) - 1) * barSize);
    for (size_t i = 0; i < tracks.size(); ++i) {
        bool last = i + 1 == tracks.size();
        tracks[i].current = last ? left : std::min(tracks[i].ideal, left);
        left -= tracks[i].current;
    }
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd || m_rows.empty() || m_columns.empty())
        return;
    CRect client;
    GetClientRect(&client);
    LayoutTracks(m_rows, client.Height(), m_cySplitter);
    LayoutTracks(m_columns, client.Width(), m_cxSplitter);
    HDWP moves = ::BeginDeferWindowPos(GetRowCount() * GetColumnCount());
    int y = 0;
    for (int r = 0; r < GetRowCount(); ++r) {
        int x = 0;
        int height = m_rows[static_cast<size_t>(r)].current;
        for (int c = 0; c < GetColumnCount(); ++c) {
            int width = m_columns[static_cast<size_t>(c)].current;
            CWnd* pane = GetPane(r, c);
            if (pane && moves)
                moves = ::DeferWindowPos(moves, pane->m_hWnd, nullptr, x, y, width, height,
                                         SWP_NOZORDER | SWP_NOACTIVATE);
            x += width + m_cxSplitter;
        }
        y += height + m_cySplitter;
    }
    if (moves)
        ::EndDeferWindowPos(moves);
    Invalidate(TRUE);
}

void CSplitterWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

// Bars

int CSplitterWnd::RowBarAt(CPoint point) const
{
    int y = 0;
    for (int r = 0; r + 1 < GetRowCount(); ++r) {
        y += m_rows[static_cast<size_t>(r)].current;
        if (point.y >= y && point.y < y + m_cySplitter)
            return r;
        y += m_cySplitter;
    }
    return -1;
}

int CSplitterWnd::ColumnBarAt(CPoint point) const
{
    int x = 0;
    for (int c = 0; c + 1 < GetColumnCount(); ++c) {
        x += m_columns[static_cast<size_t>(c)].current;
        if (point.x >= x && point.x < x + m_cxSplitter)
            return c;
        x += m_cxSplitter;
    }
    return -1;
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    int y = 0;
    for (int r = 0; r + 1 < GetRowCount(); ++r) {
        y += m_rows[static_cast<size_t>(r)].current;
        CRect bar(0, y, client.right, y + m_cySplitter);
        ::FillRect(dc.m_hDC, &bar, face);
        ::DrawEdge(dc.m_hDC, &bar, EDGE_RAISED, BF_RECT);
        y += m_cySplitter;
    }
    int x = 0;
    for (int c = 0; c + 1 < GetColumnCount(); ++c) {
        x += m_columns[static_cast<size_t>(c)].current;
        CRect bar(x, 0, x + m_cxSplitter, client.bottom);
        ::FillRect(dc.m_hDC, &bar, face);
        ::DrawEdge(dc.m_hDC, &bar, EDGE_RAISED, BF_RECT);
        x += m_cxSplitter;
    }
}

BOOL CSplitterWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (wnd == this && hitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        if (RowBarAt(point) >= 0 || ColumnBarAt(point) >= 0) {
            LPCSTR shape = RowBarAt(point) >= 0 ? IDC_SIZENS : IDC_SIZEWE;
            ::SetCursor(::LoadCursorA(nullptr, shape));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    m_dragRowBar = RowBarAt(point);
    m_dragColumnBar = m_dragRowBar < 0 ? ColumnBarAt(point) : -1;
    if (m_dragRowBar < 0 && m_dragColumnBar < 0)
        return;
    m_dragStart = point;
    m_dragStartSize = m_dragRowBar >= 0 ? m_rows[static_cast<size_t>(m_dragRowBar)].current
                                        : m_columns[static_cast<size_t>(m_dragColumnBar)].current;
    SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point)
{
    if (m_dragRowBar >= 0)
        m_rows[static_cast<size_t>(m_dragRowBar)].ideal = std::max(0, m_dragStartSize + static_cast<int>(point.y - m_dragStart.y));
    else if (m_dragColumnBar >= 0)
        m_columns[static_cast<size_t>(m_dragColumnBar)].ideal =
            std::max(0, m_dragStartSize + static_cast<int>(point.x - m_dragStart.x));
    else
        return;
    RecalcLayout();
    UpdateWindow();
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_dragRowBar >= 0 || m_dragColumnBar >= 0)
        ::ReleaseCapture();
}

// However the mouse was let go (or taken away), the drag ends.
void CSplitterWnd::OnCaptureChanged(CWnd*)
{
    m_dragRowBar = -1;
    m_dragColumnBar = -1;
}

// The active pane: the frame's active view when it is one of the panes.
CWnd* CSplitterWnd::GetActivePane(int* row, int* column)
{
    CFrameWnd* frame = GetParentFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view && IsChildPane(view, row, column) ? view : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int column, CWnd* wnd)
{
    CWnd* pane = wnd ? wnd : GetPane(row, column);
    if (!pane)
        return;
    CView* view = DYNAMIC_DOWNCAST(CView, pane);
    CFrameWnd* frame = GetParentFrame();
    if (view && frame)
        frame->SetActiveView(view);
    else
        pane->SetFocus();
}
