// TIFF files: round trips, the written directory, hand-made files for the
// reading rules, hostile files, and agreement with ImageMagick, netpbm and
// libtiff's tools in both directions.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord ReadTiff(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.tif", bytes.data(), bytes.size()); }

uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

struct Field { uint16_t type; uint32_t count, value; };

// The first directory of an Intel-order file, by tag, in file order.
std::vector<std::pair<uint16_t, Field>> Directory(const std::vector<uint8_t>& file) {
    std::vector<std::pair<uint16_t, Field>> fields;
    uint32_t at = U32(file, 4);
    for (uint16_t i = 0, n = U16(file, at); i < n; ++i) {
        size_t e = at + 2 + 12 * size_t(i);
        fields.push_back({U16(file, e), {U16(file, e + 2), U32(file, e + 4), U32(file, e + 8)}});
    }
    return fields;
}

// A one-strip file assembled by hand: header, directory and trailing data.
struct TiffBuilder {
    std::map<uint16_t, Field> fields;
    std::vector<uint8_t> extra;  // data after the directory
    void set(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) { fields[tag] = {type, count, value}; }
    // Offset in the finished file of `extra`'s first byte.
    uint32_t extraAt() const { return uint32_t(8 + 2 + 12 * fields.size() + 4); }
    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
        auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); };
        auto u32 = [&](uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); };
        u16(uint16_t(fields.size()));
        for (auto& [tag, f] : fields) { u16(tag); u16(f.type); u32(f.count); u32(f.value); }
        u32(0);
        b.insert(b.end(), extra.begin(), extra.end());
        return b;
    }
    // A grey image of the given depth whose single strip is `data`.
    static TiffBuilder Grey(uint32_t width, uint32_t height, uint16_t bits, std::vector<uint8_t> data) {
        TiffBuilder t;
        t.set(256, 3, 1, width);
        t.set(257, 3, 1, height);
        t.set(258, 3, 1, bits);
        t.set(262, 3, 1, 1);
        t.set(273, 4, 1, 0);
        t.extra = std::move(data);
        t.fields[273].value = t.extraAt();
        return t;
    }
};

}  // namespace

TEST(Tiff, RoundTripsEveryDepthAndStripLayout) {
    for (int bits : {1, 4, 8, 24}) {
        for (int32_t width : {1, 3, 17, 1000}) {
            for (int32_t height : {1, 5, 40}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height);
                OwnedRecord source;
                FillTestImage(source.record, width, height, bits, unsigned(width + height));
                std::vector<uint8_t> file = WriteToMemory(WriteTiffFile, source.record);
                ASSERT_FALSE(file.empty());
                OwnedRecord back(ReadTiff(file));
                ASSERT_EQ(+back->error, 0);
                EXPECT_EQ(+back->width, width);
                EXPECT_EQ(+back->height, height);
                EXPECT_EQ(+back->bitCount, bits);
                // Two-colour files can only say black and white.
                if (bits == 1)
                    EXPECT_EQ(Pixels(back.record), Pixels(source.record));
                else
                    EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
                if (width == 17 && height == 5) SaveSeed("tif", "round" + std::to_string(bits), file);
            }
        }
    }
    OwnedRecord deep;
    FillTestImage(deep.record, 9, 4, 32);
    OwnedRecord back(ReadTiff(WriteToMemory(WriteTiffFile, deep.record)));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(+back->bitCount, 24);
    EXPECT_EQ(ToRgb(back.record), ToRgb(deep.record));
}

TEST(Tiff, WrittenDirectoriesAreSortedAndSizedToTheirValues) {
    // 24 bits, 1000 wide: 3000-byte rows, 2 rows to a strip, SHORT counts.
    OwnedRecord rgb;
    FillTestImage(rgb.record, 1000, 5, 24);
    std::vector<uint8_t> file = WriteToMemory(WriteTiffFile, rgb.record);
    auto dir = Directory(file);
    ASSERT_EQ(dir.size(), 10u);
    for (size_t i = 1; i < dir.size(); ++i) EXPECT_LT(dir[i - 1].first, dir[i].first);
    std::map<uint16_t, Field> f(dir.begin(), dir.end());
    EXPECT_EQ(f[278].value, 2u);
    EXPECT_EQ(f[273].count, 3u);
    EXPECT_EQ(f[279].type, 3);
    EXPECT_EQ(U16(file, f[279].value + 4), 3000);  // the last strip holds one row
    EXPECT_EQ(f[262].value, 2u);
    EXPECT_EQ(f[277].value, 3u);
    EXPECT_EQ(f[258].count, 3u);
    EXPECT_EQ(U16(file, f[258].value), 8);
    EXPECT_EQ(f[258].value, 8u + 2 + 12 * 10 + 4);

    // 1 bit: one strip, LONG count; the lighter first colour makes it white-is-zero.
    OwnedRecord mono;
    FillTestImage(mono.record, 9000, 3, 1);
    {
        BlockLock info(mono->hInfo);
        info.as<DibColor>()[10] = {255, 255, 255, 0};
        info.as<DibColor>()[11] = {0, 0, 0, 0};
    }
    file = WriteToMemory(WriteTiffFile, mono.record);
    std::map<uint16_t, Field> m;
    for (auto& [tag, field] : Directory(file)) m[tag] = field;
    EXPECT_EQ(m[273].count, 1u);
    EXPECT_EQ(m[279].type, 4);
    EXPECT_EQ(m[279].value, 1125u * 3);
    EXPECT_EQ(m[262].value, 0u);
    OwnedRecord back(ReadTiff(file));
    EXPECT_EQ(ToRgb(back.record), ToRgb(mono.record));

    // 8 bits: 11 entries, the colour map reds first, each level spread over
    // 16 bits so that readers that scale and readers that take the high byte agree.
    OwnedRecord palette;
    FillTestImage(palette.record, 20, 2, 8);
    {
        BlockLock info(palette->hInfo);
        info.as<DibColor>()[10 + 3] = {255, 255, 255, 0};
    }
    file = WriteToMemory(WriteTiffFile, palette.record);
    // Two strips' SHORT counts fit in the entry itself.
    OwnedRecord twoStrips;
    FillTestImage(twoStrips.record, 1000, 20, 4);
    std::vector<uint8_t> two = WriteToMemory(WriteTiffFile, twoStrips.record);
    std::map<uint16_t, Field> t;
    for (auto& [tag, field] : Directory(two)) t[tag] = field;
    EXPECT_EQ(t[279].count, 2u);
    EXPECT_EQ(t[279].value, 8000u | 2000u << 16);
    std::map<uint16_t, Field> p;
    for (auto& [tag, field] : Directory(file)) p[tag] = field;
    ASSERT_EQ(p.size(), 11u);
    EXPECT_EQ(p[320].count, 768u);
    EXPECT_EQ(p[262].value, 3u);
    DibColor c = ColorAt(palette.record, 1);
    EXPECT_EQ(U16(file, p[320].value + 2), c.red * 257);
    EXPECT_EQ(U16(file, p[320].value + 512 + 2), c.green * 257);
    EXPECT_EQ(U16(file, p[320].value + 1024 + 2), c.blue * 257);
    EXPECT_EQ(U16(file, p[320].value + 1024 + 6), 0xFFFF);

    // Sizes past 16 bits are written as LONG.
    OwnedRecord wide;
    FillTestImage(wide.record, 70000, 2, 8);
    file = WriteToMemory(WriteTiffFile, wide.record);
    std::map<uint16_t, Field> w;
    for (auto& [tag, field] : Directory(file)) w[tag] = field;
    EXPECT_EQ(w[256].type, 4);
    EXPECT_EQ(w[256].value, 70000u);
    EXPECT_EQ(w[279].type, 4);
    OwnedRecord wideBack(ReadTiff(file));
    EXPECT_EQ(Pixels(wideBack.record), Pixels(wide.record));
}

TEST(Tiff, GreyRampsAndTwoColourTablesFollowThePhotometric) {
    for (uint32_t photometric : {0u, 1u}) {
        TiffBuilder t = TiffBuilder::Grey(2, 1, 4, {0x0F});
        t.set(262, 3, 1, photometric);
        OwnedRecord r(ReadTiff(t.bytes()));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(ColorAt(r.record, 15).red, photometric ? 255 : 0);
        EXPECT_EQ(ColorAt(r.record, 1).green, photometric ? 17 : 238);
        SaveSeed("tif", "grey4_" + std::to_string(photometric), t.bytes());

        TiffBuilder one = TiffBuilder::Grey(8, 1, 1, {0x0F});
        one.set(262, 3, 1, photometric);
        OwnedRecord m(ReadTiff(one.bytes()));
        ASSERT_EQ(+m->error, 0);
        EXPECT_EQ(ColorAt(m.record, 0).red, photometric ? 0 : 255);
        EXPECT_EQ(ColorAt(m.record, 1).red, photometric ? 255 : 0);
    }
    // No photometric tag: black is zero.
    TiffBuilder bare = TiffBuilder::Grey(1, 1, 8, {200});
    bare.fields.erase(262);
    bare.fields[273].value = bare.extraAt();
    OwnedRecord r(ReadTiff(bare.bytes()));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(ColorAt(r.record, 200).blue, 200);
}

TEST(Tiff, PackBitsAtOneBitRunsCutAtTheRow) {
    // 16 pixels a row, two rows: a repeat of 3 that overruns the first row
    // by one byte is cut there; then a literal row; a 128 is passed over.
    TiffBuilder t = TiffBuilder::Grey(16, 2, 1, {0xFE, 0xAA, 0x80, 0x01, 0x12, 0x34});
    t.set(259, 3, 1, 32773);
    t.fields[273].value = t.extraAt();
    OwnedRecord r(ReadTiff(t.bytes()));
    ASSERT_EQ(+r->error, 0);
    BlockLock bits(r->hBits);
    EXPECT_EQ(std::vector<uint8_t>(bits.data(), bits.data() + 6), (std::vector<uint8_t>{0x12, 0x34, 0, 0, 0xAA, 0xAA}));
    SaveSeed("tif", "packbits1", t.bytes());

    TiffBuilder deep = TiffBuilder::Grey(2, 1, 8, {0x01, 1, 2});
    deep.set(259, 3, 1, 32773);
    deep.fields[273].value = deep.extraAt();
    EXPECT_EQ(+ReadTiff(deep.bytes()).error, kErrTif);
}

TEST(Tiff, PackBitsRunsLongerThanTheRowNeverWritePastIt) {
    // 16 pixels a row (2 bytes, 4 in the block), three rows. The top row is
    // decoded first and lies at the block's end: its repeat of 128 would run
    // off the block, the middle row's literal of 128 into the top row.
    std::vector<uint8_t> data = {0x81, 0xAA};
    data.push_back(0x7F);
    for (int i = 0; i < 128; ++i) data.push_back(uint8_t(0x10 + i));
    data.insert(data.end(), {0x01, 0x55, 0x66});
    TiffBuilder t = TiffBuilder::Grey(16, 3, 1, data);
    t.set(259, 3, 1, 32773);
    t.fields[273].value = t.extraAt();
    OwnedRecord r(ReadTiff(t.bytes()));
    ASSERT_EQ(+r->error, 0);
    ASSERT_EQ(GlobalSize(r->hBits), 12u);
    BlockLock bits(r->hBits);
    EXPECT_EQ(std::vector<uint8_t>(bits.data(), bits.data() + 12),
              (std::vector<uint8_t>{0x55, 0x66, 0, 0, 0x10, 0x11, 0, 0, 0xAA, 0xAA, 0, 0}));
    SaveSeed("tif", "packbits_overlong_runs", t.bytes());
}

TEST(Tiff, StripsTheFileCannotHoldAreRefusedBeforeTheBlockIsMade) {
    // 16384 x 16384 at 8 bits claims the whole cap; the file holds 8 bytes.
    TiffBuilder raw = TiffBuilder::Grey(16384, 16384, 8, std::vector<uint8_t>(8, 1));
    TiffBuilder packed = TiffBuilder::Grey(131072, 16384, 1, {0x81, 0xFF});
    packed.set(256, 4, 1, 131072);
    packed.set(259, 3, 1, 32773);
    packed.fields[273].value = packed.extraAt();
    for (const TiffBuilder* t : {&raw, &packed}) {
        KernelResetPeakBlockBytes();
        size_t before = KernelPeakBlockBytes();
        ImageRecord r = ReadTiff(t->bytes());
        EXPECT_EQ(+r.error, kErrTif);
        EXPECT_LT(KernelPeakBlockBytes() - before, size_t(1) << 20);
        SaveSeed("tif", t == &raw ? "short_raw_strip" : "short_packbits_strip", t->bytes());
    }
    // Cut off inside its strip's rows, a file is refused as before; whole, it
    // reads.
    TiffBuilder whole = TiffBuilder::Grey(4, 2, 8, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(+OwnedRecord(ReadTiff(whole.bytes()))->error, 0);
    std::vector<uint8_t> cut = whole.bytes();
    cut.pop_back();
    EXPECT_EQ(+ReadTiff(cut).error, kErrTif);
}

TEST(Tiff, RefusedFilesAndHostileFilesGiveTheTiffId) {
    OwnedRecord source;
    FillTestImage(source.record, 30, 20, 8);
    const std::vector<uint8_t> good = WriteToMemory(WriteTiffFile, source.record);
    ASSERT_EQ(+OwnedRecord(ReadTiff(good))->error, 0);
    size_t blocksBefore = KernelLiveBlockCount();
    auto refused = [](const std::vector<uint8_t>& bytes, const std::string& what) {
        ImageRecord r = ReadTiff(bytes);
        EXPECT_EQ(+r.error, kErrTif) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
    };
    // A tag's value in a copy of the good file.
    auto with = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        uint32_t at = U32(bytes, 4);
        for (uint16_t i = 0; i < U16(bytes, at); ++i) {
            size_t e = at + 2 + 12 * size_t(i);
            if (U16(bytes, e) != tag) continue;
            uint8_t fields[10] = {uint8_t(type), uint8_t(type >> 8), uint8_t(count), uint8_t(count >> 8),
                                  uint8_t(count >> 16), uint8_t(count >> 24), uint8_t(value), uint8_t(value >> 8),
                                  uint8_t(value >> 16), uint8_t(value >> 24)};
            memcpy(&bytes[e + 2], fields, 10);
        }
        return bytes;
    };
    std::vector<uint8_t> motorola = good;
    motorola[0] = motorola[1] = 'M';
    refused(motorola, "Motorola order");
    std::vector<uint8_t> version = good;
    version[2] = 43;
    refused(version, "version 43");
    refused(with(259, 3, 1, 5), "LZW");
    refused(with(262, 3, 1, 4), "photometric 4");
    refused(with(262, 3, 1, 2), "RGB with one sample");
    refused(with(258, 3, 1, 16), "16 bits");
    refused(with(277, 3, 1, 4), "four samples");
    TiffBuilder predictor = TiffBuilder::Grey(1, 1, 8, {1});
    predictor.set(317, 3, 1, 2);
    predictor.fields[273].value = predictor.extraAt();
    refused(predictor.bytes(), "differencing predictor");
    refused(with(278, 3, 1, 0), "no rows per strip");
    refused(with(278, 3, 1, 1), "more strips needed than offsets");
    refused(with(273, 4, 3, 0x7FFFFFF0), "offsets array past the end");
    refused(with(320, 3, 3, U32(good, 8)), "colour map of the wrong size");
    refused(with(320, 3, 768, 0xFFFFFF00), "colour map past the end");
    refused(with(257, 3, 1, 0), "height 0");
    refused(with(256, 4, 1, 0x10000000), "beyond the size cap");
    TiffBuilder tiled = TiffBuilder::Grey(1, 1, 8, {1});
    tiled.set(322, 3, 1, 16);
    tiled.fields[273].value = tiled.extraAt();
    refused(tiled.bytes(), "tiled");
    TiffBuilder planar = TiffBuilder::Grey(1, 1, 8, {1, 2, 3});
    planar.set(277, 3, 1, 3);
    planar.set(262, 3, 1, 2);
    planar.set(284, 3, 1, 2);
    planar.fields[273].value = planar.extraAt();
    refused(planar.bytes(), "separate planes");
    TiffBuilder packed = TiffBuilder::Grey(64, 1, 1, {0x7F, 1, 2});
    packed.set(259, 3, 1, 32773);
    packed.fields[273].value = packed.extraAt();
    refused(packed.bytes(), "PackBits literal past the end");
    for (size_t cut : {size_t(0), size_t(4), size_t(9), size_t(40), size_t(150), good.size() - 1}) {
        std::vector<uint8_t> shorter(good.begin(), good.begin() + long(cut));
        refused(shorter, "cut at " + std::to_string(cut));
    }
    std::vector<uint8_t> loop = good;
    loop[4] = 200;  // the directory offset past the end
    loop[5] = 200;
    refused(loop, "directory past the end");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Tiff, WriterRefusesRecordsItCannotRead) {
    OwnedRecord source;
    FillTestImage(source.record, 4, 4, 8);
    ImageRecord lying = source.record;
    lying.height = 400;
    int error = 0;
    WriteToMemory(WriteTiffFile, lying, &error);
    EXPECT_EQ(error, kErrTif);
}

// ---- through the exported functions, and against other programs ----------

class TiffFiles : public testing::Test {
protected:
    std::string path(const std::string& name) { return ScratchDir() + "/tif_" + name; }
};

TEST_F(TiffFiles, ExportTypeTenReadsBackAndAFailureKeepsTheOldFile) {
    OwnedRecord source;
    FillTestImage(source.record, 45, 29, 4);
    ExportImageFile(&source.record, path("a.TIF").c_str(), kTypeTif);
    ASSERT_EQ(+source->error, 0);
    OwnedRecord back(*ImportImageFile(path("a.TIF").c_str()));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(Pixels(back.record), Pixels(source.record));
    EXPECT_EQ(+ImportImageFile(path("a.tiff").c_str())->error, kErrCannotOpen);

    std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(path("keep.tif"), old);
    ImageRecord lying = source.record;
    lying.width = 4000;
    ExportImageFile(&lying, path("keep.tif").c_str(), kTypeTif);
    EXPECT_EQ(+lying.error, kErrTif);
    EXPECT_EQ(ReadBytes(path("keep.tif")), old);
    EXPECT_EQ(+ImportImageFile(path("keep.tif").c_str())->error, kErrTif);
}

class TiffReference : public TiffFiles {
protected:
    void SetUp() override {
        if (!HaveTool("convert-im6.q16") || !HaveTool("pamtotiff") || !HaveTool("tiffinfo"))
            GTEST_SKIP() << "ImageMagick, netpbm or libtiff tools missing";
    }
};

TEST_F(TiffReference, FilesFromImageMagickAndNetpbmImportToTheirPixels) {
    std::string full = ReferencePicture(path("ref.ppm"), 83, 45);
    std::string q2 = ReferencePicture(path("q2.ppm"), 83, 45, 2);
    std::string q16 = ReferencePicture(path("q16.ppm"), 83, 45, 16);
    std::string q200 = ReferencePicture(path("q200.ppm"), 83, 45, 200);
    std::string pbm = path("ref.pbm"), pgm = path("ref.pgm");
    RunShell("ppmtopgm '" + full + "' | pgmtopbm > '" + pbm + "'");
    RunShell("ppmtopgm '" + full + "' > '" + pgm + "'");
    const std::string im = "convert-im6.q16 ";
    struct Case { const char* name; std::string command; int bits; };
    std::vector<Case> cases = {
        {"im1.tif", im + "'" + pbm + "' -compress none", 1},
        {"im1rle.tif", im + "'" + pbm + "' -compress rle -define tiff:rows-per-strip=7", 1},
        {"im4grey.tif", im + "'" + pgm + "' -depth 4 -compress none", 4},
        {"im8grey.tif", im + "'" + pgm + "' -compress none -define tiff:rows-per-strip=4", 8},
        {"im4pal.tif", im + "'" + q16 + "' -type palette -compress none", 4},
        {"im8pal.tif", im + "'" + q200 + "' -type palette -compress none -define tiff:rows-per-strip=10", 8},
        {"im24.tif", im + "'" + full + "' -alpha off -compress none -define tiff:rows-per-strip=3", 24},
        {"pam1.tif", "pamtotiff -rowsperstrip 5 '" + pbm + "'", 1},
        {"pam1pb.tif", "pamtotiff -packbits -rowsperstrip 6 '" + pbm + "'", 1},
        {"pam1white.tif", "pamtotiff -miniswhite '" + pbm + "'", 1},
        {"pam8grey.tif", "pamtotiff -rowsperstrip 8 '" + pgm + "'", 8},
        {"pam2pal.tif", "pamtotiff '" + q2 + "'", 8},
        {"pam16pal.tif", "pamtotiff -rowsperstrip 13 '" + q16 + "'", 8},
        {"pam24.tif", "pamtotiff -truecolor -rowsperstrip 9 '" + full + "'", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = path(c.name);
        std::string command = c.command.rfind(im, 0) == 0 ? c.command + " 'tiff:" + file + "'" : c.command + " > '" + file + "'";
        ASSERT_EQ(RunShell(command), 0);
        OwnedRecord r(*ImportImageFile(file.c_str()));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(+r->bitCount, c.bits);
        EXPECT_EQ(ToRgb(r.record), MagickRgb(file));
        SaveSeed("tif", c.name, ReadBytes(file));
    }
    // What the reader does not take is refused.
    for (std::string option : {"-compress lzw", "-compress zip", "-define tiff:endian=msb -compress none", "-define tiff:tile-geometry=16x16 -compress none",
                               "-interlace plane -compress none", "-compress rle"}) {
        SCOPED_TRACE(option);
        std::string file = path("refused.tif");
        ASSERT_EQ(RunShell(im + "'" + full + "' -alpha off " + option + " 'tiff:" + file + "'"), 0);
        EXPECT_EQ(+ImportImageFile(file.c_str())->error, kErrTif);
    }
}

TEST_F(TiffReference, ExportedFilesPassTiffinfoAndDecodeElsewhere) {
    for (int bits : {1, 4, 8, 24}) {
        for (int32_t width : {1, 13, 1000}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            OwnedRecord source;
            FillTestImage(source.record, width, 23, bits);
            if (bits == 1) {
                // Two-colour files are black and white; this one white on black.
                BlockLock info(source->hInfo);
                info.as<DibColor>()[10] = {255, 255, 255, 0};
                info.as<DibColor>()[11] = {0, 0, 0, 0};
            }
            std::string file = path("out" + std::to_string(bits) + "_" + std::to_string(width) + ".tif");
            ExportImageFile(&source.record, file.c_str(), kTypeTif);
            ASSERT_EQ(+source->error, 0);
            std::string info = file + ".info";
            EXPECT_EQ(std::system(("tiffinfo -D '" + file + "' > '" + info + "' 2>&1").c_str()), 0);
            std::vector<uint8_t> text = ReadBytes(info);
            std::string report(text.begin(), text.end());
            EXPECT_EQ(report.find("Warning"), std::string::npos) << report;
            EXPECT_EQ(report.find("rror"), std::string::npos) << report;
            std::vector<uint8_t> expected = ToRgb(source.record);
            EXPECT_EQ(MagickRgb(file), expected);
            std::string copy = file + ".copy.tif";
            ASSERT_EQ(RunShell("tiffcp -c none '" + file + "' '" + copy + "'"), 0);
            EXPECT_EQ(MagickRgb(copy), expected);
            EXPECT_EQ(NetpbmRgb("tifftopnm", file), expected);
        }
    }
}
