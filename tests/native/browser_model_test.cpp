// The image browser's window-free rules: which files a scan lists and how
// they count, the stored settings values, the texts of sizes and times, and
// the file rows' sort orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "browser/model/BrowserFormats.h"
#include "browser/model/BrowserSettings.h"
#include "browser/model/FileRows.h"
#include "browser/model/TextFormats.h"

namespace {

const int kAllFormats[kBrowserFormatCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// File time of a UTC date and time (100-ns ticks since 1601).
uint64_t Ticks(int year, int month, int day, int hour, int minute)
{
    // Days from 1601-01-01 by the civil calendar.
    auto daysFromCivil = [](int y, int m, int d) {
        y -= m <= 2;
        const int era = (y >= 0 ? y : y - 399) / 400;
        const int yoe = y - era * 400;
        const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return static_cast<int64_t>(era) * 146097 + doe - 719468;   // days since 1970
    };
    const int64_t days = daysFromCivil(year, month, day) + 134774;
    return static_cast<uint64_t>((days * 86400 + hour * 3600 + minute * 60)) * 10000000ULL;
}

TEST(BrowserFormats, ScanListsTheTwelveExtensionsWithoutRegardToCase)
{
    EXPECT_EQ(MatchScannedFile("A.BMP", kAllFormats), 0);
    EXPECT_EQ(MatchScannedFile("photo.Jpg", kAllFormats), 6);
    EXPECT_EQ(MatchScannedFile("x.tar.wpg", kAllFormats), 11);
    EXPECT_EQ(MatchScannedFile("a.jpeg", kAllFormats), -1);
    EXPECT_EQ(MatchScannedFile("a.tiff", kAllFormats), -1);
    EXPECT_EQ(MatchScannedFile("bmp", kAllFormats), -1);
    EXPECT_EQ(MatchScannedFile("a.", kAllFormats), -1);
    EXPECT_EQ(MatchScannedFile(nullptr, kAllFormats), -1);
    int noClp[kBrowserFormatCount];
    std::copy(kAllFormats, kAllFormats + kBrowserFormatCount, noClp);
    noClp[1] = 0;
    EXPECT_EQ(MatchScannedFile("c.clp", noClp), -1);
    EXPECT_EQ(MatchScannedFile("c.cur", noClp), 2);
}

TEST(BrowserFormats, TypedExtensionsGiveExportTypes)
{
    EXPECT_EQ(SaveTypeFromExtension("b.gif"), 4);   // plain GIF, never the interlaced 5
    EXPECT_EQ(SaveTypeFromExtension("B.BMP"), 1);
    EXPECT_EQ(SaveTypeFromExtension("x.wpg"), 11);
    EXPECT_EQ(SaveTypeFromExtension("b.tga"), 0);
    EXPECT_EQ(SaveTypeFromExtension("noext"), 0);
    EXPECT_EQ(SaveTypeFromExtension("a.cur"), 0);   // read, never written
    EXPECT_EQ(AppendFormatExtension("b", 5), "b.gif");
    EXPECT_EQ(AppendFormatExtension("b", 0), "b");
    EXPECT_EQ(AppendFormatExtension("b", 12), "b");
    EXPECT_EQ(ExtensionWithDot("a.b.Tif"), ".Tif");
    EXPECT_EQ(ExtensionWithDot("a"), "");
}

TEST(BrowserFormats, CountersHoldTotalsPast4GB)
{
    ScanCounters counters;
    counters.Add(6, 3000000000ULL);
    counters.Add(6, 3000000000ULL);
    counters.Add(0, 10);
    EXPECT_EQ(counters.TotalBytes(), 6000000010ULL);
    EXPECT_EQ(counters.TotalFiles(), 3);
    counters.Remove(6, 3000000000ULL);
    EXPECT_EQ(counters.bytes[6], 3000000000ULL);
    counters.Remove(1, 5);   // nothing counted there: stays at zero
    EXPECT_EQ(counters.files[1], 0);
    counters.Add(-1, 5);
    counters.Add(12, 5);
    EXPECT_EQ(counters.TotalFiles(), 2);
}

TEST(BrowserSettings, FlagListsFillUpAndBrokenValuesGiveDefaults)
{
    int flags[kBrowserFormatCount];
    ParseFlagList("1,0", flags, kBrowserFormatCount);
    EXPECT_EQ(flags[0], 1);
    EXPECT_EQ(flags[1], 0);
    for (int i = 2; i < kBrowserFormatCount; ++i)
        EXPECT_EQ(flags[i], 1) << i;
    ParseFlagList("0,0,0,0,0,0,0,0,0,0,0,0", flags, kBrowserFormatCount);
    EXPECT_EQ(std::count(flags, flags + kBrowserFormatCount, 0), kBrowserFormatCount);
    for (const char* broken : {"1,x,0", "abc", "0,,0", "0;0", "99999999999999999999,0", "0,0,"}) {
        ParseFlagList(broken, flags, kBrowserFormatCount);
        EXPECT_EQ(std::count(flags, flags + kBrowserFormatCount, 1), kBrowserFormatCount) << broken;
    }
    ParseFlagList("", flags, kBrowserFormatCount);
    EXPECT_EQ(std::count(flags, flags + kBrowserFormatCount, 1), kBrowserFormatCount);
    ParseFlagList("7, 0", flags, 2);
    EXPECT_EQ(flags[0], 1);
    EXPECT_EQ(flags[1], 0);
    const int written[4] = {1, 0, 1, 1};
    EXPECT_EQ(FormatFlagList(written, 4), "1,0,1,1");
}

TEST(BrowserSettings, BackgroundIsAColourOrTheDefault)
{
    EXPECT_EQ(ParseBackground("255"), 255u);
    EXPECT_EQ(ParseBackground(FormatBackground(0x7C7C3F).c_str()), 0x7C7C3Fu);
    EXPECT_EQ(FormatBackground(0x7C7C3F), "8158271");
    for (const char* broken : {"", "blue", "-1", "16777216", "12,x"})
        EXPECT_EQ(ParseBackground(broken), kDefaultBackground) << broken;
    EXPECT_EQ(ParseBackground(nullptr), kDefaultBackground);
}

TEST(BrowserTexts, SizesAndTotals)
{
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(6000000000ULL), "6,000,000,000");
    EXPECT_EQ(FormatKilobytes(0), "0KB");
    EXPECT_EQ(FormatKilobytes(1), "1KB");
    EXPECT_EQ(FormatKilobytes(1024), "2KB");
    EXPECT_EQ(FormatKilobytes(2000000), "1,954KB");
    EXPECT_EQ(FormatTotalSpace(1048575), "1,024KB");
    EXPECT_EQ(FormatTotalSpace(1048576), "1.00MB");
    EXPECT_EQ(FormatTotalSpace(6000000000ULL), "5722.05MB");
}

TEST(BrowserTexts, FileDatesOnA12HourClock)
{
    EXPECT_EQ(FormatFileDate(Ticks(1998, 6, 11, 13, 5)), "6/11/1998 1:05PM");
    EXPECT_EQ(FormatFileDate(Ticks(1998, 6, 11, 0, 7)), "6/11/1998 0:07AM");
    EXPECT_EQ(FormatFileDate(Ticks(2000, 2, 29, 12, 30)), "2/29/2000 12:30PM");
    EXPECT_EQ(FormatFileDate(Ticks(2026, 12, 31, 23, 59)), "12/31/2026 11:59PM");
    EXPECT_EQ(FormatFileDate(0), "1/1/1601 0:00AM");
}

FileRowTable SampleRows()
{
    FileRowTable rows;
    rows.Append("P:\\b\\Zeta.png", 900, Ticks(2020, 1, 1, 13, 5), 1);
    rows.Append("P:\\a\\alpha.BMP", 1000, Ticks(2020, 1, 1, 12, 30), 2);
    rows.Append("P:\\c\\beta.gif", 50, Ticks(2019, 5, 1, 9, 0), 3);
    rows.Append("P:\\c\\Gamma.bmp", 1000000, Ticks(2021, 1, 1, 0, 10), 4);
    return rows;
}

std::vector<uintptr_t> Order(const FileRowTable& rows)
{
    std::vector<uintptr_t> items;
    for (size_t i = 0; i < rows.Count(); ++i)
        items.push_back(rows.Row(i).treeItem);
    return items;
}

TEST(BrowserRows, ColumnsSortByTheirValues)
{
    FileRowTable rows = SampleRows();
    rows.Settle();
    EXPECT_EQ(Order(rows), (std::vector<uintptr_t>{2, 3, 4, 1}));   // names, case ignored
    rows.Sort(kColumnSize, true);
    EXPECT_EQ(Order(rows), (std::vector<uintptr_t>{3, 1, 2, 4}));   // 900 before 1,000
    rows.Sort(kColumnSize, false);
    EXPECT_EQ(Order(rows), (std::vector<uintptr_t>{4, 2, 1, 3}));
    rows.Sort(kColumnModified, true);
    EXPECT_EQ(Order(rows), (std::vector<uintptr_t>{3, 2, 1, 4}));   // 12:30 PM before 1:05 PM
    rows.Sort(kColumnType, true);
    EXPECT_EQ(rows.Row(0).Type(), "BMP");
    EXPECT_EQ(rows.Row(3).Type(), "PNG");
    rows.Sort(kColumnLocation, false);
    EXPECT_EQ(Order(rows), (std::vector<uintptr_t>{4, 3, 1, 2}));
}

TEST(BrowserRows, RowsKnowTheirTreeItemsAndTexts)
{
    FileRowTable rows = SampleRows();
    rows.Settle();
    const long gamma = rows.Find(4);
    ASSERT_GE(gamma, 0);
    const FileRow& row = rows.Row(static_cast<size_t>(gamma));
    EXPECT_STREQ(row.Name(), "Gamma.bmp");
    EXPECT_EQ(row.Text(kColumnSize), "1,000,000");
    EXPECT_EQ(row.Text(kColumnType), "BMP");
    EXPECT_EQ(row.Text(kColumnModified), "1/1/2021 0:10AM");
    EXPECT_EQ(row.Text(kColumnLocation), "P:\\c\\Gamma.bmp");
    rows.Select(gamma);
    rows.Sort(kColumnSize, true);
    EXPECT_EQ(rows.Row(static_cast<size_t>(rows.Selected())).treeItem, 4u);
    rows.Remove(static_cast<size_t>(rows.Find(4)));
    EXPECT_EQ(rows.Find(4), -1);
    EXPECT_EQ(rows.Selected(), -1);
    EXPECT_EQ(rows.Count(), 3u);
}

TEST(BrowserRows, EqualKeysKeepTheirOrderAcrossSorts)
{
    FileRowTable rows;
    std::mt19937 random(7);
    for (uintptr_t i = 0; i < 2000; ++i)
        rows.Append("P:\\f" + std::to_string(random() % 50) + ".bmp", random() % 10, Ticks(2020, 1, 1, 0, 0), i + 1);
    rows.Sort(kColumnName, true);
    rows.Sort(kColumnSize, true);
    for (size_t i = 1; i < rows.Count(); ++i) {
        const FileRow& a = rows.Row(i - 1);
        const FileRow& b = rows.Row(i);
        ASSERT_LE(a.size, b.size);
        if (a.size == b.size)
            ASSERT_LE(CompareNoCase(a.Name(), b.Name()), 0) << i;
    }
}

// The table keeps the paths itself, in blocks filled one after another:
// paths must stay whole across many blocks, one longer than a block, the
// table's growth, sorts, a move of the table and its clearing.
TEST(BrowserRows, PathsStayWholeAsTheTableGrows)
{
    FileRowTable rows;
    std::vector<std::string> paths;
    for (int i = 0; i < 6000; ++i)
        paths.push_back("P:\\folder" + std::to_string(i % 37) + std::string(i % 50, 'x') + "\\img" +
                        std::to_string(i) + ".bmp");
    paths[4000] = "P:\\" + std::string(70000, 'd') + "\\long.png";
    for (size_t i = 0; i < paths.size(); ++i)
        rows.Append(paths[i], i % 13, 0, i + 1);
    rows.Settle();
    rows.Sort(kColumnSize, false);
    const FileRowTable moved = std::move(rows);
    ASSERT_EQ(moved.Count(), paths.size());
    for (size_t i = 0; i < moved.Count(); ++i) {
        const FileRow& row = moved.Row(i);
        const std::string& path = paths[row.treeItem - 1];
        ASSERT_EQ(row.Text(kColumnLocation), path) << i;
        ASSERT_EQ(row.Name(), path.substr(path.rfind('\\') + 1)) << i;
    }

    FileRowTable again;
    again.Append("P:\\a\\one.gif", 1, 0, 1);
    again.Clear();
    again.Append("P:\\b\\two.gif", 2, 0, 2);
    ASSERT_EQ(again.Count(), 1u);
    EXPECT_EQ(again.Row(0).Text(kColumnLocation), "P:\\b\\two.gif");
}

}  // namespace
