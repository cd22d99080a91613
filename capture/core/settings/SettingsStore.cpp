// The capture program's settings: parsing of the value lists, every key with
// its defaults and ranges, the loaders, the writers and the session saver.
// Window-free: the screen metrics come from SettingsWin32.cpp (or the native
// stand-in in SettingsNative.cpp).
#include "Settings.h"

#include <cstdio>
#include <cstring>

#include "SettingsPlatform.h"

// ---- Globals ----------------------------------------------------------------

char ApplicationTitle[kSettingsTitleSize] = "Kaptura 99";
char SettingsPath[kSettingsPathSize] = "Kaptura99.ini";
char ProgramFolder[kSettingsPathSize] = ".";

int SendtoPage[kSendtoPageCount];
int CapturePage[kCapturePageCount];
int ScreenPage[kScreenPageCount];
int WindowPage[kWindowPageCount];
int RegionPage[kRegionPageCount];
int FreehandPage[kFreehandPageCount];
int TitleMenuPage[kTitleMenuPageCount];
int ButtonPage[kButtonPageCount];
int CommandBarPage[kCommandBarPageCount];
int NotifyPage[kNotifyPageCount];
BYTE BlackWhite[16];
int Format[kFormatCount];
int Frame[kFrameCount];
int Clock[kClockCount];
int SystemKey[kHotkeyRowCount][kHotkeyModifierCount];
int NormalKey[kHotkeyRowCount];
int SnapshotButton[kSnapshotButtonCount];
COLORREF ButtonColors;
int RunMode[kRunModeCount];
int Session[kSessionCount];

char FileNameOpen[kSettingsPathSize];
char PathNameOpen[kSettingsPathSize];
char FileNameSave[kSettingsPathSize];
char FileNameDirect[kSettingsPathSize];

DWORD WindowsVersion;
int ScreenWidth = 1024;
int ScreenHeight = 768;
int ScreenPlanes = 1;
int ScreenBitsPerPixel = 32;
int ScreenDepth = 32;
int ScreenColorCount = 1 << 24;
int CaptionHeight = 18;
int ClockFontHeight = 11;
const int ClockFontWeight = 700;
const char ClockFontFace[] = "MS Sans Serif";
int SnapshotButtonWidth = 15;
int SnapshotButtonHeight = 13;

int PreviewLoaded;
int DecorationsSuspended;
int CaptureRunning;

void (*SnapshotStripRebuilder)() = nullptr;
int (*ShortcutUpdater)(int, int, int, int) = nullptr;

// ---- Screen metrics -----------------------------------------------------------

void StoreScreenMetrics(DWORD version, int width, int height, int planes, int bitsPerPixel,
                        int captionHeight)
{
    WindowsVersion = version;
    ScreenWidth = width;
    ScreenHeight = height;
    ScreenPlanes = planes;
    ScreenBitsPerPixel = bitsPerPixel;
    ScreenDepth = planes * bitsPerPixel;
    // Beyond 24 bits there are no more colours to show, and the shift would
    // not fit an int.
    int depth = ScreenDepth < 0 ? 0 : ScreenDepth > 24 ? 24 : ScreenDepth;
    ScreenColorCount = 1 << depth;
    CaptionHeight = captionHeight;
    ClockFontHeight = captionHeight < 21 ? 11 : 19;
}

// ---- Paths --------------------------------------------------------------------

namespace {

const char kSettingsFileName[] = "Kaptura99.ini";
const char kDirectFileName[] = "KAPT0000.BMP";

// dest = folder + "\" + name, cut to the buffer.
void JoinPath(char* dest, size_t size, const char* folder, const char* name)
{
    snprintf(dest, size, "%s\\%s", folder, name);
}

void CopyCut(char* dest, size_t size, const char* text)
{
    snprintf(dest, size, "%s", text ? text : "");
}

}  // namespace

void SetSettingsPaths(const char* modulePath)
{
    const char* slash = modulePath ? strrchr(modulePath, '\\') : nullptr;
    if (!slash) {
        CopyCut(ProgramFolder, sizeof ProgramFolder, ".");
    } else {
        size_t length = size_t(slash - modulePath);
        if (length >= sizeof ProgramFolder)
            length = sizeof ProgramFolder - 1;
        memcpy(ProgramFolder, modulePath, length);
        ProgramFolder[length] = 0;
    }
    JoinPath(SettingsPath, sizeof SettingsPath, ProgramFolder, kSettingsFileName);
}

// ---- Parsing ------------------------------------------------------------------

namespace {

// Calls take(index, token) for each of the first count tokens of a value
// list: the non-empty runs between commas (empty fields vanish). Returns
// how many there were.
template <typename Take>
int ForEachToken(const char* text, int count, Take take)
{
    char token[kSettingsValueSize];
    int found = 0;
    const char* p = text ? text : "";
    while (*p && found < count) {
        while (*p == ',')
            ++p;
        if (!*p)
            break;
        size_t length = 0;
        while (p[length] && p[length] != ',')
            ++length;
        size_t kept = length < sizeof token - 1 ? length : sizeof token - 1;
        memcpy(token, p, kept);
        token[kept] = 0;
        take(found, token);
        ++found;
        p += length;
    }
    return found;
}

// Whether a token begins with a number as ParseIntOrDefault reads it.
bool TokenHoldsNumber(const char* token)
{
    while (*token == ' ' || *token == '\t')
        ++token;
    if (*token == '+' || *token == '-')
        ++token;
    return *token >= '0' && *token <= '9';
}

}  // namespace

int ParseValueList(const char* text, int* values, const int* defaults, int count)
{
    for (int i = 0; i < count; ++i)
        values[i] = defaults[i];
    return ForEachToken(text, count, [&](int i, const char* token) {
        values[i] = ParseIntOrDefault(token, defaults[i]);
    });
}

namespace {

void ReadValueText(const char* key, char (&text)[kSettingsValueSize])
{
    GetPrivateProfileStringA(ApplicationTitle, key, "", text, sizeof text, SettingsPath);
    text[sizeof text - 1] = 0;
}

}  // namespace

int ReadValueList(const char* key, int* values, const int* defaults, int count)
{
    char text[kSettingsValueSize];
    ReadValueText(key, text);
    return ParseValueList(text, values, defaults, count);
}

void WriteValueList(const char* key, const int* values, int count)
{
    char text[kSettingsValueSize];
    size_t used = 0;
    text[0] = 0;
    for (int i = 0; i < count && used < sizeof text; ++i) {
        int written = snprintf(text + used, sizeof text - used, i ? ",%d" : "%d", values[i]);
        if (written < 0)
            break;
        used += size_t(written);
    }
    WritePrivateProfileStringA(ApplicationTitle, key, text, SettingsPath);
}

// ---- Value rules ----------------------------------------------------------------

namespace {

// How a loaded value is brought into its documented range.
enum RuleKind {
    kAny,     // kept as stored
    kFlag,    // 0 off, anything else on (1)
    kAmount,  // a count or size: clamped to [low, high]
    kChoice,  // one of low..high: anything else gives the default
    kColor    // a COLORREF 0..0xFFFFFF: anything else gives the default
};

struct Rule {
    int fallback;
    RuleKind kind;
    int low;
    int high;
    // A token that is no number keeps the default instead of reading as 0:
    // for the values without which the user could no longer reach the
    // program (its window, its icon, its hot keys).
    bool junkKeepsDefault = false;
};

constexpr Rule Flag(int fallback) { return {fallback, kFlag, 0, 1}; }
constexpr Rule Amount(int fallback, int low, int high) { return {fallback, kAmount, low, high}; }
constexpr Rule Choice(int fallback, int low, int high) { return {fallback, kChoice, low, high}; }
constexpr Rule Color(int fallback) { return {fallback, kColor, 0, 0xFFFFFF}; }
constexpr Rule Any(int fallback) { return {fallback, kAny, 0, 0}; }
constexpr Rule Vital(Rule rule)
{
    rule.junkKeepsDefault = true;
    return rule;
}

const int kWhite = 16777215;
const int kMaxCountdown = 600;

int Sanitise(const Rule& rule, int value)
{
    switch (rule.kind) {
    case kFlag:
        return value != 0;
    case kAmount:
        return value < rule.low ? rule.low : value > rule.high ? rule.high : value;
    case kChoice:
    case kColor:
        return value < rule.low || value > rule.high ? rule.fallback : value;
    case kAny:
        break;
    }
    return value;
}

template <int N>
void LoadKey(const char* key, int (&values)[N], const Rule (&rules)[N])
{
    char text[kSettingsValueSize];
    ReadValueText(key, text);
    for (int i = 0; i < N; ++i)
        values[i] = rules[i].fallback;
    ForEachToken(text, N, [&](int i, const char* token) {
        if (!rules[i].junkKeepsDefault || TokenHoldsNumber(token))
            values[i] = ParseIntOrDefault(token, rules[i].fallback);
    });
    for (int i = 0; i < N; ++i)
        values[i] = Sanitise(rules[i], values[i]);
}

template <int N>
void WriteKey(const char* key, const int (&values)[N])
{
    WriteValueList(key, values, N);
}

const Rule kSendtoRules[kSendtoPageCount] = {
    Choice(0, 0, 9), Flag(1), Flag(0), Flag(0), Flag(0), Choice(0, 0, 2), Flag(0),
    Amount(5, 0, 1200), Amount(5, 0, 1200)};
const Rule kCaptureRules[kCapturePageCount] = {Flag(0), Flag(0), Flag(1), Flag(0), Choice(0, 0, 4)};
const Rule kWindowRules[kWindowPageCount] = {
    Choice(0, 0, 1), Flag(1), Flag(1), Flag(1), Flag(1), Flag(0), Amount(10, 0, kMaxCountdown)};
const Rule kRegionRules[kRegionPageCount] = {Flag(1), Flag(1), Color(0)};
const Rule kFreehandRules[kFreehandPageCount] = {Flag(1), Flag(1), Color(0)};
const Rule kTitleMenuRules[kTitleMenuPageCount] = {Flag(0), Flag(0), Flag(1), Flag(1), Flag(1)};
const Rule kButtonRules[kButtonPageCount] = {Flag(1)};
const Rule kCommandBarRules[kCommandBarPageCount] = {Flag(1), Flag(1), Flag(1)};
const Rule kNotifyRules[kNotifyPageCount] = {Choice(1, 0, 4), Choice(1, 0, 4)};
const Rule kFormatRules[kFormatCount] = {
    Choice(14, 1, 14), Choice(1, 1, 11), Choice(1, 1, 11), Flag(1), Flag(1)};
const Rule kFrameRules[kFrameCount] = {Amount(1, 1, 2000), Amount(0, 0, 2000), Color(0), Color(kWhite)};
const Rule kClockRules[kClockCount] = {
    Flag(1), Flag(0), Flag(1), Choice(0, 0, 1), Flag(1), Flag(1), Flag(0),
    Choice(0, 0, 2), Choice(0, 0, 2), Flag(0), Color(kWhite)};
const Rule kSystemKeyRules[kHotkeyModifierCount] = {
    Vital(Flag(0)), Vital(Flag(0)), Vital(Flag(1)), Vital(Flag(0))};
const Rule kNormalKeyRules[kHotkeyRowCount] = {
    Vital(Choice(17, 0, 100)), Vital(Choice(18, 0, 100)), Vital(Choice(19, 0, 100)), Vital(Choice(20, 0, 100)),
    Vital(Choice(21, 0, 100)), Vital(Choice(22, 0, 100)), Vital(Choice(23, 0, 100)), Vital(Choice(24, 0, 100))};
const Rule kSnapshotRules[kSnapshotButtonCount] = {
    Flag(1), Flag(1), Flag(1), Flag(0), Flag(1), Flag(1), Flag(1)};
const Rule kButtonColorRules[1] = {Color(0)};
const Rule kRunModeRules[kRunModeCount] = {
    Flag(1), Flag(0), Flag(1), Vital(Flag(1)), Vital(Flag(1)), Flag(1), Flag(0), Flag(0), Flag(1)};
const Rule kSessionRules[kSessionCount] = {
    Any(1), Any(1), Flag(1), Amount(183, 0, 4096), Flag(1), Flag(1), Color(8158271), Color(kWhite)};
// Black and white map: white for gray, silver, green, yellow, cyan, white.
const Rule kBlackWhiteRules[16] = {
    Flag(0), Flag(0), Flag(0), Flag(0), Flag(0), Flag(0), Flag(0), Flag(1),
    Flag(1), Flag(0), Flag(1), Flag(1), Flag(0), Flag(0), Flag(1), Flag(1)};

// The largest screen coordinate a stored capture rectangle may name.
const int kScreenCoordinateLimit = 32767;

void LoadScreenPage()
{
    const int countdownMax = kMaxCountdown;
    const Rule rules[kScreenPageCount] = {
        Amount(0, -kScreenCoordinateLimit, kScreenCoordinateLimit),
        Amount(0, -kScreenCoordinateLimit, kScreenCoordinateLimit),
        Amount(ScreenWidth, -kScreenCoordinateLimit, kScreenCoordinateLimit),
        Amount(ScreenHeight, -kScreenCoordinateLimit, kScreenCoordinateLimit),
        Flag(0), Amount(10, 0, countdownMax)};
    LoadKey("ScreenPage", ScreenPage, rules);
    // An empty or inverted rectangle would capture nothing: the whole screen.
    if (ScreenPage[kScreenRight] <= ScreenPage[kScreenLeft] ||
        ScreenPage[kScreenBottom] <= ScreenPage[kScreenTop]) {
        ScreenPage[kScreenLeft] = 0;
        ScreenPage[kScreenTop] = 0;
        ScreenPage[kScreenRight] = ScreenWidth;
        ScreenPage[kScreenBottom] = ScreenHeight;
    }
}

void ReadPathKey(const char* key, char* value)
{
    GetPrivateProfileStringA(ApplicationTitle, key, "", value, kSettingsPathSize, SettingsPath);
    value[kSettingsPathSize - 1] = 0;
}

void WritePathKey(const char* key, const char* value)
{
    WritePrivateProfileStringA(ApplicationTitle, key, value, SettingsPath);
}

}  // namespace

// ---- Loaders ------------------------------------------------------------------

void LoadCapturePageSettings()
{
    LoadKey("SendtoPage", SendtoPage, kSendtoRules);
    LoadKey("CapturePage", CapturePage, kCaptureRules);
    LoadScreenPage();
    LoadKey("WindowPage", WindowPage, kWindowRules);
    LoadKey("RegionPage", RegionPage, kRegionRules);
    LoadKey("FreehandPage", FreehandPage, kFreehandRules);
    LoadKey("TitleMenuPage", TitleMenuPage, kTitleMenuRules);
    LoadKey("ButtonPage", ButtonPage, kButtonRules);
    LoadKey("CommandBarPage", CommandBarPage, kCommandBarRules);
    LoadKey("NotifyPage", NotifyPage, kNotifyRules);
}

void LoadBlackWhiteSettings()
{
    int values[16];
    LoadKey("BlackWhite", values, kBlackWhiteRules);
    for (int i = 0; i < 16; ++i)
        BlackWhite[i] = BYTE(values[i]);
}

void LoadFileNameSettings()
{
    ReadPathKey("FileNameOpen", FileNameOpen);
    ReadPathKey("PathNameOpen", PathNameOpen);
    ReadPathKey("FileNameSave", FileNameSave);
    ReadPathKey("FileNameDirect", FileNameDirect);
    if (!FileNameDirect[0])
        JoinPath(FileNameDirect, sizeof FileNameDirect, ProgramFolder, kDirectFileName);
}

void LoadFrameSettings() { LoadKey("Frame", Frame, kFrameRules); }

void LoadFormatSettings() { LoadKey("Format", Format, kFormatRules); }

void LoadHotkeySettings()
{
    LoadKey("NormalKey", NormalKey, kNormalKeyRules);
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        char key[16];
        snprintf(key, sizeof key, "SystemKey%d", row + 1);
        LoadKey(key, SystemKey[row], kSystemKeyRules);
        // Stored 1 means "must be held", kept in memory as -1.
        for (int& state : SystemKey[row])
            state = state ? -1 : 0;
    }
}

void LoadClockSettings() { LoadKey("Clock", Clock, kClockRules); }

void LoadSnapshotButtonSettings()
{
    SnapshotButtonWidth = CaptionHeight - 3;
    SnapshotButtonHeight = CaptionHeight - 5;
    LoadKey("SnapshotButton", SnapshotButton, kSnapshotRules);
    int color[1];
    LoadKey("ButtonColors", color, kButtonColorRules);
    ButtonColors = COLORREF(color[0]);
    if (SnapshotStripRebuilder)
        SnapshotStripRebuilder();
}

void LoadAllSettings()
{
    PreviewLoaded = 0;
    DecorationsSuspended = 0;
    CaptureRunning = 0;
    LoadScreenMetrics();
    LoadCapturePageSettings();
    LoadBlackWhiteSettings();
    LoadFileNameSettings();
    LoadFrameSettings();
    LoadFormatSettings();
    LoadHotkeySettings();
    LoadClockSettings();
    LoadSnapshotButtonSettings();
}

void LoadRunModeAndSession()
{
    LoadKey("RunMode", RunMode, kRunModeRules);
    if (ShortcutUpdater)
        ShortcutUpdater(RunMode[kRunStartWithWindows], RunMode[kRunDesktopKaptura],
                        RunMode[kRunDesktopBrowser], RunMode[kRunDesktopConverter]);
    LoadKey("Session", Session, kSessionRules);
}

// ---- Writers ------------------------------------------------------------------

void WriteCapturePageSettings()
{
    WriteKey("SendtoPage", SendtoPage);
    WriteKey("CapturePage", CapturePage);
    WriteKey("ScreenPage", ScreenPage);
    WriteKey("WindowPage", WindowPage);
    WriteKey("RegionPage", RegionPage);
    WriteKey("TitleMenuPage", TitleMenuPage);
    WriteKey("FreehandPage", FreehandPage);
    WriteKey("ButtonPage", ButtonPage);
    WriteKey("CommandBarPage", CommandBarPage);
    WriteKey("NotifyPage", NotifyPage);
}

void WriteBlackWhiteSettings()
{
    int values[16];
    for (int i = 0; i < 16; ++i)
        values[i] = BlackWhite[i];
    WriteKey("BlackWhite", values);
}

void WriteFrameSettings() { WriteKey("Frame", Frame); }

void WriteFormatSettings() { WriteKey("Format", Format); }

void WriteClockSettings() { WriteKey("Clock", Clock); }

void WriteHotkeySettings()
{
    WriteKey("NormalKey", NormalKey);
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        char key[16];
        snprintf(key, sizeof key, "SystemKey%d", row + 1);
        int stored[kHotkeyModifierCount];
        for (int i = 0; i < kHotkeyModifierCount; ++i)
            stored[i] = SystemKey[row][i] ? 1 : 0;
        WriteKey(key, stored);
    }
}

void WriteSnapshotButtonSettings()
{
    WriteKey("SnapshotButton", SnapshotButton);
    char text[16];
    snprintf(text, sizeof text, "%ld", long(ButtonColors));
    WritePrivateProfileStringA(ApplicationTitle, "ButtonColors", text, SettingsPath);
}

void WriteRunModeSettings() { WriteKey("RunMode", RunMode); }

void WriteSessionValues() { WriteKey("Session", Session); }

void SaveSessionSettings()
{
    WriteRunModeSettings();
    WriteSessionValues();
    WriteFormatSettings();
    WritePathKey("PathNameOpen", PathNameOpen);
    WritePathKey("FileNameSave", FileNameSave);
    WritePathKey("FileNameDirect", FileNameDirect);
    WritePathKey("FileNameOpen", FileNameOpen);
}

void ReadExplorerSelectionName(char* path, int size)
{
    if (!path || size <= 0)
        return;
    GetPrivateProfileStringA(ApplicationTitle, "DlgBarFileName", "", path, DWORD(size), SettingsPath);
    path[size - 1] = 0;
}

void WriteExplorerSelectionName(const char* path)
{
    WritePathKey("DlgBarFileName", path ? path : "");
}
