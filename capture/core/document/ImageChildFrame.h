// The image window: an MDI child split into the image view on top and the
// notepad below, made with the window and pushed out of view until it is
// opened. The window keeps the folder-tree bar's selection in step with
// the active image.
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
    XNotepadFormView* NotepadView() const;

protected:
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// The active image window, its splitter's panes, or null.
XImageMDIChildWnd* GetActiveImageChildFrame();
CSplitterWnd* GetActiveSplitter();
XImageView* GetActiveImageView();
XNotepadFormView* GetActiveNotepadView();
