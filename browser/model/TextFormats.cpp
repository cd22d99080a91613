#include "TextFormats.h"

#include <cstdio>

std::string FormatThousands(uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string text;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i && (n - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string FormatKilobytes(uint64_t bytes)
{
    return (bytes == 0 ? std::string("0") : FormatThousands(bytes / 1024 + 1)) + "KB";
}

std::string FormatMegabytes(uint64_t bytes)
{
    char text[48];
    std::snprintf(text, sizeof text, "%0.2fMB", static_cast<double>(bytes) / 1048576.0);
    return text;
}

std::string FormatTotalSpace(uint64_t bytes)
{
    return bytes < 1048576 ? FormatKilobytes(bytes) : FormatMegabytes(bytes);
}

std::string FormatFileDate(uint64_t fileTime)
{
    const uint64_t seconds = fileTime / 10000000ULL;
    const int64_t days = static_cast<int64_t>(seconds / 86400);
    const int secondOfDay = static_cast<int>(seconds % 86400);
    // Civil date from days since 1 January 1601 (a proleptic Gregorian day
    // count, shifted to the era algorithm's 1 March 0000 base).
    const int64_t z = days + 584694;   // days since 0000-03-01
    const int64_t era = z / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    const int hour = secondOfDay / 3600;
    const int minute = secondOfDay / 60 % 60;
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d%s", month, day, year, hour > 12 ? hour - 12 : hour, minute,
                  hour < 12 ? "AM" : "PM");
    return text;
}
