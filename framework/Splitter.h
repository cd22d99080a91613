// A static splitter: a fixed grid of panes (views) in one window, with bars
// between them that the user drags. Each row and column has an ideal size;
// layout gives every row (column) its ideal size in order while room lasts,
// and the last one what is left, so a row can be pushed out of view.
#pragma once

#include "Frame.h"

#include <vector>

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    static const int kMaxPanes = 16;

    BOOL CreateStatic(CWnd* parent, int rows, int columns, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    virtual BOOL CreateView(int row, int column, const CRuntimeClass* viewClass, SIZE initialSize,
                            CCreateContext* context);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    CWnd* GetPane(int row, int column) const;
    int IdFromRowCol(int row, int column) const { return AFX_IDW_PANE_FIRST + row * 16 + column; }
    BOOL IsChildPane(CWnd* wnd, int* row, int* column) const;

    void SetRowInfo(int row, int ideal, int minimum);
    void SetColumnInfo(int column, int ideal, int minimum);
    void GetRowInfo(int row, int& current, int& minimum) const;
    void GetColumnInfo(int column, int& current, int& minimum) const;
    // Places the panes and bars in the client area.
    virtual void RecalcLayout();

    CWnd* GetActivePane(int* row = nullptr, int* column = nullptr);
    void SetActivePane(int row, int column, CWnd* wnd = nullptr);

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);

    int m_cxSplitter = 6;   // bar width between columns
    int m_cySplitter = 6;   // bar height between rows

protected:
    struct RowColInfo {
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    // Sizes along one direction: each track its ideal while room lasts.
    static void LayoutTracks(std::vector<RowColInfo>& tracks, int room, int barSize);
    // The bar under the point: row bar index (0 = below row 0) or column
    // bar, -1 when none.
    int RowBarAt(CPoint point) const;
    int ColumnBarAt(CPoint point) const;

    std::vector<RowColInfo> m_rows;
    std::vector<RowColInfo> m_columns;
    int m_dragRowBar = -1;
    int m_dragColumnBar = -1;
    CPoint m_dragStart;
    int m_dragStartSize = 0;

    DECLARE_MESSAGE_MAP()
};
