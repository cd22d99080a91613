// The image view: the upper pane of an image window. It draws the
// document's images on a scrollable canvas (offset by the view margins),
// selects and crops a single image, picks a colour, moves the images of a
// merging document, and drags an image out onto the folder tree (saving it
// there) or onto another image window (adding a copy to that document).
#pragma once

#include "../../../framework/View.h"

class DisplayImage;
class XImageDoc;

class XImageView : public CScrollView {
    DECLARE_DYNCREATE(XImageView)
public:
    int pickMode = 0;   // 1 while Check & Change Colors waits for a click

    XImageDoc* GetImageDoc() const;
    DisplayImage* GetTopImage() const;
    virtual void UpdateScrollSizes();

    void OnDraw(CDC* dc) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // Does nothing: the framework's activation would move the focus.
    void OnActivateView(BOOL, CView*, CView*) override {}

    // A drawing context prepared as OnDraw's: origin at the margins, moved
    // by the scroll position.
    void PrepareImageDC(CDC* dc);
    // A canvas rectangle in client coordinates.
    CRect CanvasToClient(const RECT& canvas) const;

    // Cropping and colour picking (the cropping selection's own files).
    void ClipCursorToClient();
    void DragCropLine(CPoint point);
    // Moves the cropping lines by an arrow key; false when the key is not one.
    bool NudgeCropLines(UINT key);
    COLORREF PickColorAtCursor();
    // The colour changed throughout the image into the work image; false
    // when it built nothing.
    bool ChangeColor(COLORREF color);

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnToolShowBorder();
    afx_msg void OnUpdateToolShowBorder(CCmdUI* cmdUI);
    afx_msg void OnCropInvertSelection();
    afx_msg void OnUpdateCropInvertSelection(CCmdUI* cmdUI);
    afx_msg void OnColorCheckChange();
    DECLARE_MESSAGE_MAP()

    // ImageViewDrag.cpp.
    void PickAndMoveImage(CPoint point);
    // Drags the rectangle's outline with the mouse until the button is up;
    // the rectangle ends where the outline was released.
    void MoveImageOutline(RECT& rect);
    void DragImageOut();

private:
    void FinishColorPick();
    void MoveTopImageBy(int dx, int dy);
    void RedrawTopImage();
};
