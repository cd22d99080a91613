// WPG files: round trips, the records and runs the writer makes, hand-made
// files for the reading rules, hostile files, and ImageMagick's view of the
// files written, and those of the WPG tools.
#include <gtest/gtest.h>

#include <cstring>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord ReadWpg(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.wpg", bytes.data(), bytes.size()); }

// A file assembled record by record.
struct WpgBuilder {
    std::vector<uint8_t> bytes = {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 22, 1, 0, 0, 0, 0, 0};
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
    void record(uint8_t type, const std::vector<uint8_t>& data) {
        u8(type);
        if (data.size() < 255) {
            u8(uint8_t(data.size()));
        } else {
            u8(255);
            u16(uint16_t(0x8000 | data.size() >> 16));
            u16(uint16_t(data.size()));
        }
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    // A map of `count` entries from `start`: entry i is (i, 2 i, 255 - i).
    void colorMap(uint16_t start, uint16_t count) {
        std::vector<uint8_t> d = {uint8_t(start), uint8_t(start >> 8), uint8_t(count), uint8_t(count >> 8)};
        for (int i = 0; i < count; ++i) d.insert(d.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(255 - i)});
        record(14, d);
    }
    void bitmap(uint16_t width, uint16_t height, uint16_t depth, const std::vector<uint8_t>& runs) {
        std::vector<uint8_t> d = {uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8),
                                  uint8_t(depth), uint8_t(depth >> 8), 75, 0, 75, 0};
        d.insert(d.end(), runs.begin(), runs.end());
        record(11, d);
    }
    void end() { record(16, {}); }
};

// The coded rows of the bitmap record of a file this writer made.
std::vector<uint8_t> CodedRows(const std::vector<uint8_t>& file, int bits) {
    size_t at = 16 + 8 + 4 + 4 + 3 * GetPaletteEntryCount(bits);
    EXPECT_EQ(file[at], 11);
    uint32_t length = uint32_t((file[at + 2] | file[at + 3] << 8) & 0x7FFF) << 16 | (file[at + 4] | file[at + 5] << 8);
    EXPECT_EQ(file.size(), at + 6 + length + 2);
    return std::vector<uint8_t>(file.begin() + long(at + 6 + 10), file.begin() + long(at + 6 + length));
}

}  // namespace

TEST(Wpg, RoundTripsEveryDepth) {
    for (int bits : {1, 4, 8}) {
        for (int32_t width : {1, 3, 17, 300}) {
            for (int32_t height : {1, 6}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height);
                OwnedRecord source;
                FillTestImage(source.record, width, height, bits, unsigned(width));
                std::vector<uint8_t> file = WriteToMemory(WriteWpgFile, source.record);
                ASSERT_FALSE(file.empty());
                OwnedRecord back(ReadWpg(file));
                ASSERT_EQ(+back->error, 0);
                EXPECT_EQ(+back->width, width);
                EXPECT_EQ(+back->height, height);
                EXPECT_EQ(+back->bitCount, bits);
                EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
                EXPECT_EQ(Pixels(back.record), Pixels(source.record));
                if (width == 17 && height == 6) SaveSeed("wpg", "round" + std::to_string(bits), file);
            }
        }
    }
}

TEST(Wpg, WrittenRecordsAndRuns) {
    OwnedRecord source;
    FillTestImage(source.record, 100, 1, 8);
    std::vector<uint8_t> file = WriteToMemory(WriteWpgFile, source.record);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 16),
              (std::vector<uint8_t>{0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 22, 1, 0, 0, 0, 0, 0}));
    // Start record: 100 pixels are 1261 units.
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 16, file.begin() + 24), (std::vector<uint8_t>{15, 6, 1, 0, 0xED, 0x04, 12, 0}));
    // Colour map: 772 bytes, start 0, 256 entries, red first.
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 24, file.begin() + 32), (std::vector<uint8_t>{14, 255, 0x04, 0x03, 0, 0, 0, 1}));
    EXPECT_EQ(file[32 + 3], ColorAt(source.record, 1).red);
    EXPECT_EQ(file[32 + 5], ColorAt(source.record, 1).blue);
    EXPECT_EQ(file[file.size() - 2], 16);
    EXPECT_EQ(file.back(), 0);

    // Runs: 300 equal bytes are 127, 127 and 46; a literal group gives up
    // its last byte to a run; one byte left after 127 joins the next group
    // or ends the row as a run of its own.
    auto coded = [](std::vector<uint8_t> row) {
        OwnedRecord r;
        FillTestImage(r.record, int32_t(row.size()), 1, 8);
        {
            BlockLock bits(r->hBits);
            memcpy(bits.data(), row.data(), row.size());
        }
        return CodedRows(WriteToMemory(WriteWpgFile, r.record), 8);
    };
    EXPECT_EQ(coded(std::vector<uint8_t>(300, 7)), (std::vector<uint8_t>{0xFF, 7, 0xFF, 7, 0xAE, 7}));
    EXPECT_EQ(coded({1, 2, 3, 3, 3, 4}), (std::vector<uint8_t>{2, 1, 2, 0x83, 3, 1, 4}));
    std::vector<uint8_t> spill(128, 5);
    EXPECT_EQ(coded(spill), (std::vector<uint8_t>{0xFF, 5, 0x81, 5}));
    spill.insert(spill.end(), {6, 9});
    EXPECT_EQ(coded(spill), (std::vector<uint8_t>{0xFF, 5, 3, 5, 6, 9}));
    std::vector<uint8_t> literal(200);
    for (size_t i = 0; i < literal.size(); ++i) literal[i] = uint8_t(i);
    std::vector<uint8_t> groups = coded(literal);
    EXPECT_EQ(groups.size(), 202u);
    EXPECT_EQ(groups[0], 127);
    EXPECT_EQ(groups[128], 73);

    // Widths whose size in units passes 16 bits are held at the largest.
    OwnedRecord wide;
    FillTestImage(wide.record, 6000, 1, 1);
    file = WriteToMemory(WriteWpgFile, wide.record);
    EXPECT_EQ(file[20] | file[21] << 8, 0xFFFF);
}

TEST(Wpg, ReadingRulesForRecordsMapsAndRowRepeats) {
    // The map may follow the bitmap and start past entry 0; other records
    // are passed over by their length, long lengths included.
    WpgBuilder b;
    b.record(15, {1, 0, 0, 1, 0, 1});
    b.record(5, std::vector<uint8_t>(300, 0xEE));
    b.bitmap(4, 4, 4, {0x82, 0x12, 0, 2, 0x02, 0xAB, 0xCD});
    b.colorMap(2, 16);
    b.end();
    OwnedRecord r(ReadWpg(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->bitCount, 4);
    // Rows from the top: 12 12, 12 12 (repeated twice), AB CD.
    BlockLock bits(r->hBits);
    EXPECT_EQ(std::vector<uint8_t>(bits.data(), bits.data() + 16),
              (std::vector<uint8_t>{0xAB, 0xCD, 0, 0, 0x12, 0x12, 0, 0, 0x12, 0x12, 0, 0, 0x12, 0x12, 0, 0}));
    EXPECT_EQ(ColorAt(r.record, 0).red, 0);
    EXPECT_EQ(ColorAt(r.record, 3).green, 2);
    EXPECT_EQ(ColorAt(r.record, 15).blue, 242);
    SaveSeed("wpg", "mapafter", b.bytes);

    // A row repeat of 3 after the first row gives four identical rows; 0x80
    // gives bytes of 0xFF.
    WpgBuilder repeat;
    repeat.colorMap(0, 2);
    repeat.bitmap(16, 4, 1, {0x80, 2, 0, 3});
    OwnedRecord rows(ReadWpg(repeat.bytes));
    ASSERT_EQ(+rows->error, 0);
    EXPECT_EQ(Pixels(rows.record), std::vector<uint8_t>({0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0}));
    SaveSeed("wpg", "repeat", repeat.bytes);

    // A repeat before any row repeats a blank one; a 2-entry map on an
    // 8-bit bitmap leaves the other entries black.
    WpgBuilder first;
    first.bitmap(2, 2, 8, {0, 1, 0x82, 9});
    first.colorMap(0, 2);
    OwnedRecord blank(ReadWpg(first.bytes));
    ASSERT_EQ(+blank->error, 0);
    EXPECT_EQ(Pixels(blank.record), std::vector<uint8_t>({9, 9, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ColorAt(blank.record, 1).blue, 254);
    EXPECT_EQ(ColorAt(blank.record, 9).blue, 0);
}

TEST(Wpg, RefusedAndHostileFiles) {
    size_t blocksBefore = KernelLiveBlockCount();
    auto refused = [](const std::vector<uint8_t>& bytes, const std::string& what, int id = kErrWpg) {
        ImageRecord r = ReadWpg(bytes);
        EXPECT_EQ(+r.error, id) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
    };
    WpgBuilder good;
    good.colorMap(0, 2);
    good.bitmap(8, 2, 1, {0x82, 0x55});
    ASSERT_EQ(+OwnedRecord(ReadWpg(good.bytes))->error, 0);
    for (size_t cut = 0; cut < good.bytes.size(); cut += 3)
        refused(std::vector<uint8_t>(good.bytes.begin(), good.bytes.begin() + long(cut)), "cut at " + std::to_string(cut));

    std::vector<uint8_t> signature = good.bytes;
    signature[1] = 'X';
    refused(signature, "signature");
    WpgBuilder vectors;
    vectors.record(15, {1, 0, 0, 1, 0, 1});
    vectors.record(5, {1, 2, 3});
    vectors.end();
    refused(vectors.bytes, "only vectors", kErrWpgNoBitmap);
    WpgBuilder noMap;
    noMap.bitmap(8, 1, 1, {0x81, 0x55});
    noMap.end();
    refused(noMap.bytes, "bitmap without a map");
    auto withBitmap = [](uint16_t width, uint16_t height, uint16_t depth, std::vector<uint8_t> runs, uint16_t colors = 2) {
        WpgBuilder b;
        b.colorMap(0, colors);
        b.bitmap(width, height, depth, runs);
        return b.bytes;
    };
    WpgBuilder eight;
    eight.colorMap(0, 8);
    refused(eight.bytes, "a map of 8");
    refused(withBitmap(8, 1, 2, {0x81, 0}), "depth 2");
    refused(withBitmap(8, 1, 24, {0x83, 0}), "depth 24");
    refused(withBitmap(0, 1, 1, {0x81, 0}), "width 0");
    refused(withBitmap(65535, 65535, 8, {0x81, 0}), "beyond the size cap");
    refused(withBitmap(8, 1, 1, {}), "a bitmap without data");
    refused(withBitmap(8, 2, 1, {0x83, 0}), "runs past the last row");
    refused(withBitmap(8, 2, 1, {0x81, 0}), "rows missing");
    refused(withBitmap(8, 2, 1, {0x7F, 1, 2}), "literal past the record");
    refused(withBitmap(16, 2, 1, {0x81, 1, 0, 1}), "row repeat inside a row");
    refused(withBitmap(8, 2, 1, {0, 5}), "row repeat past the last row");
    WpgBuilder zero;
    zero.record(5, {});
    refused(zero.bytes, "length 0");
    WpgBuilder type0;
    type0.record(0, {1});
    refused(type0.bytes, "type 0");
    WpgBuilder type20;
    type20.record(20, {1});
    refused(type20.bytes, "type past 17");
    WpgBuilder lying;
    lying.u8(5);
    lying.u8(255);
    lying.u16(0xFFFF);
    lying.u16(0xFFFF);
    refused(lying.bytes, "length past the end");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Wpg, WriterRefusesDeepAndOversizedRecords) {
    for (int bits : {24, 32}) {
        OwnedRecord deep;
        FillTestImage(deep.record, 4, 4, bits);
        int error = 0;
        EXPECT_TRUE(WriteToMemory(WriteWpgFile, deep.record, &error).empty());
        EXPECT_EQ(error, kErrWpg24Bit);
    }
    OwnedRecord wide;
    FillTestImage(wide.record, 65536, 1, 1);
    int error = 0;
    WriteToMemory(WriteWpgFile, wide.record, &error);
    EXPECT_EQ(error, kErrWpg);
}

// ---- through the exported functions, and against other programs ----------

class WpgFiles : public testing::Test {
protected:
    std::string path(const std::string& name) { return ScratchDir() + "/wpg_" + name; }
};

TEST_F(WpgFiles, ExportTypeElevenReadsBackAndAFailureKeepsTheOldFile) {
    OwnedRecord source;
    FillTestImage(source.record, 45, 29, 4);
    ExportImageFile(&source.record, path("a.WPG").c_str(), kTypeWpg);
    ASSERT_EQ(+source->error, 0);
    OwnedRecord back(*ImportImageFile(path("a.WPG").c_str()));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(Pixels(back.record), Pixels(source.record));

    std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(path("keep.wpg"), old);
    OwnedRecord deep;
    FillTestImage(deep.record, 4, 4, 32);
    ExportImageFile(&deep.record, path("keep.wpg").c_str(), kTypeWpg);
    EXPECT_EQ(+deep->error, kErrWpg24Bit);
    EXPECT_EQ(ReadBytes(path("keep.wpg")), old);
    EXPECT_EQ(+ImportImageFile(path("keep.wpg").c_str())->error, kErrWpg);
}

TEST_F(WpgFiles, ExportedFilesDecodeInImageMagickToTheirPixels) {
    if (!HaveTool("convert-im6.q16")) GTEST_SKIP() << "ImageMagick missing";
    for (int bits : {1, 4, 8}) {
        for (int32_t width : {1, 13, 640}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            OwnedRecord source;
            FillTestImage(source.record, width, 23, bits);
            if (bits == 1) {
                // The WPG tools show two-colour bitmaps black and white whatever their map.
                BlockLock info(source->hInfo);
                info.as<DibColor>()[10] = {0, 0, 0, 0};
                info.as<DibColor>()[11] = {255, 255, 255, 0};
            }
            std::string file = path("out" + std::to_string(bits) + "_" + std::to_string(width) + ".wpg");
            ExportImageFile(&source.record, file.c_str(), kTypeWpg);
            ASSERT_EQ(+source->error, 0);
            EXPECT_EQ(MagickRgb(file), ToRgb(source.record));
            if (!HaveTool("wpg2raw")) continue;
            // The WPG tools hand the bitmap on as a bitmap file in base64.
            std::string bmp = file + ".bmp";
            ASSERT_EQ(RunShell("wpg2raw '" + file + "' | sed -n 's/.*office:binary-data: \\([^,]*\\),.*/\\1/p' | base64 -d > '" + bmp + "'"), 0);
            EXPECT_EQ(MagickRgb(bmp), ToRgb(source.record));
        }
    }
}
