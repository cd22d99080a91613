// How the browser writes numbers, sizes and file times.
#pragma once

#include <cstdint>
#include <string>

// "1,234,567".
std::string FormatThousands(uint64_t value);
// "0KB" for 0, else bytes / 1024 + 1 with thousands separators and "KB".
std::string FormatKilobytes(uint64_t bytes);
// "%0.2fMB" of bytes / 1,048,576.
std::string FormatMegabytes(uint64_t bytes);
// The status bar's total: kilobytes below 1,048,576 bytes, else megabytes.
std::string FormatTotalSpace(uint64_t bytes);

// A file time (100-ns ticks since 1601, as the file system stores it, not
// turned to local time) as "6/11/1998 1:05PM": month/day/year, the hour on
// a 12-hour clock (hour 0 stays 0), minutes, AM below 12.
std::string FormatFileDate(uint64_t fileTime);
