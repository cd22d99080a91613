// The whole numbers the programs' ini values hold, read alike by the capture
// program's settings and the print library. Header-only and window-free.
#pragma once

#include <climits>

// The integer at the start of token (leading blanks, an optional sign, then
// digits; no digits gives 0), or fallback when token is null. Values beyond
// the int range saturate.
inline int ParseIntOrDefault(const char* token, int fallback)
{
    if (!token)
        return fallback;
    while (*token == ' ' || *token == '\t')
        ++token;
    bool negative = false;
    if (*token == '+' || *token == '-')
        negative = *token++ == '-';
    long long value = 0;
    for (; *token >= '0' && *token <= '9'; ++token) {
        value = value * 10 + (*token - '0');
        if (value > INT_MAX)
            value = INT_MAX + 1LL;  // saturate; keeps INT_MIN reachable
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return int(value);
}
