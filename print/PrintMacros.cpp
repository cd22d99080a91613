#include "PrintMacros.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace pagent {

namespace {

enum Macro { kPrintDate, kPrintTime, kFileDate, kFileTime, kFileName, kResolution, kMacroCount };

struct MacroName {
    const char* longForm;
    const char* shortForm;
    bool fileMacro;
};
const MacroName kMacros[kMacroCount] = {
    {"$printdate", "$pdate", false},  {"$printtime", "$ptime", false},  {"$filedate", "$fdate", true},
    {"$filetime", "$ftime", true},    {"$filename", "$fname", true},    {"$resolution", "$res", true},
};

std::string Value(Macro macro, const MacroValues& values)
{
    const CalendarNames& names = values.names ? *values.names : EnglishCalendarNames();
    switch (macro) {
    case kPrintDate: return FormatPrintDate(LocalCalendar(values.printTime), values.format, names);
    case kPrintTime: return FormatPrintTime(LocalCalendar(values.printTime), values.format);
    case kFileDate: return FormatPrintDate(LocalCalendar(values.fileTime), values.format, names);
    case kFileTime: return FormatPrintTime(LocalCalendar(values.fileTime), values.format);
    case kFileName: return values.fileName;
    default: {
        char text[48];
        snprintf(text, sizeof text, "%dw x %dh", values.width, values.height);
        return text;
    }
    }
}

struct Found {
    size_t at;
    size_t length;
    Macro macro;
};

}  // namespace

std::string ExpandPrintMacros(const std::string& text, const MacroValues& values)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(tolower(c)); });
    std::vector<Found> found;
    for (int m = 0; m < kMacroCount; ++m) {
        if (kMacros[m].fileMacro && !values.hasImage)
            continue;
        const char* form = kMacros[m].longForm;
        size_t at = lower.find(form);
        if (at == std::string::npos) {
            form = kMacros[m].shortForm;
            at = lower.find(form);
        }
        if (at != std::string::npos)
            found.push_back({at, std::char_traits<char>::length(form), Macro(m)});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.at < b.at; });
    std::string result;
    size_t copied = 0;
    for (const Found& f : found) {
        if (f.at < copied)
            continue;   // inside a macro already replaced
        result.append(text, copied, f.at - copied);
        result += Value(f.macro, values);
        copied = f.at + f.length;
    }
    result.append(text, copied, std::string::npos);
    return result;
}

}  // namespace pagent
