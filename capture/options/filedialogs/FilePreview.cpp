#include "FilePreview.h"

#include <string>

#include "../../../formats/DibHelpers.h"
#include "../../../framework/Gdi.h"
#include "FileDialogRules.h"
#include "ImageFileIO.h"
#include "Settings.h"
#include "WorkImage.h"

BEGIN_MESSAGE_MAP(XWndFilePreview, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(XWndImageSizeLabel, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// The file the preview-loaded work image came from.
std::string previewedPath;

const int kOldStyleBox = 130;

bool OldStyleSystem() { return LOBYTE(LOWORD(WindowsVersion)) < 4; }

bool HasPreviewImage() { return WorkImage && WorkImage->hPixels && WorkImage->status == 0; }

void DrawSunkenFrame(HDC dc, const RECT& r)
{
    auto line = [dc](int color, int x1, int y1, int x2, int y2) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(color));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
        SelectObject(dc, old);
        DeleteObject(pen);
    };
    line(COLOR_BTNSHADOW, r.left, r.bottom - 1, r.left, r.top);
    line(COLOR_BTNSHADOW, r.left, r.top, r.right - 1, r.top);
    line(COLOR_BTNHIGHLIGHT, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    line(COLOR_BTNHIGHLIGHT, r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
    line(COLOR_WINDOWFRAME, r.left + 1, r.bottom - 2, r.left + 1, r.top + 1);
    line(COLOR_WINDOWFRAME, r.left + 1, r.top + 1, r.right - 2, r.top + 1);
    line(COLOR_BTNFACE, r.right - 2, r.top + 1, r.right - 2, r.bottom - 2);
    line(COLOR_BTNFACE, r.right - 2, r.bottom - 2, r.left + 1, r.bottom - 2);
}

void DrawPreviewImage(HDC dc, int box)
{
    DisplayImage& image = *WorkImage;
    if (!HasPreviewImage() || !image.HasSoundBlocks())
        return;
    const PreviewRect place = FitPreview(image.width, image.height, box);
    // A deep image on a palette screen shows its dithered copy.
    const bool ownPixels = image.bitCount <= 8 || ScreenBitsPerPixel > 14 || !image.hDisplayPixels ||
                           !image.hDisplayHeader;
    HPALETTE oldPalette =
        image.palette.GetSafeHandle() ? SelectPalette(dc, image.palette, FALSE) : nullptr;
    RealizePalette(dc);
    {
        BlockLock pixels(ownPixels ? image.hPixels : image.hDisplayPixels);
        BlockLock header(ownPixels ? image.hHeader : image.hDisplayHeader);
        if (pixels.data() && header.data()) {
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, place.x, place.y, place.width, place.height, 0, 0, image.width, image.height,
                          pixels.data(), header.as<BITMAPINFO>(), DIB_RGB_COLORS, SRCCOPY);
        }
    }
    if (oldPalette)
        SelectPalette(dc, oldPalette, FALSE);
}

}  // namespace

bool LoadPreview(const char* path)
{
    if (PreviewLoaded && lstrcmpiA(previewedPath.c_str(), path) == 0)
        return HasPreviewImage();
    // The work image is empty between operations; a previous preview, or
    // anything left in it, makes way.
    if (PreviewLoaded || !WorkImage || WorkImage->hPixels)
        CreateWorkImage();
    // Marked before reading: a selection change arriving while the library's
    // message box is up finds this file's preview under way and reads
    // nothing again.
    previewedPath = path;
    PreviewLoaded = 1;
    LoadImageFile(WorkImage, path);
    if (!HasPreviewImage())
        return false;
    WorkImage->PrepareForDisplay();
    return true;
}

void DiscardPreview()
{
    if (!PreviewLoaded)
        return;
    CreateWorkImage();
    PreviewLoaded = 0;
    previewedPath.clear();
}

void KeepPreviewOnlyFor(const char* path)
{
    if (PreviewLoaded && lstrcmpiA(previewedPath.c_str(), path) != 0)
        DiscardPreview();
}

CString PreviewSizeText()
{
    if (!HasPreviewImage())
        return CString();
    char text[48];
    wsprintfA(text, "%dw x %dh", static_cast<int>(WorkImage->width), static_cast<int>(WorkImage->height));
    return CString(text);
}

void XWndFilePreview::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT area;
    GetClientRect(&area);
    int box;
    if (OldStyleSystem()) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawSunkenFrame(dc, area);
        box = kOldStyleBox;
    } else {
        // The pane's own black frame stays around the white box.
        FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&area, -1, -1);
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        box = area.right - area.left - 4;
    }
    if (PreviewLoaded)
        DrawPreviewImage(dc, box);
    ::EndPaint(m_hWnd, &paint);
}

void XWndImageSizeLabel::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT area;
    GetClientRect(&area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const CString text = PreviewLoaded ? PreviewSizeText() : CString();
    if (!text.IsEmpty()) {
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, text, text.GetLength(), &area, DT_CENTER | DT_TOP | DT_SINGLELINE);
        SelectObject(dc, oldFont);
    }
    ::EndPaint(m_hWnd, &paint);
}
