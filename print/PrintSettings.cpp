#include "PrintSettings.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace pagent {

namespace {

std::string ReadKey(const char* section, const char* key, const char* file)
{
    char text[kTextSize] = {};
    GetPrivateProfileStringA(section, key, "", text, sizeof text, file);
    text[sizeof text - 1] = 0;
    return text;
}

// A choice out of range takes its default; a count is clamped.
struct Range { int low; int high; bool clamp; };

void ApplyRanges(int* values, const int* defaults, const Range* ranges, int count)
{
    for (int i = 0; i < count; ++i) {
        if (values[i] >= ranges[i].low && values[i] <= ranges[i].high)
            continue;
        if (ranges[i].clamp)
            values[i] = values[i] < ranges[i].low ? ranges[i].low : ranges[i].high;
        else
            values[i] = defaults[i];
    }
}

std::string Cut(const std::string& text, size_t most)
{
    return text.size() > most ? text.substr(0, most) : text;
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

int ParseIntList(const char* text, int* values, const int* defaults, int count)
{
    for (int i = 0; i < count; ++i)
        values[i] = defaults[i];
    if (!text)
        return 0;
    int found = 0;
    const char* p = text;
    while (*p && found < count) {
        while (*p == ',')
            ++p;
        if (!*p)
            break;
        size_t length = strcspn(p, ",");
        std::string token(p, length);
        values[found] = found == 0 ? ParseIntOrDefault(token.c_str(), 0)
                                   : ParseIntOrDefault(token.c_str(), defaults[found]);
        ++found;
        p += length;
    }
    return found;
}

std::string FormatIntList(const int* values, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

// ---- Option lists ----

namespace {
const int kPageDefaults[PageOptions::kCount] = {0, 1, 3, 0, 4, 1, 1, 0, 0, 0, 1, 1, 1};
const Range kPageRanges[PageOptions::kCount] = {
    {0, 4, false}, {1, 999, true}, {1, 99, true}, {0, 2, false}, {0, 8, false}, {0, 1, false},
    {0, 2, false}, {0, 1, false},  {0, 1, false}, {0, 2, false}, {0, 1, false}, {0, 1, false},
    {0, 1, false}};
const int kAllPageDefaults[AllPageOptions::kCount] = {1, 3, 0, 4, 1, 1, 1, 0};
const Range kAllPageRanges[AllPageOptions::kCount] = {
    {1, 99, true}, {1, 99, true}, {0, 2, false}, {0, 8, false},
    {0, 1, false}, {1, 20, true}, {0, 1, false}, {0, 1, false}};
const int kTimeDateDefaults[TimeDateFormat::kCount] = {0, 1, 0, 0, 0, 0, 1, 0, 0, 1};
const Range kTimeDateRanges[TimeDateFormat::kCount] = {
    {0, 1, false}, {0, 1, false}, {0, 1, false}, {0, 1, false}, {0, 2, false},
    {0, 1, false}, {0, 1, false}, {0, 3, false}, {0, 1, false}, {0, 1, false}};

// Flags stored as any nonzero number mean "on".
void NormaliseFlags(int* values, const Range* ranges, int count)
{
    for (int i = 0; i < count; ++i)
        if (ranges[i].low == 0 && ranges[i].high == 1 && !ranges[i].clamp && values[i] != 0 && values[i] != 1)
            values[i] = 1;
}

template <class Options>
Options ParseOptions(const char* text, const int* defaults, const Range* ranges)
{
    Options options;
    ParseIntList(text, options.values, defaults, Options::kCount);
    NormaliseFlags(options.values, ranges, Options::kCount);
    ApplyRanges(options.values, defaults, ranges, Options::kCount);
    return options;
}
}  // namespace

PageOptions DefaultPageOptions() { return ParsePageOptions(""); }
AllPageOptions DefaultAllPageOptions() { return ParseAllPageOptions(""); }
TimeDateFormat DefaultTimeDateFormat() { return ParseTimeDateFormat(""); }

PageOptions ParsePageOptions(const char* text)
{
    return ParseOptions<PageOptions>(text, kPageDefaults, kPageRanges);
}

AllPageOptions ParseAllPageOptions(const char* text)
{
    return ParseOptions<AllPageOptions>(text, kAllPageDefaults, kAllPageRanges);
}

TimeDateFormat ParseTimeDateFormat(const char* text)
{
    // The order and separator are choices of their own, not flags.
    TimeDateFormat format;
    ParseIntList(text, format.values, kTimeDateDefaults, TimeDateFormat::kCount);
    for (int i : {TimeDateFormat::kAbbreviation, TimeDateFormat::kAmPm, TimeDateFormat::kCentury,
                  TimeDateFormat::kSeconds, TimeDateFormat::kUpperCase, TimeDateFormat::kWeekday})
        format.values[i] = format.values[i] != 0;
    ApplyRanges(format.values, kTimeDateDefaults, kTimeDateRanges, TimeDateFormat::kCount);
    return format;
}

// ---- Fonts ----

FontSpec DefaultFont(FontKind kind)
{
    FontSpec font{};
    font.fields[FontSpec::kHeight] = kind == kNoteFont ? -13 : -7;
    if (kind == kFooterFont)
        font.fields[FontSpec::kItalic] = 255;
    snprintf(font.face, sizeof font.face, "Arial");
    return font;
}

FontSpec ParseFont(const char* text, FontKind kind)
{
    FontSpec font = DefaultFont(kind);
    if (!text || !*text)
        return font;
    FontSpec parsed{};
    const char* p = text;
    for (int i = 0; i < FontSpec::kCount; ++i) {
        char* end = nullptr;
        long value = strtol(p, &end, 10);
        if (end == p || *end != ',')
            return font;
        parsed.fields[i] = int(std::max<long>(INT_MIN / 2, std::min<long>(value, INT_MAX / 2)));
        p = end + 1;
    }
    std::string face = Cut(Trim(p), sizeof parsed.face - 1);
    if (face.empty())
        return font;
    snprintf(parsed.face, sizeof parsed.face, "%s", face.c_str());
    // Sizes no page can hold are refused as a whole.
    int& height = parsed.fields[FontSpec::kHeight];
    if (height < -1000 || height > 1000 || parsed.fields[FontSpec::kWidth] < 0 ||
        parsed.fields[FontSpec::kWidth] > 1000)
        return font;
    parsed.fields[FontSpec::kWeight] = std::max(0, std::min(parsed.fields[FontSpec::kWeight], 1000));
    for (int i = FontSpec::kItalic; i < FontSpec::kCount; ++i)
        parsed.fields[i] &= 0xFF;
    return parsed;
}

std::string FormatFont(const FontSpec& font)
{
    char text[kTextSize];
    const int* f = font.fields;
    snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%s", f[0], f[1], f[2], f[3], f[4],
             f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12], font.face);
    return text;
}

// ---- Header and footer texts ----

const char* const kHeaderTextKeys[kHeaderTextCount] = {"HeaderLeft", "HeaderCenter", "HeaderRight",
                                                       "FooterLeft", "FooterCenter", "FooterRight"};

std::string DefaultHeaderText(HeaderText which, const char* section)
{
    if (which == kHeaderRight)
        return std::string("printed by ") + (section ? section : "") + " at $printtime on $printdate";
    if (which == kFooterLeft)
        return "$filename,  $filetime - $filedate, $res";
    return "";
}

PrintSettings LoadPrintSettingsFrom(const char* section, const char* file)
{
    PrintSettings settings;
    settings.page = ParsePageOptions(ReadKey(section, "PrintOnePage", file).c_str());
    settings.allPage = ParseAllPageOptions(ReadKey(section, "PrintAllPage", file).c_str());
    for (int i = 0; i < kHeaderTextCount; ++i) {
        // A missing key takes the default; a key present but empty stays empty.
        char text[kTextSize] = {};
        const char* kMissing = "\x01";
        GetPrivateProfileStringA(section, kHeaderTextKeys[i], kMissing, text, sizeof text, file);
        text[sizeof text - 1] = 0;
        settings.texts[i] = strcmp(text, kMissing) == 0 ? DefaultHeaderText(HeaderText(i), section) : text;
    }
    settings.fonts[kNoteFont] = ParseFont(ReadKey(section, "NoteFont", file).c_str(), kNoteFont);
    settings.fonts[kHeaderFont] = ParseFont(ReadKey(section, "HeaderFont", file).c_str(), kHeaderFont);
    settings.fonts[kFooterFont] = ParseFont(ReadKey(section, "FooterFont", file).c_str(), kFooterFont);
    settings.timeDate = ParseTimeDateFormat(ReadKey(section, "PrintTimeDate", file).c_str());
    return settings;
}

void SaveTimeDateFormat(const char* section, const char* file, const TimeDateFormat& format)
{
    WritePrivateProfileStringA(section, "PrintTimeDate", FormatIntList(format.values, TimeDateFormat::kCount).c_str(),
                               file);
}

void SavePageOptions(const char* section, const char* file, const PageOptions& options)
{
    WritePrivateProfileStringA(section, "PrintOnePage", FormatIntList(options.values, PageOptions::kCount).c_str(),
                               file);
}

void SaveAllPageOptions(const char* section, const char* file, const AllPageOptions& options)
{
    WritePrivateProfileStringA(section, "PrintAllPage",
                               FormatIntList(options.values, AllPageOptions::kCount).c_str(), file);
}

void SaveHeaderTexts(const char* section, const char* file, const std::string* texts)
{
    for (int i = 0; i < kHeaderTextCount; ++i)
        WritePrivateProfileStringA(section, kHeaderTextKeys[i], texts[i].c_str(), file);
}

void SaveFont(const char* section, const char* file, FontKind kind, const FontSpec& font)
{
    static const char* const kKeys[3] = {"NoteFont", "HeaderFont", "FooterFont"};
    WritePrivateProfileStringA(section, kKeys[kind], FormatFont(font).c_str(), file);
}

// ---- Printer names ----

PrinterNames ParsePrinterKey(const char* text)
{
    PrinterNames names;
    std::string all = text ? text : "";
    size_t first = all.find(',');
    names.device = Cut(all.substr(0, first), kDeviceMax);
    if (first != std::string::npos) {
        size_t second = all.find(',', first + 1);
        names.driver = Cut(all.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1),
                           kDriverMax);
        if (second != std::string::npos) {
            size_t third = all.find(',', second + 1);
            names.port = Cut(all.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1),
                             kDriverMax);
        }
    }
    return names;
}

std::string FormatPrinterKey(const PrinterNames& names)
{
    return names.device + "," + names.driver + "," + names.port;
}

PrinterNames ParseDefaultDevice(const char* text)
{
    PrinterNames names;
    std::string all = text ? text : "";
    size_t comma = all.find(',');
    names.device = Cut(all.substr(0, comma), kDeviceMax);
    if (comma == std::string::npos)
        return names;
    size_t driverStart = comma + 1;
    size_t driverEnd = all.find_first_of(", ", driverStart);
    names.driver = Cut(all.substr(driverStart, driverEnd == std::string::npos ? std::string::npos : driverEnd - driverStart),
                       kDriverMax);
    if (driverEnd == std::string::npos)
        return names;
    size_t portStart = all.find(',', driverEnd);
    if (portStart == std::string::npos)
        return names;
    ++portStart;
    size_t portEnd = all.find(',', portStart);
    names.port = Cut(all.substr(portStart, portEnd == std::string::npos ? std::string::npos : portEnd - portStart),
                     kDriverMax);
    return names;
}

// ---- Device-settings file ----

bool DevModeFileFits(const uint8_t* bytes, size_t length, const char* device, size_t driverBlockSize)
{
    // The fixed part starts with a 32-character device name; the block's own
    // size and its driver-private size follow at bytes 36 and 38.
    const size_t kNameBytes = 32, kSizeOffset = 36, kExtraOffset = 38, kSmallest = 68;
    if (!bytes || length < kSmallest)
        return false;
    size_t own = size_t(bytes[kSizeOffset]) | size_t(bytes[kSizeOffset + 1]) << 8;
    size_t extra = size_t(bytes[kExtraOffset]) | size_t(bytes[kExtraOffset + 1]) << 8;
    if (own < kSmallest || own + extra != length)
        return false;
    if (driverBlockSize && length != driverBlockSize)
        return false;
    char name[kNameBytes + 1] = {};
    memcpy(name, bytes, kNameBytes);
    const char* wanted = device ? device : "";
    return strncasecmp(name, wanted, kNameBytes - 1) == 0;
}

}  // namespace pagent
