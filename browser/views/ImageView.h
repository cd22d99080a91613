// The image pane below the tree and the list: the selected image at (5, 5),
// scrolled when it is larger than the pane.
#pragma once

#include "../../framework/View.h"

#include "../document/ExplorerDoc.h"

class XExplorerImageView : public CScrollView {
    DECLARE_DYNCREATE(XExplorerImageView)
public:
    XExplorerDoc* GetDocument() const { return static_cast<XExplorerDoc*>(m_pDocument); }

    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;
    void SetImageScrollSize(int width, int height);

    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()
};
