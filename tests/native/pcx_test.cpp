// PCX files: round trips, the writer's runs and header, hand-made files for
// the reading rules, hostile files, and agreement with ImageMagick and
// netpbm in both directions.
#include <gtest/gtest.h>

#include <cstring>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord ReadPcx(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.pcx", bytes.data(), bytes.size()); }

// A file assembled field by field: the header, then coded bytes as given.
struct PcxBuilder {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(128, 0);
    PcxBuilder(int width, int height, int bitsPerPlane, int planes, int bytesPerLine, int version = 5) {
        bytes[0] = 10;
        bytes[1] = uint8_t(version);
        bytes[2] = 1;
        bytes[3] = uint8_t(bitsPerPlane);
        word(8, uint16_t(width - 1));
        word(10, uint16_t(height - 1));
        bytes[65] = uint8_t(planes);
        word(66, uint16_t(bytesPerLine));
    }
    void word(size_t at, uint16_t v) { bytes[at] = uint8_t(v); bytes[at + 1] = uint8_t(v >> 8); }
    void rgb(int index, uint8_t r, uint8_t g, uint8_t b) {
        bytes[16 + 3 * index] = r; bytes[17 + 3 * index] = g; bytes[18 + 3 * index] = b;
    }
    void data(std::initializer_list<uint8_t> values) { bytes.insert(bytes.end(), values); }
};

}  // namespace

TEST(Pcx, RoundTripsEveryDepthAndOddWidths) {
    for (int bits : {1, 4, 8, 24}) {
        for (int32_t width : {1, 3, 15, 16, 17, 33, 70}) {
            for (int32_t height : {1, 5}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height);
                OwnedRecord source;
                FillTestImage(source.record, width, height, bits, unsigned(width));
                std::vector<uint8_t> file = WriteToMemory(WritePcxFile, source.record);
                ASSERT_FALSE(file.empty());
                OwnedRecord back(ReadPcx(file));
                ASSERT_EQ(+back->error, 0);
                EXPECT_EQ(+back->width, width);
                EXPECT_EQ(+back->height, height);
                EXPECT_EQ(+back->bitCount, bits);
                EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
                if (bits != 1) EXPECT_EQ(Pixels(back.record), Pixels(source.record));
                if (width == 17 && height == 5) SaveSeed("pcx", "round" + std::to_string(bits), file);
            }
        }
    }
    // A 32-bit record is written as 24 bits: its fourth byte is dropped.
    OwnedRecord deep;
    FillTestImage(deep.record, 9, 4, 32);
    std::vector<uint8_t> file = WriteToMemory(WritePcxFile, deep.record);
    EXPECT_EQ(file[3], 8);
    EXPECT_EQ(file[65], 3);
    OwnedRecord back(ReadPcx(file));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(+back->bitCount, 24);
    EXPECT_EQ(ToRgb(back.record), ToRgb(deep.record));
}

TEST(Pcx, WrittenHeaderAndTrailer) {
    struct Case { int bits; uint8_t version, bitsPerPlane, planes; uint16_t bytesPerLine; size_t trailer; };
    // Width 21: one bit per plane needs 3 bytes, rounded up to 4; eight bits 22.
    for (Case c : {Case{1, 3, 1, 1, 4, 0}, {4, 5, 1, 4, 4, 0}, {8, 5, 8, 1, 22, 769}, {24, 5, 8, 3, 22, 0}}) {
        SCOPED_TRACE(c.bits);
        OwnedRecord source;
        FillTestImage(source.record, 21, 6, c.bits);
        std::vector<uint8_t> file = WriteToMemory(WritePcxFile, source.record);
        ASSERT_GT(file.size(), 128u + c.trailer);
        EXPECT_EQ(file[0], 10);
        EXPECT_EQ(file[1], c.version);
        EXPECT_EQ(file[2], 1);
        EXPECT_EQ(file[3], c.bitsPerPlane);
        EXPECT_EQ(file[65], c.planes);
        EXPECT_EQ(file[66] | file[67] << 8, c.bytesPerLine);
        EXPECT_EQ(file[8] | file[9] << 8, 20);
        EXPECT_EQ(file[10] | file[11] << 8, 5);
        EXPECT_EQ(file[12], 72);
        EXPECT_EQ(file[14], 72);
        EXPECT_EQ(file[64], 0);
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 68, file.begin() + 128), std::vector<uint8_t>(60, 0));
        DibColor first = c.bits <= 8 ? ColorAt(source.record, 1) : DibColor{};
        if (c.bits <= 4) {
            EXPECT_EQ(file[16 + 3], first.red);
            EXPECT_EQ(file[16 + 5], first.blue);
        }
        if (c.trailer) {
            EXPECT_EQ(file[file.size() - 769], 12);
            EXPECT_EQ(file[file.size() - 768 + 3], first.red);
            EXPECT_EQ(file[file.size() - 768 + 5], first.blue);
        }
    }
}

TEST(Pcx, RunsAreAtMost63AndHighBytesAlwaysCounted) {
    OwnedRecord source;
    FillTestImage(source.record, 100, 1, 8);
    {
        BlockLock bits(source->hBits);
        memset(bits.data(), 0x41, 100);
    }
    std::vector<uint8_t> file = WriteToMemory(WritePcxFile, source.record);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 128, file.end() - 769), (std::vector<uint8_t>{0xFF, 0x41, 0xE5, 0x41}));

    OwnedRecord single;
    FillTestImage(single.record, 2, 1, 8);
    {
        BlockLock bits(single->hBits);
        bits.data()[0] = 0xC5;
        bits.data()[1] = 0x07;
    }
    file = WriteToMemory(WritePcxFile, single.record);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 128, file.end() - 769), (std::vector<uint8_t>{0xC1, 0xC5, 0x07}));
}

TEST(Pcx, FourOneBitPlanesMergeIntoNibbles) {
    // 10 pixels, 2 bytes per plane line; pixel x takes bit k from plane k.
    PcxBuilder b(10, 1, 1, 4, 2);
    for (int i = 0; i < 16; ++i) b.rgb(i, uint8_t(i * 16), uint8_t(255 - i), uint8_t(i));
    b.data({0xAA, 0x40, 0xC1, 0xCC, 0x40, 0xC1, 0xF0, 0x00, 0x00, 0xC1, 0xC0});  // planes 0 to 3
    OwnedRecord r(ReadPcx(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->bitCount, 4);
    BlockLock bits(r->hBits);
    EXPECT_EQ(std::vector<uint8_t>(bits.data(), bits.data() + 5), (std::vector<uint8_t>{0x76, 0x54, 0x32, 0x10, 0x8B}));
    DibColor c = ColorAt(r.record, 5);
    EXPECT_EQ(c.red, 80);
    EXPECT_EQ(c.green, 250);
    EXPECT_EQ(c.blue, 5);
    SaveSeed("pcx", "planes4", b.bytes);

    // The same pixels packed two to a byte in one plane.
    PcxBuilder packed(10, 1, 4, 1, 6);
    packed.data({0x76, 0x54, 0x32, 0x10, 0x8B, 0x00});
    OwnedRecord p(ReadPcx(packed.bytes));
    ASSERT_EQ(+p->error, 0);
    EXPECT_EQ(Pixels(p.record), Pixels(r.record));
}

TEST(Pcx, ReadingRulesForPalettesRunsAndLines) {
    // An empty header palette at one bit reads black on white.
    PcxBuilder mono(8, 1, 1, 1, 2);
    mono.data({0x0F, 0x00});
    OwnedRecord m(ReadPcx(mono.bytes));
    ASSERT_EQ(+m->error, 0);
    EXPECT_EQ(ToRgb(m.record), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                     255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255}));
    // A palette that says otherwise is kept.
    mono.rgb(0, 255, 0, 0);
    mono.rgb(1, 0, 0, 255);
    OwnedRecord coloured(ReadPcx(mono.bytes));
    EXPECT_EQ(ColorAt(coloured.record, 0).red, 255);
    EXPECT_EQ(ColorAt(coloured.record, 1).blue, 255);

    // A run that reaches past the end of a line carries on in the next.
    PcxBuilder carry(3, 2, 8, 1, 4);
    carry.data({0xC6, 0x09, 0x01, 0x02});
    carry.bytes.push_back(12);
    for (int i = 0; i < 768; ++i) carry.bytes.push_back(uint8_t(i));
    OwnedRecord c(ReadPcx(carry.bytes));
    ASSERT_EQ(+c->error, 0);
    BlockLock bits(c->hBits);
    EXPECT_EQ(std::vector<uint8_t>(bits.data(), bits.data() + 8), (std::vector<uint8_t>{9, 9, 1, 0, 9, 9, 9, 0}));
    EXPECT_EQ(ColorAt(c.record, 1).red, 3);
    EXPECT_EQ(ColorAt(c.record, 1).blue, 5);
    SaveSeed("pcx", "carry", carry.bytes);

    // Odd bytes per line, as netpbm writes them, and an origin other than 0.
    PcxBuilder odd(5, 1, 8, 1, 5);
    odd.word(4, 100);
    odd.word(8, 104);
    odd.data({1, 2, 3, 4, 5});
    odd.bytes.resize(odd.bytes.size() + 769);
    OwnedRecord o(ReadPcx(odd.bytes));
    ASSERT_EQ(+o->error, 0);
    EXPECT_EQ(+o->width, 5);
}

TEST(Pcx, HostileFilesAreRefusedWithoutLeaks) {
    auto refused = [](const std::vector<uint8_t>& bytes, const char* what) {
        ImageRecord r = ReadPcx(bytes);
        EXPECT_EQ(+r.error, kErrPcx) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
    };
    OwnedRecord source;
    FillTestImage(source.record, 30, 9, 24);
    const std::vector<uint8_t> good = WriteToMemory(WritePcxFile, source.record);
    ASSERT_EQ(+OwnedRecord(ReadPcx(good))->error, 0);
    size_t blocksBefore = KernelLiveBlockCount();

    refused({}, "empty");
    for (size_t cut : {size_t(1), size_t(64), size_t(127), size_t(128), size_t(129), size_t(200), good.size() - 1}) {
        std::vector<uint8_t> shorter(good.begin(), good.begin() + long(cut));
        refused(shorter, ("cut at " + std::to_string(cut)).c_str());
    }
    auto patched = [&](size_t at, std::initializer_list<uint8_t> values) {
        std::vector<uint8_t> bytes = good;
        std::copy(values.begin(), values.end(), bytes.begin() + long(at));
        return bytes;
    };
    refused(patched(1, {2}), "version 2");
    refused(patched(65, {2}), "two planes");
    refused(patched(3, {2}), "two bits in three planes");
    refused(patched(3, {1}), "one bit in three planes");
    refused(patched(66, {0, 0}), "no bytes per line");
    refused(patched(66, {29, 0}), "lines shorter than the width");
    refused(patched(4, {40, 0}), "x min past x max");
    refused(patched(10, {0xFF, 0xFF}), "taller than the file");
    refused(patched(8, {0xFF, 0xFF}), "wider than the file");
    PcxBuilder empty(2, 1, 8, 3, 2);
    for (int i = 0; i < 50; ++i) empty.data({0xC0, 0x00});
    refused(empty.bytes, "empty runs up to the end");
    PcxBuilder tiny(1, 1, 8, 1, 2);
    tiny.data({0, 0});
    refused(tiny.bytes, "eight bits without room for the palette");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Pcx, WriterRefusesWhatItCannotDescribe) {
    OwnedRecord source;
    FillTestImage(source.record, 4, 4, 8);
    ImageRecord lying = source.record;
    lying.height = 400;
    int error = 0;
    WriteToMemory(WritePcxFile, lying, &error);
    EXPECT_EQ(error, kErrPcx);
    OwnedRecord wide;
    FillTestImage(wide.record, 65536, 1, 1);
    WriteToMemory(WritePcxFile, wide.record, &error);
    EXPECT_EQ(error, kErrPcx);
}

// ---- through the exported functions, and against other programs ----------

class PcxFiles : public testing::Test {
protected:
    std::string path(const std::string& name) { return ScratchDir() + "/pcx_" + name; }
};

TEST_F(PcxFiles, ExportTypeSevenReadsBackAndAFailureKeepsTheOldFile) {
    OwnedRecord source;
    FillTestImage(source.record, 45, 29, 4);
    ExportImageFile(&source.record, path("a.PCX").c_str(), kTypePcx);
    ASSERT_EQ(+source->error, 0);
    OwnedRecord back(*ImportImageFile(path("a.PCX").c_str()));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(Pixels(back.record), Pixels(source.record));

    std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(path("keep.pcx"), old);
    ImageRecord lying = source.record;
    lying.width = 4000;
    ExportImageFile(&lying, path("keep.pcx").c_str(), kTypePcx);
    EXPECT_EQ(+lying.error, kErrPcx);
    EXPECT_EQ(ReadBytes(path("keep.pcx")), old);
    OwnedRecord bad(*ImportImageFile(path("keep.pcx").c_str()));
    EXPECT_EQ(+bad->error, kErrPcx);
}

class PcxReference : public PcxFiles {
protected:
    void SetUp() override {
        if (!HaveTool("convert-im6.q16") || !HaveTool("ppmtopcx")) GTEST_SKIP() << "ImageMagick or netpbm missing";
    }
};

TEST_F(PcxReference, FilesFromImageMagickAndNetpbmImportToTheirPixels) {
    std::string full = ReferencePicture(path("ref.ppm"), 77, 31);
    struct Case { const char* name; std::string command; int bits; };
    std::vector<Case> cases = {
        {"pbm2.pcx", "ppmtopcx '" + ReferencePicture(path("q2.ppm"), 77, 31, 2) + "'", 1},
        {"pbm16.pcx", "ppmtopcx '" + ReferencePicture(path("q16.ppm"), 77, 31, 16) + "'", 4},
        {"pbm16p.pcx", "ppmtopcx -packed '" + path("q16.ppm") + "'", 4},
        {"pbm200.pcx", "ppmtopcx '" + ReferencePicture(path("q200.ppm"), 77, 31, 200) + "'", 8},
        {"pbm24.pcx", "ppmtopcx -24bit '" + full + "'", 24},
        {"im16.pcx", "convert-im6.q16 '" + path("q16.ppm") + "' -type palette pcx:-", 8},
        {"im24.pcx", "convert-im6.q16 '" + full + "' pcx:-", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = path(c.name);
        ASSERT_EQ(RunShell(c.command + " > '" + file + "'"), 0);
        OwnedRecord r(*ImportImageFile(file.c_str()));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(+r->bitCount, c.bits);
        // ImageMagick shows two-colour files as white for 0 and black for 1,
        // whatever their palette; netpbm follows the palette.
        if (c.bits > 1) EXPECT_EQ(ToRgb(r.record), MagickRgb(file));
        EXPECT_EQ(ToRgb(r.record), NetpbmRgb("pcxtoppm", file));
        SaveSeed("pcx", c.name, ReadBytes(file));
    }
}

TEST_F(PcxReference, ExportedFilesDecodeElsewhereToTheirPixels) {
    for (int bits : {1, 4, 8, 24}) {
        for (int32_t width : {1, 13, 640}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            OwnedRecord source;
            FillTestImage(source.record, width, 23, bits);
            std::string file = path("out" + std::to_string(bits) + "_" + std::to_string(width) + ".pcx");
            ExportImageFile(&source.record, file.c_str(), kTypePcx);
            ASSERT_EQ(+source->error, 0);
            std::vector<uint8_t> expected = ToRgb(source.record);
            if (bits > 1) EXPECT_EQ(MagickRgb(file), expected);
            EXPECT_EQ(NetpbmRgb("pcxtoppm", file), expected);
        }
    }
}
