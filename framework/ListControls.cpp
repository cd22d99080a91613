// The list-view, drop-down list and animation wrappers' longer members.
#include "Controls.h"
#include "WinApp.h"

#include <vector>

CString CComboBox::GetLBText(int index) const
{
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR || length < 0)
        return CString();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendMessage(CB_GETLBTEXT, index, (LPARAM)buffer.data());
    return CString(buffer.data());
}

int CListCtrl::InsertColumn(int column, LPCSTR heading, int format, int width, int subItem)
{
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.fmt = format;
    info.pszText = const_cast<LPSTR>(heading ? heading : "");
    if (width >= 0) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem >= 0) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, column, (LPARAM)&info));
}

int CListCtrl::InsertItem(int item, LPCSTR text, int image)
{
    LVITEMA info{};
    info.mask = LVIF_TEXT;
    info.iItem = item;
    info.pszText = const_cast<LPSTR>(text ? text : "");
    if (image >= 0) {
        info.mask |= LVIF_IMAGE;
        info.iImage = image;
    }
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&info));
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    // Grow until the text fits with room to spare.
    for (int size = 264; size <= 65536; size *= 4) {
        std::vector<char> buffer(static_cast<size_t>(size), '\0');
        LVITEMA info{};
        info.iSubItem = subItem;
        info.pszText = buffer.data();
        info.cchTextMax = size;
        int length = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, item, (LPARAM)&info));
        if (length < size - 1)
            return CString(buffer.data(), length);
    }
    return CString();
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCSTR text)
{
    LVITEMA info{};
    info.iSubItem = subItem;
    info.pszText = const_cast<LPSTR>(text ? text : "");
    return SendMessage(LVM_SETITEMTEXTA, item, (LPARAM)&info) != 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMA info{};
    info.state = state;
    info.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, item, (LPARAM)&info) != 0;
}

BOOL CAnimateCtrl::Open(UINT id)
{
    return SendMessage(ACM_OPENA, (WPARAM)AfxGetResourceHandle(), (LPARAM)MAKEINTRESOURCEA(id)) != 0;
}
