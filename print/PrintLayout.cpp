#include "PrintLayout.h"

#include <algorithm>
#include <cstring>

namespace pagent {

namespace {

// Row bytes of a width in 64-bit arithmetic.
uint64_t RowBytes64(int64_t width, int bitCount)
{
    return ((uint64_t(width) * uint64_t(bitCount) + 31) / 32) * 4;
}

// Widest pixel count a strip sends when the tile is cut into n strips:
// the strip itself and, after the first, its one overlapping pixel.
int64_t WidestStrip(int width, int n)
{
    return n == 1 ? width : int64_t(width / n) + 2;
}

}  // namespace

Point GetAlignmentOffset(int box, int64_t pw, int64_t ph, int w, int h)
{
    Point at{kPageMargin, kPageMargin};
    if (box < 0 || box > 8)
        return at;
    int64_t x = kPageMargin, y = kPageMargin;
    switch (box / 3) {
    case 1: x += (w - pw) / 2; break;
    case 2: x += w - pw; break;
    default: break;
    }
    switch (box % 3) {
    case 1: y += (h - ph) / 2; break;
    case 2: y += h - ph; break;
    default: break;
    }
    if (pw > w)
        x = kPageMargin;
    if (ph > h)
        y = kPageMargin;
    at.x = int(x);
    at.y = int(y);
    return at;
}

PagePlan PlanPages(int w, int h, int scale, int printWidth, int printHeight)
{
    PagePlan plan;
    if (w <= 0 || h <= 0 || scale <= 0 || printWidth <= 0 || printHeight <= 0)
        return plan;
    // A scale larger than the page still shows one pixel per page.
    plan.stepX = std::max(1, printWidth / scale);
    plan.stepY = std::max(1, printHeight / scale);
    plan.across = int((int64_t(w) + plan.stepX - 1) / plan.stepX);
    plan.down = int((int64_t(h) + plan.stepY - 1) / plan.stepY);
    return plan;
}

PageTile GetPageTile(const PagePlan& plan, int w, int h, int index)
{
    PageTile tile{};
    if (plan.down <= 0)
        return tile;
    int column = index / plan.down;
    int row = index % plan.down;
    tile.number = index + 1;
    tile.sourceX = int(int64_t(column) * plan.stepX);
    tile.sourceTop = int(int64_t(row) * plan.stepY);
    tile.width = std::min(plan.stepX, w - tile.sourceX);
    tile.rows = std::min(plan.stepY, h - tile.sourceTop);
    tile.storedRow = h - tile.sourceTop - tile.rows;
    return tile;
}

int GetBandCount(int width, int rows, int bitCount)
{
    if (width <= 0 || rows <= 0)
        return 0;
    for (int n = 1; n <= width; ++n) {
        if (RowBytes64(WidestStrip(width, n), bitCount) * uint64_t(rows) <= kMaxBandBytes)
            return n;
    }
    return 0;
}

std::vector<BandStrip> PlanBandStrips(int sourceX, int width, int rows, int bitCount)
{
    std::vector<BandStrip> strips;
    if (width <= 0 || rows <= 0 || bitCount <= 0)
        return strips;
    // Rows per chunk: all of them when some strip count fits, else as many
    // as the narrowest strip allows.
    int chunkRows = rows;
    if (GetBandCount(width, rows, bitCount) == 0)
        chunkRows = int(std::max<uint64_t>(1, kMaxBandBytes / RowBytes64(WidestStrip(width, width), bitCount)));
    for (int top = 0; top < rows; top += chunkRows) {
        int chunk = std::min(chunkRows, rows - top);
        int n = std::max(1, GetBandCount(width, chunk, bitCount));
        int stripWidth = n == 1 ? width : width / n + 1;
        for (int k = 0; k < n; ++k) {
            int64_t start = int64_t(k) * stripWidth;
            int64_t remain = width - start;
            if (remain <= 0)
                break;
            int64_t cw = std::min<int64_t>(stripWidth, remain);
            if (k > 0) {
                --start;
                ++cw;
            }
            strips.push_back({sourceX + int(start), int(cw), top, chunk, int(start)});
        }
    }
    return strips;
}

uint32_t BandBufferBytes(const std::vector<BandStrip>& strips, int bitCount)
{
    uint64_t most = 0;
    for (const BandStrip& strip : strips)
        most = std::max(most, RowBytes64(strip.width, bitCount) * uint64_t(strip.rows));
    return uint32_t(std::min<uint64_t>(most, 0xFFFFFFFFu));
}

void CopyBandRows(uint8_t* buffer, const uint8_t* source, int sourceWidth, int bitCount,
                  int sx, int sy, int sw, int rows)
{
    const size_t sourceStride = size_t(RowBytes64(sourceWidth, bitCount));
    const size_t bandStride = size_t(RowBytes64(sw, bitCount));
    for (int row = 0; row < rows; ++row) {
        uint8_t* to = buffer + size_t(row) * bandStride;
        const uint8_t* from = source + size_t(sy + row) * sourceStride;
        memset(to, 0, bandStride);
        switch (bitCount) {
        case 1:
            for (int i = 0; i < sw; ++i) {
                int p = sx + i;
                if (from[p >> 3] & (0x80 >> (p & 7)))
                    to[i >> 3] |= uint8_t(0x80 >> (i & 7));
            }
            break;
        case 4:
            for (int i = 0; i < sw; ++i) {
                int p = sx + i;
                uint8_t nibble = (p & 1) ? (from[p >> 1] & 0x0F) : (from[p >> 1] >> 4);
                to[i >> 1] |= (i & 1) ? nibble : uint8_t(nibble << 4);
            }
            break;
        default: {
            size_t bytes = size_t(bitCount / 8);
            memcpy(to, from + size_t(sx) * bytes, size_t(sw) * bytes);
            break;
        }
        }
    }
}

int GrayLevel(int red, int green, int blue)
{
    if (red == green && green == blue)
        return red;
    return (30 * red + 54 * green + 11 * blue) / 100;
}

void MakeGrayColorTable(DibColor* table, uint32_t entries)
{
    for (uint32_t i = 0; i < entries; ++i) {
        int g = GrayLevel(table[i].red, table[i].green, table[i].blue) & 0xFF;
        if (g > 0 && g < 218)
            g += g < 128 ? 58 : 38;
        table[i].red = table[i].green = table[i].blue = uint8_t(g);
    }
}

int NearestStandardColor(const DibColor& color)
{
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        const DibColor& c = kStandard16Colors[i];
        long dr = long(color.red) - c.red, dg = long(color.green) - c.green, db = long(color.blue) - c.blue;
        long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void MakeBlackWhiteColorTable(DibColor* table, uint32_t entries)
{
    for (uint32_t i = 0; i < entries; ++i) {
        int nearest = NearestStandardColor(table[i]);
        bool light = nearest == 7 || nearest == 8 || nearest == 10 || nearest == 11 || nearest == 14 ||
                     nearest == 15;
        uint8_t level = light ? 255 : 0;
        table[i].red = table[i].green = table[i].blue = level;
    }
}

int MeterPercent(int64_t done, int64_t total)
{
    if (total <= 0)
        return 100;
    if (done < 0)
        done = 0;
    int64_t percent = (done + 1) * 100 / total;
    return int(std::min<int64_t>(percent, 100));
}

bool IsPrintableDepth(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

uint64_t ImagePixelBytes(int32_t width, int32_t height, int bitCount)
{
    const uint64_t kLargest = 1024ull * 1024 * 1024;
    if (width <= 0 || height <= 0 || !IsPrintableDepth(bitCount))
        return 0;
    uint64_t bytes = RowBytes64(width, bitCount) * uint64_t(height);
    return bytes > kLargest ? 0 : bytes;
}

std::string DocumentName(const std::string& section, const std::string& fileName)
{
    std::string name = section + " - " + fileName;
    return name.size() >= 32 ? section : name;
}

std::string PrintingLine(const std::string& fileName)
{
    size_t slash = fileName.rfind('\\');
    return "Printing '" + (slash == std::string::npos ? fileName : fileName.substr(slash + 1)) + "' on the";
}

}  // namespace pagent
