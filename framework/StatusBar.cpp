#include "ControlBars.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

const int kPanePadding = 8;   // the pane's edges around its text

// A pane's state asked by the update handlers: disabled panes show nothing.
class PaneCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        bar->SetPaneStyle(static_cast<int>(m_nIndex), on ? style & ~SBPS_DISABLED : style | SBPS_DISABLED);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int state) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        bar->SetPaneStyle(static_cast<int>(m_nIndex), state ? style | SBPS_POPOUT : style & ~SBPS_POPOUT);
    }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(LPCSTR text) override
    {
        static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), text);
    }
};

UINT DrawFlags(UINT style)
{
    UINT flags = 0;
    if (style & SBPS_NOBORDERS)
        flags |= SBT_NOBORDERS;
    if (style & SBPS_POPOUT)
        flags |= SBT_POPOUT;
    return flags;
}

} // namespace

CStatusBar::CStatusBar()
{
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar()
{
    for (int i = 0; i < m_panes.GetSize(); ++i)
        delete m_panes[i];
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (parent && (parent->GetStyle() & WS_THICKFRAME))
        windowStyle |= SBARS_SIZEGRIP;
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

int CStatusBar::TextWidth(LPCSTR text) const
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    for (int i = 0; i < m_panes.GetSize(); ++i)
        delete m_panes[i];
    m_panes.RemoveAll();
    BOOL loaded = TRUE;
    for (int i = 0; ids && i < count; ++i) {
        auto* pane = new Pane{ids[i], SBPS_NORMAL, 0, CString()};
        if (ids[i] != ID_SEPARATOR) {
            if (!pane->text.LoadString(ids[i]))
                loaded = FALSE;   // the pane stays, without a size
            pane->width = m_hWnd ? TextWidth(pane->text) : 0;
        }
        m_panes.Add(pane);
    }
    ApplyPanes();
    return loaded;
}

// The control gets every pane's right edge: fixed panes their own width,
// stretching panes share what is left.
void CStatusBar::ApplyPanes()
{
    if (!m_hWnd)
        return;
    int count = m_panes.GetSize();
    if (count == 0) {
        int none = -1;
        SendMessage(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&none));
        return;
    }
    CRect client;
    GetClientRect(&client);
    int fixed = 0, stretching = 0;
    for (int i = 0; i < count; ++i) {
        if (m_panes[i]->style & SBPS_STRETCH)
            ++stretching;
        else
            fixed += m_panes[i]->width + kPanePadding;
    }
    int grip = (GetStyle() & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
    int spare = std::max(0, static_cast<int>(client.Width()) - grip - fixed);
    std::vector<int> edges(static_cast<size_t>(count));
    int right = 0;
    for (int i = 0; i < count; ++i) {
        Pane* pane = m_panes[i];
        int width = pane->style & SBPS_STRETCH ? spare / stretching : pane->width + kPanePadding;
        right += width;
        edges[static_cast<size_t>(i)] = right;
    }
    if (grip)
        edges.back() = -1;   // the last pane runs under the grip
    SendMessage(SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i) {
        Pane* pane = m_panes[i];
        LPCSTR shown = (pane->style & SBPS_DISABLED) ? "" : (LPCSTR)pane->text;
        SendMessage(SB_SETTEXTA, static_cast<WPARAM>(i) | DrawFlags(pane->style), reinterpret_cast<LPARAM>(shown));
    }
}

void CStatusBar::OnSize(UINT, int, int)
{
    Default();
    ApplyPanes();
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int height = metrics.tmHeight + 2 * borders[1] + 6;
    CSize size = CControlBar::CalcFixedLayout(stretch, horizontal);
    size.cy += height;
    return size;
}

// Panes

int CStatusBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < m_panes.GetSize(); ++i) {
        if (m_panes[i]->id == id)
            return i;
    }
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    Pane* pane = m_panes.GetAt(index);
    return pane ? pane->id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    ::SetRectEmpty(rect);
    if (m_hWnd)
        SendMessage(SB_GETRECT, index, reinterpret_cast<LPARAM>(rect));
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    Pane* pane = m_panes.GetAt(index);
    id = pane ? pane->id : 0;
    style = pane ? pane->style : 0;
    width = pane ? pane->width : 0;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    Pane* pane = m_panes.GetAt(index);
    if (!pane)
        return;
    pane->id = id;
    pane->style = style;
    pane->width = std::max(width, 0);
    ApplyPanes();
}

UINT CStatusBar::GetPaneStyle(int index) const
{
    Pane* pane = m_panes.GetAt(index);
    return pane ? pane->style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    Pane* pane = m_panes.GetAt(index);
    if (!pane || pane->style == style)
        return;
    bool relayout = ((pane->style ^ style) & SBPS_STRETCH) != 0;
    pane->style = style;
    if (relayout) {
        ApplyPanes();
    } else if (m_hWnd) {
        LPCSTR shown = (style & SBPS_DISABLED) ? "" : (LPCSTR)pane->text;
        SendMessage(SB_SETTEXTA, static_cast<WPARAM>(index) | DrawFlags(style), reinterpret_cast<LPARAM>(shown));
    }
}

CString CStatusBar::GetPaneText(int index) const
{
    Pane* pane = m_panes.GetAt(index);
    return pane ? pane->text : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update)
{
    Pane* pane = m_panes.GetAt(index);
    if (!pane)
        return FALSE;
    CString value(text);
    if (pane->text == value)
        return TRUE;   // unchanged: no repaint
    pane->text = value;
    if (update && m_hWnd && !(pane->style & SBPS_DISABLED))
        SendMessage(SB_SETTEXTA, static_cast<WPARAM>(index) | DrawFlags(pane->style),
                    reinterpret_cast<LPARAM>((LPCSTR)pane->text));
    return TRUE;
}

// The window text is the first pane's text (frames' menu prompts use it).
LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    if (m_panes.GetSize() == 0)
        return FALSE;
    return SetPaneText(0, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    auto* out = reinterpret_cast<LPSTR>(lParam);
    int size = static_cast<int>(wParam);
    if (!out || size <= 0)
        return 0;
    CString text = GetPaneText(0);
    lstrcpynA(out, text, size);
    return lstrlenA(out);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) { return GetPaneText(0).GetLength(); }

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL)
{
    PaneCmdUI state;
    state.m_pOther = this;
    int count = m_panes.GetSize();
    state.m_nIndexMax = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
        UINT id = m_panes[i]->id;
        if (id == ID_SEPARATOR)
            continue;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        // Panes without a handler keep their state.
        state.DoUpdate(target, FALSE);
    }
}
