// JPEG files: agreement with the reference encoder and decoder (cjpeg,
// djpeg), the writer's headers and tables, the transforms against their
// defining sums, and hostile files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <iterator>

#include "ImageTestKit.h"
#include "formats/JpegDct.h"
#include "formats/JpegEncode.h"
#include "formats/JpegEncodeLoops.h"
#include "formats/JpegSimd.h"
#include "formats/JpegTables.h"

using namespace kit;

namespace {

ImageRecord ReadJpeg(const std::vector<uint8_t>& bytes) { return ImportImageMemory("x.jpg", bytes.data(), bytes.size()); }

struct Picture {
    int width = 0, height = 0, channels = 3;
    std::vector<uint8_t> samples;  // top-down, RGB or grey
};

// Smooth gradients with noise, or flat panels with text-like strokes.
Picture MakePicture(int width, int height, bool photo, unsigned seed = 7) {
    Picture p;
    p.width = width, p.height = height;
    p.samples.resize(size_t(width) * height * 3);
    unsigned state = seed;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* s = &p.samples[(size_t(y) * width + x) * 3];
            state = state * 1103515245 + 12345;
            int noise = int((state >> 16) % 21) - 10;
            if (photo) {
                double fx = double(x) / width, fy = double(y) / height;
                int r = int(128 + 100 * sin(6.0 * fx + 2.0 * fy)) + noise;
                int g = int(40 + 180 * fy) + noise;
                int b = int(128 + 90 * cos(5.0 * fy * fx + 1.0)) + noise;
                s[0] = uint8_t(std::clamp(r, 0, 255));
                s[1] = uint8_t(std::clamp(g, 0, 255));
                s[2] = uint8_t(std::clamp(b, 0, 255));
            } else {
                bool stroke = (x / 3 + y / 5) % 7 == 0 && (y % 16) < 11;
                uint8_t panel = (x < width / 3) ? 230 : (y < height / 2 ? 40 : 180);
                s[0] = stroke ? 0 : panel;
                s[1] = stroke ? 0 : uint8_t(panel / 2 + 60);
                s[2] = stroke ? 0 : 255;
            }
        }
    return p;
}

void WritePnm(const std::string& path, const Picture& p) {
    std::string header = (p.channels == 3 ? "P6\n" : "P5\n") + std::to_string(p.width) + " " +
                         std::to_string(p.height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), p.samples.begin(), p.samples.end());
    WriteBytes(path, bytes);
}

// Reads binary P5/P6 as written by djpeg.
Picture ReadPnm(const std::string& path) {
    Picture p;
    std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < 2 || bytes[0] != 'P') return p;
    p.channels = bytes[1] == '6' ? 3 : 1;
    size_t at = 2;
    int fields[3] = {};
    for (int& field : fields) {
        while (at < bytes.size() && isspace(bytes[at])) ++at;
        while (at < bytes.size() && isdigit(bytes[at])) field = field * 10 + (bytes[at++] - '0');
    }
    ++at;
    p.width = fields[0], p.height = fields[1];
    size_t size = size_t(p.width) * p.height * p.channels;
    if (bytes.size() >= at + size) p.samples.assign(bytes.begin() + long(at), bytes.begin() + long(at + size));
    return p;
}

// The record's pixels as grey or RGB samples, top-down.
Picture FromRecord(const ImageRecord& r) {
    Picture p;
    p.width = r.width, p.height = r.height;
    std::vector<uint8_t> rgb = ToRgb(r);
    if (r.bitCount == 8) {
        p.channels = 1;
        for (size_t i = 0; i < rgb.size(); i += 3) p.samples.push_back(rgb[i]);
    } else {
        p.samples = rgb;
    }
    return p;
}

int MaxDifference(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.channels != b.channels || a.samples.size() != b.samples.size())
        return 1000;
    int worst = 0;
    for (size_t i = 0; i < a.samples.size(); ++i) worst = std::max(worst, std::abs(a.samples[i] - b.samples[i]));
    return worst;
}

// Two accurate decoders round each sample on their own; a chrominance
// sample one level apart moves blue by 2 (1.772 per level) and red by 1 or
// 2, so where luminance also rounds the other way a channel can differ by 3.
// That happens for a few samples in 10^4 at most.
void ExpectCloseToReference(const Picture& ours, const Picture& reference) {
    ASSERT_EQ(MaxDifference(ours, reference) < 1000, true) << "sizes differ";
    size_t over2 = 0;
    for (size_t i = 0; i < ours.samples.size(); ++i) over2 += std::abs(ours.samples[i] - reference.samples[i]) > 2;
    EXPECT_LE(MaxDifference(ours, reference), 3);
    EXPECT_LE(over2 * 2000, ours.samples.size()) << over2 << " samples differ by more than 2";
}

double Psnr(const Picture& a, const Picture& b) {
    double sum = 0;
    for (size_t i = 0; i < a.samples.size(); ++i) {
        double d = double(a.samples[i]) - b.samples[i];
        sum += d * d;
    }
    double mse = sum / double(a.samples.size());
    return mse == 0 ? 99 : 10 * log10(255.0 * 255.0 / mse);
}

// A record holding a picture (24 bits, or 8 bits with a grey ramp).
void FillRecord(OwnedRecord& owned, const Picture& p) {
    ImageRecord& r = owned.record;
    r = {};
    r.width = p.width, r.height = p.height;
    r.bitCount = uint16_t(p.channels == 3 ? 24 : 8);
    CreateDibHeader(r);
    r.hBits = GlobalAlloc(GHND, GetDibImageSize(r));
    BlockLock info(r.hInfo), bits(r.hBits);
    if (p.channels == 1) SetGrayPalette(info.as<DibColor>() + 10, 256);
    uint32_t rowBytes = GetDibRowBytes(r);
    for (int y = 0; y < p.height; ++y) {
        uint8_t* row = bits.data() + size_t(p.height - 1 - y) * rowBytes;
        const uint8_t* s = &p.samples[size_t(y) * p.width * p.channels];
        for (int x = 0; x < p.width; ++x) {
            if (p.channels == 1) {
                row[x] = s[x];
            } else {
                row[3 * x] = s[3 * x + 2], row[3 * x + 1] = s[3 * x + 1], row[3 * x + 2] = s[3 * x];
            }
        }
    }
}

bool HaveJpegTools() { return HaveTool("cjpeg") && HaveTool("djpeg"); }

// A file made by cjpeg from a picture, with the given options.
std::vector<uint8_t> Cjpeg(const Picture& p, const std::string& options, const std::string& name) {
    std::string dir = ScratchDir();
    WritePnm(dir + "/" + name + ".pnm", p);
    std::string out = dir + "/" + name + ".jpg";
    if (RunShell("cjpeg " + options + " -outfile '" + out + "' '" + dir + "/" + name + ".pnm'") != 0) return {};
    return ReadBytes(out);
}

// djpeg's picture of a file, with its accurate (float) transform and
// without its smoothing of reduced chrominance (this reader repeats
// samples, as djpeg -nosmooth does).
Picture Djpeg(const std::vector<uint8_t>& file, const std::string& name) {
    std::string dir = ScratchDir();
    WriteBytes(dir + "/" + name + ".in.jpg", file);
    std::string out = dir + "/" + name + ".out.pnm";
    if (RunShell("djpeg -nosmooth -dct float -pnm -outfile '" + out + "' '" + dir + "/" + name + ".in.jpg'") != 0) return {};
    return ReadPnm(out);
}

// Offset of the first marker `code` (0xFF code) in a file, or 0.
size_t FindMarker(const std::vector<uint8_t>& f, uint8_t code, size_t from = 2) {
    for (size_t i = from; i + 1 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] == code) return i;
    return 0;
}

// The payload of every segment with marker `code`.
std::vector<std::vector<uint8_t>> Segments(const std::vector<uint8_t>& f, uint8_t code) {
    std::vector<std::vector<uint8_t>> found;
    size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF && f[at + 1] != 0xDA) {
        size_t length = size_t(f[at + 2]) << 8 | f[at + 3];
        if (f[at + 1] == code) found.emplace_back(f.begin() + long(at + 4), f.begin() + long(at + 2 + length));
        at += 2 + length;
    }
    return found;
}

std::vector<uint8_t> Replace(std::vector<uint8_t> f, size_t at, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) f[at++] = b;
    return f;
}

// The DQT segments of a file rewritten with 16-bit entries of the same value.
std::vector<uint8_t> WidenQuantTables(const std::vector<uint8_t>& f) {
    std::vector<uint8_t> out(f.begin(), f.begin() + 2);
    size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF && f[at + 1] != 0xDA) {
        size_t length = size_t(f[at + 2]) << 8 | f[at + 3];
        if (f[at + 1] != 0xDB) {
            out.insert(out.end(), f.begin() + long(at), f.begin() + long(at + 2 + length));
        } else {
            std::vector<uint8_t> body;
            for (size_t p = at + 4; p < at + 2 + length; p += 65) {
                body.push_back(uint8_t(0x10 | (f[p] & 15)));
                for (int i = 1; i <= 64; ++i) body.insert(body.end(), {0, f[p + i]});
            }
            out.insert(out.end(), {0xFF, 0xDB, uint8_t((body.size() + 2) >> 8), uint8_t(body.size() + 2)});
            out.insert(out.end(), body.begin(), body.end());
        }
        at += 2 + length;
    }
    out.insert(out.end(), f.begin() + long(at), f.end());
    return out;
}

uint8_t PixelAt(const ImageRecord& r, int x, int y, int channel) {
    BlockLock bits(r.hBits);
    const uint8_t* row = bits.data() + size_t(r.height - 1 - y) * GetDibRowBytes(r);
    return r.bitCount == 8 ? row[x] : row[3 * x + channel];
}

}  // namespace

TEST(Jpeg, FilesOfTheReferenceEncoderReadAsItsDecoderSeesThem) {
    if (!HaveJpegTools()) GTEST_SKIP() << "cjpeg/djpeg not installed";
    struct Case {
        const char* name;
        const char* options;
        int width, height;
        bool photo, grey;
    };
    const Case cases[] = {
        {"s444", "-sample 1x1", 64, 48, true, false},
        {"s422", "-sample 2x1", 61, 37, true, false},
        {"s420", "-sample 2x2", 83, 45, true, false},
        {"s420text", "-sample 2x2 -quality 90", 77, 50, false, false},
        {"grey", "-grayscale", 45, 29, true, true},
        {"restart", "-sample 2x2 -restart 1", 70, 70, true, false},
        {"restartblocks", "-sample 1x1 -restart 3B", 40, 33, true, false},
        {"q100", "-sample 2x2 -quality 100", 120, 90, true, false},
        {"q5", "-sample 2x2 -quality 5 -baseline", 50, 50, true, false},
        {"tiny", "-sample 2x2", 1, 1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture source = MakePicture(c.width, c.height, c.photo);
        std::vector<uint8_t> file = Cjpeg(source, c.options, c.name);
        ASSERT_FALSE(file.empty());
        SaveSeed("jpeg", c.name, file);
        Picture reference = Djpeg(file, c.name);
        OwnedRecord r(ReadJpeg(file));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(+r->bitCount, c.grey ? 8 : 24);
        ExpectCloseToReference(FromRecord(r.record), reference);
        if (c.grey) {
            BlockLock info(r->hInfo);
            const DibColor* table = info.as<DibColor>() + 10;
            EXPECT_EQ(table[200].red, 200);
            EXPECT_EQ(table[200].blue, 200);
        }
    }
}

// Files whose components hold red, green and blue: cjpeg -rgb marks them
// both ways (an Adobe segment with transform 0, and the component names
// 'R', 'G', 'B'); either mark alone is enough, and an Adobe transform of 1
// keeps YCbCr whatever the names.
TEST(Jpeg, RgbCodedFilesReadAsRgb) {
    if (!HaveJpegTools()) GTEST_SKIP() << "cjpeg/djpeg not installed";
    Picture source = MakePicture(45, 30, true);
    std::vector<uint8_t> file = Cjpeg(source, "-rgb -quality 90", "rgb");
    ASSERT_FALSE(file.empty());
    size_t adobe = FindMarker(file, 0xEE);
    size_t frame = FindMarker(file, 0xC0);
    ASSERT_GT(adobe, 0u);
    ASSERT_GT(frame, 0u);
    ASSERT_EQ(file[adobe + 4], 'A');
    ASSERT_EQ(file[frame + 10], 'R');
    Picture reference = Djpeg(file, "rgb");
    ASSERT_LE(MaxDifference(reference, source), 24);  // the reference really is RGB

    std::vector<uint8_t> namesOnly = Replace(file, adobe, {0xFF, 0xFE});  // the Adobe segment as a comment
    std::vector<uint8_t> adobeOnly = Replace(file, frame + 10, {1});
    adobeOnly = Replace(adobeOnly, frame + 13, {2});
    adobeOnly = Replace(adobeOnly, frame + 16, {3});
    adobeOnly = Replace(adobeOnly, FindMarker(adobeOnly, 0xDA) + 5, {1});
    adobeOnly = Replace(adobeOnly, FindMarker(adobeOnly, 0xDA) + 7, {2});
    adobeOnly = Replace(adobeOnly, FindMarker(adobeOnly, 0xDA) + 9, {3});
    for (auto [name, bytes] : {std::pair{"both marks", file}, {"names only", namesOnly}, {"Adobe only", adobeOnly}}) {
        SCOPED_TRACE(name);
        OwnedRecord r(ReadJpeg(bytes));
        ASSERT_EQ(+r->error, 0);
        EXPECT_EQ(+r->bitCount, 24);
        ExpectCloseToReference(FromRecord(r.record), reference);
    }
    SaveSeed("jpeg", "rgb", file);

    // Transform 1 says YCbCr: the samples go through the colour conversion.
    std::vector<uint8_t> ycc = Replace(file, adobe + 4 + 11, {1});
    OwnedRecord r(ReadJpeg(ycc));
    ASSERT_EQ(+r->error, 0);
    EXPECT_GT(MaxDifference(FromRecord(r.record), reference), 40);
}

TEST(Jpeg, SixteenBitQuantisationTablesRead) {
    if (!HaveJpegTools()) GTEST_SKIP() << "cjpeg/djpeg not installed";
    Picture source = MakePicture(40, 24, true);
    std::vector<uint8_t> file = Cjpeg(source, "-sample 2x1 -quality 30", "q16");
    std::vector<uint8_t> wide = WidenQuantTables(file);
    ASSERT_GT(wide.size(), file.size());
    SaveSeed("jpeg", "q16", wide);
    OwnedRecord r(ReadJpeg(wide));
    ASSERT_EQ(+r->error, 0);
    ExpectCloseToReference(FromRecord(r.record), Djpeg(file, "q16"));
}

TEST(Jpeg, WrittenFilesDecodeElsewhereCloseToTheSource) {
    if (!HaveJpegTools()) GTEST_SKIP() << "cjpeg/djpeg not installed";
    Picture photo = MakePicture(203, 117, true);
    OwnedRecord r;
    FillRecord(r, photo);
    std::vector<uint8_t> file = WriteToMemory(WriteJpegFile, r.record);
    ASSERT_FALSE(file.empty());
    SaveSeed("jpeg", "written", file);
    Picture decoded = Djpeg(file, "written");
    ASSERT_EQ(decoded.samples.size(), photo.samples.size());
    EXPECT_GE(Psnr(decoded, photo), 30.0);
    std::string path = ScratchDir() + "/written.jpg";
    WriteBytes(path, file);
    std::vector<uint8_t> magick = MagickRgb(path);
    ASSERT_EQ(magick.size(), photo.samples.size());
    Picture viaMagick = photo;
    viaMagick.samples = magick;
    EXPECT_GE(Psnr(viaMagick, photo), 30.0);

    // This reader sees the same file as djpeg does.
    OwnedRecord back(ReadJpeg(file));
    ASSERT_EQ(+back->error, 0);
    ExpectCloseToReference(FromRecord(back.record), decoded);
}

TEST(Jpeg, WriterUsesTheExampleTablesAtQuality45) {
    if (!HaveJpegTools()) GTEST_SKIP() << "cjpeg/djpeg not installed";
    Picture source = MakePicture(32, 32, true);
    OwnedRecord r;
    FillRecord(r, source);
    std::vector<uint8_t> ours = WriteToMemory(WriteJpegFile, r.record);
    // cjpeg writes the same example Huffman tables, and scales the same
    // quantisation tables the same way.
    std::vector<uint8_t> theirs = Cjpeg(source, "-sample 2x2 -quality 45 -baseline", "tables45");
    std::vector<std::vector<uint8_t>> ourHuffman = Segments(ours, 0xC4), theirHuffman = Segments(theirs, 0xC4);
    std::vector<std::vector<uint8_t>> ourQuant = Segments(ours, 0xDB), theirQuant = Segments(theirs, 0xDB);
    ASSERT_EQ(ourHuffman.size(), 4u);
    ASSERT_EQ(ourQuant.size(), 2u);
    std::vector<uint8_t> ourTables, theirTables;
    for (auto& s : ourHuffman) ourTables.insert(ourTables.end(), s.begin(), s.end());
    for (auto& s : theirHuffman) theirTables.insert(theirTables.end(), s.begin(), s.end());
    EXPECT_EQ(ourTables, theirTables);
    ourTables.clear(), theirTables.clear();
    for (auto& s : ourQuant) ourTables.insert(ourTables.end(), s.begin(), s.end());
    for (auto& s : theirQuant) theirTables.insert(theirTables.end(), s.begin(), s.end());
    EXPECT_EQ(ourTables, theirTables);
    EXPECT_EQ(ourQuant[0][0], 0x00);  // 8-bit entries, table 0
    EXPECT_EQ(ourQuant[1][0], 0x01);

    size_t frame = FindMarker(ours, 0xC0);
    ASSERT_NE(frame, 0u);
    EXPECT_EQ(ours[frame + 9], 3);      // components
    EXPECT_EQ(ours[frame + 11], 0x22);  // luminance 2 x 2
    EXPECT_EQ(ours[frame + 14], 0x11);
    EXPECT_EQ(ours[ours.size() - 2], 0xFF);
    EXPECT_EQ(ours[ours.size() - 1], 0xD9);
}

TEST(Jpeg, QualityScalingAndSixteenBitTables) {
    JpegQuantTables t;
    SetJpegQuality(45, t);
    EXPECT_FALSE(t.sixteenBit[0] || t.sixteenBit[1]);
    EXPECT_EQ(t.entries[0][0], (16 * 111 + 50) / 100);
    SetJpegQuality(100, t);
    EXPECT_EQ(t.entries[0][63], 1);
    SetJpegQuality(0, t);  // clamped to 1: factor 5000
    EXPECT_TRUE(t.sixteenBit[0]);
    EXPECT_EQ(t.entries[0][0], 800);
    EXPECT_EQ(t.entries[1][63], 4950);
}

TEST(Jpeg, EightBitRecordsChooseTheirComponents) {
    // A grey table in an unusual order: the luminance is the table's, not
    // the index.
    Picture grey = MakePicture(24, 16, true);
    OwnedRecord r;
    r.record.width = 24, r.record.height = 16, r.record.bitCount = 8;
    CreateDibHeader(r.record);
    r.record.hBits = GlobalAlloc(GHND, GetDibImageSize(r.record));
    {
        BlockLock info(r->hInfo), bits(r->hBits);
        DibColor* table = info.as<DibColor>() + 10;
        for (int i = 0; i < 256; ++i) table[i] = {uint8_t(255 - i), uint8_t(255 - i), uint8_t(255 - i), 0};
        for (int y = 0; y < 16; ++y) memset(bits.data() + y * GetDibRowBytes(r.record), 20, 24);
    }
    std::vector<uint8_t> file = WriteToMemory(WriteJpegFile, r.record);
    size_t frame = FindMarker(file, 0xC0);
    ASSERT_NE(frame, 0u);
    EXPECT_EQ(file[frame + 9], 1);
    EXPECT_EQ(file[frame + 11], 0x11);
    OwnedRecord back(ReadJpeg(file));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(+back->bitCount, 8);
    EXPECT_NEAR(PixelAt(back.record, 5, 5, 0), 235, 2);
    SaveSeed("jpeg", "grey8", file);

    // A colour table: three components, pixels looked up.
    {
        BlockLock info(r->hInfo);
        info.as<DibColor>()[10 + 20] = {200, 30, 10, 0};
    }
    file = WriteToMemory(WriteJpegFile, r.record);
    frame = FindMarker(file, 0xC0);
    EXPECT_EQ(file[frame + 9], 3);
    OwnedRecord colour(ReadJpeg(file));
    ASSERT_EQ(+colour->bitCount, 24);
    EXPECT_NEAR(PixelAt(colour.record, 7, 9, 0), 200, 3);
    EXPECT_NEAR(PixelAt(colour.record, 7, 9, 1), 30, 3);
    EXPECT_NEAR(PixelAt(colour.record, 7, 9, 2), 10, 3);
}

TEST(Jpeg, ExportRefusesLowDepthsAndRoundTripsThroughFiles) {
    OwnedRecord four;
    FillTestImage(four.record, 10, 10, 4);
    std::string path = ScratchDir() + "/export.jpg";
    ExportImageFile(&four.record, path.c_str(), kTypeJpg);
    EXPECT_EQ(+four->error, kErrJpgLowDepth);

    OwnedRecord deep;
    FillRecord(deep, MakePicture(97, 65, true));
    ExportImageFile(&deep.record, path.c_str(), kTypeJpg);
    ASSERT_EQ(+deep->error, 0);
    OwnedRecord back(*ImportImageFile(path.c_str()));
    ASSERT_EQ(+back->error, 0);
    EXPECT_EQ(+back->width, 97);
    EXPECT_EQ(+back->height, 65);
    EXPECT_GE(Psnr(FromRecord(back.record), FromRecord(deep.record)), 30.0);
}

// The scaled transforms against the defining sums of the standard.
TEST(Jpeg, TransformsAgreeWithTheirDefinitions) {
    unsigned state = 3;
    double worstForward = 0, worstInverse = 0;
    for (int trial = 0; trial < 300; ++trial) {
        int f[64];
        for (int& v : f) {
            state = state * 1103515245 + 12345;
            v = trial % 3 == 0 ? ((&v - f) % 2 ? 127 : -128) : int((state >> 16) % 256) - 128;
        }
        double exact[64];
        for (int u = 0; u < 8; ++u)
            for (int v = 0; v < 8; ++v) {
                double s = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        s += f[y * 8 + x] * cos((2 * y + 1) * u * M_PI / 16) * cos((2 * x + 1) * v * M_PI / 16);
                exact[u * 8 + v] = 0.25 * (u ? 1 : M_SQRT1_2) * (v ? 1 : M_SQRT1_2) * s;
            }
        float block[64];
        for (int i = 0; i < 64; ++i) block[i] = float(f[i]);
        ForwardDct(block);
        for (int i = 0; i < 64; ++i)
            worstForward = std::max(worstForward, std::fabs(block[i] / ForwardDctDivisor(i, 1) - exact[i]));

        float coefficients[64];
        for (int i = 0; i < 64; ++i) coefficients[i] = float(lround(exact[i])) * InverseDctScale(i);
        uint8_t out[64];
        InverseDct(coefficients, out, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                double s = 0;
                for (int u = 0; u < 8; ++u)
                    for (int v = 0; v < 8; ++v)
                        s += (u ? 1 : M_SQRT1_2) * (v ? 1 : M_SQRT1_2) * lround(exact[u * 8 + v]) *
                             cos((2 * y + 1) * u * M_PI / 16) * cos((2 * x + 1) * v * M_PI / 16);
                s = std::clamp(s / 4 + 128, 0.0, 255.0);
                worstInverse = std::max(worstInverse, std::fabs(out[y * 8 + x] - s));
            }
    }
    EXPECT_LT(worstForward, 1.0);
    EXPECT_LT(worstInverse, 1.5);

    // Corrupt coefficients at the clamp limits stay in range (and, under
    // the sanitizers, overflow nothing).
    // The largest a file can bring: 15-bit values times 16-bit steps.
    float extreme[64];
    for (int i = 0; i < 64; ++i) extreme[i] = ((i * 7) % 3 ? 1.0f : -1.0f) * 32767.0f * 65535.0f * InverseDctScale(i);
    uint8_t out[64];
    InverseDct(extreme, out, 8);
}

// The SSE2 forms of the transforms, quantisation and colour conversion
// against the plain ones: the same bytes, block by block and file by file.
TEST(Jpeg, Sse2FormsGiveExactlyThePlainResults) {
    if (!SetJpegUsesSse2(true)) GTEST_SKIP() << "no SSE2 here";
    unsigned state = 5;
    auto random = [&](int range) { state = state * 1103515245 + 12345; return int((state >> 8) % unsigned(range)); };
    for (int trial = 0; trial < 2000; ++trial) {
        float coefficients[64] = {};
        int spread = trial % 4 == 0 ? 64 : 1 + trial % 10;  // dense, or a few low frequencies
        for (int i = 0; i < 64; ++i) {
            int limit = trial % 7 == 0 ? 1 << 20 : trial % 5 == 0 ? 2048 : 300;  // corrupt, extreme, usual
            if (i < spread || random(8) == 0) coefficients[i] = float(random(2 * limit + 1) - limit) * InverseDctScale(i);
        }
        uint8_t plain[64], fast[64];
        InverseDctPlain(coefficients, plain, 8);
        for (JpegForm form : {kJpegSse2, kJpegAvx2}) {
            if (SetJpegForm(form) != form) continue;
            InverseDct(coefficients, fast, 8);
            ASSERT_EQ(memcmp(plain, fast, 64), 0) << "inverse, trial " << trial << ", form " << form;
        }
        SetJpegUsesSse2(true);

        float samples[64], copy[64];
        for (float& v : samples) v = float(random(256) - 128);
        memcpy(copy, samples, sizeof copy);
        ForwardDctPlain(copy);
        ForwardDct(samples);
        ASSERT_EQ(memcmp(copy, samples, sizeof copy), 0) << "forward, trial " << trial;
    }

    struct Case { const char* options; int width, height; bool photo; };
    const Case files[] = {{"-sample 2x2", 83, 45, true}, {"-sample 2x1", 61, 37, false}, {"-sample 1x1", 64, 48, true},
                          {"-grayscale", 45, 29, true}, {"-sample 2x2 -quality 100", 120, 90, false},
                          {"-sample 2x2", 17, 19, true}, {"-sample 1x1", 9, 5, false}};  // one pixel past the wide stores
    for (const Case& c : files) {
        SCOPED_TRACE(c.options);
        Picture picture = MakePicture(c.width, c.height, c.photo);
        std::vector<uint8_t> file = HaveJpegTools() ? Cjpeg(picture, c.options, "sse2") : std::vector<uint8_t>{};
        OwnedRecord source;
        FillRecord(source, picture);
        std::vector<uint8_t> written[2];
        std::vector<uint8_t> decoded[2];
        for (int sse2 = 0; sse2 < 2; ++sse2) {
            SetJpegUsesSse2(sse2 != 0);
            written[sse2] = WriteToMemory(WriteJpegFile, source.record);
            if (file.empty()) continue;
            OwnedRecord r(ReadJpeg(file));
            ASSERT_EQ(+r->error, 0);
            decoded[sse2] = ToRgb(r.record);
        }
        EXPECT_EQ(written[0], written[1]);
        EXPECT_EQ(decoded[0], decoded[1]);
    }
    for (int width : {16, 37, 100}) {  // 32-bit records
        OwnedRecord deep;
        FillTestImage(deep.record, width, 21, 32);
        SetJpegUsesSse2(false);
        std::vector<uint8_t> plain = WriteToMemory(WriteJpegFile, deep.record);
        SetJpegUsesSse2(true);
        EXPECT_EQ(WriteToMemory(WriteJpegFile, deep.record), plain) << width;
    }
    SetJpegUsesSse2(true);
}

// The writer's transform and quantisation in each wide form against the
// plain one, with steps a quarter of the finest so that coefficients pass
// the largest coded value both ways: the same words, the same mask.
TEST(Jpeg, WriterTransformsClampAlikeInEveryForm) {
    std::vector<BlockTransform> forms;
#if JPEG_HAVE_SSE2
    forms.push_back(TransformBlockSse2);
#endif
#if JPEG_HAVE_AVX2
    if (JpegAvx2Available()) forms.push_back(TransformBlockAvx2);
#endif
    if (forms.empty()) GTEST_SKIP() << "no wide forms here";
    alignas(32) float reciprocal[64];
    for (int n = 0; n < 64; ++n) reciprocal[n] = float(4.0 / ForwardDctDivisor(n, 1));
    unsigned state = 9;
    int clamped[2] = {};  // at the largest, at its negative
    for (int trial = 0; trial < 600; ++trial) {
        constexpr int kStride = 12;
        int16_t samples[8 * kStride];
        for (int16_t& v : samples) {
            state = state * 1103515245 + 12345;
            v = int16_t(trial % 3 == 0 ? (trial % 2 ? 127 : -128) : int((state >> 16) % 256) - 128);
        }
        alignas(32) int16_t plain[64], wide[64];
        uint64_t plainMask = TransformBlockPlain(samples, kStride, reciprocal, plain);
        for (int16_t v : plain) clamped[0] += v == kLargestCoded, clamped[1] += v == -kLargestCoded;
        for (size_t f = 0; f < forms.size(); ++f) {
            ASSERT_EQ(forms[f](samples, kStride, reciprocal, wide), plainMask) << "trial " << trial << ", form " << f;
            ASSERT_EQ(memcmp(plain, wide, sizeof plain), 0) << "trial " << trial << ", form " << f;
        }
    }
    EXPECT_GT(clamped[0], 0);
    EXPECT_GT(clamped[1], 0);
}

namespace {

// A written 24-bit file and where its segments start.
struct WrittenFile {
    std::vector<uint8_t> bytes;
    size_t app0 = 2, frame = 0, scan = 0, scanData = 0;
};

WrittenFile MakeWritten(int width = 40, int height = 24) {
    OwnedRecord r;
    FillRecord(r, MakePicture(width, height, true, 11));
    WrittenFile w;
    w.bytes = WriteToMemory(WriteJpegFile, r.record);
    w.frame = FindMarker(w.bytes, 0xC0);
    w.scan = FindMarker(w.bytes, 0xDA);
    w.scanData = w.scan + 2 + (size_t(w.bytes[w.scan + 2]) << 8 | w.bytes[w.scan + 3]);
    return w;
}

std::vector<uint8_t> Insert(std::vector<uint8_t> f, size_t at, std::initializer_list<uint8_t> bytes) {
    f.insert(f.begin() + long(at), bytes);
    return f;
}

// A one-component 8 x 8 file with hand-made Huffman tables and scan data.
std::vector<uint8_t> GreyFile(const std::vector<uint8_t>& dcTable, const std::vector<uint8_t>& acTable,
                              const std::vector<uint8_t>& data) {
    std::vector<uint8_t> f = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    f.insert(f.end(), 64, 1);
    f.insert(f.end(), {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00});
    auto table = [&](uint8_t classAndNumber, const std::vector<uint8_t>& body) {
        f.insert(f.end(), {0xFF, 0xC4, uint8_t((body.size() + 3) >> 8), uint8_t(body.size() + 3), classAndNumber});
        f.insert(f.end(), body.begin(), body.end());
    };
    table(0x00, dcTable);
    table(0x10, acTable);
    f.insert(f.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
    f.insert(f.end(), data.begin(), data.end());
    f.insert(f.end(), {0xFF, 0xD9});
    return f;
}

// Counts (16 bytes) then symbols.
std::vector<uint8_t> Table(std::vector<uint8_t> counts, std::initializer_list<uint8_t> symbols) {
    counts.resize(16);
    counts.insert(counts.end(), symbols);
    return counts;
}

void ExpectRefused(const std::vector<uint8_t>& file, const char* what) {
    size_t blocks = KernelLiveBlockCount();
    ImageRecord r = ReadJpeg(file);
    EXPECT_EQ(+r.error, kErrJpg) << what;
    EXPECT_EQ(+r.hBits, HGLOBAL(0)) << what;
    FreeRecordBlocks(r);
    EXPECT_EQ(KernelLiveBlockCount(), blocks) << what;
}

}  // namespace

TEST(Jpeg, MarkerRulesOfTheReader) {
    WrittenFile w = MakeWritten();
    OwnedRecord plain(ReadJpeg(w.bytes));
    ASSERT_EQ(+plain->error, 0);
    Picture expected = FromRecord(plain.record);

    // An Exif segment in place of the JFIF one reads.
    std::vector<uint8_t> exif = Replace(w.bytes, w.app0, {0xFF, 0xE1, 0x00, 0x10, 'E', 'x', 'i', 'f', 0, 0});
    OwnedRecord fromExif(ReadJpeg(exif));
    ASSERT_EQ(+fromExif->error, 0);
    EXPECT_EQ(MaxDifference(FromRecord(fromExif.record), expected), 0);
    SaveSeed("jpeg", "exif", exif);

    // Fill bytes before a marker, and stray bytes between segments.
    std::vector<uint8_t> filled = Insert(w.bytes, w.frame, {0xFF, 0xFF, 0xFF});
    filled = Insert(filled, w.app0, {0x12, 0x34});
    OwnedRecord fromFilled(ReadJpeg(filled));
    ASSERT_EQ(+fromFilled->error, 0);
    EXPECT_EQ(MaxDifference(FromRecord(fromFilled.record), expected), 0);

    // Widths up to 4047 read.
    WrittenFile wide = MakeWritten(4047, 8);
    OwnedRecord fromWide(ReadJpeg(wide.bytes));
    EXPECT_EQ(+fromWide->error, 0);
    EXPECT_EQ(+fromWide->width, 4047);
    ExpectRefused(Replace(wide.bytes, wide.frame + 7, {0x0F, 0xD0}), "4048 wide");
}

TEST(Jpeg, GreyFilesAreCodedWithoutInterleaving) {
    if (!HaveJpegTools()) GTEST_SKIP() << "cjpeg/djpeg not installed";
    std::vector<uint8_t> file = Cjpeg(MakePicture(37, 21, true), "-grayscale", "grey22");
    size_t frame = FindMarker(file, 0xC0);
    ASSERT_NE(frame, 0u);
    // Sampling factors of a lone component change nothing in how it is coded.
    std::vector<uint8_t> sampled = Replace(file, frame + 11, {0x22});
    OwnedRecord a(ReadJpeg(file)), b(ReadJpeg(sampled));
    ASSERT_EQ(+b->error, 0);
    EXPECT_EQ(MaxDifference(FromRecord(a.record), FromRecord(b.record)), 0);
}

TEST(Jpeg, HostileHeadersAreRefused) {
    WrittenFile w = MakeWritten();
    const std::vector<uint8_t>& f = w.bytes;
    size_t dqt = FindMarker(f, 0xDB), dht = FindMarker(f, 0xC4);
    ExpectRefused({}, "empty");
    ExpectRefused(std::vector<uint8_t>(f.begin() + 2, f.end()), "no start of image");
    ExpectRefused(Replace(f, w.frame + 1, {0xC2}), "progressive");
    ExpectRefused(Replace(f, w.frame + 1, {0xC1}), "extended");
    ExpectRefused(Replace(f, w.frame + 4, {12}), "12-bit");
    ExpectRefused(Replace(f, w.frame + 9, {4}), "4 components");
    ExpectRefused(Replace(f, w.frame + 9, {2}), "2 components");
    ExpectRefused(Replace(f, w.frame + 5, {0, 0}), "height 0");
    ExpectRefused(Replace(f, w.frame + 7, {0, 0}), "width 0");
    ExpectRefused(Replace(f, w.frame + 11, {0x44}), "16 blocks per MCU");
    ExpectRefused(Replace(f, w.frame + 11, {0x25}), "sampling 5");
    ExpectRefused(Replace(f, w.frame + 11, {0x02}), "sampling 0");
    ExpectRefused(Replace(f, w.frame + 12, {4}), "quantisation table 4");
    ExpectRefused(Replace(f, w.frame + 12, {2}), "quantisation table absent");
    ExpectRefused(Replace(f, w.app0 + 4, {'J', 'F', 'X', 'X'}), "JFXX");
    ExpectRefused(Insert(f, 2, {0xFF, 0xD9}), "end of image first");
    ExpectRefused(Replace(f, dqt + 4, {0x04}), "DQT number 4");
    ExpectRefused(Replace(f, dqt + 4, {0x20}), "DQT precision 2");
    ExpectRefused(Replace(f, dqt + 2, {0x00, 0x01}), "segment length 1");
    ExpectRefused(Replace(f, dqt + 2, {0xFF, 0xFF}), "segment past the end");
    ExpectRefused(Replace(f, dht + 4, {0x20}), "DHT class 2");
    ExpectRefused(Replace(f, dht + 4, {0x04}), "DHT number 4");
    ExpectRefused(Replace(f, dht + 5, {3}), "three 1-bit codes");
    ExpectRefused(Replace(f, w.scan + 4, {2}), "scan of 2 components");
    ExpectRefused(Replace(f, w.scan + 5, {9}), "selector not in the frame");
    ExpectRefused(Replace(f, w.scan + 7, {1}), "selector twice");
    ExpectRefused(Replace(f, w.scan + 6, {0x40}), "DC table 4");
    ExpectRefused(Replace(f, w.scan + 6, {0x02}), "AC table absent");
    ExpectRefused(std::vector<uint8_t>(f.begin(), f.begin() + long(w.scan)), "no scan");

    // Code counts summing past 256.
    std::vector<uint8_t> many = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0x14, 0x10};
    std::vector<uint8_t> counts(16, 0);
    counts[14] = 10, counts[15] = 255;
    many.insert(many.end(), counts.begin(), counts.end());
    many.insert(many.end(), 265, 1);
    ExpectRefused(many, "265 codes");
}

TEST(Jpeg, ImpossibleEntropyDataIsRefused) {
    std::vector<uint8_t> dc = Table({1}, {0});
    std::vector<uint8_t> ones(64, 0xAA);  // 1010...: leaves room to read
    // A single 1-bit code: run 15, size 1; four of them pass coefficient 63.
    ExpectRefused(GreyFile(dc, Table({1}, {0xF1}), std::vector<uint8_t>(64, 0x00)), "run past 63");
    ExpectRefused(GreyFile(dc, Table({1}, {0xF0}), std::vector<uint8_t>(64, 0x00)), "16 zeros past 63");
    ExpectRefused(GreyFile(Table({1}, {12}), Table({1}, {0}), ones), "DC category 12");
    ExpectRefused(GreyFile(dc, Table({0, 1}, {0}), std::vector<uint8_t>(64, 0x7F)), "no such code");

    // Found by fuzzing: a block abandoned past the end of the data sets no
    // coefficient, and nothing of an earlier block is taken for one.
    const std::vector<uint8_t> abandoned = {
        0xff, 0xd8, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
        0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xe9, 0xff, 0xff, 0x7f,
        0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
        0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xff,
        0xc0, 0x00, 0x0b, 0x08, 0x3f, 0x00, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00, 0xff, 0xc4, 0x00, 0x14, 0x00, 0x01,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3f, 0x00, 0xf9, 0x00,
        0xff, 0xd9};
    ImageRecord fromAbandoned = ReadJpeg(abandoned);
    EXPECT_TRUE(fromAbandoned.error == 0 || fromAbandoned.error == kErrJpg);
    FreeRecordBlocks(fromAbandoned);
    SaveSeed("jpeg", "abandoned", abandoned);

    // The same tables with a proper stream read.
    std::vector<uint8_t> good = GreyFile(Table({1}, {0}), Table({1}, {0}), std::vector<uint8_t>(2, 0x00));
    OwnedRecord r(ReadJpeg(good));
    ASSERT_EQ(+r->error, 0);
    EXPECT_EQ(PixelAt(r.record, 3, 3, 0), 128);
    SaveSeed("jpeg", "handmade", good);
}

TEST(Jpeg, TruncatedAndDamagedFilesNeverOverrun) {
    WrittenFile w = MakeWritten(64, 64);
    // Cut inside the scan: the file is abandoned. Only the end-of-image
    // marker may be missing.
    std::vector<uint8_t> cut(w.bytes.begin(), w.bytes.begin() + long(w.scanData + (w.bytes.size() - w.scanData) / 2));
    EXPECT_EQ(+OwnedRecord(ReadJpeg(cut))->error, kErrJpg);
    SaveSeed("jpeg", "cut", cut);
    std::vector<uint8_t> noEnd(w.bytes.begin(), w.bytes.end() - 2);
    EXPECT_EQ(+OwnedRecord(ReadJpeg(noEnd))->error, 0);

    size_t blocks = KernelLiveBlockCount();
    for (size_t length = 0; length < w.bytes.size(); length += 7) {
        ImageRecord part = ReadJpeg(std::vector<uint8_t>(w.bytes.begin(), w.bytes.begin() + long(length)));
        EXPECT_TRUE(part.error == 0 || part.error == kErrJpg) << length;
        EXPECT_EQ(part.error == 0, length >= w.bytes.size() - 2) << length;
        FreeRecordBlocks(part);
    }
    unsigned state = 5;
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<uint8_t> damaged = w.bytes;
        for (int i = 0; i < 4; ++i) {
            state = state * 1103515245 + 12345;
            damaged[w.scanData + (state >> 8) % (damaged.size() - w.scanData)] = uint8_t(state >> 24);
        }
        ImageRecord part = ReadJpeg(damaged);
        EXPECT_TRUE(part.error == 0 || part.error == kErrJpg);
        FreeRecordBlocks(part);
    }
    EXPECT_EQ(KernelLiveBlockCount(), blocks);
}

namespace {

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

// Records of every kind the writer takes, wide enough for the widest
// loops and with edges that are not whole MCUs.
struct WrittenCase {
    const char* name;
    uint64_t fingerprint;  // of the file as the writer has always written it
    std::function<void(OwnedRecord&)> fill;
};

std::vector<WrittenCase> WrittenCases() {
    auto picture = [](int width, int height, bool photo, unsigned seed) {
        return [=](OwnedRecord& r) { FillRecord(r, MakePicture(width, height, photo, seed)); };
    };
    auto test = [](int width, int height, int bits) {
        return [=](OwnedRecord& r) { FillTestImage(r.record, width, height, bits); };
    };
    auto grey = [](int width, int height) {
        return [=](OwnedRecord& r) {
            Picture p = MakePicture(width, height, true, 3);
            Picture g = p;
            g.channels = 1;
            g.samples.resize(size_t(width) * height);
            for (size_t i = 0; i < g.samples.size(); ++i) g.samples[i] = p.samples[3 * i + 1];
            FillRecord(r, g);
        };
    };
    auto noise = [](int width, int height) {
        return [=](OwnedRecord& r) {
            Picture p = MakePicture(width, height, true);
            unsigned state = 17;
            for (uint8_t& v : p.samples) v = uint8_t((state = state * 1103515245 + 12345) >> 16);
            FillRecord(r, p);
        };
    };
    return {
        {"photo 640 x 48", 0xcbfb52cc9ec05883ull, picture(640, 48, true, 7)},
        {"photo 203 x 117", 0x187fb8a90c8deeaeull, picture(203, 117, true, 9)},
        {"screen 250 x 77", 0x4e94004d79f8df98ull, picture(250, 77, false, 7)},
        {"screen 1000 x 33", 0xd998bcc55acd2de9ull, picture(1000, 33, false, 5)},
        {"photo 17 x 19", 0xfa0c5c1192e93984ull, picture(17, 19, true, 4)},
        {"photo 1 x 1", 0x9eecc9dcc360013full, picture(1, 1, true, 4)},
        {"photo 31 x 2", 0x13773c751d540d10ull, picture(31, 2, true, 6)},
        {"photo 48 x 1", 0x5f686f777e60f0c8ull, picture(48, 1, true, 6)},
        {"32-bit 100 x 21", 0xb37911a591301c17ull, test(100, 21, 32)},
        {"32-bit 47 x 18", 0xb23ab70f09213678ull, test(47, 18, 32)},
        {"24-bit 130 x 35", 0x00615fc6d66a4b7eull, test(130, 35, 24)},
        {"palette 77 x 40", 0x308d2bc399aa86feull, test(77, 40, 8)},
        {"grey 90 x 27", 0x28a5ed5ba3266158ull, grey(90, 27)},
        // Noise: codes of every length the quality brings, split between
        // two of the writer's 64-bit words at many places.
        {"noise 64 x 40", 0x0e71fb3fcee3d327ull, noise(64, 40)},
        // The scan's last code ends a byte: no padding follows.
        {"photo 20 x 9", 0xa3826f9e3014e612ull, picture(20, 9, true, 1)},
    };

}

}  // namespace

// Every form of the writer's loops writes the same bytes it always has.
TEST(Jpeg, EveryFormWritesTheFilesItAlwaysHas) {
    for (const WrittenCase& c : WrittenCases()) {
        OwnedRecord r;
        c.fill(r);
        for (JpegForm form : {kJpegPlain, kJpegSse2, kJpegAvx2}) {
            if (SetJpegForm(form) != form) continue;  // not on this processor or build
            std::vector<uint8_t> file = WriteToMemory(WriteJpegFile, r.record);
            EXPECT_EQ(Fnv1a(file), c.fingerprint) << c.name << ", form " << form << std::hex << ": 0x" << Fnv1a(file);
        }
    }
    SetJpegForm(kJpegAvx2);
}

// Noise at every width around the wide loops' groups of 16 columns, one to
// a few rows high (the top row is the last in the block): every form
// writes the same bytes and reads nothing past the pixels.
TEST(Jpeg, FormsAgreeAtEveryEdgeOfTheWideLoops) {
    unsigned state = 11;
    for (int depth : {24, 32})
        for (int height : {1, 2, 3, 17})
            for (int width = 1; width <= 70; width += width < 40 ? 1 : 7) {
                OwnedRecord r;
                r.record.width = width, r.record.height = height, r.record.bitCount = uint16_t(depth);
                CreateDibHeader(r.record);
                size_t size = GetDibImageSize(r.record);
                r.record.hBits = GlobalAlloc(GHND, size);
                BlockLock bits(r.record.hBits);
                for (size_t i = 0; i < size; ++i) bits.data()[i] = uint8_t((state = state * 1103515245 + 12345) >> 16);
                SetJpegForm(kJpegPlain);
                std::vector<uint8_t> plain = WriteToMemory(WriteJpegFile, r.record);
                for (JpegForm form : {kJpegSse2, kJpegAvx2}) {
                    if (SetJpegForm(form) != form) continue;
                    EXPECT_EQ(WriteToMemory(WriteJpegFile, r.record), plain)
                        << depth << "-bit " << width << " x " << height << ", form " << form;
                }
            }
    SetJpegForm(kJpegAvx2);
}

namespace {

// The whole pixel block a file reads as (row padding too), with the form in
// use.
std::vector<uint8_t> ReadPixelBlock(const std::vector<uint8_t>& file) {
    OwnedRecord r(ReadJpeg(file));
    if (r->error || !r.record.hBits) return {};
    BlockLock bits(r.record.hBits);
    return std::vector<uint8_t>(bits.data(), bits.data() + GetDibImageSize(r.record));
}

}  // namespace

// Every form of the reader's loops reads the files above (4:2:0 and grey,
// edges that are not whole MCUs) as the reader always has.
TEST(Jpeg, EveryFormReadsThePixelsItAlwaysHas) {
    const uint64_t read[] = {0xc553bb1cd3b839feull, 0x8d6745d03cd5b15aull, 0x8520f6dca0ef99e0ull, 0xc2da94fb86054c01ull,
                             0x9abad98fab136844ull, 0x40a863cc09e35ba3ull, 0xa11efc7614aed8f2ull, 0x5b6b195ea751698eull,
                             0x0e0602d93f4921c6ull, 0x11162cdbe96a7517ull, 0xb75212de4145c0e3ull, 0x52371078be861f38ull,
                             0xeceaacd7f9b3da9full, 0x1756847fba5d26efull, 0x3549cefc6f5fbf54ull};
    std::vector<WrittenCase> cases = WrittenCases();
    ASSERT_EQ(cases.size(), std::size(read));
    for (size_t i = 0; i < cases.size(); ++i) {
        OwnedRecord r;
        cases[i].fill(r);
        SetJpegForm(kJpegPlain);
        std::vector<uint8_t> file = WriteToMemory(WriteJpegFile, r.record);
        for (JpegForm form : {kJpegPlain, kJpegSse2, kJpegAvx2}) {
            if (SetJpegForm(form) != form) continue;
            uint64_t pixels = Fnv1a(ReadPixelBlock(file));
            EXPECT_EQ(pixels, read[i]) << cases[i].name << ", form " << form << std::hex << ": 0x" << pixels;
        }
    }
    SetJpegForm(kJpegAvx2);
}

// Noise at every width around the wide loops' groups of 16 and 32 pixels,
// in each sampling they take, one to a few rows high: every form reads the
// same pixels, and reads and writes nothing outside its blocks. The files
// are one larger file each, declared narrower and shorter: its first MCUs
// make up the smaller picture.
TEST(Jpeg, FormsReadAlikeAtEveryEdgeOfTheWideLoops) {
    if (!HaveJpegTools()) {
        if (getenv("CI")) FAIL() << "cjpeg/djpeg not installed";
        GTEST_SKIP() << "cjpeg/djpeg not installed";
    }
    Picture noise;
    noise.width = 112, noise.height = 64;
    noise.samples.resize(size_t(noise.width) * noise.height * 3);
    unsigned state = 13;
    for (uint8_t& v : noise.samples) v = uint8_t((state = state * 1103515245 + 12345) >> 16);
    const int widths[] = {1, 2, 3, 4, 5, 15, 16, 17, 18, 19, 31, 32, 33, 34, 35, 47, 48, 49, 63, 64, 65, 66, 67, 97};
    for (const char* sampling : {"-sample 2x2", "-sample 2x1", "-sample 1x1"}) {
        std::vector<uint8_t> large = Cjpeg(noise, std::string(sampling) + " -quality 95", "edge");
        size_t frame = FindMarker(large, 0xC0);
        ASSERT_NE(frame, 0u) << sampling;
        for (int height : {1, 2, 3, 18})
            for (int width : widths) {
                std::vector<uint8_t> file = Replace(large, frame + 5, {0, uint8_t(height), 0, uint8_t(width)});
                SetJpegForm(kJpegPlain);
                std::vector<uint8_t> plain = ReadPixelBlock(file);
                ASSERT_FALSE(plain.empty());
                for (JpegForm form : {kJpegSse2, kJpegAvx2}) {
                    if (SetJpegForm(form) != form) continue;
                    EXPECT_EQ(ReadPixelBlock(file), plain) << sampling << " " << width << " x " << height << ", form " << form;
                }
            }
    }
    SetJpegForm(kJpegAvx2);
}
