#include "Controls.h"

#include <map>
#include <memory>
#include <vector>

namespace {

std::map<HIMAGELIST, std::unique_ptr<CImageList>>& TempImageLists()
{
    static auto* table = new std::map<HIMAGELIST, std::unique_ptr<CImageList>>;
    return *table;
}

} // namespace

CScrollBar* KfScrollBarFromHandle(HWND window)
{
    // Scroll messages of a window's own bars carry no control.
    return window ? static_cast<CScrollBar*>(CWnd::FromHandle(window)) : nullptr;
}

void KfDeleteTempImageLists()
{
    for (auto& entry : TempImageLists())
        entry.second->Detach();
    TempImageLists().clear();
}

CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (!list)
        return nullptr;
    auto& table = TempImageLists();
    auto found = table.find(list);
    if (found != table.end())
        return found->second.get();
    auto wrapper = std::make_unique<CImageList>();
    wrapper->m_hImageList = list;
    CImageList* result = wrapper.get();
    table.emplace(list, std::move(wrapper));
    return result;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    return Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), cx, grow, mask,
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (!list)
        return FALSE;
    DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM data, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPSTR>(text ? text : "");
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = data;
    return InsertItem(&insert);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    // Grow until the text fits with room to spare.
    for (int size = 264; size <= 65536; size *= 4) {
        std::vector<char> buffer(static_cast<size_t>(size), '\0');
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer.data();
        info.cchTextMax = size;
        if (!GetItem(&info))
            return CString();
        // The control may point at its own copy instead of filling ours.
        const char* text = info.pszText ? info.pszText : "";
        int length = lstrlenA(text);
        if (text != buffer.data() || length < size - 1)
            return CString(text, length);
    }
    return CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text)
{
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<LPSTR>(text ? text : "");
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    if (!GetItem(&info))
        return FALSE;
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage)
{
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.iImage = image;
    info.iSelectedImage = selectedImage;
    return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return SetItem(&info);
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const
{
    TVHITTESTINFO info{};
    info.pt = point;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, (LPARAM)&info));
    if (flags)
        *flags = info.flags;
    return item;
}
