// Clipboard, KPT, PCX, TIFF and WPG files through the real Pictova.dll under
// Windows (Wine): every writer's file read back, failures that keep the old
// file, each format's id for files it cannot use, a clipboard file holding a
// device bitmap, and a KPT file with its note.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PictovaDllKit.h"

namespace {

using namespace pictovakit;

ImageRecord MakeRecord(int32_t width, int32_t height, int bits) {
    ImageRecord record = {};
    record.width = width;
    record.height = height;
    record.bitCount = uint16_t(bits);
    CreateDibHeader(record);
    {
        BlockLock info(record.hInfo);
        for (uint32_t i = 0; i < GetPaletteEntryCount(bits); ++i)
            info.as<DibColor>()[10 + i] = {uint8_t(i * 5), uint8_t(255 - i), uint8_t(i * 3), 0};
        if (bits == 1) {
            info.as<DibColor>()[10] = {0, 0, 0, 0};
            info.as<DibColor>()[11] = {255, 255, 255, 0};
        }
    }
    record.hBits = GlobalAlloc(GHND, GetDibImageSize(record));
    BlockLock lock(record.hBits);
    uint32_t state = 99;
    for (uint32_t i = 0; i < GetDibImageSize(record); ++i) {
        state = state * 1103515245 + 12345;
        lock.data()[i] = (i / 64) % 2 ? uint8_t(state >> 24) : uint8_t(i / 200);
    }
    // Bits past the width of each row stay 0, as every reader leaves them.
    uint32_t used = GetPackedRowBytes(width, bits), rowBytes = GetDibRowBytes(record);
    uint32_t spare = (8 - width * bits % 8) % 8;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = lock.data() + size_t(y) * rowBytes;
        memset(row + used, 0, rowBytes - used);
        if (bits < 8) row[used - 1] = uint8_t(row[used - 1] & (0xFF << spare));
    }
    return record;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD done = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(file);
    return bytes;
}

void PutFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

class MoreFormatsDll : public PictovaDllTest {
protected:
    void SetUp() override {
        PictovaDllTest::SetUp();
        importFile = Export<ImportFn>(module, "ImportImageFile");
        exportFile = Export<ExportFn>(module, "ExportImageFile");
    }
    ImportFn importFile = nullptr;
    ExportFn exportFile = nullptr;
};

struct Kind {
    int type;
    const char* name;
    int error;
    std::vector<int> depths;
};

const Kind kKinds[] = {
    {2, "more_formats.clp", 1004, {1, 4, 8, 24, 32}},
    {7, "more_formats.pcx", 1008, {1, 4, 8, 24}},
    {10, "more_formats.tif", 1011, {1, 4, 8, 24}},
    {11, "more_formats.wpg", 1012, {1, 4, 8}},
};

}  // namespace

TEST_F(MoreFormatsDll, EveryWriterFileReadsBackUnchanged) {
    for (const Kind& kind : kKinds) {
        std::string path = TempPath(kind.name);
        for (int bits : kind.depths) {
            SCOPED_TRACE(testing::Message() << kind.name << ", " << bits << " bits");
            ImageRecord source = MakeRecord(301, 67, bits);
            exportFile(&source, path.c_str(), kind.type);
            ASSERT_EQ(+source.error, 0);
            ImageRecord back = *importFile(path.c_str());
            ASSERT_EQ(+back.error, 0);
            EXPECT_EQ(+back.width, 301);
            EXPECT_EQ(+back.height, 67);
            EXPECT_EQ(+back.bitCount, bits);
            EXPECT_EQ(BlockBytes(back.hBits, GetDibImageSize(back)), BlockBytes(source.hBits, GetDibImageSize(source)));
            std::vector<uint8_t> tableBack = BlockBytes(back.hInfo, GetDibHeaderSize(bits));
            std::vector<uint8_t> tableSource = BlockBytes(source.hInfo, GetDibHeaderSize(bits));
            EXPECT_EQ(std::vector<uint8_t>(tableBack.begin() + 40, tableBack.end()),
                      std::vector<uint8_t>(tableSource.begin() + 40, tableSource.end()));
            FreeRecordBlocks(source);
            FreeRecordBlocks(back);
        }
        DeleteFileA(path.c_str());
    }
}

TEST_F(MoreFormatsDll, FailedExportsKeepTheOldFileAndLeaveNoNewOne) {
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        std::string path = TempPath(kind.name);
        PutFile(path, old);
        ImageRecord source = MakeRecord(16, 16, 8);
        ImageRecord lying = source;
        lying.height = 5000;  // more rows than its block holds
        exportFile(&lying, path.c_str(), kind.type);
        EXPECT_EQ(+lying.error, kind.error);
        EXPECT_EQ(FileBytes(path), old);
        // A file that is not of its kind gives the kind's id.
        EXPECT_EQ(+importFile(path.c_str())->error, kind.error);
        DeleteFileA(path.c_str());
        exportFile(&lying, path.c_str(), kind.type);
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
        FreeRecordBlocks(source);
    }
    // Deep images are refused by the WPG writer with their own id.
    std::string wpg = TempPath("more_formats_keep.wpg");
    PutFile(wpg, old);
    for (int bits : {24, 32}) {
        ImageRecord deep = MakeRecord(4, 4, bits);
        exportFile(&deep, wpg.c_str(), 11);
        EXPECT_EQ(+deep.error, 1015);
        EXPECT_EQ(FileBytes(wpg), old);
        FreeRecordBlocks(deep);
    }
    std::string kpt = TempPath("more_formats.KPT");
    PutFile(kpt, old);
    EXPECT_EQ(+importFile(kpt.c_str())->error, 1005);
    DeleteFileA(wpg.c_str());
    DeleteFileA(kpt.c_str());
}

TEST_F(MoreFormatsDll, ClipboardFileHoldingADeviceBitmap) {
    // Directory of one device bitmap (format 2): 3 x 2 pixels, 8 bits, rows
    // of 4 bytes, the top row first. Away from an 8-bit screen the colours
    // come from the fixed table.
    std::vector<uint8_t> file = {0x50, 0xC3, 1, 0, 2, 0, 24 + 8, 0, 0, 0, 93, 0, 0, 0};
    file.resize(93, 0);
    const uint8_t description[24] = {0, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 8, 0};
    file.insert(file.end(), description, description + 24);
    file.insert(file.end(), {1, 2, 0x4B, 0, 4, 5, 6, 0});
    std::string path = TempPath("more_formats_device.clp");
    PutFile(path, file);
    ImageRecord r = *importFile(path.c_str());
    ASSERT_EQ(+r.error, 0);
    EXPECT_EQ(+r.bitCount, 8);
    EXPECT_EQ(BlockBytes(r.hBits, 8), (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 0x4B, 0}));
    std::vector<uint8_t> header = BlockBytes(r.hInfo, 1064);
    std::vector<uint8_t> expected = {64, 32, 96, 0};
    HDC screen = GetDC(nullptr);
    if (GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) == 8) {
        // On an 8-bit screen the colours are the system palette's.
        PALETTEENTRY entry = {};
        GetSystemPaletteEntries(screen, 0x4B, 1, &entry);
        expected = {entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(std::vector<uint8_t>(header.begin() + 40 + 4 * 0x4B, header.begin() + 44 + 4 * 0x4B), expected);
    FreeRecordBlocks(r);

    // Four planes of one bit are only read on a 16-colour screen.
    file[93 + 16] = 4;
    file[93 + 18] = 1;
    PutFile(path, file);
    EXPECT_EQ(+importFile(path.c_str())->error, 1004);
    DeleteFileA(path.c_str());
}

TEST_F(MoreFormatsDll, KptFileWithItsNote) {
    std::vector<uint8_t> file = {0x01, 0xFF, 4, 0, 2, 0, 4, 0, 5, 0, 0, 0, 5, 0, 0, 0};
    std::vector<uint8_t> header(104, 0);
    header[0] = 40;
    header[40 + 4 * 3 + 2] = 200;  // entry 3 is red
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), {0x84, 0x33, 0x02, 0x12, 0x34, 0x00});  // 5 bytes of runs and the end
    file.resize(file.size() - 1);
    file.insert(file.end(), {'N', 'o', 't', 'e', '!'});
    std::string path = TempPath("more_formats.KPT");
    PutFile(path, file);
    ImageRecord r = *importFile(path.c_str());
    ASSERT_EQ(+r.error, 0);
    EXPECT_EQ(+r.width, 4);
    EXPECT_EQ(+r.height, 2);
    EXPECT_EQ(+r.bitCount, 4);
    EXPECT_EQ(BlockBytes(r.hBits, 8), (std::vector<uint8_t>{0x33, 0x33, 0x33, 0x33, 0x12, 0x34, 0, 0}));
    EXPECT_EQ(BlockBytes(r.hInfo, 104)[40 + 4 * 3 + 2], 200);
    EXPECT_EQ(+r.noteLength, 5);
    ASSERT_TRUE(r.hNote != nullptr);
    EXPECT_EQ(BlockBytes(r.hNote, 6), (std::vector<uint8_t>{'N', 'o', 't', 'e', '!', 0}));
    FreeRecordBlocks(r);
    DeleteFileA(path.c_str());
}
