// GIF files: round trips plain and interlaced, hand-made files for the
// reading rules, hostile files, and agreement with decoders and encoders
// nobody here wrote (ImageMagick, netpbm).
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord ReadGif(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.gif", bytes.data(), bytes.size()); }

// LZW codes of given widths packed least significant bit first.
std::vector<uint8_t> PackCodes(const std::vector<std::pair<uint32_t, int>>& codes) {
    std::vector<uint8_t> out;
    uint32_t pending = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        pending |= code << bits;
        for (bits += width; bits >= 8; bits -= 8, pending >>= 8) out.push_back(uint8_t(pending));
    }
    if (bits > 0) out.push_back(uint8_t(pending));
    return out;
}

// A file assembled block by block, for files no encoder would write.
struct GifBuilder {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
    void text(const char* s) { bytes.insert(bytes.end(), s, s + strlen(s)); }
    void header(uint16_t width, uint16_t height, uint8_t packed, const char* signature = "GIF89a") {
        text(signature); u16(width); u16(height); u8(packed); u8(0); u8(0);
    }
    // Entry i is (10 i + 1, 20 i + 2, 255 - i).
    void table(int entries) {
        for (int i = 0; i < entries; ++i) { u8(uint8_t(10 * i + 1)); u8(uint8_t(20 * i + 2)); u8(uint8_t(255 - i)); }
    }
    void descriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed = 0) {
        u8(','); u16(left); u16(top); u16(width); u16(height); u8(packed);
    }
    // A code size byte and the stream cut into sub-blocks of at most 255 bytes.
    void image(uint8_t codeSize, const std::vector<uint8_t>& stream) {
        u8(codeSize);
        for (size_t at = 0; at < stream.size(); at += 255) {
            size_t n = std::min<size_t>(255, stream.size() - at);
            u8(uint8_t(n));
            bytes.insert(bytes.end(), stream.begin() + long(at), stream.begin() + long(at + n));
        }
        u8(0);
    }
    void trailer() { u8(';'); }
};

// Colour index of picture pixel (x, y), y counted from the top.
unsigned IndexAt(const ImageRecord& r, int32_t x, int32_t y) {
    BlockLock bits(r.hBits);
    const uint8_t* line = bits.data() + size_t(r.height - 1 - y) * GetDibRowBytes(r);
    switch (r.bitCount) {
    case 1: return (line[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (line[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    default: return line[x];
    }
}

std::vector<unsigned> Indices(const ImageRecord& r) {
    std::vector<unsigned> out;
    for (int32_t y = 0; y < r.height; ++y)
        for (int32_t x = 0; x < r.width; ++x) out.push_back(IndexAt(r, x, y));
    return out;
}

// The sub-block lengths of the first image's data, from a file this writer made.
std::vector<unsigned> SubBlockLengths(const std::vector<uint8_t>& file, int bits) {
    size_t at = 13 + 3 * GetPaletteEntryCount(bits) + 10 + 1;
    std::vector<unsigned> lengths;
    while (at < file.size() && file[at] != 0) {
        lengths.push_back(file[at]);
        at += 1 + file[at];
    }
    return lengths;
}

}  // namespace

TEST(Gif, RoundTripsEveryDepthPlainAndInterlaced) {
    for (int bits : {1, 4, 8}) {
        for (int32_t width : {1, 3, 33, 100}) {
            for (int32_t height : {1, 2, 7, 50}) {
                for (bool interlaced : {false, true}) {
                    SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height << (interlaced ? " interlaced" : ""));
                    OwnedRecord source;
                    FillTestImage(source.record, width, height, bits, unsigned(width + height));
                    std::vector<uint8_t> file = WriteToMemory(interlaced ? WriteGifFileInterlaced : WriteGifFile, source.record);
                    ASSERT_FALSE(file.empty());
                    EXPECT_EQ(file[10], bits == 1 ? 0x80 : bits == 4 ? 0xB3 : 0xF7);
                    OwnedRecord back(ReadGif(file));
                    ASSERT_EQ(+back->error, 0);
                    EXPECT_EQ(+back->width, width);
                    EXPECT_EQ(+back->height, height);
                    EXPECT_EQ(+back->bitCount, bits);
                    EXPECT_EQ(Indices(back.record), Indices(source.record));
                    EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
                    if (width == 33 && height == 7)
                        SaveSeed("gif", "plain" + std::to_string(bits) + (interlaced ? "i" : ""), file);
                }
            }
        }
    }
}

TEST(Gif, LongStreamsGrowTheCodesAndClearTheTable) {
    // Noise fills the 4096-entry table many times over; flat areas make long
    // strings that span rows.
    OwnedRecord source;
    FillTestImage(source.record, 701, 300, 8);
    {
        BlockLock bits(source->hBits);
        uint32_t state = 12345;
        for (int32_t y = 0; y < 300; ++y)
            for (int32_t x = 0; x < 701; ++x) {
                state = state * 1103515245 + 12345;
                bits.data()[size_t(y) * GetDibRowBytes(source.record) + x] = y < 150 ? uint8_t(state >> 24) : uint8_t(x / 97);
            }
    }
    for (ImageWriter writer : {WriteGifFile, WriteGifFileInterlaced}) {
        std::vector<uint8_t> file = WriteToMemory(writer, source.record);
        OwnedRecord back(ReadGif(file));
        ASSERT_EQ(+back->error, 0);
        EXPECT_EQ(Pixels(back.record), Pixels(source.record));
        std::vector<unsigned> lengths = SubBlockLengths(file, 8);
        ASSERT_GT(lengths.size(), 2u);
        for (size_t i = 0; i + 1 < lengths.size(); ++i) ASSERT_EQ(lengths[i], 254u) << "sub-block " << i;
        EXPECT_LE(lengths.back(), 254u);
    }
    SaveSeed("gif", "long", WriteToMemory(WriteGifFile, source.record));
}

TEST(Gif, WrittenOneBitFilesStartWithClearCodeFourInThreeBits) {
    OwnedRecord source;
    FillTestImage(source.record, 8, 2, 1);
    std::vector<uint8_t> file = WriteToMemory(WriteGifFile, source.record);
    ASSERT_GT(file.size(), 13u + 6 + 10 + 3);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF89a");
    size_t codeSize = 13 + 6 + 10;
    EXPECT_EQ(file[codeSize - 10], ',');
    EXPECT_EQ(file[codeSize], 2);
    EXPECT_EQ(file[codeSize + 2] & 7, 4);  // the first code of the first sub-block
    EXPECT_EQ(file.back(), ';');
}

TEST(Gif, SignatureMustBeExact) {
    for (const char* signature : {"GIF88a", "gif89a", "GIF87A"}) {
        GifBuilder b;
        b.header(1, 1, 0x80, signature);
        b.table(2);
        b.descriptor(0, 0, 1, 1);
        b.image(2, PackCodes({{4, 3}, {1, 3}, {5, 3}}));
        EXPECT_EQ(+ReadGif(b.bytes).error, kErrGif) << signature;
    }
    GifBuilder old;
    old.header(1, 1, 0x80, "GIF87a");
    old.table(2);
    old.descriptor(0, 0, 1, 1);
    old.image(2, PackCodes({{4, 3}, {1, 3}, {5, 3}}));
    OwnedRecord r(ReadGif(old.bytes));
    EXPECT_EQ(+r->error, 0);
    EXPECT_EQ(IndexAt(r.record, 0, 0), 1u);
}

TEST(Gif, EightColourTableReadsAsFourBitsWithTheRestBlack) {
    GifBuilder b;
    b.header(2, 1, 0x82);
    b.table(8);
    b.descriptor(0, 0, 2, 1);
    b.image(3, PackCodes({{8, 4}, {7, 4}, {2, 4}, {9, 4}}));
    OwnedRecord r(ReadGif(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->bitCount, 4);
    EXPECT_EQ(GlobalSize(r->hInfo), 104u);
    EXPECT_EQ(Indices(r.record), (std::vector<unsigned>{7, 2}));
    DibColor seventh = ColorAt(r.record, 7);
    EXPECT_EQ(seventh.red, 71);
    EXPECT_EQ(seventh.green, 142);
    EXPECT_EQ(seventh.blue, 248);
    for (unsigned i = 8; i < 16; ++i) {
        DibColor c = ColorAt(r.record, i);
        EXPECT_EQ(c.red | c.green | c.blue, 0) << i;
    }
    SaveSeed("gif", "table8", b.bytes);
}

TEST(Gif, SmallerImageIsPlacedOnTheLogicalScreen) {
    // A 2 x 1 frame at (1, 1) on a 4 x 3 screen; the rest of the screen is 0.
    GifBuilder b;
    b.header(4, 3, 0x81);
    b.table(4);
    b.descriptor(1, 1, 2, 1);
    b.image(2, PackCodes({{4, 3}, {2, 3}, {3, 3}, {5, 3}}));
    OwnedRecord r(ReadGif(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->width, 4);
    EXPECT_EQ(+r->height, 3);
    EXPECT_EQ(Indices(r.record), (std::vector<unsigned>{0, 0, 0, 0, 0, 2, 3, 0, 0, 0, 0, 0}));
    SaveSeed("gif", "placed", b.bytes);

    // A frame reaching past the screen is cut at its edges.
    GifBuilder past;
    past.header(2, 2, 0x81);
    past.table(4);
    past.descriptor(1, 1, 2, 2);
    past.image(2, PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {5, 4}}));  // 8 codes: 4 bits
    OwnedRecord clipped(ReadGif(past.bytes));
    ASSERT_EQ(+clipped->error, 0);
    EXPECT_EQ(Indices(clipped.record), (std::vector<unsigned>{0, 0, 0, 1}));

    // A frame wholly beside or below the screen leaves it blank, whatever its stream.
    for (auto [left, top] : {std::pair<uint16_t, uint16_t>{2, 0}, {0, 2}}) {
        GifBuilder outside;
        outside.header(2, 2, 0x81);
        outside.table(4);
        outside.descriptor(left, top, 2, 2);
        outside.image(2, PackCodes({{4, 3}, {7, 3}}));
        OwnedRecord blank(ReadGif(outside.bytes));
        ASSERT_EQ(+blank->error, 0);
        EXPECT_EQ(Indices(blank.record), (std::vector<unsigned>{0, 0, 0, 0}));
    }
}

TEST(Gif, InterlacedRowsGoToTheirPasses) {
    // Ten rows of one pixel each, stored in pass order: row n holds index n.
    GifBuilder b;
    b.header(1, 10, 0x83);
    b.table(16);
    b.descriptor(0, 0, 1, 10, 0x40);
    const unsigned order[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    // Each code is a root, with a clear before each so the width stays 5.
    std::vector<std::pair<uint32_t, int>> codes;
    for (unsigned row : order) {
        codes.push_back({16, 5});
        codes.push_back({row, 5});
    }
    codes.push_back({17, 5});
    std::vector<uint8_t> stream = PackCodes(codes);
    b.image(4, stream);
    OwnedRecord r(ReadGif(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Indices(r.record), (std::vector<unsigned>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    SaveSeed("gif", "interlaced10", b.bytes);
}

TEST(Gif, ExtensionsAreSkippedByTheirSubBlocks) {
    // An application extension whose data holds ',' and ';', a comment with
    // a zero byte inside a sub-block, and a graphic control extension.
    GifBuilder b;
    b.header(2, 1, 0x80);
    b.table(2);
    b.u8('!'); b.u8(0xFF); b.u8(11); b.text("XMP DataXMP"); b.u8(4); b.text(";,;,"); b.u8(0);
    b.u8('!'); b.u8(0xFE); b.u8(3); b.u8('a'); b.u8(0); b.u8(','); b.u8(0);
    b.u8('!'); b.u8(0xF9); b.u8(4); b.u8(0); b.u8(0); b.u8(0); b.u8(0); b.u8(0);
    b.descriptor(0, 0, 2, 1);
    b.image(2, PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}}));
    b.trailer();
    OwnedRecord r(ReadGif(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Indices(r.record), (std::vector<unsigned>{1, 0}));
    SaveSeed("gif", "extensions", b.bytes);
}

TEST(Gif, TablesAreReadOnlyWhereTheirFlagSaysSo) {
    // No global table: the descriptor follows the header at once; without
    // any table the colours are a grey ramp.
    GifBuilder none;
    none.header(2, 1, 0x07);
    none.descriptor(0, 0, 2, 1);
    none.image(2, PackCodes({{4, 3}, {3, 3}, {1, 3}, {5, 3}}));
    OwnedRecord grey(ReadGif(none.bytes));
    ASSERT_EQ(+grey->error, 0);
    EXPECT_EQ(+grey->bitCount, 4);
    EXPECT_EQ(Indices(grey.record), (std::vector<unsigned>{3, 1}));
    EXPECT_EQ(ColorAt(grey.record, 3).green, 48);

    // A local table replaces the global one and sets the depth again.
    GifBuilder local;
    local.header(1, 1, 0x80);
    local.table(2);
    local.descriptor(0, 0, 1, 1, 0x87);
    local.table(256);
    local.image(8, PackCodes({{256, 9}, {200, 9}, {257, 9}}));
    OwnedRecord deep(ReadGif(local.bytes));
    ASSERT_EQ(+deep->error, 0);
    EXPECT_EQ(+deep->bitCount, 8);
    EXPECT_EQ(IndexAt(deep.record, 0, 0), 200u);
    EXPECT_EQ(ColorAt(deep.record, 200).blue, 55);
    SaveSeed("gif", "local", local.bytes);
}

TEST(Gif, TheFilesCodeSizeDrivesTheDecoder) {
    // Two colours, but codes of 9 bits: indices past the table become 0.
    GifBuilder b;
    b.header(3, 1, 0x80);
    b.table(2);
    b.descriptor(0, 0, 3, 1);
    b.image(8, PackCodes({{256, 9}, {1, 9}, {77, 9}, {1, 9}, {257, 9}}));
    OwnedRecord r(ReadGif(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->bitCount, 1);
    EXPECT_EQ(Indices(r.record), (std::vector<unsigned>{1, 0, 1}));
    SaveSeed("gif", "codesize8", b.bytes);
}

TEST(Gif, CorruptStreamsKeepWhatWasDecoded) {
    auto file = [](const std::vector<uint8_t>& stream, uint16_t width = 4) {
        GifBuilder b;
        b.header(width, 2, 0x81);
        b.table(4);
        b.descriptor(0, 0, width, 2);
        b.image(2, stream);
        return b.bytes;
    };
    // A code past the next free code stops decoding; the rest stays 0.
    OwnedRecord early(ReadGif(file(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {9, 4}, {0, 4}}))));
    ASSERT_EQ(+early->error, 0);
    EXPECT_EQ(Indices(early.record), (std::vector<unsigned>{1, 2, 3, 0, 0, 0, 0, 0}));
    // The code being defined (here 6 = "1 1") is taken.
    OwnedRecord kwk(ReadGif(file(PackCodes({{4, 3}, {1, 3}, {6, 3}, {5, 3}}))));
    ASSERT_EQ(+kwk->error, 0);
    EXPECT_EQ(Indices(kwk.record), (std::vector<unsigned>{1, 1, 1, 0, 0, 0, 0, 0}));
    // A stream without a leading clear code is taken as it stands.
    OwnedRecord noClear(ReadGif(file(PackCodes({{2, 3}, {3, 3}, {5, 3}}))));
    ASSERT_EQ(+noClear->error, 0);
    EXPECT_EQ(Indices(noClear.record), (std::vector<unsigned>{2, 3, 0, 0, 0, 0, 0, 0}));
    // A string longer than the rest of the row carries on in the next row;
    // what runs past the last row is dropped.
    OwnedRecord spill(ReadGif(file(PackCodes({{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}), 2)));
    ASSERT_EQ(+spill->error, 0);
    EXPECT_EQ(Indices(spill.record), (std::vector<unsigned>{1, 1, 1, 1}));
    // Data cut off in the middle of a sub-block.
    std::vector<uint8_t> cut = file(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 3}, {5, 3}}));
    cut.resize(cut.size() - 3);
    OwnedRecord partial(ReadGif(cut));
    ASSERT_EQ(+partial->error, 0);
    EXPECT_EQ(IndexAt(partial.record, 0, 0), 1u);
    SaveSeed("gif", "cut", cut);
}

TEST(Gif, HostileFilesAreRefusedWithoutLeaks) {
    size_t blocksBefore = KernelLiveBlockCount();
    auto refused = [&](const std::vector<uint8_t>& bytes, const char* what, int id = kErrGif) {
        ImageRecord r = ReadGif(bytes);
        EXPECT_EQ(+r.error, id) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
    };
    auto good = [](uint16_t width, uint16_t height, const std::vector<uint8_t>& stream, uint8_t codeSize = 2) {
        GifBuilder b;
        b.header(width, height, 0x81);
        b.table(4);
        b.descriptor(0, 0, width, height);
        b.image(codeSize, stream);
        b.trailer();
        return b.bytes;
    };
    const std::vector<uint8_t> plain = good(2, 1, PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}}));
    ASSERT_EQ(+OwnedRecord(ReadGif(plain))->error, 0);

    refused({}, "empty file");
    for (size_t cut : {3, 6, 12, 13, 20, 25, 28, 36}) {
        std::vector<uint8_t> shorter(plain.begin(), plain.begin() + long(cut));
        refused(shorter, ("cut at " + std::to_string(cut)).c_str());
    }
    GifBuilder trailerFirst;
    trailerFirst.header(2, 1, 0x81);
    trailerFirst.table(4);
    trailerFirst.u8('!'); trailerFirst.u8(0xFE); trailerFirst.u8(1); trailerFirst.u8(','); trailerFirst.u8(0);
    trailerFirst.trailer();
    trailerFirst.descriptor(0, 0, 2, 1);
    trailerFirst.image(2, PackCodes({{4, 3}, {1, 3}, {5, 3}}));
    refused(trailerFirst.bytes, "trailer before the image");
    GifBuilder lyingExtension;
    lyingExtension.header(2, 1, 0x81);
    lyingExtension.table(4);
    lyingExtension.u8('!'); lyingExtension.u8(0xFF); lyingExtension.u8(200); lyingExtension.text("short");
    refused(lyingExtension.bytes, "extension length past the end");
    std::vector<uint8_t> codeSize0 = plain;
    codeSize0[13 + 12 + 10] = 0;
    refused(codeSize0, "code size 0");
    std::vector<uint8_t> codeSize12 = plain;
    codeSize12[13 + 12 + 10] = 12;
    refused(codeSize12, "code size 12");
    refused(good(0, 5, PackCodes({{4, 3}, {1, 3}, {5, 3}})), "zero width");
    refused(good(65535, 65535, PackCodes({{4, 3}, {1, 3}, {5, 3}})), "beyond the size cap");
    refused(good(2, 1, PackCodes({{4, 3}, {6, 3}, {5, 3}})), "undefined code right after a clear");
    refused(good(2, 1, PackCodes({{4, 3}, {5, 3}})), "end code before any pixel");
    refused(good(2, 1, {}), "no data at all");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Gif, WriterRefusesWhatItCannotWrite) {
    for (int bits : {24, 32}) {
        OwnedRecord deep;
        FillTestImage(deep.record, 4, 4, bits);
        int error = 0;
        EXPECT_TRUE(WriteToMemory(WriteGifFile, deep.record, &error).empty());
        EXPECT_EQ(error, kErrGif24Bit) << bits;
    }
    OwnedRecord source;
    FillTestImage(source.record, 4, 4, 8);
    ImageRecord lying = source.record;
    lying.height = 400;
    int error = 0;
    WriteToMemory(WriteGifFileInterlaced, lying, &error);
    EXPECT_EQ(error, kErrGif);
    OwnedRecord wide;
    FillTestImage(wide.record, 65536, 1, 8);
    WriteToMemory(WriteGifFile, wide.record, &error);
    EXPECT_EQ(error, kErrGif);
}

// ---- through files: the exported functions -------------------------------

class GifFiles : public testing::Test {
protected:
    std::string path(const std::string& name) { return ScratchDir() + "/gif_" + name; }
};

TEST_F(GifFiles, ExportTypesFourAndFiveReadBack) {
    OwnedRecord source;
    FillTestImage(source.record, 45, 29, 4);
    for (auto [type, name] : {std::pair{kTypeGif, "plain.gif"}, {kTypeGifInterlaced, "inter.GIF"}}) {
        ExportImageFile(&source.record, path(name).c_str(), type);
        ASSERT_EQ(+source->error, 0);
        std::vector<uint8_t> bytes = ReadBytes(path(name));
        EXPECT_EQ(bytes[13 + 48 + 9] & 0x40, type == kTypeGifInterlaced ? 0x40 : 0) << name;
        OwnedRecord back(*ImportImageFile(path(name).c_str()));
        ASSERT_EQ(+back->error, 0);
        EXPECT_EQ(Pixels(back.record), Pixels(source.record));
    }
    std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(path("keep.gif"), old);
    OwnedRecord deep;
    FillTestImage(deep.record, 4, 4, 32);
    ExportImageFile(&deep.record, path("keep.gif").c_str(), kTypeGifInterlaced);
    EXPECT_EQ(+deep->error, kErrGif24Bit);
    EXPECT_EQ(ReadBytes(path("keep.gif")), old);
}

// ---- against decoders and encoders nobody here wrote ----------------------

class GifReference : public GifFiles {
protected:
    void SetUp() override {
        if (!HaveTool("convert-im6.q16") || !HaveTool("giftopnm")) GTEST_SKIP() << "ImageMagick or netpbm missing";
    }
    std::vector<uint8_t> NetpbmRgb(const std::string& gif) {
        std::string ppm = gif + ".ppm";
        if (RunShell("giftopnm '" + gif + "' > '" + ppm + "'") != 0) return {};
        return PpmRgb(ppm);
    }
    // A 211 x 97 picture with smooth and sharp changes, as a binary PPM.
    std::string picture() {
        std::string ppm = path("ref.ppm");
        std::string head = "P6\n211 97\n255\n";
        std::vector<uint8_t> bytes(head.begin(), head.end());
        for (int y = 0; y < 97; ++y)
            for (int x = 0; x < 211; ++x)
                bytes.insert(bytes.end(), {uint8_t(x * 5), uint8_t(y * 7 + (x % 13) * 3), uint8_t((x / 8 + y / 8) % 2 * 255)});
        WriteBytes(ppm, bytes);
        return ppm;
    }
};

TEST_F(GifReference, ExportedFilesDecodeToTheirPixels) {
    for (int bits : {1, 4, 8}) {
        for (int type : {kTypeGif, kTypeGifInterlaced}) {
            for (int32_t width : {1, 13, 640}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, type " << type << ", width " << width);
                OwnedRecord source;
                FillTestImage(source.record, width, 37, bits);
                if (bits == 8) {
                    // Pseudo-random indices, so that the codes reach 12 bits.
                    BlockLock lock(source->hBits);
                    uint32_t state = uint32_t(width);
                    for (uint32_t i = 0; i < GetDibImageSize(source.record); ++i) lock.data()[i] = uint8_t((state = state * 69069 + 1) >> 24);
                }
                std::string file = path("out" + std::to_string(bits) + "_" + std::to_string(type) + "_" + std::to_string(width) + ".gif");
                ExportImageFile(&source.record, file.c_str(), type);
                ASSERT_EQ(+source->error, 0);
                std::vector<uint8_t> expected = ToRgb(source.record);
                EXPECT_EQ(MagickRgb(file), expected);
                EXPECT_EQ(NetpbmRgb(file), expected);
            }
        }
    }
}

TEST_F(GifReference, FilesMadeByOtherEncodersImportAsTheyDecode) {
    std::string ppm = picture();
    struct Case { const char* name; std::string command; int bits; };
    std::vector<Case> cases = {
        {"im2.gif", "convert-im6.q16 '" + ppm + "' -colors 2 ", 1},
        {"im16.gif", "convert-im6.q16 '" + ppm + "' -colors 16 ", 4},
        {"im8c.gif", "convert-im6.q16 '" + ppm + "' -colors 7 ", 4},
        {"im200.gif", "convert-im6.q16 '" + ppm + "' -colors 200 ", 8},
        {"iminter.gif", "convert-im6.q16 '" + ppm + "' -colors 100 -interlace GIF ", 8},
        {"pam.gif", "pnmquant 256 '" + ppm + "' 2>/dev/null | pamtogif > ", 8},
        {"paminter.gif", "pnmquant 30 '" + ppm + "' 2>/dev/null | pamtogif -interlace > ", 8},
        {"ppm16.gif", "pnmquant 16 '" + ppm + "' 2>/dev/null | ppmtogif > ", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = path(c.name);
        ASSERT_EQ(RunShell(c.command + "'" + file + "'"), 0);
        OwnedRecord r(*ImportImageFile(file.c_str()));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(+r->bitCount, c.bits);
        EXPECT_EQ(ToRgb(r.record), MagickRgb(file));
        EXPECT_EQ(ToRgb(r.record), NetpbmRgb(file));
        SaveSeed("gif", c.name, ReadBytes(file));
    }
}
