// The capture dispatch without windows: hot-key decoding against the rows,
// the type table, the request guard, the countdown and the progress percent.
#include <gtest/gtest.h>

#include <cstring>

#include "capture/core/capture/CaptureDispatch.h"
#include "capture/core/capture/HotkeyKeys.h"

namespace {

const uint32_t kEsc = 1u << 28, kShift = 1u << 24, kCtrl = 1u << 20, kAlt = 1u << 16;
const uint32_t kNoneHeld = kEsc | kShift | kCtrl | kAlt;

// A hot key as the hook library sends it: the bits of the held keys cleared.
uint32_t Key(int virtualKey, uint32_t held = 0) { return (kNoneHeld & ~held) | virtualKey; }

class Hotkeys : public testing::Test {
protected:
    // The default rows: Ctrl + "1" .. "8" (key indices 17..24).
    void SetUp() override
    {
        for (int row = 0; row < kHotkeyRowCount; ++row) {
            SetRow(row, 17 + row, kCtrl);
        }
    }
    void SetRow(int row, int keyIndex, uint32_t held)
    {
        normal[row] = keyIndex;
        system[row][0] = held & kEsc ? -1 : 0;
        system[row][1] = held & kShift ? -1 : 0;
        system[row][2] = held & kCtrl ? -1 : 0;
        system[row][3] = held & kAlt ? -1 : 0;
    }
    int Decode(uint32_t bits) { return DecodeHotkey(bits, system, normal); }
    int system[kHotkeyRowCount][kHotkeyModifierCount];
    int normal[kHotkeyRowCount];
};

TEST_F(Hotkeys, DefaultRowsGiveTheirTypes)
{
    const int expected[kHotkeyRowCount] = {1, 3, 5, 6, 7, 8, 9, 11};
    for (int row = 0; row < kHotkeyRowCount; ++row)
        EXPECT_EQ(Decode(Key('1' + row, kCtrl)), expected[row]) << "row " << row + 1;
    // Modifiers must match exactly: an extra Shift or a missing Ctrl is no hot key.
    EXPECT_EQ(Decode(Key('1', kCtrl | kShift)), 0);
    EXPECT_EQ(Decode(Key('1')), 0);
    EXPECT_EQ(Decode(Key('9', kCtrl)), 0);
    // The lParam-free upper bits other than the four are not modifiers.
    EXPECT_EQ(Decode(Key('1', kCtrl) | (1u << 30)), 1);
}

TEST_F(Hotkeys, LaterRowOverridesEarlierOnTheSameKeys)
{
    SetRow(6, 17, kCtrl);  // Button on Ctrl+1, as the Screen row
    EXPECT_EQ(Decode(Key('1', kCtrl)), 9);
    SetRow(7, 17, kCtrl);  // and Command Bar too
    EXPECT_EQ(Decode(Key('1', kCtrl)), 11);
}

TEST_F(Hotkeys, ShiftCtrlAltBAndFWinOverAnyRow)
{
    SetRow(0, 79, kShift | kCtrl | kAlt);  // Screen on Shift+Ctrl+Alt+B
    EXPECT_EQ(Decode(Key('B', kShift | kCtrl | kAlt)), 16);
    EXPECT_EQ(Decode(Key('F', kShift | kCtrl | kAlt)), 17);
    // Esc is not looked at for these two.
    EXPECT_EQ(Decode(Key('B', kEsc | kShift | kCtrl | kAlt)), 16);
    // Two of the three are not enough.
    EXPECT_EQ(Decode(Key('F', kCtrl | kAlt)), 0);
}

TEST_F(Hotkeys, F1AloneIsHelpUnlessARowTakesIt)
{
    EXPECT_EQ(Decode(Key(0x70)), 256);
    EXPECT_EQ(Decode(Key(0x70, kShift)), 0);
    EXPECT_EQ(Decode(Key(0x70, kEsc)), 0);
    SetRow(3, 1, 0);  // Title & Menu on plain F1
    EXPECT_EQ(Decode(Key(0x70)), 6);
}

TEST_F(Hotkeys, KeyIndexOutsideTheTableNeverMatches)
{
    SetRow(0, 101, kCtrl);
    SetRow(1, -1, kCtrl);
    for (int key = 0; key < 0x100; ++key) {
        int type = Decode(Key(key, kCtrl));
        EXPECT_NE(type, 1);
        EXPECT_NE(type, 3);
    }
}

TEST(HotkeyKeyTable, IndicesNameTheirKeys)
{
    EXPECT_EQ(HotkeyVirtualKey(0), 0x1B);
    EXPECT_EQ(HotkeyVirtualKey(1), 0x70);
    EXPECT_EQ(HotkeyVirtualKey(17), '1');
    EXPECT_EQ(HotkeyVirtualKey(26), '0');
    EXPECT_EQ(HotkeyVirtualKey(62), 'F');
    EXPECT_EQ(HotkeyVirtualKey(79), 'B');
    EXPECT_EQ(HotkeyVirtualKey(93), 0x20);
    EXPECT_EQ(HotkeyVirtualKey(100), 0x6E);
    EXPECT_EQ(HotkeyVirtualKey(101), 0);
    int modifiers = 0;
    for (const HotkeyKey& key : HotkeyKeys) {
        ASSERT_NE(key.name, nullptr);
        ASSERT_NE(key.virtualKey, 0);
        modifiers += key.isModifier;
    }
    EXPECT_EQ(modifiers, 7);  // Esc and both Shift, Ctrl and Alt
    EXPECT_STREQ(HotkeyKeys[74].name, "Shift");
    EXPECT_STREQ(HotkeyKeys[95].name, "Ctrl");
}

class DispatchTable : public testing::Test {
protected:
    void SetUp() override
    {
        memset(ScreenPage, 0, sizeof ScreenPage);
        memset(WindowPage, 0, sizeof WindowPage);
        memset(TitleMenuPage, 0, sizeof TitleMenuPage);
    }
};

TEST_F(DispatchTable, DelayedKindsCountDownOnlyWhenAsked)
{
    DispatchPlan screen = PlanDispatch(1);
    EXPECT_EQ(screen.action, kActionRequestNow);
    EXPECT_EQ(screen.captureType, 2);
    EXPECT_TRUE(screen.suspendDecorations);
    ScreenPage[kScreenCountdown] = 1;
    ScreenPage[kScreenCountdownSeconds] = 5;
    screen = PlanDispatch(1);
    EXPECT_EQ(screen.action, kActionStartCountdown);
    EXPECT_EQ(screen.countdownSeconds, 5);

    WindowPage[kWindowCountdown] = 1;
    WindowPage[kWindowCountdownSeconds] = -4;  // never a countdown that cannot end
    DispatchPlan window = PlanDispatch(3);
    EXPECT_EQ(window.action, kActionStartCountdown);
    EXPECT_EQ(window.captureType, 4);
    EXPECT_EQ(window.countdownSeconds, 0);
}

TEST_F(DispatchTable, KindsTheirActionsAndCaptions)
{
    struct Row { int type; DispatchAction action; int caption; bool suspends; };
    const Row rows[] = {
        {2, kActionCaptureNow, 32918, false},        {4, kActionForegroundWindow, 32919, false},
        {5, kActionMouseSelection, 32920, true},     {6, kActionTitleAndMenu, 32921, false},
        {7, kActionMouseSelection, 32922, true},     {8, kActionCaptureNow, 32923, false},
        {9, kActionButtonAtCursor, 32924, false},    {10, kActionMouseSelection, 32924, false},
        {11, kActionCommandBarAtCursor, 32925, false}, {12, kActionMouseSelection, 32925, false},
        {13, kActionStripReleased, 0, false},        {14, kActionStripPressed, 0, true},
        {16, kActionHideProgram, 0, false},          {17, kActionShowProgram, 0, false},
        {256, kActionHelp, 0, false},                {0, kActionIgnore, 0, false},
        {15, kActionIgnore, 0, false},               {18, kActionIgnore, 0, false},
        {-1, kActionIgnore, 0, false}};
    for (const Row& row : rows) {
        DispatchPlan plan = PlanDispatch(row.type);
        EXPECT_EQ(plan.action, row.action) << "type " << row.type;
        EXPECT_EQ(plan.captionId, row.caption) << "type " << row.type;
        EXPECT_EQ(plan.suspendDecorations, row.suspends) << "type " << row.type;
        if (row.caption)
            EXPECT_EQ(CaptureCaptionId(row.type), row.caption);
    }
    EXPECT_TRUE(PlanDispatch(2).screenRectangle);
    EXPECT_TRUE(PlanDispatch(5).refusedOverOwnMenu);
    EXPECT_FALSE(PlanDispatch(10).refusedOverOwnMenu);
    WindowPage[kWindowSelectWithMouse] = 1;
    EXPECT_EQ(PlanDispatch(4).action, kActionMouseSelection);
    EXPECT_FALSE(PlanDispatch(6).redrawDecorations);
    TitleMenuPage[kTitleMenuMenuBar] = 1;
    EXPECT_TRUE(PlanDispatch(6).redrawDecorations);
}

TEST(SelectionCursors, OnePerMouseKind)
{
    EXPECT_EQ(SelectionCursorId(4), 98);
    EXPECT_EQ(SelectionCursorId(5), 93);
    EXPECT_EQ(SelectionCursorId(7), 97);
    EXPECT_EQ(SelectionCursorId(10), 92);
    EXPECT_EQ(SelectionCursorId(12), 233);
    EXPECT_EQ(SelectionCursorId(2), 0);
}

TEST(RequestGuardTest, AnyBusyFlagDropsRequests)
{
    RequestGuard guard = {};
    EXPECT_TRUE(guard.Allows());
    for (int flag = 0; flag < 4; ++flag) {
        RequestGuard busy = {};
        bool* flags[] = {&busy.captureRunning, &busy.countdownActive, &busy.modalBusy,
                         &busy.finishingSelection};
        *flags[flag] = true;
        EXPECT_FALSE(busy.Allows()) << "flag " << flag;
    }
}

// However a strip press ends, nothing of it is left: no press remembered,
// and the decorations it suspended back unless a capture follows or
// something else still holds them off.
TEST(StripPress, EveryEndForgetsThePressAndFreesTheDecorations)
{
    struct Case {
        const char* what;
        bool released;
        int slotType;
        bool held;
        int follow;
        int suspendedAfter;
    };
    const Case cases[] = {
        {"release of a slot with a capture", true, kCaptureRegion, false, kCaptureRegion, 1},
        {"release of a slot without one", true, 0, false, 0, 0},
        {"release without a slot while a countdown runs", true, 0, true, 0, 1},
        {"release dropped by the guard", false, kCaptureScreenDelayed, false, 0, 0},
        {"release dropped during a capture", false, kCaptureScreenDelayed, true, 0, 1},
    };
    for (const Case& c : cases) {
        bool pressed = true;
        int suspended = 1;
        EXPECT_EQ(EndStripPress(pressed, c.released, c.slotType, c.held, suspended), c.follow) << c.what;
        EXPECT_FALSE(pressed) << c.what;
        EXPECT_EQ(suspended, c.suspendedAfter) << c.what;
    }
    // A release whose press the guard dropped, or which came twice.
    bool pressed = false;
    int suspended = 0;
    EXPECT_EQ(EndStripPress(pressed, true, kCaptureScreenDelayed, false, suspended), 0);
    EXPECT_EQ(suspended, 0);
}

// Runs the countdown tick by tick; returns the ticks (100 ms each) at which
// it beeped, and the tick of the request in *requestTick.
std::vector<int> RunCountdown(int seconds, int* requestTick)
{
    CaptureCountdown countdown;
    countdown.Start(seconds, 2);
    std::vector<int> beeps;
    *requestTick = -1;
    for (int tick = 1; tick <= 1000 && countdown.Active(); ++tick) {
        CaptureCountdown::Tick result = countdown.Advance();
        if (result.beep)
            beeps.push_back(tick);
        if (result.request) {
            EXPECT_EQ(result.type, 2);
            *requestTick = tick;
        }
    }
    return beeps;
}

TEST(Countdown, BeepsOnceASecondThenRequests)
{
    int requestTick;
    EXPECT_EQ(RunCountdown(3, &requestTick), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(requestTick, 30);
    EXPECT_EQ(RunCountdown(1, &requestTick), (std::vector<int>{10}));
    EXPECT_EQ(requestTick, 10);
    EXPECT_TRUE(RunCountdown(0, &requestTick).empty());
    EXPECT_EQ(requestTick, 1);
    EXPECT_TRUE(RunCountdown(-7, &requestTick).empty());
    EXPECT_EQ(requestTick, 1);

    CaptureCountdown stopped;
    stopped.Start(2, 4);
    stopped.Cancel();
    CaptureCountdown::Tick tick = stopped.Advance();
    EXPECT_FALSE(tick.beep || tick.request);
}

TEST(Progress, PercentOfRowsAndRedrawOnlyOnChange)
{
    EXPECT_EQ(ProgressMeter::Percent(0, 200), 0);
    EXPECT_EQ(ProgressMeter::Percent(1, 200), 1);
    EXPECT_EQ(ProgressMeter::Percent(99, 100), 100);
    EXPECT_EQ(ProgressMeter::Percent(500, 100), 100);
    EXPECT_EQ(ProgressMeter::Percent(3, 0), 100);       // no division by zero
    EXPECT_EQ(ProgressMeter::Percent(-5, 10), 10);
    EXPECT_EQ(ProgressMeter::Percent(0x7FFFFFFE, 0x7FFFFFFF), 100);

    ProgressMeter meter;
    int percent;
    EXPECT_TRUE(meter.Update(0, 3, &percent));
    EXPECT_EQ(percent, 33);
    EXPECT_FALSE(meter.Update(0, 3, &percent));
    EXPECT_TRUE(meter.Update(2, 3, &percent));
    EXPECT_EQ(percent, 100);
    EXPECT_EQ(meter.Last(), 100);
}

TEST(Progress, BarLayout)
{
    ProgressLayout layout = LayoutProgress(1, 1, 201, 19, 25, 30, 12);
    EXPECT_EQ(layout.filledRight, 51);
    EXPECT_EQ(layout.textX, 85);
    EXPECT_EQ(layout.textY, 3);  // (19 - 12 - 1) / 2 = 3
    EXPECT_EQ(LayoutProgress(1, 1, 201, 15, 0, 30, 12).textY, 3);  // 1 is raised to 3
    EXPECT_EQ(LayoutProgress(1, 1, 201, 15, 100, 30, 12).filledRight, 201);
}

}  // namespace

// ---- Settings file copies (Load and Save Settings) --------------------------

#include <fstream>
#include <sstream>

#include "ImageTestKit.h"
#include "capture/core/capture/SettingsFileCopy.h"

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SettingsFileCopyTest, WholeCopyReplacesTheTarget)
{
    const std::string from = kit::ScratchDir() + "/copy_from.ini", to = kit::ScratchDir() + "/copy_to.ini";
    WriteText(from, "[Kaptura 99]\r\nRunMode=1,0,1\r\n");
    WriteText(to, "old settings that are longer than the new ones\r\n");
    EXPECT_EQ(CopySettingsFileBytes(from.c_str(), to.c_str()), kSettingsCopied);
    EXPECT_EQ(ReadText(to), "[Kaptura 99]\r\nRunMode=1,0,1\r\n");
    // An empty source gives an empty target.
    WriteText(from, "");
    EXPECT_EQ(CopySettingsFileBytes(from.c_str(), to.c_str()), kSettingsCopied);
    EXPECT_EQ(ReadText(to), "");
}

TEST(SettingsFileCopyTest, MissingSourceOrUnwritableTargetKeepsTheTarget)
{
    const std::string to = kit::ScratchDir() + "/copy_kept.ini";
    WriteText(to, "[Kaptura 99]\r\nFormat=14\r\n");
    const std::string missing = kit::ScratchDir() + "/no_such_settings.ini";
    EXPECT_EQ(CopySettingsFileBytes(missing.c_str(), to.c_str()), kSettingsCopyReadFailed);
    EXPECT_EQ(ReadText(to), "[Kaptura 99]\r\nFormat=14\r\n");
    const std::string noFolder = kit::ScratchDir() + "/no_such_folder/target.ini";
    EXPECT_EQ(CopySettingsFileBytes(to.c_str(), noFolder.c_str()), kSettingsCopyWriteFailed);
}

TEST(SettingsFileCopyTest, IniExtensionOnlyForNamesWithoutOne)
{
    char path[64] = "C:\\Settings\\mine";
    AddIniExtension(path, sizeof path);
    EXPECT_STREQ(path, "C:\\Settings\\mine.ini");
    char dotted[64] = "C:\\My.Folder\\mine";
    AddIniExtension(dotted, sizeof dotted);
    EXPECT_STREQ(dotted, "C:\\My.Folder\\mine.ini");
    char kept[64] = "C:\\Settings\\mine.cfg";
    AddIniExtension(kept, sizeof kept);
    EXPECT_STREQ(kept, "C:\\Settings\\mine.cfg");
    char full[8] = "abcdefg";  // no room: left as it is
    AddIniExtension(full, sizeof full);
    EXPECT_STREQ(full, "abcdefg");
}

}  // namespace
