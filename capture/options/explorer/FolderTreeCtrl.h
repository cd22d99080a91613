// The folder-tree bar's tree control. The control repaints its selection at
// once when it loses the focus (under Wine with its scroll bars, 10-30 ms),
// and a new image window takes the focus only to hand it straight back (its
// view passes it on to the tree). So the control is told of a lost focus
// once the messages under way are handled, and only if the focus is still
// elsewhere then.
#pragma once

#include "../../../framework/Controls.h"

class XFolderTreeCtrl : public CTreeCtrl {
protected:
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnPaint();
    afx_msg LRESULT OnFocusLeft(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    bool lossPending = false;        // the control still counts itself focused
    bool paintedWhileAway = false;   // and was drawn without the focus meanwhile
};
