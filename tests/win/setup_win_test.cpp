// The installer's file work and drawing under Windows (Wine): the copy with
// its one time stamp and quiet help files, the required size, the install
// folder's checks, an uninstall that meets a file in use, the side picture
// of any depth, the Finish bitmap and the background's tiles.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "FrameTestKit.h"
#include "formats/DibHelpers.h"
#include "formats/Pictova.h"
#include "setup/background/BackgroundWnd.h"
#include "setup/files/InstallFiles.h"
#include "setup/files/InstallList.h"
#include "setup/wizard/InstallFolder.h"
#include "setup/wizard/SetupPage.h"
#include "setup/wizard/SidePicture.h"

namespace {

using kftest::ReadFile;
using kftest::ScratchFolder;
using kftest::WriteFile;

// A 32-bit top-down surface to draw on and read back.
struct Canvas {
    Canvas(int width, int height) : width(width)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
        old = ::SelectObject(dc, bitmap);
        for (int i = 0; i < width * height; ++i)
            pixels[i] = 0x123456;
    }
    ~Canvas()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    DWORD At(int x, int y)
    {
        ::GdiFlush();
        return pixels[y * width + x] & 0xFFFFFF;
    }
    int width;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* pixels = nullptr;
};

// A picture file of the depth given, every pixel the colour (x, y) gives.
void WritePicture(const std::string& path, int bitCount, int width, int height)
{
    ImageRecord record{};
    record.width = width;
    record.height = height;
    record.bitCount = static_cast<uint16_t>(bitCount);
    ASSERT_TRUE(CreateDibHeader(record));
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(record.hInfo));
    auto* table = reinterpret_cast<RGBQUAD*>(header + 1);
    for (uint32_t i = 0; i < GetPaletteEntryCount(bitCount); ++i)
        table[i] = {static_cast<BYTE>(i * 16), 0, static_cast<BYTE>(255 - i * 16), 0};
    ::GlobalUnlock(record.hInfo);
    uint32_t rowBytes = GetDibRowBytes(record);
    record.hBits = ::GlobalAlloc(GHND, rowBytes * height);
    auto* bits = static_cast<BYTE*>(::GlobalLock(record.hBits));
    for (int y = 0; y < height; ++y) {
        BYTE* row = bits + y * rowBytes;
        for (int x = 0; x < width; ++x) {
            if (bitCount == 24) {
                row[x * 3] = 200;      // blue
                row[x * 3 + 1] = 100;  // green
                row[x * 3 + 2] = 50;   // red
            } else if (bitCount == 4) {
                row[x / 2] = 0x33;
            }
        }
    }
    ::GlobalUnlock(record.hBits);
    ExportImageFile(&record, path.c_str(), kTypePng);
    FreeRecordBlocks(record);
}

}  // namespace

TEST(SetupFiles, CopyGivesEveryFileTheOneStampAndSkipsAbsentHelpFiles)
{
    std::string source = ScratchFolder("setup-source");
    std::string target = ScratchFolder("setup-target");
    DWORD expectedSize = 0;
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        if (IsOptionalInstallFile(kInstallFiles[i]))
            continue;
        std::string content(1000 + i * 37, static_cast<char>('a' + i));
        WriteFile(source + "\\" + kInstallFiles[i], content);
        expectedSize += static_cast<DWORD>(content.size());
    }
    WriteFile(target + "\\Kaptura99.exe", std::string(5000, 'x'));   // an older copy
    EXPECT_EQ(SumInstallSize(source.c_str()), expectedSize);

    ASSERT_TRUE(CopyInstallFiles(source.c_str(), target.c_str(), nullptr));
    FILETIME stamp = InstallFileTime();
    FILETIME local{};
    SYSTEMTIME shown{};
    ::FileTimeToLocalFileTime(&stamp, &local);
    ::FileTimeToSystemTime(&local, &shown);
    EXPECT_EQ(shown.wYear, 1998);
    EXPECT_EQ(shown.wMonth, 6);
    EXPECT_EQ(shown.wDay, 11);
    EXPECT_EQ(shown.wHour, 1);
    EXPECT_EQ(shown.wMinute + shown.wSecond, 0);
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        std::string copied = target + "\\" + kInstallFiles[i];
        if (IsOptionalInstallFile(kInstallFiles[i])) {
            EXPECT_EQ(::GetFileAttributesA(copied.c_str()), INVALID_FILE_ATTRIBUTES) << kInstallFiles[i];
            continue;
        }
        // The times first: reading the file here moves its access time.
        HANDLE file = ::CreateFileA(copied.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME times[3]{};
        ::GetFileTime(file, &times[0], &times[1], &times[2]);
        ::CloseHandle(file);
        for (const FILETIME& time : times)
            EXPECT_EQ(::CompareFileTime(&time, &stamp), 0) << kInstallFiles[i];
        EXPECT_EQ(ReadFile(copied), ReadFile(source + "\\" + kInstallFiles[i])) << kInstallFiles[i];
    }
}

TEST(SetupFiles, RequiredSizeMatchesNamesInAnyCaseAndLeavesOutMissingFiles)
{
    std::string source = ScratchFolder("setup-size");
    WriteFile(source + "\\KAPTURA99.EXE", std::string(300, 'k'));
    WriteFile(source + "\\logo.png", std::string(20, 'l'));
    WriteFile(source + "\\Other.txt", std::string(999, 'o'));   // not listed
    EXPECT_EQ(SumInstallSize(source.c_str()), 320u);
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(SetupFolder, EachRefusalHasItsReasonAndNothingIsMadeBeforeAcceptance)
{
    std::string scratch = ScratchFolder("setup-folder");
    std::string fresh = scratch + "\\fresh";
    ::RemoveDirectoryA(fresh.c_str());
    WriteFile(scratch + "\\a-file", "x");

    EXPECT_EQ(CheckInstallFolder(""), FolderVerdict::Unnamed);
    EXPECT_EQ(CheckInstallFolder(scratch.c_str()), FolderVerdict::Usable);
    EXPECT_EQ(CheckInstallFolder((scratch + "\\a-file").c_str()), FolderVerdict::NotAFolder);
    EXPECT_EQ(CheckInstallFolder((scratch + "\\none\\deeper").c_str()), FolderVerdict::NoParent);
    EXPECT_EQ(CheckInstallFolder(("C:\\" + std::string(242, 'e')).c_str()), FolderVerdict::TooLong);   // 245
    EXPECT_EQ(CheckInstallFolder(("C:\\" + std::string(241, 'e')).c_str()), FolderVerdict::Usable);    // 244
    char missing[] = "?:\\Kaptura99";
    for (char letter = 'Z'; letter > 'C' && missing[0] == '?'; --letter) {
        char root[] = {letter, ':', '\\', 0};
        if (::GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR)
            missing[0] = letter;
    }
    ASSERT_NE(missing[0], '?') << "every drive letter is taken";
    EXPECT_EQ(CheckInstallFolder(missing), FolderVerdict::NoSuchDrive);

    EXPECT_EQ(CheckInstallFolder(fresh.c_str()), FolderVerdict::Usable);
    EXPECT_FALSE(IsFolder(fresh)) << "checked only, yet made";
    EXPECT_EQ(MakeInstallFolder(fresh.c_str()), FolderVerdict::Usable);
    EXPECT_TRUE(IsFolder(fresh));
    EXPECT_EQ(MakeInstallFolder(fresh.c_str()), FolderVerdict::Usable);   // there already
    EXPECT_EQ(MakeInstallFolder((scratch + "\\none\\deeper").c_str()), FolderVerdict::NoParent);
    EXPECT_FALSE(IsFolder(scratch + "\\none"));
    ::RemoveDirectoryA(fresh.c_str());
}

TEST(SetupUninstall, AFileInUseIsNamedAndTheRestOfTheFolderGoes)
{
    std::string folder = ScratchFolder("setup-uninstall");
    for (size_t i = 0; i < kInstallFileCount; ++i)
        WriteFile(folder + "\\" + kInstallFiles[i], kInstallFiles[i]);
    WriteFile(folder + "\\Kaptura99.ini", "[Kaptura 99]\r\n");
    std::string held = folder + "\\Pictova.dll";
    HANDLE file = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<CString> left = UninstallFiles(folder.c_str());
    ::CloseHandle(file);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_STREQ(left[0].GetString(), held.c_str());
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        std::string path = folder + "\\" + kInstallFiles[i];
        EXPECT_EQ(::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, path == held) << path;
    }
    EXPECT_EQ(::GetFileAttributesA((folder + "\\Kaptura99.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(IsFolder(folder));
}

TEST(SetupPicture, AnyDepthDrawsAndOnlyPaletteDepthsGetAPalette)
{
    std::string folder = ScratchFolder("setup-picture");
    Canvas canvas(40, 30);
    SidePicture picture;

    WritePicture(folder + "\\deep.png", 24, 16, 12);
    picture.Load((folder + "\\deep.png").c_str());
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Palette(), nullptr);   // no 2^24-entry palette
    picture.Draw(canvas.dc, 5, 6);
    EXPECT_EQ(canvas.At(5, 6), 0x3264C8u);
    EXPECT_EQ(canvas.At(20, 17), 0x3264C8u);
    EXPECT_EQ(canvas.At(21, 18), 0x123456u);   // full size, not more

    WritePicture(folder + "\\four.png", 4, 8, 8);
    picture.Load((folder + "\\four.png").c_str());
    ASSERT_FALSE(picture.IsEmpty());
    ASSERT_NE(picture.Palette(), nullptr);
    WORD entries = 0;
    ::GetObjectA(picture.Palette(), sizeof entries, &entries);
    EXPECT_EQ(entries, 16);

    Canvas untouched(10, 10);
    picture.Load((folder + "\\missing.png").c_str());
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(picture.Palette(), nullptr);
    picture.Draw(untouched.dc, 0, 0);
    EXPECT_EQ(untouched.At(0, 0), 0x123456u);
}

TEST(SetupPicture, PaletteReadsNoFurtherThanTheHeaderBlock)
{
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 3 * sizeof(RGBQUAD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biBitCount = 8;   // claims 256 colours, holds 3
    HPALETTE palette = MakePictureTablePalette(header, block.size());
    ASSERT_NE(palette, nullptr);
    WORD entries = 0;
    ::GetObjectA(palette, sizeof entries, &entries);
    EXPECT_EQ(entries, 3);
    ::DeleteObject(palette);
    header->biBitCount = 32;
    EXPECT_EQ(MakePictureTablePalette(header, block.size()), nullptr);
}

TEST(SetupPicture, FinishBitmapShowsTheFaceForWhiteAndSqueezesToTheFrame)
{
    const int width = 6, height = 40;
    Canvas source(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            source.pixels[y * width + x] = y < height / 2 ? 0xFFFFFF : 0xFF0000;   // white over red
    ::GdiFlush();
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    DWORD faceQuad = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);

    Canvas tall(20, 60);
    DrawFinishBitmap(tall.dc, source.bitmap, RECT{2, 3, 18, 55});   // frame taller: unscaled
    EXPECT_EQ(tall.At(2, 3), faceQuad);
    EXPECT_EQ(tall.At(7, 42), 0xFF0000u);
    EXPECT_EQ(tall.At(7, 43), 0x123456u);
    EXPECT_EQ(tall.At(8, 10), 0x123456u);   // the width stays the bitmap's

    Canvas low(20, 30);
    DrawFinishBitmap(low.dc, source.bitmap, RECT{2, 3, 18, 23});   // 20 high: squeezed
    EXPECT_EQ(low.At(2, 3), faceQuad);
    EXPECT_EQ(low.At(4, 22), 0xFF0000u);
    EXPECT_EQ(low.At(4, 23), 0x123456u);
    EXPECT_EQ(low.At(8, 10), 0x123456u);
}

TEST(SetupBackground, TilesCoverTheAreaAndAreCutAtItsEdges)
{
    Canvas tile(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            tile.pixels[y * 4 + x] = static_cast<DWORD>(0x010000 * (x + 1) + 0x000100 * (y + 1));
    ::GdiFlush();
    Canvas screen(10, 7);
    ::SelectObject(tile.dc, tile.old);   // the bitmap goes into the tiler's own DC
    TileBitmap(screen.dc, tile.bitmap, 10, 7);
    tile.old = ::SelectObject(tile.dc, tile.bitmap);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(screen.At(x, y), 0x010000u * (x % 4 + 1) + 0x000100u * (y % 3 + 1)) << x << "," << y;
}
