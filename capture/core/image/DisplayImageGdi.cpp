// DisplayImage: device bitmaps, palettes and drawing.
#include <vector>

#include "../../../formats/DibHelpers.h"
#include "DisplayImage.h"
#include "Settings.h"

namespace {

// A logical palette record of count entries (count at most 256).
class PaletteRecord {
public:
    explicit PaletteRecord(int count)
        : bytes_(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (count > 0 ? count : 1))
    {
        record()->palVersion = 0x300;
        record()->palNumEntries = static_cast<WORD>(count);
    }
    LOGPALETTE* record() { return reinterpret_cast<LOGPALETTE*>(bytes_.data()); }
    PALETTEENTRY* entries() { return record()->palPalEntry; }

private:
    std::vector<BYTE> bytes_;
};

// Draws the outline of r with the dotted not-xor pen: drawn twice, it is gone.
void TraceDottedOutline(HDC dc, const RECT& r)
{
    HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    int oldMode = SetROP2(dc, R2_NOTXORPEN);
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right - 1, r.top);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left, r.bottom - 1);
    LineTo(dc, r.left, r.top);
    SetROP2(dc, oldMode);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void AttachPaletteOrStock(DisplayPalette& palette, LOGPALETTE* record)
{
    if (!palette.Attach(CreatePalette(record)))
        palette.Attach(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
}

} // namespace

bool DisplayImage::CreateCaptureHeader()
{
    if (bitCount > 8)
        bitCount = 24;
    if (!CreateHeader())
        return false;
    const int count = static_cast<int>(GetPaletteSize());
    if (count == 0)
        return true;

    PaletteRecord palette(count);
    bool filled = false;
    if (ScreenDepth > 7) {
        HDC screen = GetDC(nullptr);
        filled = GetSystemPaletteEntries(screen, 0, count, palette.entries()) == UINT(count);
        ReleaseDC(nullptr, screen);
    }
    // A screen without a system palette reports none: its default colours
    // stand in.
    if (!filled)
        CreateDefaultColorTable(palette.entries(), count);
    BlockLock header(hHeader);
    DibColor* table = reinterpret_cast<DibColor*>(header.data() + 40);
    for (int i = 0; i < count; ++i) {
        const PALETTEENTRY& e = palette.entries()[i];
        table[i] = {e.peBlue, e.peGreen, e.peRed, 0};
    }
    return true;
}

void DisplayImage::ConvertBitmapToDib()
{
    const uint32_t bytes = GetBitsSize();
    // GetDIBits fills every pixel; only the pad bytes at the row ends, which
    // it may leave alone, need zeros first.
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * bitCount + 7) / 8;
    const UINT flags = rowBytes == GetRowStride() ? GMEM_MOVEABLE : GHND;
    hPixels = bytes ? GlobalAlloc(flags, bytes) : 0;
    HGLOBAL scratchHeader = hPixels ? DuplicateGlobalBlock(hHeader, GetHeaderSize()) : 0;
    if (!scratchHeader || !bitmap.GetSafeHandle()) {
        // No pixels to show for it: the caller reports "Insufficient memory!".
        if (hPixels)
            GlobalFree(hPixels);
        hPixels = 0;
        if (scratchHeader)
            GlobalFree(scratchHeader);
        status = kStatusNoMemory;
        return;
    }
    CreatePaletteFromColors();
    HDC screen = GetDC(nullptr);
    HPALETTE oldPalette = palette.GetSafeHandle() ? SelectPalette(screen, palette, FALSE) : nullptr;
    RealizePalette(screen);
    int rows;
    {
        BlockLock pixels(hPixels), info(scratchHeader);
        rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), info.as<BITMAPINFO>(), DIB_RGB_COLORS);
    }
    // GetDIBits may rewrite the header it is given: the image keeps its own.
    GlobalFree(scratchHeader);
    if (oldPalette)
        SelectPalette(screen, oldPalette, FALSE);
    ReleaseDC(nullptr, screen);
    palette.DeleteObject();
    if (rows != height) {
        GlobalFree(hPixels);
        hPixels = 0;
        status = kStatusNoMemory;
    }
}

void DisplayImage::CreatePaletteFromColors()
{
    const int count = static_cast<int>(GetPaletteSize());
    if (count == 0)
        return;
    PaletteRecord record(count);
    if (hHeader && GlobalSize(hHeader) >= GetHeaderSize()) {
        BlockLock header(hHeader);
        const DibColor* table = reinterpret_cast<const DibColor*>(header.data() + 40);
        for (int i = 0; i < count; ++i)
            record.entries()[i] = {table[i].red, table[i].green, table[i].blue, 0};
    }
    AttachPaletteOrStock(palette, record.record());
}

void DisplayImage::PrepareForDisplay()
{
    colorCount = 0;
    selectionShown = 0;
    borderShown = 0;
    // A display pair of an earlier call goes: it is made afresh below.
    for (HGLOBAL* block : {&hDisplayPixels, &hDisplayHeader}) {
        if (*block)
            GlobalFree(*block);
        *block = 0;
    }
    selection = {0, 0, width, height};
    if (bitCount < 9 || ScreenDepth >= 15) {
        CreatePaletteFromColors();
    } else {
        DitherTo8Bit();
        CreateHalftonePalette();
    }
}

void DisplayImage::CreateHalftonePalette()
{
    BuildHalftoneDisplayHeader();
    PaletteRecord record(kHalftoneEntryCount);
    for (int i = 0; i < kHalftoneEntryCount; ++i)
        record.entries()[i] = HalftonePaletteEntry(i);
    AttachPaletteOrStock(palette, record.record());
}

void DisplayImage::Draw(HDC dc)
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    HPALETTE oldPalette = palette.GetSafeHandle() ? SelectPalette(dc, palette, FALSE) : nullptr;
    RealizePalette(dc);

    // Deep images on shallow screens show their dithered copy when there is
    // one; without it the pixels themselves are drawn.
    const bool ownPixels = bitCount < 9 || ScreenDepth >= 15 || !hDisplayPixels || !hDisplayHeader;
    if (HasSoundBlocks()) {
        BlockLock pixels(ownPixels ? hPixels : hDisplayPixels);
        BlockLock header(ownPixels ? hHeader : hDisplayHeader);
        SetDIBitsToDevice(dc, placement.left, placement.top, width, height, 0, 0, 0, height, pixels.data(),
                          header.as<BITMAPINFO>(), DIB_RGB_COLORS);
    }
    if (selectionShown) {
        if (Session[kSessionInvertSelection])
            PatBlt(dc, selection.left + placement.left, selection.top + placement.top,
                   selection.right - selection.left, selection.bottom - selection.top, DSTINVERT);
        DrawSelectionFrame(dc);
    }
    if (borderShown && Session[kSessionMergeBorder])
        TraceDottedOutline(dc, placement);

    if (oldPalette)
        SelectPalette(dc, oldPalette, FALSE);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void DisplayImage::DrawSelectionFrame(HDC dc)
{
    TraceDottedOutline(dc, selection);
    const RECT& s = selection;
    PatBlt(dc, s.left - 3, s.top - 3, 8, 8, DSTINVERT);
    PatBlt(dc, s.right - 5, s.top - 3, 8, 8, DSTINVERT);
    PatBlt(dc, s.left - 3, s.bottom - 5, 8, 8, DSTINVERT);
    PatBlt(dc, s.right - 5, s.bottom - 5, 8, 8, DSTINVERT);
}
