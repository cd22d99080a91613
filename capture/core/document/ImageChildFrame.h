// The image window: an MDI child split into the image view on top and the
// notepad below. The notepad's pane is made when it is first opened, and
// stays, pushed out of view, when it is closed. The window keeps the
// folder-tree bar's selection in step with the active image.
#pragma once

#include "../../../framework/MdiFrame.h"
#include "../../../framework/Splitter.h"

class XImageView;
class XNotepadFormView;

class XImageMDIChildWnd : public CMDIChildWnd {
    DECLARE_DYNCREATE(XImageMDIChildWnd)
public:
    CSplitterWnd splitter;

    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
    XImageView* ImageView() const;
    // The notepad's pane, or null before it was first opened.
    XNotepadFormView* NotepadView() const;
    // The notepad's pane, made (still out of view) when there is none yet;
    // null when it cannot be made.
    XNotepadFormView* OpenNotepad();

protected:
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// The active image window, its splitter's panes, or null (the notepad's
// also before it was first opened).
XImageMDIChildWnd* GetActiveImageChildFrame();
CSplitterWnd* GetActiveSplitter();
XImageView* GetActiveImageView();
XNotepadFormView* GetActiveNotepadView();
