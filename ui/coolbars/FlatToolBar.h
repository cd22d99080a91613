// Toolbars on the framework's CToolBar. CFixMFCToolBar sizes and wraps its
// rows from the button sizes the common-controls library reports, with the
// corrections library versions 4.70, 4.71 and 4.72 need. CFlatToolBar adds
// the flat look (checked, separator and optionally disabled buttons painted
// here), a gripper, repaint of what a move uncovers, drop-down menus, and a
// plain child mode inside a rebar.
#pragma once

#include <vector>

#include "ControlBars.h"
#include "ToolBarLayout.h"

class CFixMFCToolBar : public CToolBar {
    DECLARE_DYNAMIC(CFixMFCToolBar)
public:
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;

    BOOL m_bKeepWidth = FALSE;   // drop-down buttons keep their width at a wrap

protected:
    // The bar's size for a layout mode (LM_*) and length; LM_COMMIT writes
    // the wraps to the control and moves the child controls with them.
    CSize CalcLayout(DWORD mode, int length);

private:
    struct ButtonRecords {
        std::vector<TBBUTTON> control;   // as read, enabled bit inverted (set = disabled)
        std::vector<toolbar_layout::Button> layout;
    };
    ButtonRecords ReadButtons() const;
    void WriteButton(int index, const TBBUTTON& old, TBBUTTON changed);
    void CommitButtons(const ButtonRecords& records);
    toolbar_layout::Rules LayoutRules() const;
};

class CFlatToolBar : public CFixMFCToolBar {
    DECLARE_DYNAMIC(CFlatToolBar)
public:
    CFlatToolBar();
    ~CFlatToolBar() override;

    // Loads the toolbar resource with the flat style off, and sets it again
    // when the load succeeded.
    BOOL LoadToolBar(UINT id);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The drop-down button `commandId` shows the first popup of menu resource `menuId`.
    void AddDropDownMenu(UINT commandId, UINT menuId);
    virtual void ShowDropDownMenu(UINT commandId, const RECT& buttonRect);
    // Adds the gripper's room to the width (horizontal) or height.
    virtual void AddGripperSpace(CSize& size, BOOL horizontal) const;
    // TRUE when it drew the button (checked, or disabled with m_bDrawDisabled).
    virtual BOOL PaintButton(HDC dc, const NMTBCUSTOMDRAW& draw);
    virtual void PaintSeparators(HDC dc);
    // The parent and its children repaint `rect` (screen coordinates).
    virtual void RepaintVacatedArea(const RECT& rect);

    // Where commands and notifications go: the frame inside a rebar, else the parent.
    HWND OwnerWindow() const { return m_hWndOwner ? m_hWndOwner : ::GetParent(m_hWnd); }

    HWND m_hWndOwner = nullptr;
    BOOL m_bOldLibrary = FALSE;   // library 4.70 or older
    int m_nGripper = 1;           // 0 none, 1 single, 2 double
    BOOL m_bDrawDisabled = FALSE;
    BOOL m_bInReBar = FALSE;
    BOOL m_bPostPaint = FALSE;    // library 4.71 or 4.72: separators drawn at row ends are wiped
    CRect m_rcOldWindow;

protected:
    afx_msg void OnCustomDraw(NMHDR* header, LRESULT* result);
    afx_msg void OnDropDown(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    struct DropDown {
        UINT commandId;
        UINT menuId;
    };
    void PaintGripper();
    LRESULT PostPaint(HDC dc);
    std::vector<BYTE> m_wasChecked;
    std::vector<DropDown> m_dropDowns;
};
