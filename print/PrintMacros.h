// The macros of header, footer and note texts: print date and time, the
// image file's date, time, name and size.
#pragma once

#include <cstdint>
#include <string>

#include "PrintDateTime.h"

namespace pagent {

// What the macros are replaced by.
struct MacroValues {
    int64_t printTime = 0;          // seconds; 0 = now
    int64_t fileTime = 0;           // seconds; 0 = now
    std::string fileName;           // as the record holds it
    int width = 0;
    int height = 0;
    bool hasImage = false;          // without pixels the file macros stay as typed
    TimeDateFormat format = DefaultTimeDateFormat();
    const CalendarNames* names = nullptr;   // English when not given
};

// Replaces the first occurrence of each macro (its long form when present,
// else its short form, matched without regard to case). All macros are
// found in the text as typed, so a replaced value is never read again.
std::string ExpandPrintMacros(const std::string& text, const MacroValues& values);

}  // namespace pagent
