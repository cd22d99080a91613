// Thin wrappers of the system's controls: each is a CWnd whose members send
// the control's messages. Create makes a child control; SubclassDlgItem
// binds one of a dialog's.
#pragma once

#include "Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF)
    {
        return CWnd::Create("STATIC", text, style, rect, parent, id);
    }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, (WPARAM)icon)); }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
    HBITMAP SetBitmap(HBITMAP bitmap)
    {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }
};

class CButton : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create("BUTTON", text, style, rect, parent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HBITMAP SetBitmap(HBITMAP bitmap)
    {
        return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap));
    }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon)); }
};

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
    }
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, start, end);
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
        start = static_cast<int>(s);
        end = static_cast<int>(e);
    }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
    void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, max); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    BOOL GetModify() const { return SendMessage(EM_GETMODIFY) != 0; }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return SendMessage(EM_SETREADONLY, readOnly) != 0; }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL CanUndo() const { return SendMessage(EM_CANUNDO) != 0; }
    BOOL Undo() { return SendMessage(EM_UNDO) != 0; }
    void Cut() { SendMessage(WM_CUT); }
    void Copy() { SendMessage(WM_COPY); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
};

class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create("SCROLLBAR", nullptr, style, rect, parent, id);
    }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
    }
};

class CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(UPDOWN_CLASSA, nullptr, style, rect, parent, id);
    }
    // 32-bit limits, so ranges beyond 32767 (screen sizes, 1..65535) hold.
    void SetRange(int lower, int upper) { SendMessage(UDM_SETRANGE32, lower, upper); }
    void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, lower, upper); }
    void GetRange(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
    int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
    CWnd* SetBuddy(CWnd* buddy) { return FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)buddy->m_hWnd)); }
    CWnd* GetBuddy() const { return FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
    int SetBase(int base) { return static_cast<int>(SendMessage(UDM_SETBASE, base)); }
};

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
    }
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, lower, upper); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, pos)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, delta)); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, step)); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

// An image list owning its handle, unless it came from FromHandle.
class CImageList : public CObject {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() override { DeleteImageList(); }

    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    static CImageList* FromHandle(HIMAGELIST list);

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        return Attach(ImageList_Create(cx, cy, flags, initial, grow));
    }
    // From a bitmap resource cut into images cx wide; mask is the colour
    // that is transparent.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(CBitmap* bitmap, CBitmap* mask)
    {
        return ImageList_Add(m_hImageList, *bitmap, mask ? static_cast<HBITMAP>(*mask) : nullptr);
    }
    int Add(CBitmap* bitmap, COLORREF mask) { return ImageList_AddMasked(m_hImageList, *bitmap, mask); }
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    BOOL Remove(int image) { return ImageList_Remove(m_hImageList, image); }
    BOOL Draw(CDC* dc, int image, POINT at, UINT style)
    {
        return ImageList_Draw(m_hImageList, image, dc->m_hDC, at.x, at.y, style);
    }
    COLORREF SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
    HICON ExtractIcon(int image) { return ImageList_ExtractIcon(nullptr, m_hImageList, image); }
};

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_TREEVIEWA, nullptr, style, rect, parent, id);
    }

    CImageList* SetImageList(CImageList* list, int kind)
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
            SendMessage(TVM_SETIMAGELIST, kind, (LPARAM)(list ? list->m_hImageList : nullptr))));
    }
    CImageList* GetImageList(int kind) const
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, kind)));
    }

    HTREEITEM InsertItem(const TVINSERTSTRUCTA* insert)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, (LPARAM)insert));
    }
    HTREEITEM InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM data, HTREEITEM parent, HTREEITEM after);
    HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent,
                          after);
    }
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
    }
    BOOL DeleteItem(HTREEITEM item) { return SendMessage(TVM_DELETEITEM, 0, (LPARAM)item) != 0; }
    BOOL DeleteAllItems() { return SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT) != 0; }
    BOOL Expand(HTREEITEM item, UINT code) { return SendMessage(TVM_EXPAND, code, (LPARAM)item) != 0; }

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }

    BOOL Select(HTREEITEM item, UINT code) { return SendMessage(TVM_SELECTITEM, code, (LPARAM)item) != 0; }
    BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM item) { return Select(item, TVGN_DROPHILITE); }
    BOOL EnsureVisible(HTREEITEM item) { return SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item) != 0; }

    BOOL GetItem(TVITEMA* item) const { return SendMessage(TVM_GETITEMA, 0, (LPARAM)item) != 0; }
    BOOL SetItem(TVITEMA* item) { return SendMessage(TVM_SETITEMA, 0, (LPARAM)item) != 0; }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    UINT GetItemState(HTREEITEM item, UINT stateMask) const
    {
        return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, (WPARAM)item, stateMask));
    }
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const
    {
        *reinterpret_cast<HTREEITEM*>(rect) = item;
        return SendMessage(TVM_GETITEMRECT, textOnly, (LPARAM)rect) != 0;
    }
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const;
    BOOL SortChildren(HTREEITEM item) { return SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)item) != 0; }
    BOOL SortChildrenCB(TVSORTCB* sort) { return SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)sort) != 0; }
};

// A drop-down list or combo box.
class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create("COMBOBOX", nullptr, style, rect, parent, id);
    }
    int AddString(LPCSTR text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, (LPARAM)text)); }
    int InsertString(int index, LPCSTR text)
    {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, index, (LPARAM)text));
    }
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    // The text of an entry; empty outside the list.
    CString GetLBText(int index) const;
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, index)); }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, index, (LPARAM)data));
    }
};

// A list-view control.
class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_LISTVIEWA, nullptr, style, rect, parent, id);
    }

    CImageList* SetImageList(CImageList* list, int kind)
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, kind, (LPARAM)(list ? list->m_hImageList : nullptr))));
    }
    int InsertColumn(int column, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int column) { return SendMessage(LVM_DELETECOLUMN, column) != 0; }

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int item, int flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, item, flags)); }
    // A new row at `item` (the end when past it) with its text and image;
    // the row's index, or -1.
    int InsertItem(int item, LPCSTR text, int image = -1);
    BOOL DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, item) != 0; }
    // The first row after `start` (-1: from the top) that the search matches, or -1.
    int FindItem(LVFINDINFOA* find, int start = -1) const
    {
        return static_cast<int>(SendMessage(LVM_FINDITEMA, start, (LPARAM)find));
    }
    BOOL DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    CString GetItemText(int item, int subItem) const;
    BOOL SetItemText(int item, int subItem, LPCSTR text);
    UINT GetItemState(int item, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, item, mask));
    }
    // item -1 sets the state of every row.
    BOOL SetItemState(int item, UINT state, UINT mask);
    BOOL EnsureVisible(int item, BOOL partialOk) { return SendMessage(LVM_ENSUREVISIBLE, item, partialOk) != 0; }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD style)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
};

// An animation control playing a silent AVI clip from the resources.
class CAnimateCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(ANIMATE_CLASSA, nullptr, style, rect, parent, id);
    }
    // Opens the clip of resource `id` (a control with the ACS_AUTOPLAY style
    // starts playing at once).
    BOOL Open(UINT id);
    BOOL Play(UINT from, UINT to, UINT repeat)
    {
        return SendMessage(ACM_PLAY, repeat, MAKELPARAM(from, to)) != 0;
    }
    BOOL Stop() { return SendMessage(ACM_STOP) != 0; }
    BOOL Close() { return SendMessage(ACM_OPENA) != 0; }
};

// Drops the temporary image-list wrappers (called when the application is idle).
void KfDeleteTempImageLists();
