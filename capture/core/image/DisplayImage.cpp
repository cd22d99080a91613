// DisplayImage: construction, hand-overs, headers and sizes.
#include "DisplayImage.h"

#include "../../../formats/DibHelpers.h"
#include "Settings.h"

DisplayImage::DisplayImage() = default;

DisplayImage::~DisplayImage()
{
    // The palette and bitmap objects delete their own handles. The header is
    // freed with the pixels only: an image whose pixels went away may still
    // name a header another image owns. The display pair is never shared,
    // so its header goes even when the dithered copy could not be made.
    if (hPixels) {
        GlobalFree(hPixels);
        if (hHeader)
            GlobalFree(hHeader);
    }
    if (hDisplayPixels)
        GlobalFree(hDisplayPixels);
    if (hDisplayHeader)
        GlobalFree(hDisplayHeader);
    if (hNote)
        GlobalFree(hNote);
}

void DisplayImage::CopyAttributesFrom(const DisplayImage& source)
{
    width = source.width;
    height = source.height;
    bitCount = source.bitCount;
    hPixels = source.hPixels;
    hHeader = source.hHeader;
    timeStamp = source.timeStamp;
    status = source.status;
    placement = source.placement;
    selection = source.selection;
    hDisplayPixels = 0;
    hDisplayHeader = 0;
    colorCount = 0;
    selectionShown = 0;
    borderShown = 0;
}

bool DisplayImage::CreateHeader()
{
    HGLOBAL block = AllocateDibHeader(width, height, bitCount);
    if (!block)
        return false;
    hHeader = block;
    return true;
}

void DisplayImage::Clear()
{
    width = 0;
    height = 0;
    bitCount = 0;
    hPixels = 0;
    hHeader = 0;
    hDisplayPixels = 0;
    colorCount = 0;
    selectionShown = 0;
    timeStamp = 0;
    status = 0;
    placement = {0, 0, 0, 0};
    selection = {0, 0, 0, 0};
}

void DisplayImage::FreeBlocks()
{
    for (HGLOBAL* block : {&hPixels, &hHeader, &hDisplayPixels, &hDisplayHeader}) {
        if (*block)
            GlobalFree(*block);
        *block = 0;
    }
}

uint32_t DisplayImage::GetPaletteSize() const { return GetPaletteEntryCount(bitCount); }

uint32_t DisplayImage::GetHeaderSize() const { return GetDibHeaderSize(bitCount); }

uint32_t DisplayImage::GetRowStride() const
{
    uint32_t rowBytes = 0;
    return CheckedDibRowBytes(width, bitCount, &rowBytes) ? rowBytes : 0;
}

uint32_t DisplayImage::GetBitsSize() const
{
    uint32_t imageBytes = 0;
    return CheckedDibImageSize(width, height, bitCount, &imageBytes) ? imageBytes : 0;
}

bool DisplayImage::HasSoundBlocks() const
{
    uint32_t bitsBytes = GetBitsSize();
    return bitsBytes != 0 && hPixels && hHeader && GlobalSize(hPixels) >= bitsBytes &&
           GlobalSize(hHeader) >= GetHeaderSize();
}

void DisplayImage::CreateDefaultColorTable(PaletteRgb* out, int count) const
{
    if (ScreenColorCount == 2) {
        if (count > 0)
            out[0] = {0, 0, 0, 0};
        if (count > 1)
            out[1] = {255, 255, 255, 0};
        return;
    }
    int entries = ScreenColorCount < count ? ScreenColorCount : count;
    if (entries > 16)
        entries = 16;
    for (int i = 0; i < entries; ++i) {
        const DibColor& c = kStandard16Colors[i];
        out[i] = {c.red, c.green, c.blue, 0};
    }
}
