// The clock's time and date texts in every format, the snapshot strip's
// slots and glyphs, and the width of the caption buttons.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "capture/core/app/TitleBarLayout.h"
#include "capture/core/capture/CaptureDispatch.h"
#include "capture/core/settings/Settings.h"

namespace {

struct tm At(int year, int month, int day, int hour, int minute, int second)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// Clock values: time, date, hide, hour format, seconds, am/pm, upper case,
// order, separator, century, colour.
std::string TimeText(std::initializer_list<int> values, const struct tm& t)
{
    int clock[kClockCount] = {};
    int i = 0;
    for (int v : values)
        clock[i++] = v;
    std::string date, time;
    FormatClockTexts(clock, t, date, time);
    return time;
}

std::string DateText(int order, int separator, int century, const struct tm& t)
{
    int clock[kClockCount] = {1, 1, 0, 0, 1, 1, 0, order, separator, century, 0};
    std::string date, time;
    FormatClockTexts(clock, t, date, time);
    return date;
}

} // namespace

TEST(ClockText, TwelveHourClockRunsMidnightAsTwelveAmAndNoonAsTwelvePm)
{
    //                     time date hide 12h sec ampm upper
    EXPECT_EQ(TimeText({1, 0, 0, 0, 1, 1, 0}, At(2026, 1, 2, 0, 5, 9)), "12:05:09am");
    EXPECT_EQ(TimeText({1, 0, 0, 0, 1, 1, 0}, At(2026, 1, 2, 12, 0, 0)), "12:00:00pm");
    EXPECT_EQ(TimeText({1, 0, 0, 0, 1, 1, 0}, At(2026, 1, 2, 13, 7, 0)), "1:07:00pm");
    EXPECT_EQ(TimeText({1, 0, 0, 0, 1, 1, 1}, At(2026, 1, 2, 11, 59, 59)), "11:59:59AM");
    // Seconds off: hour and minutes remain, the suffix follows them.
    EXPECT_EQ(TimeText({1, 0, 0, 0, 0, 1, 0}, At(2026, 1, 2, 23, 45, 1)), "11:45pm");
    // No suffix without value 6; a 24-hour clock never has one.
    EXPECT_EQ(TimeText({1, 0, 0, 0, 1, 0, 0}, At(2026, 1, 2, 23, 45, 1)), "11:45:01");
    EXPECT_EQ(TimeText({1, 0, 0, 1, 1, 1, 1}, At(2026, 1, 2, 23, 45, 1)), "23:45:01");
    EXPECT_EQ(TimeText({1, 0, 0, 1, 0, 0, 0}, At(2026, 1, 2, 0, 0, 0)), "0:00");
}

TEST(ClockText, DateOrdersSeparatorsAndCenturies)
{
    EXPECT_EQ(DateText(0, 0, 0, At(2026, 12, 9, 0, 0, 0)), "12/9/26");
    EXPECT_EQ(DateText(1, 1, 0, At(2026, 12, 9, 0, 0, 0)), "9-12-26");
    EXPECT_EQ(DateText(2, 2, 1, At(2026, 3, 4, 0, 0, 0)), "2026.3.4");
    // Year 2000 without century prints "00"; 1999 prints 99.
    EXPECT_EQ(DateText(0, 0, 0, At(2000, 1, 1, 0, 0, 0)), "1/1/00");
    EXPECT_EQ(DateText(2, 0, 0, At(1999, 1, 1, 0, 0, 0)), "99/1/1");
    // Years past 2099 stay within their century.
    EXPECT_EQ(DateText(0, 0, 0, At(2105, 6, 7, 0, 0, 0)), "6/7/05");
    // An order or separator out of range: no date, or the first separator.
    EXPECT_EQ(DateText(3, 0, 0, At(2026, 1, 1, 0, 0, 0)), "");
    EXPECT_EQ(DateText(0, 7, 0, At(2026, 1, 1, 0, 0, 0)), "1/1/26");
}

TEST(SnapshotStrip, SlotsPackTheEnabledButtonsInTheirFixedOrder)
{
    int types[6];
    const int all[7] = {1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(SnapshotSlotTypes(all, types), 6);
    EXPECT_EQ(types[0], kCaptureScreenDelayed);
    EXPECT_EQ(types[3], kCaptureFreehand);
    EXPECT_EQ(types[5], kCaptureCommandBarPicked);
    const int some[7] = {0, 1, 0, 0, 1, 0, 1};
    EXPECT_EQ(SnapshotSlotTypes(some, types), 2);
    EXPECT_EQ(types[0], kCaptureWindowDelayed);
    EXPECT_EQ(types[1], kCaptureButtonPicked);
    EXPECT_EQ(types[2], 0);
    const int none[7] = {};
    EXPECT_EQ(SnapshotSlotTypes(none, types), 0);
    // The glyphs: S and C as their rows say; bit 0 is never used.
    const uint8_t s[7] = {124, 64, 64, 124, 4, 4, 124};
    EXPECT_EQ(memcmp(SnapshotGlyph(0), s, 7), 0);
    for (int button = 0; button < 6; ++button)
        for (int row = 0; row < 7; ++row)
            EXPECT_EQ(SnapshotGlyph(button)[row] & 1, 0);
}

TEST(SnapshotStrip, CaptionButtonsWidthFollowsTheWindowStyle)
{
    // A plain frame of caption height 18 on a newer system: close, min/max.
    EXPECT_EQ(CaptionButtonsWidth({true, true, false}, 4, 18), 17 + 32 + 2);
    EXPECT_EQ(CaptionButtonsWidth({true, false, true}, 4, 18), 17 + 17 + 2);
    EXPECT_EQ(CaptionButtonsWidth({false, false, false}, 4, 18), 2);
    // Version 3: no close button, the pair two pixels wider.
    EXPECT_EQ(CaptionButtonsWidth({true, true, false}, 3, 18), 32 + 2 + 2);
}
