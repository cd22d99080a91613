// GIF through the real Pictova.dll under Windows (Wine): every depth, plain
// and interlaced, written to a file and read back unchanged, and a 24-bit
// record refused without touching the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PictovaDllKit.h"

namespace {

using namespace pictovakit;

// Pseudo-random indices fill the code table many times over; the lower
// half is flat so that long strings cross rows. Bits past the width stay 0.
ImageRecord MakeRecord(int32_t width, int32_t height, int bits) {
    ImageRecord record = {};
    record.width = width;
    record.height = height;
    record.bitCount = uint16_t(bits);
    CreateDibHeader(record);
    {
        BlockLock info(record.hInfo);
        for (uint32_t i = 0; i < GetPaletteEntryCount(bits); ++i)
            info.as<DibColor>()[10 + i] = {uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7), 0};
    }
    record.hBits = GlobalAlloc(GHND, GetDibImageSize(record));
    BlockLock lock(record.hBits);
    uint32_t rowBytes = GetDibRowBytes(record), state = 7;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            state = state * 1103515245 + 12345;
            unsigned index = (y < height / 2 ? state >> 16 : unsigned(x / 50)) & ((1u << bits) - 1);
            uint8_t* line = lock.data() + size_t(y) * rowBytes;
            if (bits == 8) line[x] = uint8_t(index);
            else if (bits == 4) line[x / 2] |= uint8_t(index << (x % 2 ? 0 : 4));
            else line[x / 8] |= uint8_t(index << (7 - x % 8));
        }
    return record;
}

class GifDll : public PictovaDllTest {};

}  // namespace

TEST_F(GifDll, EveryDepthPlainAndInterlacedSurvivesAFileRoundTrip) {
    auto importFile = Export<ImportFn>(module, "ImportImageFile");
    auto exportFile = Export<ExportFn>(module, "ExportImageFile");
    std::string path = TempPath("gif_win_test.gif");
    for (int bits : {1, 4, 8}) {
        for (int type : {4, 5}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, type " << type);
            ImageRecord source = MakeRecord(701, 203, bits);
            exportFile(&source, path.c_str(), type);
            ASSERT_EQ(+source.error, 0);
            ImageRecord back = *importFile(path.c_str());
            ASSERT_EQ(+back.error, 0);
            EXPECT_EQ(+back.width, 701);
            EXPECT_EQ(+back.height, 203);
            EXPECT_EQ(+back.bitCount, bits);
            EXPECT_EQ(BlockBytes(back.hBits, GetDibImageSize(back)), BlockBytes(source.hBits, GetDibImageSize(source)));
            EXPECT_EQ(BlockBytes(back.hInfo, GetDibHeaderSize(bits)), BlockBytes(source.hInfo, GetDibHeaderSize(bits)));
            FreeRecordBlocks(source);
            FreeRecordBlocks(back);
        }
    }
    DeleteFileA(path.c_str());
}

TEST_F(GifDll, DeepRecordsAreRefusedAndTheFileKept) {
    auto exportFile = Export<ExportFn>(module, "ExportImageFile");
    std::string path = TempPath("gif_win_keep.gif");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, "old", 3, &done, nullptr);
    CloseHandle(file);
    for (int bits : {24, 32}) {
        ImageRecord deep = {};
        deep.width = 4;
        deep.height = 4;
        deep.bitCount = uint16_t(bits);
        ASSERT_TRUE(CreateDibHeader(deep));
        deep.hBits = GlobalAlloc(GHND, GetDibImageSize(deep));
        for (int type : {4, 5}) {
            exportFile(&deep, path.c_str(), type);
            EXPECT_EQ(+deep.error, 1014) << bits << " bits, type " << type;
        }
        FreeRecordBlocks(deep);
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 3u);
    DeleteFileA(path.c_str());
}
