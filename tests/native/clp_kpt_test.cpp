// Clipboard files and KPT files, which no outside program reads or writes:
// files built byte by byte from their layouts, round trips of the clipboard
// writer, and hostile files of both kinds.
#include <gtest/gtest.h>

#include <cstring>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord Read(const char* name, const std::vector<uint8_t>& bytes) {
    return ImportImageMemory(name, bytes.data(), bytes.size());
}

struct Bytes {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
    void u32(uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); }
    void add(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
};

// A clipboard file whose formats' data follow the directory in order.
std::vector<uint8_t> ClipboardFile(const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& formats) {
    Bytes b;
    b.u16(50000);
    b.u16(uint16_t(formats.size()));
    uint32_t offset = uint32_t(4 + 89 * formats.size());
    for (auto& [id, data] : formats) {
        b.u16(id);
        b.u32(uint32_t(data.size()));
        b.u32(offset);
        for (int i = 0; i < 79; ++i) b.u8(0);
        offset += uint32_t(data.size());
    }
    for (auto& format : formats) b.add(format.second);
    return b.bytes;
}

// A device bitmap's description and rows.
std::vector<uint8_t> DeviceBitmap(int32_t width, int32_t height, uint16_t planes, uint16_t bits,
                                  const std::vector<uint8_t>& rows) {
    Bytes b;
    b.u32(0);
    b.u32(uint32_t(width));
    b.u32(uint32_t(height));
    b.u32(uint32_t((width + 1) & ~1));
    b.u16(planes);
    b.u16(bits);
    b.u32(0x12345678);
    b.add(rows);
    return b.bytes;
}

// A packed bitmap: 40-byte header, `tableEntries` colours, then `rows`.
std::vector<uint8_t> PackedDib(int32_t width, int32_t height, uint16_t bits, uint32_t tableEntries,
                               const std::vector<uint8_t>& rows, uint32_t clrUsed = 0) {
    Bytes b;
    b.u32(40); b.u32(uint32_t(width)); b.u32(uint32_t(height)); b.u16(1); b.u16(bits);
    b.u32(0); b.u32(0); b.u32(0); b.u32(0); b.u32(clrUsed); b.u32(0);
    for (uint32_t i = 0; i < tableEntries; ++i) { b.u8(uint8_t(i)); b.u8(uint8_t(2 * i)); b.u8(uint8_t(3 * i)); b.u8(0); }
    b.add(rows);
    return b.bytes;
}

// A KPT file: header, header block, pixel data and note.
std::vector<uint8_t> KptFile(uint16_t width, uint16_t height, uint16_t bits, const std::vector<uint8_t>& pixels,
                             const std::string& note, uint32_t noteLength) {
    Bytes b;
    b.u16(0xFF01);
    b.u16(width);
    b.u16(height);
    b.u16(bits);
    b.u32(uint32_t(pixels.size()));
    b.u32(noteLength);
    std::vector<uint8_t> header(std::max<uint32_t>(GetDibHeaderSize(bits), 40), 0);
    header[0] = 40;
    header[4] = 99;  // a width that disagrees with the file's own
    for (uint32_t i = 0; i < GetPaletteEntryCount(bits); ++i) {
        header[40 + 4 * i] = uint8_t(i);
        header[42 + 4 * i] = uint8_t(255 - i);
    }
    b.add(header);
    b.add(pixels);
    b.add(std::vector<uint8_t>(note.begin(), note.end()));
    return b.bytes;
}

}  // namespace

TEST(Clp, RoundTripsEveryDepthAndTheWrittenLayout) {
    for (int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        OwnedRecord source;
        FillTestImage(source.record, 13, 6, bits);
        std::vector<uint8_t> file = WriteToMemory(WriteClpFile, source.record);
        OwnedRecord back(Read("x.clp", file));
        ASSERT_EQ(+back->error, 0);
        EXPECT_EQ(+back->bitCount, bits);
        EXPECT_EQ(Pixels(back.record), Pixels(source.record));
        EXPECT_EQ(ToRgb(back.record), ToRgb(source.record));
        EXPECT_EQ(GlobalSize(back->hInfo), GetDibHeaderSize(bits));
        SaveSeed("clp", "round" + std::to_string(bits), file);
    }
    OwnedRecord mono;
    FillTestImage(mono.record, 8, 8, 1);
    std::vector<uint8_t> file = WriteToMemory(WriteClpFile, mono.record);
    ASSERT_EQ(file.size(), 4u + 89 + 48 + 32);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 14),
              (std::vector<uint8_t>{0x50, 0xC3, 1, 0, 8, 0, 80, 0, 0, 0, 93, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 14, file.begin() + 93), std::vector<uint8_t>(79, 0));
    EXPECT_EQ(file[93], 40);
    EXPECT_EQ(file[93 + 20], 32);  // the header's image size
}

TEST(Clp, OnlyTheFirstFormatCounts) {
    std::vector<uint8_t> dib = PackedDib(2, 1, 8, 256, {7, 9, 0, 0});
    OwnedRecord r(Read("x.CLP", ClipboardFile({{8, dib}, {1, {'h', 'i', 0}}})));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{7, 9, 0, 0}));
    EXPECT_EQ(ColorAt(r.record, 9).red, 27);
    SaveSeed("clp", "dibfirst", ClipboardFile({{8, dib}, {1, {'h', 'i', 0}}}));
    EXPECT_EQ(+Read("x.clp", ClipboardFile({{1, {'h', 'i', 0}}, {8, dib}})).error, kErrClp);

    // A width of 12 is not mistaken for the size of an old-style header.
    std::vector<uint8_t> twelve(12, 0);
    twelve[11] = 200;
    OwnedRecord wide(Read("x.clp", ClipboardFile({{8, PackedDib(12, 1, 8, 256, twelve)}})));
    ASSERT_EQ(+wide->error, 0);
    EXPECT_EQ(Pixels(wide.record), twelve);

    // A short colour table is taken as the header says.
    OwnedRecord shortTable(Read("x.clp", ClipboardFile({{8, PackedDib(2, 1, 8, 3, {2, 1, 0, 0}, 3)}})));
    ASSERT_EQ(+shortTable->error, 0);
    EXPECT_EQ(Pixels(shortTable.record), (std::vector<uint8_t>{2, 1, 0, 0}));
    EXPECT_EQ(ColorAt(shortTable.record, 2).red, 6);
}

TEST(Clp, EightBitDeviceBitmapsReadTopRowFirstWithTheFixedColours) {
    // 3 pixels a row are stored in 4 bytes; the first row is the top.
    std::vector<uint8_t> rows = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};
    std::vector<uint8_t> file = ClipboardFile({{2, DeviceBitmap(3, 2, 1, 8, rows)}});
    OwnedRecord r(Read("x.clp", file));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->bitCount, 8);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
    DibColor c = ColorAt(r.record, 0x4B);  // 1 001 011
    EXPECT_EQ(c.red, 96);
    EXPECT_EQ(c.green, 32);
    EXPECT_EQ(c.blue, 64);
    SaveSeed("clp", "device8", file);

    // Rows the data does not hold stay 0.
    OwnedRecord cut(Read("x.clp", ClipboardFile({{2, DeviceBitmap(3, 2, 1, 8, {1, 2})}})));
    ASSERT_EQ(+cut->error, 0);
    EXPECT_EQ(Pixels(cut.record), (std::vector<uint8_t>{0, 0, 0, 0, 1, 2, 0, 0}));
}

TEST(Clp, RefusedAndHostileFiles) {
    size_t blocksBefore = KernelLiveBlockCount();
    auto refused = [](const std::vector<uint8_t>& bytes, const std::string& what) {
        ImageRecord r = Read("x.clp", bytes);
        EXPECT_EQ(+r.error, kErrClp) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
    };
    std::vector<uint8_t> good = ClipboardFile({{8, PackedDib(2, 1, 8, 256, {7, 9, 0, 0})}});
    for (size_t cut : {size_t(0), size_t(3), size_t(4), size_t(50), size_t(93), size_t(120), good.size() - 1})
        refused(std::vector<uint8_t>(good.begin(), good.begin() + long(cut)), "cut at " + std::to_string(cut));
    std::vector<uint8_t> id = good;
    id[0] = 0x51;
    refused(id, "file id");
    refused(ClipboardFile({}), "no formats");
    std::vector<uint8_t> offset = good;
    offset[10] = 0xF0;
    refused(offset, "data offset past the end");
    std::vector<uint8_t> length = good;
    length[6] = 0xFF;
    length[7] = 0xFF;
    length[8] = 0xFF;
    length[9] = 0xFF;
    refused(length, "length that wraps");
    refused(ClipboardFile({{8, PackedDib(2, 1, 16, 0, {1, 2, 3, 4})}}), "16-bit bitmap");
    refused(ClipboardFile({{8, PackedDib(2, 1, 8, 0, {}, 0)}}), "table past the data");
    refused(ClipboardFile({{8, {40, 0, 0, 0}}}), "header cut");
    refused(ClipboardFile({{2, DeviceBitmap(8, 1, 1, 1, {0xFF, 0})}}), "device bitmap of one bit");
    refused(ClipboardFile({{2, DeviceBitmap(8, 1, 1, 16, {0xFF, 0})}}), "device bitmap of 16 bits");
    refused(ClipboardFile({{2, DeviceBitmap(8, 1, 0xFD00, 0xBF0B, {0xFF, 0})}}), "planes times bits past 32 bits");
    refused(ClipboardFile({{2, DeviceBitmap(8, 1, 4, 1, {0xFF, 0})}}), "four planes away from a 16-colour screen");
    refused(ClipboardFile({{2, DeviceBitmap(0, 1, 1, 8, {})}}), "device bitmap width 0");
    refused(ClipboardFile({{2, DeviceBitmap(60000, 60000, 1, 8, {})}}), "device bitmap beyond the size cap");
    refused(ClipboardFile({{2, {1, 2, 3}}}), "device bitmap description cut");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Kpt, RunsUnpackAndStopAtEitherEnd) {
    const uint8_t runs[] = {0x83, 0x41, 0x02, 0x10, 0x20, 0x00, 0x05};
    uint8_t out[8] = {};
    EXPECT_EQ(UnpackKptRuns(runs, sizeof runs, out, sizeof out), 5u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 5), (std::vector<uint8_t>{0x41, 0x41, 0x41, 0x10, 0x20}));
    uint8_t small[2] = {};
    EXPECT_EQ(UnpackKptRuns(runs, sizeof runs, small, sizeof small), 2u);
    const uint8_t cut[] = {0x05, 1, 2};
    EXPECT_EQ(UnpackKptRuns(cut, sizeof cut, out, sizeof out), 2u);
    const uint8_t repeatCut[] = {0x85};
    EXPECT_EQ(UnpackKptRuns(repeatCut, sizeof repeatCut, out, sizeof out), 0u);
}

TEST(Kpt, ReadsPackedAndRawRowsAndTheNote) {
    // 8 bits, 3 x 2: rows of 4 bytes in memory order.
    std::vector<uint8_t> file = KptFile(3, 2, 8, {0x83, 7, 0x05, 1, 2, 3, 4, 5, 0}, "A note.", 7);
    OwnedRecord r(Read("picture.KPT", file));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(+r->width, 3);
    EXPECT_EQ(+r->bitCount, 8);
    EXPECT_EQ(Pixels(r.record), (std::vector<uint8_t>{7, 7, 7, 1, 2, 3, 4, 5}));
    EXPECT_EQ(ColorAt(r.record, 3).red, 252);
    EXPECT_EQ(+r->noteLength, 7);
    ASSERT_EQ(GlobalSize(r->hNote), 8u);
    {
        BlockLock note(r->hNote);
        EXPECT_STREQ(reinterpret_cast<const char*>(note.data()), "A note.");
    }
    {
        // The header block describes the image the record holds.
        BlockLock info(r->hInfo);
        EXPECT_EQ(info.as<DibHeader>()->width, 3);
    }
    SaveSeed("kpt", "note", file);

    // 24 bits are raw; more bytes than the image holds are not written past it.
    std::vector<uint8_t> raw(16 + 4);
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = uint8_t(i + 1);
    std::vector<uint8_t> deep = KptFile(2, 2, 24, raw, "", 0);
    OwnedRecord d(Read("x.kpt", deep));
    ASSERT_EQ(+d->error, 0);
    EXPECT_EQ(Pixels(d.record), std::vector<uint8_t>(raw.begin(), raw.begin() + 16));
    EXPECT_EQ(+d->hNote, 0u);
    EXPECT_EQ(+d->noteLength, 0);
    SaveSeed("kpt", "raw24", deep);
}

TEST(Kpt, RefusedAndHostileFiles) {
    size_t blocksBefore = KernelLiveBlockCount();
    auto refused = [](const std::vector<uint8_t>& bytes, const std::string& what) {
        ImageRecord r = Read("x.kpt", bytes);
        EXPECT_EQ(+r.error, kErrKpt) << what;
        EXPECT_EQ(+r.hBits, 0u) << what;
        EXPECT_EQ(+r.hInfo, 0u) << what;
        EXPECT_EQ(+r.hNote, 0u) << what;
    };
    std::vector<uint8_t> good = KptFile(4, 1, 4, {0x82, 0x12, 0}, "hi", 2);
    ASSERT_EQ(+OwnedRecord(Read("x.kpt", good))->error, 0);
    for (size_t cut = 0; cut < good.size(); cut += 5)
        refused(std::vector<uint8_t>(good.begin(), good.begin() + long(cut)), "cut at " + std::to_string(cut));
    std::vector<uint8_t> magic = good;
    magic[1] = 0xFE;
    refused(magic, "magic");
    refused(KptFile(4, 1, 4, {0x82, 0x12, 0}, "hi", 0xFFFFFFFF), "note length that wraps");
    refused(KptFile(4, 1, 4, {0x82, 0x12, 0}, "hi", 3), "note past the end");
    std::vector<uint8_t> count = good;
    count[8] = 200;
    refused(count, "pixel count past the end");
    refused(KptFile(0, 1, 8, {0}, "", 0), "width 0");
    refused(KptFile(4, 1, 16, {0}, "", 0), "16 bits");
    refused(KptFile(4, 1, 32, {0}, "", 0), "32 bits");
    refused(KptFile(65535, 65535, 24, {0}, "", 0), "beyond the size cap");
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
    // Runs longer than the image stop at its end.
    OwnedRecord over(Read("x.kpt", KptFile(4, 1, 4, {0xFF, 0x12, 0xFF, 0x34}, "", 0)));
    ASSERT_EQ(+over->error, 0);
    EXPECT_EQ(Pixels(over.record), (std::vector<uint8_t>{0x12, 0x12, 0x12, 0x12}));
}

class ClpFiles : public testing::Test {
protected:
    std::string path(const std::string& name) { return ScratchDir() + "/clp_" + name; }
};

TEST_F(ClpFiles, ExportTypeTwoReadsBackAndAFailureKeepsTheOldFile) {
    OwnedRecord source;
    FillTestImage(source.record, 45, 29, 24);
    ExportImageFile(&source.record, path("a.clp").c_str(), kTypeClp);
    ASSERT_EQ(+source->error, 0);
    OwnedRecord back(*ImportImageFile(path("a.clp").c_str()));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(Pixels(back.record), Pixels(source.record));

    std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(path("keep.clp"), old);
    ImageRecord lying = source.record;
    lying.height = 4000;
    ExportImageFile(&lying, path("keep.clp").c_str(), kTypeClp);
    EXPECT_EQ(+lying.error, kErrClp);
    EXPECT_EQ(ReadBytes(path("keep.clp")), old);
    EXPECT_EQ(+ImportImageFile(path("keep.clp").c_str())->error, kErrClp);
    WriteBytes(path("keep.kpt"), old);
    EXPECT_EQ(+ImportImageFile(path("keep.kpt").c_str())->error, kErrKpt);
}
