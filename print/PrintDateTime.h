// Print and file dates and times in the user's chosen format.
#pragma once

#include <ctime>
#include <string>

#include "PrintSettings.h"

namespace pagent {

// Month names January ... December and weekday names Sunday ... Saturday,
// as the library's string table holds them.
struct CalendarNames {
    std::string months[12];
    std::string weekdays[7];
};
// The English names, for callers without the string table.
const CalendarNames& EnglishCalendarNames();

// Local calendar fields of a time; 0 means now. A time the system cannot
// break down is taken as now.
struct tm LocalCalendar(int64_t seconds);

std::string FormatPrintDate(const struct tm& when, const TimeDateFormat& format, const CalendarNames& names);
std::string FormatPrintTime(const struct tm& when, const TimeDateFormat& format);

}  // namespace pagent
