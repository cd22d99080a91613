#include "ListView.h"

#include "../../framework/AnsiFolderSearch.h"
#include "../../framework/Gdi.h"
#include "../model/BrowserFormats.h"
#include "TreeView.h"

IMPLEMENT_DYNCREATE(XExplorerListView, CListView)

BEGIN_MESSAGE_MAP(XExplorerListView, CListView)
    ON_WM_CREATE()
    ON_WM_KEYDOWN()
    ON_WM_DRAWITEM_REFLECT()
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

bool ListSortAscending = false;

namespace {

struct ColumnSpec {
    const char* title;
    int width;
    int format;
};
const ColumnSpec kColumns[kFileColumnCount] = {
    {"Name", 100, LVCFMT_LEFT},    {"Size", 90, LVCFMT_RIGHT},       {"Type", 40, LVCFMT_LEFT},
    {"Modified", 120, LVCFMT_LEFT}, {"Location", 300, LVCFMT_LEFT}};

uint64_t FileSize(const WIN32_FIND_DATAA& data)
{
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

uint64_t FileTimeTicks(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

int TextWidth(HDC dc, const std::string& text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The text, or as much of it as fits with "..." after it; true when it was
// shortened. At least one character stays.
bool FitTextToWidth(HDC dc, std::string& text, int width, int margin)
{
    if (text.empty() || TextWidth(dc, text) + margin <= width)
        return false;
    const int dots = TextWidth(dc, "...");
    while (text.size() > 1 && TextWidth(dc, text) + dots + margin > width)
        text.pop_back();
    text += "...";
    return true;
}

}  // namespace

XExplorerListView::XExplorerListView() : background_(GetSysColor(COLOR_WINDOW)) {}

BOOL XExplorerListView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | LVS_OWNERDATA;
    return CListView::PreCreateWindow(cs);
}

int XExplorerListView::OnCreate(LPCREATESTRUCT cs)
{
    if (CListView::OnCreate(cs) == -1)
        return -1;
    for (int i = 0; i < kFileColumnCount; ++i)
        List().InsertColumn(i, kColumns[i].title, kColumns[i].format, kColumns[i].width, i);
    if (XExplorerDoc* doc = GetDocument())
        doc->listView = this;
    return 0;
}

void XExplorerListView::InsertFileRow(const std::string& location, const WIN32_FIND_DATAA& data, HTREEITEM item,
                                      HTREEITEM folder)
{
    rows_.Append(location, FileSize(data), FileTimeTicks(data.ftLastWriteTime), reinterpret_cast<uintptr_t>(item),
                 reinterpret_cast<uintptr_t>(folder));
}

void XExplorerListView::Settle()
{
    rows_.Settle();
    ShowCount();
}

void XExplorerListView::ShowCount()
{
    SendMessage(LVM_SETITEMCOUNT, rows_.Count(), LVSICF_NOSCROLL);
    const long selected = rows_.Selected();
    // Only the row that has the selection loses it: clearing every row's
    // state costs a notification per row.
    const int shown = List().GetNextItem(-1, LVNI_SELECTED);
    if (shown >= 0)
        List().SetItemState(shown, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected >= 0)
        SelectRow(selected);
    Invalidate();
}

void XExplorerListView::DeleteAllRows()
{
    rows_.Clear();
    lastLocation_.clear();
    SendMessage(LVM_SETITEMCOUNT, 0, 0);
    Invalidate();
}

void XExplorerListView::DeleteFileRow(HTREEITEM item)
{
    const long index = rows_.Find(reinterpret_cast<uintptr_t>(item));
    if (index < 0)
        return;
    rows_.Remove(static_cast<size_t>(index));
    ShowCount();
}

void XExplorerListView::SelectRow(long index)
{
    List().SetItemState(static_cast<int>(index), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    List().EnsureVisible(static_cast<int>(index), FALSE);
}

void XExplorerListView::SelectFileRow(HTREEITEM item)
{
    const long index = rows_.Find(reinterpret_cast<uintptr_t>(item));
    if (index < 0)
        return;
    rows_.Select(index);
    lastLocation_ = rows_.Row(static_cast<size_t>(index)).location;
    SelectRow(index);
}

void XExplorerListView::RefreshFileRow(HTREEITEM item, const std::string& location)
{
    const long index = rows_.Find(reinterpret_cast<uintptr_t>(item));
    if (index >= 0)
        rows_.Remove(static_cast<size_t>(index));
    WIN32_FIND_DATAA data;
    if (!ReadFileEntry(location, data)) {
        ShowCount();
        return;
    }
    rows_.Select(-1);
    XExplorerDoc* doc = GetDocument();
    InsertFileRow(location, data, item, doc && doc->treeView ? doc->treeView->Tree().GetParentItem(item) : nullptr);
    rows_.Row(rows_.Count() - 1).selected = true;
    lastLocation_ = location;
    Settle();
}

void XExplorerListView::SortByColumn(int column)
{
    ListSortAscending = !ListSortAscending;
    rows_.Sort(column, ListSortAscending);
    ShowCount();
}

void XExplorerListView::OnColumnClick(NMHDR* header, LRESULT* result)
{
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    *result = 0;
}

void XExplorerListView::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
    *result = 0;
    const int index = info->item.iItem;
    if (!(info->item.mask & LVIF_TEXT) || index < 0 || static_cast<size_t>(index) >= rows_.Count() ||
        !info->item.pszText || info->item.cchTextMax <= 0)
        return;
    dispText_ = rows_.Row(static_cast<size_t>(index)).Text(info->item.iSubItem);
    lstrcpynA(info->item.pszText, dispText_.c_str(), info->item.cchTextMax);
}

void XExplorerListView::OnItemChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    XExplorerDoc* doc = GetDocument();
    // Only a row that gains the selection counts.
    if (!doc || doc->busy || change->iItem < 0 || !(change->uChanged & LVIF_STATE) ||
        !(change->uNewState & LVIS_SELECTED) || (change->uOldState & LVIS_SELECTED))
        return;
    if (static_cast<size_t>(change->iItem) >= rows_.Count())
        return;
    rows_.Select(change->iItem);
    if (doc->treeView && doc->treeView->selectingRow)
        return;
    const FileRow& row = rows_.Row(static_cast<size_t>(change->iItem));
    if (EqualNoCase(row.location, lastLocation_))
        return;
    lastLocation_ = row.location;
    if (!doc->treeView)
        return;
    // A file's tree item is made when its folder is first opened.
    const size_t index = static_cast<size_t>(change->iItem);
    if (!rows_.Row(index).treeItem)
        doc->treeView->OpenFolderFiles(reinterpret_cast<HTREEITEM>(rows_.Row(index).folderItem));
    doc->treeView->Tree().SelectItem(reinterpret_cast<HTREEITEM>(rows_.Row(index).treeItem));
}

void XExplorerListView::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (item->itemID >= rows_.Count())
        return;
    const FileRow& row = rows_.Row(item->itemID);
    HDC dc = item->hDC;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    RECT bounds, label;
    ListView_GetItemRect(m_hWnd, item->itemID, &bounds, LVIR_BOUNDS);
    ListView_GetItemRect(m_hWnd, item->itemID, &label, LVIR_LABEL);
    RECT fill = bounds;
    fill.left = label.left;
    COLORREF oldText = 0, oldBack = 0;
    HBRUSH brush;
    if (selected) {
        oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        oldBack = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        brush = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    } else {
        brush = CreateSolidBrush(background_);
    }
    FillRect(dc, &fill, brush);
    DeleteObject(brush);
    const UINT lineFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;

    std::string text = row.Name();
    FitTextToWidth(dc, text, label.right - label.left, 4);
    RECT cell = label;
    cell.left += 2;
    cell.right -= 2;
    DrawTextA(dc, text.c_str(), -1, &cell, lineFlags | DT_LEFT);

    int right = label.right;
    for (int column = 1; column < kFileColumnCount; ++column) {
        LVCOLUMNA info = {};
        info.mask = LVCF_FMT | LVCF_WIDTH;
        if (!ListView_GetColumn(m_hWnd, column, &info))
            break;
        RECT span = {right, bounds.top, right + info.cx, bounds.bottom};
        right = span.right;
        text = row.Text(column);
        const bool shortened = FitTextToWidth(dc, text, info.cx, 12);
        UINT align = DT_LEFT;
        if (!shortened && (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
            align = DT_RIGHT;
        else if (!shortened && (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
            align = DT_CENTER;
        span.left += 6;
        span.right -= 6;
        DrawTextA(dc, text.c_str(), -1, &span, lineFlags | align);
    }
    if (selected) {
        DrawFocusRect(dc, &fill);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    }
}

void XExplorerListView::OnKeyDown(UINT key, UINT, UINT)
{
    HandleDeleteKey(key);
    Default();
}
