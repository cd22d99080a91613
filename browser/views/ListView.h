// The file list: one owner-drawn row per listed file with its name, size,
// type, time and location, kept in the program's own row table and shown by
// the control as an owner-data list.
#pragma once

#include "../../framework/CtrlView.h"
#include "../model/FileRows.h"

#include "../document/ExplorerDoc.h"

class XExplorerListView : public CListView {
    DECLARE_DYNCREATE(XExplorerListView)
public:
    XExplorerListView();

    XExplorerDoc* GetDocument() const { return static_cast<XExplorerDoc*>(m_pDocument); }
    CListCtrl& List() const { return GetListCtrl(); }
    FileRowTable& Rows() { return rows_; }

    // A new row for a scanned file of a folder item (its own item, when it
    // has one yet); rows show in name order after Settle.
    void InsertFileRow(const std::string& location, const WIN32_FIND_DATAA& data, HTREEITEM item,
                       HTREEITEM folder);
    // Puts new rows in name order and shows the count.
    void Settle();
    void DeleteFileRow(HTREEITEM item);
    void SelectFileRow(HTREEITEM item);
    void RefreshFileRow(HTREEITEM item, const std::string& location);
    void DeleteAllRows();
    // Sorts by a column, ascending on the first click and reversing on each
    // further one.
    void SortByColumn(int column);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void DrawItem(LPDRAWITEMSTRUCT item);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnGetDispInfo(NMHDR* header, LRESULT* result);
    afx_msg void OnItemChanged(NMHDR* header, LRESULT* result);
    afx_msg void OnColumnClick(NMHDR* header, LRESULT* result);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);

    DECLARE_MESSAGE_MAP()

private:
    void ShowCount();
    void SelectRow(long index);

    FileRowTable rows_;
    std::string lastLocation_;
    COLORREF background_;
    std::string dispText_;
};

// The sort direction of the last column click (set: ascending).
extern bool ListSortAscending;
