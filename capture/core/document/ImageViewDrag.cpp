// The image view's mouse loops: moving an image of a merging document, and
// dragging an image out onto the folder tree or another image window. The
// loops take mouse messages off the queue until the left button is up (or
// the view loses the mouse), and dispatch nothing.
#include "ImageView.h"

#include <cstring>
#include <string>

#include "DocumentCalls.h"
#include "DocumentFileNames.h"
#include "DocumentOperationCalls.h"
#include "ExplorerTree.h"
#include "ImageDoc.h"
#include "ImageDocLayout.h"
#include "ImageFileIO.h"
#include "Settings.h"
#include "resource.h"

namespace {

HCURSOR ProgramCursor(int id) { return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

// Waits for the next mouse message and takes it off the queue; false when
// the view no longer holds the mouse (the loop must end).
bool NextMouseMessage(HWND view, MSG& msg)
{
    for (;;) {
        if (::GetCapture() != view)
            return false;
        if (::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
            return true;
        ::WaitMessage();
    }
}

void XorFrame(HDC dc, const RECT& r)
{
    ::MoveToEx(dc, r.left, r.top, nullptr);
    ::LineTo(dc, r.right - 1, r.top);
    ::LineTo(dc, r.right - 1, r.bottom - 1);
    ::LineTo(dc, r.left, r.bottom - 1);
    ::LineTo(dc, r.left, r.top);
}

bool ConfirmReplaceFile(const char* path)
{
    CString text(path);
    CString question;
    question.LoadString(IDS_ASK_REPLACE_FILE);
    text += question;
    return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool FileExists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void SetSavePath(const std::string& path) { lstrcpynA(FileNameSave, path.c_str(), sizeof FileNameSave); }

// Writes the image of doc to FileNameSave in the Format value 2 type; true
// when written (the document then names the file).
bool WriteDraggedImage(XImageDoc* doc, DisplayImage& image)
{
    doc->StoreNoteText();
    if (!ExportImageTellingOfNote(image))
        return false;
    doc->SetSavedName(FileNameSave);
    return true;
}

// The image released over a file item: that file is replaced, on Yes.
void DropOnFile(XImageDoc* doc, DisplayImage& image, HWND tree, HTREEITEM item)
{
    if (!ConfirmReplaceFile(FileNameSave))
        return;
    Format[kFormatSaveAs] = FormatIndexFromExtension(FileNameSave);
    if (WriteDraggedImage(doc, image))
        SelectExplorerItem(tree, item);
}

// The image released over a folder item: a file image keeps its name there,
// any other image is named through the Save As dialog.
void DropOnFolder(XImageDoc* doc, DisplayImage& image, HWND tree, HTREEITEM folder, const std::string& folderPath)
{
    const std::string ownName = FileNamePart(static_cast<LPCSTR>(image.name));
    const int ownFormat = FormatIndexFromExtension(ownName);
    std::string path;
    if (image.status == kStatusLoadedFromFile && ownFormat != 0) {
        path = folderPath + "\\" + ownName;
        SetSavePath(path);
        Format[kFormatSaveAs] = ownFormat;
        if (FileExists(path.c_str())) {
            if (!ConfirmReplaceFile(path.c_str()))
                return;
        } else {
            InsertFileItemThroughExplorer(folder, ownName.c_str());
        }
    } else {
        if (!RunSaveAsDialog((folderPath + "\\").c_str()))
            return;
        path = FileNameSave;
        if (!FileExists(path.c_str()))
            InsertFileItemThroughExplorer(folder, FileNamePart(path).c_str());
    }
    if (!WriteDraggedImage(doc, image))
        return;
    if (HTREEITEM item = FindChildItem(tree, folder, FileNamePart(path).c_str()))
        SelectExplorerItem(tree, item);
}

}  // namespace

void XImageView::PickAndMoveImage(CPoint point)
{
    XImageDoc* doc = GetImageDoc();
    CPoint scroll = GetScrollPosition();
    const int x = point.x + scroll.x - SendtoPage[kSendtoMarginX];
    const int y = point.y + scroll.y - SendtoPage[kSendtoMarginY];
    std::vector<DisplayImage*>& images = doc->images;
    size_t hit = images.size();
    while (hit > 0 && !RectContains(images[hit - 1]->placement, x, y))
        --hit;
    if (hit == 0)
        return;
    DisplayImage* image = images[hit - 1];
    DisplayImage* oldTop = images.back();
    oldTop->borderShown = 0;
    RedrawTopImage();
    images.erase(images.begin() + static_cast<std::ptrdiff_t>(hit - 1));
    images.push_back(image);
    doc->NotepadFollowsFirstImage();
    image->borderShown = 1;
    RedrawTopImage();
    if (::GetKeyState(VK_CONTROL) < 0) {
        DragImageOut();
        return;
    }
    const ImageRect before = image->placement;
    MoveImageOutline(image->placement);
    if (std::memcmp(&before, &image->placement, sizeof before) == 0)
        return;
    const int dx = image->placement.left < 0 ? -image->placement.left : 0;
    const int dy = image->placement.top < 0 ? -image->placement.top : 0;
    if (dx || dy) {
        for (DisplayImage* each : images)
            OffsetPlacement(each->placement, dx, dy);
        Invalidate();
    }
    doc->UpdateCanvasSize();
    UpdateScrollSizes();
    CRect oldRect = CanvasToClient(before);
    CRect newRect = CanvasToClient(image->placement);
    InvalidateRect(&oldRect, TRUE);
    InvalidateRect(&newRect, TRUE);
}

void XImageView::MoveImageOutline(RECT& rect)
{
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    ::ClipCursor(&client);
    SetCapture();
    CClientDC dc(this);
    PrepareImageDC(&dc);
    HPEN pen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc.GetSafeHdc(), pen);
    const int oldMode = ::SetROP2(dc.GetSafeHdc(), R2_NOTXORPEN);
    HCURSOR moving = ProgramCursor(IDC_CURSOR_MOVE_IMAGE);
    XorFrame(dc.GetSafeHdc(), rect);
    ::SetCursor(moving);
    POINT last;
    ::GetCursorPos(&last);
    MSG msg;
    while (NextMouseMessage(m_hWnd, msg)) {
        XorFrame(dc.GetSafeHdc(), rect);
        ::SetCursor(moving);
        if (msg.message == WM_LBUTTONUP)
            break;
        POINT now;
        ::GetCursorPos(&now);
        OffsetPlacement(rect, now.x - last.x, now.y - last.y);
        last = now;
        XorFrame(dc.GetSafeHdc(), rect);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    ::SetROP2(dc.GetSafeHdc(), oldMode);
    ::SelectObject(dc.GetSafeHdc(), oldPen);
    ::DeleteObject(pen);
    ::ClipCursor(nullptr);
}

void XImageView::DragImageOut()
{
    XImageDoc* doc = GetImageDoc();
    DisplayImage* image = GetTopImage();
    if (!doc || !image)
        return;
    HWND tree = GetExplorerTree();
    SetCapture();
    ::SetCursor(ProgramCursor(IDC_CURSOR_DRAG_IMAGE));
    HWND released = nullptr;
    HTREEITEM treeItem = nullptr;
    MSG msg;
    bool dropped = false;
    while (NextMouseMessage(m_hWnd, msg)) {
        POINT at;
        ::GetCursorPos(&at);
        HWND under = ::WindowFromPoint(at);
        if (msg.message == WM_LBUTTONUP) {
            released = under;
            dropped = true;
            break;
        }
        treeItem = nullptr;
        if (DYNAMIC_DOWNCAST(XImageView, CWnd::FromHandlePermanent(under))) {
            ::SetCursor(ProgramCursor(IDC_CURSOR_DRAG_IMAGE));
        } else if (tree && under == tree) {
            ::SetCursor(ProgramCursor(IDC_CURSOR_DROP_TREE));
            TVHITTESTINFO hit = {};
            hit.pt = at;
            ::ScreenToClient(tree, &hit.pt);
            treeItem = TreeView_HitTest(tree, &hit);
            if (treeItem && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)))
                TreeView_SelectDropTarget(tree, treeItem);
            else
                treeItem = nullptr;
        } else {
            ::SetCursor(ProgramCursor(IDC_CURSOR_NO_DROP));
        }
    }
    if (dropped && tree && released == tree) {
        POINT at;
        ::GetCursorPos(&at);
        TVHITTESTINFO hit = {};
        hit.pt = at;
        ::ScreenToClient(tree, &hit.pt);
        treeItem = TreeView_HitTest(tree, &hit);
        if (!(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)))
            treeItem = nullptr;
    } else {
        treeItem = nullptr;
    }
    PostMessage(WM_LBUTTONUP);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    if (!dropped)
        return;

    if (treeItem) {
        const std::string target = ExplorerItemPath(tree, treeItem);
        SetSavePath(target);
        if (IsFileItem(tree, treeItem))
            DropOnFile(doc, *image, tree, treeItem);
        else
            DropOnFolder(doc, *image, tree, treeItem, target);
        return;
    }
    if (tree)
        TreeView_SelectDropTarget(tree, TreeView_GetSelection(tree));
    XImageView* target = DYNAMIC_DOWNCAST(XImageView, CWnd::FromHandlePermanent(released));
    if (target && target != this && target->GetImageDoc())
        target->GetImageDoc()->AddImageCopy(*image);
}
