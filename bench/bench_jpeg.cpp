// JPEG speed against libjpeg-turbo and stb_image on a real 1920 x 1080
// photograph and a real screenshot of a display full of text (made by
// scripts/bench-pictures.sh; made-up pictures stand in when they are
// missing), and on 4032 x 3024 ones when the folder holds them
// (photo4032.ppm, screenshot4032.ppm). Prints medians of the processor
// time of interleaved runs and ratios, and the block peak of one import
// against pixel block + file + one row. Every coder writes into memory the
// process already holds: each encoder's file into a buffer kept from run to
// run (as a save writes through a buffer of fixed size), the reference
// decoder's pixels likewise, ours and stb_image's into blocks the heap
// hands back, and the heap keeps what is freed. The first touch of fresh
// pages costs this machine more than coding a picture: a writer's output
// growing by reallocation faulted in about 110 pages per run on each side
// and took as long as the coding itself. Run with JSIMD_FORCESSE2=1 to race
// libjpeg-turbo's SSE2 code with ours in its SSE2 form.
//   bench_jpeg                  timed runs
//   bench_jpeg once <file.ppm>  each piece of work once, for instruction
//                               counts under callgrind (the inclusive cost of
//                               the Once* functions)
#include <malloc.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "BenchKit.h"
#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"
#include "formats/JpegEncode.h"
#include "formats/JpegHuffman.h"
#include "formats/JpegSimd.h"

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

constexpr int kRuns = 21;
constexpr int kDecodeQualities[] = {45, 75};  // the files every decoder reads: 4:2:0

struct Picture {
    const char* name;
    int width, height;
    std::vector<uint8_t> rgb;  // top-down
};

// A made-up 1920 x 1080 picture: screenshot-like (flat panels, text
// strokes) or photo-like (gradients and noise); only for when the real ones
// are missing.
Picture MakePicture(bool photo) {
    constexpr int kWidth = 1920, kHeight = 1080;
    Picture picture = {photo ? "made-up photo" : "made-up screenshot", kWidth, kHeight, {}};
    std::vector<uint8_t>& rgb = picture.rgb;
    rgb.resize(size_t(kWidth) * kHeight * 3);
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
    return picture;
}

// The real photograph and screenshot that scripts/bench-pictures.sh makes,
// or made-up stand-ins when they are not there.
std::vector<Picture> Pictures() {
    std::vector<Picture> pictures;
    const char* folder = getenv("BENCH_PICTURES");
    std::string base = folder ? folder : "../pictures";
    for (auto [name, file, photo] : {std::tuple{"photograph", "/photo.ppm", true}, {"screenshot", "/screenshot.ppm", false}}) {
        Picture large = {name, 0, 0, {}};
        std::string largeFile = std::string(file).replace(std::string(file).find(".ppm"), 4, "4032.ppm");
        if (bench::ReadPpm((base + largeFile).c_str(), large.rgb, large.width, large.height))
            pictures.push_back(std::move(large));
        Picture picture = {name, 0, 0, {}};
        if (bench::ReadPpm((base + file).c_str(), picture.rgb, picture.width, picture.height)) {
            pictures.push_back(std::move(picture));
        } else {
            printf("(no %s%s: run scripts/bench-pictures.sh; measuring a made-up picture)\n", base.c_str(), file);
            pictures.push_back(MakePicture(photo));
        }
    }
    return pictures;
}

ImageRecord MakeRecord(const Picture& picture) {
    ImageRecord r = {};
    r.width = picture.width, r.height = picture.height, r.bitCount = 24;
    CreateDibHeader(r);
    r.hBits = GlobalAlloc(GHND, GetDibImageSize(r));
    uint8_t* bits = static_cast<uint8_t*>(GlobalLock(r.hBits));
    uint32_t rowBytes = GetDibRowBytes(r);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const uint8_t* s = &picture.rgb[(size_t(y) * r.width + x) * 3];
            uint8_t* d = bits + size_t(r.height - 1 - y) * rowBytes + 3 * x;
            d[0] = s[2], d[1] = s[1], d[2] = s[0];
        }
    GlobalUnlock(r.hBits);
    return r;
}


#ifdef HAVE_LIBJPEG
// Room for any file of the picture: more than its pixels take.
size_t FileRoom(const Picture& picture) { return picture.rgb.size() + 65536; }

// Encodes into `room`, memory kept from run to run (and grown should the
// file not fit); returns the file's size.
size_t TurboEncodeInto(const Picture& picture, int quality, std::vector<uint8_t>& room) {
    jpeg_compress_struct c;
    jpeg_error_mgr error;
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char* out = room.data();
    unsigned long size = room.size();
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = picture.width, c.image_height = picture.height, c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&picture.rgb[size_t(c.next_scanline) * picture.width * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    if (out != room.data()) {  // the room was too small: the library allocated more
        room.assign(out, out + size);
        free(out);
    }
    return size;
}

std::vector<uint8_t> TurboEncode(const Picture& picture, int quality) {
    std::vector<uint8_t> file(FileRoom(picture));
    file.resize(TurboEncodeInto(picture, quality, file));
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

void MeasureDecode(const std::vector<uint8_t>& file, int quality) {
    std::vector<std::function<void()>> decoders = {[&] {
        ImageRecord r = ImportImageMemory("bench.jpg", file.data(), file.size());
        FreeRecordBlocks(r);
    }};
#ifdef HAVE_LIBJPEG
    std::vector<uint8_t> out;
    decoders.push_back([&] { TurboDecode(file, out); });
#endif
#ifdef HAVE_STB_IMAGE
    decoders.push_back([&] {
        int w, h, n;
        stbi_uc* p = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 3);
        stbi_image_free(p);
    });
#endif
    std::vector<double> decode = bench::InterleavedMediansMs(kRuns, decoders, true);
    printf("  decode (%zu-byte file, 4:2:0 q%d): ours %.2f ms", file.size(), quality, decode[0]);
    size_t next = 1;
#ifdef HAVE_LIBJPEG
    printf(", libjpeg-turbo %.2f ms (ratio %.2fx, target <= 1.1x)", decode[next], decode[0] / decode[next]);
    ++next;
#endif
#ifdef HAVE_STB_IMAGE
    printf(", stb_image %.2f ms (ratio %.2fx, target < 1.0x)", decode[next], decode[0] / decode[next]);
#endif
    printf("\n");
}

// Our file of a picture.
std::vector<uint8_t> WriteOurs(const ImageRecord& source) {
    MemorySink written;
    RunWriter(WriteJpegFile, source, written);
    return written.bytes();
}

void MeasureEncode(const Picture& picture) {
    ImageRecord source = MakeRecord(picture);
    printf("%s: %d x %d, our file %zu bytes\n", picture.name, picture.width, picture.height, WriteOurs(source).size());
    MemorySink ours;
    auto encodeOurs = [&] {
        ours.clear();
        RunWriter(WriteJpegFile, source, ours);
    };
#ifdef HAVE_LIBJPEG
    std::vector<uint8_t> turboRoom(FileRoom(picture));
    size_t turboSize = 0;
    auto encodeTurbo = [&] { turboSize = TurboEncodeInto(picture, kJpegWriteQuality, turboRoom); };
    std::vector<double> encode = bench::InterleavedMediansMs(kRuns, {encodeOurs, encodeTurbo}, true);
    printf("  encode q%d: ours %.2f ms, libjpeg-turbo %.2f ms (%zu bytes), ratio %.2fx (target <= 1.1x)\n",
           kJpegWriteQuality, encode[0], encode[1], turboSize, encode[0] / encode[1]);
#else
    printf("  encode: ours %.2f ms (libjpeg-turbo not built in)\n", bench::MedianMs(kRuns, encodeOurs));
#endif
    FreeRecordBlocks(source);
}

void MeasureDecodes(const Picture& picture) {
    printf("%s: %d x %d\n", picture.name, picture.width, picture.height);
    std::vector<uint8_t> file;
#ifdef HAVE_LIBJPEG
    for (int quality : kDecodeQualities) {
        file = TurboEncode(picture, quality);  // every decoder reads the reference encoder's file
        MeasureDecode(file, quality);
    }
#else
    ImageRecord source = MakeRecord(picture);
    file = WriteOurs(source);
    FreeRecordBlocks(source);
    MeasureDecode(file, kJpegWriteQuality);
#endif

    KernelResetPeakBlockBytes();
    size_t before = KernelPeakBlockBytes();
    ImageRecord r = ImportImageMemory("bench.jpg", file.data(), file.size());
    size_t peak = KernelPeakBlockBytes() - before;
    size_t pixels = GetDibImageSize(r) + GetDibHeaderSize(r.bitCount);
    size_t row = GetDibRowBytes(r);
    printf("  import peak of global blocks %zu bytes; pixel block + header %zu, file %zu, one row %zu\n", peak, pixels,
           file.size(), row);
    // Besides the blocks: eight Huffman tables, per component its
    // quantisation and scaling tables, and the samples of one row of MCUs
    // (4:2:0: 16 rows of luminance and 8 of each chrominance).
    size_t mcusAcross = (size_t(r.width) + 15) / 16;
    size_t rowOfMcus = mcusAcross * 16 * 16 + 2 * mcusAcross * 8 * 8;
    size_t working = 8 * sizeof(HuffmanDecoder) + 3 * 2 * 64 * sizeof(int32_t) + rowOfMcus;
    printf("  besides: the file in memory and %zu bytes of tables and one row of MCUs (%zu bytes)\n", working,
           rowOfMcus);
    FreeRecordBlocks(r);
}

#ifdef HAVE_LIBJPEG
// Each piece of work once, in functions of their own, so that callgrind
// counts each one's instructions inclusively; each leaves its own mark, so
// that the compiler folds none of them into another.
volatile int g_onceMark = 0;
// The encoders write into memory held beforehand, as in the timed runs.
__attribute__((noinline)) void OnceEncodeOurs(const ImageRecord& source, MemorySink& sink) {
    g_onceMark = 1;
    sink.clear();
    RunWriter(WriteJpegFile, source, sink);
}
__attribute__((noinline)) void OnceEncodeTurbo(const Picture& picture, std::vector<uint8_t>& room) {
    g_onceMark = 2;
    TurboEncodeInto(picture, kJpegWriteQuality, room);
}
__attribute__((noinline)) void OnceDecodeOursQ45(const std::vector<uint8_t>& file) {
    g_onceMark = 3;
    ImageRecord r = ImportImageMemory("bench.jpg", file.data(), file.size());
    FreeRecordBlocks(r);
}
__attribute__((noinline)) void OnceDecodeOursQ75(const std::vector<uint8_t>& file) {
    g_onceMark = 4;
    ImageRecord r = ImportImageMemory("bench.jpg", file.data(), file.size());
    FreeRecordBlocks(r);
}
// The reference decoder's output, sized beforehand as in the timed runs.
std::vector<uint8_t> g_turboOut;
__attribute__((noinline)) void OnceDecodeTurboQ45(const std::vector<uint8_t>& file) {
    g_onceMark = 5;
    TurboDecode(file, g_turboOut);
}
__attribute__((noinline)) void OnceDecodeTurboQ75(const std::vector<uint8_t>& file) {
    g_onceMark = 6;
    TurboDecode(file, g_turboOut);
}

unsigned long long Fingerprint(const std::vector<uint8_t>& bytes) {
    unsigned long long hash = 1469598103934665603ull;
    for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

int Once(const char* path) {
    Picture picture = {path, 0, 0, {}};
    if (!bench::ReadPpm(path, picture.rgb, picture.width, picture.height)) return 1;
    ImageRecord source = MakeRecord(picture);
    MemorySink ours;
    RunWriter(WriteJpegFile, source, ours);
    std::vector<uint8_t> turboRoom(FileRoom(picture));
    OnceEncodeOurs(source, ours);
    OnceEncodeTurbo(picture, turboRoom);
    std::vector<uint8_t> q45 = TurboEncode(picture, 45), q75 = TurboEncode(picture, 75);
    g_turboOut.resize(picture.rgb.size());
    OnceDecodeOursQ45(q45);
    OnceDecodeOursQ75(q75);
    OnceDecodeTurboQ45(q45);
    OnceDecodeTurboQ75(q75);
    // Fingerprints of what ours writes and reads, to compare builds by.
    MemorySink written;
    RunWriter(WriteJpegFile, source, written);
    printf("written %zu bytes, fingerprint %016llx\n", written.bytes().size(), Fingerprint(written.bytes()));
    for (const std::vector<uint8_t>* file : {&q45, &q75}) {
        ImageRecord r = ImportImageMemory("bench.jpg", file->data(), file->size());
        std::vector<uint8_t> pixels(static_cast<uint8_t*>(GlobalLock(r.hBits)),
                                    static_cast<uint8_t*>(GlobalLock(r.hBits)) + GetDibImageSize(r));
        GlobalUnlock(r.hBits);
        GlobalUnlock(r.hBits);
        printf("read %d x %d, fingerprint %016llx\n", r.width, r.height, Fingerprint(pixels));
        FreeRecordBlocks(r);
    }
    FreeRecordBlocks(source);
    return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    // Racing libjpeg-turbo's SSE2 code: ours in its SSE2 form too, the form
    // the 32-bit product keeps.
    const char* sse2Only = getenv("JSIMD_FORCESSE2");
    if (sse2Only && *sse2Only == '1') SetJpegForm(kJpegSse2);
    printf("our form: %s\n", CurrentJpegForm() == kJpegAvx2 ? "AVX2" : CurrentJpegForm() == kJpegSse2 ? "SSE2" : "plain");
    // Large blocks from the heap rather than mappings of their own, and
    // freed memory kept for the next run.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
#ifdef HAVE_LIBJPEG
    if (argc == 3 && std::string(argv[1]) == "once") return Once(argv[2]);
#endif
    (void)argc, (void)argv;
    std::vector<Picture> pictures = Pictures();
    printf("processor time of each run, medians:\n");
    for (const Picture& picture : pictures) MeasureEncode(picture);
    for (const Picture& picture : pictures) MeasureDecodes(picture);
    return 0;
}
