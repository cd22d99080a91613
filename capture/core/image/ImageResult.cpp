#include "ImageResult.h"

#include <cstring>

void BeginResult(DisplayImage& result, const DisplayImage& source)
{
    result.CopyAttributesFrom(source);
    result.hPixels = 0;
    result.hHeader = 0;
}

void AbandonResult(DisplayImage& result, int32_t status)
{
    result.FreeBlocks();
    result.status = status;
}

bool AllocateResultPixels(DisplayImage& result)
{
    uint32_t bytes = result.GetBitsSize();
    result.hPixels = bytes ? GlobalAlloc(GHND, bytes) : 0;
    if (!result.hPixels) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    return true;
}

bool AllocateResultPixelsToOverwrite(DisplayImage& result)
{
    const int depth = result.bitCount;
    if (depth != 8 && depth != 24)
        return AllocateResultPixels(result);
    const uint32_t bytes = result.GetBitsSize();
    result.hPixels = bytes ? GlobalAlloc(GMEM_MOVEABLE, bytes) : 0;
    if (!result.hPixels) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    const uint32_t stride = result.GetRowStride();
    const uint32_t used = uint32_t(result.width) * uint32_t(depth / 8);
    if (used < stride) {
        BlockLock pixels(result.hPixels);
        for (int32_t y = 0; y < result.height; ++y)
            memset(pixels.data() + size_t(y) * stride + used, 0, stride - used);
    }
    return true;
}

bool CopyResultHeader(DisplayImage& result, const DisplayImage& source)
{
    result.hHeader = DuplicateGlobalBlock(source.hHeader, source.GetHeaderSize());
    if (!result.hHeader) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    return true;
}

bool CreateResultHeader(DisplayImage& result)
{
    if (!result.CreateHeader()) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    return true;
}

void UpdateHeaderSize(DisplayImage& image)
{
    BlockLock header(image.hHeader);
    DibHeader* info = header.as<DibHeader>();
    info->width = image.width;
    info->height = image.height;
    info->sizeImage = image.GetBitsSize();
}
