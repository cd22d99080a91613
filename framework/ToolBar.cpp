#include "ControlBars.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

namespace {

const LPCSTR kToolbarResource = MAKEINTRESOURCEA(241);

// The toolbar resource: version 1, image width and height, button count,
// then the command ids (0 for a separator).
struct ToolbarResource {
    WORD version;
    WORD width;
    WORD height;
    WORD count;
};

// A button's state asked by the update handlers, shown on the button.
class ToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int state) override
    {
        m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(state == 1, 0));
        m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELONG(state == 2, 0));
    }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(LPCSTR) override {}
};

// The framework's button style word: the control's style in the low byte,
// its state in the high byte with the enabled bit turned into "disabled".
UINT StyleFromButton(const TBBUTTON& button)
{
    return button.fsStyle | (static_cast<UINT>(button.fsState ^ TBSTATE_ENABLED) << 8);
}

void ApplyStyle(TBBUTTON& button, UINT style)
{
    button.fsStyle = LOBYTE(style);
    button.fsState = static_cast<BYTE>(HIBYTE(style) ^ TBSTATE_ENABLED);
}

} // namespace

CToolBar::CToolBar()
{
    m_cxLeftBorder = 0;
    m_cyTopBorder = 1;
    m_cyBottomBorder = 1;
}

CToolBar::~CToolBar()
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    if (id == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    if (borders.left || borders.top || borders.right || borders.bottom) {
        m_cxLeftBorder = borders.left;
        m_cyTopBorder = borders.top;
        m_cxRightBorder = borders.right;
        m_cyBottomBorder = borders.bottom;
    }
    // The frame's layout places the bar: the control must not move itself.
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | controlStyle | CCS_NORESIZE | CCS_NOPARENTALIGN |
                        CCS_NODIVIDER;
    if (m_dwStyle & CBRS_TOOLTIPS)
        windowStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

// Resources

BOOL CToolBar::LoadToolBar(UINT id) { return LoadToolBar(MAKEINTRESOURCEA(id)); }

BOOL CToolBar::LoadToolBar(LPCSTR name)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, name, kToolbarResource);
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    DWORD size = resource ? ::SizeofResource(instance, resource) : 0;
    if (!data || size < sizeof(ToolbarResource))
        return FALSE;
    ToolbarResource head;
    std::memcpy(&head, data, sizeof head);
    if (head.version != 1 || head.width == 0 || head.height == 0 ||
        size < sizeof head + head.count * sizeof(WORD))
        return FALSE;
    std::vector<UINT> ids(head.count);
    for (WORD i = 0; i < head.count; ++i) {
        WORD value;
        std::memcpy(&value, data + sizeof head + i * sizeof(WORD), sizeof value);
        ids[i] = value;
    }
    SetSizes(CSize(head.width + 7, head.height + 7), CSize(head.width, head.height));
    if (!LoadBitmap(name))
        return FALSE;
    return SetButtons(ids.data(), head.count);
}

BOOL CToolBar::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }

BOOL CToolBar::LoadBitmap(LPCSTR name)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, name, MAKEINTRESOURCEA(2));   // RT_BITMAP
    HBITMAP bitmap = resource ? AfxLoadSysColorBitmap(instance, resource) : nullptr;
    if (!bitmap || !SetBitmap(bitmap)) {
        if (bitmap)
            ::DeleteObject(bitmap);
        return FALSE;
    }
    m_hInstImageWell = instance;
    m_hRsrcImageWell = resource;
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP bitmap)
{
    if (!m_hWnd || !bitmap)
        return FALSE;
    BITMAP info{};
    if (!::GetObjectA(bitmap, sizeof info, &info) || m_sizeImage.cx <= 0)
        return FALSE;
    int images = info.bmWidth / m_sizeImage.cx;
    if (m_hbmImageWell) {
        TBREPLACEBITMAP replace{nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                                reinterpret_cast<UINT_PTR>(bitmap), images};
        if (!SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)))
            return FALSE;
        ::DeleteObject(m_hbmImageWell);
    } else {
        TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
        if (SendMessage(TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&add)) == -1)
            return FALSE;
    }
    m_hbmImageWell = bitmap;
    Invalidate();
    return TRUE;
}

void CToolBar::OnSysColorChange()
{
    Default();
    if (!m_hRsrcImageWell)
        return;
    if (HBITMAP bitmap = AfxLoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell)) {
        if (!SetBitmap(bitmap))
            ::DeleteObject(bitmap);
    }
}

// Buttons

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (!m_hWnd || count < 0)
        return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    if (!ids || count == 0)
        return TRUE;
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        std::memset(&b, 0, sizeof b);
        b.idCommand = static_cast<int>(ids[i]);
        b.fsState = TBSTATE_ENABLED;
        if (ids[i] == ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 6;   // the separator's width
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.iBitmap = image++;
        }
        b.iString = -1;
    }
    BOOL added = SendMessage(TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons.data())) != 0;
    DelayFrameLayout();
    return added;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    if (!m_hWnd)
        return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
}

void CToolBar::SetHeight(int height)
{
    m_cyTopBorder = 0;
    m_cyBottomBorder = std::max(0, height - static_cast<int>(ButtonsExtent().cy));
}

int CToolBar::GetCount() const { return m_hWnd ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0; }

int CToolBar::CommandToIndex(UINT id) const
{
    return m_hWnd ? static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)) : -1;
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    if (!m_hWnd || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return 0;
    return static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    ::SetRectEmpty(rect);
    if (m_hWnd)
        SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect));
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button{};
    if (!m_hWnd || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return 0;
    return StyleFromButton(button);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    UINT id, oldStyle;
    int image;
    GetButtonInfo(index, id, oldStyle, image);
    if (oldStyle != style)
        SetButtonInfo(index, id, style, image);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    TBBUTTON button{};
    if (!m_hWnd || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) {
        id = style = 0;
        image = 0;
        return;
    }
    id = static_cast<UINT>(button.idCommand);
    style = StyleFromButton(button);
    image = button.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    TBBUTTON button{};
    if (!m_hWnd || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return;
    TBBUTTON changed = button;
    changed.idCommand = static_cast<int>(id);
    changed.iBitmap = image;
    ApplyStyle(changed, style);
    if (std::memcmp(&changed, &button, sizeof button) == 0)
        return;
    if (changed.fsStyle == button.fsStyle && changed.idCommand == button.idCommand &&
        changed.iBitmap == button.iBitmap) {
        SendMessage(TB_SETSTATE, id, MAKELONG(changed.fsState, 0));
        return;
    }
    SendMessage(TB_DELETEBUTTON, index);
    SendMessage(TB_INSERTBUTTONA, index, reinterpret_cast<LPARAM>(&changed));
    DelayFrameLayout();
}

BOOL CToolBar::SetButtonText(int index, LPCSTR text)
{
    UINT id = GetItemID(index);
    if (!id)
        return FALSE;
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<LPSTR>(text ? text : "");
    return SendMessage(TB_SETBUTTONINFOA, id, reinterpret_cast<LPARAM>(&info)) != 0;
}

// Layout

CSize CToolBar::ButtonsExtent() const
{
    CRect all(0, 0, 0, 0);
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        CRect item;
        GetItemRect(i, &item);
        all.UnionRect(&all, &item);
    }
    if (all.IsRectEmpty())
        return CSize(0, m_sizeButton.cy);
    return CSize(all.right, all.bottom);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize border = BorderSize(horizontal);
    CSize extent = ButtonsExtent();
    if (horizontal)
        return CSize(stretch ? 32767 : extent.cx + border.cx, extent.cy + border.cy);
    int count = std::max(GetCount(), 1);
    return CSize(m_sizeButton.cx + border.cx, stretch ? 32767 : count * m_sizeButton.cy + border.cy);
}

CSize CToolBar::CalcDynamicLayout(int, DWORD mode)
{
    bool horizontal = (mode & (LM_HORZ | LM_HORZDOCK)) != 0;
    return CalcFixedLayout((mode & LM_STRETCH) != 0, horizontal);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    ToolCmdUI state;
    state.m_pOther = this;
    int count = GetCount();
    state.m_nIndexMax = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(target, disableIfNoHandler);
    }
    // Controls placed on the bar.
    UpdateDialogControls(target, disableIfNoHandler);
}

void CToolBar::DelayFrameLayout()
{
    if (CFrameWnd* frame = GetDockingFrame())
        frame->DelayRecalcLayout();
}
