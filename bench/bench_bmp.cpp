// BMP write and read of the 1920 x 1080 screenshot-like 8-bit picture of
// the GIF benchmark, and the memory one import holds.
#define BENCH_COUNT_HEAP
#include "BenchKit.h"

#include <cstring>
#include <string>
#include <unistd.h>

#include "formats/FormatFrame.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr int kRuns = 15;

std::vector<uint8_t> Write(const ImageRecord& record) {
    MemorySink sink;
    if (RunWriter(WriteBmpFile, record, sink) != 0) return {};
    return sink.bytes();
}

bool SamePixels(const ImageRecord& a, const ImageRecord& b) {
    if (a.error || b.error || GetDibImageSize(a) != GetDibImageSize(b)) return false;
    BlockLock x(a.hBits), y(b.hBits);
    return memcmp(x.data(), y.data(), GetDibImageSize(a)) == 0;
}

}  // namespace

int main() {
    ImageRecord picture;
    bench::MakeScreenshot8(picture, kWidth, kHeight);
    std::vector<uint8_t> file = Write(picture);
    ImageRecord back = ImportImageMemory("b.bmp", file.data(), file.size());
    printf("BMP %dx%d 8-bit: file %zu bytes, round trip %s\n", kWidth, kHeight, file.size(),
           SamePixels(picture, back) ? "exact" : "WRONG");
    FreeRecordBlocks(back);

    double write = bench::MedianMs(kRuns, [&] { Write(picture); });
    double read = bench::MedianMs(kRuns, [&] {
        ImageRecord r = ImportImageMemory("b.bmp", file.data(), file.size());
        FreeRecordBlocks(r);
    });
    printf("write %.2f ms, read %.2f ms (medians of %d)\n", write, read, kRuns);

    std::string path = "/tmp/bench_bmp_" + std::to_string(getpid()) + ".bmp";
    FILE* out = fopen(path.c_str(), "wb");
    fwrite(file.data(), 1, file.size(), out);
    fclose(out);
    ImageRecord read1{};
    size_t peak = bench::PeakBytesOf([&] { read1 = *ImportImageFile(path.c_str()); });
    size_t budget = GetDibImageSize(picture) + file.size() + GetDibRowBytes(picture);
    printf("import peak %zu bytes; pixel block + file + one row = %zu (%+zd bytes)\n", peak, budget,
           ssize_t(peak) - ssize_t(budget));
    FreeRecordBlocks(read1);
    remove(path.c_str());
    FreeRecordBlocks(picture);
    return 0;
}
