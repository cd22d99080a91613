// GIF decode and encode of a 1920 x 1080 screenshot-like 8-bit picture,
// ours against giflib on the same pixels, and the memory one import holds.
#define BENCH_COUNT_HEAP
#include "BenchKit.h"

#include <cstring>
#include <string>
#include <unistd.h>

#include "formats/FormatFrame.h"

#ifdef HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr int kRuns = 15;

#ifdef HAVE_GIFLIB
struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    size_t n = std::min<size_t>(size_t(count), reader->bytes->size() - reader->at);
    memcpy(out, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return int(n);
}

int WriteToMemory(GifFileType* gif, const GifByteType* in, int count) {
    static_cast<std::vector<uint8_t>*>(gif->UserData)->insert(
        static_cast<std::vector<uint8_t>*>(gif->UserData)->end(), in, in + count);
    return count;
}

// Decodes the first image into `pixels` (top-down, width x height).
bool GiflibDecode(const std::vector<uint8_t>& file, std::vector<uint8_t>& pixels) {
    MemoryReader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif) return false;
    bool done = false;
    GifRecordType type;
    while (!done && DGifGetRecordType(gif, &type) == GIF_OK && type != TERMINATE_RECORD_TYPE) {
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) != GIF_OK) break;
            pixels.resize(size_t(gif->Image.Width) * gif->Image.Height);
            done = DGifGetLine(gif, pixels.data(), int(pixels.size())) == GIF_OK;
        } else if (type == EXTENSION_RECORD_TYPE) {
            int code;
            GifByteType* block;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK) break;
            while (block && DGifGetExtensionNext(gif, &block) == GIF_OK) {}
        }
    }
    DGifCloseFile(gif, &error);
    return done;
}

std::vector<uint8_t> GiflibEncode(const std::vector<uint8_t>& topDown, const GifColorType* palette) {
    std::vector<uint8_t> file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, WriteToMemory, &error);
    ColorMapObject* map = GifMakeMapObject(256, palette);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    for (int32_t y = 0; y < kHeight; ++y) EGifPutLine(gif, const_cast<uint8_t*>(&topDown[size_t(y) * kWidth]), kWidth);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return file;
}
#endif

// The record's indices top-down, as giflib takes and gives them.
std::vector<uint8_t> TopDown(const ImageRecord& record) {
    BlockLock bits(record.hBits);
    uint32_t rowBytes = GetDibRowBytes(record);
    std::vector<uint8_t> out(size_t(kWidth) * kHeight);
    for (int32_t y = 0; y < kHeight; ++y)
        memcpy(&out[size_t(y) * kWidth], bits.data() + size_t(kHeight - 1 - y) * rowBytes, kWidth);
    return out;
}

std::vector<uint8_t> OurEncode(const ImageRecord& record) {
    MemorySink sink;
    if (RunWriter(WriteGifFile, record, sink) != 0) return {};
    return sink.bytes();
}

ImageRecord OurDecode(const std::vector<uint8_t>& file) { return ImportImageMemory("b.gif", file.data(), file.size()); }

void ReportMemory(const ImageRecord& picture, const std::vector<uint8_t>& file) {
    std::string path = "/tmp/bench_gif_" + std::to_string(getpid()) + ".gif";
    FILE* out = fopen(path.c_str(), "wb");
    fwrite(file.data(), 1, file.size(), out);
    fclose(out);
    ImageRecord read{};
    size_t peak = bench::PeakBytesOf([&] { read = *ImportImageFile(path.c_str()); });
    size_t budget = GetDibImageSize(picture) + file.size() + GetDibRowBytes(picture);
    printf("import peak %zu bytes; pixel block + file + one row = %zu (%+zd bytes: header block, LZW tables)\n",
           peak, budget, ssize_t(peak) - ssize_t(budget));
    FreeRecordBlocks(read);
    remove(path.c_str());
}

}  // namespace

int main() {
    ImageRecord picture;
    bench::MakeScreenshot8(picture, kWidth, kHeight);
    std::vector<uint8_t> ours = OurEncode(picture);
    ImageRecord check = OurDecode(ours);
    bool same = check.error == 0 && TopDown(check) == TopDown(picture);
    FreeRecordBlocks(check);
    printf("GIF %dx%d 8-bit screenshot-like: our file %zu bytes, round trip %s\n", kWidth, kHeight, ours.size(),
           same ? "exact" : "WRONG");

    double ourEncode = bench::MedianMs(kRuns, [&] { OurEncode(picture); });
    double ourDecode = bench::MedianMs(kRuns, [&] {
        ImageRecord r = OurDecode(ours);
        FreeRecordBlocks(r);
    });
#ifdef HAVE_GIFLIB
    std::vector<uint8_t> topDown = TopDown(picture);
    GifColorType palette[256];
    {
        BlockLock info(picture.hInfo);
        const DibColor* colors = info.as<DibColor>() + 10;
        for (int i = 0; i < 256; ++i) palette[i] = {colors[i].red, colors[i].green, colors[i].blue};
    }
    std::vector<uint8_t> theirs = GiflibEncode(topDown, palette);
    std::vector<uint8_t> decoded;
    bool agree = GiflibDecode(ours, decoded) && decoded == topDown;
    ImageRecord fromTheirs = OurDecode(theirs);
    agree = agree && fromTheirs.error == 0 && TopDown(fromTheirs) == topDown;
    FreeRecordBlocks(fromTheirs);
    printf("giflib file %zu bytes; each decoder reads the other's file exactly: %s\n", theirs.size(),
           agree ? "yes" : "NO");
    double theirEncode = bench::MedianMs(kRuns, [&] { GiflibEncode(topDown, palette); });
    double theirDecode = bench::MedianMs(kRuns, [&] { GiflibDecode(ours, decoded); });
    printf("encode: ours %.2f ms, giflib %.2f ms, ratio %.2fx (target <= 1.0x)\n", ourEncode, theirEncode,
           ourEncode / theirEncode);
    printf("decode: ours %.2f ms, giflib %.2f ms, ratio %.2fx (target <= 1.0x)\n", ourDecode, theirDecode,
           ourDecode / theirDecode);
#else
    printf("encode: ours %.2f ms; decode: ours %.2f ms (giflib not found)\n", ourEncode, ourDecode);
#endif
    ReportMemory(picture, ours);
    FreeRecordBlocks(picture);
    return 0;
}
