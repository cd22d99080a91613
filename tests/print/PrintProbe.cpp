// kprint: calls the print library's exports with patterned images, for the
// real-printing cases. A watcher thread reads the progress meter's lines and
// answers the library's message boxes (printing what they said), and can
// press the meter's Cancel.
//
//   kprint one <section> <ini> <bits> <w> <h> <file name> [note] [file time]
//   kprint all <section> <ini> <count> <bits> <w> <h> <name prefix> [cancel after page]
//   kprint onepage <section> <ini> <count> [w h name prefix]
//                                         image i's pattern shifted by i
//   kprint setup <section> <ini>          PrintXImageSetup
//   kprint reset                          ResetPrinter
//   kprint bad <section> <ini> <case>     records the library must refuse
//
// The pattern: 4 x 4-pixel cells, cell (cx, cy) coloured with entry
// (cx + 3 cy + shift) % n of kColors (n = 2 at 1 bit, else 8), the same in every
// depth, so the checker needs only the cell's place.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "print/Pagent.h"

namespace {

const RGBQUAD kColors[8] = {
    {0, 0, 255, 0}, {0, 200, 0, 0},   {255, 0, 0, 0},   {0, 255, 255, 0},
    {255, 0, 255, 0}, {255, 255, 0, 0}, {0, 0, 0, 0}, {0, 128, 255, 0}};
const RGBQUAD kMono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

int CellIndex(int x, int y, int bits, int shift)
{
    int n = bits == 1 ? 2 : 8;
    return (x / 4 + 3 * (y / 4) + shift) % n;
}

// A record with its own blocks; y counts from the top.
ImageRecord MakeRecord(int bits, int w, int h, const std::string& name, const std::string& note, int fileTime,
                       int shift = 0)
{
    ImageRecord r{};
    r.width = w;
    r.height = h;
    r.bitCount = uint16_t(bits);
    int entries = bits <= 8 ? 1 << bits : 0;
    size_t stride = ((size_t(w) * bits + 31) / 32) * 4;
    r.hInfo = GlobalAlloc(GHND, 40 + 4 * entries);
    r.hBits = GlobalAlloc(GHND, stride * h);
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(r.hInfo));
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = h;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = WORD(bits);
    for (int i = 0; i < entries; ++i)
        info->bmiColors[i] = bits == 1 ? kMono[i] : i < 8 ? kColors[i] : RGBQUAD{};
    GlobalUnlock(r.hInfo);
    auto* pixels = static_cast<uint8_t*>(GlobalLock(r.hBits));
    for (int y = 0; y < h; ++y) {
        uint8_t* row = pixels + size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            int index = CellIndex(x, y, bits, shift);
            switch (bits) {
            case 1: if (index) row[x / 8] |= uint8_t(0x80 >> (x % 8)); break;
            case 4: row[x / 2] |= uint8_t(x % 2 ? index : index << 4); break;
            case 8: row[x] = uint8_t(index); break;
            default: {
                uint8_t* p = row + size_t(x) * (bits / 8);
                p[0] = kColors[index].rgbBlue;
                p[1] = kColors[index].rgbGreen;
                p[2] = kColors[index].rgbRed;
                break;
            }
            }
        }
    }
    GlobalUnlock(r.hBits);
    if (!note.empty()) {
        r.hNote = GlobalAlloc(GHND, note.size() + 1);
        memcpy(GlobalLock(r.hNote), note.c_str(), note.size() + 1);
        GlobalUnlock(r.hNote);
        r.noteLength = int32_t(note.size());
    }
    r.fileTime = fileTime;
    r.fileName = _strdup(name.c_str());
    return r;
}

// ---- The watcher ----

std::string g_meterCaption;
int g_cancelAtPage = 0;
volatile bool g_stop = false;

std::string TextOf(HWND window)
{
    char text[512] = {};
    DWORD_PTR done = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000, &done);
    return text;
}

BOOL CALLBACK WatchWindow(HWND window, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0)
        return TRUE;
    std::string caption = TextOf(window);
    if (caption == "Print" && GetDlgItem(window, 0xFFFF)) {
        printf("message: %s\n", TextOf(GetDlgItem(window, 0xFFFF)).c_str());
        fflush(stdout);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        Sleep(200);
    } else if (HWND line3 = GetDlgItem(window, 1303)) {
        static std::string seen[3];
        for (int i = 0; i < 3; ++i) {
            std::string text = TextOf(GetDlgItem(window, 1301 + i));
            if (!text.empty() && text != seen[i]) {
                printf("meter%d: %s\n", i + 1, text.c_str());
                fflush(stdout);
                seen[i] = text;
            }
        }
        if (caption != g_meterCaption) {
            printf("meter caption: %s\n", caption.c_str());
            g_meterCaption = caption;
        }
        int page = 0;
        if (g_cancelAtPage && sscanf(TextOf(line3).c_str(), "Page %d", &page) == 1 && page >= g_cancelAtPage) {
            printf("cancel\n");
            fflush(stdout);
            PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
            g_cancelAtPage = 0;
        }
    }
    return TRUE;
}

DWORD WINAPI Watcher(LPVOID)
{
    while (!g_stop) {
        EnumWindows(WatchWindow, 0);
        Sleep(15);
    }
    return 0;
}

int Usage()
{
    fprintf(stderr, "usage: see the head of PrintProbe.cpp\n");
    return 2;
}

HGLOBAL RecordBlock(const std::vector<ImageRecord>& records)
{
    HGLOBAL block = GlobalAlloc(GHND, records.size() * sizeof(ImageRecord));
    memcpy(GlobalLock(block), records.data(), records.size() * sizeof(ImageRecord));
    GlobalUnlock(block);
    return block;
}

int BadRecords(const char* section, const char* ini, const std::string& which)
{
    ImageRecord r = MakeRecord(24, 40, 30, "C:\\bad.bmp", "", 0);
    if (which == "depth") {
        for (int bits : {0, 2, 16, 7})
            r.bitCount = uint16_t(bits), PrintOneXImage(&r, section, ini, 0, 0);
    } else if (which == "short-pixels") {
        r.width = 4000;   // the block holds 40 x 30
        PrintOneXImage(&r, section, ini, 0, 0);
    } else if (which == "short-header") {
        ImageRecord p = MakeRecord(8, 40, 30, "C:\\bad.bmp", "", 0);
        GlobalFree(p.hInfo);
        p.hInfo = GlobalAlloc(GHND, 44);
        PrintOneXImage(&p, section, ini, 0, 0);
        p.hInfo = nullptr;
        PrintOneXImage(&p, section, ini, 0, 0);
    } else if (which == "sizes") {
        for (int w : {0, -5, 0x7FFFFFFF})
            r.width = w, PrintOneXImage(&r, section, ini, 0, 0);
        r.width = 40;
        r.hBits = nullptr;
        PrintOneXImage(&r, section, ini, 0, 0);
    } else if (which == "block") {
        // A count larger than the block, a count of 0, no block at all.
        HGLOBAL block = RecordBlock({r});
        PrintAllXImage(block, 5, section, ini, 0);
        PrintAllXImage(block, 0, section, ini, 0);
        PrintAllXImage(nullptr, 3, section, ini, 0);
        PrintOneXImage(nullptr, section, ini, 0, 0);
        GlobalFree(block);
    } else {
        return Usage();
    }
    printf("returned\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    HANDLE watcher = CreateThread(nullptr, 0, Watcher, nullptr, 0, nullptr);
    int status = 0;
    if (command == "one" && argc >= 8) {
        ImageRecord r = MakeRecord(atoi(argv[4]), atoi(argv[5]), atoi(argv[6]), argv[7], argc > 8 ? argv[8] : "",
                                   argc > 9 ? atoi(argv[9]) : 0);
        ImageRecord before = r;
        PrintOneXImage(&r, argv[2], argv[3], 1, 0);
        printf("record %s\n", memcmp(&before, &r, sizeof r) == 0 ? "unchanged" : "changed");
    } else if (command == "all" && argc >= 9) {
        int count = atoi(argv[4]);
        g_cancelAtPage = argc > 9 ? atoi(argv[9]) : 0;
        std::vector<ImageRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(MakeRecord(atoi(argv[5]), atoi(argv[6]), atoi(argv[7]),
                                         std::string(argv[8]) + std::to_string(i + 1) + ".bmp", "", 0));
        HGLOBAL block = RecordBlock(records);
        PrintAllXImage(block, count, argv[2], argv[3], 0);
        bool same = memcmp(GlobalLock(block), records.data(), records.size() * sizeof(ImageRecord)) == 0;
        GlobalUnlock(block);
        printf("records %s\n", same ? "unchanged" : "changed");
        GlobalFree(block);
    } else if (command == "onepage" && argc >= 5) {
        std::vector<ImageRecord> records;
        int w = argc > 6 ? atoi(argv[5]) : 8, h = argc > 6 ? atoi(argv[6]) : 8;
        std::string prefix = argc > 7 ? argv[7] : "C:\\x";
        for (int i = 0; i < atoi(argv[4]); ++i)
            records.push_back(MakeRecord(8, w, h, prefix + std::to_string(i + 1) + ".bmp", "", 0, i));
        HGLOBAL block = RecordBlock(records);
        PrintAllXImageOnePage(block, int(records.size()), argv[2], argv[3], 0);
        GlobalFree(block);
        printf("returned\n");
    } else if (command == "setup" && argc >= 4) {
        PrintXImageSetup(argv[2], argv[3]);
        printf("returned\n");
    } else if (command == "reset") {
        ResetPrinter();
    } else if (command == "bad" && argc >= 5) {
        status = BadRecords(argv[2], argv[3], argv[4]);
    } else {
        status = Usage();
    }
    Sleep(300);   // let the watcher report the last box
    g_stop = true;
    WaitForSingleObject(watcher, 2000);
    fflush(stdout);
    return status;
}
