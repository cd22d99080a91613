#include "ConvertTables.h"

#include <cctype>
#include <cstring>

const InputFormat kInputFormats[] = {
    {"All Supported Formats", nullptr},
    {"BMP Format", "bmp"}, {"CLP Format", "clp"}, {"CUR Format", "cur"}, {"DIB Format", "dib"},
    {"KPT Format", "kpt"}, {"GIF Format", "gif"}, {"ICO Format", "ico"}, {"JPG Format", "jpg"},
    {"PCX Format", "pcx"}, {"PNG Format", "png"}, {"RLE Format", "rle"}, {"TIF Format", "tif"},
    {"WPG Format", "wpg"},
};
const int kInputFormatCount = sizeof kInputFormats / sizeof kInputFormats[0];

const OutputFormat kOutputFormats[] = {
    {"BMP Format", "bmp", 1},  {"CLP Format", "clp", 2}, {"DIB Format", "dib", 3},
    {"GIF Format", "gif", 4},  {"GIF Interlaced Format", "gif", 5},
    {"JPG Format", "jpg", 6},  {"PCX Format", "pcx", 7}, {"PNG Format", "png", 8},
    {"RLE Format", "rle", 9},  {"TIF Format", "tif", 10}, {"WPG Format", "wpg", 11},
};
const int kOutputFormatCount = sizeof kOutputFormats / sizeof kOutputFormats[0];

namespace {

bool SameNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (tolower(static_cast<unsigned char>(*a)) != tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

const char* ExtensionOf(const char* name)
{
    const char* dot = name ? strrchr(name, '.') : nullptr;
    return dot ? dot + 1 : nullptr;
}

// A decimal token (spaces around it allowed), or `fallback` when the token
// is empty, holds anything else or runs past nine digits.
int ParseIndex(const std::string& token, int fallback)
{
    size_t first = token.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return fallback;
    size_t last = token.find_last_not_of(" \t\r\n");
    std::string digits = token.substr(first, last - first + 1);
    bool negative = digits[0] == '-';
    if (digits[0] == '-' || digits[0] == '+')
        digits.erase(0, 1);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return fallback;
    int value = std::stoi(digits);
    return negative ? -value : value;
}

}  // namespace

bool MatchesInputFormat(const char* name, int index)
{
    const char* extension = ExtensionOf(name);
    if (!extension || index < 0 || index >= kInputFormatCount)
        return false;
    for (int i = 1; i < kInputFormatCount; ++i)
        if (SameNoCase(extension, kInputFormats[i].extension))
            return index == 0 || index == i;
    return false;
}

bool MatchesOutputFormat(const char* name, int index)
{
    const char* extension = ExtensionOf(name);
    return extension && index >= 0 && index < kOutputFormatCount &&
           SameNoCase(extension, kOutputFormats[index].extension);
}

std::string OutputFileName(const std::string& name, const char* extension)
{
    size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + "." + extension;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

ConvertSettings ParseConvertSettings(const char* value)
{
    ConvertSettings settings;
    if (!value || !*value)
        return settings;
    std::string tokens[3];
    bool present[3] = {};
    std::string text(value);
    size_t start = 0;
    for (int i = 0; i < 3 && start <= text.size(); ++i) {
        size_t comma = text.find(',', start);
        tokens[i] = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        present[i] = true;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    settings.detailsShown = ParseIndex(tokens[0], 1) != 0 ? 1 : 0;
    settings.inputFormat = present[1] ? ParseIndex(tokens[1], 0) : 1;
    settings.outputFormat = present[2] ? ParseIndex(tokens[2], 0) : 0;
    if (settings.inputFormat < 0 || settings.inputFormat >= kInputFormatCount)
        settings.inputFormat = 0;
    if (settings.outputFormat < 0 || settings.outputFormat >= kOutputFormatCount)
        settings.outputFormat = 0;
    return settings;
}

std::string FormatConvertSettings(const ConvertSettings& settings)
{
    return std::to_string(settings.detailsShown) + "," + std::to_string(settings.inputFormat) + "," +
           std::to_string(settings.outputFormat);
}
