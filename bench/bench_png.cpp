// PNG speed against libpng on the same 1920 x 1080 24-bit pictures: a
// screenshot-like one (flat colours, text-like strokes) and a photo-like
// one (smooth gradients and noise), both made here. Prints medians and
// ratios, and the block memory an import holds at its peak.
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchKit.h"
#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

#ifdef HAVE_LIBPNG
#include <png.h>
#endif

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr int kRuns = 9;

uint32_t g_seed = 2024;
uint32_t Random() { return (g_seed = g_seed * 1664525 + 1013904223) >> 8; }

struct Rgb {
    uint8_t r, g, b;
};

// A 24-bit record painted through `at(x, y)` with y from the top.
struct Picture {
    ImageRecord record = {};
    Picture() {
        record.width = kWidth;
        record.height = kHeight;
        record.bitCount = 24;
        CreateDibHeader(record);
        record.hBits = GlobalAlloc(GHND, GetDibImageSize(record));
    }
    ~Picture() { FreeRecordBlocks(record); }
    void set(uint8_t* bits, int32_t x, int32_t y, Rgb c) {
        uint8_t* p = bits + size_t(kHeight - 1 - y) * GetDibRowBytes(record) + 3 * size_t(x);
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
};

void PaintScreenshot(Picture& picture) {
    BlockLock lock(picture.record.hBits);
    uint8_t* bits = lock.data();
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) picture.set(bits, x, y, {0, 99, 140});  // desktop
    for (int window = 0; window < 8; ++window) {
        int32_t left = int32_t(Random() % 1400), top = int32_t(Random() % 650);
        int32_t right = left + 400 + int32_t(Random() % 100), bottom = top + 300 + int32_t(Random() % 120);
        Rgb face = {uint8_t(220 + window * 4), uint8_t(224 + window * 3), uint8_t(230 - window * 2)};
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x) {
                bool frame = x == left || y == top || x == right - 1 || y == bottom - 1;
                uint8_t shade = uint8_t(10 + (x - left) * 120 / (right - left));
                picture.set(bits, x, y, frame ? Rgb{64, 64, 64} : y < top + 22 ? Rgb{shade, shade, 128} : face);
            }
        // Lines of glyphs: 6 x 10 cells of strokes in one ink.
        for (int32_t line = top + 30; line + 10 < bottom - 4; line += 14)
            for (int32_t x = left + 6; x + 6 < right - 6; x += 7) {
                if (Random() % 7 == 0) continue;
                uint32_t glyph = Random();
                for (int32_t gy = 0; gy < 10; ++gy)
                    for (int32_t gx = 0; gx < 6; ++gx)
                        if ((glyph >> ((gy * 6 + gx) % 23)) & 1) picture.set(bits, x + gx, line + gy, {0, 0, 0});
            }
    }
    for (int icon = 0; icon < 12; ++icon)  // icons of many colours
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x)
                picture.set(bits, 8 + x, 8 + icon * 48 + y, {uint8_t(Random()), uint8_t(Random()), uint8_t(Random())});
}

void PaintPhoto(Picture& picture) {
    BlockLock lock(picture.record.hBits);
    uint8_t* bits = lock.data();
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            int noise = int(Random() % 17) - 8;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            int r = x * 255 / kWidth, g = y * 255 / kHeight, b = ((x + y) / 12) % 256;
            picture.set(bits, x, y, {clamp(r + noise), clamp(g + noise / 2), clamp(b - noise)});
        }
}

std::vector<uint8_t> OurWrite(const ImageRecord& record) {
    MemorySink sink;
    if (RunWriter(WritePngFile, record, sink) != 0) fprintf(stderr, "write failed\n");
    return sink.bytes();
}

void OurRead(const std::vector<uint8_t>& file) {
    ImageRecord record = ImportImageMemory("bench.png", file.data(), file.size());
    if (record.error) fprintf(stderr, "read failed: %d\n", record.error);
    FreeRecordBlocks(record);
}

#ifdef HAVE_LIBPNG
void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// libpng at its default settings, from the same bottom-up blue-green-red rows.
std::vector<uint8_t> LibpngWrite(const ImageRecord& record) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, uint32_t(record.width), uint32_t(record.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    BlockLock bits(record.hBits);
    std::vector<png_bytep> rows(size_t(record.height));
    for (int32_t y = 0; y < record.height; ++y)
        rows[size_t(y)] = bits.data() + size_t(record.height - 1 - y) * GetDibRowBytes(record);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct MemoryReader {
    const std::vector<uint8_t>* file;
    size_t at;
};

void ReadFromVector(png_structp png, png_bytep data, png_size_t length) {
    auto* in = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > in->file->size() - in->at) png_error(png, "short");
    memcpy(data, in->file->data() + in->at, length);
    in->at += length;
}

// libpng into the same kind of block: bottom-up, blue-green-red, rows padded.
void LibpngRead(const std::vector<uint8_t>& file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    HGLOBAL block = 0;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (block) GlobalFree(block);
        return;
    }
    MemoryReader reader{&file, 0};
    png_set_read_fn(png, &reader, ReadFromVector);
    png_read_info(png, info);
    png_set_bgr(png);
    uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    uint32_t rowBytes = AlignRowBytes(width * 24);
    block = GlobalAlloc(GHND, size_t(rowBytes) * height);
    {
        BlockLock bits(block);
        std::vector<png_bytep> rows(height);
        for (uint32_t y = 0; y < height; ++y) rows[y] = bits.data() + size_t(height - 1 - y) * rowBytes;
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    GlobalFree(block);
}
#endif

// Block bytes an import holds at its peak, with the file itself in a block
// as the library holds it, against pixel block + file + one row + the
// scanline buffer of 2 x (scanline + 1) x height.
void ReportPeakMemory(const char* name, const std::vector<uint8_t>& file) {
    HGLOBAL fileBlock = GlobalAlloc(GHND, file.size());
    BlockLock lock(fileBlock);
    memcpy(lock.data(), file.data(), file.size());
    KernelResetPeakBlockBytes();
    size_t before = KernelPeakBlockBytes();
    ImageRecord record = ImportImageMemory("bench.png", lock.data(), file.size());
    size_t peak = KernelPeakBlockBytes() - before + file.size();
    uint64_t pixels = GetDibImageSize(record), row = GetDibRowBytes(record);
    uint64_t scanline = uint64_t(record.width) * 3 + 1, scanlineBuffer = 2 * scanline * uint64_t(record.height);
    uint64_t budget = pixels + file.size() + row + scanlineBuffer;
    printf("%-10s import peak %.2f MB (pixels %.2f MB + header + file %.2f MB + two scanlines %llu B); "
           "budget %.2f MB (pixels + file + row + scanline buffer %.2f MB): %.2fx of budget, %.2fx of pixels + file\n",
           name, peak / 1e6, pixels / 1e6, file.size() / 1e6, (unsigned long long)(2 * scanline), budget / 1e6,
           scanlineBuffer / 1e6, double(peak) / double(budget), double(peak) / double(pixels + file.size()));
    FreeRecordBlocks(record);
    GlobalFree(fileBlock);
}

void Run(const char* name, Picture& picture) {
    std::vector<uint8_t> ours = OurWrite(picture.record);
    std::vector<std::function<void()>> work = {[&] { OurWrite(picture.record); }, [&] { OurRead(ours); }};
#ifdef HAVE_LIBPNG
    std::vector<uint8_t> theirs = LibpngWrite(picture.record);
    work.push_back([&] { LibpngWrite(picture.record); });
    work.push_back([&] { OurRead(theirs); });
    work.push_back([&] { LibpngRead(theirs); });
    work.push_back([&] { LibpngRead(ours); });
#endif
    // One run of each in turn, so that a change in the machine's load
    // touches ours and libpng's alike.
    std::vector<double> ms = bench::InterleavedMediansMs(kRuns, work);
    const double ourWrite = ms[0], ourReadOwn = ms[1];
    printf("%-10s ours:   write %7.2f ms (%zu bytes), read own file %7.2f ms\n", name, ourWrite, ours.size(), ourReadOwn);
#ifdef HAVE_LIBPNG
    const double libWrite = ms[2], ourReadTheirs = ms[3], libReadTheirs = ms[4], libReadOurs = ms[5];
    printf("%-10s libpng: write %7.2f ms (%zu bytes), read own file %7.2f ms\n", name, libWrite, theirs.size(), libReadTheirs);
    printf("%-10s ratios: write %.2fx (target <= 1.0), read libpng's file %.2fx, read our file %.2fx (target <= 1.2)\n",
           name, ourWrite / libWrite, ourReadTheirs / libReadTheirs, ourReadOwn / libReadOurs);
#else
    printf("%-10s libpng not found: no ratios\n", name);
#endif
    ReportPeakMemory(name, ours);
}

}  // namespace

int main() {
    Picture screenshot, photo;
    PaintScreenshot(screenshot);
    PaintPhoto(photo);
    printf("PNG, %d x %d, 24 bits, median of %d runs\n", kWidth, kHeight, kRuns);
    Run("screenshot", screenshot);
    Run("photo", photo);
    return 0;
}
