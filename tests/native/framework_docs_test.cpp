// The window-free half of the framework's documents and frames under the
// sanitizers: template strings, the recent-file list with its ini keys, and
// window placement text.
#ifdef KFRAMEWORK_FRAME_CORE_LINKED
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "framework/DocTemplateStrings.h"
#include "framework/RecentFileList.h"
#include "framework/WindowPlacementText.h"

namespace {

std::string ScratchIni(const char* name)
{
    const char* dir = std::getenv("TEST_SCRATCH");
    std::string path = std::string(dir ? dir : "/tmp") + "/" + name;
    std::remove(path.c_str());
    return path;
}

std::string ReadKey(const std::string& ini, const char* key)
{
    char buffer[512];
    GetPrivateProfileStringA("Recent File List", key, "<none>", buffer, sizeof buffer, ini.c_str());
    return buffer;
}

} // namespace

TEST(FrameworkDocStrings, SplitsPartsAndFillsMissingOnes)
{
    CString browser("Pixorama 99\n\nPixora\n\n\nPixorama.Document\nPixora Document");
    CString part;
    ASSERT_TRUE(KfGetDocStringPart(browser, kDocWindowTitle, part));
    EXPECT_EQ(part, "Pixorama 99");
    KfGetDocStringPart(browser, kDocName, part);
    EXPECT_EQ(part, "");
    KfGetDocStringPart(browser, kDocFileNewName, part);
    EXPECT_EQ(part, "Pixora");
    KfGetDocStringPart(browser, kDocRegFileTypeId, part);
    EXPECT_EQ(part, "Pixorama.Document");
    KfGetDocStringPart(browser, kDocRegFileTypeName, part);
    EXPECT_EQ(part, "Pixora Document");

    // A bare title names nothing else.
    CString bare("Kaptura 99");
    for (int i = kDocName; i < kDocStringPartCount; ++i) {
        part = "stale";
        EXPECT_TRUE(KfGetDocStringPart(bare, i, part));
        EXPECT_EQ(part, "") << i;
    }
    EXPECT_FALSE(KfGetDocStringPart(bare, -1, part));
    EXPECT_FALSE(KfGetDocStringPart(bare, kDocStringPartCount, part));

    EXPECT_EQ(KfUntitledTitle(bare, 0), "Untitled");
    EXPECT_EQ(KfUntitledTitle(CString("T\nShot"), 3), "Shot3");
}

TEST(FrameworkDocStrings, FilterExtensionInItsForms)
{
    EXPECT_EQ(KfDocFilterExtension(CString("T\nD\nN\nImages\n*.kpt")), ".kpt");
    EXPECT_EQ(KfDocFilterExtension(CString("T\nD\nN\nImages\n.bmp;.dib\nX")), ".bmp");
    EXPECT_EQ(KfDocFilterExtension(CString("T\nD\nN\nImages\npng")), ".png");
    EXPECT_EQ(KfDocFilterExtension(CString("T\nD\nN\nImages\n*.*")), ".*");
    EXPECT_EQ(KfDocFilterExtension(CString("T\nD\nN\nImages\n*")), "");
    EXPECT_EQ(KfDocFilterExtension(CString("Kaptura 99")), "");
}

TEST(FrameworkRecentFiles, NewestFirstWithoutRepeatsAndCapped)
{
    CRecentFileList list(0xE110, "Recent File List", "File%d", 4);
    list.Add("C:\\a.bmp");
    list.Add("C:\\b.bmp");
    list.Add("C:\\c.bmp");
    list.Add("C:\\A.BMP");   // the same file: moves up, no second entry
    EXPECT_EQ(list[0], "C:\\A.BMP");
    EXPECT_EQ(list[1], "C:\\c.bmp");
    EXPECT_EQ(list[2], "C:\\b.bmp");
    EXPECT_EQ(list[3], "");

    list.Add("C:\\d.bmp");
    list.Add("C:\\e.bmp");   // full: the oldest (b) drops off
    EXPECT_EQ(list[0], "C:\\e.bmp");
    EXPECT_EQ(list[3], "C:\\c.bmp");
    list.Add("");
    EXPECT_EQ(list[0], "C:\\e.bmp");

    list.Remove(1);
    EXPECT_EQ(list[1], "C:\\A.BMP");
    EXPECT_EQ(list[3], "");
    list.Remove(7);
    list.Remove(-1);
    EXPECT_EQ(list[4], "");
    EXPECT_EQ(list[-1], "");
}

TEST(FrameworkRecentFiles, PersistsInTheIniAndReadsBackCompact)
{
    std::string ini = ScratchIni("recent_files.ini");
    CRecentFileList written(0xE110, "Recent File List", "File%d", 4);
    written.SetProfileName(ini.c_str());
    written.Add("C:\\one.gif");
    written.Add("C:\\two.gif");
    written.WriteList();
    EXPECT_EQ(ReadKey(ini, "File1"), "C:\\two.gif");
    EXPECT_EQ(ReadKey(ini, "File2"), "C:\\one.gif");
    EXPECT_EQ(ReadKey(ini, "File3"), "<none>");

    // Removing an entry removes its key at the next write.
    written.Remove(0);
    written.WriteList();
    EXPECT_EQ(ReadKey(ini, "File1"), "C:\\one.gif");
    EXPECT_EQ(ReadKey(ini, "File2"), "<none>");

    // An edited file with gaps, repeats and an unusably long value.
    WritePrivateProfileStringA("Recent File List", "File1", "", ini.c_str());
    WritePrivateProfileStringA("Recent File List", "File2", "C:\\x.png", ini.c_str());
    WritePrivateProfileStringA("Recent File List", "File3", "c:\\X.PNG", ini.c_str());
    WritePrivateProfileStringA("Recent File List", "File4", std::string(2000, 'p').c_str(), ini.c_str());
    WritePrivateProfileStringA("Recent File List", "File5", "C:\\beyond.png", ini.c_str());
    CRecentFileList read(0xE110, "Recent File List", "File%d", 4);
    read.SetProfileName(ini.c_str());
    read.Add("C:\\stale.png");
    read.ReadList();
    EXPECT_EQ(read[0], "C:\\x.png");
    EXPECT_EQ(read[1], "");
    EXPECT_EQ(read[3], "");

    // Without an ini nothing is touched.
    CRecentFileList none(0xE110, "Recent File List", "File%d", 4);
    none.Add("C:\\kept.png");
    none.ReadList();
    none.WriteList();
    EXPECT_EQ(none[0], "C:\\kept.png");
}

TEST(FrameworkRecentFiles, DisplayNamesAndMenuTexts)
{
    CRecentFileList list(0xE110, "Recent File List", "File%d", 4, 30);
    list.Add("C:\\Shots\\very long folder name\\deeper still\\capture one.bmp");
    list.Add("C:\\Shots\\short.bmp");
    CString name;
    ASSERT_TRUE(list.GetDisplayName(name, 0, "C:\\Shots"));
    EXPECT_EQ(name, "short.bmp");
    ASSERT_TRUE(list.GetDisplayName(name, 0, "D:\\Other\\"));
    EXPECT_EQ(name, "C:\\Shots\\short.bmp");
    ASSERT_TRUE(list.GetDisplayName(name, 1, "D:\\"));
    EXPECT_EQ(name, "C:\\...\\capture one.bmp");
    EXPECT_LE(name.GetLength(), 30);
    EXPECT_EQ(KfAbbreviatePath(CString("C:\\aaaa\\bbbb\\cccc\\d.bmp"), 16, TRUE), "C:\\...\\d.bmp");
    EXPECT_FALSE(list.GetDisplayName(name, 2, "D:\\"));

    EXPECT_EQ(KfAbbreviatePath(CString("C:\\a\\b\\c\\d.bmp"), 40, TRUE), "C:\\a\\b\\c\\d.bmp");
    EXPECT_EQ(KfAbbreviatePath(CString("C:\\aaaa\\bbbb\\cccc\\d.bmp"), 17, TRUE), "C:\\...\\cccc\\d.bmp");
    EXPECT_EQ(KfAbbreviatePath(CString("\\\\server\\share\\deep\\folder\\x.bmp"), 27, TRUE),
              "\\\\server\\share\\...\\x.bmp");
    EXPECT_EQ(KfAbbreviatePath(CString("C:\\folder\\a-very-long-file-name.bmp"), 10, TRUE),
              "a-very-long-file-name.bmp");
    EXPECT_EQ(KfAbbreviatePath(CString("C:\\folder\\a-very-long-file-name.bmp"), 10, FALSE), "a-very-lon");

    EXPECT_EQ(KfRecentMenuText(0, CString("C:\\R&D\\a.bmp")), "&1 C:\\R&&D\\a.bmp");
    EXPECT_EQ(KfRecentMenuText(3, CString("b.bmp")), "&4 b.bmp");
}

TEST(FrameworkPlacement, ParsesOnlyTenIntegers)
{
    KfPlacement p;
    ASSERT_TRUE(KfParsePlacement("0,1,-1,-1,-4,-4, 10, 20 ,810,620", p));
    EXPECT_EQ(p.showCmd, 1u);
    EXPECT_EQ(p.maxX, -4);
    EXPECT_EQ(p.left, 10);
    EXPECT_EQ(p.bottom, 620);
    EXPECT_EQ(KfFormatPlacement(p), "0,1,-1,-1,-4,-4,10,20,810,620");

    KfPlacement kept;
    kept.left = 77;
    for (const char* bad : {"", "1,2,3", "0,1,2,3,4,5,6,7,8,9,10", "0,1,2,3,4,5,6,7,8,x", "0,1,2,3,4,5,6,7,8,",
                            "0,1,2,3,4,5,6,7,8,9junk", "0,1,2,3,4,5,6,7,8,99999999999", "-1,1,2,3,4,5,6,7,8,9",
                            "0;1;2;3;4;5;6;7;8;9"}) {
        EXPECT_FALSE(KfParsePlacement(bad, kept)) << bad;
        EXPECT_EQ(kept.left, 77) << bad;
    }
    EXPECT_FALSE(KfParsePlacement(nullptr, kept));
}

TEST(FrameworkPlacement, RestoresOnlyWhatTheScreenShows)
{
    KfPlacement p;
    p.left = 100, p.top = 100, p.right = 900, p.bottom = 700;
    EXPECT_TRUE(KfPlacementFitsScreen(p, 0, 0, 1280, 1024));
    p.left = 1260, p.right = 2000;   // only 20 pixels left on this screen
    EXPECT_FALSE(KfPlacementFitsScreen(p, 0, 0, 1280, 1024));
    p.left = 100, p.right = 110;     // too narrow to use
    EXPECT_FALSE(KfPlacementFitsScreen(p, 0, 0, 1280, 1024));
    p.left = -2147483647 - 1, p.right = 2147483647;   // no overflow on extreme values
    p.top = -2147483647 - 1, p.bottom = 2147483647;
    EXPECT_TRUE(KfPlacementFitsScreen(p, 0, 0, 1280, 1024));
    p.right = p.left;
    EXPECT_FALSE(KfPlacementFitsScreen(p, 0, 0, 1280, 1024));
}
#endif
