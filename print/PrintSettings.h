// The print options of a settings section: the two option lists, the six
// header and footer texts, three fonts, the date and time formats and the
// chosen printer, with their defaults, parsing and range checks. Window-free:
// it reads and writes the caller's ini file through the profile calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "../framework/kernel/KernelApi.h"
#include "../framework/kernel/ProfileNumber.h"

namespace pagent {

// Text buffers of the settings, as the callers' files hold them.
constexpr size_t kTextSize = 260;
constexpr size_t kSectionMax = 23;
constexpr size_t kDeviceMax = 51;
constexpr size_t kDriverMax = 31;

// Splits a comma-separated list: the first field is converted directly,
// later ones through ParseIntOrDefault with their defaults; missing fields
// keep their defaults. Returns the number of fields found.
int ParseIntList(const char* text, int* values, const int* defaults, int count);
std::string FormatIntList(const int* values, int count);

// PrintOnePage: the single-image options.
struct PageOptions {
    enum { kActivePage, kCopies, kScale, kColorMode, kAlignBox, kOrientation, kPreviewSize,
           kNotePosition, kNoteWidth, kNoteAlign, kPrintNote, kPrintHeader, kPrintFooter, kCount };
    int values[kCount];
    int& operator[](int i) { return values[i]; }
    int operator[](int i) const { return values[i]; }
};
// PrintAllPage: the all-on-one-page options.
struct AllPageOptions {
    enum { kCopies, kScale, kColorMode, kAlignBox, kOrientation, kColumns, kPreviewSize, kShowGrid,
           kCount };
    int values[kCount];
    int& operator[](int i) { return values[i]; }
    int operator[](int i) const { return values[i]; }
};
// PrintTimeDate: the date and time formats.
struct TimeDateFormat {
    enum { kAbbreviation, kAmPm, kCentury, kHours, kOrder, kMonthName, kSeconds, kSeparator,
           kUpperCase, kWeekday, kCount };
    int values[kCount];
    int& operator[](int i) { return values[i]; }
    int operator[](int i) const { return values[i]; }
};

enum ColorMode { kColor = 0, kGrayscale = 1, kBlackWhite = 2 };

PageOptions DefaultPageOptions();
AllPageOptions DefaultAllPageOptions();
TimeDateFormat DefaultTimeDateFormat();
// Parse with defaults, then bring every value into its range: counts and
// scales are clamped, choices out of range take their default.
PageOptions ParsePageOptions(const char* text);
AllPageOptions ParseAllPageOptions(const char* text);
TimeDateFormat ParseTimeDateFormat(const char* text);

// A logical font as the settings store it: thirteen numbers, then the face.
struct FontSpec {
    enum { kHeight, kWidth, kEscapement, kOrientation, kWeight, kItalic, kUnderline, kStrikeOut,
           kCharSet, kOutPrecision, kClipPrecision, kQuality, kPitchAndFamily, kCount };
    int fields[kCount];
    char face[32];
};
enum FontKind { kNoteFont, kHeaderFont, kFooterFont };
FontSpec DefaultFont(FontKind kind);
// A stored font, or the kind's default when the text does not hold thirteen
// numbers and a face.
FontSpec ParseFont(const char* text, FontKind kind);
std::string FormatFont(const FontSpec& font);

// The six header and footer texts.
enum HeaderText { kHeaderLeft, kHeaderCenter, kHeaderRight, kFooterLeft, kFooterCenter,
                  kFooterRight, kHeaderTextCount };
extern const char* const kHeaderTextKeys[kHeaderTextCount];
std::string DefaultHeaderText(HeaderText which, const char* section);

// Everything of a section.
struct PrintSettings {
    PageOptions page;
    AllPageOptions allPage;
    TimeDateFormat timeDate;
    std::string texts[kHeaderTextCount];
    FontSpec fonts[3];
};
PrintSettings LoadPrintSettingsFrom(const char* section, const char* file);
void SaveTimeDateFormat(const char* section, const char* file, const TimeDateFormat& format);
void SavePageOptions(const char* section, const char* file, const PageOptions& options);
void SaveAllPageOptions(const char* section, const char* file, const AllPageOptions& options);
void SaveHeaderTexts(const char* section, const char* file, const std::string* texts);
void SaveFont(const char* section, const char* file, FontKind kind, const FontSpec& font);

// A printer: device, driver and port names.
struct PrinterNames {
    std::string device;
    std::string driver;
    std::string port;
};
// The Printer key: "device,driver,port" (driver and port optional).
PrinterNames ParsePrinterKey(const char* text);
std::string FormatPrinterKey(const PrinterNames& names);
// The system's default printer entry: the driver field ends at a comma or
// a blank, the port at a comma.
PrinterNames ParseDefaultDevice(const char* text);

// Device-mode block checks on the bytes of a device-settings file: its
// fixed size and driver-private size must add up to the file's length, and
// it must be written for the named device with the driver's block size.
bool DevModeFileFits(const uint8_t* bytes, size_t length, const char* device, size_t driverBlockSize);

}  // namespace pagent
