// Images through the real clipboard: each copy read back with plain system
// calls, and pastes of blocks put there with plain system calls.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "DisplayImageWinKit.h"
#include "capture/core/image/ClipboardImage.h"
#include "capture/core/image/ImageNotify.h"
#include "capture/core/image/WorkImage.h"

using namespace winkit;

namespace {

int g_message = 0;
void RecordMessage(int id) { g_message = id; }

class ClipboardImageTest : public testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowA("STATIC", "clipboard owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        g_message = 0;
        ImageMessageReporter = RecordMessage;
    }
    void TearDown() override
    {
        ImageMessageReporter = nullptr;
        DestroyWindow(owner);
    }
    // Puts one handle on the clipboard as another program would.
    void Put(UINT format, HANDLE data)
    {
        ASSERT_TRUE(OpenClipboard(owner));
        EmptyClipboard();
        ASSERT_NE(SetClipboardData(format, data), nullptr);
        CloseClipboard();
    }
    HWND owner = nullptr;
};

std::vector<uint8_t> BlockBytes(HANDLE block)
{
    const uint8_t* data = static_cast<const uint8_t*>(GlobalLock(block));
    std::vector<uint8_t> bytes(data, data + GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

TEST_F(ClipboardImageTest, DibCopyIsTheHeaderAndRowsWithAPalette)
{
    DisplayImage image;
    Shape(image, 5, 3, 8);
    SetEntry(image, 7, RGB(9, 99, 199));
    {
        BlockLock pixels(image.hPixels);
        pixels.data()[2] = 7;
    }
    image.CreatePaletteFromColors();
    ASSERT_TRUE(CopyImageToClipboardDIB(image, owner));

    ASSERT_TRUE(OpenClipboard(owner));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    std::vector<uint8_t> bytes = BlockBytes(dib);
    ASSERT_GE(bytes.size(), 1064u + 8 * 3);
    BlockLock header(image.hHeader), pixels(image.hPixels);
    EXPECT_EQ(memcmp(bytes.data(), header.data(), 1064), 0);
    EXPECT_EQ(memcmp(bytes.data() + 1064, pixels.data(), 8 * 3), 0);
    HPALETTE palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entry = {};
    GetPaletteEntries(palette, 7, 1, &entry);
    EXPECT_EQ(entry.peGreen, 99);
    EXPECT_EQ(entry.peBlue, 199);
    CloseClipboard();
}

TEST_F(ClipboardImageTest, DeviceBitmapCopyShowsThePicture)
{
    DisplayImage image;
    FillPattern24(image, 6, 4);
    ASSERT_TRUE(CopyImageToClipboardBitmap(image, owner));

    ASSERT_TRUE(OpenClipboard(owner));
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    Surface surface(6, 4);
    HDC source = CreateCompatibleDC(surface.dc());
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(surface.dc(), 0, 0, 6, 4, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    CloseClipboard();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(surface.At(x, y), PatternColor(x, y)) << x << "," << y;
}

TEST_F(ClipboardImageTest, MonochromeCopyKeepsTheBitsTopRowFirst)
{
    DisplayImage image;
    Shape(image, 20, 2, 1);
    SetEntry(image, 0, RGB(255, 0, 0));   // the colour table does not travel
    {
        BlockLock pixels(image.hPixels);
        Row(pixels, image, 1)[0] = 0xC0;     // picture row 0
        Row(pixels, image, 0)[2] = 0x10;     // picture row 1, pixel 19
    }
    ASSERT_TRUE(CopyMonoImageToClipboard(image, owner));

    ASSERT_TRUE(OpenClipboard(owner));
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = {};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidth, 20);
    EXPECT_EQ(info.bmWidthBytes, 4);
    uint8_t bits[8] = {};
    EXPECT_EQ(GetBitmapBits(bitmap, sizeof bits, bits), 8);
    CloseClipboard();
    EXPECT_EQ(bits[0], 0xC0);
    EXPECT_EQ(bits[4 + 2], 0x10);
    EXPECT_EQ(bits[4], 0);
}

TEST_F(ClipboardImageTest, PastesAForeignTopDownDib)
{
    // 32 bits, rows top-down, as other programs put them.
    const int width = 3, height = 2;
    HGLOBAL block = GlobalAlloc(GHND, 40 + width * 4 * height);
    {
        uint8_t* data = static_cast<uint8_t*>(GlobalLock(block));
        BITMAPINFOHEADER header = {};
        header.biSize = 40;
        header.biWidth = width;
        header.biHeight = -height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        memcpy(data, &header, 40);
        const uint8_t topLeft[4] = {10, 20, 30, 0};
        const uint8_t bottomRight[4] = {40, 50, 60, 0};
        memcpy(data + 40, topLeft, 4);
        memcpy(data + 40 + 12 + 8, bottomRight, 4);
        GlobalUnlock(block);
    }
    Put(CF_DIB, block);

    CreateWorkImage();
    ASSERT_TRUE(PasteClipboardIntoWorkImage(owner));
    EXPECT_EQ(WorkImage->status, kStatusClipboardImage);
    EXPECT_EQ(WorkImage->bitCount, 24);
    EXPECT_EQ(WorkImage->height, 2);
    BlockLock pixels(WorkImage->hPixels);
    const uint8_t* top = Row(pixels, *WorkImage, 1);
    const uint8_t* bottom = Row(pixels, *WorkImage, 0);
    EXPECT_EQ(top[0], 10);
    EXPECT_EQ(top[2], 30);
    EXPECT_EQ(bottom[6], 40);
    EXPECT_EQ(bottom[8], 60);
    DeleteWorkImage();
}

TEST_F(ClipboardImageTest, UnusableOrMissingDibPastesNothing)
{
    // A header that promises more rows than the block holds.
    HGLOBAL block = GlobalAlloc(GHND, 40 + 16);
    {
        BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
        header->biSize = 40;
        header->biWidth = 4;
        header->biHeight = 1000;
        header->biPlanes = 1;
        header->biBitCount = 24;
        GlobalUnlock(block);
    }
    Put(CF_DIB, block);
    CreateWorkImage();
    EXPECT_FALSE(PasteClipboardIntoWorkImage(owner));
    EXPECT_FALSE(WorkImage->hPixels);
    EXPECT_EQ(WorkImage->status, kStatusNoClipboardBitmap);

    // Only text on the clipboard.
    HGLOBAL text = GlobalAlloc(GHND, 6);
    memcpy(GlobalLock(text), "hello", 6);
    GlobalUnlock(text);
    Put(CF_TEXT, text);
    EXPECT_FALSE(PasteClipboardIntoWorkImage(owner));
    EXPECT_FALSE(WorkImage->hPixels);
    EXPECT_EQ(WorkImage->status, kStatusNoClipboardBitmap);
    DeleteWorkImage();
}

TEST_F(ClipboardImageTest, DeviceBitmapOnlyPastesAsTheSystemOffersIt)
{
    // The system may offer a device bitmap as a device-independent one too;
    // then the paste shows its picture, else "No bitmap in Clipboard.".
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 3);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            SetPixel(memory, x, y, PatternColor(x, y));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Put(CF_BITMAP, bitmap);

    CreateWorkImage();
    bool pasted = PasteClipboardIntoWorkImage(owner);
    RecordProperty("offered_as_dib", pasted ? 1 : 0);
    if (pasted) {
        EXPECT_EQ(WorkImage->status, kStatusClipboardImage);
        WorkImage->placement = {0, 0, 4, 3};
        WorkImage->PrepareForDisplay();
        Surface surface(4, 3);
        WorkImage->Draw(surface.dc());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(surface.At(x, y), PatternColor(x, y)) << x << "," << y;
    } else {
        EXPECT_FALSE(WorkImage->hPixels);
        EXPECT_EQ(WorkImage->status, kStatusNoClipboardBitmap);
    }
    DeleteWorkImage();
}

TEST_F(ClipboardImageTest, ClipboardHeldElsewhereIsReported)
{
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    DisplayImage image;
    FillPattern24(image, 2, 2);
    bool copied = CopyImageToClipboardDIB(image, owner);
    CloseClipboard();
    DestroyWindow(other);
    if (copied)
        GTEST_SKIP() << "this system lets a second window of the thread open the clipboard";
    EXPECT_EQ(g_message, kStatusCannotOpenClipboard);
}

TEST_F(ClipboardImageTest, PaletteCopies)
{
    EXPECT_EQ(CopyPalette(nullptr), nullptr);
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + 300 * sizeof(PALETTEENTRY));
    LOGPALETTE* record = reinterpret_cast<LOGPALETTE*>(bytes.data());
    record->palVersion = 0x300;
    record->palNumEntries = 300;
    for (int i = 0; i < 300; ++i)
        record->palPalEntry[i] = {BYTE(i), BYTE(i / 2), 7, 0};
    HPALETTE large = CreatePalette(record);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(CopyPalette(large), nullptr);
    DeleteObject(large);

    record->palNumEntries = 16;
    HPALETTE small = CreatePalette(record);
    HPALETTE copy = CopyPalette(small);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, small);
    PALETTEENTRY entries[16] = {};
    ASSERT_EQ(GetPaletteEntries(copy, 0, 16, entries), 16u);
    EXPECT_EQ(entries[15].peRed, 15);
    EXPECT_EQ(entries[15].peGreen, 7);
    DeleteObject(copy);
    DeleteObject(small);
}

} // namespace
