// PNG through the real Pictova.dll under Windows (Wine): every depth and a
// note written to a file and read back unchanged, and a damaged file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PictovaDllKit.h"

namespace {

using namespace pictovakit;

class PngDll : public PictovaDllTest {};

}  // namespace

TEST_F(PngDll, EveryDepthAndANoteSurviveAFileRoundTrip) {
    auto importFile = Export<ImportFn>(module, "ImportImageFile");
    auto exportFile = Export<ExportFn>(module, "ExportImageFile");
    std::string path = TempPath("png_win_test.png");
    for (int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        ImageRecord source = {};
        source.width = 37;
        source.height = 11;
        source.bitCount = uint16_t(bits);
        ASSERT_TRUE(CreateDibHeader(source));
        uint32_t imageBytes = GetDibImageSize(source);
        source.hBits = GlobalAlloc(GHND, imageBytes);
        {
            BlockLock lock(source.hBits);
            uint32_t rowBytes = GetDibRowBytes(source), used = uint32_t((37 * bits + 7) / 8);
            for (uint32_t y = 0; y < 11; ++y)
                for (uint32_t i = 0; i < used; ++i) lock.data()[y * rowBytes + i] = uint8_t(i * 29 + y * 7);
            if (bits < 8)  // no bits past the width's 37 pixels
                for (uint32_t y = 0; y < 11; ++y) lock.data()[y * rowBytes + used - 1] &= uint8_t(bits == 1 ? 0xF8 : 0xF0);
        }
        {
            BlockLock info(source.hInfo);
            for (uint32_t i = 0; i < GetPaletteEntryCount(bits); ++i) {
                DibColor* entry = info.as<DibColor>() + 10 + i;
                *entry = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
            }
        }
        source.hNote = GlobalAlloc(GHND, 6);
        memcpy(BlockLock(source.hNote).data(), "notes", 6);
        source.noteLength = 5;

        exportFile(&source, path.c_str(), 8);
        ASSERT_EQ(source.error, 0);
        ImageRecord back = *importFile(path.c_str());
        ASSERT_EQ(back.error, 0);
        EXPECT_EQ(back.width, 37);
        EXPECT_EQ(back.height, 11);
        EXPECT_EQ(back.bitCount, bits);
        EXPECT_EQ(BlockBytes(back.hBits, imageBytes), BlockBytes(source.hBits, imageBytes));
        EXPECT_EQ(BlockBytes(back.hInfo, GetDibHeaderSize(bits)), BlockBytes(source.hInfo, GetDibHeaderSize(bits)));
        ASSERT_NE(back.hNote, nullptr);
        EXPECT_STREQ(reinterpret_cast<const char*>(BlockBytes(back.hNote, 6).data()), "notes");
        FreeRecordBlocks(back);
        FreeRecordBlocks(source);
    }

    // One flipped byte in the image data: "This PNG file is corrupted."
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 60, nullptr, FILE_BEGIN);
    uint8_t byte = 0;
    DWORD done = 0;
    ReadFile(file, &byte, 1, &done, nullptr);
    byte ^= 0x40;
    SetFilePointer(file, 60, nullptr, FILE_BEGIN);
    WriteFile(file, &byte, 1, &done, nullptr);
    CloseHandle(file);
    ImageRecord damaged = *importFile(path.c_str());
    EXPECT_EQ(damaged.error, 1010);
    EXPECT_EQ(damaged.hBits, nullptr);
    DeleteFileA(path.c_str());
}
