#include "FlatToolBar.h"

#include <algorithm>
#include <cstring>

#include "ComCtlVersion.h"
#include "CoolDraw.h"

using toolbar_layout::Button;

IMPLEMENT_DYNAMIC(CFixMFCToolBar, CToolBar)
IMPLEMENT_DYNAMIC(CFlatToolBar, CFixMFCToolBar)

BEGIN_MESSAGE_MAP(CFlatToolBar, CFixMFCToolBar)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnDropDown)
END_MESSAGE_MAP()

namespace {

const int kWidestBar = 0x7FFF;
const int kGripperThickness = 3;

bool IsSeparatorButton(const TBBUTTON& button) { return (button.fsStyle & TBSTYLE_SEP) != 0; }

// The record as the control keeps it: enabled bit back, reserved bytes clear.
TBBUTTON ControlForm(TBBUTTON button)
{
    button.fsState ^= TBSTATE_ENABLED;
    std::memset(button.bReserved, 0, sizeof button.bReserved);
    return button;
}

} // namespace

// ---- Layout ----------------------------------------------------------------

toolbar_layout::Rules CFixMFCToolBar::LayoutRules() const { return {ComCtlVersion(), m_bKeepWidth != FALSE}; }

CFixMFCToolBar::ButtonRecords CFixMFCToolBar::ReadButtons() const
{
    ButtonRecords records;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        button.fsState ^= TBSTATE_ENABLED;   // set now means disabled, as in the bar's button styles
        CRect item;
        GetItemRect(i, &item);
        Button layout;
        layout.itemWidth = item.Width();
        layout.itemHeight = item.Height();
        layout.id = static_cast<unsigned>(button.idCommand);
        layout.state = button.fsState;
        layout.style = button.fsStyle;
        records.control.push_back(button);
        records.layout.push_back(layout);
    }
    return records;
}

void CFixMFCToolBar::WriteButton(int index, const TBBUTTON& old, TBBUTTON changed)
{
    const TBBUTTON before = ControlForm(old);
    changed = ControlForm(changed);
    if (std::memcmp(&before, &changed, sizeof changed) == 0)
        return;
    const bool visible = (GetStyle() & WS_VISIBLE) != 0;
    if (visible)
        ModifyStyle(WS_VISIBLE, 0);
    SendMessage(TB_DELETEBUTTON, index);
    SendMessage(TB_INSERTBUTTONA, index, reinterpret_cast<LPARAM>(&changed));
    if (visible)
        ModifyStyle(0, WS_VISIBLE);
    const bool separatorChanged = IsSeparatorButton(before) != IsSeparatorButton(changed) ||
                                  (IsSeparatorButton(changed) && before.iBitmap != changed.iBitmap);
    if (separatorChanged) {
        Invalidate();
    } else {
        CRect item;
        GetItemRect(index, &item);
        InvalidateRect(&item, FALSE);
    }
}

void CFixMFCToolBar::CommitButtons(const ButtonRecords& records)
{
    // Child controls sit on separators carrying their id: they keep their
    // offset from their separator.
    const int count = static_cast<int>(records.control.size());
    std::vector<CRect> before(records.control.size());
    for (int i = 0; i < count; ++i) {
        if (records.layout[size_t(i)].id && IsSeparatorButton(records.control[size_t(i)])) {
            GetItemRect(i, &before[size_t(i)]);
            ClientToScreen(&before[size_t(i)]);
        }
    }
    for (int i = 0; i < count; ++i) {
        TBBUTTON old{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&old));
        old.fsState ^= TBSTATE_ENABLED;
        TBBUTTON changed = records.control[size_t(i)];
        changed.fsState = records.layout[size_t(i)].state;
        WriteButton(i, old, changed);
    }
    for (int i = 0; i < count; ++i) {
        const UINT id = records.layout[size_t(i)].id;
        if (!id || !IsSeparatorButton(records.control[size_t(i)]))
            continue;
        HWND control = ::GetDlgItem(m_hWnd, static_cast<int>(id));
        if (!control)
            continue;
        CRect now, placed;
        GetItemRect(i, &now);
        ClientToScreen(&now);
        ::GetWindowRect(control, &placed);
        CPoint to(placed.left + now.left - before[size_t(i)].left, placed.top + now.top - before[size_t(i)].top);
        ScreenToClient(&to);
        ::SetWindowPos(control, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

CSize CFixMFCToolBar::CalcLayout(DWORD mode, int length)
{
    ButtonRecords records = ReadButtons();
    const toolbar_layout::Rules rules = LayoutRules();
    const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
    CRect borders(0, 0, 0, 0);
    CalcInsideRect(borders, (mode & LM_HORZ) != 0);   // an empty rectangle less the borders: negative
    auto& layout = records.layout;
    if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
        if (dynamic && (mode & LM_MRUWIDTH)) {
            SizeButtons(layout, m_nMRUWidth, false, rules);
        } else if (dynamic && (mode & LM_HORZDOCK)) {
            SizeButtons(layout, kWidestBar, false, rules);
        } else if (dynamic && (mode & LM_VERTDOCK)) {
            SizeButtons(layout, 0, false, rules);
        } else if (dynamic && length != -1) {
            const bool vertical = (mode & LM_LENGTHY) != 0;
            SizeButtons(layout, length + (vertical ? borders.Height() : borders.Width()), vertical, rules);
        } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
            SizeButtons(layout, m_nMRUWidth, false, rules);
        } else {
            SizeButtons(layout, (mode & LM_HORZ) ? kWidestBar : 0, false, rules);
        }
    }
    const toolbar_layout::Size extent = toolbar_layout::CalcSize(layout, rules);
    CSize size(extent.cx, extent.cy);
    if (mode & LM_COMMIT) {
        if ((m_dwStyle & CBRS_FLOATING) && dynamic)
            m_nMRUWidth = size.cx;
        CommitButtons(records);
    }
    size.cx -= borders.Width();
    size.cy -= borders.Height();
    const CSize least = CControlBar::CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return size;
}

CSize CFixMFCToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    return CalcLayout((horizontal ? LM_HORZ : 0) | (stretch ? LM_STRETCH : 0), -1);
}

CSize CFixMFCToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    return CalcLayout(mode, length);
}

void CFixMFCToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle)
{
    CToolBar::OnBarStyleChange(oldStyle, newStyle);
    if (oldStyle == newStyle || !m_hWnd)
        return;
    DWORD mode = LM_COMMIT;
    if ((newStyle & CBRS_FLOATING) && (newStyle & CBRS_SIZE_DYNAMIC))
        mode |= LM_HORZ | LM_MRUWIDTH;
    else if (newStyle & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CalcDynamicLayout(-1, mode);
}

// ---- Flat toolbar ----------------------------------------------------------

CFlatToolBar::CFlatToolBar()
{
    m_bKeepWidth = TRUE;
    const int version = ComCtlVersion();
    m_bOldLibrary = version <= 470;
    m_bPostPaint = version == 471 || version == 472;
}

CFlatToolBar::~CFlatToolBar() = default;

BOOL CFlatToolBar::LoadToolBar(UINT id)
{
    if (m_hWnd)
        ModifyStyle(TBSTYLE_FLAT, 0);
    BOOL loaded = CToolBar::LoadToolBar(id);
    if (loaded && m_hWnd)
        ModifyStyle(0, TBSTYLE_FLAT);
    return loaded;
}

void CFlatToolBar::AddGripperSpace(CSize& size, BOOL horizontal) const
{
    const int space = kGripperThickness * std::max(0, std::min(m_nGripper, 2));
    if (horizontal)
        size.cx += space;
    else
        size.cy += space;
}

CSize CFlatToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize size = CFixMFCToolBar::CalcFixedLayout(stretch, horizontal);
    AddGripperSpace(size, horizontal);
    return size;
}

CSize CFlatToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    CSize size = CalcLayout(mode, length);
    AddGripperSpace(size, (mode & LM_HORZDOCK) != 0);
    return size;
}

LRESULT CFlatToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool docked = !(m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_ALIGN_ANY);
    const bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    switch (message) {
    case WM_NCCREATE: {
        // The control makes its data here: it can be told its new parent only after.
        const LRESULT created = CFixMFCToolBar::WindowProc(message, wParam, lParam);
        HWND parent = ::GetParent(m_hWnd);
        char className[32] = "";
        if (parent)
            ::GetClassNameA(parent, className, sizeof className);
        if (lstrcmpiA(className, REBARCLASSNAMEA) == 0) {
            // Inside a rebar: notifications go straight to the frame.
            HWND frame = ::GetParent(parent);
            if (frame) {
                m_hWndOwner = frame;
                ::SendMessageA(m_hWnd, TB_SETPARENT, reinterpret_cast<WPARAM>(frame), 0);
            }
            m_bInReBar = TRUE;
            m_nGripper = 0;
        }
        return created;
    }
    case WM_CREATE: {
        const LRESULT result = CFixMFCToolBar::WindowProc(message, wParam, lParam);
        if (m_bInReBar && m_hWndOwner)   // some versions take the parent again at creation
            ::SendMessageA(m_hWnd, TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner), 0);
        return result;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_ERASEBKGND:
    case WM_PAINT:
        if (m_bInReBar || message == WM_ERASEBKGND || message == WM_PAINT)
            return DefWindowProc(message, wParam, lParam);
        if (message == WM_NCCALCSIZE) {
            LRESULT result = DefWindowProc(message, wParam, lParam);
            if (docked && m_nGripper > 0) {
                CSize space(0, 0);
                AddGripperSpace(space, horizontal);
                auto* rect = reinterpret_cast<RECT*>(lParam);   // the first rectangle either way
                rect->left += space.cx;
                rect->top += space.cy;
            }
            return result;
        }
        if (message == WM_NCPAINT) {
            DefWindowProc(message, wParam, lParam);
            PaintGripper();
            return 0;
        }
        if (message == WM_WINDOWPOSCHANGING) {
            if (!(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOMOVE))
                GetWindowRect(&m_rcOldWindow);
            return DefWindowProc(message, wParam, lParam);
        }
        {
            LRESULT result = DefWindowProc(message, wParam, lParam);
            if (!(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) {
                RepaintVacatedArea(m_rcOldWindow);
                SendMessage(WM_NCPAINT, 1, 0);
            }
            return result;
        }
    default:
        break;
    }
    return CFixMFCToolBar::WindowProc(message, wParam, lParam);
}

void CFlatToolBar::PaintGripper()
{
    const bool docked = !(m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_ALIGN_ANY);
    if (!docked || m_nGripper <= 0)
        return;
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    HDC dc = ::GetWindowDC(m_hWnd);
    const bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    for (int i = 0; i < std::min(m_nGripper, 2); ++i) {
        CRect edge;
        if (horizontal) {
            int top = (window.Height() - client.Height()) / 2;
            edge.SetRect(5 + i * kGripperThickness, top, 5 + (i + 1) * kGripperThickness, top + client.Height());
        } else {
            int left = (window.Width() - client.Width()) / 2;
            edge.SetRect(left, 5 + i * kGripperThickness, left + client.Width(), 5 + (i + 1) * kGripperThickness);
        }
        ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    ::ReleaseDC(m_hWnd, dc);
}

void CFlatToolBar::RepaintVacatedArea(const RECT& rect)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent || ::IsRectEmpty(&rect))
        return;
    CRect inParent(rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
    ::InvalidateRect(parent, &inParent, TRUE);
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CRect childRect, common;
        ::GetWindowRect(child, &childRect);
        if (!common.IntersectRect(&childRect, &rect))
            continue;
        ::MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&common), 2);
        ::InvalidateRect(child, &common, TRUE);
        ::SendMessageA(child, WM_NCPAINT, 1, 0);
    }
}

// ---- Flat painting ---------------------------------------------------------

void CFlatToolBar::OnCustomDraw(NMHDR* header, LRESULT* result)
{
    *result = CDRF_DODEFAULT;
    if (!(GetStyle() & TBSTYLE_FLAT))
        return;
    auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        if (m_bOldLibrary)
            PaintSeparators(draw->nmcd.hdc);
        *result = CDRF_NOTIFYITEMDRAW | (m_bPostPaint ? CDRF_NOTIFYPOSTPAINT : 0);
        break;
    case CDDS_ITEMPREPAINT:
        if (PaintButton(draw->nmcd.hdc, *draw))
            *result |= CDRF_SKIPDEFAULT;
        break;
    case CDDS_POSTPAINT:
        if (m_bPostPaint)
            *result = PostPaint(draw->nmcd.hdc);
        break;
    default:
        break;
    }
}

// Versions 4.71 and 4.72 draw a separator at the end of a wrapped row.
LRESULT CFlatToolBar::PostPaint(HDC dc)
{
    const int count = GetCount();
    for (int i = 1; i < count; ++i) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (!IsSeparatorButton(button) || !(button.fsState & TBSTATE_WRAP))
            continue;
        CRect previous, separator;
        GetItemRect(i - 1, &previous);
        GetItemRect(i, &separator);
        CRect wipe(previous.right, previous.top, previous.right + separator.Width(), previous.bottom);
        FillRectColour(dc, wipe, ::GetSysColor(COLOR_BTNFACE));
    }
    return CDRF_DODEFAULT;
}

void CFlatToolBar::PaintSeparators(HDC dc)
{
    const bool vertical = (m_dwStyle & CBRS_ORIENT_VERT) != 0;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle != TBSTYLE_SEP)
            continue;
        CRect item;
        GetItemRect(i, &item);
        if (!vertical) {
            CRect line(item.left + item.Width() / 2 - 1, item.top, item.right, item.bottom);
            ::DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
        } else {
            item.OffsetRect(-m_sizeButton.cx, m_sizeButton.cy - 2);
            const int width = item.Width();
            CRect line(item.left, ((2 * item.top + width) >> 1) - 1, item.left + item.Height(), item.top + width);
            ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
    }
}

BOOL CFlatToolBar::PaintButton(HDC dc, const NMTBCUSTOMDRAW& draw)
{
    const UINT id = static_cast<UINT>(draw.nmcd.dwItemSpec);
    const int index = CommandToIndex(id);
    if (index < 0)
        return FALSE;
    const LRESULT state = SendMessage(TB_GETSTATE, id);
    const bool pressed = (state & TBSTATE_PRESSED) != 0;
    const bool hot = (draw.nmcd.uItemState & CDIS_HOT) != 0;
    const bool disabled = !(state & TBSTATE_ENABLED);
    const bool checked = (state & TBSTATE_CHECKED) != 0;

    if (m_wasChecked.size() <= size_t(index))
        m_wasChecked.resize((size_t(index) / 16 + 1) * 16, 0);
    CRect item(draw.nmcd.rc);
    if (!checked && m_wasChecked[size_t(index)]) {
        m_wasChecked[size_t(index)] = 0;
        InvalidateRect(&item, TRUE);
        return FALSE;
    }
    m_wasChecked[size_t(index)] = checked ? 1 : 0;
    if (!checked && !(disabled && m_bDrawDisabled))
        return FALSE;

    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
    int x = item.left + (item.Width() - m_sizeImage.cx) / 2 + 1 + (pressed ? 1 : 0);
    int y = item.top + (item.Height() - m_sizeImage.cy) / 2 + 1 + (pressed ? 1 : 0);
    if (!hot && !pressed && !disabled)
        FillDitheredRect(dc, item);
    else if (hot && !pressed)
        FillRectColour(dc, item, ::GetSysColor(COLOR_BTNFACE));
    if (disabled)
        DrawEmbossedImage(dc, images, button.iBitmap, x, y, m_bDrawDisabled);
    else if (images)
        ImageList_Draw(images, button.iBitmap, dc, x, y, ILD_TRANSPARENT);
    if (checked)
        ::DrawEdge(dc, &item, BDR_SUNKENOUTER, BF_RECT);
    return TRUE;
}

// ---- Drop-down buttons -----------------------------------------------------

void CFlatToolBar::AddDropDownMenu(UINT commandId, UINT menuId) { m_dropDowns.push_back({commandId, menuId}); }

void CFlatToolBar::OnDropDown(NMHDR* header, LRESULT* result)
{
    auto* notify = reinterpret_cast<NMTOOLBARA*>(header);
    CRect rect;
    SendMessage(TB_GETRECT, static_cast<WPARAM>(notify->iItem), reinterpret_cast<LPARAM>(&rect));
    ClientToScreen(&rect);
    ShowDropDownMenu(static_cast<UINT>(notify->iItem), rect);
    *result = TBDDRET_DEFAULT;
}

void CFlatToolBar::ShowDropDownMenu(UINT commandId, const RECT& buttonRect)
{
    auto entry = std::find_if(m_dropDowns.begin(), m_dropDowns.end(),
                              [commandId](const DropDown& d) { return d.commandId == commandId; });
    if (entry == m_dropDowns.end())
        return;
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(entry->menuId));
    HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
    if (popup) {
        TPMPARAMS exclude{sizeof(TPMPARAMS), buttonRect};
        ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, buttonRect.left, buttonRect.bottom,
                           OwnerWindow(), &exclude);
    }
    if (menu)
        ::DestroyMenu(menu);
}
