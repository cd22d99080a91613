// The window-free halves of the option dialogs: the About box's logo sweeps
// spread over timer ticks, and the Clock dialog's preview line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/options/decorations/ClockPreview.h"
#include "capture/options/dialogs/AboutLogoAnimation.h"
#include "capture/core/settings/Settings.h"

namespace {

// Every sweep recolours each row exactly once, from the bottom row up, in
// five ticks; the logo is reloaded only when a cycle of three sweeps begins.
void ExpectWholeSweeps(int rows)
{
    AboutLogoAnimation animation(rows);
    for (int cycle = 0; cycle < 2; ++cycle) {
        for (int sweep = 0; sweep < AboutLogoAnimation::kSweeps; ++sweep) {
            std::vector<int> order;
            for (int tick = 0; tick < AboutLogoAnimation::kTicksPerSweep; ++tick) {
                const LogoSweepStep step = animation.Next();
                EXPECT_EQ(step.restart, sweep == 0 && tick == 0) << rows << " rows, sweep " << sweep;
                EXPECT_EQ(step.sweep, sweep);
                EXPECT_EQ(step.rowCount, step.rowCount > 0 ? step.firstRow - step.lastRow + 1 : 0);
                for (int row = step.firstRow; step.rowCount > 0 && row >= step.lastRow; --row)
                    order.push_back(row);
            }
            ASSERT_EQ(order.size(), size_t(rows)) << rows << " rows, sweep " << sweep;
            for (int i = 0; i < rows; ++i)
                EXPECT_EQ(order[i], rows - 1 - i) << rows << " rows, sweep " << sweep;
        }
    }
}

TEST(AboutLogoAnimation, EachTickDoesOnlyItsShareOfTheSweeps)
{
    ExpectWholeSweeps(44);
    ExpectWholeSweeps(3);   // fewer rows than ticks: some ticks do none
    ExpectWholeSweeps(1);
    // A 44-row logo: no tick does more than a fifth of it.
    AboutLogoAnimation animation(44);
    for (int tick = 0; tick < 15; ++tick)
        EXPECT_LE(animation.Next().rowCount, 9);
    AboutLogoAnimation empty(0);
    EXPECT_EQ(empty.Next().rowCount, 0);
}

TEST(AboutLogoAnimation, SweepsTurnBlueRedGreenBlue)
{
    EXPECT_EQ(LogoSweepColor(0, kLogoBlue), uint32_t(kLogoRed));
    EXPECT_EQ(LogoSweepColor(1, kLogoRed), uint32_t(kLogoGreen));
    EXPECT_EQ(LogoSweepColor(2, kLogoGreen), uint32_t(kLogoBlue));
    // Each sweep changes only its own colour; the unused top byte of a
    // 32-bit pixel does not hide it.
    EXPECT_EQ(LogoSweepColor(0, kLogoRed), uint32_t(kLogoRed));
    EXPECT_EQ(LogoSweepColor(1, kLogoBlue), uint32_t(kLogoBlue));
    EXPECT_EQ(LogoSweepColor(2, 0xFF00FF00u), uint32_t(kLogoBlue));
    EXPECT_EQ(LogoSweepColor(0, 0x0000FEu), 0x0000FEu);
    EXPECT_EQ(LogoSweepColor(3, kLogoBlue), uint32_t(kLogoBlue));
    // Three sweeps in a row make every pure colour blue.
    for (uint32_t pixel : {uint32_t(kLogoRed), uint32_t(kLogoGreen), uint32_t(kLogoBlue)})
        EXPECT_EQ(LogoSweepColor(2, LogoSweepColor(1, LogoSweepColor(0, pixel))), uint32_t(kLogoBlue));
}

TEST(ClockPreview, JoinsTimeAndDateWithTwoBlanks)
{
    struct tm t = {};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 13;
    t.tm_min = 5;
    t.tm_sec = 9;
    int clock[kClockCount] = {1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(ClockPreviewText(clock, t), "1:05:09PM  12/8/26");
    clock[kClockTime] = 0;
    EXPECT_EQ(ClockPreviewText(clock, t), "12/8/26");
    clock[kClockTime] = 1;
    clock[kClockDate] = 0;
    clock[kClockHourFormat] = 1;
    EXPECT_EQ(ClockPreviewText(clock, t), "13:05:09");
    clock[kClockTime] = 0;
    EXPECT_EQ(ClockPreviewText(clock, t), "");
}

}  // namespace
