// The print library's window-free part: option lists and their ranges,
// fonts, printer names and the device-settings file check, date and time
// formats, macro expansion, page tiling, band strips, pixel copies, the
// colour tables of grayscale and black-and-white printing, and the meter.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "ImageTestKit.h"
#include "print/PrintDateTime.h"
#include "print/PrintLayout.h"
#include "print/PrintMacros.h"
#include "print/PrintSettings.h"

namespace pagent {
namespace {

std::string ScratchIni(const char* name)
{
    std::string path = kit::ScratchDir() + "/print_" + name + ".ini";
    std::remove(path.c_str());
    return path;
}

struct tm Calendar(int year, int month, int day, int hour, int minute, int second, int weekday)
{
    struct tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    when.tm_wday = weekday;
    return when;
}

TimeDateFormat Format(const char* text) { return ParseTimeDateFormat(text); }

}  // namespace

// ---- Settings ----

TEST(PrintSettings, ShortListsKeepTheDefaultsOfTheirMissingTail)
{
    PageOptions options = ParsePageOptions("0,2");
    EXPECT_EQ(options[PageOptions::kCopies], 2);
    PageOptions defaults = DefaultPageOptions();
    for (int i = PageOptions::kScale; i < PageOptions::kCount; ++i)
        EXPECT_EQ(options[i], defaults[i]) << "field " << i;
    EXPECT_EQ(defaults[PageOptions::kScale], 3);
    EXPECT_EQ(defaults[PageOptions::kAlignBox], 4);
    EXPECT_EQ(defaults[PageOptions::kOrientation], 1);
    EXPECT_EQ(ParseAllPageOptions("")[AllPageOptions::kColumns], 1);
    EXPECT_EQ(FormatIntList(ParseTimeDateFormat("").values, TimeDateFormat::kCount), "0,1,0,0,0,0,1,0,0,1");
}

TEST(PrintSettings, OutOfRangeValuesAreBroughtBackIntoRange)
{
    PageOptions page = ParsePageOptions("9,0,0,7,12,3,5,2,2,3,5,1,1");
    EXPECT_EQ(page[PageOptions::kActivePage], 0);      // a choice: its default
    EXPECT_EQ(page[PageOptions::kCopies], 1);          // counts are clamped
    EXPECT_EQ(page[PageOptions::kScale], 1);
    EXPECT_EQ(page[PageOptions::kColorMode], 0);
    EXPECT_EQ(page[PageOptions::kAlignBox], 4);
    EXPECT_EQ(page[PageOptions::kOrientation], 1);
    EXPECT_EQ(page[PageOptions::kNoteAlign], 0);
    EXPECT_EQ(page[PageOptions::kPrintNote], 1);       // any nonzero flag is on
    EXPECT_EQ(ParsePageOptions("0,5000,250")[PageOptions::kScale], 99);
    EXPECT_EQ(ParsePageOptions("0,5000")[PageOptions::kCopies], 999);
    AllPageOptions all = ParseAllPageOptions("0,0,1,4,0,0");
    EXPECT_EQ(all[AllPageOptions::kCopies], 1);
    EXPECT_EQ(all[AllPageOptions::kScale], 1);
    EXPECT_EQ(all[AllPageOptions::kColumns], 1);
    EXPECT_EQ(ParseAllPageOptions("1,3,0,4,1,400")[AllPageOptions::kColumns], 20);
    TimeDateFormat format = ParseTimeDateFormat("0,1,0,0,7,0,1,9,0,1");
    EXPECT_EQ(format[TimeDateFormat::kOrder], 0);
    EXPECT_EQ(format[TimeDateFormat::kSeparator], 0);
    // Garbage and overflowing numbers never take a value out of range.
    EXPECT_EQ(ParsePageOptions("x,y,z,99999999999999")[PageOptions::kScale], 1);
    EXPECT_EQ(ParsePageOptions(",,,,")[PageOptions::kScale], 3);
}

TEST(PrintSettings, SectionKeysLoadWithTheirDefaults)
{
    std::string ini = ScratchIni("load");
    PrintSettings fresh = LoadPrintSettingsFrom("Kaptura 99", ini.c_str());
    EXPECT_EQ(fresh.texts[kHeaderRight], "printed by Kaptura 99 at $printtime on $printdate");
    EXPECT_EQ(fresh.texts[kFooterLeft], "$filename,  $filetime - $filedate, $res");
    EXPECT_EQ(fresh.texts[kHeaderLeft], "");
    EXPECT_EQ(fresh.fonts[kNoteFont].fields[FontSpec::kHeight], -13);
    EXPECT_EQ(fresh.fonts[kFooterFont].fields[FontSpec::kItalic], 255);
    EXPECT_STREQ(fresh.fonts[kHeaderFont].face, "Arial");

    WritePrivateProfileStringA("Kaptura 99", "PrintOnePage", "1,4,2,1,8,0,0,1,1,2,0,0,1", ini.c_str());
    WritePrivateProfileStringA("Kaptura 99", "HeaderRight", "", ini.c_str());
    WritePrivateProfileStringA("Kaptura 99", "FooterCenter", "page $res", ini.c_str());
    WritePrivateProfileStringA("Kaptura 99", "NoteFont", "-20,0,0,0,700,0,0,0,0,0,0,0,0,Courier New", ini.c_str());
    WritePrivateProfileStringA("Kaptura 99", "PrintTimeDate", "1,0,1,1,2,1,0,3,1,0", ini.c_str());
    PrintSettings stored = LoadPrintSettingsFrom("Kaptura 99", ini.c_str());
    EXPECT_EQ(FormatIntList(stored.page.values, PageOptions::kCount), "1,4,2,1,8,0,0,1,1,2,0,0,1");
    EXPECT_EQ(stored.texts[kHeaderRight], "");    // cleared by the user: stays empty
    EXPECT_EQ(stored.texts[kFooterCenter], "page $res");
    EXPECT_EQ(stored.fonts[kNoteFont].fields[FontSpec::kWeight], 700);
    EXPECT_STREQ(stored.fonts[kNoteFont].face, "Courier New");
    EXPECT_EQ(FormatIntList(stored.timeDate.values, TimeDateFormat::kCount), "1,0,1,1,2,1,0,3,1,0");

    SaveTimeDateFormat("Kaptura 99", ini.c_str(), ParseTimeDateFormat("0,1,1,0,1,0,1,2,0,0"));
    char text[64];
    GetPrivateProfileStringA("Kaptura 99", "PrintTimeDate", "", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "0,1,1,0,1,0,1,2,0,0");
}

TEST(PrintSettings, WhatTheSheetsStoreLoadsBackAsStored)
{
    std::string ini = ScratchIni("sheets");
    PrintSettings settings = LoadPrintSettingsFrom("Kaptura 99", ini.c_str());
    settings.page = ParsePageOptions("4,250,5,2,4,1,2,1,0,2,1,0,1");
    settings.allPage = ParseAllPageOptions("99,7,1,8,0,20,1,1");
    settings.texts[kHeaderLeft] = "Left $fname";
    settings.texts[kFooterRight] = "";
    settings.fonts[kHeaderFont].fields[FontSpec::kWeight] = 700;
    SavePageOptions("Kaptura 99", ini.c_str(), settings.page);
    SaveAllPageOptions("Kaptura 99", ini.c_str(), settings.allPage);
    SaveHeaderTexts("Kaptura 99", ini.c_str(), settings.texts);
    SaveFont("Kaptura 99", ini.c_str(), kHeaderFont, settings.fonts[kHeaderFont]);
    PrintSettings stored = LoadPrintSettingsFrom("Kaptura 99", ini.c_str());
    EXPECT_EQ(FormatIntList(stored.page.values, PageOptions::kCount), "4,250,5,2,4,1,2,1,0,2,1,0,1");
    EXPECT_EQ(FormatIntList(stored.allPage.values, AllPageOptions::kCount), "99,7,1,8,0,20,1,1");
    for (int i = 0; i < kHeaderTextCount; ++i)
        EXPECT_EQ(stored.texts[i], settings.texts[i]) << kHeaderTextKeys[i];
    EXPECT_EQ(stored.fonts[kHeaderFont].fields[FontSpec::kWeight], 700);
    EXPECT_STREQ(stored.fonts[kHeaderFont].face, settings.fonts[kHeaderFont].face);
}

TEST(PrintSettings, FontsRoundTripAndBadFontsTakeTheDefault)
{
    FontSpec font = ParseFont("-16,0,0,0,400,255,0,0,0,3,2,1,34,Times New Roman", kNoteFont);
    EXPECT_EQ(FormatFont(font), "-16,0,0,0,400,255,0,0,0,3,2,1,34,Times New Roman");
    for (const char* bad : {"", "garbage", "-16,0,0", "-16,0,0,0,400,0,0,0,0,0,0,0,0,", "-99999,0,0,0,400,0,0,0,0,0,0,0,0,Arial",
                            "-16,0,0,0,400,0,0,0,0,0,0,0,0"}) {
        FontSpec fallback = ParseFont(bad, kFooterFont);
        EXPECT_EQ(fallback.fields[FontSpec::kHeight], -7) << bad;
        EXPECT_EQ(fallback.fields[FontSpec::kItalic], 255) << bad;
    }
    // A face longer than a logical font holds is cut, never overrun.
    FontSpec longFace = ParseFont(("-12,0,0,0,400,0,0,0,0,0,0,0,0," + std::string(200, 'F')).c_str(), kNoteFont);
    EXPECT_EQ(strlen(longFace.face), sizeof longFace.face - 1);
}

TEST(PrintSettings, PrinterNamesFromTheKeyAndFromTheSystemDefault)
{
    PrinterNames key = ParsePrinterKey("PDF,wineps.drv,CUPS:PDF");
    EXPECT_EQ(key.device, "PDF");
    EXPECT_EQ(key.driver, "wineps.drv");
    EXPECT_EQ(key.port, "CUPS:PDF");
    EXPECT_EQ(FormatPrinterKey(key), "PDF,wineps.drv,CUPS:PDF");
    EXPECT_EQ(ParsePrinterKey("Only").driver, "");
    EXPECT_EQ(ParsePrinterKey(std::string(300, 'D').c_str()).device.size(), kDeviceMax);

    PrinterNames system = ParseDefaultDevice("Laser Writer,winspool Ne01:,LPT1:");
    EXPECT_EQ(system.device, "Laser Writer");
    EXPECT_EQ(system.driver, "winspool");
    EXPECT_EQ(system.port, "LPT1:");
    EXPECT_EQ(ParseDefaultDevice("PDF,wineps.drv,CUPS:PDF").port, "CUPS:PDF");
    EXPECT_EQ(ParseDefaultDevice("").device, "");
}

TEST(PrintSettings, DeviceSettingsFileMustFitThePrinter)
{
    std::vector<uint8_t> block(220 + 40, 0);
    memcpy(block.data(), "PDF", 3);
    block[36] = 220;   // own size
    block[38] = 40;    // driver-private bytes
    EXPECT_TRUE(DevModeFileFits(block.data(), block.size(), "pdf", block.size()));
    EXPECT_TRUE(DevModeFileFits(block.data(), block.size(), "PDF", 0));
    EXPECT_FALSE(DevModeFileFits(block.data(), block.size(), "Other Printer", block.size()));
    EXPECT_FALSE(DevModeFileFits(block.data(), block.size(), "PDF", block.size() + 4));   // another driver
    EXPECT_FALSE(DevModeFileFits(block.data(), block.size() - 1, "PDF", 0));              // cut short
    EXPECT_FALSE(DevModeFileFits(block.data(), 20, "PDF", 0));
    EXPECT_FALSE(DevModeFileFits(nullptr, 0, "PDF", 0));
    block[36] = 10;   // a nonsense own size
    EXPECT_FALSE(DevModeFileFits(block.data(), block.size(), "PDF", 0));
}

// ---- Dates and times ----

TEST(PrintDateTime, FormatsOfTheThirdOfJune1998)
{
    const CalendarNames& names = EnglishCalendarNames();
    struct tm when = Calendar(1998, 6, 3, 15, 4, 5, 3);
    EXPECT_EQ(FormatPrintDate(when, DefaultTimeDateFormat(), names), "Wednesday, 6/3/98");
    EXPECT_EQ(FormatPrintTime(when, DefaultTimeDateFormat()), "3:04:05pm");
    EXPECT_EQ(FormatPrintDate(when, Format("0,1,1,0,1,0,1,2,0,0"), names), "3.6.1998");
    EXPECT_EQ(FormatPrintDate(when, Format("1,1,0,0,0,1,1,3,0,0"), names), "Jun 3, 98");
    EXPECT_EQ(FormatPrintDate(when, Format("0,1,0,0,1,1,1,3,0,0"), names), "3 June, 98");
    EXPECT_EQ(FormatPrintDate(when, Format("0,1,0,0,2,1,1,1,0,0"), names), "98-June-3");
    EXPECT_EQ(FormatPrintTime(when, Format("0,1,0,1,0,0,0,0,0,1")), "15:04");
    EXPECT_EQ(FormatPrintTime(when, Format("0,1,0,0,0,0,1,0,1,1")), "3:04:05PM");
    EXPECT_EQ(FormatPrintTime(when, Format("0,0,0,0,0,0,0,0,0,1")), "3:04");
    // The abbreviation still cuts the weekday with numeric months.
    EXPECT_EQ(FormatPrintDate(when, Format("1,1,0,0,0,0,1,0,0,1"), names), "Wed, 6/3/98");
}

TEST(PrintDateTime, NoonMidnightAndTheTurnOfTheCentury)
{
    const CalendarNames& names = EnglishCalendarNames();
    EXPECT_EQ(FormatPrintTime(Calendar(2000, 1, 1, 12, 0, 0, 6), DefaultTimeDateFormat()), "12:00:00pm");
    EXPECT_EQ(FormatPrintTime(Calendar(2000, 1, 1, 0, 0, 0, 6), DefaultTimeDateFormat()), "12:00:00am");
    EXPECT_EQ(FormatPrintDate(Calendar(2000, 1, 1, 0, 0, 0, 6), Format("0,1,0,0,2,0,1,0,0,0"), names), "00/1/1");
    EXPECT_EQ(FormatPrintDate(Calendar(2000, 1, 1, 0, 0, 0, 6), Format("0,1,0,0,0,0,1,0,0,0"), names), "1/1/00");
    EXPECT_EQ(FormatPrintDate(Calendar(2105, 3, 9, 0, 0, 0, 1), Format("0,1,0,0,0,0,1,0,0,0"), names), "3/9/05");
    // Calendar fields out of range never index past the names.
    struct tm odd = Calendar(1998, 6, 3, 0, 0, 0, 3);
    odd.tm_mon = 40;
    odd.tm_wday = -3;
    EXPECT_FALSE(FormatPrintDate(odd, Format("0,1,0,0,0,1,1,0,0,1"), names).empty());
    // Now, when the time is 0 or cannot be broken down.
    EXPECT_GT(LocalCalendar(0).tm_year, 100);
}

// ---- Macros ----

TEST(PrintMacros, LongFormsFirstAndOnlyTheFirstOccurrence)
{
    MacroValues values;
    values.printTime = 896886245;   // a fixed moment
    values.fileName = "C:\\a.bmp";
    values.width = 640;
    values.height = 480;
    values.hasImage = true;
    std::string date = FormatPrintDate(LocalCalendar(values.printTime), values.format, EnglishCalendarNames());
    EXPECT_EQ(ExpandPrintMacros("$PrintDate and $pdate", values), date + " and $pdate");
    EXPECT_EQ(ExpandPrintMacros("$res and $res", values), "640w x 480h and $res");
    EXPECT_EQ(ExpandPrintMacros("[$resolution]", values), "[640w x 480h]");
    EXPECT_EQ(ExpandPrintMacros("$FNAME", values), "C:\\a.bmp");
    std::string footer = ExpandPrintMacros("$filename,  $filetime - $filedate, $res", values);
    EXPECT_EQ(footer.find("C:\\a.bmp,  "), 0u);
    EXPECT_NE(footer.find(", 640w x 480h"), std::string::npos);
    EXPECT_EQ(footer.find('$'), std::string::npos);
}

TEST(PrintMacros, ValuesAreNeverExpandedAgainAndFileMacrosNeedAnImage)
{
    MacroValues values;
    values.fileName = "C:\\$res\\$pdate.bmp";
    values.width = 3;
    values.height = 4;
    values.hasImage = true;
    EXPECT_EQ(ExpandPrintMacros("$fname", values), "C:\\$res\\$pdate.bmp");
    EXPECT_EQ(ExpandPrintMacros("$fname $res", values), "C:\\$res\\$pdate.bmp 3w x 4h");
    values.hasImage = false;
    std::string settingsOnly = ExpandPrintMacros("$filename at $ptime", values);
    EXPECT_EQ(settingsOnly.find("$filename at "), 0u);
    EXPECT_EQ(settingsOnly.find("$ptime"), std::string::npos);
    // A file time of 0 gives today's date.
    values.hasImage = true;
    values.fileTime = 0;
    EXPECT_EQ(ExpandPrintMacros("$fdate", values),
              FormatPrintDate(LocalCalendar(0), values.format, EnglishCalendarNames()));
    EXPECT_EQ(ExpandPrintMacros("", values), "");
    EXPECT_EQ(ExpandPrintMacros("$", values), "$");
}

// ---- Pages ----

TEST(PrintPages, TilingCoversEveryPixelWithNoBlankPage)
{
    PagePlan one = PlanPages(100, 100, 3, 300, 300);
    EXPECT_EQ(one.total(), 1);
    PagePlan wider = PlanPages(101, 100, 3, 300, 300);
    EXPECT_EQ(wider.across, 2);
    EXPECT_EQ(wider.total(), 2);
    EXPECT_EQ(GetPageTile(wider, 101, 100, 1).width, 1);
    EXPECT_EQ(GetPageTile(wider, 101, 100, 1).sourceX, 100);
    PagePlan odd = PlanPages(301, 10, 3, 301, 301);
    EXPECT_EQ(odd.stepX, 100);
    EXPECT_EQ(odd.across, 4);
    EXPECT_EQ(GetPageTile(odd, 301, 10, 3).width, 1);
    // Column by column, top to bottom within a column; stored rows bottom-up.
    PagePlan grid = PlanPages(250, 250, 1, 100, 100);
    EXPECT_EQ(grid.total(), 9);
    PageTile second = GetPageTile(grid, 250, 250, 1);
    EXPECT_EQ(second.sourceX, 0);
    EXPECT_EQ(second.sourceTop, 100);
    EXPECT_EQ(second.storedRow, 50);
    PageTile last = GetPageTile(grid, 250, 250, 8);
    EXPECT_EQ(last.sourceX, 200);
    EXPECT_EQ(last.rows, 50);
    EXPECT_EQ(last.storedRow, 0);
    // A scale larger than the page and sizes that are not positive.
    EXPECT_EQ(PlanPages(2, 2, 99, 50, 50).total(), 4);
    EXPECT_EQ(PlanPages(0, 10, 3, 300, 300).total(), 0);
    EXPECT_EQ(PlanPages(10, 10, 0, 300, 300).total(), 0);
    EXPECT_EQ(PlanPages(10, 10, 3, -5, 300).total(), 0);
}

TEST(PrintPages, AlignmentBoxesAndImagesLargerThanThePage)
{
    EXPECT_EQ(GetAlignmentOffset(0, 100, 100, 300, 300).x, 5);
    EXPECT_EQ(GetAlignmentOffset(4, 100, 100, 300, 300).x, 105);
    EXPECT_EQ(GetAlignmentOffset(4, 100, 100, 300, 300).y, 105);
    EXPECT_EQ(GetAlignmentOffset(8, 100, 100, 300, 300).x, 205);
    EXPECT_EQ(GetAlignmentOffset(8, 100, 100, 300, 300).y, 205);
    EXPECT_EQ(GetAlignmentOffset(5, 100, 100, 300, 300).y, 205);   // middle column, bottom row
    EXPECT_EQ(GetAlignmentOffset(9, 100, 100, 300, 300).x, 5);
    EXPECT_EQ(GetAlignmentOffset(-1, 100, 100, 300, 300).y, 5);
    // Wider than the page: 5 across, still centred down.
    Point wide = GetAlignmentOffset(4, 900, 100, 300, 300);
    EXPECT_EQ(wide.x, 5);
    EXPECT_EQ(wide.y, 105);
    Point huge = GetAlignmentOffset(8, int64_t(1) << 40, int64_t(1) << 40, 300, 300);
    EXPECT_EQ(huge.x, 5);
    EXPECT_EQ(huge.y, 5);
}

// Every strip within the driver's limit, the strips covering the tile's
// columns exactly once apart from the one-pixel overlaps, all rows sent.
void ExpectSoundStrips(int width, int rows, int bits)
{
    std::vector<BandStrip> strips = PlanBandStrips(7, width, rows, bits);
    ASSERT_FALSE(strips.empty());
    std::vector<int> rowsSeen(size_t(rows), 0);
    int previousEnd = -1, chunkTop = -1;
    for (const BandStrip& strip : strips) {
        EXPECT_LE(uint64_t(AlignRowBytes(uint32_t(strip.width * bits))) * strip.rows, kMaxBandBytes);
        if (strip.rowFromTop != chunkTop) {
            chunkTop = strip.rowFromTop;
            for (int r = 0; r < strip.rows; ++r)
                ++rowsSeen[size_t(strip.rowFromTop + r)];
            EXPECT_EQ(strip.offsetX, 0);
        } else {
            EXPECT_EQ(strip.offsetX, previousEnd - 1);   // one pixel of overlap
        }
        EXPECT_EQ(strip.sourceX, 7 + strip.offsetX);
        previousEnd = strip.offsetX + strip.width;
        if (previousEnd == width)
            EXPECT_LE(strip.offsetX + strip.width, width);
    }
    EXPECT_EQ(previousEnd, width);
    for (int seen : rowsSeen)
        EXPECT_EQ(seen, 1);
}

TEST(PrintPages, BandsAreCutIntoStripsTheDriverCanTake)
{
    EXPECT_EQ(GetBandCount(100, 100, 8), 1);
    EXPECT_EQ(PlanBandStrips(0, 100, 100, 8).size(), 1u);
    EXPECT_GT(GetBandCount(3000, 30, 24), 1);
    ExpectSoundStrips(3000, 30, 24);
    ExpectSoundStrips(1166, 823, 24);
    ExpectSoundStrips(1166, 823, 32);
    ExpectSoundStrips(4000, 900, 1);
    ExpectSoundStrips(333, 77, 4);
    // Bands taller than any strip allows are split by rows too.
    EXPECT_EQ(GetBandCount(50, 40000, 24), 0);
    ExpectSoundStrips(50, 40000, 24);
    ExpectSoundStrips(1, 70000, 24);
    EXPECT_TRUE(PlanBandStrips(0, 0, 10, 24).empty());
    EXPECT_TRUE(PlanBandStrips(0, 10, 0, 24).empty());
}

// ---- Pixels and colours ----

// The pixel value at (x, stored row y) of a packed image.
uint32_t PixelAt(const uint8_t* rows, int width, int bits, int x, int y)
{
    const uint8_t* row = rows + size_t(y) * AlignRowBytes(uint32_t(width * bits));
    switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return row[x];
    default: {
        uint32_t value = 0;
        for (int i = 0; i < bits / 8; ++i)
            value = value << 8 | row[size_t(x) * (bits / 8) + i];
        return value;
    }
    }
}

TEST(PrintPixels, BandRowsCopyEveryDepthFromOddOffsets)
{
    for (int bits : {1, 4, 8, 24, 32}) {
        const int width = 37, height = 9;
        std::vector<uint8_t> image(AlignRowBytes(uint32_t(width * bits)) * height);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = uint8_t(i * 131 + 17);
        const int sx = 5, sy = 2, sw = 19, rows = 6;
        std::vector<uint8_t> band(AlignRowBytes(uint32_t(sw * bits)) * rows, 0xEE);
        CopyBandRows(band.data(), image.data(), width, bits, sx, sy, sw, rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < sw; ++x)
                ASSERT_EQ(PixelAt(band.data(), sw, bits, x, y), PixelAt(image.data(), width, bits, sx + x, sy + y))
                    << bits << " bits at " << x << "," << y;
    }
}

TEST(PrintPixels, GrayscaleAndBlackAndWhiteTables)
{
    EXPECT_EQ(GrayLevel(77, 77, 77), 77);
    EXPECT_EQ(GrayLevel(255, 0, 0), 76);
    EXPECT_EQ(GrayLevel(255, 255, 254), (30 * 255 + 54 * 255 + 11 * 254) / 100);
    DibColor grays[5] = {{0, 0, 0, 0}, {127, 127, 127, 0}, {128, 128, 128, 0}, {230, 230, 230, 0}, {0, 0, 255, 0}};
    MakeGrayColorTable(grays, 5);
    EXPECT_EQ(grays[0].red, 0);
    EXPECT_EQ(grays[1].red, 185);
    EXPECT_EQ(grays[2].red, 166);
    EXPECT_EQ(grays[3].green, 230);
    EXPECT_EQ(grays[4].blue, 76 + 58);
    // Pure red prints black, cyan and the light colours white.
    DibColor colors[6] = {{0, 0, 255, 0}, {255, 255, 0, 0}, {128, 128, 128, 0},
                          {0, 255, 255, 0}, {128, 0, 0, 0}, {250, 250, 250, 0}};
    MakeBlackWhiteColorTable(colors, 6);
    EXPECT_EQ(colors[0].red, 0);
    EXPECT_EQ(colors[1].red, 255);
    EXPECT_EQ(colors[2].red, 255);
    EXPECT_EQ(colors[3].red, 255);   // yellow
    EXPECT_EQ(colors[4].blue, 0);    // navy
    EXPECT_EQ(colors[5].green, 255);
    EXPECT_EQ(NearestStandardColor({192, 192, 192, 0}), 8);
}

TEST(PrintPixels, ImageSizesAreCheckedBeforeAnythingIsRead)
{
    EXPECT_EQ(ImagePixelBytes(10, 10, 24), 32u * 10);
    EXPECT_EQ(ImagePixelBytes(10, 10, 1), 40u);
    EXPECT_EQ(ImagePixelBytes(0, 10, 8), 0u);
    EXPECT_EQ(ImagePixelBytes(10, -1, 8), 0u);
    EXPECT_EQ(ImagePixelBytes(10, 10, 16), 0u);
    EXPECT_EQ(ImagePixelBytes(10, 10, 2), 0u);
    EXPECT_EQ(ImagePixelBytes(2000000000, 2000000000, 24), 0u);
    EXPECT_EQ(GetDibHeaderSize(8), 40u + 1024);
    EXPECT_EQ(GetDibHeaderSize(24), 40u);
    HGLOBAL source = GlobalAlloc(GHND, 3);
    static_cast<uint8_t*>(GlobalLock(source))[2] = 9;
    GlobalUnlock(source);
    HGLOBAL copy = DuplicateGlobalBlock(source, 8);   // longer than the source: zero-filled
    ASSERT_TRUE(copy);
    EXPECT_EQ(GlobalSize(copy), 8u);
    const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(copy));
    EXPECT_EQ(bytes[2], 9);
    EXPECT_EQ(bytes[7], 0);
    GlobalUnlock(copy);
    GlobalFree(copy);
    GlobalFree(source);
}

// ---- Meter and job names ----

TEST(PrintMeter, PercentReachesOneHundredAtTheLastStepAndNeverMore)
{
    const int64_t total = 13 * 1000;
    int last = -1, changes = 0;
    for (int step = 1; step <= 13; ++step) {
        int percent = MeterPercent(int64_t(step) * 1000, total);
        EXPECT_GE(percent, last);
        changes += percent != last;
        last = percent;
        if (step < 13)
            EXPECT_LT(percent, 100);
    }
    EXPECT_EQ(last, 100);
    EXPECT_EQ(changes, 13);
    EXPECT_EQ(MeterPercent(total * 2, total), 100);
    EXPECT_EQ(MeterPercent(5, 0), 100);
    EXPECT_EQ(MeterPercent(int64_t(1) << 50, (int64_t(1) << 51)), 50);
}

TEST(PrintMeter, DocumentNamesAndTheFirstLine)
{
    EXPECT_EQ(DocumentName("Kaptura 99", "C:\\pictures\\a.bmp"), "Kaptura 99 - C:\\pictures\\a.bmp");
    EXPECT_EQ(DocumentName("Kaptura 99", "C:\\pictures\\a.bmp").size(), 30u);
    EXPECT_EQ(DocumentName("Kaptura 99", "C:\\pictures1\\a.bmp"), "Kaptura 99 - C:\\pictures1\\a.bmp");
    EXPECT_EQ(DocumentName("Kaptura 99", "C:\\pictures12\\a.bmp"), "Kaptura 99");
    EXPECT_EQ(PrintingLine("C:\\pictures\\a.bmp"), "Printing 'a.bmp' on the");
    EXPECT_EQ(PrintingLine("Screen Capture"), "Printing 'Screen Capture' on the");
}

}  // namespace pagent
