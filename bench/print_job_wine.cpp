// Print job benchmark, run under Wine (bench/print_job.sh): the time from
// PrintOneXImage to the end of the job for a 1920 x 1080 24-bit image at the
// default options, against a bare loop that sends the same picture to the
// same printer in the same pages and strips (limit 1.3x), medians of runs
// taken in turns, and the most global memory the print library held at once
// during a job beyond what it held before.
// The library's calls of GlobalAlloc, GlobalReAlloc and GlobalFree are
// counted by patching its import table.
//   print_job_bench <section> <ini> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "print/Pagent.h"
#include "print/PrintLayout.h"

namespace {

using AllocFn = HGLOBAL(WINAPI*)(UINT, SIZE_T);
using ReAllocFn = HGLOBAL(WINAPI*)(HGLOBAL, SIZE_T, UINT);
using FreeFn = HGLOBAL(WINAPI*)(HGLOBAL);
AllocFn realAlloc;
ReAllocFn realReAlloc;
FreeFn realFree;
long long liveBytes = 0, peakBytes = 0;

void Count(long long change)
{
    liveBytes += change;
    peakBytes = std::max(peakBytes, liveBytes);
}

HGLOBAL WINAPI CountedAlloc(UINT flags, SIZE_T bytes)
{
    HGLOBAL block = realAlloc(flags, bytes);
    if (block)
        Count((long long)GlobalSize(block));
    return block;
}

HGLOBAL WINAPI CountedReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags)
{
    long long before = block ? (long long)GlobalSize(block) : 0;
    HGLOBAL moved = realReAlloc(block, bytes, flags);
    if (moved)
        Count((long long)GlobalSize(moved) - before);
    return moved;
}

HGLOBAL WINAPI CountedFree(HGLOBAL block)
{
    long long before = block ? (long long)GlobalSize(block) : 0;
    HGLOBAL result = realFree(block);
    if (!result)
        Count(-before);
    return result;
}

// Points the module's imports of the three kernel calls at the counters.
bool PatchImports(HMODULE module)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    realAlloc = reinterpret_cast<AllocFn>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GlobalAlloc")));
    realReAlloc = reinterpret_cast<ReAllocFn>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GlobalReAlloc")));
    realFree = reinterpret_cast<FreeFn>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GlobalFree")));
    int patched = 0;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); entry->Name; ++entry) {
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function; ++thunk) {
            void* now = reinterpret_cast<void*>(thunk->u1.Function);
            void* to = now == reinterpret_cast<void*>(realAlloc)     ? reinterpret_cast<void*>(CountedAlloc)
                       : now == reinterpret_cast<void*>(realReAlloc) ? reinterpret_cast<void*>(CountedReAlloc)
                       : now == reinterpret_cast<void*>(realFree)    ? reinterpret_cast<void*>(CountedFree)
                                                                     : nullptr;
            if (!to)
                continue;
            DWORD old;
            VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, PAGE_READWRITE, &old);
            thunk->u1.Function = reinterpret_cast<ULONG_PTR>(to);
            VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, old, &old);
            ++patched;
        }
    }
    return patched >= 2;
}

ImageRecord MakePhoto(int w, int h)
{
    ImageRecord r{};
    r.width = w;
    r.height = h;
    r.bitCount = 24;
    size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
    r.hInfo = GlobalAlloc(GHND, 40);
    auto* info = static_cast<BITMAPINFOHEADER*>(GlobalLock(r.hInfo));
    info->biSize = 40;
    info->biWidth = w;
    info->biHeight = h;
    info->biPlanes = 1;
    info->biBitCount = 24;
    GlobalUnlock(r.hInfo);
    r.hBits = GlobalAlloc(GHND, stride * h);
    auto* pixels = static_cast<BYTE*>(GlobalLock(r.hBits));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* p = pixels + size_t(y) * stride + size_t(x) * 3;
            p[0] = BYTE(x * 255 / w);
            p[1] = BYTE(y * 255 / h);
            p[2] = BYTE((x ^ y) & 255);
        }
    GlobalUnlock(r.hBits);
    static char name[] = "C:\\bench.bmp";
    r.fileName = name;
    return r;
}

// The default options' job without the library: the default printer in
// landscape, the picture at scale 3 in the middle of the page, tiled and
// cut into strips as the job does, no meter, no header, footer or note.
void BarePrintLoop(const ImageRecord& photo)
{
    constexpr int kScale = 3, kCentre = 4;
    char device[256] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    if (char* comma = strchr(device, ','))
        *comma = 0;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION;
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    HDC dc = CreateDCA(nullptr, device, nullptr, &mode);
    if (!dc)
        return;
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = "bare print loop";
    StartDocA(dc, &document);
    const int w = GetDeviceCaps(dc, HORZRES) - 2 * pagent::kPageMargin;
    const int h = GetDeviceCaps(dc, VERTRES) - 2 * pagent::kPageMargin;
    const pagent::Point at =
        pagent::GetAlignmentOffset(kCentre, int64_t(kScale) * photo.width, int64_t(kScale) * photo.height, w, h);
    const pagent::PagePlan plan = pagent::PlanPages(photo.width, photo.height, kScale, w, h);
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(photo.hInfo));
    const auto* pixels = static_cast<const uint8_t*>(GlobalLock(photo.hBits));
    const LONG width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;
    for (int64_t i = 0; i < plan.total(); ++i) {
        const pagent::PageTile tile = pagent::GetPageTile(plan, photo.width, photo.height, int(i));
        StartPage(dc);
        const std::vector<pagent::BandStrip> strips = pagent::PlanBandStrips(tile.sourceX, tile.width, tile.rows, 24);
        std::vector<uint8_t> band(pagent::BandBufferBytes(strips, 24));
        for (const pagent::BandStrip& strip : strips) {
            info->bmiHeader.biWidth = strip.width;
            info->bmiHeader.biHeight = strip.rows;
            pagent::CopyBandRows(band.data(), pixels, photo.width, 24, strip.sourceX,
                                 tile.storedRow + tile.rows - strip.rowFromTop - strip.rows, strip.width, strip.rows);
            StretchDIBits(dc, at.x + strip.offsetX * kScale, at.y + strip.rowFromTop * kScale, strip.width * kScale,
                          strip.rows * kScale, 0, 0, strip.width, strip.rows, band.data(), info, DIB_RGB_COLORS,
                          SRCCOPY);
        }
        EndPage(dc);
    }
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    GlobalUnlock(photo.hBits);
    GlobalUnlock(photo.hInfo);
    EndDoc(dc);
    DeleteDC(dc);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: print_job_bench <section> <ini> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;
    if (!PatchImports(GetModuleHandleA("Pagent.dll"))) {
        fprintf(stderr, "the print library's imports could not be counted\n");
        return 1;
    }
    ImageRecord photo = MakePhoto(1920, 1080);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    PrintOneXImage(&photo, argv[1], argv[2], 0, 0);   // warm-up: loads the printer and settings
    BarePrintLoop(photo);
    std::vector<double> times, bare;
    long long peak = 0;
    for (int i = 0; i < runs; ++i) {
        peakBytes = liveBytes;
        long long before = liveBytes;
        QueryPerformanceCounter(&start);
        PrintOneXImage(&photo, argv[1], argv[2], 0, 0);
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end, frequency));
        peak = std::max(peak, peakBytes - before);
        QueryPerformanceCounter(&start);
        BarePrintLoop(photo);
        QueryPerformanceCounter(&end);
        bare.push_back(Seconds(start, end, frequency));
    }
    const double job = Median(times), loop = Median(bare);
    std::sort(times.begin(), times.end());
    printf("1920 x 1080 24-bit, default options: median %.1f ms over %d jobs (min %.1f, max %.1f)\n", job, runs,
           times.front(), times.back());
    printf("bare loop of the same pages and strips: median %.1f ms; the job takes %.2fx (limit 1.3x)\n", loop,
           job / loop);
    printf("peak global memory of the library during a job: %lld bytes (one band holds at most 65535)\n", peak);
    return 0;
}
