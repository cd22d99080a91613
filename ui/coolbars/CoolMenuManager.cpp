#include "CoolMenuManager.h"

#include <algorithm>
#include <cctype>

#include "CoolDraw.h"
#include "Frame.h"

IMPLEMENT_DYNAMIC(CCoolMenuManager, CSubclassWnd)

namespace {

const LPCSTR kToolbarResourceType = MAKEINTRESOURCEA(241);
const UINT kFirstSystemCommand = 0xF000;
const int kMaxItemText = 256;

// The toolbar resource's command ids (0 for a separator); empty when missing.
bool ReadToolbarResource(UINT id, CSize& imageSize, std::vector<UINT>& commands)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, MAKEINTRESOURCEA(id), kToolbarResourceType);
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    const DWORD size = resource ? ::SizeofResource(instance, resource) : 0;
    if (!words || size < 4 * sizeof(WORD) || words[1] == 0 || words[2] == 0 ||
        size < (4 + static_cast<DWORD>(words[3])) * sizeof(WORD))
        return false;
    imageSize = CSize(words[1], words[2]);
    commands.assign(words + 4, words + 4 + words[3]);
    return true;
}

// "Ctrl+O", "Delete", ...: one accelerator's keys.
CString KeyText(const ACCEL& accel)
{
    CString text;
    if (accel.fVirt & FALT)
        text += "Alt+";
    if (accel.fVirt & FCONTROL)
        text += "Ctrl+";
    if (accel.fVirt & FSHIFT)
        text += "Shift+";
    if (accel.fVirt & FVIRTKEY) {
        const UINT key = accel.key;
        LONG code = static_cast<LONG>(::MapVirtualKeyA(key, 0) << 16);
        if (key >= VK_PRIOR && key <= VK_DELETE)
            code |= 1 << 24;   // the extended keys: page up/down, end, home, arrows, insert, delete
        char name[64] = "";
        ::GetKeyNameTextA(code, name, sizeof name);
        text += name;
    } else if (accel.key > 0 && accel.key < ' ') {
        // A control character: typed as Ctrl and its letter.
        if (!(accel.fVirt & FCONTROL))
            text += "Ctrl+";
        text += static_cast<char>('A' + accel.key - 1);
    } else {
        text += static_cast<char>(accel.key);
    }
    return text;
}

void DrawItemText(HDC dc, const CString& text, CRect rect)
{
    const int tab = text.Find('\t');
    const CString left = tab >= 0 ? text.Left(tab) : text;
    ::DrawTextA(dc, left, left.GetLength(), &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (tab >= 0) {
        const CString right = text.Mid(tab + 1);
        ::DrawTextA(dc, right, right.GetLength(), &rect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
}

} // namespace

CCoolMenuManager::CCoolMenuManager() = default;

CCoolMenuManager::~CCoolMenuManager()
{
    AttachFrame(nullptr);
    ResetAll();
}

void CCoolMenuManager::AttachFrame(HWND frame) { Attach(frame); }

// ---- Images and accelerators -----------------------------------------------

BOOL CCoolMenuManager::LoadToolbarImages(UINT id)
{
    CSize imageSize;
    std::vector<UINT> commands;
    if (!ReadToolbarResource(id, imageSize, commands))
        return FALSE;
    if (m_images && imageSize != m_sizeImage)
        return FALSE;
    HBITMAP bitmap = LoadSysColorBitmapResource(MAKEINTRESOURCEA(id));
    if (!bitmap)
        return FALSE;
    if (!m_images) {
        m_sizeImage = imageSize;
        m_sizeButton = CSize(imageSize.cx + 4, imageSize.cy + 4);
        m_images = ImageList_Create(imageSize.cx, imageSize.cy, ILC_MASK | ILC_COLOR24, 0, 10);
    }
    int image = m_images ? ImageList_GetImageCount(m_images) : 0;
    const bool added = m_images && ImageList_AddMasked(m_images, bitmap, ::GetSysColor(COLOR_BTNFACE)) != -1;
    ::DeleteObject(bitmap);
    if (!added)
        return FALSE;
    for (UINT command : commands) {
        if (command == 0)
            continue;
        m_imageOfCommand.emplace(command, image);   // the first toolbar with the command wins
        ++image;
    }
    m_toolbarIds.push_back(id);
    return TRUE;
}

void CCoolMenuManager::ResetAll()
{
    if (m_images)
        ImageList_Destroy(m_images);
    m_images = nullptr;
    m_imageOfCommand.clear();
    m_sizeImage = m_sizeButton = CSize(0, 0);
    m_toolbarIds.clear();
    if (m_menuFont)
        ::DeleteObject(m_menuFont);
    m_menuFont = nullptr;
    m_hAccelLoaded = nullptr;
    m_accels.clear();
    m_lastAccelOfCommand.clear();
}

void CCoolMenuManager::ReloadImages()
{
    const std::vector<UINT> toolbars = m_toolbarIds;
    ResetAll();
    for (UINT id : toolbars)
        LoadToolbarImages(id);
}

void CCoolMenuManager::LoadAccelerators(HACCEL table)
{
    m_hAccelLoaded = table;
    m_accels.clear();
    m_lastAccelOfCommand.clear();
    const int count = ::CopyAcceleratorTableA(table, nullptr, 0);
    if (count <= 0)
        return;
    m_accels.resize(static_cast<size_t>(count));
    ::CopyAcceleratorTableA(table, m_accels.data(), count);
    for (int i = 0; i < count; ++i) {
        const UINT command = m_accels[size_t(i)].cmd;
        auto last = m_lastAccelOfCommand.find(command);
        m_accels[size_t(i)].cmd = static_cast<WORD>(last == m_lastAccelOfCommand.end() ? 0 : i - last->second);
        m_lastAccelOfCommand[command] = i;
    }
}

void CCoolMenuManager::UpdateAccelerators()
{
    for (HWND window = m_hWnd; window; window = ::GetParent(window)) {
        auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(window));
        HACCEL table = frame ? frame->GetDefaultAccelerator() : nullptr;
        if (!table)
            continue;
        if (table != m_hAccelLoaded)
            LoadAccelerators(table);
        return;
    }
}

void CCoolMenuManager::AddShortcutText(CString& text, UINT command, int mode) const
{
    if (mode == 0)
        return;
    const int tab = text.Find('\t');
    if (tab > 0) {
        if (mode == 2)
            return;
        text = text.Left(tab);
    }
    auto last = m_lastAccelOfCommand.find(command);
    if (last == m_lastAccelOfCommand.end())
        return;
    int index = last->second;
    for (bool first = true;; first = false) {
        const ACCEL& accel = m_accels[size_t(index)];
        text += first ? "\t" : ", ";
        text += KeyText(accel);
        if (accel.cmd == 0 || accel.cmd > index)
            break;
        index -= accel.cmd;
    }
}

// ---- Converting popups -----------------------------------------------------

CCoolMenuManager::ItemRecord* CCoolMenuManager::OwnRecord(ULONG_PTR data) const
{
    for (const auto& record : m_records) {
        if (reinterpret_cast<ULONG_PTR>(record.get()) == data)
            return record->inUse ? record.get() : nullptr;
    }
    return nullptr;
}

CCoolMenuManager::ItemRecord* CCoolMenuManager::TakeRecord()
{
    for (auto& record : m_records) {
        if (!record->inUse) {
            record->inUse = true;
            return record.get();
        }
    }
    m_records.push_back(std::make_unique<ItemRecord>());
    m_records.back()->inUse = true;
    return m_records.back().get();
}

void CCoolMenuManager::ConvertMenu(HMENU popup, BOOL convert, BOOL isSystemMenu)
{
    const int count = ::GetMenuItemCount(popup);
    const bool shortcuts = !m_accels.empty() && m_nAccelMode != 0;
    for (int i = 0; i < count; ++i) {
        char text[kMaxItemText] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        if (!::GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info))
            continue;
        ItemRecord* record = OwnRecord(info.dwItemData);
        if (info.dwItemData && !record)
            continue;   // someone else's owner-drawn item
        if (isSystemMenu && info.wID >= kFirstSystemCommand)
            continue;
        MENUITEMINFOA change{};
        change.cbSize = sizeof change;
        change.fMask = MIIM_FTYPE | MIIM_DATA;
        change.fType = info.fType;
        change.dwItemData = info.dwItemData;
        CString plain;
        if (convert) {
            const bool wasOwnerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
            if (!record) {
                record = TakeRecord();
                record->type = info.fType;
                auto image = m_imageOfCommand.find(info.wID);
                record->image = image != m_imageOfCommand.end() ? image->second : -1;
                change.dwItemData = reinterpret_cast<ULONG_PTR>(record);
            }
            // An item that was owner-drawn already has no text to read: it keeps its record's.
            if (!wasOwnerDrawn)
                record->text = text;
            change.fType |= MFT_OWNERDRAW;
            if (std::find(m_convertedMenus.begin(), m_convertedMenus.end(), popup) == m_convertedMenus.end())
                m_convertedMenus.push_back(popup);
            if (shortcuts)
                AddShortcutText(record->text, info.wID, m_nAccelMode);
        } else {
            if (!record)
                continue;
            change.fType &= ~MFT_OWNERDRAW;
            plain = record->text;
            if (shortcuts)
                AddShortcutText(plain, info.wID, m_nAccelMode);
            record->inUse = false;
            change.dwItemData = 0;
            if (!(change.fType & MFT_SEPARATOR)) {
                change.fMask |= MIIM_STRING;
                change.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(plain));
            }
        }
        if (change.fType != info.fType || change.dwItemData != info.dwItemData || (change.fMask & MIIM_STRING))
            ::SetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &change);
    }
}

void CCoolMenuManager::OnInitMenuPopup(HMENU popup, UINT, BOOL isSystemMenu)
{
    if (m_nAccelMode != 0)
        UpdateAccelerators();
    ConvertMenu(popup, m_bConvert, isSystemMenu);
}

void CCoolMenuManager::OnMenuSelect(UINT, UINT flags, HMENU menu)
{
    if (menu || flags != 0xFFFF)
        return;
    // The menu closed: every converted popup becomes plain again.
    const std::vector<HMENU> converted = m_convertedMenus;
    m_convertedMenus.clear();
    for (HMENU popup : converted) {
        if (::IsMenu(popup))
            ConvertMenu(popup, FALSE, FALSE);
    }
}

// ---- Measuring and drawing -------------------------------------------------

HFONT CCoolMenuManager::MenuFont()
{
    if (!m_menuFont) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            m_menuFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
    }
    return m_menuFont;
}

BOOL CCoolMenuManager::OnMeasureItem(MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_MENU)
        return FALSE;
    ItemRecord* record = OwnRecord(measure->itemData);
    if (!record)
        return FALSE;
    const int menuHeight = ::GetSystemMetrics(SM_CYMENU);
    if (record->type & MFT_SEPARATOR) {
        measure->itemHeight = static_cast<UINT>(menuHeight / 2);
        measure->itemWidth = 0;
        return TRUE;
    }
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ oldFont = ::SelectObject(dc, MenuFont());
    CRect extent(0, 0, 0, 0);
    ::DrawTextA(dc, record->text, record->text.GetLength(), &extent, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(nullptr, dc);
    measure->itemHeight = static_cast<UINT>(std::max(static_cast<int>(extent.Height()), menuHeight));
    const int width = extent.Width() + 2 * m_sizeButton.cx + 6 - ::GetSystemMetrics(SM_CXMENUCHECK);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    return TRUE;
}

void CCoolMenuManager::DrawCheck(HDC dc, const CRect& box, HMENU menu, UINT id, bool checked, bool selected)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, id, FALSE, &info);
    HBITMAP own = checked ? info.hbmpChecked : info.hbmpUnchecked;
    if (selected)
        FillRectColour(dc, box, ::GetSysColor(COLOR_MENU));
    else
        FillDitheredRect(dc, box);
    int cx = ::GetSystemMetrics(SM_CXMENUCHECK), cy = ::GetSystemMetrics(SM_CYMENUCHECK);
    BITMAP size{};
    if (own && ::GetObjectA(own, sizeof size, &size)) {
        cx = size.bmWidth;
        cy = size.bmHeight;
    }
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP mark = own ? nullptr : ::CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ old = ::SelectObject(memory, own ? own : mark);
    if (mark) {
        CRect all(0, 0, cx, cy);
        ::DrawFrameControl(memory, &all, DFC_MENU, (info.fType & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    const int x = box.left + (box.Width() - cx) / 2, y = box.top + (box.Height() - cy) / 2;
    // The mark's black pixels in black, the rest leaves the fill.
    COLORREF text = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF back = ::SetBkColor(dc, RGB(255, 255, 255));
    ::BitBlt(dc, x, y, cx, cy, memory, 0, 0, SRCAND);
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, back);
    ::SelectObject(memory, old);
    if (mark)
        ::DeleteObject(mark);
    ::DeleteDC(memory);
    CRect edge = box;
    if (cx < box.Width())
        edge.InflateRect(1, 1);
    ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

BOOL CCoolMenuManager::OnDrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_MENU)
        return FALSE;
    ItemRecord* record = OwnRecord(draw->itemData);
    if (!record)
        return FALSE;
    HDC dc = draw->hDC;
    CRect item(draw->rcItem);
    if (record->type & MFT_SEPARATOR) {
        CRect line = item;
        line.top += line.Height() / 2;
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return TRUE;
    }
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    const bool grayed = (draw->itemState & ODS_GRAYED) != 0;
    const bool checked = (draw->itemState & ODS_CHECKED) != 0;
    const int boxTop = item.top + (item.Height() - m_sizeButton.cy) / 2;
    const CRect box(item.left, boxTop, item.left + m_sizeButton.cx, boxTop + m_sizeButton.cy);
    bool boxDrawn = false;

    if (record->image >= 0 && m_images) {
        const int x = box.left + (box.Width() - m_sizeImage.cx) / 2;
        const int y = box.top + (box.Height() - m_sizeImage.cy) / 2;
        if (grayed) {
            if (m_bUseDrawState) {
                HICON icon = ImageList_GetIcon(m_images, record->image, ILD_NORMAL);
                ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0,
                             DST_ICON | DSS_DISABLED);
                ::DestroyIcon(icon);
            } else {
                DrawEmbossedImage(dc, m_images, record->image, x, y, m_bDisabledColour);
            }
        } else {
            if (checked && !selected)
                FillDitheredRect(dc, box);
            else
                FillRectColour(dc, box, ::GetSysColor(COLOR_MENU));
            if (checked || selected)
                ::DrawEdge(dc, const_cast<CRect*>(&box), checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            ImageList_Draw(m_images, record->image, dc, x, y, ILD_TRANSPARENT);
        }
        boxDrawn = true;
    } else if (m_sizeButton.cx > 0) {
        MENUITEMINFOA marks{};
        marks.cbSize = sizeof marks;
        marks.fMask = MIIM_CHECKMARKS;
        ::GetMenuItemInfoA(reinterpret_cast<HMENU>(draw->hwndItem), draw->itemID, FALSE, &marks);
        if (checked || marks.hbmpUnchecked) {
            DrawCheck(dc, box, reinterpret_cast<HMENU>(draw->hwndItem), draw->itemID, checked, selected);
            boxDrawn = true;
        }
    }

    if (selected || (draw->itemAction & ODA_SELECT)) {
        CRect fill = item;
        if (boxDrawn)
            fill.left = box.right + 1;
        FillRectColour(dc, fill, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    }

    CRect textRect(item.left + m_sizeButton.cx + 3, item.top, item.right - m_sizeButton.cx, item.bottom);
    const COLORREF colour = ::GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    const COLORREF background = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    HGDIOBJ oldFont = ::SelectObject(dc, MenuFont());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::GetTextColor(dc);
    if (grayed && (!selected || colour == background)) {
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        CRect raised = textRect;
        raised.OffsetRect(1, 1);
        DrawItemText(dc, record->text, raised);
    }
    ::SetTextColor(dc, colour);
    DrawItemText(dc, record->text, textRect);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
    return TRUE;
}

LRESULT CCoolMenuManager::OnMenuChar(UINT character, UINT, HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    const int wanted = std::toupper(static_cast<unsigned char>(character));
    std::vector<int> matches;
    int highlighted = -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_STATE | MIIM_FTYPE;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.fState & MFS_HILITE)
            highlighted = i;
        ItemRecord* record = (info.fType & MFT_OWNERDRAW) ? OwnRecord(info.dwItemData) : nullptr;
        if (!record)
            continue;
        const int amp = record->text.Find('&');
        if (amp >= 0 && amp + 1 < record->text.GetLength() &&
            std::toupper(static_cast<unsigned char>(record->text[amp + 1])) == wanted)
            matches.push_back(i);
    }
    if (matches.empty())
        return 0;
    if (matches.size() == 1)
        return MAKELRESULT(matches[0], MNC_EXECUTE);
    auto next = std::find_if(matches.begin(), matches.end(), [highlighted](int i) { return i > highlighted; });
    return MAKELRESULT(next != matches.end() ? *next : matches[0], MNC_SELECT);
}

// ---- The hooked frame --------------------------------------------------------

LRESULT CCoolMenuManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
        ReloadImages();
        break;
    case WM_INITMENUPOPUP:
        CSubclassWnd::WindowProc(message, wParam, lParam);
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MEASUREITEM:
        if (OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_MENUCHAR:
        if (LRESULT result = OnMenuChar(LOBYTE(LOWORD(wParam)), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)))
            return result;
        break;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    default:
        break;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}
