// DisplayImage on the device side: drawing into a memory surface read back
// pixel by pixel, the selection frame and merge border, the display copy on a
// shallow screen, capture from a device bitmap, palettes, and progress sent
// to a window.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "DisplayImageWinKit.h"
#include "capture/core/image/ColorOps.h"
#include "capture/core/image/DisplayImage.h"
#include "capture/core/image/ImageNotify.h"
#include "capture/core/settings/Settings.h"

using namespace winkit;

namespace {

class DisplayImageDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedDepth = ScreenDepth;
        savedColors = ScreenColorCount;
        savedInvert = Session[kSessionInvertSelection];
        savedBorder = Session[kSessionMergeBorder];
        ScreenDepth = 32;
        ScreenColorCount = 1 << 24;
    }
    void TearDown() override
    {
        ScreenDepth = savedDepth;
        ScreenColorCount = savedColors;
        Session[kSessionInvertSelection] = savedInvert;
        Session[kSessionMergeBorder] = savedBorder;
    }
    int savedDepth = 0, savedColors = 0, savedInvert = 0, savedBorder = 0;
};

int PaletteEntryCount(HPALETTE palette)
{
    WORD count = 0;
    return palette && GetObjectA(palette, sizeof count, &count) ? count : 0;
}

COLORREF Inverted(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

TEST_F(DisplayImageDrawTest, DrawsEveryDepthAtItsPlacement)
{
    DisplayImage deep;
    FillPattern24(deep, 6, 4);
    deep.placement = {5, 7, 11, 11};
    deep.PrepareForDisplay();
    EXPECT_EQ(deep.palette.GetSafeHandle(), nullptr);   // deep screen: no palette, no copy
    EXPECT_FALSE(deep.hDisplayPixels);
    Surface surface(20, 16);
    deep.Draw(surface.dc());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(surface.At(5 + x, 7 + y), PatternColor(x, y)) << x << "," << y;
    EXPECT_EQ(surface.At(4, 7), RGB(1, 2, 3));
    EXPECT_EQ(surface.At(11, 10), RGB(1, 2, 3));

    const COLORREF colors[2] = {RGB(250, 10, 40), RGB(0, 128, 255)};
    for (int bits : {1, 4, 8}) {
        DisplayImage image;
        Shape(image, 9, 2, bits);
        SetEntry(image, 0, colors[0]);
        SetEntry(image, 1, colors[1]);
        {
            // Picture row 0 (stored last): pixel 8 takes entry 1.
            BlockLock pixels(image.hPixels);
            uint8_t* top = Row(pixels, image, 1);
            if (bits == 1) top[1] = 0x80;
            if (bits == 4) top[4] = 0x10;
            if (bits == 8) top[8] = 1;
        }
        image.placement = {0, 0, 9, 2};
        image.PrepareForDisplay();
        EXPECT_EQ(PaletteEntryCount(image.palette), int(image.GetPaletteSize())) << bits;
        Surface out(9, 2);
        image.Draw(out.dc());
        EXPECT_EQ(out.At(8, 0), colors[1]) << bits;
        EXPECT_EQ(out.At(7, 0), colors[0]) << bits;
        EXPECT_EQ(out.At(8, 1), colors[0]) << bits;
    }
}

TEST_F(DisplayImageDrawTest, SelectionFrameAndBorderComeAndGo)
{
    DisplayImage image;
    FillPattern24(image, 30, 24);
    image.PrepareForDisplay();
    EXPECT_EQ(image.selection.right, 30);
    EXPECT_EQ(image.selection.bottom, 24);
    image.placement = {0, 0, 30, 24};
    Surface plain(30, 24);
    image.Draw(plain.dc());

    // Handles: 8 x 8 at (5, 3), (19, 3), (5, 15), (19, 15).
    image.selection = {8, 6, 24, 20};
    Surface framed(30, 24);
    image.Draw(framed.dc());
    image.DrawSelectionFrame(framed.dc());
    image.DrawSelectionFrame(framed.dc());
    EXPECT_TRUE(framed.SameAs(plain));   // drawn twice, gone again
    image.DrawSelectionFrame(framed.dc());
    EXPECT_EQ(framed.At(5, 3), Inverted(PatternColor(5, 3)));
    EXPECT_EQ(framed.At(26, 22), Inverted(PatternColor(26, 22)));
    for (auto [x, y] : {std::pair{4, 3}, {27, 22}, {18, 22}, {26, 23}})   // just beside the handles
        EXPECT_EQ(framed.At(x, y), PatternColor(x, y)) << x << "," << y;
    EXPECT_EQ(framed.At(15, 12), PatternColor(15, 12));   // inside: untouched
    EXPECT_EQ(framed.At(28, 12), PatternColor(28, 12));   // outside: untouched

    Session[kSessionInvertSelection] = 1;
    image.selectionShown = 1;
    Surface inverted(30, 24);
    image.Draw(inverted.dc());
    EXPECT_EQ(inverted.At(15, 12), Inverted(PatternColor(15, 12)));
    EXPECT_EQ(inverted.At(28, 12), PatternColor(28, 12));
    Session[kSessionInvertSelection] = 0;
    Surface shownOnly(30, 24);
    image.Draw(shownOnly.dc());
    EXPECT_TRUE(shownOnly.SameAs(framed));
    image.selectionShown = 0;

    image.borderShown = 1;
    Session[kSessionMergeBorder] = 0;
    Surface noBorder(30, 24);
    image.Draw(noBorder.dc());
    EXPECT_TRUE(noBorder.SameAs(plain));
    Session[kSessionMergeBorder] = 1;
    Surface border(30, 24);
    image.Draw(border.dc());
    EXPECT_FALSE(border.SameAs(plain));
    int changedOnEdge = 0;
    for (int x = 0; x < 30; ++x)
        changedOnEdge += border.At(x, 0) == Inverted(PatternColor(x, 0));
    EXPECT_GE(changedOnEdge, 10);   // a dotted line along the top edge
    EXPECT_EQ(border.At(15, 12), PatternColor(15, 12));
}

TEST_F(DisplayImageDrawTest, ShallowScreensGetTheDitheredCopy)
{
    ScreenDepth = 8;
    ScreenColorCount = 256;
    DisplayImage image;
    Shape(image, 4, 2, 24);
    {
        BlockLock pixels(image.hPixels);
        memset(pixels.data(), 255, image.GetBitsSize());   // white
        Row(pixels, image, 1)[0] = 0;                      // picture (0, 0): blue 0
    }
    image.PrepareForDisplay();
    ASSERT_TRUE(image.hDisplayPixels);
    ASSERT_TRUE(image.hDisplayHeader);
    EXPECT_EQ(PaletteEntryCount(image.palette), 256);
    {
        BlockLock display(image.hDisplayPixels);
        EXPECT_EQ(display.data()[0], 225);
        EXPECT_EQ(display.data()[4], DitherToHalftone(255, 255, 0, 0, 1));   // 4-byte rows
    }
    // Drawn through the copy: the halftone colours, not the pixels.
    Surface surface(4, 2);
    image.Draw(surface.dc());
    EXPECT_EQ(surface.At(3, 1), RGB(255, 255, 255));
    PaletteRgb yellow = HalftonePaletteEntry(DitherToHalftone(255, 255, 0, 0, 1));
    EXPECT_EQ(surface.At(0, 0), RGB(yellow.peRed, yellow.peGreen, yellow.peBlue));

    // A second call makes the pair afresh.
    image.PrepareForDisplay();
    EXPECT_TRUE(image.hDisplayPixels);
    EXPECT_TRUE(image.hDisplayHeader);
}

TEST_F(DisplayImageDrawTest, CaptureFromADeviceBitmap)
{
    HDC screen = GetDC(nullptr);
    DisplayImage image;
    image.width = 7;
    image.height = 5;
    image.bitCount = static_cast<uint16_t>(GetDeviceCaps(screen, BITSPIXEL));
    image.bitmap.Attach(CreateCompatibleBitmap(screen, 7, 5));
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, image.bitmap);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            SetPixel(memory, x, y, PatternColor(x, y));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    ASSERT_TRUE(image.CreateCaptureHeader());
    EXPECT_EQ(image.bitCount, 24);
    image.ConvertBitmapToDib();
    ASSERT_TRUE(image.hPixels);
    EXPECT_EQ(image.status, 0);
    BlockLock pixels(image.hPixels);
    for (int y = 0; y < 5; ++y) {
        const uint8_t* row = Row(pixels, image, 4 - y);
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]), PatternColor(x, y)) << x << "," << y;
    }

    DisplayImage noBitmap;
    noBitmap.width = 4;
    noBitmap.height = 4;
    noBitmap.bitCount = 24;
    ASSERT_TRUE(noBitmap.CreateCaptureHeader());
    noBitmap.ConvertBitmapToDib();
    EXPECT_FALSE(noBitmap.hPixels);
    EXPECT_EQ(noBitmap.status, kStatusNoMemory);
}

TEST_F(DisplayImageDrawTest, CaptureHeadersOnShallowScreensTakeDefaultColours)
{
    const std::pair<int, int> screens[] = {{4, 16}, {1, 2}};
    for (auto [depth, colors] : screens) {
        ScreenDepth = depth;
        ScreenColorCount = colors;
        DisplayImage image;
        image.width = 3;
        image.height = 3;
        image.bitCount = static_cast<uint16_t>(depth == 1 ? 1 : 4);
        ASSERT_TRUE(image.CreateCaptureHeader());
        BlockLock header(image.hHeader);
        const DibColor* table = reinterpret_cast<const DibColor*>(header.data() + 40);
        if (depth == 1) {
            EXPECT_EQ(table[0].red, 0);
            EXPECT_EQ(table[1].red, 255);
            EXPECT_EQ(table[1].blue, 255);
        } else {
            for (int i = 0; i < 16; ++i) {
                EXPECT_EQ(table[i].red, kStandard16Colors[i].red) << i;
                EXPECT_EQ(table[i].green, kStandard16Colors[i].green) << i;
                EXPECT_EQ(table[i].blue, kStandard16Colors[i].blue) << i;
            }
        }
        image.CreatePaletteFromColors();
        PALETTEENTRY entries[16] = {};
        ASSERT_EQ(GetPaletteEntries(image.palette, 0, image.GetPaletteSize(), entries), image.GetPaletteSize());
        EXPECT_EQ(entries[1].peRed, table[1].red);
        EXPECT_EQ(entries[1].peBlue, table[1].blue);
    }
}

TEST(StandardPalette, NearestColourAgreesWithTheSystemLookup)
{
    HPALETTE palette = CreateStandard16ColorPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(PaletteEntryCount(palette), 16);
    int checked = 0;
    for (int r = 0; r < 256; r += 17)
        for (int g = 3; g < 256; g += 21)
            for (int b = 7; b < 256; b += 25) {
                ++checked;
                ASSERT_EQ(NearestStandardColor(uint8_t(r), uint8_t(g), uint8_t(b)),
                          int(GetNearestPaletteIndex(palette, RGB(r, g, b))))
                    << r << "," << g << "," << b;
            }
    EXPECT_GT(checked, 1000);
    DeleteObject(palette);
}

std::vector<std::pair<WPARAM, LPARAM>> g_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_USER + 2)
        g_received.emplace_back(wp, lp);
    return DefWindowProcA(window, message, wp, lp);
}

TEST(ImageProgress, RowsReachTheWindowAsUserPlusTwo)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "DisplayImageProgressTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("DisplayImageProgressTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    SendImageProgressTo(window);
    DisplayImage image;
    Shape(image, 3, 4, 8);
    image.CountColors8();
    SendImageProgressTo(nullptr);
    image.CountColors8();
    EXPECT_EQ(g_received, (std::vector<std::pair<WPARAM, LPARAM>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}}));
    DestroyWindow(window);
}

} // namespace
