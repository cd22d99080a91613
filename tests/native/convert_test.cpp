// The batch converter's window-free rules: which files each list shows, the
// names converted files get, the remembered choices, the folder walk, and
// one file through the format library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "ImageTestKit.h"
#include "convert/ConvertFile.h"
#include "convert/ConvertTables.h"
#include "convert/FolderWalk.h"

namespace {

TEST(ConvertFormats, InputListShowsSupportedExtensionsWithoutRegardToCase)
{
    EXPECT_TRUE(MatchesInputFormat("photo.JPG", 0));
    EXPECT_TRUE(MatchesInputFormat("photo.JPG", 8));
    EXPECT_FALSE(MatchesInputFormat("photo.JPG", 1));
    EXPECT_FALSE(MatchesInputFormat("photo.jpeg", 0));
    EXPECT_FALSE(MatchesInputFormat("photo", 0));
    EXPECT_FALSE(MatchesInputFormat("photo.", 0));
    EXPECT_TRUE(MatchesInputFormat("a.b.Tif", 12));
    EXPECT_FALSE(MatchesInputFormat("tif.bmp.txt", 0));
    // An index outside the list matches nothing rather than reading past it.
    EXPECT_FALSE(MatchesInputFormat("a.bmp", -1));
    EXPECT_FALSE(MatchesInputFormat("a.bmp", kInputFormatCount));
    EXPECT_FALSE(MatchesInputFormat(nullptr, 0));
    for (int i = 1; i < kInputFormatCount; ++i)
        EXPECT_TRUE(MatchesInputFormat((std::string("x.") + kInputFormats[i].extension).c_str(), 0)) << i;
}

TEST(ConvertFormats, OutputListAndNames)
{
    EXPECT_TRUE(MatchesOutputFormat("a.GIF", 3));
    EXPECT_TRUE(MatchesOutputFormat("a.gif", 4));   // the interlaced entry lists the same files
    EXPECT_FALSE(MatchesOutputFormat("a.gif", 0));
    EXPECT_FALSE(MatchesOutputFormat("a.gif", kOutputFormatCount));
    EXPECT_EQ(kOutputFormats[4].exportType, 5);
    for (int i = 0; i < kOutputFormatCount; ++i)
        EXPECT_EQ(kOutputFormats[i].exportType, i + 1);

    EXPECT_EQ(OutputFileName("a.bmp", "gif"), "a.gif");
    EXPECT_EQ(OutputFileName("holiday.2024.JPG", "png"), "holiday.2024.png");
    EXPECT_EQ(OutputFileName("short.ti", "bmp"), "short.bmp");   // no bytes past the name
    EXPECT_EQ(OutputFileName("plain", "png"), "plain.png");
    EXPECT_EQ(JoinPath("C:", "a.bmp"), "C:\\a.bmp");
    EXPECT_EQ(JoinPath("C:\\", "a.bmp"), "C:\\a.bmp");
}

TEST(ConvertSettings, ValuesAndFallbacks)
{
    struct Case {
        const char* value;
        int details, input, output;
    };
    const Case cases[] = {
        {"", 1, 0, 0},            // nothing stored: details shown, all formats, BMP
        {"0", 0, 1, 0},           // one token: the second defaults to 1
        {"1,0", 1, 0, 0},
        {"0,8,7", 0, 8, 7},
        {" 1 , 13 , 10 ", 1, 13, 10},
        {"1,14,11", 1, 0, 0},     // past the lists: defaults
        {"1,-1,-5", 1, 0, 0},
        {",,,", 1, 0, 0},         // only commas
        {"x,y,z", 1, 0, 0},       // hand-broken
        {"5,3abc,2", 1, 0, 2},    // any non-zero flag shows the details
        {"1,99999999999,4", 1, 0, 4},
    };
    for (const Case& c : cases) {
        ConvertSettings s = ParseConvertSettings(c.value);
        EXPECT_EQ(s.detailsShown, c.details) << c.value;
        EXPECT_EQ(s.inputFormat, c.input) << c.value;
        EXPECT_EQ(s.outputFormat, c.output) << c.value;
    }
    EXPECT_EQ(ParseConvertSettings(nullptr).detailsShown, 1);
    ConvertSettings chosen;
    chosen.detailsShown = 0;
    chosen.inputFormat = 6;
    chosen.outputFormat = 9;
    EXPECT_EQ(FormatConvertSettings(chosen), "0,6,9");
    ConvertSettings back = ParseConvertSettings(FormatConvertSettings(chosen).c_str());
    EXPECT_EQ(back.detailsShown, 0);
    EXPECT_EQ(back.inputFormat, 6);
    EXPECT_EQ(back.outputFormat, 9);
}

// A folder tree in a table: path -> entries.
class TableSource : public FolderSource {
public:
    std::map<std::string, std::vector<FolderEntry>> folders;
    std::vector<std::string> listed;
    bool List(const std::string& folder, std::vector<FolderEntry>& entries) override
    {
        listed.push_back(folder);
        auto found = folders.find(folder);
        if (found == folders.end())
            return false;
        entries = found->second;
        return true;
    }
    void Add(const std::string& folder, const std::string& name, bool isFolder)
    {
        folders[folder].push_back({name, isFolder});
    }
};

// Records each added folder as "parent path\name".
class RecordingTree : public FolderTreeSink {
public:
    std::vector<std::string> paths{"root"};
    FolderItem AddFolder(FolderItem parent, const std::string& name) override
    {
        paths.push_back(paths.at(parent) + "\\" + name);
        return paths.size() - 1;
    }
};

TEST(ConvertFolderWalk, ListsTwoLevelsOfAWideTreeWithoutLimit)
{
    TableSource source;
    source.Add("C:", ".", true);
    source.Add("C:", "..", true);
    source.Add("C:", "readme.txt", false);
    const int wide = 3000;   // wider than any fixed stack
    for (int i = 0; i < wide; ++i) {
        std::string name = "d" + std::to_string(i);
        source.Add("C:", name, true);
        source.Add("C:\\" + name, "inner", true);
        source.Add("C:\\" + name + "\\inner", "deep", true);
    }
    RecordingTree tree;
    FolderWalk walk;
    walk.Push(0, "C:", 2);
    size_t most = 0;
    while (!walk.Empty()) {
        walk.ListNext(source, tree);
        most = std::max(most, walk.Size());
    }
    EXPECT_EQ(most, size_t(wide));
    // Children and grandchildren, never the third level, files or dot entries.
    EXPECT_EQ(tree.paths.size(), size_t(1 + 2 * wide));
    EXPECT_EQ(tree.paths[1], "root\\d0");
    EXPECT_NE(std::find(tree.paths.begin(), tree.paths.end(), "root\\d2999\\inner"), tree.paths.end());
    EXPECT_EQ(std::find(tree.paths.begin(), tree.paths.end(), "root\\d0\\inner\\deep"), tree.paths.end());
    EXPECT_EQ(std::count(source.listed.begin(), source.listed.end(), "C:\\d7"), 1);
}

TEST(ConvertFolderWalk, UnlistableFoldersAndFileNames)
{
    TableSource source;
    source.Add("D:", "locked", true);
    source.Add("D:", "b.png", false);
    source.Add("D:", "..", true);
    RecordingTree tree;
    FolderWalk walk;
    walk.Push(0, "D:", 2);
    walk.Push(0, "E:", 1);   // cannot be listed: adds nothing
    while (!walk.Empty())
        walk.ListNext(source, tree);
    EXPECT_EQ(tree.paths, (std::vector<std::string>{"root", "root\\locked"}));
    walk.ListNext(source, tree);   // an empty stack is left alone
    EXPECT_EQ(ListFileNames(source, "D:"), std::vector<std::string>{"b.png"});
    EXPECT_TRUE(ListFileNames(source, "missing").empty());
}

// ---- One file through the format library ----------------------------------------

class ConvertFileTest : public ::testing::Test {
protected:
    std::string dir = kit::ScratchDir() + "/convert";
    void SetUp() override { std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()); }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    void WriteImage(const std::string& name, int bits, int type)
    {
        kit::OwnedRecord image;
        kit::FillTestImage(image.record, 37, 21, bits);
        ExportImageFile(&image.record, Path(name).c_str(), type);
        ASSERT_EQ(int(image->error), 0);
    }
};

TEST_F(ConvertFileTest, ConvertsAndFreesEveryBlock)
{
    WriteImage("four.bmp", 4, kTypeBmp);
    WriteImage("deep.bmp", 24, kTypeBmp);
    size_t blocks = KernelLiveBlockCount();
    for (int round = 0; round < 3; ++round) {
        ConvertResult png = ConvertImageFile(Path("four.bmp"), Path("four.png"), kTypePng);
        EXPECT_TRUE(png.converted);
        EXPECT_EQ(png.status, "Successful");
        EXPECT_EQ(png.from, Path("four.bmp"));
        EXPECT_EQ(png.to, Path("four.png"));
        // A refused write frees the image as well.
        ConvertResult gif = ConvertImageFile(Path("deep.bmp"), Path("deep.gif"), kTypeGif);
        EXPECT_FALSE(gif.converted);
        EXPECT_EQ(gif.from, "Cannot convert to " + Path("deep.gif") +
                                ", GIF format doesn't support 24-bit image. Please use other format.");
        EXPECT_EQ(gif.to, "");
        EXPECT_EQ(gif.status, "Failed");
    }
    EXPECT_EQ(KernelLiveBlockCount(), blocks);
    EXPECT_FALSE(kit::FileExists(Path("deep.gif")));

    kit::OwnedRecord source(*ImportImageFile(Path("four.bmp").c_str()));
    kit::OwnedRecord result(*ImportImageFile(Path("four.png").c_str()));
    ASSERT_NE(uint32_t(result->hBits), 0u);
    EXPECT_EQ(kit::ToRgb(result.record), kit::ToRgb(source.record));
}

TEST_F(ConvertFileTest, UnreadableFilesGetTheirReason)
{
    kit::WriteBytes(Path("cut.png"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0});
    ConvertResult cut = ConvertImageFile(Path("cut.png"), Path("cut.bmp"), kTypeBmp);
    EXPECT_FALSE(cut.converted);
    EXPECT_EQ(cut.from.rfind("Cannot read " + Path("cut.png") + ", ", 0), 0u) << cut.from;
    EXPECT_EQ(cut.status, "Failed");
    EXPECT_FALSE(kit::FileExists(Path("cut.bmp")));

    ConvertResult missing = ConvertImageFile(Path("gone.bmp"), Path("gone.png"), kTypePng);
    EXPECT_EQ(missing.from, "Cannot read " + Path("gone.bmp") + ", Cannot open this file.");
}

TEST_F(ConvertFileTest, AnEmptyOutputIsNoSuccess)
{
    // A type code the library has no writer for: it creates the file, writes
    // nothing and reports no error. The converter calls that a failure and
    // leaves no empty file behind.
    const int kNoWriter = kTypeWpg + 1;
    WriteImage("small.bmp", 8, kTypeBmp);
    ConvertResult empty = ConvertImageFile(Path("small.bmp"), Path("small.out"), kNoWriter);
    EXPECT_FALSE(empty.converted);
    EXPECT_EQ(empty.status, "Failed");
    EXPECT_EQ(empty.from, "Cannot convert to " + Path("small.out") + ", Cannot create this file.");
    EXPECT_FALSE(kit::FileExists(Path("small.out")));
    // A format that writes something is a success.
    EXPECT_TRUE(ConvertImageFile(Path("small.bmp"), Path("small.tif"), kTypeTif).converted);
    EXPECT_FALSE(kit::ReadBytes(Path("small.tif")).empty());
}

TEST_F(ConvertFileTest, FailedWritesKeepTheOriginal)
{
    // A refused write: a 24-bit picture cannot become a GIF, and the GIF of
    // that name already there stays as it was.
    WriteImage("photo.bmp", 24, kTypeBmp);
    WriteImage("photo.gif", 8, kTypeGif);
    std::vector<uint8_t> photo = kit::ReadBytes(Path("photo.gif"));
    EXPECT_FALSE(ConvertImageFile(Path("photo.bmp"), Path("photo.gif"), kTypeGif).converted);
    EXPECT_EQ(kit::ReadBytes(Path("photo.gif")), photo);

    // A rewrite in place that cannot be written. The library writes a
    // temporary file first: beside the target, or in the temporary folder
    // when the target's folder leaves no room for its name. A folder that
    // deep and a temporary folder that does not exist make the write fail.
    const size_t folderLength = MAX_PATH - 12;  // more than MAX_PATH - 14; the file's path stays below MAX_PATH
    std::string name;
    while (dir.size() + 1 + name.size() < folderLength)
        name += (name.empty() ? "" : "/") + std::string(std::min<size_t>(40, folderLength - dir.size() - 2 - name.size()), 'd');
    ASSERT_EQ(std::system(("mkdir -p '" + Path(name) + "'").c_str()), 0);
    name += "/same.gif";
    ASSERT_LT(Path(name).size(), size_t(MAX_PATH));
    WriteImage(name, 8, kTypeGif);
    std::vector<uint8_t> original = kit::ReadBytes(Path(name));
    std::string temporaryFolder = getenv("TMPDIR") ? getenv("TMPDIR") : "";
    setenv("TMPDIR", Path("no-such-folder").c_str(), 1);
    ConvertResult again = ConvertImageFile(Path(name), Path(name), kTypeGif);
    if (temporaryFolder.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", temporaryFolder.c_str(), 1);
    EXPECT_FALSE(again.converted);
    EXPECT_EQ(again.from, "Cannot convert to " + Path(name) + ", Cannot create this file.");
    EXPECT_EQ(kit::ReadBytes(Path(name)), original);

    EXPECT_TRUE(ConvertImageFile(Path(name), Path(name), kTypeGifInterlaced).converted);
    kit::OwnedRecord back(*ImportImageFile(Path(name).c_str()));
    EXPECT_EQ(int(back->width), 37);
}

}  // namespace
