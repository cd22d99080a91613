// The capture settings store: value-list parsing, defaults of every key,
// range checks on load, and round trips through the profile file.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "ImageTestKit.h"
#include "capture/core/settings/Settings.h"
#include "capture/core/settings/SettingsPlatform.h"

namespace {

// Each test works on a fresh settings file of its own.
class SettingsFile : public testing::Test {
protected:
    void SetUp() override
    {
        path = kit::ScratchDir() + "/settings_" +
               testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        std::remove(path.c_str());
        snprintf(SettingsPath, sizeof SettingsPath, "%s", path.c_str());
        snprintf(ProgramFolder, sizeof ProgramFolder, "C:\\Kaptura");
        LoadApplicationTitle();
        SimulateScreen(1024, 768, 1, 32, 18);
    }
    void TearDown() override
    {
        SnapshotStripRebuilder = nullptr;
        ShortcutUpdater = nullptr;
    }
    void Store(const char* key, const char* value)
    {
        WritePrivateProfileStringA(ApplicationTitle, key, value, SettingsPath);
    }
    std::string Stored(const char* key)
    {
        char value[1024];
        GetPrivateProfileStringA(ApplicationTitle, key, "", value, sizeof value, SettingsPath);
        return value;
    }
    std::string FileText()
    {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void LoadEverything()
    {
        LoadRunModeAndSession();
        LoadAllSettings();
    }
    std::string path;
};

template <int N>
void ExpectValues(const int (&actual)[N], std::initializer_list<int> expected)
{
    ASSERT_EQ(size_t(N), expected.size());
    int i = 0;
    for (int value : expected) {
        EXPECT_EQ(actual[i], value) << "value " << i + 1;
        ++i;
    }
}

}  // namespace

TEST(SettingsParse, IntegerAtTheStartOfAToken)
{
    EXPECT_EQ(ParseIntOrDefault(nullptr, 42), 42);
    EXPECT_EQ(ParseIntOrDefault("12", 42), 12);
    EXPECT_EQ(ParseIntOrDefault("  -7x", 42), -7);
    EXPECT_EQ(ParseIntOrDefault("+3", 42), 3);
    EXPECT_EQ(ParseIntOrDefault("abc", 42), 0);
    EXPECT_EQ(ParseIntOrDefault("", 42), 0);
    EXPECT_EQ(ParseIntOrDefault("-", 42), 0);
    EXPECT_EQ(ParseIntOrDefault("1 2", 42), 1);
    EXPECT_EQ(ParseIntOrDefault("99999999999999999999", 0), INT_MAX);
    EXPECT_EQ(ParseIntOrDefault("-99999999999999999999", 0), INT_MIN);
    EXPECT_EQ(ParseIntOrDefault("-2147483648", 0), INT_MIN);
}

TEST(SettingsParse, ListsKeepDefaultsForMissingValuesAndSkipEmptyFields)
{
    const int defaults[4] = {10, 20, 30, 40};
    int values[4];
    EXPECT_EQ(ParseValueList("1,2", values, defaults, 4), 2);
    ExpectValues(values, {1, 2, 30, 40});
    EXPECT_EQ(ParseValueList("1,,2", values, defaults, 4), 2);
    ExpectValues(values, {1, 2, 30, 40});
    EXPECT_EQ(ParseValueList(",,,", values, defaults, 4), 0);
    ExpectValues(values, {10, 20, 30, 40});
    EXPECT_EQ(ParseValueList("", values, defaults, 4), 0);
    ExpectValues(values, {10, 20, 30, 40});
    EXPECT_EQ(ParseValueList("x,-5, 6,7z,8,9", values, defaults, 4), 4);
    ExpectValues(values, {0, -5, 6, 7});
}

TEST_F(SettingsFile, OverlongValueIsReadCutToItsBuffer)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += i ? ",7" : "7";
    Store("Long", text.c_str());
    int defaults[200], values[200];
    for (int& d : defaults)
        d = -1;
    // 259 characters survive: 130 sevens, the rest keep their defaults.
    EXPECT_EQ(ReadValueList("Long", values, defaults, 200), 130);
    EXPECT_EQ(values[0], 7);
    EXPECT_EQ(values[129], 7);
    EXPECT_EQ(values[130], -1);
    EXPECT_EQ(values[199], -1);
}

TEST_F(SettingsFile, MissingFileGivesEveryDefault)
{
    LoadEverything();
    ExpectValues(SendtoPage, {0, 1, 0, 0, 0, 0, 0, 5, 5});
    ExpectValues(CapturePage, {0, 0, 1, 0, 0});
    ExpectValues(ScreenPage, {0, 0, 1024, 768, 0, 10});
    ExpectValues(WindowPage, {0, 1, 1, 1, 1, 0, 10});
    ExpectValues(RegionPage, {1, 1, 0});
    ExpectValues(FreehandPage, {1, 1, 0});
    ExpectValues(TitleMenuPage, {0, 0, 1, 1, 1});
    ExpectValues(ButtonPage, {1});
    ExpectValues(CommandBarPage, {1, 1, 1});
    ExpectValues(NotifyPage, {1, 1});
    const BYTE blackWhite[16] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 0, 1, 1};
    EXPECT_EQ(memcmp(BlackWhite, blackWhite, 16), 0);
    ExpectValues(Format, {14, 1, 1, 1, 1});
    ExpectValues(Frame, {1, 0, 0, 16777215});
    ExpectValues(Clock, {1, 0, 1, 0, 1, 1, 0, 0, 0, 0, 16777215});
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        ExpectValues(SystemKey[row], {0, 0, -1, 0});
        EXPECT_EQ(NormalKey[row], 17 + row);
    }
    ExpectValues(SnapshotButton, {1, 1, 1, 0, 1, 1, 1});
    EXPECT_EQ(ButtonColors, 0u);
    ExpectValues(RunMode, {1, 0, 1, 1, 1, 1, 0, 0, 1});
    ExpectValues(Session, {1, 1, 1, 183, 1, 1, 8158271, 16777215});
    EXPECT_STREQ(FileNameOpen, "");
    EXPECT_STREQ(PathNameOpen, "");
    EXPECT_STREQ(FileNameSave, "");
    EXPECT_STREQ(FileNameDirect, "C:\\Kaptura\\KAPT0000.BMP");
    EXPECT_STREQ(ApplicationTitle, "Kaptura 99");
}

TEST_F(SettingsFile, ShortAndOddListsOfTheStoredKeys)
{
    Store("RunMode", "1,0");
    Store("SystemKey3", "0,0,1,0");
    Store("SystemKey5", "1,1,1,1");
    Store("SendtoPage", "");
    Store("ButtonColors", "0");
    Store("Session", "-4,77,,0");
    LoadEverything();
    ExpectValues(RunMode, {1, 0, 1, 1, 1, 1, 0, 0, 1});
    ExpectValues(SystemKey[2], {0, 0, -1, 0});
    ExpectValues(SystemKey[4], {-1, -1, -1, -1});
    ExpectValues(SendtoPage, {0, 1, 0, 0, 0, 0, 0, 5, 5});
    EXPECT_EQ(ButtonColors, 0u);
    // The kept values travel unchanged; empty fields are skipped.
    ExpectValues(Session, {-4, 77, 0, 183, 1, 1, 8158271, 16777215});
}

TEST_F(SettingsFile, ValuesOutsideTheirRangesAreBroughtBackOnLoad)
{
    Store("ScreenPage", "0,0,800,600,1,-5");
    Store("WindowPage", "7,1,1,1,1,1,100000");
    Store("NormalKey", "150,-1,100,0,19");
    Store("Frame", "99999,-3,-1,16777216");
    Store("SendtoPage", "12,5,0,0,0,3,0,-10,5000");
    Store("Clock", "1,0,1,2,1,1,0,3,-1,0,99999999");
    Store("Format", "0,12,11,2,1");
    Store("NotifyPage", "5,-1");
    Store("Session", "1,1,1,99999,1,1,-1,16777215");
    LoadEverything();
    ExpectValues(ScreenPage, {0, 0, 800, 600, 1, 0});
    ExpectValues(WindowPage, {0, 1, 1, 1, 1, 1, 600});
    ExpectValues(NormalKey, {17, 18, 100, 0, 19, 22, 23, 24});
    ExpectValues(Frame, {2000, 0, 0, 16777215});
    ExpectValues(SendtoPage, {0, 1, 0, 0, 0, 0, 0, 0, 1200});
    ExpectValues(Clock, {1, 0, 1, 0, 1, 1, 0, 0, 0, 0, 16777215});
    ExpectValues(Format, {14, 1, 11, 1, 1});
    ExpectValues(NotifyPage, {1, 1});
    ExpectValues(Session, {1, 1, 1, 4096, 1, 1, 8158271, 16777215});

    // A rectangle that encloses nothing captures the whole screen.
    Store("ScreenPage", "500,10,100,600");
    LoadCapturePageSettings();
    ExpectValues(ScreenPage, {0, 0, 1024, 768, 0, 10});
    Store("ScreenPage", "-99999999,0,99999999,768");
    LoadCapturePageSettings();
    ExpectValues(ScreenPage, {-32767, 0, 32767, 768, 0, 10});
}

TEST_F(SettingsFile, EveryKeyRoundTripsInTheStoredFormat)
{
    LoadEverything();
    const int sendto[] = {3, 0, 1, 1, 1, 2, 1, 17, 1200};
    memcpy(SendtoPage, sendto, sizeof sendto);
    const int capture[] = {1, 1, 0, 1, 4};
    memcpy(CapturePage, capture, sizeof capture);
    const int screen[] = {10, 20, 300, 400, 1, 600};
    memcpy(ScreenPage, screen, sizeof screen);
    const int window[] = {1, 0, 0, 0, 0, 1, 3};
    memcpy(WindowPage, window, sizeof window);
    RegionPage[kRegionPenColor] = 255;
    FreehandPage[kFreehandBorder] = 0;
    TitleMenuPage[kTitleMenuTitleBar] = 1;
    ButtonPage[kButtonAddFrame] = 0;
    CommandBarPage[kCommandBarPointer] = 0;
    NotifyPage[kNotifySound] = 4;
    NotifyPage[kNotifyFlash] = 0;
    for (int i = 0; i < 16; ++i)
        BlackWhite[i] = BYTE(i % 3 == 0);
    const int format[] = {3, 5, 11, 0, 0};
    memcpy(Format, format, sizeof format);
    const int frame[] = {2000, 2000, 12345, 0};
    memcpy(Frame, frame, sizeof frame);
    const int clock[] = {0, 1, 0, 1, 0, 0, 1, 2, 2, 1, 65280};
    memcpy(Clock, clock, sizeof clock);
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        NormalKey[row] = 100 - row;
        for (int m = 0; m < kHotkeyModifierCount; ++m)
            SystemKey[row][m] = (row >> m) & 1 ? -1 : 0;
    }
    const int snapshot[] = {0, 0, 0, 1, 0, 0, 0};
    memcpy(SnapshotButton, snapshot, sizeof snapshot);
    ButtonColors = 16777215;
    const int runMode[] = {0, 1, 0, 0, 0, 0, 1, 1, 0};
    memcpy(RunMode, runMode, sizeof runMode);
    const int session[] = {1, 1, 0, 250, 0, 0, 8158271, 0};
    memcpy(Session, session, sizeof session);
    strcpy(FileNameOpen, "shot.png");
    strcpy(PathNameOpen, "C:\\Images");
    strcpy(FileNameSave, "C:\\Images\\saved.bmp");
    strcpy(FileNameDirect, "C:\\Images\\KAPT0042.BMP");

    WriteCapturePageSettings();
    WriteBlackWhiteSettings();
    WriteFrameSettings();
    WriteClockSettings();
    WriteHotkeySettings();
    WriteSnapshotButtonSettings();
    SaveSessionSettings();

    EXPECT_EQ(Stored("SendtoPage"), "3,0,1,1,1,2,1,17,1200");
    EXPECT_EQ(Stored("SystemKey2"), "1,0,0,0");
    EXPECT_EQ(Stored("SystemKey8"), "1,1,1,0");
    EXPECT_EQ(Stored("NormalKey"), "100,99,98,97,96,95,94,93");
    EXPECT_EQ(Stored("ButtonColors"), "16777215");
    EXPECT_EQ(Stored("BlackWhite"), "1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1");
    EXPECT_EQ(Stored("Session"), "1,1,0,250,0,0,8158271,0");

    // Forget everything, then read it all back.
    memset(SendtoPage, 0x55, sizeof SendtoPage);
    memset(SystemKey, 0x55, sizeof SystemKey);
    memset(Session, 0x55, sizeof Session);
    FileNameDirect[0] = 0;
    LoadEverything();
    for (int i = 0; i < kSendtoPageCount; ++i)
        EXPECT_EQ(SendtoPage[i], sendto[i]);
    EXPECT_EQ(memcmp(CapturePage, capture, sizeof capture), 0);
    EXPECT_EQ(memcmp(ScreenPage, screen, sizeof screen), 0);
    EXPECT_EQ(memcmp(WindowPage, window, sizeof window), 0);
    ExpectValues(RegionPage, {1, 1, 255});
    ExpectValues(FreehandPage, {0, 1, 0});
    ExpectValues(TitleMenuPage, {1, 0, 1, 1, 1});
    ExpectValues(ButtonPage, {0});
    ExpectValues(CommandBarPage, {1, 1, 0});
    ExpectValues(NotifyPage, {4, 0});
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(BlackWhite[i], BYTE(i % 3 == 0));
    EXPECT_EQ(memcmp(Format, format, sizeof format), 0);
    EXPECT_EQ(memcmp(Frame, frame, sizeof frame), 0);
    EXPECT_EQ(memcmp(Clock, clock, sizeof clock), 0);
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        EXPECT_EQ(NormalKey[row], 100 - row);
        for (int m = 0; m < kHotkeyModifierCount; ++m)
            EXPECT_EQ(SystemKey[row][m], (row >> m) & 1 ? -1 : 0);
    }
    EXPECT_EQ(memcmp(SnapshotButton, snapshot, sizeof snapshot), 0);
    EXPECT_EQ(ButtonColors, 16777215u);
    EXPECT_EQ(memcmp(RunMode, runMode, sizeof runMode), 0);
    EXPECT_EQ(memcmp(Session, session, sizeof session), 0);
    EXPECT_STREQ(FileNameOpen, "shot.png");
    EXPECT_STREQ(PathNameOpen, "C:\\Images");
    EXPECT_STREQ(FileNameSave, "C:\\Images\\saved.bmp");
    EXPECT_STREQ(FileNameDirect, "C:\\Images\\KAPT0042.BMP");
}

TEST_F(SettingsFile, SessionSaverWritesItsKeysInOrder)
{
    LoadEverything();
    SaveSessionSettings();
    std::string text = FileText();
    const char* order[] = {"RunMode=", "Session=", "Format=", "PathNameOpen=", "FileNameSave=",
                           "FileNameDirect=", "FileNameOpen="};
    size_t last = 0;
    for (const char* key : order) {
        size_t at = text.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GE(at, last) << key;
        last = at;
    }
    // Only the session's keys: the dialogs write the others.
    EXPECT_EQ(text.find("SendtoPage="), std::string::npos);
    EXPECT_NE(text.find("Session=1,1,1,183,1,1,8158271,16777215"), std::string::npos);
}

// The Capture Setup sheet's OK writes the ten page keys in the order the
// pages' values are documented, Title and Menu before Freehand.
TEST_F(SettingsFile, CaptureSetupWritesItsPageKeysInOrder)
{
    LoadEverything();
    WriteCapturePageSettings();
    std::string text = FileText();
    const char* order[] = {"SendtoPage=", "CapturePage=", "ScreenPage=", "WindowPage=", "RegionPage=",
                           "TitleMenuPage=", "FreehandPage=", "ButtonPage=", "CommandBarPage=", "NotifyPage="};
    size_t last = 0;
    for (const char* key : order) {
        size_t at = text.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GE(at, last) << key << " is written out of order";
        last = at;
    }
}

// Junk where the window, the notification-area icon and the hot keys are
// kept must not leave a program nobody can reach: those values keep their
// defaults (and are saved so), while junk elsewhere still reads as 0.
TEST_F(SettingsFile, JunkKeepsTheProgramReachable)
{
    Store("RunMode", "x,x,x,x,x,x,x,x,x");
    Store("NormalKey", "a,b,c,d,e,f,g,h");
    Store("SystemKey1", "?,?,?,?");
    Store("SystemKey2", "1,junk,1,0");
    Store("CapturePage", "x,x,x");
    LoadEverything();
    ExpectValues(RunMode, {0, 0, 0, 1, 1, 0, 0, 0, 0});
    ExpectValues(NormalKey, {17, 18, 19, 20, 21, 22, 23, 24});
    ExpectValues(SystemKey[0], {0, 0, -1, 0});
    ExpectValues(SystemKey[1], {-1, 0, -1, 0});
    ExpectValues(CapturePage, {0, 0, 0, 0, 0});
    // A number stored as such is still taken, also a 0 that hides.
    Store("RunMode", "1,0,1,0,0");
    Store("NormalKey", " -0,+18");
    LoadEverything();
    ExpectValues(RunMode, {1, 0, 1, 0, 0, 1, 0, 0, 1});
    ExpectValues(NormalKey, {0, 18, 19, 20, 21, 22, 23, 24});

    Store("RunMode", "1,0,1,hidden,none");
    LoadEverything();
    SaveSessionSettings();
    EXPECT_EQ(Stored("RunMode"), "1,0,1,1,1,1,0,0,1");
}

TEST_F(SettingsFile, LoadersCallTheStripAndShortcutOwners)
{
    static int rebuilds, shortcutFlags[4];
    rebuilds = 0;
    SnapshotStripRebuilder = [] { ++rebuilds; };
    ShortcutUpdater = [](int a, int b, int c, int d) {
        shortcutFlags[0] = a; shortcutFlags[1] = b; shortcutFlags[2] = c; shortcutFlags[3] = d;
        return 1;
    };
    Store("RunMode", "0,0,0,0,0,1,1,0");
    PreviewLoaded = DecorationsSuspended = CaptureRunning = 1;
    SimulateScreen(800, 600, 1, 16, 24);
    LoadEverything();
    EXPECT_EQ(rebuilds, 1);
    ExpectValues(shortcutFlags, {0, 1, 1, 0});
    EXPECT_EQ(PreviewLoaded + DecorationsSuspended + CaptureRunning, 0);
    EXPECT_EQ(SnapshotButtonWidth, 21);
    EXPECT_EQ(SnapshotButtonHeight, 19);
    EXPECT_EQ(ClockFontHeight, 19);
    ExpectValues(ScreenPage, {0, 0, 800, 600, 0, 10});
}

TEST(SettingsScreen, DepthAndColourCount)
{
    StoreScreenMetrics(0, 640, 480, 1, 8, 18);
    EXPECT_EQ(ScreenDepth, 8);
    EXPECT_EQ(ScreenColorCount, 256);
    EXPECT_EQ(ClockFontHeight, 11);
    StoreScreenMetrics(0, 640, 480, 4, 1, 20);
    EXPECT_EQ(ScreenDepth, 4);
    EXPECT_EQ(ScreenColorCount, 16);
    EXPECT_EQ(ClockFontHeight, 11);
    StoreScreenMetrics(0, 640, 480, 1, 1, 21);
    EXPECT_EQ(ScreenColorCount, 2);
    EXPECT_EQ(ClockFontHeight, 19);
    // Deeper than 24 bits: no more colours than 24 bits can show.
    StoreScreenMetrics(0, 640, 480, 1, 32, 18);
    EXPECT_EQ(ScreenDepth, 32);
    EXPECT_EQ(ScreenColorCount, 1 << 24);
    EXPECT_EQ(ClockFontWeight, 700);
    EXPECT_STREQ(ClockFontFace, "MS Sans Serif");
}

TEST(SettingsPaths, FileBesideTheProgram)
{
    SetSettingsPaths("C:\\Program Files\\Kaptura\\Kaptura99.exe");
    EXPECT_STREQ(ProgramFolder, "C:\\Program Files\\Kaptura");
    EXPECT_STREQ(SettingsPath, "C:\\Program Files\\Kaptura\\Kaptura99.ini");
    SetSettingsPaths("Kaptura99.exe");
    EXPECT_STREQ(SettingsPath, ".\\Kaptura99.ini");
    std::string deep = "C:\\" + std::string(300, 'a') + "\\Kaptura99.exe";
    SetSettingsPaths(deep.c_str());
    EXPECT_EQ(strlen(SettingsPath), size_t(kSettingsPathSize - 1));
}
