// What the Open and Save As dialogs and the folder-tree bar decide without a
// window: the format a chosen name stands for, the names they start with,
// the size line, the preview's place, the files the tree lists and their
// order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ExplorerNames.h"
#include "FileDialogRules.h"

TEST(SaveAsRules, TheTypedExtensionWinsAndABareNameGetsTheChosenEntrys)
{
    EXPECT_EQ(SaveTypeOfName("C:\\shots\\a.PNG", 1), 8);   // typed under "BMP Format"
    EXPECT_EQ(SaveTypeOfName("a.gif", 5), 5);
    EXPECT_EQ(SaveTypeOfName("a.gif", 4), 4);
    EXPECT_EQ(SaveTypeOfName("a.GIF", 1), 4);
    const char* const names[] = {"bmp", "clp", "dib", "gif", "gif", "jpg", "pcx", "png", "rle", "tif", "wpg"};
    for (int entry = 1; entry <= kSaveFormatCount; ++entry) {
        const std::string chosen = WithDefaultExtension("C:\\shots\\out", entry);
        EXPECT_EQ(chosen, std::string("C:\\shots\\out.") + names[entry - 1]);
        EXPECT_EQ(SaveTypeOfName(chosen, entry), entry) << chosen;
    }
    EXPECT_EQ(WithDefaultExtension("out.png", 1), "out.png");
    EXPECT_EQ(WithDefaultExtension("out", 0), "out");
    EXPECT_EQ(SaveTypeOfName("x.abc", 1), 0);
    EXPECT_EQ(SaveTypeOfName("x.ico", 1), 0);   // read, never written
    EXPECT_EQ(SaveTypeOfName("x", 1), 0);
}

TEST(SaveAsRules, ADotInAFolderIsNoExtension)
{
    EXPECT_EQ(WithDefaultExtension("C:\\my.shots\\out", 6), "C:\\my.shots\\out.jpg");
    EXPECT_EQ(SaveTypeOfName("C:\\my.png\\out", 1), 0);
    EXPECT_EQ(CaptureFileStartName("C:\\my.shots\\shot1.bmp"), "shot1");
    EXPECT_EQ(CaptureFileStartName("C:\\my.shots\\shot1"), "shot1");
    EXPECT_EQ(CaptureFileStartFolder("C:\\my.shots\\shot1.bmp"), "C:\\my.shots");
    EXPECT_EQ(SaveStartFolder("C:\\my.shots\\saved.bmp"), "C:\\my.shots");
    EXPECT_EQ(SaveStartFolder("C:\\my.shots\\saved"), "C:\\my.shots\\saved");
    EXPECT_EQ(SaveStartFolder(""), "");
}

TEST(OpenDialogRules, SizeLineGroupsThousands)
{
    EXPECT_EQ(PathLineWithSize("C:\\a.bmp", 1234567), "Path:  C:\\a.bmp   (1,234,567 Bytes)");
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(5000000000ULL), "5,000,000,000");
}

TEST(OpenDialogRules, PreviewFitsTheBox)
{
    auto same = [](PreviewRect r, PreviewRect want) {
        return r.x == want.x && r.y == want.y && r.width == want.width && r.height == want.height;
    };
    EXPECT_TRUE(same(FitPreview(1000, 500, 130), {3, 34, 130, 65}));
    EXPECT_TRUE(same(FitPreview(100, 50, 130), {15, 40, 100, 50}));
    EXPECT_TRUE(same(FitPreview(500, 1000, 130), {34, 3, 65, 130}));
    EXPECT_TRUE(same(FitPreview(130, 10, 130), {3, 62, 130, 10}));
    // Sizes far past the box scale without overflow; empty images draw nothing.
    EXPECT_TRUE(same(FitPreview(2000000000, 1, 130), {3, 67, 130, 0}));
    EXPECT_TRUE(same(FitPreview(0, 10, 130), {0, 0, 0, 0}));
}

TEST(ExplorerNames, ImageFilesByTheirLastExtension)
{
    for (const char* name : {"a.bmp", "b.CLP", "c.cur", "d.dib", "e.kpt", "f.Gif", "g.ico", "h.jpg", "i.pcx",
                             "j.png", "k.rle", "l.TIF", "m.wpg", "x.txt.png"})
        EXPECT_TRUE(IsImageFileName(name)) << name;
    for (const char* name : {"notes.txt", "png", "a.png.txt", "a.jpeg", "a.", ""})
        EXPECT_FALSE(IsImageFileName(name)) << name;
}

TEST(ExplorerNames, FoldersBeforeFilesEachByNameWithoutCase)
{
    struct Item {
        int image;
        std::string text;
    };
    std::vector<Item> items = {{4, "z.bmp"}, {2, "b"}, {4, "a.GIF"}, {2, "A"}};
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return CompareExplorerItems(a.image, a.text, b.image, b.text) < 0;
    });
    std::string order;
    for (const Item& item : items)
        order += item.text + " ";
    EXPECT_EQ(order, "A b a.GIF z.bmp ");
    EXPECT_EQ(CompareExplorerItems(2, "Abc", 2, "aBC"), 0);
    EXPECT_LT(CompareExplorerItems(2, "ab", 2, "abc"), 0);
}
