// BMP, DIB and RLE files: round trips, hostile files, and agreement with
// ImageMagick's decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord ReadBmp(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.bmp", bytes.data(), bytes.size()); }

// A file assembled field by field, for files no encoder would write.
struct BmpBuilder {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
    void u32(uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); }
    // File header and a 40-byte info header; colour table and data follow.
    void infoHeader(int32_t width, int32_t height, int bits, uint32_t compression, uint32_t tableEntries,
                    uint32_t clrUsed = 0) {
        u16(0x4D42); u32(0); u32(0); u32(14 + 40 + 4 * tableEntries);
        u32(40); u32(uint32_t(width)); u32(uint32_t(height)); u16(1); u16(uint16_t(bits));
        u32(compression); u32(0); u32(0); u32(0); u32(clrUsed); u32(0);
        for (uint32_t i = 0; i < tableEntries; ++i) { u8(uint8_t(i)); u8(uint8_t(2 * i)); u8(uint8_t(3 * i)); u8(0); }
    }
    void data(std::initializer_list<uint8_t> values) { bytes.insert(bytes.end(), values); }
    // The file with its size field filled in, as other decoders insist on.
    const std::vector<uint8_t>& finished() {
        uint32_t size = uint32_t(bytes.size());
        memcpy(&bytes[2], &size, 4);
        return bytes;
    }
};

}  // namespace

TEST(Bmp, RoundTripsEveryDepthAndOddWidths) {
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int32_t width : {1, 3, 31, 33}) {
            for (int32_t height : {1, 7}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height);
                OwnedRecord source;
                FillTestImage(source.record, width, height, bits);
                std::vector<uint8_t> file = WriteToMemory(WriteBmpFile, source.record);
                ASSERT_FALSE(file.empty());
                uint32_t sizeField;
                memcpy(&sizeField, &file[2], 4);
                EXPECT_EQ(sizeField, file.size());
                OwnedRecord back(ReadBmp(file));
                ASSERT_EQ(+back->error, 0);
                EXPECT_EQ(+back->width, width);
                EXPECT_EQ(+back->height, height);
                EXPECT_EQ(+back->bitCount, bits);
                EXPECT_EQ(Pixels(back.record), Pixels(source.record));
                EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
                if (width == 33 && height == 7) SaveSeed("bmp", "plain" + std::to_string(bits), file);
            }
        }
    }
}

TEST(Bmp, CoreHeaderBecomesInfoHeaderWithFullTable) {
    BmpBuilder b;
    b.u16(0x4D42); b.u32(0); b.u32(0); b.u32(14 + 12 + 3 * 256);
    b.u32(12); b.u16(2); b.u16(1); b.u16(1); b.u16(8);
    for (int i = 0; i < 256; ++i) { b.u8(uint8_t(i)); b.u8(uint8_t(255 - i)); b.u8(7); }
    b.data({0, 255, 0, 0});
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->bitCount, 8);
    EXPECT_EQ(GlobalSize(r->hInfo), 1064u);
    BlockLock info(r->hInfo);
    EXPECT_EQ(info.as<DibHeader>()->size, 40u);
    const DibColor* table = reinterpret_cast<const DibColor*>(info.data() + 40);
    EXPECT_EQ(table[255].blue, 255);
    EXPECT_EQ(table[255].green, 0);
    EXPECT_EQ(table[255].red, 7);
    SaveSeed("bmp", "core8", b.bytes);
}

TEST(Bmp, Rle8EndOfBitmapLeavesRemainingRowsZero) {
    BmpBuilder b;
    b.infoHeader(4, 3, 8, 1, 256);
    b.data({4, 9, 0, 0, 2, 5, 0, 3, 1, 2, 3, 0, 0, 1, 4, 4});  // row 0 runs, row 1 run + absolute, end
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{9, 9, 9, 9, 5, 5, 1, 2, 0, 0, 0, 0}));
    BlockLock info(r->hInfo);
    EXPECT_EQ(info.as<DibHeader>()->compression, 0u);
    SaveSeed("bmp", "rle8", b.bytes);
}

TEST(Bmp, Rle4AbsoluteRunsConsumeTheirPadding) {
    // 3 pixels take 2 bytes and no pad; 5 take 3 bytes and 1 pad; then a run.
    BmpBuilder b;
    b.infoHeader(16, 1, 4, 2, 16);
    b.data({0, 3, 0x12, 0x30, 0, 5, 0x45, 0x67, 0x80, 0xFF, 4, 0xAB, 0, 1});
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78, 0xAB, 0xAB, 0, 0}));
    SaveSeed("bmp", "rle4", b.bytes);
}

TEST(Bmp, RleDeltaMovesTheOutputPosition) {
    BmpBuilder b;
    b.infoHeader(4, 2, 8, 1, 256);
    b.data({1, 7, 0, 2, 2, 1, 1, 8, 0, 1});  // 7 at (0,0), delta (+2,+1), 8 at (3,1)
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{7, 0, 0, 0, 0, 0, 0, 8}));
}

TEST(Bmp, TopDownFilesComeBackBottomUp) {
    BmpBuilder b;
    b.infoHeader(1, -2, 8, 0, 256);
    b.data({1, 0, 0, 0, 2, 0, 0, 0});  // top row 1, bottom row 2
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->height, 2);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{2, 0, 0, 0, 1, 0, 0, 0}));
}

TEST(Bmp, ShortPixelDataLeavesMissingRowsZero) {
    BmpBuilder b;
    b.infoHeader(4, 3, 8, 0, 256);
    b.data({1, 2, 3, 4, 5, 6});
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0}));
}

TEST(Bmp, ShortColourTableIsExpanded) {
    BmpBuilder b;
    b.infoHeader(2, 1, 8, 0, 2, 2);
    b.data({1, 0, 0, 0});
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(GlobalSize(r->hInfo), 1064u);
    EXPECT_EQ(ToRgb(r.record), (std::vector<uint8_t>{3, 2, 1, 0, 0, 0}));
}

TEST(Bmp, HostileFilesAreRefusedWithoutLeaks) {
    size_t blocksBefore = KernelLiveBlockCount();
    auto refused = [&](const std::vector<uint8_t>& bytes, const char* what) {
        ImageRecord r = ReadBmp(bytes);
        EXPECT_EQ(+r.error, kErrBmp) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
    };
    refused({'B', 'A', 0, 0}, "not BM");
    refused({'B', 'M', 0}, "truncated file header");
    BmpBuilder wrongSize; wrongSize.infoHeader(1, 1, 8, 0, 0); wrongSize.bytes[14] = 20;
    refused(wrongSize.bytes, "header size 20");
    BmpBuilder early; early.infoHeader(1, 1, 24, 0, 0); early.bytes[10] = 20;
    refused(early.bytes, "data offset inside the header");
    BmpBuilder past; past.infoHeader(1, 1, 24, 0, 0); past.bytes[10] = 200;
    refused(past.bytes, "data offset past the end");
    BmpBuilder huge; huge.infoHeader(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 0);
    refused(huge.bytes, "width x height x bits overflows");
    BmpBuilder wide; wide.infoHeader(100000, 100000, 8, 0, 0);
    refused(wide.bytes, "beyond the size cap");
    BmpBuilder zero; zero.infoHeader(0, 5, 24, 0, 0);
    refused(zero.bytes, "zero width");
    BmpBuilder minHeight; minHeight.infoHeader(5, INT32_MIN, 24, 0, 0);
    refused(minHeight.bytes, "most negative height");
    BmpBuilder sixteen; sixteen.infoHeader(1, 1, 16, 0, 0);
    refused(sixteen.bytes, "16 bits");
    BmpBuilder rleDepth; rleDepth.infoHeader(2, 2, 24, 1, 0);
    refused(rleDepth.bytes, "RLE8 at 24 bits");
    BmpBuilder rle4at8; rle4at8.infoHeader(2, 2, 8, 2, 256);
    refused(rle4at8.bytes, "RLE4 at 8 bits");
    BmpBuilder cut; cut.infoHeader(2, 2, 8, 0, 0); cut.bytes.resize(30);
    refused(cut.bytes, "info header cut short");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Bmp, MalformedRunsStayInsideTheBlock) {
    BmpBuilder b;
    b.infoHeader(3, 2, 8, 1, 256);
    // A 255-pixel run, an absolute run longer than the data, a delta far away.
    b.data({255, 1, 0, 0, 0, 200, 1, 2, 0, 2, 255, 255, 9, 9});
    OwnedRecord r(ReadBmp(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{1, 1, 1, 0, 1, 2, 0, 0}));
}

// Runs that never end their row: about 17 MB of 255-pixel runs into a 1 x 1
// picture move the column past any 32-bit count. The pixel that fits is
// kept, the rest dropped, and nothing is written outside the block.
TEST(Bmp, EndlessRowsOfRunsAndDeltasStayInTheirRow) {
    struct Case { const char* name; int bits; uint32_t compression; std::vector<uint8_t> unit; size_t bytes; uint8_t first; };
    const Case cases[] = {
        {"RLE8 runs", 8, 1, {255, 0x5A}, 17u << 20, 0x5A},
        {"RLE4 runs", 4, 2, {255, 0x5A}, 17u << 20, 0x50},
        // A delta of 255 columns and a run, over and over: 510 columns per 6 bytes.
        {"RLE8 deltas", 8, 1, {0, 2, 255, 0, 255, 0x33}, 26u << 20, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpBuilder b;
        b.infoHeader(1, 1, c.bits, c.compression, c.bits == 8 ? 256 : 16);
        size_t header = b.bytes.size();
        b.bytes.resize(header + c.bytes / c.unit.size() * c.unit.size());
        for (size_t at = header; at < b.bytes.size(); at += c.unit.size())
            memcpy(&b.bytes[at], c.unit.data(), c.unit.size());
        OwnedRecord r(ReadBmp(b.bytes));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{c.first, 0, 0, 0}));
        // The long-input fuzzers' recipe for the same file: header, one unit,
        // and a trailer asking for 32 MiB with the unit repeated.
        b.bytes.resize(header + c.unit.size());
        b.bytes.insert(b.bytes.end(), {25, uint8_t(header), uint8_t(header >> 8)});
        SaveSeed("bmp", std::string("recipe-") + c.name, b.bytes);
    }
}

// ---- through files: the exported functions -------------------------------

class BmpFiles : public testing::Test {
protected:
    std::string path(const std::string& name) { return ScratchDir() + "/bmp_" + name; }
};

TEST_F(BmpFiles, ExportTypesWriteTheSameUncompressedFile) {
    OwnedRecord source;
    FillTestImage(source.record, 9, 4, 4);
    std::vector<uint8_t> expected = WriteToMemory(WriteBmpFile, source.record);
    for (auto [type, name] : {std::pair{kTypeBmp, "a.bmp"}, {kTypeDib, "a.dib"}, {kTypeRle, "a.rle"}}) {
        ExportImageFile(&source.record, path(name).c_str(), type);
        EXPECT_EQ(+source->error, 0);
        EXPECT_EQ(ReadBytes(path(name)), expected) << name;
        OwnedRecord back(*ImportImageFile(path(name).c_str()));
        EXPECT_EQ(+back->error, 0);
        EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
    }
}

TEST_F(BmpFiles, ExportOverALongerFileLeavesExactlyTheNewContent) {
    WriteBytes(path("long.bmp"), std::vector<uint8_t>(100000, 0xEE));
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 24);
    ExportImageFile(&source.record, path("long.bmp").c_str(), kTypeBmp);
    EXPECT_EQ(+source->error, 0);
    EXPECT_EQ(ReadBytes(path("long.bmp")), WriteToMemory(WriteBmpFile, source.record));
}

TEST_F(BmpFiles, FailedOrRefusedExportsKeepTheOldFile) {
    std::vector<uint8_t> old = {'o', 'l', 'd'};
    OwnedRecord deep;
    FillTestImage(deep.record, 4, 4, 24);
    WriteBytes(path("keep.gif"), old);
    ExportImageFile(&deep.record, path("keep.gif").c_str(), kTypeGif);
    EXPECT_EQ(+deep->error, kErrGif24Bit);
    EXPECT_EQ(ReadBytes(path("keep.gif")), old);

    OwnedRecord shallow;
    FillTestImage(shallow.record, 4, 4, 4);
    ExportImageFile(&shallow.record, path("keep.gif").c_str(), kTypeJpg);
    EXPECT_EQ(+shallow->error, kErrJpgLowDepth);
    ExportImageFile(&deep.record, path("keep.gif").c_str(), kTypeWpg);
    EXPECT_EQ(+deep->error, kErrWpg24Bit);

    // A record whose pixel block is smaller than its size says: the writer
    // refuses it, and the file that was there survives.
    WriteBytes(path("keep.bmp"), old);
    ImageRecord lying = deep.record;
    lying.height = 400;
    ExportImageFile(&lying, path("keep.bmp").c_str(), kTypeBmp);
    EXPECT_EQ(+lying.error, kErrBmp);
    EXPECT_EQ(ReadBytes(path("keep.bmp")), old);
    // ... and a new name is not left behind.
    ExportImageFile(&lying, path("never.bmp").c_str(), kTypeBmp);
    EXPECT_FALSE(FileExists(path("never.bmp")));
    EXPECT_FALSE(FileExists(path("never.bmp") + ".~pv"));
}

TEST_F(BmpFiles, ReadOnlyTargetIsRefusedAndKeepsItsContentAndMark) {
    const std::string target = path("readonly.bmp");
    RunShell("chmod u+w '" + target + "'; rm -f '" + target + "'");
    WriteBytes(target, {'o', 'l', 'd'});
    ASSERT_EQ(RunShell("chmod 0444 '" + target + "'"), 0);
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 8);
    ExportImageFile(&source.record, target.c_str(), kTypeBmp);
    EXPECT_EQ(+source->error, kErrCannotCreate);
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(RunShell("test \"$(stat -c %a '" + target + "')\" = 444"), 0);
    RunShell("chmod u+w '" + target + "'");
}

TEST_F(BmpFiles, UnknownTypeCodeWritesNothing) {
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 8);
    WriteBytes(path("other.bmp"), {'x'});
    ExportImageFile(&source.record, path("other.bmp").c_str(), 12);
    EXPECT_EQ(+source->error, 0);
    EXPECT_EQ(ReadBytes(path("other.bmp")), std::vector<uint8_t>{'x'});
    RunShell("rm -f '" + path("new.bmp") + "'");
    ExportImageFile(&source.record, path("new.bmp").c_str(), 0);
    EXPECT_TRUE(FileExists(path("new.bmp")));
    EXPECT_TRUE(ReadBytes(path("new.bmp")).empty());
}

TEST_F(BmpFiles, UncreatableFileGives1002) {
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 8);
    ExportImageFile(&source.record, (ScratchDir() + "/no/such/folder/x.bmp").c_str(), kTypeBmp);
    EXPECT_EQ(+source->error, kErrCannotCreate);
    ExportImageFile(&source.record, ScratchDir().c_str(), kTypeBmp);  // a folder
    EXPECT_EQ(+source->error, kErrCannotCreate);
}

TEST_F(BmpFiles, NullOrEmptyPathsAreRefusedNotThrown) {
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 8);
    for (int type : {int(kTypeBmp), int(kTypeJpg), 0}) {
        for (const char* name : {static_cast<const char*>(nullptr), ""}) {
            source->error = 0;
            EXPECT_NO_THROW(ExportImageFile(&source.record, name, type));
            EXPECT_EQ(+source->error, kErrCannotCreate) << "type " << type << (name ? " empty" : " null");
        }
    }
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        ImageRecord r = {};
        EXPECT_NO_THROW(r = *ImportImageFile(name));
        EXPECT_EQ(+r.error, kErrCannotOpen);
        EXPECT_EQ(+r.hBits, 0u);
    }
}

// The temporary file an export writes first: never a file of the user's,
// never longer than a valid path, never left behind.
class ExportTemporary : public testing::Test {
protected:
    void SetUp() override {
        folder = ScratchDir() + "/temporary";
        RunShell("rm -rf '" + folder + "' && mkdir -p '" + folder + "'");
    }
    std::vector<std::string> names() {
        std::vector<std::string> found;
        FILE* list = popen(("ls -A '" + folder + "'").c_str(), "r");
        char line[1024];
        while (list && fgets(line, sizeof line, list)) found.push_back(std::string(line, strcspn(line, "\n")));
        if (list) pclose(list);
        return found;
    }
    std::string folder;
};

TEST_F(ExportTemporary, AFileNamedLikeTheOldTemporaryIsNeverTouched) {
    OwnedRecord source;
    FillTestImage(source.record, 3, 2, 24);
    std::string target = folder + "/a.bmp";
    std::vector<uint8_t> mine = {'m', 'i', 'n', 'e'};
    WriteBytes(target + ".~pv", mine);
    ExportImageFile(&source.record, target.c_str(), kTypeBmp);
    EXPECT_EQ(+source->error, 0);
    EXPECT_EQ(ReadBytes(target), WriteToMemory(WriteBmpFile, source.record));
    EXPECT_EQ(ReadBytes(target + ".~pv"), mine);
    // A failing export keeps both the old target and the user's file.
    ImageRecord lying = source.record;
    lying.height = 400;
    ExportImageFile(&lying, target.c_str(), kTypeBmp);
    EXPECT_EQ(+lying.error, kErrBmp);
    EXPECT_EQ(ReadBytes(target), WriteToMemory(WriteBmpFile, source.record));
    EXPECT_EQ(ReadBytes(target + ".~pv"), mine);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.bmp", "a.bmp.~pv"}));
}

TEST_F(ExportTemporary, NamesUpToTheLongestValidPathAreWritten) {
    OwnedRecord source;
    FillTestImage(source.record, 3, 2, 8);
    std::vector<uint8_t> expected = WriteToMemory(WriteBmpFile, source.record);
    // Whole paths of 256 to 259 characters: the folder here is short.
    for (size_t length = 256; length <= MAX_PATH - 1; ++length) {
        size_t nameLength = length - folder.size() - 1;
        if (nameLength > 255) GTEST_SKIP() << "scratch folder too short for the file system's name limit";
        std::string target = folder + "/" + std::string(nameLength - 4, 'n') + ".bmp";
        ASSERT_EQ(target.size(), length);
        ExportImageFile(&source.record, target.c_str(), kTypeBmp);
        EXPECT_EQ(+source->error, 0) << length;
        EXPECT_EQ(ReadBytes(target), expected) << length;
        RunShell("rm -f '" + target + "'");
    }
    // A folder that leaves no room for a temporary name beside the target:
    // the image still replaces the old file, and a failure still keeps it.
    std::string deep = folder;
    while (deep.size() < MAX_PATH - 12) deep += "/" + std::string(std::min<size_t>(40, MAX_PATH - 12 - deep.size()), 'd');
    ASSERT_EQ(RunShell("mkdir -p '" + deep + "'"), 0);
    std::string target = deep + "/x.bmp";
    ASSERT_LT(target.size(), size_t(MAX_PATH));
    WriteBytes(target, {'o', 'l', 'd'});
    ExportImageFile(&source.record, target.c_str(), kTypeBmp);
    EXPECT_EQ(+source->error, 0);
    EXPECT_EQ(ReadBytes(target), expected);
    ImageRecord lying = source.record;
    lying.height = 400;
    ExportImageFile(&lying, target.c_str(), kTypeBmp);
    EXPECT_EQ(ReadBytes(target), expected);
    // Longer than any valid path: refused, nothing made.
    ExportImageFile(&source.record, (deep + "/" + std::string(20, 'z') + ".bmp").c_str(), kTypeBmp);
    EXPECT_EQ(+source->error, kErrCannotCreate);
    RunShell("rm -rf '" + folder + "'/dd*");
    EXPECT_EQ(names(), std::vector<std::string>{});
}

TEST_F(BmpFiles, DispatchByExtension) {
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 8);
    ExportImageFile(&source.record, path("case.BMP").c_str(), kTypeBmp);
    OwnedRecord upper(*ImportImageFile(path("case.BMP").c_str()));
    EXPECT_EQ(+upper->error, 0);
    EXPECT_EQ(+upper->width, 2);
    RunShell("cp '" + path("case.BMP") + "' '" + path("case.jpeg") + "'");
    RunShell("cp '" + path("case.BMP") + "' '" + path("noext") + "'");
    for (const char* name : {"case.jpeg", "noext"}) {
        ImageRecord r = *ImportImageFile(path(name).c_str());
        ImageRecord zero = {};
        EXPECT_EQ(memcmp(&r, &zero, sizeof r), 0) << name;
    }
    ImageRecord missing = *ImportImageFile(path("missing.bmp").c_str());
    EXPECT_EQ(+missing.error, kErrCannotOpen);
    EXPECT_EQ(+missing.hBits, 0u);
    char text[260];
    EXPECT_EQ(GetErrorMessage(1000, text), 0);
    EXPECT_EQ(GetErrorMessage(1018, text), 0);
    EXPECT_GT(GetErrorMessage(1003, text), 0);
    EXPECT_STREQ(text, "Unsupported BMP file format.");
}

// ---- against ImageMagick --------------------------------------------------

class BmpReference : public BmpFiles {
protected:
    void SetUp() override {
        if (!HaveTool("convert-im6.q16")) GTEST_SKIP() << "ImageMagick is not installed";
    }
    // A 37 x 23 picture with smooth and sharp changes, as a binary PPM.
    std::string picture() {
        std::string ppm = path("ref.ppm");
        std::vector<uint8_t> bytes;
        std::string head = "P6\n37 23\n255\n";
        bytes.assign(head.begin(), head.end());
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) bytes.insert(bytes.end(), {uint8_t(x * 7), uint8_t(y * 11), uint8_t((x / 4 + y / 4) % 2 * 255)});
        WriteBytes(ppm, bytes);
        return ppm;
    }
};

TEST_F(BmpReference, FilesMadeByImageMagickImportAsItDecodesThem) {
    std::string ppm = picture();
    struct Case { const char* name; const char* options; int bits; };
    for (Case c : {Case{"im1.bmp", "-colors 2 -type palette BMP3:", 1}, Case{"im4.bmp", "-colors 16 -type palette BMP3:", 4},
                   Case{"im8.bmp", "-colors 200 -type palette BMP3:", 8}, Case{"im24.bmp", "-type truecolor BMP3:", 24},
                   Case{"imrle8.bmp", "-colors 100 -type palette -compress RLE BMP3:", 8},
                   Case{"imos2.bmp", "-colors 60 -type palette BMP2:", 8}, Case{"imv5.bmp", "-type truecolor BMP:", 24}}) {
        SCOPED_TRACE(c.name);
        std::string file = path(c.name);
        ASSERT_EQ(RunShell("convert-im6.q16 '" + ppm + "' " + c.options + "'" + file + "'"), 0);
        OwnedRecord r(*ImportImageFile(file.c_str()));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(+r->bitCount, c.bits);
        EXPECT_EQ(ToRgb(r.record), MagickRgb(file));
        SaveSeed("bmp", c.name, ReadBytes(file));
    }
}

TEST_F(BmpReference, HandMadeRle4DecodesAsImageMagickDecodesIt) {
    BmpBuilder b;
    b.infoHeader(7, 3, 4, 2, 16);
    b.data({3, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0,   // row 0: run of 3, absolute 5 with pad
            0, 3, 0xAB, 0xC0, 4, 0xEF, 0, 0,            // row 1: absolute 3, run 4
            7, 0x9F, 0, 1});                            // row 2: run of 7, end
    WriteBytes(path("rle4.bmp"), b.finished());
    OwnedRecord r(*ImportImageFile(path("rle4.bmp").c_str()));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(ToRgb(r.record), MagickRgb(path("rle4.bmp")));
}

TEST_F(BmpReference, ExportedFilesDecodeInImageMagickToTheirPixels) {
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int32_t width : {1, 3, 31, 33}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            OwnedRecord source;
            FillTestImage(source.record, width, 5, bits);
            std::string file = path("out" + std::to_string(bits) + "_" + std::to_string(width) + ".bmp");
            ExportImageFile(&source.record, file.c_str(), kTypeBmp);
            ASSERT_EQ(+source->error, 0);
            EXPECT_EQ(MagickRgb(file), ToRgb(source.record));
        }
    }
}
