// The real Pictova.dll under Windows (Wine): exports by name and ordinal,
// the string table, a file round trip, and the icon path at screen depth.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PictovaDllKit.h"

namespace {

using namespace pictovakit;

class PictovaDll : public PictovaDllTest {};

}  // namespace

TEST_F(PictovaDll, ExportsByNameAndOrdinal) {
    const char* names[] = {"DisplayFormatErrorMsg", "ExportImageFile", "GetErrorMessage", "ImportImageFile"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byName = GetProcAddress(module, names[ordinal - 1]);
        FARPROC byOrdinal = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
        EXPECT_NE(byName, nullptr) << names[ordinal - 1];
        EXPECT_EQ(byName, byOrdinal) << names[ordinal - 1];
    }
}

TEST_F(PictovaDll, StringTableHoldsEveryMessage) {
    auto getMessage = Export<MessageFn>(module, "GetErrorMessage");
    char text[260];
    EXPECT_EQ(getMessage(1000, text), 0);
    EXPECT_EQ(getMessage(1018, text), 0);
    for (int id = 1001; id <= 1017; ++id) EXPECT_GT(getMessage(id, text), 0) << id;
    getMessage(1014, text);
    EXPECT_STREQ(text, "GIF format doesn't support 24-bit image. Please use other format.");
    getMessage(1017, text);
    EXPECT_STREQ(text, "Insufficient memory!");
}

TEST_F(PictovaDll, ExportThenImportThroughTheDll) {
    auto importFile = Export<ImportFn>(module, MAKEINTRESOURCEA(4));
    auto exportFile = Export<ExportFn>(module, MAKEINTRESOURCEA(2));
    ImageRecord source = {};
    source.width = 5;
    source.height = 3;
    source.bitCount = 24;
    ASSERT_TRUE(CreateDibHeader(source));
    source.hBits = GlobalAlloc(GHND, GetDibImageSize(source));
    {
        BlockLock bits(source.hBits);
        for (uint32_t i = 0; i < GetDibImageSize(source); ++i) bits.data()[i] = uint8_t(i * 13);
    }
    std::string path = TempPath("pictova_dll.bmp");
    exportFile(&source, path.c_str(), 1);
    ASSERT_EQ(+source.error, 0);
    ImageRecord back = *importFile(path.c_str());
    ASSERT_EQ(+back.error, 0);
    EXPECT_EQ(+back.width, 5);
    EXPECT_EQ(+back.height, 3);
    EXPECT_EQ(+back.bitCount, 24);
    {
        BlockLock a(source.hBits), b(back.hBits);
        EXPECT_EQ(memcmp(a.data(), b.data(), GetDibImageSize(source)), 0);
    }
    FreeRecordBlocks(source);
    FreeRecordBlocks(back);

    ImageRecord missing = *importFile(TempPath("no_such_file.bmp").c_str());
    EXPECT_EQ(+missing.error, 1001);
}

// A JPEG round trip through the DLL runs the writer's and the reader's SSE2
// loops as the product has them: the picture must come back close to what
// went in (a wrong lane or shuffle would wreck it).
TEST_F(PictovaDll, JpegRoundTripKeepsThePicture) {
    auto importFile = Export<ImportFn>(module, "ImportImageFile");
    auto exportFile = Export<ExportFn>(module, "ExportImageFile");
    ImageRecord source = {};
    source.width = 101;  // MCUs inside and at the edge
    source.height = 67;
    source.bitCount = 24;
    ASSERT_TRUE(CreateDibHeader(source));
    source.hBits = GlobalAlloc(GHND, GetDibImageSize(source));
    uint32_t rowBytes = GetDibRowBytes(source);
    {
        BlockLock bits(source.hBits);
        for (int y = 0; y < source.height; ++y)
            for (int x = 0; x < source.width; ++x) {
                uint8_t* p = bits.data() + size_t(y) * rowBytes + 3 * x;
                p[0] = uint8_t(x * 2), p[1] = uint8_t(y * 3), p[2] = uint8_t(200 - x);
            }
    }
    std::string path = TempPath("pictova_dll.jpg");
    exportFile(&source, path.c_str(), 6);
    ASSERT_EQ(+source.error, 0);
    ImageRecord back = *importFile(path.c_str());
    ASSERT_EQ(+back.error, 0);
    ASSERT_EQ(+back.bitCount, 24);
    double squares = 0;
    {
        BlockLock a(source.hBits), b(back.hBits);
        for (uint32_t i = 0; i < GetDibImageSize(source); ++i) {
            if (i % rowBytes >= uint32_t(3 * source.width)) continue;
            double d = double(a.data()[i]) - b.data()[i];
            squares += d * d;
        }
    }
    double mse = squares / (3.0 * source.width * source.height);
    EXPECT_LT(mse, 10.0);  // about 38 dB for this smooth picture at quality 45
    FreeRecordBlocks(source);
    FreeRecordBlocks(back);
    DeleteFileA(path.c_str());
}

// What a caller may hand the exports: no path at all, the longest valid
// path, a file of its own that looks like a temporary one. None of it may
// throw through the library's edge, fail a valid name or touch the file.
TEST_F(PictovaDll, ExportPathsFromNoneToTheLongest) {
    auto importFile = Export<ImportFn>(module, "ImportImageFile");
    auto exportFile = Export<ExportFn>(module, "ExportImageFile");
    ImageRecord source = {};
    source.width = 4;
    source.height = 2;
    source.bitCount = 24;
    ASSERT_TRUE(CreateDibHeader(source));
    source.hBits = GlobalAlloc(GHND, GetDibImageSize(source));
    for (const char* path : {static_cast<const char*>(nullptr), ""}) {
        source.error = 0;
        exportFile(&source, path, 1);
        EXPECT_EQ(+source.error, 1002);
        EXPECT_EQ(+importFile(path)->error, 1001);
    }

    std::string folder = TempPath("");
    std::string target = folder + std::string(MAX_PATH - 1 - folder.size() - 4, 'n') + ".bmp";
    ASSERT_EQ(target.size(), size_t(MAX_PATH - 1));
    exportFile(&source, target.c_str(), 1);
    EXPECT_EQ(+source.error, 0);
    ImageRecord back = *importFile(target.c_str());
    EXPECT_EQ(+back.error, 0);
    EXPECT_EQ(+back.width, 4);
    FreeRecordBlocks(back);
    DeleteFileA(target.c_str());

    std::string mine = TempPath("pictova_mine.bmp.~pv");
    HANDLE file = CreateFileA(mine.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done;
    WriteFile(file, "mine", 4, &done, nullptr);
    CloseHandle(file);
    exportFile(&source, TempPath("pictova_mine.bmp").c_str(), 1);
    EXPECT_EQ(+source.error, 0);
    file = CreateFileA(mine.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char text[8] = {};
    ReadFile(file, text, sizeof text, &done, nullptr);
    CloseHandle(file);
    EXPECT_STREQ(text, "mine");
    DeleteFileA(mine.c_str());
    DeleteFileA(TempPath("pictova_mine.bmp").c_str());
    FreeRecordBlocks(source);
}

TEST_F(PictovaDll, ReadOnlyTargetIsRefusedAndKeepsItsContentAndMark) {
    auto exportFile = Export<ExportFn>(module, "ExportImageFile");
    ImageRecord source = {};
    source.width = 4;
    source.height = 2;
    source.bitCount = 8;
    ASSERT_TRUE(CreateDibHeader(source));
    source.hBits = GlobalAlloc(GHND, GetDibImageSize(source));
    std::string target = TempPath("pictova_readonly.bmp");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done;
    WriteFile(file, "old", 3, &done, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));

    for (int type : {1, 8, 10}) {
        source.error = 0;
        exportFile(&source, target.c_str(), type);
        EXPECT_EQ(+source.error, 1002) << type;
    }
    EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    file = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char text[8] = {};
    ReadFile(file, text, sizeof text, &done, nullptr);
    CloseHandle(file);
    EXPECT_STREQ(text, "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target.c_str());
    FreeRecordBlocks(source);
}

TEST_F(PictovaDll, IconImportsAtScreenDepth) {
    // A minimal 32 x 32 32-bit icon written by hand: header, directory
    // entry, DIB with its mask.
    std::string path = TempPath("pictova_test.ico");
    {
        const int size = 32;
        std::vector<uint8_t> file;
        auto put16 = [&](uint16_t v) { file.push_back(uint8_t(v)); file.push_back(uint8_t(v >> 8)); };
        auto put32 = [&](uint32_t v) { put16(uint16_t(v)); put16(uint16_t(v >> 16)); };
        uint32_t imageBytes = 40 + size * size * 4 + size * 4;
        put16(0); put16(1); put16(1);
        file.push_back(size); file.push_back(size); file.push_back(0); file.push_back(0);
        put16(1); put16(32); put32(imageBytes); put32(22);
        put32(40); put32(size); put32(size * 2); put16(1); put16(32); put32(0); put32(0); put32(0); put32(0); put32(0); put32(0);
        for (int i = 0; i < size * size; ++i) put32(0xFFFF0000);  // opaque red
        for (int i = 0; i < size * 4; ++i) file.push_back(0);
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done;
        WriteFile(handle, file.data(), DWORD(file.size()), &done, nullptr);
        CloseHandle(handle);
    }
    auto importFile = Export<ImportFn>(module, "ImportImageFile");
    ImageRecord r = *importFile(path.c_str());
    ASSERT_EQ(+r.error, 0);
    EXPECT_EQ(+r.width, 32);
    EXPECT_EQ(+r.height, 32);
    HDC screen = GetDC(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(+r.bitCount, depth > 8 ? 24 : depth);
    if (r.bitCount == 24) {
        BlockLock bits(r.hBits);
        EXPECT_EQ(bits.data()[2], 255);  // red, blue-green-red order
        EXPECT_EQ(bits.data()[0], 0);
    }
    FreeRecordBlocks(r);
}
