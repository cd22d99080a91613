#include "NotepadForm.h"

#include <algorithm>

#include "../../../framework/DataExchange.h"
#include "../../../framework/DocTemplate.h"
#include "../../../formats/DibHelpers.h"
#include "DisplayImage.h"
#include "ImageDoc.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(XNotepadFormView, CFormView)

BEGIN_MESSAGE_MAP(XNotepadFormView, CFormView)
    ON_WM_SIZE()
    ON_EN_CHANGE(IDC_NOTE_EDIT, OnNoteChange)
END_MESSAGE_MAP()

namespace {

const int kEditMargin = 5;

}  // namespace

CString NoteTextForEdit(const char* note)
{
    CString text;
    for (const char* at = note; *at; ++at) {
        if (*at == '\n' && (at == note || at[-1] != '\r'))
            text += '\r';
        text += *at;
    }
    return text;
}

CString NoteTextForEdit(const DisplayImage& image)
{
    if (!image.hNote)
        return CString();
    BlockLock note(image.hNote);
    return note.data() ? NoteTextForEdit(reinterpret_cast<const char*>(note.data())) : CString();
}

XNotepadFormView::XNotepadFormView() : CFormView(IDD_NOTEPAD_FORM) {}

CString XNotepadFormView::NoteText() const
{
    CString text;
    if (noteEdit.m_hWnd)
        noteEdit.GetWindowText(text);
    return text;
}

int XNotepadFormView::NoteLength() const { return noteEdit.m_hWnd ? noteEdit.GetWindowTextLength() : 0; }

void XNotepadFormView::DoDataExchange(CDataExchange* dx)
{
    CFormView::DoDataExchange(dx);
    DDX_Control(dx, IDC_NOTE_EDIT, noteEdit);
}

void XNotepadFormView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(10, 10));
    noteEdit.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kEditMargin, kEditMargin));
    // Enter starts a new line instead of pressing a default button.
    noteEdit.ModifyStyle(0, ES_WANTRETURN);
}

void XNotepadFormView::OnUpdate(CView*, LPARAM, CObject*)
{
    if (!noteEdit.m_hWnd)
        return;
    // The note shown is always the first image's.
    XImageDoc* doc = DYNAMIC_DOWNCAST(XImageDoc, GetDocument());
    if (doc && image != doc->FirstImage()) {
        doc->NotepadFollowsFirstImage();
        return;
    }
    showingNote = true;
    if (image && image->hNote) {
        noteEdit.SetWindowText(NoteTextForEdit(*image));
    } else {
        // A clear the edit's Undo can take back.
        noteEdit.SetSel(0, -1);
        noteEdit.ReplaceSel("", TRUE);
    }
    noteEdit.SetModify(FALSE);
    showingNote = false;
}

void XNotepadFormView::OnSize(UINT type, int cx, int cy)
{
    CFormView::OnSize(type, cx, cy);
    if (!noteEdit.m_hWnd)
        return;
    CRect rect;
    noteEdit.GetWindowRect(&rect);
    ScreenToClient(&rect);
    noteEdit.MoveWindow(rect.left, rect.top, std::max(0, cx - static_cast<int>(rect.left) - kEditMargin),
                        std::max(0, cy - static_cast<int>(rect.top) - kEditMargin));
    shown = cy > 0 ? 1 : 0;
    if (shown)
        noteEdit.SetFocus();
}

void XNotepadFormView::OnNoteChange()
{
    if (showingNote)
        return;
    if (XImageDoc* doc = DYNAMIC_DOWNCAST(XImageDoc, GetDocument()))
        doc->OnNoteEdited();
}
