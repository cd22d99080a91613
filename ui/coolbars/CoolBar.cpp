#include "CoolBar.h"

IMPLEMENT_DYNAMIC(CCoolBar, CControlBar)

BEGIN_MESSAGE_MAP(CCoolBar, CControlBar)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChangeNotify)
END_MESSAGE_MAP()

namespace {

// The band record up to the band id, as every library version takes it
// (56 bytes in the 32-bit build).
const UINT kBandInfoSize = REBARBANDINFOA_V3_SIZE;

void InitCoolClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE library = ::GetModuleHandleA("ComCtl32");
    auto init = library ? reinterpret_cast<InitProc>(
                              reinterpret_cast<void*>(::GetProcAddress(library, "InitCommonControlsEx")))
                        : nullptr;
    if (init) {
        INITCOMMONCONTROLSEX classes{8, ICC_COOL_CLASSES};
        init(&classes);
    }
}

REBARBANDINFOA BandInfo(UINT mask)
{
    REBARBANDINFOA info{};
    info.cbSize = kBandInfoSize;
    info.fMask = mask;
    return info;
}

} // namespace

BOOL CCoolBar::Create(CWnd* parent, DWORD windowStyle, DWORD barStyle, UINT id)
{
    m_dwStyle = barStyle;
    if (id == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    InitCoolClasses();
    windowStyle = (windowStyle & ~CCS_NORESIZE) | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    return CWnd::CreateEx(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

int CCoolBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CControlBar::OnCreate(cs) == -1 || !OnCreateBands())
        return -1;
    return 0;
}

BOOL CCoolBar::InsertBand(CWnd* child, int minWidth, int minHeight, int width, LPCSTR text, int index, BOOL newRow)
{
    if (!child || !child->m_hWnd)
        return FALSE;
    REBARBANDINFOA info = BandInfo(RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE);
    if (width > 0) {
        info.fMask |= RBBIM_SIZE;
        info.cx = static_cast<UINT>(width);
    }
    if (newRow) {
        info.fMask |= RBBIM_STYLE;
        info.fStyle = RBBS_BREAK;
    }
    info.hwndChild = child->m_hWnd;
    info.cxMinChild = static_cast<UINT>(minWidth);
    info.cyMinChild = static_cast<UINT>(minHeight);
    info.lpText = const_cast<LPSTR>(text ? text : "");
    return SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info)) != 0;
}

void CCoolBar::SetBandColours(COLORREF foreground, COLORREF background)
{
    const int bands = static_cast<int>(SendMessage(RB_GETBANDCOUNT));
    for (int i = 0; i < bands; ++i) {
        REBARBANDINFOA info = BandInfo(RBBIM_COLORS);
        info.clrFore = foreground;
        info.clrBack = background;
        SendMessage(RB_SETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
}

CSize CCoolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CRect window;
    GetWindowRect(&window);
    CSize size(window.Width(), window.Height());
    if (stretch && horizontal)
        size.cx = 0x7FFF;
    if (stretch && !horizontal)
        size.cy = 0x7FFF;
    return size;
}

CSize CCoolBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CCoolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    UpdateDialogControls(target, disableIfNoHandler);
}

LRESULT CCoolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control paints itself.
    if (message == WM_PAINT || message == WM_ERASEBKGND)
        return DefWindowProc(message, wParam, lParam);
    return CControlBar::WindowProc(message, wParam, lParam);
}

void CCoolBar::OnHeightChangeNotify(NMHDR*, LRESULT* result)
{
    CRect window;
    GetWindowRect(&window);
    OnHeightChange(window);
    *result = 0;
}

void CCoolBar::OnHeightChange(const CRect&)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect frame;
    parent->GetWindowRect(&frame);
    parent->PostMessage(WM_SIZE, 0, MAKELPARAM(frame.Width(), frame.Height()));
}

bool CCoolBar::AddMenuAndToolBands(CFlatToolBar& menuBar, CFlatToolBar& toolBar, UINT toolBarResource)
{
    const UINT barId = 0xE800;
    const DWORD bandBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOOLTIPS |
                               CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    const int menuBandWidth = 2047;
    const int toolBandWidth = 32767;
    if (!menuBar.Create(this, bandBarStyle, barId) || !AddToolBarBand(menuBar, menuBandWidth, 0, false))
        return false;
    if (!toolBar.Create(this, bandBarStyle, barId) || !toolBar.LoadToolBar(toolBarResource))
        return false;
    return AddToolBarBand(toolBar, toolBandWidth, 2, true);
}

bool CCoolBar::AddToolBarBand(CFlatToolBar& bar, int width, int extraHeight, bool newRow)
{
    bar.ModifyStyle(0, TBSTYLE_TRANSPARENT);
    CSize size = bar.CalcDynamicLayout(-1, 0);
    CRect first(0, 0, 0, 0);
    if (bar.GetCount() > 0)
        bar.GetItemRect(0, &first);
    return InsertBand(&bar, size.cx, first.Height() + extraHeight, width, nullptr, -1, newRow) != FALSE;
}
