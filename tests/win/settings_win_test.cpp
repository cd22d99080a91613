// The settings store on Windows: every key through the real profile calls,
// the screen metrics, the section name, the auxiliary window classes and the
// cover window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "capture/core/settings/AuxWindows.h"
#include "capture/core/settings/Settings.h"

namespace {

class WinSettings : public testing::Test {
protected:
    void SetUp() override
    {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        snprintf(SettingsPath, sizeof SettingsPath, "%skaptura_settings_test.ini", folder);
        DeleteFileA(SettingsPath);
        LoadApplicationTitle();
    }
    void TearDown() override { DeleteFileA(SettingsPath); }
    std::string Stored(const char* key)
    {
        char value[512];
        GetPrivateProfileStringA(ApplicationTitle, key, "", value, sizeof value, SettingsPath);
        return value;
    }
    void LoadEverything()
    {
        LoadRunModeAndSession();
        LoadAllSettings();
    }
};

// Sets every value of a list to a non-default value within its range.
template <int N>
void Fill(int (&values)[N], int first)
{
    for (int i = 0; i < N; ++i)
        values[i] = (first + i) % 2;
}

}  // namespace

TEST_F(WinSettings, SectionNameFallsBackToTheTitle)
{
    // The test program carries no string 0xE000.
    EXPECT_STREQ(ApplicationTitle, "Kaptura 99");
}

TEST_F(WinSettings, ScreenMetricsComeFromTheDisplay)
{
    LoadScreenMetrics();
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(ScreenWidth, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(ScreenHeight, GetDeviceCaps(screen, VERTRES));
    EXPECT_EQ(ScreenDepth, GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(ScreenColorCount, ScreenDepth >= 24 ? 1 << 24 : 1 << ScreenDepth);
    EXPECT_EQ(CaptionHeight, GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(ClockFontHeight, CaptionHeight < 21 ? 11 : 19);
    EXPECT_EQ(WindowsVersion, GetVersion());
}

TEST_F(WinSettings, EveryKeyRoundTripsThroughTheProfileFile)
{
    LoadEverything();
    EXPECT_EQ(ScreenPage[kScreenRight], ScreenWidth);
    EXPECT_EQ(ScreenPage[kScreenBottom], ScreenHeight);

    Fill(SendtoPage, 1);
    SendtoPage[kSendtoFirstPage] = 9;
    SendtoPage[kSendtoFileNaming] = 2;
    SendtoPage[kSendtoMarginX] = 1200;
    SendtoPage[kSendtoMarginY] = 0;
    Fill(CapturePage, 1);
    CapturePage[kCaptureColorOption] = 3;
    const int screen[] = {5, 6, 700, 500, 1, 600};
    memcpy(ScreenPage, screen, sizeof screen);
    Fill(WindowPage, 1);
    WindowPage[kWindowCountdownSeconds] = 0;
    Fill(RegionPage, 0);
    RegionPage[kRegionPenColor] = 0x123456;
    Fill(FreehandPage, 0);
    FreehandPage[kFreehandPenColor] = 16777215;
    Fill(TitleMenuPage, 1);
    Fill(ButtonPage, 0);
    Fill(CommandBarPage, 0);
    NotifyPage[kNotifySound] = 0;
    NotifyPage[kNotifyFlash] = 4;
    for (int i = 0; i < 16; ++i)
        BlackWhite[i] = BYTE(i < 8);
    const int format[] = {13, 11, 6, 0, 0};
    memcpy(Format, format, sizeof format);
    const int frame[] = {7, 9, 255, 65280};
    memcpy(Frame, frame, sizeof frame);
    const int clock[] = {0, 1, 0, 1, 0, 0, 1, 1, 2, 1, 0};
    memcpy(Clock, clock, sizeof clock);
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        NormalKey[row] = row * 12;
        for (int m = 0; m < kHotkeyModifierCount; ++m)
            SystemKey[row][m] = ((row + m) % 3 == 0) ? -1 : 0;
    }
    Fill(SnapshotButton, 0);
    ButtonColors = 0xC0C0C0;
    Fill(RunMode, 0);
    const int session[] = {3, 4, 0, 300, 0, 0, 255, 8158271};
    memcpy(Session, session, sizeof session);
    strcpy(FileNameOpen, "open.gif");
    strcpy(PathNameOpen, "C:\\windows");
    strcpy(FileNameSave, "C:\\saved.png");
    strcpy(FileNameDirect, "C:\\direct\\KAPT0007.BMP");

    WriteCapturePageSettings();
    WriteBlackWhiteSettings();
    WriteFrameSettings();
    WriteClockSettings();
    WriteHotkeySettings();
    WriteSnapshotButtonSettings();
    SaveSessionSettings();
    WriteExplorerSelectionName("C:\\last.bmp");

    EXPECT_EQ(Stored("ScreenPage"), "5,6,700,500,1,600");
    EXPECT_EQ(Stored("ButtonColors"), "12632256");
    EXPECT_EQ(Stored("SystemKey1"), "1,0,0,1");
    EXPECT_EQ(Stored("Frame"), "7,9,255,65280");

    // Keep the expected values, scramble the globals, read everything back.
    int sendto[kSendtoPageCount], capture[kCapturePageCount], window[kWindowPageCount],
        region[kRegionPageCount], freehand[kFreehandPageCount], titleMenu[kTitleMenuPageCount],
        button[kButtonPageCount], commandBar[kCommandBarPageCount], notify[kNotifyPageCount],
        snapshot[kSnapshotButtonCount], runMode[kRunModeCount], normalKey[kHotkeyRowCount];
    int systemKey[kHotkeyRowCount][kHotkeyModifierCount];
    BYTE blackWhite[16];
    memcpy(sendto, SendtoPage, sizeof sendto);
    memcpy(capture, CapturePage, sizeof capture);
    memcpy(window, WindowPage, sizeof window);
    memcpy(region, RegionPage, sizeof region);
    memcpy(freehand, FreehandPage, sizeof freehand);
    memcpy(titleMenu, TitleMenuPage, sizeof titleMenu);
    memcpy(button, ButtonPage, sizeof button);
    memcpy(commandBar, CommandBarPage, sizeof commandBar);
    memcpy(notify, NotifyPage, sizeof notify);
    memcpy(snapshot, SnapshotButton, sizeof snapshot);
    memcpy(runMode, RunMode, sizeof runMode);
    memcpy(normalKey, NormalKey, sizeof normalKey);
    memcpy(systemKey, SystemKey, sizeof systemKey);
    memcpy(blackWhite, BlackWhite, sizeof blackWhite);

    memset(SendtoPage, 0x33, sizeof SendtoPage);
    memset(WindowPage, 0x33, sizeof WindowPage);
    memset(SystemKey, 0x33, sizeof SystemKey);
    memset(BlackWhite, 0x33, sizeof BlackWhite);
    memset(Session, 0x33, sizeof Session);
    ButtonColors = 1;
    FileNameOpen[0] = PathNameOpen[0] = FileNameSave[0] = FileNameDirect[0] = 0;
    LoadEverything();

    EXPECT_EQ(memcmp(SendtoPage, sendto, sizeof sendto), 0);
    EXPECT_EQ(memcmp(CapturePage, capture, sizeof capture), 0);
    EXPECT_EQ(memcmp(ScreenPage, screen, sizeof screen), 0);
    EXPECT_EQ(memcmp(WindowPage, window, sizeof window), 0);
    EXPECT_EQ(memcmp(RegionPage, region, sizeof region), 0);
    EXPECT_EQ(memcmp(FreehandPage, freehand, sizeof freehand), 0);
    EXPECT_EQ(memcmp(TitleMenuPage, titleMenu, sizeof titleMenu), 0);
    EXPECT_EQ(memcmp(ButtonPage, button, sizeof button), 0);
    EXPECT_EQ(memcmp(CommandBarPage, commandBar, sizeof commandBar), 0);
    EXPECT_EQ(memcmp(NotifyPage, notify, sizeof notify), 0);
    EXPECT_EQ(memcmp(BlackWhite, blackWhite, sizeof blackWhite), 0);
    EXPECT_EQ(memcmp(Format, format, sizeof format), 0);
    EXPECT_EQ(memcmp(Frame, frame, sizeof frame), 0);
    EXPECT_EQ(memcmp(Clock, clock, sizeof clock), 0);
    EXPECT_EQ(memcmp(NormalKey, normalKey, sizeof normalKey), 0);
    EXPECT_EQ(memcmp(SystemKey, systemKey, sizeof systemKey), 0);
    EXPECT_EQ(memcmp(SnapshotButton, snapshot, sizeof snapshot), 0);
    EXPECT_EQ(ButtonColors, COLORREF(0xC0C0C0));
    EXPECT_EQ(memcmp(RunMode, runMode, sizeof runMode), 0);
    EXPECT_EQ(memcmp(Session, session, sizeof session), 0);
    EXPECT_STREQ(FileNameOpen, "open.gif");
    EXPECT_STREQ(PathNameOpen, "C:\\windows");
    EXPECT_STREQ(FileNameSave, "C:\\saved.png");
    EXPECT_STREQ(FileNameDirect, "C:\\direct\\KAPT0007.BMP");
    char last[kSettingsPathSize];
    ReadExplorerSelectionName(last, sizeof last);
    EXPECT_STREQ(last, "C:\\last.bmp");
}

TEST_F(WinSettings, OverlongValueIsReadCut)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += i ? ",1" : "1";
    WritePrivateProfileStringA(ApplicationTitle, "NormalKey", ("19," + text).c_str(), SettingsPath);
    WritePrivateProfileStringA(ApplicationTitle, "FileNameOpen", std::string(400, 'x').c_str(), SettingsPath);
    LoadEverything();
    EXPECT_EQ(NormalKey[0], 19);
    EXPECT_EQ(NormalKey[7], 1);
    EXPECT_EQ(strlen(FileNameOpen), size_t(kSettingsPathSize - 1));
}

namespace {

UINT lastKeyCapMessage;

LRESULT CALLBACK TestKeyCapProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER)
        lastKeyCapMessage = message;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(WinSettings, HelperClassesAndTheCoverWindow)
{
    LoadScreenMetrics();
    ASSERT_EQ(RegisterHelperWindowClasses(), 1);
    EXPECT_EQ(RegisterHelperWindowClasses(), 1);  // a second call keeps what exists
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA type;
    for (const char* name : {"BWClass", "KeyClass", "PLClass", "CoverWindow"}) {
        ASSERT_TRUE(GetClassInfoA(instance, name, &type)) << name;
        EXPECT_EQ(type.hbrBackground, HBRUSH(GetStockObject(WHITE_BRUSH))) << name;
        EXPECT_EQ(type.hCursor, nullptr) << name;
        EXPECT_EQ(type.style, 0u) << name;
    }
    ASSERT_NE(FullScreenViewClassName[0], 0);
    ASSERT_TRUE(GetClassInfoA(instance, FullScreenViewClassName, &type));
    EXPECT_EQ(type.style & CS_GLOBALCLASS, UINT(CS_GLOBALCLASS));
    EXPECT_EQ(type.hbrBackground, nullptr);

    // Key caps reach the procedure their dialog sets.
    SetHelperWindowProcedure(kKeyCapClass, TestKeyCapProc);
    HWND cap = CreateWindowExA(0, "KeyClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(cap, nullptr);
    SendMessageA(cap, WM_USER + 7, 0, 0);
    EXPECT_EQ(lastKeyCapMessage, UINT(WM_USER + 7));
    DestroyWindow(cap);
    SetHelperWindowProcedure(kKeyCapClass, nullptr);

    // The cover window: hidden, a popup over the whole screen.
    ASSERT_NE(CoverWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(CoverWindow));
    EXPECT_EQ(GetWindowLongA(CoverWindow, GWL_STYLE) & WS_POPUP, WS_POPUP);
    RECT bounds;
    GetWindowRect(CoverWindow, &bounds);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, ScreenWidth);
    EXPECT_EQ(bounds.bottom, ScreenHeight);

    // It paints the frozen picture on background erase.
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
    HBITMAP target = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HDC pictureDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldPicture = SelectObject(pictureDc, picture);
    RECT all = {0, 0, 8, 8};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(pictureDc, &all, red);
    SelectObject(pictureDc, oldPicture);
    DeleteDC(pictureDc);
    DeleteObject(red);
    HDC targetDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldTarget = SelectObject(targetDc, target);
    SetCoverPicture(picture);
    EXPECT_EQ(SendMessageA(CoverWindow, WM_ERASEBKGND, WPARAM(targetDc), 0), 1);
    EXPECT_EQ(GetPixel(targetDc, 3, 3), RGB(255, 0, 0));
    SetCoverPicture(nullptr);
    SelectObject(targetDc, oldTarget);
    DeleteDC(targetDc);
    DeleteObject(target);
    DeleteObject(picture);

    ReleaseCaptureResources();
    EXPECT_EQ(CoverWindow, nullptr);
}
