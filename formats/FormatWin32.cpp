// The library's Windows side: entry point, the string table, the error box,
// the screen measure, and the icon and cursor import path.
#ifdef _WIN32
#include <cstring>

#include "DibScreen.h"
#include "FormatFrame.h"

namespace {

HINSTANCE g_instance;
ScreenDepth g_screen;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}

ScreenDepth ReadScreenDepth() {
    ScreenDepth screen = {};
    HDC dc = GetDC(nullptr);
    screen.bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    screen.planes = GetDeviceCaps(dc, PLANES);
    ReleaseDC(nullptr, dc);
    screen.depth = screen.bitsPerPixel * screen.planes;
    screen.colors = screen.depth >= 32 ? 0xFFFFFFFFu : (1u << screen.depth);
    return screen;
}

void MeasureScreen() { g_screen = ReadScreenDepth(); }

HPALETTE CreateDibPalette(const ImageRecord& record) {
    uint32_t entries = GetPaletteEntryCount(record.bitCount);
    if (entries == 0 || !record.hInfo || GlobalSize(record.hInfo) < 40 + 4 * entries) return nullptr;
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } palette;
    palette.version = 0x300;
    palette.count = static_cast<WORD>(entries);
    BlockLock info(record.hInfo);
    const DibColor* table = reinterpret_cast<const DibColor*>(info.data() + 40);
    for (uint32_t i = 0; i < entries; ++i)
        palette.entries[i] = {table[i].red, table[i].green, table[i].blue, 0};
    HPALETTE created = CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
    return created ? created : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
}

bool CreateDibHeaderFromScreen(ImageRecord& record, const ScreenDepth& screen) {
    if (record.bitCount > 8) record.bitCount = 24;
    if (!CreateDibHeader(record)) return false;
    uint32_t entries = GetPaletteEntryCount(record.bitCount);
    if (entries == 0) return true;
    BlockLock info(record.hInfo);
    DibColor* table = reinterpret_cast<DibColor*>(info.data() + 40);
    if (screen.depth >= 8) {
        PALETTEENTRY system[256] = {};
        HDC dc = GetDC(nullptr);
        GetSystemPaletteEntries(dc, 0, entries, system);
        ReleaseDC(nullptr, dc);
        for (uint32_t i = 0; i < entries; ++i)
            table[i] = {system[i].peBlue, system[i].peGreen, system[i].peRed, 0};
    } else if (screen.colors == 2) {
        table[0] = {0, 0, 0, 0};
        table[1] = {255, 255, 255, 0};
    } else {
        for (uint32_t i = 0; i < entries && i < 16; ++i) table[i] = kStandard16Colors[i];
    }
    return true;
}

bool ConvertBitmapToDib(HBITMAP bitmap, ImageRecord& record) {
    uint32_t imageBytes = GetDibImageSize(record);
    uint32_t headerBytes = GetDibHeaderSize(record.bitCount);
    if (imageBytes == 0 || !record.hInfo) return false;
    record.hBits = GlobalAlloc(GHND, imageBytes);
    // GetDIBits rewrites the colour table it is given: hand it a copy.
    HGLOBAL scratch = DuplicateGlobalBlock(record.hInfo, headerBytes);
    if (!record.hBits || !scratch) {
        if (record.hBits) GlobalFree(record.hBits);
        if (scratch) GlobalFree(scratch);
        record.hBits = 0;
        return false;
    }
    HDC dc = GetDC(nullptr);
    HPALETTE palette = CreateDibPalette(record);
    HPALETTE previous = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
    if (palette) RealizePalette(dc);
    int rows;
    {
        BlockLock bits(record.hBits), info(scratch);
        rows = GetDIBits(dc, bitmap, 0, record.height, bits.data(), info.as<BITMAPINFO>(), DIB_RGB_COLORS);
    }
    if (previous) SelectPalette(dc, previous, FALSE);
    if (palette && palette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(palette);
    ReleaseDC(nullptr, dc);
    GlobalFree(scratch);
    return rows == record.height;
}

// Icons and cursors become a 32 x 32 image at the screen's depth, drawn
// over white.
void ImportIconFile(const char* path, bool isCursor, ImageRecord& record) {
    HICON icon = isCursor ? reinterpret_cast<HICON>(LoadImageA(nullptr, path, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE))
                          : ExtractIconA(g_instance, path, 0);
    if (!icon || icon == reinterpret_cast<HICON>(1)) {
        record.error = kErrCannotOpen;  // no icon in the file
        return;
    }
    record.width = 32;
    record.height = 32;
    record.bitCount = static_cast<uint16_t>(g_screen.depth);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = {0, 0, 32, 32};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIcon(memory, 0, 0, icon);
    if (isCursor) DestroyCursor(icon); else DestroyIcon(icon);
    SelectObject(memory, old);
    bool ok = CreateDibHeaderFromScreen(record, g_screen) && ConvertBitmapToDib(bitmap, record);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!ok) {
        FreeRecordBlocks(record);
        memset(&record, 0, sizeof record);
        record.error = kErrNoMemory;
    }
}

int __cdecl GetErrorMessage(int id, char* buffer) {
    if (!buffer) return 0;
    buffer[0] = 0;
    if (id < kErrCannotOpen || id > kErrNoMemory) return 0;
    return LoadStringA(g_instance, static_cast<UINT>(id), buffer, 260);
}

void __cdecl DisplayFormatErrorMsg(int id) {
    char text[260];
    GetErrorMessage(id, text);
    MessageBoxA(nullptr, text, "Format Error", MB_OK | MB_ICONERROR);
}
#endif
