// The notepad: the lower pane of every image window, a multi-line edit that
// shows and edits the note of the document's image. It is hidden by giving the splitter's upper row the
// whole height; shown follows the pane's height.
#pragma once

#include "../../../framework/Controls.h"
#include "../../../framework/View.h"

class DisplayImage;

class XNotepadFormView : public CFormView {
    DECLARE_DYNCREATE(XNotepadFormView)
public:
    XNotepadFormView();

    CEdit noteEdit;
    int shown = 0;                   // 1 while the pane has a height
    DisplayImage* image = nullptr;   // whose note is shown

    CString NoteText() const;
    int NoteLength() const;

    void DoDataExchange(CDataExchange* dx) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnNoteChange();
    DECLARE_MESSAGE_MAP()

private:
    bool showingNote = false;   // the text is being replaced, not edited
};

// A note as the edit shows it: every line break as "\r\n".
CString NoteTextForEdit(const char* note);
// The image's note as the edit shows it; empty when it has none.
CString NoteTextForEdit(const DisplayImage& image);
