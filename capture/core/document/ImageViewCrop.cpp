// The image view's cropping lines and colour picking: the selection's
// corners dragged with the mouse, its edges moved by keys, the colour under
// the cursor and the colour change.
#include "ImageView.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "AppServices.h"
#include "DocumentCalls.h"
#include "ImageCrop.h"
#include "ImageDoc.h"
#include "Settings.h"
#include "WorkImage.h"
#include "resource.h"

namespace {

// The image point under a client point: the margins and the scroll
// position taken off.
CPoint ImagePointOf(CPoint client, CPoint scroll)
{
    return CPoint(client.x + scroll.x - SendtoPage[kSendtoMarginX], client.y + scroll.y - SendtoPage[kSendtoMarginY]);
}

void InvertRect(HDC dc, const RECT& r)
{
    if (r.right > r.left && r.bottom > r.top)
        ::PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
}

CropKey CropKeyOf(UINT key, bool& known)
{
    known = true;
    switch (key) {
    case VK_LEFT: return kCropKeyLeft;
    case VK_UP: return kCropKeyUp;
    case VK_RIGHT: return kCropKeyRight;
    case VK_DOWN: return kCropKeyDown;
    case 'I': return kCropKeyInward;
    case 'O': return kCropKeyOutward;
    }
    known = false;
    return kCropKeyLeft;
}

// The last colour chosen in the colour dialog, offered the next time.
COLORREF LastChosenColor = RGB(0, 0, 0);

} // namespace

void XImageView::ClipCursorToClient()
{
    DisplayImage* image = GetTopImage();
    if (!image)
        return;
    const CPoint scroll = GetScrollPosition();
    const int mx = SendtoPage[kSendtoMarginX], my = SendtoPage[kSendtoMarginY];
    CRect client;
    GetClientRect(&client);
    CRect clip;
    clip.left = scroll.x <= mx ? mx : 0;
    clip.right = scroll.x <= mx ? image->width + mx : image->width - (scroll.x - mx);
    clip.top = scroll.y <= my ? my : 0;
    clip.bottom = scroll.y <= my ? image->height + my : image->height - (scroll.y - my);
    clip.right = std::min(clip.right, client.right);
    clip.bottom = std::min(clip.bottom, client.bottom);
    ClientToScreen(&clip);
    ::ClipCursor(&clip);
}

void XImageView::DragCropLine(CPoint point)
{
    DisplayImage* image = GetTopImage();
    if (!image || !image->selectionShown)
        return;
    const CPoint start = ImagePointOf(point, GetScrollPosition());
    const int corner = HitCropCorner(image->selection, start.x, start.y);
    if (!corner)
        return;
    int32_t anchorX, anchorY;
    CropAnchor(image->selection, corner, anchorX, anchorY);
    ClipCursorToClient();
    SetCapture();
    CClientDC dc(this);
    PrepareImageDC(&dc);
    const HDC hdc = dc.GetSafeHdc();
    for (;;) {
        MSG message;
        ::WaitMessage();
        // A drag ends when the button is up or the mouse is taken away.
        if (::GetCapture() != m_hWnd)
            break;
        if (!::PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MBUTTONDBLCLK, PM_REMOVE))
            continue;
        if (message.message == WM_LBUTTONUP)
            break;
        image->DrawSelectionFrame(hdc);
        CPoint cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        CPoint p = ImagePointOf(cursor, GetScrollPosition());
        p.x = std::max<LONG>(0, std::min<LONG>(p.x, image->width));
        p.y = std::max<LONG>(0, std::min<LONG>(p.y, image->height));
        const ImageRect moved = SpanRect(anchorX, anchorY, p.x, p.y);
        if (Session[kSessionInvertSelection]) {
            // Inverting the old and the new area leaves exactly the new one
            // inverted, whichever way the corner went.
            InvertRect(hdc, image->selection);
            InvertRect(hdc, moved);
        }
        image->selection = moved;
        image->DrawSelectionFrame(hdc);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::ClipCursor(nullptr);
}

bool XImageView::NudgeCropLines(UINT key)
{
    DisplayImage* image = GetTopImage();
    bool known = false;
    const CropKey cropKey = CropKeyOf(key, known);
    if (!image || !known)
        return false;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    CClientDC dc(this);
    PrepareImageDC(&dc);
    const HDC hdc = dc.GetSafeHdc();
    image->DrawSelectionFrame(hdc);
    std::vector<ImageRect> strips;
    NudgeSelection(image->selection, cropKey, shift, image->width, image->height, &strips);
    if (Session[kSessionInvertSelection])
        for (const ImageRect& strip : strips)
            InvertRect(hdc, strip);
    image->DrawSelectionFrame(hdc);
    return true;
}

COLORREF XImageView::PickColorAtCursor()
{
    DisplayImage* image = GetTopImage();
    if (!image)
        return 0;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    const CPoint p = ImagePointOf(cursor, GetScrollPosition());
    const COLORREF color = ColorAtPoint(*image, p.x, p.y);
    return color == kNoColor ? 0 : color;
}

bool XImageView::ChangeColor(COLORREF color)
{
    DisplayImage* image = GetTopImage();
    if (!image)
        return false;
    static COLORREF custom[16];
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainFrameWindow();
    dialog.rgbResult = LastChosenColor;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!::ChooseColorA(&dialog))
        return false;
    LastChosenColor = dialog.rgbResult;
    if (dialog.rgbResult == color) {
        ShowStringMessage(kStatusNoColorChange);
        return false;
    }
    if (ChangeImageColor(*WorkImage, *image, color, dialog.rgbResult))
        return true;
    if (WorkImage->status)
        ShowStringMessage(WorkImage->status);
    WorkImage->status = 0;
    return false;
}
