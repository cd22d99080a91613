// The merge's flattening, row by row into a 24-bit canvas.
#include "ImageMerge.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "ColorOps.h"
#include "ImageNotify.h"
#include "ImageResult.h"
#include "PixelAccess.h"

namespace {

bool IsMergeable(const DisplayImage* image)
{
    if (!image)
        return false;
    const int depth = image->bitCount;
    return (depth == 1 || depth == 4 || depth == 8 || depth == 24) && image->HasSoundBlocks();
}

struct Canvas {
    int64_t left = 1000, top = 1000, right = 0, bottom = 0;
};

Canvas CanvasOf(DisplayImage* const* images, int count)
{
    Canvas canvas;
    for (int i = 0; i < count; ++i) {
        if (!IsMergeable(images[i]))
            continue;
        const ImageRect& p = images[i]->placement;
        canvas.left = std::min<int64_t>(canvas.left, p.left);
        canvas.top = std::min<int64_t>(canvas.top, p.top);
        canvas.right = std::max<int64_t>(canvas.right, p.right);
        canvas.bottom = std::max<int64_t>(canvas.bottom, p.bottom);
    }
    return canvas;
}

void FillBackground(DisplayImage& result, COLORREF background)
{
    const uint8_t bgr[3] = {uint8_t(background >> 16), uint8_t(background >> 8), uint8_t(background)};
    BlockLock pixels(result.hPixels);
    const uint32_t stride = result.GetRowStride();
    uint8_t* first = pixels.data();
    for (int32_t x = 0; x < result.width; ++x)
        memcpy(first + 3 * size_t(x), bgr, 3);
    for (int32_t y = 1; y < result.height; ++y)
        memcpy(first + size_t(y) * stride, first, stride);
}

// Paints one image at its placement; rows and columns off the canvas are
// left out.
void PaintImage(DisplayImage& result, const DisplayImage& image, const Canvas& canvas, bool reportProgress)
{
    BlockLock from(image.hPixels), header(image.hHeader), to(result.hPixels);
    const DibColor* table = image.bitCount <= 8 ? ColorTableOf(header) : nullptr;
    const uint32_t inStride = image.GetRowStride(), outStride = result.GetRowStride();
    // Picture position of the image's top-left pixel on the canvas.
    const int64_t left = image.placement.left - canvas.left, top = image.placement.top - canvas.top;
    const int32_t firstColumn = int32_t(std::max<int64_t>(0, -left));
    const int32_t lastColumn = int32_t(std::min<int64_t>(image.width, int64_t(result.width) - left));
    for (int32_t j = 0; j < image.height; ++j) {
        if (reportProgress)
            ReportImageProgress(j, image.height);
        // Stored row j is picture row height - 1 - j of the image.
        const int64_t pictureRow = top + image.height - 1 - j;
        if (pictureRow < 0 || pictureRow >= result.height || firstColumn >= lastColumn)
            continue;
        const uint8_t* in = from.data() + size_t(j) * inStride;
        uint8_t* out = to.data() + size_t(result.height - 1 - pictureRow) * outStride + 3 * size_t(left + firstColumn);
        if (image.bitCount == 24) {
            memcpy(out, in + 3 * size_t(firstColumn), 3 * size_t(lastColumn - firstColumn));
            continue;
        }
        for (int32_t x = firstColumn; x < lastColumn; ++x, out += 3) {
            const DibColor& c = table[PixelAt(in, x, image.bitCount)];
            out[0] = c.blue;
            out[1] = c.green;
            out[2] = c.red;
        }
    }
}

} // namespace

void FlattenImages(DisplayImage& result, DisplayImage* const* images, int count, const MergeOptions& options)
{
    if (options.phaseShown)
        options.phaseShown(kMergeScanningText);
    const Canvas canvas = CanvasOf(images, count);
    const int64_t width = canvas.right - canvas.left, height = canvas.bottom - canvas.top;
    result.bitCount = 24;
    if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) {
        AbandonResult(result, kStatusNoMemory);
        return;
    }
    result.width = int32_t(width);
    result.height = int32_t(height);
    if (!AllocateResultPixels(result) || !CreateResultHeader(result))
        return;
    FillBackground(result, options.background);
    for (int i = 0; i < count; ++i)
        if (IsMergeable(images[i]))
            PaintImage(result, *images[i], canvas, options.reportProgress);
    if (options.phaseShown)
        options.phaseShown(kMergeMergingText);
    ReduceTo8BitsWhenFew(result);
    result.selection = {0, 0, result.width, result.height};
}
