#include "HotkeyKeys.h"

const HotkeyKey HotkeyKeys[kHotkeyTableSize] = {
    // Top row: Esc, function keys, Print, Scroll Lock, Pause.
    {"Esc", 1, 0x1B},
    {"F1", 0, 0x70}, {"F2", 0, 0x71}, {"F3", 0, 0x72}, {"F4", 0, 0x73},
    {"F5", 0, 0x74}, {"F6", 0, 0x75}, {"F7", 0, 0x76}, {"F8", 0, 0x77},
    {"F9", 0, 0x78}, {"F10", 0, 0x79}, {"F11", 0, 0x7A}, {"F12", 0, 0x7B},
    {"Print", 0, 0x2C}, {"Scrl", 0, 0x91}, {"Pau", 0, 0x13},
    // Digit row, editing block, keypad top.
    {"`", 0, 0xC0},
    {"1", 0, 0x31}, {"2", 0, 0x32}, {"3", 0, 0x33}, {"4", 0, 0x34}, {"5", 0, 0x35},
    {"6", 0, 0x36}, {"7", 0, 0x37}, {"8", 0, 0x38}, {"9", 0, 0x39}, {"0", 0, 0x30},
    {"-", 0, 0xBD}, {"=", 0, 0xBB}, {"Backspace", 0, 0x08},
    {"Ins", 0, 0x2D}, {"Hom", 0, 0x24}, {"PgU", 0, 0x21}, {"Num", 0, 0x90},
    {"/", 0, 0x6F}, {"*", 0, 0x6A}, {"-", 0, 0x6D},
    // Q row.
    {"Tab", 0, 0x09},
    {"Q", 0, 0x51}, {"W", 0, 0x57}, {"E", 0, 0x45}, {"R", 0, 0x52}, {"T", 0, 0x54},
    {"Y", 0, 0x59}, {"U", 0, 0x55}, {"I", 0, 0x49}, {"O", 0, 0x4F}, {"P", 0, 0x50},
    {"[", 0, 0xDB}, {"]", 0, 0xDD}, {"\\", 0, 0xDC},
    {"Del", 0, 0x2E}, {"End", 0, 0x23}, {"PgD", 0, 0x22},
    {"7", 0, 0x67}, {"8", 0, 0x68}, {"9", 0, 0x69}, {"+", 0, 0x6B},
    // A row.
    {"Capslock", 0, 0x14},
    {"A", 0, 0x41}, {"S", 0, 0x53}, {"D", 0, 0x44}, {"F", 0, 0x46}, {"G", 0, 0x47},
    {"H", 0, 0x48}, {"J", 0, 0x4A}, {"K", 0, 0x4B}, {"L", 0, 0x4C},
    {";", 0, 0xBA}, {"'", 0, 0xDE}, {"Enter", 0, 0x0D},
    {"4", 0, 0x64}, {"5", 0, 0x65}, {"6", 0, 0x66},
    // Z row (left and right Shift), up arrow, keypad bottom.
    {"Shift", 1, 0x10},
    {"Z", 0, 0x5A}, {"X", 0, 0x58}, {"C", 0, 0x43}, {"V", 0, 0x56}, {"B", 0, 0x42},
    {"N", 0, 0x4E}, {"M", 0, 0x4D},
    {",", 0, 0xBC}, {".", 0, 0xBE}, {"/", 0, 0xBF},
    {"Shift", 1, 0x10},
    {" ", 0, 0x26},
    {"1", 0, 0x61}, {"2", 0, 0x62}, {"3", 0, 0x63}, {"Ent", 0, 0x0D},
    // Bottom row: Ctrl, Alt, space, Alt, Ctrl, arrows, keypad 0 and point.
    {"Ctrl", 1, 0x11}, {"Alt", 1, 0x12},
    {" ", 0, 0x20},
    {"Alt", 1, 0x12}, {"Ctrl", 1, 0x11},
    {" ", 0, 0x25}, {" ", 0, 0x28}, {" ", 0, 0x27},
    {"0", 0, 0x60}, {".", 0, 0x6E},
};

WORD HotkeyVirtualKey(int keyIndex)
{
    if (keyIndex < 0 || keyIndex >= kHotkeyTableSize)
        return 0;
    return HotkeyKeys[keyIndex].virtualKey;
}
