// Images to and from the system clipboard.
#include <vector>

#include "../../../formats/DibHelpers.h"
#include "ClipboardImage.h"
#include "ImageNotify.h"
#include "WorkImage.h"

namespace {

// Puts data of format on the emptied clipboard with a copy of the image's
// palette. The data is made before the clipboard is touched, so a failure
// leaves the clipboard as it was; handles the clipboard refuses are ours to
// free (release).
template <class Release>
bool PlaceOnClipboard(HWND owner, const DisplayImage& image, UINT format, HANDLE data, Release release)
{
    if (!data)
        return false;
    if (!OpenClipboard(owner)) {
        release(data);
        ShowImageMessage(kStatusCannotOpenClipboard);
        return false;
    }
    EmptyClipboard();
    bool placed = SetClipboardData(format, data) != nullptr;
    if (!placed)
        release(data);
    HPALETTE palette = CopyPalette(image.palette);
    if (palette && !SetClipboardData(CF_PALETTE, palette))
        DeleteObject(palette);
    CloseClipboard();
    return placed;
}

void FreeBlock(HANDLE block) { GlobalFree(static_cast<HGLOBAL>(block)); }
void DeleteBitmap(HANDLE bitmap) { DeleteObject(static_cast<HGDIOBJ>(bitmap)); }

HBITMAP CreateDeviceBitmap(const DisplayImage& image, HWND owner)
{
    if (!image.HasSoundBlocks())
        return nullptr;
    HDC dc = GetDC(owner);
    HPALETTE oldPalette = image.palette.GetSafeHandle() ? SelectPalette(dc, image.palette, FALSE) : nullptr;
    RealizePalette(dc);
    HBITMAP bitmap;
    {
        BlockLock header(image.hHeader), pixels(image.hPixels);
        bitmap = CreateDIBitmap(dc, header.as<BITMAPINFOHEADER>(), CBM_INIT, pixels.data(),
                                header.as<BITMAPINFO>(), DIB_RGB_COLORS);
    }
    if (oldPalette)
        SelectPalette(dc, oldPalette, FALSE);
    ReleaseDC(owner, dc);
    return bitmap;
}

} // namespace

bool CopyImageToClipboardDIB(const DisplayImage& image, HWND owner)
{
    HGLOBAL block = BuildClipboardDib(image);
    if (!block && image.HasSoundBlocks())
        ShowImageMessage(kStatusNoMemory);
    return PlaceOnClipboard(owner, image, CF_DIB, block, FreeBlock);
}

bool CopyImageToClipboardBitmap(const DisplayImage& image, HWND owner)
{
    return PlaceOnClipboard(owner, image, CF_BITMAP, CreateDeviceBitmap(image, owner), DeleteBitmap);
}

bool CopyMonoImageToClipboard(const DisplayImage& image, HWND owner)
{
    std::vector<uint8_t> rows = BuildMonochromeRows(image);
    HBITMAP bitmap = rows.empty() ? nullptr : CreateBitmap(image.width, image.height, 1, 1, rows.data());
    return PlaceOnClipboard(owner, image, CF_BITMAP, bitmap, DeleteBitmap);
}

bool PasteImageFromClipboard(DisplayImage& image)
{
    HGLOBAL block = static_cast<HGLOBAL>(GetClipboardData(CF_DIB));
    if (!block) {
        image.status = kStatusNoClipboardBitmap;
        return false;
    }
    return ReadClipboardDib(image, block);
}

bool PasteClipboardIntoWorkImage(HWND owner)
{
    if (!OpenClipboard(owner)) {
        ShowImageMessage(kStatusCannotOpenClipboard);
        return false;
    }
    if (!WorkImage)
        CreateWorkImage();
    WorkImage->Clear();
    bool pasted = PasteImageFromClipboard(*WorkImage);
    CloseClipboard();
    if (WorkImage->hPixels)
        WorkImage->status = kStatusClipboardImage;
    return pasted;
}

HPALETTE CopyPalette(HPALETTE palette)
{
    if (!palette)
        return nullptr;
    WORD count = 0;
    if (!GetObjectA(palette, sizeof count, &count) || count == 0 || count > 256)
        return nullptr;
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    LOGPALETTE* record = reinterpret_cast<LOGPALETTE*>(bytes.data());
    record->palVersion = 0x300;
    record->palNumEntries = count;
    if (GetPaletteEntries(palette, 0, count, record->palPalEntry) != count)
        return nullptr;
    return CreatePalette(record);
}
