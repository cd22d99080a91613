// The installer's window-free rules: the page history behind Back, the
// install list and the folder lengths it allows, the size text and the
// background title's height.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "setup/background/BackgroundTitle.h"
#include "setup/files/InstallList.h"
#include "setup/wizard/PageHistory.h"

TEST(SetupPageHistory, BackWalksThePagesVisited)
{
    PageHistory history;
    history.Reset(143);       // Uninstall
    history.Push(129);        // Reinstall: the folder page
    history.Push(129);        // shown again: not twice
    history.Push(138);        // the copy page
    EXPECT_EQ(history.Count(), 3);
    EXPECT_EQ(history.Pop(), 129);
    EXPECT_EQ(history.Pop(), 143);
    EXPECT_EQ(history.Pop(), -1);   // the first page stays
    EXPECT_EQ(history.Top(), 143);
    history.Reset(144);
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Top(), 144);
}

TEST(SetupPageHistory, CancelCyclesPastTheCapacityKeepTheLatestSteps)
{
    PageHistory history;
    history.Push(129);
    for (int cycle = 0; cycle < 40; ++cycle) {   // folder -> copy -> Exit -> folder ...
        history.Push(138);
        history.Push(129);
    }
    EXPECT_EQ(history.Count(), PageHistory::kCapacity);
    for (int i = 0; i < PageHistory::kCapacity - 1; ++i)
        EXPECT_EQ(history.Pop(), i % 2 == 0 ? 138 : 129) << i;
    EXPECT_EQ(history.Pop(), -1);
}

TEST(SetupInstallList, ElevenFilesAndNineShortcutsInOrder)
{
    ASSERT_EQ(kInstallFileCount, 11u);
    EXPECT_STREQ(kInstallFiles[0], "Kaptura99.exe");
    EXPECT_STREQ(kInstallFiles[9], "Pixorama99.exe");
    EXPECT_STREQ(kInstallFiles[10], "Morfix99.exe");
    int optional = 0;
    for (size_t i = 0; i < kInstallFileCount; ++i)
        optional += IsOptionalInstallFile(kInstallFiles[i]) ? 1 : 0;
    EXPECT_EQ(optional, 2);   // the help file and its contents
    ASSERT_EQ(kShortcutCount, 9u);
    int inGroup = 0;
    for (size_t i = 0; i < kShortcutCount; ++i) {
        inGroup += kShortcuts[i].folder == kProgramGroup ? 1 : 0;
        bool listed = false;
        for (size_t f = 0; f < kInstallFileCount; ++f)
            listed = listed || strcmp(kShortcuts[i].target, kInstallFiles[f]) == 0;
        EXPECT_TRUE(listed) << kShortcuts[i].target;
    }
    EXPECT_EQ(inGroup, 6);
}

TEST(SetupInstallList, FolderMustLeaveRoomForEveryFileName)
{
    const size_t longest = strlen("Pixorama99.exe");
    ASSERT_EQ(LongestInstallFileName(), longest);
    const size_t widest = 260 - 1 - longest - 1;   // folder + "\" + name + terminator
    EXPECT_EQ(LongestInstallFolder(260), widest);
    EXPECT_EQ(LongestInstallFolder(10), 0u);
    EXPECT_TRUE(InstallFolderFits(strlen("C:\\Kaptura99"), 260));
    EXPECT_TRUE(InstallFolderFits(widest, 260));
    EXPECT_FALSE(InstallFolderFits(widest + 1, 260));
    EXPECT_FALSE(InstallFolderFits(259, 260));
    EXPECT_FALSE(InstallFolderFits(260, 260));
    EXPECT_FALSE(InstallFolderFits(0, 260));
}

TEST(SetupInstallList, RequiredSpaceInMegabytes)
{
    char text[32];
    FormatMegabytes(0, text, sizeof text);
    EXPECT_STREQ(text, "0.00MB");
    FormatMegabytes(6052864, text, sizeof text);
    EXPECT_STREQ(text, "5.77MB");
    FormatMegabytes(0xFFFFFFFFu, text, sizeof text);
    EXPECT_STREQ(text, "4096.00MB");
}

TEST(SetupBackground, TitleHeightFollowsTheScreenWidth)
{
    EXPECT_EQ(BackgroundTitleHeight(640), 70);
    EXPECT_EQ(BackgroundTitleHeight(800), 80);
    EXPECT_EQ(BackgroundTitleHeight(1024), 100);
    EXPECT_EQ(BackgroundTitleHeight(1152), 120);
    EXPECT_EQ(BackgroundTitleHeight(1280), 120);
    EXPECT_EQ(BackgroundTitleHeight(720), 0);   // the font's own height
}
