#include "BrowserSettings.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The decimal integers of a comma-separated list; false when a token is
// empty, not a number or too large.
bool ParseIntegers(const char* text, std::vector<long>& values)
{
    const char* p = text;
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p || value < -2147483647L || value > 2147483647L)
            return false;
        values.push_back(value);
        p = end;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == 0)
            return true;
        if (*p != ',')
            return false;
        ++p;
    }
}

}  // namespace

void ParseFlagList(const char* text, int* flags, int count)
{
    std::vector<long> values;
    const bool sound = text && *text && ParseIntegers(text, values);
    for (int i = 0; i < count; ++i)
        flags[i] = sound && i < static_cast<int>(values.size()) ? values[i] != 0 : 1;
}

std::string FormatFlagList(const int* flags, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ',';
        text += flags[i] ? '1' : '0';
    }
    return text;
}

uint32_t ParseBackground(const char* text)
{
    std::vector<long> values;
    if (!text || !*text || !ParseIntegers(text, values) || values[0] < 0 || values[0] > 0xFFFFFF)
        return kDefaultBackground;
    return static_cast<uint32_t>(values[0]);
}

std::string FormatBackground(uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(colour));
    return text;
}
