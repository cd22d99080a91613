// The window-free rules behind the Capture Setup sheet and the Hotkey Setup
// dialog: the hot-key conflict check in its order, the hot-key text, the
// Title and Menu interlock and samples, the Command Bar samples, and how the
// sheet's values are taken from and stored into the settings.
#include <gtest/gtest.h>

#include <cstring>

#include "capture/core/settings/Settings.h"
#include "capture/options/hotkeys/HotkeyRules.h"
#include "capture/options/hotkeys/HotkeySetupIds.h"
#include "capture/options/kindpages/KindPageRules.h"
#include "capture/options/setupsheet/CaptureSetupIds.h"
#include "capture/options/setupsheet/CaptureSetupValues.h"

namespace {

const int kA = 59, kKeypad7 = 54, kKeypadPlus = 57, kKeypadPoint = 100, kDigit1 = 17, kF5 = 5;

void Hold(HotkeyAssignments& a, int row, int modifier) { a.modifiers[row][modifier] = -1; }
void Release(HotkeyAssignments& a, int row, int modifier) { a.modifiers[row][modifier] = 0; }

}  // namespace

TEST(HotkeyConflicts, DefaultsAreAccepted)
{
    const HotkeyVerdict verdict = CheckHotkeyConflicts(DefaultHotkeyAssignments());
    EXPECT_EQ(verdict.message, 0);
}

TEST(HotkeyConflicts, ShiftAnywhereForbidsKeypadDigitsOnTheFirstSixRows)
{
    HotkeyAssignments a = DefaultHotkeyAssignments();
    a.keys[0] = kA;
    Hold(a, 0, kModifierShift);
    a.keys[1] = kKeypad7;   // Window, no Shift of its own
    EXPECT_EQ(CheckHotkeyConflicts(a).message, IDS_SHIFT_WITH_KEYPAD);

    a.keys[1] = kKeypadPoint;
    EXPECT_EQ(CheckHotkeyConflicts(a).message, IDS_SHIFT_WITH_KEYPAD);
    a.keys[1] = kKeypadPlus;   // "+" is allowed
    EXPECT_EQ(CheckHotkeyConflicts(a).message, 0);
    // Button and Command Bar are not examined.
    a.keys[1] = 18;
    a.keys[6] = kKeypad7;
    a.keys[7] = 88;
    EXPECT_EQ(CheckHotkeyConflicts(a).message, 0);
    // Without Shift anywhere, keypad digits are fine.
    Release(a, 0, kModifierShift);
    a.keys[2] = kKeypad7 + 1;   // keypad 8
    EXPECT_EQ(CheckHotkeyConflicts(a).message, 0);
}

TEST(HotkeyConflicts, TitleAndMenuRefusesAltAndEscOnly)
{
    HotkeyAssignments a = DefaultHotkeyAssignments();
    Hold(a, 3, kModifierEsc);
    EXPECT_EQ(CheckHotkeyConflicts(a).message, IDS_TITLEMENU_MENU_KEYS);
    a = DefaultHotkeyAssignments();
    Hold(a, 3, kModifierAlt);
    EXPECT_EQ(CheckHotkeyConflicts(a).message, IDS_TITLEMENU_MENU_KEYS);
    a = DefaultHotkeyAssignments();
    Hold(a, 2, kModifierAlt);
    Hold(a, 3, kModifierShift);
    EXPECT_EQ(CheckHotkeyConflicts(a).message, 0);
}

TEST(HotkeyConflicts, ShiftCheckComesBeforeTheTitleMenuCheck)
{
    HotkeyAssignments a = DefaultHotkeyAssignments();
    Hold(a, 3, kModifierEsc);
    Hold(a, 0, kModifierShift);
    a.keys[5] = kKeypad7;
    EXPECT_EQ(CheckHotkeyConflicts(a).message, IDS_SHIFT_WITH_KEYPAD);
}

TEST(HotkeyConflicts, IdenticalKeysNameTheFirstPairIgnoringModifiers)
{
    HotkeyAssignments a = DefaultHotkeyAssignments();
    a.keys[1] = kDigit1;   // Window on "1" like Screen, with Alt instead of Ctrl
    Release(a, 1, kModifierCtrl);
    Hold(a, 1, kModifierAlt);
    HotkeyVerdict verdict = CheckHotkeyConflicts(a);
    EXPECT_EQ(verdict.message, IDS_IDENTICAL_HOTKEYS);
    EXPECT_EQ(verdict.pair, 33027);   // Screen and Window

    // Every pair of rows 0-6 has its own text, in order.
    int expected = IDS_IDENTICAL_PAIR_FIRST;
    for (int first = 0; first < 7; ++first) {
        for (int second = first + 1; second < 7; ++second, ++expected) {
            HotkeyAssignments b = DefaultHotkeyAssignments();
            b.keys[second] = b.keys[first];
            verdict = CheckHotkeyConflicts(b);
            EXPECT_EQ(verdict.message, IDS_IDENTICAL_HOTKEYS);
            EXPECT_EQ(verdict.pair, expected) << first << "," << second;
        }
    }
    EXPECT_EQ(expected, 33048);
}

TEST(HotkeyConflicts, CommandBarMayShareAnyKey)
{
    for (int row = 0; row < 7; ++row) {
        HotkeyAssignments a = DefaultHotkeyAssignments();
        a.keys[7] = a.keys[row];
        EXPECT_EQ(CheckHotkeyConflicts(a).message, 0) << row;
    }
}

TEST(HotkeyAssignmentsStore, RoundTripKeepsHeldAsMinusOne)
{
    int savedKeys[kHotkeyRowCount];
    int savedModifiers[kHotkeyRowCount][kHotkeyModifierCount];
    memcpy(savedKeys, NormalKey, sizeof savedKeys);
    memcpy(savedModifiers, SystemKey, sizeof savedModifiers);

    HotkeyAssignments a = DefaultHotkeyAssignments();
    a.keys[0] = 9;
    a.modifiers[0][kModifierShift] = 1;   // any non-zero state is "held"
    StoreHotkeyAssignments(a);
    EXPECT_EQ(NormalKey[0], 9);
    EXPECT_EQ(SystemKey[0][kModifierShift], -1);
    EXPECT_EQ(SystemKey[0][kModifierCtrl], -1);
    EXPECT_EQ(SystemKey[1][kModifierShift], 0);
    const HotkeyAssignments back = CurrentHotkeyAssignments();
    EXPECT_EQ(back.keys[0], 9);
    EXPECT_EQ(back.keys[7], 24);

    memcpy(NormalKey, savedKeys, sizeof savedKeys);
    memcpy(SystemKey, savedModifiers, sizeof savedModifiers);
}

TEST(HotkeyText, ModifiersComeInTheirShownOrder)
{
    const int ctrlAlt[4] = {0, 0, -1, -1};
    EXPECT_EQ(HotkeyText("Hotkey: ", kF5, ctrlAlt), "Hotkey: Ctrl + Alt + F5");
    const int all[4] = {-1, -1, -1, -1};
    EXPECT_EQ(HotkeyText("Hotkey: ", kA, all), "Hotkey: Esc + Ctrl + Shift + Alt + A");
    const int none[4] = {0, 0, 0, 0};
    EXPECT_EQ(HotkeyText("Hotkey: ", 93, none), "Hotkey:  ");   // the space bar's name is a blank
    EXPECT_EQ(HotkeyText("Hotkey: ", 101, none), "Hotkey: ");   // outside the table: no name
    EXPECT_EQ(HotkeyText("Hotkey: ", -1, none), "Hotkey: ");
}

// ---- Kind pages ----

namespace {

TitleMenuObjects After(TitleMenuBox clicked, TitleMenuObjects objects)
{
    ApplyTitleMenuInterlock(clicked, objects);
    return objects;
}

bool Same(const TitleMenuObjects& a, const TitleMenuObjects& b)
{
    return a.title == b.title && a.menu == b.menu && a.pulldown == b.pulldown && a.cascading == b.cascading;
}

}  // namespace

TEST(TitleMenuInterlock, EachBoxPullsInWhatItNeeds)
{
    // Title ticked while a pulldown is: the menu bar comes too.
    EXPECT_TRUE(Same(After(kBoxTitle, {1, 0, 1, 0}), {1, 1, 1, 0}));
    // Menu bar unticked under a title and a pulldown: the title goes.
    EXPECT_TRUE(Same(After(kBoxMenu, {1, 0, 1, 0}), {0, 0, 1, 0}));
    // Pulldown unticked under a menu bar and a cascade: the cascade goes.
    EXPECT_TRUE(Same(After(kBoxPulldown, {0, 1, 0, 1}), {0, 1, 0, 0}));
    // Cascade ticked with a menu bar: the pulldown comes; with a title: all.
    EXPECT_TRUE(Same(After(kBoxCascading, {0, 1, 0, 1}), {0, 1, 1, 1}));
    EXPECT_TRUE(Same(After(kBoxCascading, {1, 0, 0, 1}), {1, 1, 1, 1}));
    EXPECT_TRUE(Same(After(kBoxCascading, {0, 0, 0, 1}), {0, 0, 0, 1}));
    EXPECT_TRUE(Same(After(kBoxErase, {1, 0, 1, 0}), {1, 0, 1, 0}));
}

TEST(KindSamples, TitleMenuPicturesFollowTheTable)
{
    struct Case {
        TitleMenuObjects objects;
        int erase;
        int bitmap, x, y;
    } cases[] = {
        {{1, 1, 1, 1}, 1, 43, 0, 0},   {{1, 1, 1, 1}, 0, 42, 0, 0},   {{1, 1, 1, 0}, 1, 45, 0, 0},
        {{1, 1, 0, 0}, 1, 46, 0, 0},   {{1, 0, 0, 0}, 0, 47, 0, 0},   {{0, 0, 1, 1}, 0, 48, 32, 22},
        {{0, 0, 1, 0}, 1, 51, 32, 22}, {{0, 0, 0, 1}, 1, 52, 123, 84}, {{0, 1, 0, 0}, 1, 53, 3, 22},
        {{0, 1, 1, 0}, 1, 55, 3, 22},  {{0, 1, 1, 1}, 0, 56, 3, 22},  {{0, 0, 0, 0}, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const SamplePicture p = TitleMenuSample(c.objects, c.erase);
        EXPECT_EQ(p.bitmap, c.bitmap);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST(KindSamples, CommandBarPictures)
{
    EXPECT_EQ(CommandBarSample(1, 1, 1).bitmap, 225);
    EXPECT_EQ(CommandBarSample(1, 1, 0).bitmap, 224);
    EXPECT_EQ(CommandBarSample(1, 0, 1).bitmap, 226);
    const SamplePicture dropdowns = CommandBarSample(0, 1, 1);
    EXPECT_EQ(dropdowns.bitmap, 227);
    EXPECT_EQ(dropdowns.x, 8);
    EXPECT_EQ(dropdowns.y, 44);
    EXPECT_EQ(CommandBarSample(0, 1, 0).bitmap, 228);
    EXPECT_EQ(CommandBarSample(0, 0, 1).bitmap, 0);
}

// ---- The sheet's values ----

class SheetValues : public testing::Test {
protected:
    void SetUp() override
    {
        memcpy(savedSendto, SendtoPage, sizeof savedSendto);
        memcpy(savedScreen, ScreenPage, sizeof savedScreen);
    }
    void TearDown() override
    {
        memcpy(SendtoPage, savedSendto, sizeof savedSendto);
        memcpy(ScreenPage, savedScreen, sizeof savedScreen);
    }
    int savedSendto[kSendtoPageCount];
    int savedScreen[kScreenPageCount];
};

TEST_F(SheetValues, LoadedValuesFitTheirControls)
{
    const int sendto[kSendtoPageCount] = {12, 1, 0, 0, 0, 0, 0, 5000, -3};
    memcpy(SendtoPage, sendto, sizeof sendto);
    const int screen[kScreenPageCount] = {-50, -1, 40000, 300, 0, 900};
    memcpy(ScreenPage, screen, sizeof screen);
    const CaptureSetupValues v = LoadCaptureSetupValues();
    EXPECT_EQ(v.sendTo[kSendtoFirstPage], 9);
    EXPECT_EQ(v.sendTo[kSendtoMarginX], 1200);
    EXPECT_EQ(v.sendTo[kSendtoMarginY], 0);
    EXPECT_EQ(v.screen[kScreenLeft], 0);
    EXPECT_EQ(v.screen[kScreenTop], 0);
    EXPECT_EQ(v.screen[kScreenRight], 32767);
    EXPECT_EQ(v.screen[kScreenBottom], 300);
    EXPECT_EQ(v.screen[kScreenCountdownSeconds], 600);
    // The settings themselves are not touched.
    EXPECT_EQ(SendtoPage[kSendtoMarginX], 5000);
}

TEST_F(SheetValues, StoringFillsTheRulesOfOk)
{
    CaptureSetupValues v = LoadCaptureSetupValues();
    v.sendTo[kSendtoWindow] = v.sendTo[kSendtoClipboard] = v.sendTo[kSendtoPrinter] = v.sendTo[kSendtoFile] = 0;
    v.sendTo[kSendtoFileNaming] = -1;
    v.sendTo[kSendtoMarginX] = 17;
    EXPECT_TRUE(MarginsChanged(v));
    StoreCaptureSetupValues(v, 4);
    EXPECT_EQ(SendtoPage[kSendtoWindow], 1);
    EXPECT_EQ(SendtoPage[kSendtoFileNaming], 0);
    EXPECT_EQ(SendtoPage[kSendtoFirstPage], 4);
    EXPECT_EQ(SendtoPage[kSendtoMarginX], 17);
    EXPECT_FALSE(MarginsChanged(v));

    // A destination ticked leaves the window as chosen.
    v.sendTo[kSendtoWindow] = 0;
    v.sendTo[kSendtoFile] = 1;
    StoreCaptureSetupValues(v, 0);
    EXPECT_EQ(SendtoPage[kSendtoWindow], 0);
    EXPECT_EQ(SendtoPage[kSendtoFile], 1);
}
