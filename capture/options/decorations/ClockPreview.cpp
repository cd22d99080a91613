#include "ClockPreview.h"

#include "Settings.h"
#include "TitleBarLayout.h"

std::string ClockPreviewText(const int clock[], const struct tm& local)
{
    std::string date, time;
    FormatClockTexts(clock, local, date, time);
    if (clock[kClockTime] && clock[kClockDate])
        return time + "  " + date;
    if (clock[kClockTime])
        return time;
    if (clock[kClockDate])
        return date;
    return std::string();
}
