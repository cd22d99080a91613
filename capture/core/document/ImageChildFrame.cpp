#include "ImageChildFrame.h"

#include "DisplayImage.h"
#include "ExplorerTree.h"
#include "ImageDoc.h"
#include "ImageView.h"
#include "NotepadForm.h"
#include "Settings.h"

IMPLEMENT_DYNCREATE(XImageMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(XImageMDIChildWnd, CMDIChildWnd)
    ON_WM_SETFOCUS()
    ON_WM_MDIACTIVATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL XImageMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (!splitter.CreateStatic(this, 2, 1))
        return FALSE;
    if (!splitter.CreateView(0, 0, RUNTIME_CLASS(XImageView), CSize(0, 0), context) ||
        !splitter.CreateView(1, 0, RUNTIME_CLASS(XNotepadFormView), CSize(0, 0), context))
        return FALSE;
    // The image takes the whole height: the notepad waits below, out of
    // view, until it is opened or the bar is dragged up.
    splitter.SetRowInfo(0, ScreenHeight, 0);
    return TRUE;
}

XImageView* XImageMDIChildWnd::ImageView() const
{
    return splitter.m_hWnd ? DYNAMIC_DOWNCAST(XImageView, splitter.GetPane(0, 0)) : nullptr;
}

XNotepadFormView* XImageMDIChildWnd::NotepadView() const
{
    return splitter.m_hWnd ? DYNAMIC_DOWNCAST(XNotepadFormView, splitter.GetPane(1, 0)) : nullptr;
}

// The focus goes once to where it ends: handing it to the active view first
// and moving it on again made the folder tree (where the image view passes
// it on) lose it twice, and Wine's tree repaints itself at once each time.
void XImageMDIChildWnd::OnSetFocus(CWnd* oldWnd)
{
    XImageView* view = ImageView();
    XNotepadFormView* notepad = NotepadView();
    if (view)
        view->Invalidate(FALSE);
    if (notepad && notepad->shown && notepad->noteEdit.m_hWnd)
        notepad->noteEdit.SetFocus();
    else if (view)
        view->SetFocus();
    else
        CMDIChildWnd::OnSetFocus(oldWnd);
}

void XImageMDIChildWnd::OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated)
{
    CMDIChildWnd::OnMDIActivate(activate, activated, deactivated);
    if (!activate || ExplorerBusyOpening())
        return;
    XImageDoc* doc = DYNAMIC_DOWNCAST(XImageDoc, GetActiveDocument());
    DisplayImage* image = doc ? doc->FirstImage() : nullptr;
    if (image && image->status == kStatusLoadedFromFile)
        SelectFileInExplorer(image->name);
    else
        SelectExplorerFolder();
}

void XImageMDIChildWnd::OnDestroy()
{
    CMDIChildWnd::OnDestroy();
    if (OpenImageDocuments == 1)
        SelectExplorerFolder();
}

XImageMDIChildWnd* GetActiveImageChildFrame()
{
    CMDIFrameWnd* main = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    return main ? DYNAMIC_DOWNCAST(XImageMDIChildWnd, main->MDIGetActive()) : nullptr;
}

CSplitterWnd* GetActiveSplitter()
{
    XImageMDIChildWnd* child = GetActiveImageChildFrame();
    return child ? &child->splitter : nullptr;
}

XImageView* GetActiveImageView()
{
    XImageMDIChildWnd* child = GetActiveImageChildFrame();
    return child ? child->ImageView() : nullptr;
}

XNotepadFormView* GetActiveNotepadView()
{
    XImageMDIChildWnd* child = GetActiveImageChildFrame();
    return child ? child->NotepadView() : nullptr;
}
