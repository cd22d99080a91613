#include "TitleBarLayout.h"

#include <cctype>
#include <cstdio>

#include "CaptureDispatch.h"
#include "Settings.h"

void FormatClockTexts(const int clock[], const struct tm& local, std::string& dateText, std::string& timeText)
{
    char text[32];
    int hour = local.tm_hour;
    std::string suffix;
    const bool twelveHours = clock[kClockHourFormat] == 0;
    if (twelveHours) {
        suffix = hour >= 12 ? "pm" : "am";
        hour %= 12;
        if (hour == 0)
            hour = 12;
        if (clock[kClockUpperCase])
            for (char& c : suffix)
                c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    snprintf(text, sizeof text, "%d:%02d:%02d", hour, local.tm_min, local.tm_sec);
    timeText = text;
    if (!clock[kClockSeconds])
        timeText.resize(timeText.size() - 3);
    if (twelveHours && clock[kClockAmPm])
        timeText += suffix;

    static const char kSeparators[] = {'/', '-', '.'};
    const int separatorIndex = clock[kClockSeparator];
    const char separator = separatorIndex >= 0 && separatorIndex <= 2 ? kSeparators[separatorIndex] : '/';
    // The year within its century, or whole.
    const int year = clock[kClockCentury] ? local.tm_year + 1900 : ((local.tm_year % 100) + 100) % 100;
    const int month = local.tm_mon + 1, day = local.tm_mday;
    switch (clock[kClockDateOrder]) {
    case 0: snprintf(text, sizeof text, "%d%c%d%c%02d", month, separator, day, separator, year); break;
    case 1: snprintf(text, sizeof text, "%d%c%d%c%02d", day, separator, month, separator, year); break;
    case 2: snprintf(text, sizeof text, "%02d%c%d%c%d", year, separator, month, separator, day); break;
    default: text[0] = '\0';
    }
    dateText = text;
}

int SnapshotSlotTypes(const int snapshotButtons[], int types[6])
{
    static const int kButtonTypes[6] = {kCaptureScreenDelayed, kCaptureWindowDelayed, kCaptureRegion,
                                        kCaptureFreehand,      kCaptureButtonPicked,  kCaptureCommandBarPicked};
    int count = 0;
    for (int button = 0; button < 6; ++button)
        if (snapshotButtons[button])
            types[count++] = kButtonTypes[button];
    for (int slot = count; slot < 6; ++slot)
        types[slot] = 0;
    return count;
}

const uint8_t* SnapshotGlyph(int button)
{
    static const uint8_t kGlyphs[6][7] = {
        {124, 64, 64, 124, 4, 4, 124},        // S
        {146, 146, 146, 146, 146, 146, 124},  // W
        {124, 68, 68, 124, 80, 72, 68},       // R
        {124, 64, 64, 120, 64, 64, 64},       // F
        {120, 68, 68, 120, 68, 68, 120},      // B
        {56, 68, 64, 64, 64, 68, 56},         // C
    };
    return kGlyphs[button >= 0 && button < 6 ? button : 0];
}

int CaptionButtonsWidth(const CaptionStyle& style, int majorVersion, int captionHeight)
{
    const int h = captionHeight;
    int d = majorVersion > 3 && style.sysMenu ? h - 1 : 0;
    if (style.minOrMaxBox)
        d += 2 * h - 4 + (majorVersion == 3 ? 2 : 0);
    if (style.contextHelp)
        d += h - 1;
    return d + 2;
}
