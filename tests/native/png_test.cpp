// PNG files: round trips of every depth, hand-made files for each colour
// type, depth, filter and the interlace, notes, hostile files, and agreement
// with encoders and decoders nobody here wrote (ImageMagick, netpbm,
// pngcheck).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <zlib.h>

#include "ImageTestKit.h"

using namespace kit;

namespace {

ImageRecord ReadPng(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.png", bytes.data(), bytes.size()); }

std::vector<uint8_t> ColorTable(const ImageRecord& r) {
    BlockLock info(r.hInfo);
    return std::vector<uint8_t>(info.data() + 40, info.data() + GetDibHeaderSize(r.bitCount));
}

std::string NoteText(const ImageRecord& r) {
    BlockLock note(r.hNote);
    size_t size = GlobalSize(r.hNote);
    EXPECT_GT(size, 0u);
    EXPECT_EQ(note.data()[size - 1], 0) << "the note ends with a NUL";
    return std::string(reinterpret_cast<const char*>(note.data()), size - 1);
}

// Fourth bytes of a 32-bit record, top-down.
std::vector<uint8_t> FourthBytes(const ImageRecord& r) {
    std::vector<uint8_t> out;
    BlockLock bits(r.hBits);
    for (int32_t y = r.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < r.width; ++x) out.push_back(bits.data()[size_t(y) * GetDibRowBytes(r) + 4 * x + 3]);
    return out;
}

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

// The chunks of a file this codec wrote (assumed well formed).
std::vector<Chunk> ChunksOf(const std::vector<uint8_t>& file) {
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= file.size();) {
        uint32_t length = Be32(&file[at]);
        chunks.push_back({std::string(file.begin() + long(at + 4), file.begin() + long(at + 8)),
                          std::vector<uint8_t>(file.begin() + long(at + 8), file.begin() + long(at + 8 + length))});
        at += 12 + length;
    }
    return chunks;
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& raw, int level = 6) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), level);
    out.resize(size);
    return out;
}

// A file assembled chunk by chunk, checksums from zlib's own crc32.
struct PngBuilder {
    std::vector<uint8_t> bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    void chunk(const char* type, const std::vector<uint8_t>& data) {
        uint32_t length = uint32_t(data.size());
        for (int s = 24; s >= 0; s -= 8) bytes.push_back(uint8_t(length >> s));
        size_t start = bytes.size();
        bytes.insert(bytes.end(), type, type + 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        uint32_t crc = uint32_t(crc32(0, &bytes[start], uInt(bytes.size() - start)));
        for (int s = 24; s >= 0; s -= 8) bytes.push_back(uint8_t(crc >> s));
    }
    void header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0,
                uint8_t compression = 0, uint8_t filter = 0) {
        std::vector<uint8_t> d;
        for (uint32_t v : {width, height})
            for (int s = 24; s >= 0; s -= 8) d.push_back(uint8_t(v >> s));
        d.insert(d.end(), {depth, colorType, compression, filter, interlace});
        chunk("IHDR", d);
    }
    void end() { chunk("IEND", {}); }
};

// A picture described by its samples: sample c of pixel (x, y), y from the top.
struct Picture {
    uint32_t width, height;
    uint8_t depth, colorType;
    std::function<uint8_t(uint32_t x, uint32_t y, int c)> sample;
    int samples() const { return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1; }
};

// Samples of columns x0, x0 + dx, ... of row y, packed as the file holds them.
std::vector<uint8_t> PackRow(const Picture& p, uint32_t y, uint32_t x0, uint32_t dx) {
    std::vector<uint8_t> row;
    int bitsUsed = 0;
    for (uint32_t x = x0; x < p.width; x += dx)
        for (int c = 0; c < p.samples(); ++c) {
            uint8_t v = p.sample(x, y, c);
            if (p.depth == 8) { row.push_back(v); continue; }
            if (bitsUsed == 0) row.push_back(0);
            row.back() |= uint8_t(v << (8 - p.depth - bitsUsed));
            bitsUsed = (bitsUsed + p.depth) % 8;
        }
    return row;
}

// The five filters as an encoder applies them.
std::vector<uint8_t> FilterRow(uint8_t type, const std::vector<uint8_t>& row, const std::vector<uint8_t>& prev, size_t bpp) {
    std::vector<uint8_t> out{type};
    for (size_t i = 0; i < row.size(); ++i) {
        int a = i >= bpp ? row[i - bpp] : 0, b = prev.empty() ? 0 : prev[i], c = (i >= bpp && !prev.empty()) ? prev[i - bpp] : 0;
        int predictor = 0;
        switch (type) {
        case 1: predictor = a; break;
        case 2: predictor = b; break;
        case 3: predictor = (a + b) / 2; break;
        case 4: {
            int pa = abs(b - c), pb = abs(a - c), pc = abs(a + b - 2 * c);
            predictor = (pa <= pb && pa <= pc) ? a : pb <= pc ? b : c;
            break;
        }
        }
        out.push_back(uint8_t(row[i] - predictor));
    }
    return out;
}

// The scanlines of a picture, plain or in the seven Adam7 passes, each row
// filtered by `filterOf(row number in its pass)`.
std::vector<uint8_t> Scanlines(const Picture& p, bool interlaced, const std::function<uint8_t(uint32_t)>& filterOf) {
    static const uint32_t pass[7][4] = {{0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4},
                                        {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};
    static const uint32_t whole[1][4] = {{0, 1, 0, 1}};
    size_t bpp = std::max<size_t>(1, size_t(p.depth * p.samples()) / 8);
    std::vector<uint8_t> raw;
    for (int k = 0; k < (interlaced ? 7 : 1); ++k) {
        const uint32_t* s = interlaced ? pass[k] : whole[0];
        if (s[2] >= p.width) continue;  // an empty pass has no scanlines
        std::vector<uint8_t> prev;
        uint32_t n = 0;
        for (uint32_t y = s[0]; y < p.height; y += s[1], ++n) {
            std::vector<uint8_t> row = PackRow(p, y, s[2], s[3]);
            std::vector<uint8_t> line = FilterRow(filterOf(n), row, prev, bpp);
            raw.insert(raw.end(), line.begin(), line.end());
            prev = row;
        }
    }
    return raw;
}

std::vector<uint8_t> PaletteOf(int entries) {
    std::vector<uint8_t> plte;
    for (int i = 0; i < entries; ++i) plte.insert(plte.end(), {uint8_t(i * 7 + 1), uint8_t(255 - i), uint8_t(i * 13)});
    return plte;
}

std::vector<uint8_t> BuildFile(const Picture& p, bool interlaced, const std::function<uint8_t(uint32_t)>& filterOf) {
    PngBuilder b;
    b.header(p.width, p.height, p.depth, p.colorType, interlaced ? 1 : 0);
    if (p.colorType == 3) b.chunk("PLTE", PaletteOf(1 << p.depth));
    b.chunk("IDAT", Compress(Scanlines(p, interlaced, filterOf)));
    b.end();
    return b.bytes;
}

// What the reader must make of pixel (x, y): blue, green, red and fourth byte,
// or the colour index for grey and palette pictures.
std::vector<uint8_t> ExpectedPixel(const Picture& p, uint32_t x, uint32_t y) {
    auto s = [&](int c) { return p.sample(x, y, c); };
    switch (p.colorType) {
    case 2: return {s(2), s(1), s(0)};
    case 4: return {s(0), s(0), s(0), uint8_t(255 - s(1))};
    case 6: return {s(2), s(1), s(0), uint8_t(255 - s(3))};
    default: return {s(0)};
    }
}

std::vector<uint8_t> RecordPixel(const ImageRecord& r, uint32_t x, uint32_t y) {
    BlockLock bits(r.hBits);
    const uint8_t* line = bits.data() + size_t(r.height - 1 - int32_t(y)) * GetDibRowBytes(r);
    switch (r.bitCount) {
    case 1: return {uint8_t((line[x / 8] >> (7 - x % 8)) & 1)};
    case 4: return {uint8_t((line[x / 2] >> (x % 2 ? 0 : 4)) & 15)};
    case 8: return {line[x]};
    case 24: return {line[3 * x], line[3 * x + 1], line[3 * x + 2]};
    default: return {line[4 * x], line[4 * x + 1], line[4 * x + 2], line[4 * x + 3]};
    }
}

void ExpectPicture(const ImageRecord& r, const Picture& p) {
    ASSERT_EQ(+r.error, 0);
    ASSERT_EQ(+r.width, int32_t(p.width));
    ASSERT_EQ(+r.height, int32_t(p.height));
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x)
            ASSERT_EQ(RecordPixel(r, x, y), ExpectedPixel(p, x, y)) << "pixel " << x << "," << y;
}

Picture PatternPicture(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType) {
    uint32_t mask = (1u << depth) - 1;
    return {width, height, depth, colorType,
            [mask](uint32_t x, uint32_t y, int c) { return uint8_t((x * 7 + y * 13 + uint32_t(c) * 5 + x * y) & mask); }};
}

std::vector<uint8_t> WritePng(const ImageRecord& r, int* error = nullptr) { return WriteToMemory(WritePngFile, r, error); }

}  // namespace

TEST(Png, RoundTripsEveryDepth) {
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int32_t width : {1, 3, 33, 100}) {
            for (int32_t height : {1, 2, 7, 50}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height);
                OwnedRecord source;
                FillTestImage(source.record, width, height, bits, unsigned(width * 3 + height));
                std::vector<uint8_t> file = WritePng(source.record);
                ASSERT_FALSE(file.empty());
                std::vector<Chunk> chunks = ChunksOf(file);
                ASSERT_GE(chunks.size(), 3u);
                EXPECT_EQ(chunks.front().type, "IHDR");
                EXPECT_EQ(chunks.front().data[8], bits <= 8 ? bits : 8);
                EXPECT_EQ(chunks.front().data[9], bits <= 8 ? 3 : bits == 24 ? 2 : 6);
                EXPECT_EQ(chunks.front().data[12], 0) << "never interlaced";
                EXPECT_EQ(chunks[1].type, bits <= 8 ? "PLTE" : "IDAT");
                if (bits <= 8) EXPECT_EQ(chunks[1].data.size(), 3 * GetPaletteEntryCount(bits));
                EXPECT_EQ(chunks.back().type, "IEND");

                OwnedRecord back(ReadPng(file));
                ASSERT_EQ(+back->error, 0);
                EXPECT_EQ(+back->width, width);
                EXPECT_EQ(+back->height, height);
                EXPECT_EQ(+back->bitCount, bits);
                EXPECT_EQ(Pixels(back.record), Pixels(source.record)) << "every byte, the fourth of 32 bits too";
                EXPECT_EQ(ColorTable(back.record), ColorTable(source.record));
                EXPECT_EQ(+back->hNote, 0u);
                if (width == 33 && height == 7) SaveSeed("png", "plain" + std::to_string(bits), file);
            }
        }
    }
}

TEST(Png, ThirtyTwoBitRecordsKeepTheirFourthByteAndZeroMeansOpaque) {
    // A capture leaves 0 in every fourth byte: the file must be opaque, and
    // the record must come back as it went.
    OwnedRecord capture;
    FillTestImage(capture.record, 40, 9, 32);
    {
        BlockLock bits(capture->hBits);
        for (uint32_t i = 3; i < GetDibImageSize(capture.record); i += 4) bits.data()[i] = 0;
        bits.data()[3] = 255;  // and one fully transparent pixel at the bottom left
        bits.data()[7] = 128;
    }
    std::vector<uint8_t> file = WritePng(capture.record);
    OwnedRecord back(ReadPng(file));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(Pixels(back.record), Pixels(capture.record));
    // The file's alpha samples: 255 except the two marked pixels.
    std::vector<uint8_t> raw(40 * 4 * 9 + 9);
    uLongf size = uLongf(raw.size());
    std::vector<uint8_t> idat;
    for (const Chunk& c : ChunksOf(file))
        if (c.type == "IDAT") idat.insert(idat.end(), c.data.begin(), c.data.end());
    ASSERT_EQ(uncompress(raw.data(), &size, idat.data(), uLong(idat.size())), Z_OK);
    ASSERT_EQ(size, raw.size());
    for (uint32_t y = 0; y < 9; ++y)
        for (uint32_t x = 0; x < 40; ++x) {
            uint8_t alpha = raw[y * 161 + 1 + 4 * x + 3];
            uint8_t want = (y == 8 && x == 0) ? 0 : (y == 8 && x == 1) ? 127 : 255;
            ASSERT_EQ(alpha, want) << x << "," << y;
        }
}

TEST(Png, WrittenImageDataComesInChunksOf8192Bytes) {
    OwnedRecord source;
    FillTestImage(source.record, 300, 200, 24);
    {
        BlockLock bits(source->hBits);
        uint32_t state = 99;
        for (uint32_t i = 0; i < GetDibImageSize(source.record); ++i) bits.data()[i] = uint8_t((state = state * 1103515245 + 12345) >> 24);
    }
    std::vector<uint8_t> file = WritePng(source.record);
    std::vector<size_t> lengths;
    for (const Chunk& c : ChunksOf(file))
        if (c.type == "IDAT") lengths.push_back(c.data.size());
    ASSERT_GT(lengths.size(), 3u);
    for (size_t i = 0; i + 1 < lengths.size(); ++i) EXPECT_EQ(lengths[i], 8192u);
    EXPECT_LE(lengths.back(), 8192u);
    EXPECT_GT(lengths.back(), 0u);
    SaveSeed("png", "noise24", file);
}

TEST(Png, NotesTravelInAZtxtChunkUnderTheSuitesKeyword) {
    for (size_t length : {size_t(0), size_t(1), size_t(100000)}) {
        SCOPED_TRACE(length);
        OwnedRecord source;
        FillTestImage(source.record, 5, 4, 8);
        std::string text;
        for (size_t i = 0; i < length; ++i) text.push_back(char('a' + (i * i + i / 7) % 26));
        source->hNote = GlobalAlloc(GHND, length + 1);
        if (length) memcpy(BlockLock(source->hNote).data(), text.data(), length);
        source->noteLength = int32_t(length);
        std::vector<uint8_t> file = WritePng(source.record);

        int notes = 0;
        for (const Chunk& c : ChunksOf(file))
            if (c.type == "zTXt") {
                ++notes;
                ASSERT_GE(c.data.size(), 9u);
                EXPECT_EQ(std::string(c.data.begin(), c.data.begin() + 9), std::string("Kaptura\0\0", 9));
            }
        EXPECT_EQ(notes, length ? 1 : 0);

        OwnedRecord back(ReadPng(file));
        ASSERT_EQ(+back->error, 0);
        EXPECT_EQ(+back->noteLength, 0) << "the reader leaves the length to the caller";
        if (length == 0) {
            EXPECT_EQ(+back->hNote, 0u);
        } else {
            EXPECT_EQ(NoteText(back.record), text);
        }
        if (length == 1) SaveSeed("png", "note", file);
    }

    // A record whose length is 0 writes no note even with a block; a length
    // beyond the block writes what the block holds.
    OwnedRecord source;
    FillTestImage(source.record, 2, 2, 24);
    source->hNote = GlobalAlloc(GHND, 4);
    memcpy(BlockLock(source->hNote).data(), "abcd", 4);
    for (const Chunk& c : ChunksOf(WritePng(source.record))) EXPECT_NE(c.type, "zTXt");
    source->noteLength = 1000;
    OwnedRecord back(ReadPng(WritePng(source.record)));
    EXPECT_EQ(NoteText(back.record), "abcd");
}

TEST(Png, NotesUnderOtherKeywordsOrMethodsAreIgnored) {
    Picture p = PatternPicture(3, 3, 8, 0);
    auto withNote = [&](const std::string& keywordAndMethod, const std::string& text) {
        PngBuilder b;
        b.header(3, 3, 8, 0);
        std::vector<uint8_t> data(keywordAndMethod.begin(), keywordAndMethod.end());
        std::vector<uint8_t> packed = Compress(std::vector<uint8_t>(text.begin(), text.end()));
        data.insert(data.end(), packed.begin(), packed.end());
        b.chunk("zTXt", data);
        b.chunk("IDAT", Compress(Scanlines(p, false, [](uint32_t) { return 0; })));
        b.end();
        return b.bytes;
    };
    EXPECT_EQ(OwnedRecord(ReadPng(withNote(std::string("Kaptura\0\0", 9), "hello")))->hNote != 0, true);
    for (std::string other : {std::string("Comment\0\0", 9), std::string("Kaptur\0\0", 8), std::string("Kaptura9\0\0", 10),
                              std::string("Kaptura\0\1", 9), std::string("Kaptura", 7)}) {
        OwnedRecord r(ReadPng(withNote(other, "hello")));
        EXPECT_EQ(+r->error, 0);
        EXPECT_EQ(+r->hNote, 0u);
    }
    // A stream cut short keeps what it gave, still NUL-terminated.
    std::vector<uint8_t> file = withNote(std::string("Kaptura\0\0", 9), std::string(5000, 'q'));
    OwnedRecord whole(ReadPng(file));
    EXPECT_EQ(NoteText(whole.record), std::string(5000, 'q'));
    SaveSeed("png", "note5000", file);
}

TEST(Png, ReadsEveryColourTypeAndDepthPlainAndInterlaced) {
    const std::pair<uint8_t, uint8_t> pairs[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {3, 1}, {3, 2},
                                                 {3, 4}, {3, 8}, {2, 8}, {4, 8}, {6, 8}};
    const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1}, {2, 3}, {5, 1}, {1, 9}, {9, 9}, {17, 11}, {64, 3}};
    for (auto [colorType, depth] : pairs)
        for (auto [width, height] : sizes)
            for (bool interlaced : {false, true}) {
                SCOPED_TRACE(testing::Message() << "type " << int(colorType) << " depth " << int(depth) << " " << width
                                                << "x" << height << (interlaced ? " Adam7" : ""));
                Picture p = PatternPicture(width, height, depth, colorType);
                std::vector<uint8_t> file = BuildFile(p, interlaced, [](uint32_t) { return 0; });
                OwnedRecord r(ReadPng(file));
                ExpectPicture(r.record, p);
                int wantBits = colorType == 2 ? 24 : colorType >= 4 ? 32 : depth == 2 ? 4 : depth;
                EXPECT_EQ(+r->bitCount, wantBits);
                if (width == 17) SaveSeed("png", "t" + std::to_string(colorType) + "d" + std::to_string(depth) + (interlaced ? "i" : ""), file);
                // Palette images take the file's entries, grey ones 2^depth levels
                // from black to white (0, 85, 170, 255 at 2 bits); the rest is black.
                std::vector<uint8_t> table = ColorTable(r.record), plte = PaletteOf(1 << depth);
                for (size_t i = 0; i < table.size() / 4 && colorType <= 3; ++i) {
                    bool inFile = i < size_t(1 << depth);
                    uint8_t level = inFile ? uint8_t(i * 255 / ((1u << depth) - 1)) : 0;
                    EXPECT_EQ(table[4 * i + 2], !inFile ? 0 : colorType == 3 ? plte[3 * i] : level) << i;
                    EXPECT_EQ(table[4 * i + 1], !inFile ? 0 : colorType == 3 ? plte[3 * i + 1] : level) << i;
                    EXPECT_EQ(table[4 * i], !inFile ? 0 : colorType == 3 ? plte[3 * i + 2] : level) << i;
                }
            }
}

TEST(Png, UndoesEveryFilterType) {
    const std::pair<uint8_t, uint8_t> pairs[] = {{0, 1}, {0, 2}, {3, 4}, {0, 8}, {4, 8}, {2, 8}, {6, 8}};
    for (auto [colorType, depth] : pairs)
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << "type " << int(colorType) << " depth " << int(depth) << (interlaced ? " Adam7" : ""));
            // Random samples so that every predictor matters; each row its own
            // filter, cycling through all five (Paeth choosing a, b and c).
            uint32_t mask = (1u << depth) - 1;
            Picture p{23, 19, depth, colorType, [mask](uint32_t x, uint32_t y, int c) {
                          uint32_t h = (x * 2654435761u) ^ (y * 40503u) ^ (uint32_t(c) * 977u);
                          h ^= h >> 13;
                          return uint8_t((h * 2246822519u >> 24) & mask);
                      }};
            for (int shift = 0; shift < 5; ++shift) {
                std::vector<uint8_t> file = BuildFile(p, interlaced, [shift](uint32_t n) { return uint8_t((n + uint32_t(shift)) % 5); });
                OwnedRecord r(ReadPng(file));
                ExpectPicture(r.record, p);
                if (shift == 0) SaveSeed("png", "filters" + std::to_string(colorType) + "_" + std::to_string(depth) + (interlaced ? "i" : ""), file);
            }
        }
}

TEST(Png, ImageDataSplitOverManyChunksReadsLikeOne) {
    Picture p = PatternPicture(31, 17, 8, 2);
    std::vector<uint8_t> stream = Compress(Scanlines(p, true, [](uint32_t n) { return uint8_t(n % 5); }));
    PngBuilder b;
    b.header(31, 17, 8, 2, 1);
    b.chunk("tEXt", {'a', 0, 'b'});
    b.chunk("IDAT", {});
    for (size_t at = 0; at < stream.size(); at += 7) {
        b.chunk("IDAT", std::vector<uint8_t>(stream.begin() + long(at), stream.begin() + long(std::min(stream.size(), at + 7))));
        if (at == 14) b.chunk("gAMA", {0, 0, 0, 1});  // other chunks between are skipped
    }
    b.end();
    b.bytes.insert(b.bytes.end(), {1, 2, 3});  // bytes after IEND are not read
    OwnedRecord r(ReadPng(b.bytes));
    ExpectPicture(r.record, p);
    SaveSeed("png", "split", b.bytes);
}

TEST(Png, UnusableHeadersGiveThePngId) {
    Picture p = PatternPicture(4, 4, 8, 0);
    std::vector<uint8_t> idat = Compress(Scanlines(p, false, [](uint32_t) { return 0; }));
    auto fileWith = [&](const std::function<void(PngBuilder&)>& header) {
        PngBuilder b;
        header(b);
        b.chunk("IDAT", idat);
        b.end();
        return b.bytes;
    };
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"16-bit grey", fileWith([](PngBuilder& b) { b.header(4, 4, 16, 0); })},
        {"16-bit RGB", fileWith([](PngBuilder& b) { b.header(4, 4, 16, 2); })},
        {"16-bit RGBA", fileWith([](PngBuilder& b) { b.header(4, 4, 16, 6); })},
        {"RGB at 4 bits", fileWith([](PngBuilder& b) { b.header(4, 4, 4, 2); })},
        {"grey alpha at 2 bits", fileWith([](PngBuilder& b) { b.header(4, 4, 2, 4); })},
        {"palette at 16 bits", fileWith([](PngBuilder& b) { b.header(4, 4, 16, 3); })},
        {"grey at 3 bits", fileWith([](PngBuilder& b) { b.header(4, 4, 3, 0); })},
        {"colour type 1", fileWith([](PngBuilder& b) { b.header(4, 4, 8, 1); })},
        {"colour type 7", fileWith([](PngBuilder& b) { b.header(4, 4, 8, 7); })},
        {"compression 1", fileWith([](PngBuilder& b) { b.header(4, 4, 8, 0, 0, 1); })},
        {"filter method 1", fileWith([](PngBuilder& b) { b.header(4, 4, 8, 0, 0, 0, 1); })},
        {"interlace 2", fileWith([](PngBuilder& b) { b.header(4, 4, 8, 0, 2); })},
        {"zero width", fileWith([](PngBuilder& b) { b.header(0, 4, 8, 0); })},
        {"zero height", fileWith([](PngBuilder& b) { b.header(4, 0, 8, 0); })},
        {"width past 31 bits", fileWith([](PngBuilder& b) { b.header(0x80000000u, 1, 8, 0); })},
        {"too large a block", fileWith([](PngBuilder& b) { b.header(65536, 65536, 8, 6); })},
        {"wrapping size", fileWith([](PngBuilder& b) { b.header(0x40000001u, 4, 8, 6); })},
        {"IHDR of 12 bytes", fileWith([](PngBuilder& b) { b.chunk("IHDR", std::vector<uint8_t>(12, 1)); })},
        {"IHDR twice", fileWith([](PngBuilder& b) { b.header(4, 4, 8, 0); b.header(4, 4, 8, 0); })},
        {"no IHDR", fileWith([](PngBuilder&) {})},
        {"IHDR not first", fileWith([](PngBuilder& b) { b.chunk("tEXt", {'a', 0}); b.header(4, 4, 8, 0); })},
        {"PLTE before IHDR", fileWith([](PngBuilder& b) { b.chunk("PLTE", {1, 2, 3}); b.header(4, 4, 8, 3); })},
        {"signature only", PngBuilder().bytes},
        {"short signature", {0x89, 'P', 'N', 'G'}},
        {"empty", {}},
    };
    for (auto& [name, file] : files) {
        size_t blocksBefore = KernelLiveBlockCount();
        ImageRecord r = ReadPng(file);
        EXPECT_EQ(+r.error, kErrPng) << name;
        EXPECT_EQ(+r.hBits, 0u) << name;
        EXPECT_EQ(+r.hInfo, 0u) << name;
        EXPECT_EQ(KernelLiveBlockCount(), blocksBefore) << name;
        SaveSeed("png", "bad-" + std::to_string(&file - &files[0].second), file);
    }
    std::vector<uint8_t> wrongSignature = fileWith([](PngBuilder& b) { b.header(4, 4, 8, 0); });
    wrongSignature[4] = 0x0A;
    EXPECT_EQ(+ReadPng(wrongSignature).error, kErrPng);
}

TEST(Png, DamagedChunksGiveTheCorruptedId) {
    OwnedRecord source;
    FillTestImage(source.record, 12, 5, 8);
    source->hNote = GlobalAlloc(GHND, 3);
    memcpy(BlockLock(source->hNote).data(), "hi", 3);
    source->noteLength = 2;
    const std::vector<uint8_t> good = WritePng(source.record);
    // Any one flipped byte after the signature is caught by a checksum or a
    // length; none of them may slip through as a different picture.
    for (size_t at = 8; at < good.size(); ++at) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x10;
        ImageRecord r = ReadPng(bad);
        EXPECT_TRUE(r.error == kErrPngCorrupt || r.error == kErrPng) << "byte " << at << " gave " << r.error;
        FreeRecordBlocks(r);
    }
    // A file cut anywhere inside a chunk is corrupted; one cut between chunks
    // after all of its image data is still the whole picture.
    std::vector<size_t> ends;  // chunk boundaries after the image data
    size_t end = 8;
    bool afterImage = false;
    for (const Chunk& c : ChunksOf(good)) {
        end += 12 + c.data.size();
        afterImage = afterImage || c.type == "IDAT";
        if (afterImage) ends.push_back(end);
    }
    for (size_t length = 9; length < good.size(); ++length) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(length));
        ImageRecord r = ReadPng(cut);
        if (std::find(ends.begin(), ends.end(), length) != ends.end()) {
            EXPECT_EQ(+r.error, 0) << "cut at " << length;
            if (r.error == 0) EXPECT_EQ(Pixels(r), Pixels(source.record));
        } else {
            EXPECT_NE(+r.error, 0) << "cut at " << length;
        }
        FreeRecordBlocks(r);
    }
    // A chunk claiming more than 31 bits of length.
    std::vector<uint8_t> huge = good;
    huge[8] = 0xFF;
    EXPECT_EQ(+ReadPng(huge).error, kErrPngCorrupt);
    // Filter types above 4, with sound checksums.
    for (uint8_t bad : {uint8_t(5), uint8_t(255)}) {
        ImageRecord r = ReadPng(BuildFile(PatternPicture(6, 6, 8, 2), false, [bad](uint32_t n) { return n == 3 ? bad : uint8_t(0); }));
        EXPECT_EQ(+r.error, kErrPngCorrupt);
        EXPECT_EQ(+r.hBits, 0u);
    }
}

TEST(Png, StreamsThatEndEarly) {
    Picture p = PatternPicture(10, 8, 8, 6);
    std::vector<uint8_t> raw = Scanlines(p, false, [](uint32_t n) { return uint8_t(n % 5); });
    const size_t line = 10 * 4 + 1;
    auto fileOf = [&](const std::vector<uint8_t>& stream, bool withEnd) {
        PngBuilder b;
        b.header(10, 8, 8, 6);
        b.chunk("IDAT", stream);
        if (withEnd) b.end();
        return b.bytes;
    };
    // Three whole scanlines and half of the fourth, in a finished stream:
    // the rest of the picture is zero, the file is accepted.
    std::vector<uint8_t> part(raw.begin(), raw.begin() + long(3 * line + line / 2));
    OwnedRecord shortWithEnd(ReadPng(fileOf(Compress(part), true)));
    ASSERT_EQ(+shortWithEnd->error, 0);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 10; ++x) {
            std::vector<uint8_t> got = RecordPixel(shortWithEnd.record, x, y);
            if (y < 3 || (y == 3 && 1 + 4 * x + 4 <= line / 2)) {
                ASSERT_EQ(got, ExpectedPixel(p, x, y)) << x << "," << y;
            } else if (y > 3) {
                ASSERT_EQ(got, (std::vector<uint8_t>{0, 0, 0, 0})) << x << "," << y;
            }
        }
    SaveSeed("png", "short", fileOf(Compress(part), true));
    // A stream cut in the middle of its deflate data keeps what it gave.
    std::vector<uint8_t> stream = Compress(raw, 0);
    std::vector<uint8_t> halfStream(stream.begin(), stream.begin() + long(stream.size() / 2));
    OwnedRecord brokenOff(ReadPng(fileOf(halfStream, true)));
    ASSERT_EQ(+brokenOff->error, 0);
    EXPECT_EQ(RecordPixel(brokenOff.record, 0, 0), ExpectedPixel(p, 0, 0));
    EXPECT_EQ(RecordPixel(brokenOff.record, 9, 7), (std::vector<uint8_t>{0, 0, 0, 0}));
    // Without IEND the file must have given every scanline.
    EXPECT_EQ(+ReadPng(fileOf(Compress(part), false)).error, kErrPng);
    OwnedRecord wholeWithoutEnd(ReadPng(fileOf(Compress(raw), false)));
    ExpectPicture(wholeWithoutEnd.record, p);
    // No image data at all is no image.
    PngBuilder none;
    none.header(10, 8, 8, 6);
    none.end();
    EXPECT_EQ(+ReadPng(none.bytes).error, kErrPng);
    EXPECT_EQ(+ReadPng(fileOf({0x78, 0x9C, 0xFF, 0xFF}, true)).error, kErrPng);
}

TEST(Png, StreamsThatInflateFarBeyondTheImageCostOnlyTheImage) {
    // 64 MiB of scanline bytes for a 16 x 16 grey picture; and a note that
    // would inflate to 64 MiB is kept to its first 16 MiB.
    std::vector<uint8_t> zeros(64u << 20, 0);
    std::vector<uint8_t> bomb = Compress(zeros, 9);
    PngBuilder b;
    b.header(16, 16, 8, 0);
    b.chunk("IDAT", bomb);
    std::vector<uint8_t> note{'K', 'a', 'p', 't', 'u', 'r', 'a', 0, 0};
    note.insert(note.end(), bomb.begin(), bomb.end());
    b.chunk("zTXt", note);
    b.end();
    size_t blocksBefore = KernelLiveBlockCount();
    KernelResetPeakBlockBytes();
    size_t liveBefore = KernelPeakBlockBytes();
    OwnedRecord r(ReadPng(b.bytes));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(Pixels(r.record), std::vector<uint8_t>(256, 0));
    EXPECT_EQ(GlobalSize(+r->hNote), (16u << 20) + 1);
    EXPECT_LT(KernelPeakBlockBytes() - liveBefore, (16u << 20) + 64 * 1024u);
    FreeRecordBlocks(r.record);
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(Png, WriterRefusesRecordsItCannotRead) {
    OwnedRecord source;
    FillTestImage(source.record, 4, 4, 24);
    int error = 0;
    source->bitCount = 16;
    WritePng(source.record, &error);
    EXPECT_EQ(error, kErrPng);
    source->bitCount = 32;  // a block too small for 32 bits
    WritePng(source.record, &error);
    EXPECT_EQ(error, kErrPng);
    source->bitCount = 24;
    HGLOBAL bits = source->hBits;
    source->hBits = 0;
    WritePng(source.record, &error);
    EXPECT_EQ(error, kErrPng);
    source->hBits = bits;
    WritePng(source.record, &error);
    EXPECT_EQ(error, 0);
}

// ---- against tools nobody here wrote ------------------------------------------

namespace {

// A portable pixmap of a pattern with `colours` distinct colours (0 for many).
std::string WritePpm(const std::string& path, uint32_t width, uint32_t height, uint32_t colours) {
    std::string text = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> bytes(text.begin(), text.end());
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t v = colours ? (x / 3 + y * 5) % colours : x * 7 + y * 3;
            bytes.insert(bytes.end(), {uint8_t(v * 53 + 9), uint8_t(colours ? v * 101 : x * 4 + y), uint8_t(v * 17 ^ y)});
        }
    WriteBytes(path, bytes);
    return path;
}

// A PAM with alpha: colour pattern and a varying alpha.
std::string WritePam(const std::string& path, uint32_t width, uint32_t height, bool grey) {
    std::string text = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) + "\nDEPTH " +
                       (grey ? "2" : "4") + "\nMAXVAL 255\nTUPLTYPE " + (grey ? "GRAYSCALE_ALPHA" : "RGB_ALPHA") + "\nENDHDR\n";
    std::vector<uint8_t> bytes(text.begin(), text.end());
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            bytes.push_back(uint8_t(x * 9 + y));
            if (!grey) bytes.insert(bytes.end(), {uint8_t(y * 11), uint8_t(x ^ y)});
            bytes.push_back(uint8_t((x * 31 + y * 7) % 256));
        }
    WriteBytes(path, bytes);
    return path;
}

std::vector<uint8_t> MagickAlpha(const std::string& path) {
    std::string out = path + ".a";
    if (RunShell("convert-im6.q16 '" + path + "' -alpha extract -depth 8 gray:'" + out + "'") != 0) return {};
    return ReadBytes(out);
}

// IHDR colour type and depth of a file.
std::pair<int, int> KindOf(const std::vector<uint8_t>& file) {
    if (file.size() < 33) return {-1, -1};
    return {file[25], file[24]};
}

void ExpectSamePixelsAsMagick(const std::string& path, bool withAlpha) {
    std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_FALSE(file.empty()) << path;
    auto [colorType, depth] = KindOf(file);
    SCOPED_TRACE(testing::Message() << path << " colour type " << colorType << " depth " << depth
                                    << (file[28] ? " Adam7" : ""));
    OwnedRecord r(ReadPng(file));
    if (depth == 16) {
        EXPECT_EQ(+r->error, kErrPng);
        return;
    }
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(ToRgb(r.record), MagickRgb(path));
    if (withAlpha && r->bitCount == 32) {
        std::vector<uint8_t> alpha = MagickAlpha(path);
        std::vector<uint8_t> fourth = FourthBytes(r.record);
        ASSERT_EQ(alpha.size(), fourth.size());
        for (size_t i = 0; i < alpha.size(); ++i) ASSERT_EQ(fourth[i], 255 - alpha[i]) << "pixel " << i;
    }
}

}  // namespace

TEST(Png, FilesFromImageMagickReadAsItDecodesThem) {
    if (!HaveTool("convert-im6.q16")) GTEST_SKIP() << "ImageMagick missing";
    std::string dir = ScratchDir() + "/png-magick";
    RunShell("mkdir -p '" + dir + "'");
    std::string many = WritePpm(dir + "/many.ppm", 61, 37, 0);
    std::string few = WritePpm(dir + "/few.ppm", 61, 37, 200);
    std::string alpha = WritePam(dir + "/alpha.pam", 45, 21, false);
    std::string greyAlpha = WritePam(dir + "/greyalpha.pam", 45, 21, true);
    struct Case {
        const char* name;
        std::string source;
        const char* options;
        bool alpha;
    };
    const Case cases[] = {
        {"png8", few, "PNG8:", false},
        {"png24", many, "PNG24:", false},
        {"png32", alpha, "PNG32:", true},
        {"png48", many, "PNG48:", false},
        {"png64", alpha, "PNG64:", true},
        {"gray8", many, "-colorspace Gray -define png:color-type=0 -define png:bit-depth=8 PNG:", false},
        {"gray4", many, "-colorspace Gray -depth 4 -define png:color-type=0 -define png:bit-depth=4 PNG:", false},
        {"gray2", many, "-colorspace Gray -depth 2 -define png:color-type=0 -define png:bit-depth=2 PNG:", false},
        {"gray1", many, "-monochrome -define png:color-type=0 -define png:bit-depth=1 PNG:", false},
        {"palette4", few, "-colors 16 -define png:bit-depth=4 PNG8:", false},
        {"palette2", few, "-colors 4 -define png:bit-depth=2 PNG8:", false},
        {"palette1", few, "-colors 2 -define png:bit-depth=1 PNG8:", false},
        {"greyalpha", greyAlpha, "-define png:color-type=4 PNG:", true},
        {"rgbalpha", alpha, "-define png:color-type=6 PNG:", true},
        {"interlaced24", many, "-interlace PNG PNG24:", false},
        {"interlaced32", alpha, "-interlace PNG PNG32:", true},
        {"interlaced8", few, "-interlace PNG PNG8:", false},
        {"interlacedgray2", many, "-colorspace Gray -depth 2 -interlace PNG -define png:color-type=0 -define png:bit-depth=2 PNG:", false},
    };
    for (const Case& c : cases) {
        std::string out = dir + "/" + c.name + ".png";
        std::string options = c.options;
        size_t prefix = options.rfind(' ');
        std::string settings = prefix == std::string::npos ? "" : options.substr(0, prefix);
        std::string format = prefix == std::string::npos ? options : options.substr(prefix + 1);
        ASSERT_EQ(RunShell("convert-im6.q16 '" + c.source + "' " + settings + " " + format + "'" + out + "'"), 0) << c.name;
        ExpectSamePixelsAsMagick(out, c.alpha);
        SaveSeed("png", std::string("magick-") + c.name, ReadBytes(out));
    }
}

TEST(Png, FilesFromPnmtopngReadAsImageMagickDecodesThem) {
    if (!HaveTool("pnmtopng") || !HaveTool("convert-im6.q16")) GTEST_SKIP() << "netpbm or ImageMagick missing";
    std::string dir = ScratchDir() + "/png-netpbm";
    RunShell("mkdir -p '" + dir + "'");
    const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1}, {3, 2}, {7, 13}, {40, 9}, {123, 45}};
    for (auto [width, height] : sizes) {
        std::string tag = std::to_string(width) + "x" + std::to_string(height);
        std::vector<std::string> sources = {
            WritePpm(dir + "/many" + tag + ".ppm", width, height, 0),     // RGB
            WritePpm(dir + "/few" + tag + ".ppm", width, height, 100),    // palette
            WritePpm(dir + "/four" + tag + ".ppm", width, height, 4),     // small palette
        };
        RunShell("ppmtopgm '" + sources[0] + "' > '" + dir + "/grey" + tag + ".pgm'");
        RunShell("ppmtopgm '" + sources[0] + "' | pamdepth 3 > '" + dir + "/grey2" + tag + ".pgm'");
        RunShell("ppmtopgm '" + sources[0] + "' | pamthreshold 2>/dev/null > '" + dir + "/mono" + tag + ".pbm' ||"
                 " ppmtopgm '" + sources[0] + "' | pgmtopbm > '" + dir + "/mono" + tag + ".pbm'");
        for (const char* extra : {"/grey", "/grey2", "/mono"})
            sources.push_back(dir + extra + tag + (extra[2] == 'o' ? ".pbm" : ".pgm"));
        for (const std::string& source : sources)
            for (const char* interlace : {"", "-interlace"}) {
                std::string out = source + (*interlace ? ".i.png" : ".png");
                ASSERT_EQ(RunShell(std::string("pnmtopng ") + interlace + " '" + source + "' > '" + out + "'"), 0) << out;
                ExpectSamePixelsAsMagick(out, false);
                if (width == 40) SaveSeed("png", "netpbm-" + source.substr(source.rfind('/') + 1) + (*interlace ? "i" : ""), ReadBytes(out));
            }
    }
}

TEST(Png, WrittenFilesPassPngcheckAndDecodeToThePixelsThatWentIn) {
    bool haveCheck = HaveTool("pngcheck"), haveMagick = HaveTool("convert-im6.q16");
    if (!haveCheck && !haveMagick) GTEST_SKIP() << "pngcheck and ImageMagick missing";
    std::string dir = ScratchDir() + "/png-export";
    RunShell("mkdir -p '" + dir + "'");
    for (int bits : {1, 4, 8, 24, 32})
        for (auto [width, height] : {std::pair<int32_t, int32_t>{1, 1}, {13, 7}, {200, 130}}) {
            SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height);
            OwnedRecord source;
            FillTestImage(source.record, width, height, bits, 5);
            source->hNote = GlobalAlloc(GHND, 16);
            memcpy(BlockLock(source->hNote).data(), "a note for this", 16);
            source->noteLength = 15;
            std::string path = dir + "/out" + std::to_string(bits) + "_" + std::to_string(width) + ".png";
            ExportImageFile(&source.record, path.c_str(), kTypePng);
            ASSERT_EQ(+source->error, 0);
            if (haveCheck) EXPECT_EQ(RunShell("pngcheck -q '" + path + "' >/dev/null"), 0) << path;
            if (!haveMagick) continue;
            EXPECT_EQ(MagickRgb(path), ToRgb(source.record));
            if (bits == 32) {
                std::vector<uint8_t> alpha = MagickAlpha(path), fourth = FourthBytes(source.record);
                ASSERT_EQ(alpha.size(), fourth.size());
                for (size_t i = 0; i < alpha.size(); ++i) ASSERT_EQ(alpha[i], 255 - fourth[i]) << "pixel " << i;
            }
        }
}
