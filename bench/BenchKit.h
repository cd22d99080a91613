// Shared pieces of the benchmarks: medians of timed runs, the generated
// test pictures (format records and image objects), and the memory an
// import holds at its peak (global blocks and heap together).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "capture/core/image/DisplayImage.h"
#include "formats/DibHelpers.h"

namespace bench {

// Median wall time in milliseconds of `runs` calls of `work`, after one
// warm-up call.
template <class Work> double MedianMs(int runs, Work&& work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The processor time this thread has used, in milliseconds.
inline double ThreadCpuMs() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Medians in milliseconds of several pieces of work timed in turns (one
// run of each, then the next round), so that a change in the machine's load
// touches them alike; one warm-up round first. Wall time, or with `cpu`
// the processor time of the thread, which the other work on a shared
// machine touches less.
inline std::vector<double> InterleavedMediansMs(int runs, const std::vector<std::function<void()>>& work,
                                                bool cpu = false) {
    for (const auto& w : work) w();
    std::vector<std::vector<double>> times(work.size());
    auto nowMs = [cpu] {
        return cpu ? ThreadCpuMs()
                   : std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    for (int i = 0; i < runs; ++i)
        for (size_t k = 0; k < work.size(); ++k) {
            double start = nowMs();
            work[k]();
            times[k].push_back(nowMs() - start);
        }
    std::vector<double> medians;
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    return medians;
}

// A binary PPM (P6, 8-bit) as top-down RGB; false when there is none.
inline bool ReadPpm(const char* path, std::vector<uint8_t>& rgb, int& width, int& height) {
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    int maxValue = 0;
    bool ok = fscanf(file, "P6 %d %d %d", &width, &height, &maxValue) == 3 && maxValue == 255 && fgetc(file) != EOF;
    if (ok) {
        rgb.resize(size_t(width) * height * 3);
        ok = fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    }
    fclose(file);
    return ok;
}

// An 8-bit, bottom-up record of a screenshot-like picture: a desktop of
// flat colour, windows with title bars in colour steps, lines of "text"
// glyphs, a few icons and a pale gradient panel. Index y counts from the top.
inline void MakeScreenshot8(ImageRecord& record, int32_t width, int32_t height) {
    record = ImageRecord{};
    record.width = width;
    record.height = height;
    record.bitCount = 8;
    CreateDibHeader(record);
    {
        BlockLock info(record.hInfo);
        DibColor* colors = info.as<DibColor>() + 10;
        for (uint32_t i = 0; i < 256; ++i)
            colors[i] = {uint8_t(i * 37), uint8_t(i * 91 + 13), uint8_t(255 - i), 0};
    }
    uint32_t rowBytes = GetDibRowBytes(record);
    record.hBits = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, GetDibImageSize(record));
    BlockLock bits(record.hBits);
    uint32_t seed = 2024;
    auto random = [&seed] { return (seed = seed * 1664525 + 1013904223) >> 8; };
    auto at = [&](int32_t x, int32_t y) -> uint8_t& { return bits.data()[size_t(height - 1 - y) * rowBytes + x]; };
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) at(x, y) = 3;  // desktop
    for (int window = 0; window < 7; ++window) {
        int32_t left = int32_t(random() % uint32_t(width - 500)), top = int32_t(random() % uint32_t(height - 400));
        int32_t right = left + 300 + int32_t(random() % 200), bottom = top + 200 + int32_t(random() % 200);
        uint8_t face = uint8_t(10 + window * 3);
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x) {
                bool frame = x == left || y == top || x == right - 1 || y == bottom - 1;
                bool title = y < top + 22;
                at(x, y) = frame ? 1 : title ? uint8_t(40 + (x - left) * 16 / (right - left)) : face;
            }
        // Lines of glyphs: 6 x 10 cells, each a random pattern in one ink.
        for (int32_t line = top + 30; line + 10 < bottom - 4; line += 14)
            for (int32_t x = left + 6; x + 6 < right - 6; x += 7) {
                if (random() % 8 == 0) continue;  // a space
                uint32_t glyph = random();
                for (int32_t gy = 0; gy < 10; ++gy)
                    for (int32_t gx = 0; gx < 6; ++gx)
                        if ((glyph >> ((gy * 6 + gx) % 23)) & 1) at(x + gx, line + gy) = 0;
            }
    }
    for (int icon = 0; icon < 12; ++icon)  // 32 x 32 icons with many colours
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x) at(8 + x, 8 + icon * 48 + y) = uint8_t(100 + (random() % 150));
    for (int32_t y = height - 120; y < height - 20; ++y)  // gradient panel
        for (int32_t x = 600; x < 1400; ++x) at(x, y) = uint8_t(200 + (x - 600) / 16 % 50);
}

// Gives the image zero-filled 24-bit blocks of the size.
inline void Shape24(DisplayImage& image, int32_t width, int32_t height)
{
    image.width = width;
    image.height = height;
    image.bitCount = 24;
    image.CreateHeader();
    image.hPixels = GlobalAlloc(GHND, image.GetBitsSize());
}

// A 24-bit picture with smooth gradients and noise: hundreds of thousands
// of colours, as a photograph has.
inline void FillPhoto(DisplayImage& image, int32_t width, int32_t height)
{
    Shape24(image, width, height);
    BlockLock pixels(image.hPixels);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.data() + size_t(y) * image.GetRowStride();
        for (int32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            row[3 * x] = uint8_t(x * 255 / width + (noise >> 29));
            row[3 * x + 1] = uint8_t(y * 255 / height + (noise >> 26 & 7));
            row[3 * x + 2] = uint8_t((x + y) / 12 + (noise >> 20 & 3));
        }
    }
}

// A 24-bit screenshot-like picture: windows, text-like strokes and
// gradients in 200 colours.
inline void FillScreenshot(DisplayImage& image, int32_t width, int32_t height)
{
    Shape24(image, width, height);
    BlockLock pixels(image.hPixels);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.data() + size_t(y) * image.GetRowStride();
        for (int32_t x = 0; x < width; ++x) {
            int color = (x / 240 + y / 135 * 8) % 40 * 5 + ((x * 7 + y * 3) % 11 == 0 ? 1 : 0) * (x % 5);
            row[3 * x] = uint8_t(color * 37);
            row[3 * x + 1] = uint8_t(color * 91);
            row[3 * x + 2] = uint8_t(color);
        }
    }
}

// Replaces the global operator new in the program that includes this
// header once with BENCH_COUNT_HEAP defined: live and peak heap bytes.
struct HeapCounter {
    static size_t& live() { static size_t bytes = 0; return bytes; }
    static size_t& peak() { static size_t bytes = 0; return bytes; }
    static void resetPeak() { peak() = live(); }
};

// Peak of global blocks plus heap while `work` runs, above what was live before.
template <class Work> size_t PeakBytesOf(Work&& work) {
    KernelResetPeakBlockBytes();
    HeapCounter::resetPeak();
    size_t liveBlocks = KernelPeakBlockBytes(), liveHeap = HeapCounter::live();
    work();
    return (KernelPeakBlockBytes() - liveBlocks) + (HeapCounter::peak() - liveHeap);
}

}  // namespace bench

#ifdef BENCH_COUNT_HEAP
#include <cstdlib>
#include <new>

// Each allocation carries its size in front, so delete can count it back.
void* operator new(size_t bytes) {
    auto* block = static_cast<size_t*>(std::malloc(bytes + 16));
    if (!block) throw std::bad_alloc();
    *block = bytes;
    size_t& live = bench::HeapCounter::live();
    live += bytes;
    bench::HeapCounter::peak() = std::max(bench::HeapCounter::peak(), live);
    return reinterpret_cast<char*>(block) + 16;
}
void operator delete(void* pointer) noexcept {
    if (!pointer) return;
    auto* block = reinterpret_cast<size_t*>(static_cast<char*>(pointer) - 16);
    bench::HeapCounter::live() -= *block;
    std::free(block);
}
void* operator new[](size_t bytes) { return operator new(bytes); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, size_t) noexcept { operator delete(pointer); }
#endif
