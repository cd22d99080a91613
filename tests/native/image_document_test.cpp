// The image document's window-free rules: file names and Save All numbers,
// placements and canvas, notes and their side files, and files written and
// read back through the format library.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <string>

#include "DisplayImageKit.h"
#include "ImageTestKit.h"
#include "capture/core/document/DocumentFileNames.h"
#include "capture/core/document/ImageDocLayout.h"
#include "capture/core/document/ImageFileIO.h"
#include "capture/core/document/NoteSideFile.h"
#include "capture/core/settings/Settings.h"
#include "formats/Pictova.h"

namespace {

using imagekit::Bgr;
using imagekit::GetPixel;
using imagekit::SetPixel;
using imagekit::Shape;

std::string NoteOf(const DisplayImage& image)
{
    if (!image.hNote)
        return "";
    BlockLock lock(image.hNote);
    return std::string(reinterpret_cast<const char*>(lock.data()));
}

TEST(DocumentFileNames, ExtensionsComeFromTheFileNameOnly)
{
    EXPECT_EQ(NoteSideFilePath("C:\\shots\\shot.bmp"), "C:\\shots\\shot.txt");
    EXPECT_EQ(NoteSideFilePath("C:\\shots\\a.b.gif"), "C:\\shots\\a.b.txt");
    // A dotted folder is not an extension: the side file stays beside the image.
    EXPECT_EQ(NoteSideFilePath("C:\\v1.2\\shot"), "C:\\v1.2\\shot.txt");
    EXPECT_EQ(FileExtension("C:\\v1.2\\shot"), "");
    EXPECT_EQ(FileNamePart("C:\\v1.2\\shot.bmp"), "shot.bmp");
    EXPECT_EQ(FolderPart("C:\\v1.2\\shot.bmp"), "C:\\v1.2\\");

    EXPECT_TRUE(NoteLivesInImageFile("x.PNG"));
    EXPECT_TRUE(NoteLivesInImageFile("x.kpt"));
    EXPECT_FALSE(NoteLivesInImageFile("x.bmp"));
    EXPECT_FALSE(NoteLivesInImageFile("C:\\dir.png\\x"));

    EXPECT_EQ(NoteTextFileName("notes"), "notes.txt");
    EXPECT_EQ(NoteTextFileName("notes.doc"), "notes.doc");
    EXPECT_EQ(NoteTextFileName("C:\\a.b\\notes"), "C:\\a.b\\notes.txt");
}

TEST(DocumentFileNames, FormatIndexFollowsTheSaveAsTypes)
{
    const char* names[] = {"a.bmp", "a.CLP", "a.dib", "a.gif", "a.Jpg", "a.pcx", "a.png", "a.rle", "a.tif", "a.wpg"};
    const int types[] = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(FormatIndexFromExtension(names[i]), types[i]) << names[i];
    EXPECT_EQ(FormatIndexFromExtension("a.jpeg"), 0);
    EXPECT_EQ(FormatIndexFromExtension("a.kpt"), 0);
    EXPECT_EQ(FormatIndexFromExtension("noextension"), 0);
    EXPECT_EQ(FormatIndexFromExtension("C:\\x.bmp\\file"), 0);
    EXPECT_EQ(FormatIndexFromExtension("a."), 0);
}

TEST(DocumentFileNames, SaveAllNumbersEveryDocument)
{
    std::vector<std::string> nine = SaveAllFileNames("C:\\a.bmp", 9);
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine.front(), "C:\\a1.bmp");
    EXPECT_EQ(nine.back(), "C:\\a9.bmp");

    std::vector<std::string> ten = SaveAllFileNames("C:\\a.bmp", 10);
    EXPECT_EQ(ten.front(), "C:\\a01.bmp");
    EXPECT_EQ(ten[8], "C:\\a09.bmp");
    EXPECT_EQ(ten.back(), "C:\\a10.bmp");

    // The folder's dots and digits are left alone.
    std::vector<std::string> dotted = SaveAllFileNames("C:\\v1.9\\shot", 2);
    EXPECT_EQ(dotted[0], "C:\\v1.9\\shot1");
    EXPECT_EQ(dotted[1], "C:\\v1.9\\shot2");
    EXPECT_TRUE(SaveAllFileNames("a.bmp", 0).empty());
    EXPECT_EQ(DecimalDigitCount(0), 1);
    EXPECT_EQ(DecimalDigitCount(100), 3);
}

TEST(ImageDocLayout, CanvasIsTheBoundingBoxWithMargins)
{
    ImageRect first = PlacementForIndex(0, 100, 40);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.right, 100);
    CanvasSize single = CanvasAround({first}, 5, 5);
    EXPECT_EQ(single.width, 110);
    EXPECT_EQ(single.height, 50);

    ImageRect second = PlacementForIndex(1, 100, 40);
    EXPECT_EQ(second.top, 50);
    CanvasSize merged = CanvasAround({first, second}, 5, 7);
    EXPECT_EQ(merged.width, 160);
    EXPECT_EQ(merged.height, 104);

    // A placement pushed left of the origin widens the canvas by as much.
    ImageRect moved = first;
    OffsetPlacement(moved, -20, 0);
    EXPECT_EQ(CanvasAround({moved, second}, 0, 0).width, 170);
    EXPECT_TRUE(RectContains(second, 50, 89));
    EXPECT_FALSE(RectContains(second, 150, 60));
    EXPECT_EQ(CanvasAround({}, 5, 5).width, 10);
}

class NoteFiles : public testing::Test {
protected:
    void SetUp() override
    {
        liveBlocks = KernelLiveBlockCount();
        dir = kit::ScratchDir() + "/notes-";
    }
    void TearDown() override { EXPECT_EQ(KernelLiveBlockCount(), liveBlocks); }
    size_t liveBlocks = 0;
    std::string dir;
};

TEST_F(NoteFiles, SideFileRoundTripKeepsTheTextAndItsZero)
{
    DisplayImage image;
    ASSERT_TRUE(SetNoteText(image, "line 1\r\nline 2", 14));
    EXPECT_EQ(image.noteLength, 15);
    const std::string path = dir + "shot.bmp";
    ASSERT_TRUE(WriteNoteSideFile(image, path.c_str()));
    std::vector<uint8_t> bytes = kit::ReadBytes(dir + "shot.txt");
    ASSERT_EQ(bytes.size(), 15u);
    EXPECT_EQ(bytes.back(), 0);

    DisplayImage loaded;
    EXPECT_TRUE(ReadNoteSideFile(loaded, path.c_str()));
    EXPECT_EQ(NoteOf(loaded), "line 1\r\nline 2");
    EXPECT_EQ(loaded.noteLength, 15);
}

// A disk that fills up while a side file is written, as a limit on the
// size of the files this process may write.
class DiskFullAt {
public:
    explicit DiskFullAt(rlim_t bytes)
    {
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskFullAt()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_;
    void (*oldHandler_)(int);
};

// The new note goes to a temporary file first: a write that fails on the
// way keeps the old side file whole, and says so.
TEST_F(NoteFiles, SideFileThatCannotBeWrittenKeepsTheOldOne)
{
    const std::vector<uint8_t> old = {'o', 'l', 'd', 0};
    kit::WriteBytes(dir + "full.txt", old);
    DisplayImage image;
    const std::string longNote(64 * 1024, 'n');
    ASSERT_TRUE(SetNoteText(image, longNote.c_str(), longNote.size()));
    bool written = true;
    {
        DiskFullAt full(4096);
        written = WriteNoteSideFile(image, (dir + "full.bmp").c_str());
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(kit::ReadBytes(dir + "full.txt"), old);
    ClearNote(image);
}

TEST_F(NoteFiles, TextWithoutFinalZeroIsReadWhole)
{
    kit::WriteBytes(dir + "plain.txt", {'a', 'b', 'c'});
    DisplayImage image;
    SetNoteText(image, "old note", 8);
    ASSERT_TRUE(ReadNoteTextFile(image, (dir + "plain.txt").c_str()));
    EXPECT_EQ(NoteOf(image), "abc");
    EXPECT_EQ(image.noteLength, 4);
    EXPECT_FALSE(ReadNoteTextFile(image, (dir + "absent.txt").c_str()));
    EXPECT_EQ(NoteOf(image), "abc");
    ClearNote(image);
}

TEST_F(NoteFiles, PngAndKptKeepTheirOwnNote)
{
    kit::WriteBytes(dir + "pic.txt", {'s', 'i', 'd', 'e', 0});
    DisplayImage png;
    EXPECT_FALSE(ReadNoteSideFile(png, (dir + "pic.png").c_str()));
    EXPECT_FALSE(ReadNoteSideFile(png, (dir + "pic.kpt").c_str()));
    EXPECT_EQ(png.hNote, 0u);
    DisplayImage bmp;
    EXPECT_TRUE(ReadNoteSideFile(bmp, (dir + "pic.bmp").c_str()));
    EXPECT_EQ(NoteOf(bmp), "side");

    // No note: no side file is written, an old one stays.
    DisplayImage empty;
    EXPECT_TRUE(WriteNoteSideFile(empty, (dir + "pic.bmp").c_str()));
    EXPECT_EQ(kit::ReadBytes(dir + "pic.txt").size(), 5u);
}

TEST_F(NoteFiles, LibraryNoteWithoutZeroGetsOne)
{
    HGLOBAL block = GlobalAlloc(GHND, 3);
    {
        BlockLock lock(block);
        std::memcpy(lock.data(), "xyz", 3);
    }
    DisplayImage image;
    AdoptNoteBlock(image, block);
    EXPECT_EQ(NoteOf(image), "xyz");
    EXPECT_EQ(image.noteLength, 4);
    // An empty note block is no note.
    AdoptNoteBlock(image, GlobalAlloc(GHND, 8));
    EXPECT_EQ(image.hNote, 0u);
    EXPECT_EQ(image.noteLength, 0);
}

class ImageFiles : public NoteFiles {
protected:
    void SetUp() override
    {
        NoteFiles::SetUp();
        Format[kFormatReduceOnSave] = 0;
        Format[kFormatSaveAs] = kTypeBmp;
    }
    void TearDown() override
    {
        Format[kFormatReduceOnSave] = 0;
        NoteFiles::TearDown();
    }
    // A 24-bit image with colours colour(x, y).
    template <class ColorAt>
    static void Paint(DisplayImage& image, int width, int height, ColorAt colorAt)
    {
        Shape(image, width, height, 24);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixel(image, x, y, colorAt(x, y));
    }
};

TEST_F(ImageFiles, SavedBmpLoadsBackWithItsSideNote)
{
    DisplayImage image;
    Paint(image, 7, 5, [](int x, int y) { return Bgr(uint8_t(30 * x), uint8_t(40 * y), 200); });
    SetNoteText(image, "hello", 5);
    const std::string path = dir + "saved.bmp";
    snprintf(FileNameSave, sizeof FileNameSave, "%s", path.c_str());
    image.status = kStatusGrayscale;
    ASSERT_TRUE(ExportImageWithNote(image));
    EXPECT_EQ(image.status, 0);

    DisplayImage loaded;
    ASSERT_TRUE(LoadImageFile(&loaded, path.c_str()));
    EXPECT_EQ(loaded.bitCount, 24);
    EXPECT_EQ(loaded.width, 7);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(GetPixel(loaded, x, y), GetPixel(image, x, y));
    EXPECT_TRUE(ReadNoteSideFile(loaded, path.c_str()));
    EXPECT_EQ(NoteOf(loaded), "hello");
}

TEST_F(ImageFiles, PngKeepsTheNoteInsideAndWritesNoSideFile)
{
    DisplayImage image;
    Paint(image, 4, 4, [](int x, int) { return Bgr(uint8_t(x), 0, 0); });
    SetNoteText(image, "inside", 6);
    const std::string path = dir + "noted.png";
    std::remove((dir + "noted.txt").c_str());
    snprintf(FileNameSave, sizeof FileNameSave, "%s", path.c_str());
    Format[kFormatSaveAs] = kTypePng;
    ASSERT_TRUE(ExportImageWithNote(image));
    EXPECT_FALSE(kit::FileExists(dir + "noted.txt"));

    DisplayImage loaded;
    ASSERT_TRUE(LoadImageFile(&loaded, path.c_str()));
    EXPECT_TRUE(ReadNoteSideFile(loaded, path.c_str()));
    EXPECT_EQ(NoteOf(loaded), "inside");
}

TEST_F(ImageFiles, ReductionOnSaveWritesTheSmallestExactDepth)
{
    Format[kFormatReduceOnSave] = 1;
    DisplayImage twoColors;
    Paint(twoColors, 9, 3, [](int x, int y) { return (x + y) % 2 ? Bgr(255, 0, 0) : Bgr(0, 0, 255); });
    ExportImageToFile(twoColors, (dir + "two.bmp").c_str(), kTypeBmp);
    ASSERT_EQ(twoColors.status, 0);
    EXPECT_EQ(twoColors.bitCount, 24);   // the source itself is not changed
    DisplayImage two;
    ASSERT_TRUE(LoadImageFile(&two, (dir + "two.bmp").c_str()));
    EXPECT_EQ(two.bitCount, 1);

    DisplayImage many;
    Paint(many, 20, 15, [](int x, int y) { return Bgr(uint8_t(x), uint8_t(y), 7); });   // 300 colours
    ExportImageToFile(many, (dir + "many.bmp").c_str(), kTypeBmp);
    DisplayImage deep;
    ASSERT_TRUE(LoadImageFile(&deep, (dir + "many.bmp").c_str()));
    EXPECT_EQ(deep.bitCount, 24);

    DisplayImage tenColors;
    Paint(tenColors, 10, 2, [](int x, int) { return Bgr(uint8_t(20 * x), 0, 0); });
    DisplayImage* reduced = AutoReduceColors(tenColors);
    ASSERT_NE(reduced, nullptr);
    EXPECT_EQ(reduced->bitCount, 4);
    EXPECT_EQ(AutoReduceColors(*reduced), nullptr);   // 4 bits is not reduced further
    delete reduced;
}

TEST_F(ImageFiles, BadFilesLoadNothing)
{
    DisplayImage absent;
    EXPECT_FALSE(LoadImageFile(&absent, (dir + "nowhere.bmp").c_str()));
    EXPECT_EQ(absent.status, kErrCannotOpen);
    EXPECT_EQ(absent.hPixels, 0u);

    kit::WriteBytes(dir + "corrupt.bmp", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9});
    DisplayImage corrupt;
    EXPECT_FALSE(LoadImageFile(&corrupt, (dir + "corrupt.bmp").c_str()));
    EXPECT_NE(corrupt.status, 0);
    EXPECT_EQ(corrupt.hPixels, 0u);
    EXPECT_EQ(corrupt.hHeader, 0u);
}

TEST_F(ImageFiles, FailedSaveKeepsTheOldFileAndTheStatus)
{
    DisplayImage image;
    Paint(image, 3, 3, [](int, int) { return Bgr(1, 2, 3); });
    image.status = kStatusLoadedFromFile;
    snprintf(FileNameSave, sizeof FileNameSave, "%s", (dir + "absent-folder/x.bmp").c_str());
    EXPECT_FALSE(ExportImageWithNote(image));
    EXPECT_EQ(image.status, kStatusLoadedFromFile);

    // An image without sound blocks is refused, not written.
    DisplayImage empty;
    const std::string path = dir + "kept.bmp";
    kit::WriteBytes(path, {1, 2, 3});
    ExportImageToFile(empty, path.c_str(), kTypeBmp);
    EXPECT_NE(empty.status, 0);
    EXPECT_EQ(kit::ReadBytes(path).size(), 3u);
}

}  // namespace
