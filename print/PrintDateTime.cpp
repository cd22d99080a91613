#include "PrintDateTime.h"

#include <cstdio>

namespace pagent {

const CalendarNames& EnglishCalendarNames()
{
    static const CalendarNames names = {
        {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
         "November", "December"},
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}};
    return names;
}

struct tm LocalCalendar(int64_t seconds)
{
    time_t when = seconds ? time_t(seconds) : time(nullptr);
    struct tm fields{};
    const struct tm* broken = localtime(&when);
    if (!broken) {
        when = time(nullptr);
        broken = localtime(&when);
    }
    if (broken)
        fields = *broken;
    return fields;
}

namespace {

std::string Name(const std::string& name, bool abbreviate)
{
    return abbreviate && name.size() > 3 ? name.substr(0, 3) : name;
}

int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

}  // namespace

std::string FormatPrintDate(const struct tm& when, const TimeDateFormat& format, const CalendarNames& names)
{
    static const char kSeparators[4] = {'/', '-', '.', ' '};
    const bool abbreviate = format[TimeDateFormat::kAbbreviation] != 0;
    const int separatorIndex = Clamp(format[TimeDateFormat::kSeparator], 0, 3);
    const char sep = kSeparators[separatorIndex];
    const bool blank = separatorIndex == 3;
    const int month = Clamp(when.tm_mon, 0, 11);
    const int m = month + 1, d = when.tm_mday;
    // Without the century the year has two digits, also past 2099.
    const int y = format[TimeDateFormat::kCentury] ? when.tm_year + 1900 : ((when.tm_year % 100) + 100) % 100;
    const std::string name = Name(names.months[month], abbreviate);
    char text[128];
    const bool named = format[TimeDateFormat::kMonthName] != 0;
    switch (format[TimeDateFormat::kOrder]) {
    case 1:
        if (named)
            snprintf(text, sizeof text, blank ? "%d%c%s,%c%02d" : "%d%c%s%c%02d", d, sep, name.c_str(), sep, y);
        else
            snprintf(text, sizeof text, "%d%c%d%c%02d", d, sep, m, sep, y);
        break;
    case 2:
        if (named)
            snprintf(text, sizeof text, "%02d%c%s%c%d", y, sep, name.c_str(), sep, d);
        else
            snprintf(text, sizeof text, "%02d%c%d%c%d", y, sep, m, sep, d);
        break;
    default:
        if (named)
            snprintf(text, sizeof text, blank ? "%s%c%d,%c%02d" : "%s%c%d%c%02d", name.c_str(), sep, d, sep, y);
        else
            snprintf(text, sizeof text, "%d%c%d%c%02d", m, sep, d, sep, y);
        break;
    }
    if (!format[TimeDateFormat::kWeekday])
        return text;
    return Name(names.weekdays[Clamp(when.tm_wday, 0, 6)], abbreviate) + ", " + text;
}

std::string FormatPrintTime(const struct tm& when, const TimeDateFormat& format)
{
    int hour = when.tm_hour;
    const char* marker = "";
    if (!format[TimeDateFormat::kHours]) {
        bool pm = hour >= 12;
        if (hour > 12)
            hour -= 12;
        else if (hour == 0)
            hour = 12;
        if (format[TimeDateFormat::kAmPm])
            marker = format[TimeDateFormat::kUpperCase] ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
    }
    char text[64];
    if (format[TimeDateFormat::kSeconds])
        snprintf(text, sizeof text, "%d:%02d:%02d%s", hour, when.tm_min, when.tm_sec, marker);
    else
        snprintf(text, sizeof text, "%d:%02d%s", hour, when.tm_min, marker);
    return text;
}

}  // namespace pagent
