// Plain and smooth resampling. Each direction is planned once (which source
// line every output line shows, and for smooth results whether it is
// averaged with the next one); the pixel passes then only follow the plans.
#include "ImageResample.h"

#include <climits>
#include <cstring>
#include <vector>

#include "ColorOps.h"
#include "ImageResult.h"
#include "PixelAccess.h"
#include "RowKernels.h"

namespace {

// Which of a direction's lines a plain shrink keeps: the counter drops line
// k when k = trunc(i x ratio) while i <= the lines to drop, and every line
// once the output is full.
class PlainDropper {
public:
    PlainDropper(int32_t sourceCount, int32_t keptCount)
        : toDrop_(sourceCount - keptCount), kept_(keptCount)
    {
        if (toDrop_ > 0)
            ratio_ = static_cast<float>(double(sourceCount) / double(toDrop_));
    }
    // Called for the lines in order; true when line k goes to the output.
    bool Keep(int32_t k)
    {
        if (written_ >= kept_)
            return false;
        if (toDrop_ > 0 && counter_ <= toDrop_ && k == int64_t(double(counter_) * double(ratio_))) {
            ++counter_;
            return false;
        }
        ++written_;
        return true;
    }

private:
    int32_t toDrop_;
    int32_t kept_;
    float ratio_ = 0;
    int32_t counter_ = 1;
    int32_t written_ = 0;
};

// A direction's plan: the source line each output line shows, and whether
// the smooth average takes the next source line with it.
struct LinePlan {
    std::vector<int32_t> line;
    std::vector<uint8_t> withNext;

    void Add(int64_t enlargedLine, int64_t enlargedPartner, int factor)
    {
        line.push_back(static_cast<int32_t>(enlargedLine / factor));
        withNext.push_back(enlargedPartner / factor != enlargedLine / factor);
    }
};

// The enlarged lines a plain shrink keeps, as source lines.
LinePlan PlanPlain(int32_t enlarged, int factor, int32_t outCount)
{
    LinePlan plan;
    plan.line.reserve(size_t(outCount));
    PlainDropper dropper(enlarged, outCount);
    for (int32_t k = 0; k < enlarged && int32_t(plan.line.size()) < outCount; ++k)
        if (dropper.Keep(k))
            plan.Add(k, k, factor);
    return plan;
}

// The ratio by which a smooth shrink spaces its dropped lines.
float DropRatio(int32_t enlarged, int32_t outCount)
{
    return outCount < enlarged ? static_cast<float>(double(enlarged) / double(enlarged - outCount)) : 0;
}

// Smooth lines: line m x ratio - 1 is dropped (m counting drops); a line
// before one that is dropped is averaged with it, others stand alone, the
// last line too. Rows read the product in that test rounded to single
// precision, columns do not.
LinePlan PlanSmooth(int32_t enlarged, int factor, int32_t outCount, bool singlePrecisionTest)
{
    LinePlan plan;
    const bool drops = outCount < enlarged;
    const float ratio = DropRatio(enlarged, outCount);
    int32_t m = 1;
    for (int32_t i = 0; i < enlarged && int32_t(plan.line.size()) < outCount; ++i) {
        int32_t partner = i;
        if (drops) {
            const double product = double(m) * double(ratio);
            if (i == int64_t(product - 1)) {
                ++m;
                continue;
            }
            const double tested = singlePrecisionTest ? double(static_cast<float>(product)) : product;
            if (!((i < enlarged - 2 && i < int64_t(tested - 2)) || i == enlarged - 1))
                partner = i + 1;
        }
        plan.Add(i, partner, factor);
    }
    return plan;
}

// Makes the output rows in order with progress: makeRow(d, out) for each,
// except that a row showing the same source line(s) as the one before is a
// copy of it.
template <class MakeRow>
void ForEachPlannedRow(const LinePlan& rows, const BlockLock& to, uint32_t outStride, MakeRow makeRow)
{
    for (size_t d = 0; d < rows.line.size(); ++d) {
        ReportImageProgress(int(d), int(rows.line.size()));
        uint8_t* out = RowOf(to, outStride, int32_t(d));
        if (d > 0 && rows.line[d] == rows.line[d - 1] && rows.withNext[d] == rows.withNext[d - 1])
            memcpy(out, out - outStride, outStride);
        else
            makeRow(d, out);
    }
}

// The plain pass: every output pixel is the pixel of its planned source
// column and row.
void PlainPixels(const DisplayImage& source, DisplayImage& result, const LinePlan& columns, const LinePlan& rows)
{
    const int depth = source.bitCount;
    const uint32_t inStride = source.GetRowStride(), outStride = result.GetRowStride();
    const int32_t outWidth = result.width;
    std::vector<int32_t> offsets(columns.line);
    if (depth == 24)
        for (int32_t& offset : offsets)
            offset *= 3;
    // The 24-bit gather reads a fourth byte after each pixel; the block's
    // last row may have none, so that row is read from a padded copy.
    std::vector<uint8_t> paddedRow;
    BlockLock from(source.hPixels), to(result.hPixels);
    ForEachPlannedRow(rows, to, outStride, [&](size_t d, uint8_t* out) {
        const uint8_t* in = RowOf(from, inStride, rows.line[d]);
        if (depth == 24) {
            if (rows.line[d] == source.height - 1) {
                paddedRow.assign(in, in + inStride);
                paddedRow.resize(size_t(inStride) + 4);
                in = paddedRow.data();
            }
            GatherPixels24(in, offsets.data(), outWidth, out);
        } else if (depth == 8) {
            for (int32_t x = 0; x < outWidth; ++x)
                out[x] = in[offsets[size_t(x)]];
        } else {
            for (int32_t x = 0; x < outWidth; ++x)
                SetPixelAt(out, x, depth, PixelAt(in, offsets[size_t(x)], depth));
        }
    });
}

// The smooth pass over a 24-bit source: each output row is its source row
// averaged with the partner row (or with itself), pixel by pixel with the
// pixel to the right where the column plan says so. Both averages are made
// for the whole row into one buffer, halves then quarters, and the output
// gathers from it.
void SmoothPixels(const DisplayImage& source, DisplayImage& result, const LinePlan& columns, const LinePlan& rows)
{
    const uint32_t inStride = source.GetRowStride(), outStride = result.GetRowStride();
    const int32_t rowBytes = 3 * source.width;
    // Four spare bytes after each half: the gather reads one past a pixel.
    const int32_t quarterAt = rowBytes + 4;
    std::vector<uint8_t> averages(size_t(2 * quarterAt), 0);
    std::vector<uint8_t> lowBits(size_t(rowBytes) + 16);
    std::vector<int32_t> offsets(columns.line.size());
    for (size_t x = 0; x < offsets.size(); ++x)
        offsets[x] = 3 * columns.line[x] + (columns.withNext[x] ? quarterAt : 0);
    BlockLock from(source.hPixels), to(result.hPixels);
    ForEachPlannedRow(rows, to, outStride, [&](size_t d, uint8_t* out) {
        const uint8_t* row = RowOf(from, inStride, rows.line[d]);
        if (rows.withNext[d])
            AverageRowPair(row, row + inStride, rowBytes, averages.data(), averages.data() + quarterAt, lowBits.data());
        else
            AverageRowAlone(row, rowBytes, averages.data(), averages.data() + quarterAt);
        GatherPixels24(averages.data(), offsets.data(), result.width, out);
    });
}

// Lines of a plan that falls short of the output (rounding in the drop
// spacing) stay zero-filled.
bool AllocateFor(DisplayImage& result, const LinePlan& columns, const LinePlan& rows)
{
    const bool full = int32_t(columns.line.size()) == result.width && int32_t(rows.line.size()) == result.height;
    return full ? AllocateResultPixelsToOverwrite(result) : AllocateResultPixels(result);
}

} // namespace

bool ResampleEnlarged(DisplayImage& result, const DisplayImage& source, int fx, int fy, bool smooth)
{
    const int64_t enlargedWidth = int64_t(fx) * source.width, enlargedHeight = int64_t(fy) * source.height;
    result.bitCount = smooth ? 24 : source.bitCount;
    if (fx < 1 || fy < 1 || enlargedWidth > INT32_MAX || enlargedHeight > INT32_MAX || result.width < 1 ||
        result.height < 1 || result.width > enlargedWidth || result.height > enlargedHeight ||
        !source.HasSoundBlocks() || result.GetBitsSize() == 0) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    if (!smooth) {
        const LinePlan columns = PlanPlain(int32_t(enlargedWidth), fx, result.width);
        const LinePlan rows = PlanPlain(int32_t(enlargedHeight), fy, result.height);
        if (!AllocateFor(result, columns, rows))
            return false;
        PlainPixels(source, result, columns, rows);
        return true;
    }
    const LinePlan columns = PlanSmooth(int32_t(enlargedWidth), fx, result.width, false);
    const LinePlan rows = PlanSmooth(int32_t(enlargedHeight), fy, result.height, true);
    if (!AllocateFor(result, columns, rows))
        return false;
    DisplayImage deep;
    const DisplayImage* from24 = &source;
    if (source.bitCount != 24) {
        ConvertTo24Bit(deep, source);
        if (!deep.hPixels) {
            AbandonResult(result, kStatusNoMemory);
            return false;
        }
        from24 = &deep;
    }
    SmoothPixels(*from24, result, columns, rows);
    return true;
}
