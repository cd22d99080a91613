// JPEG speed against libjpeg-turbo and stb_image on 1920 x 1080 pictures made
// here: a screenshot-like one (flat panels, text strokes) and a photo-like
// one (gradients and noise). Prints medians of several runs and ratios, and
// the block peak of one import against pixel block + file + one row.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchKit.h"
#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"
#include "formats/JpegEncode.h"
#include "formats/JpegHuffman.h"

#ifdef HAVE_LIBJPEG
#include <jpeglib.h>
#endif
#ifdef HAVE_STB_IMAGE
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb_image.h>
#pragma GCC diagnostic pop
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kRuns = 15;

// Top-down RGB.
std::vector<uint8_t> MakePicture(bool photo) {
    std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
    unsigned state = 99;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
            state = state * 1103515245 + 12345;
            int noise = int((state >> 16) % 17) - 8;
            if (photo) {
                double fx = double(x) / kWidth, fy = double(y) / kHeight;
                p[0] = uint8_t(std::clamp(int(128 + 100 * sin(6.0 * fx + 2.0 * fy)) + noise, 0, 255));
                p[1] = uint8_t(std::clamp(int(40 + 180 * fy) + noise, 0, 255));
                p[2] = uint8_t(std::clamp(int(128 + 90 * cos(5.0 * fx * fy + 1.0)) + noise, 0, 255));
            } else {
                int window = (x / 480 + y / 270) % 4;
                const uint8_t panels[4][3] = {{255, 255, 255}, {212, 208, 200}, {10, 36, 106}, {240, 240, 240}};
                bool text = window != 2 && (y % 18) >= 4 && (y % 18) < 13 && ((x * 7 + y * 3) / 5) % 3 == 0 &&
                            (x % 90) < 70;
                bool bar = y < 22;
                for (int c = 0; c < 3; ++c) p[c] = bar ? uint8_t(10 + c * 40) : text ? 0 : panels[window][c];
            }
        }
    return rgb;
}

ImageRecord MakeRecord(const std::vector<uint8_t>& rgb) {
    ImageRecord r = {};
    r.width = kWidth, r.height = kHeight, r.bitCount = 24;
    CreateDibHeader(r);
    r.hBits = GlobalAlloc(GHND, GetDibImageSize(r));
    uint8_t* bits = static_cast<uint8_t*>(GlobalLock(r.hBits));
    uint32_t rowBytes = GetDibRowBytes(r);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* s = &rgb[(size_t(y) * kWidth + x) * 3];
            uint8_t* d = bits + size_t(kHeight - 1 - y) * rowBytes + 3 * x;
            d[0] = s[2], d[1] = s[1], d[2] = s[0];
        }
    GlobalUnlock(r.hBits);
    return r;
}

#ifdef HAVE_LIBJPEG
std::vector<uint8_t> TurboEncode(const std::vector<uint8_t>& rgb, int quality) {
    jpeg_compress_struct c;
    jpeg_error_mgr error;
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = kWidth, c.image_height = kHeight, c.input_components = 3, c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&rgb[size_t(c.next_scanline) * kWidth * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> file(out, out + size);
    free(out);
    return file;
}

void TurboDecode(const std::vector<uint8_t>& file, std::vector<uint8_t>& rgb) {
    jpeg_decompress_struct d;
    jpeg_error_mgr error;
    d.err = jpeg_std_error(&error);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), file.size());
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    rgb.resize(size_t(d.output_width) * d.output_height * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &rgb[size_t(d.output_scanline) * d.output_width * 3];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
}
#endif

void Measure(const char* name, bool photo) {
    std::vector<uint8_t> rgb = MakePicture(photo);
    ImageRecord source = MakeRecord(rgb);
    MemorySink written;
    RunWriter(WriteJpegFile, source, written);
    std::vector<uint8_t> ours = written.bytes();
    printf("%s: %d x %d, our file %zu bytes\n", name, kWidth, kHeight, ours.size());

    double encodeOurs = bench::MedianMs(kRuns, [&] {
        MemorySink sink;
        RunWriter(WriteJpegFile, source, sink);
    });
    std::vector<uint8_t> file = ours;
#ifdef HAVE_LIBJPEG
    std::vector<uint8_t> turboFile = TurboEncode(rgb, kJpegWriteQuality);
    double encodeTurbo = bench::MedianMs(kRuns, [&] { TurboEncode(rgb, kJpegWriteQuality); });
    printf("  encode q%d: ours %.2f ms, libjpeg-turbo %.2f ms (%zu bytes), ratio %.2fx (target <= 2.0x)\n",
           kJpegWriteQuality, encodeOurs, encodeTurbo, turboFile.size(), encodeOurs / encodeTurbo);
    file = turboFile;  // every decoder reads the reference encoder's file
#else
    printf("  encode: ours %.2f ms (libjpeg-turbo not built in)\n", encodeOurs);
#endif

    double decodeOurs = bench::MedianMs(kRuns, [&] {
        ImageRecord r = ImportImageMemory("bench.jpg", file.data(), file.size());
        FreeRecordBlocks(r);
    });
    printf("  decode: ours %.2f ms", decodeOurs);
#ifdef HAVE_LIBJPEG
    std::vector<uint8_t> out;
    double decodeTurbo = bench::MedianMs(kRuns, [&] { TurboDecode(file, out); });
    printf(", libjpeg-turbo %.2f ms (ratio %.2fx, target <= 2.0x)", decodeTurbo, decodeOurs / decodeTurbo);
#endif
#ifdef HAVE_STB_IMAGE
    double decodeStb = bench::MedianMs(kRuns, [&] {
        int w, h, n;
        stbi_uc* p = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 3);
        stbi_image_free(p);
    });
    printf(", stb_image %.2f ms (ratio %.2fx, target < 1.0x)", decodeStb, decodeOurs / decodeStb);
#endif
    printf("\n");

    KernelResetPeakBlockBytes();
    size_t before = KernelPeakBlockBytes();
    ImageRecord r = ImportImageMemory("bench.jpg", file.data(), file.size());
    size_t peak = KernelPeakBlockBytes() - before;
    size_t pixels = GetDibImageSize(r) + GetDibHeaderSize(r.bitCount);
    size_t row = GetDibRowBytes(r);
    printf("  import peak of global blocks %zu bytes; pixel block + header %zu, file %zu, one row %zu\n", peak, pixels,
           file.size(), row);
    // Besides the blocks: eight Huffman tables and, per component, one MCU
    // of samples and its quantisation and scaling tables.
    size_t working = 8 * sizeof(HuffmanDecoder) + 3 * (32 * 32 + 2 * 64 * sizeof(int32_t));
    printf("  besides: the file in memory and %zu bytes of tables and MCU buffers (no row buffers)\n", working);
    FreeRecordBlocks(r);
    FreeRecordBlocks(source);
}

}  // namespace

int main() {
    Measure("screenshot-like", false);
    Measure("photo-like", true);
    return 0;
}
