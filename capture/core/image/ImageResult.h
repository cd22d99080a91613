// Building an operation's result next to its source: the steps every image
// operation shares, written once so that no failure path leaves the result
// naming the source's blocks.
#pragma once

#include <cstdint>

#include "../../../formats/DibHelpers.h"
#include "DisplayImage.h"
#include "ImageNotify.h"

// The source's attributes without its blocks: the result names neither the
// source's pixels nor its header.
void BeginResult(DisplayImage& result, const DisplayImage& source);
// A zero-filled pixel block of the result's size; on failure the result's own
// blocks are freed and its status is kStatusNoMemory.
bool AllocateResultPixels(DisplayImage& result);
// As AllocateResultPixels, for an operation that writes every pixel of an 8-
// or 24-bit result: only the rows' padding is zeroed. Other depths are
// zero-filled whole, as their pixels are set bit by bit.
bool AllocateResultPixelsToOverwrite(DisplayImage& result);
// The result's header as a copy of the source's; failure as above.
bool CopyResultHeader(DisplayImage& result, const DisplayImage& source);
// A fresh header (DisplayImage::CreateHeader); failure as above.
bool CreateResultHeader(DisplayImage& result);
// Frees what the result holds of its own and leaves status.
void AbandonResult(DisplayImage& result, int32_t status);
// Writes the image's width, height and pixel block size into its header.
void UpdateHeaderSize(DisplayImage& image);

// Stored row y of a locked pixel block.
inline uint8_t* RowOf(const BlockLock& block, uint32_t stride, int32_t y)
{
    return block.data() + size_t(y) * stride;
}

// The colour table of a locked header block.
inline DibColor* ColorTableOf(const BlockLock& header) { return reinterpret_cast<DibColor*>(header.data() + 40); }

// Index of pixel x in a 1-, 4- or 8-bit row.
inline uint8_t PaletteIndexAt(const uint8_t* row, int32_t x, int bitCount)
{
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
    }
}

// Walks the stored rows of an operation's source and result together with
// progress by row: rowFn(in, out) for each pair of rows.
template <class RowFn>
void ForEachRowPair(const DisplayImage& source, DisplayImage& result, RowFn rowFn)
{
    BlockLock from(source.hPixels), to(result.hPixels);
    const uint32_t inStride = source.GetRowStride();
    const uint32_t outStride = result.GetRowStride();
    for (int32_t y = 0; y < result.height; ++y) {
        ReportImageProgress(y, result.height);
        rowFn(from.data() + size_t(y) * inStride, to.data() + size_t(y) * outStride);
    }
}
