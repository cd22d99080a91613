#include "SidePicture.h"

#include <vector>

HPALETTE MakePictureTablePalette(const BITMAPINFOHEADER* header, size_t headerBlockSize)
{
    if (!header || headerBlockSize < sizeof(BITMAPINFOHEADER) || header->biBitCount > 8 || header->biBitCount == 0)
        return nullptr;
    size_t count = size_t(1) << header->biBitCount;
    size_t held = (headerBlockSize - header->biSize) / sizeof(RGBQUAD);
    if (header->biSize > headerBlockSize)
        held = 0;
    if (count > held)
        count = held;
    if (count == 0)
        return nullptr;
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    for (size_t i = 0; i < count; ++i)
        palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    return ::CreatePalette(palette);
}

void SidePicture::Load(const char* path)
{
    Free();
    if (const ImageRecord* read = ImportImageFile(path))
        record_ = *read;
    if (record_.error) {
        Free();
        return;
    }
    if (IsEmpty())
        return;
    const void* info = ::GlobalLock(record_.hInfo);
    palette_ = MakePictureTablePalette(static_cast<const BITMAPINFOHEADER*>(info), ::GlobalSize(record_.hInfo));
    ::GlobalUnlock(record_.hInfo);
}

void SidePicture::Free()
{
    if (record_.hBits)
        ::GlobalFree(record_.hBits);
    if (record_.hInfo)
        ::GlobalFree(record_.hInfo);
    if (record_.hNote)
        ::GlobalFree(record_.hNote);
    record_ = ImageRecord{};
    if (palette_)
        ::DeleteObject(palette_);
    palette_ = nullptr;
}

void SidePicture::Draw(HDC dc, int x, int y) const
{
    if (IsEmpty())
        return;
    HPALETTE old = palette_ ? ::SelectPalette(dc, palette_, FALSE) : nullptr;
    if (palette_)
        ::RealizePalette(dc);
    const void* bits = ::GlobalLock(record_.hBits);
    const auto* info = static_cast<const BITMAPINFO*>(::GlobalLock(record_.hInfo));
    if (bits && info)
        ::SetDIBitsToDevice(dc, x, y, record_.width, record_.height, 0, 0, 0, record_.height, bits, info,
                            DIB_RGB_COLORS);
    ::GlobalUnlock(record_.hInfo);
    ::GlobalUnlock(record_.hBits);
    if (old)
        ::SelectPalette(dc, old, FALSE);
}
