// The window-free rules of the hot keys: the conflict check the Hotkey Setup
// dialog runs at OK, the defaults it resets to, and the hot-key text the
// capture kind pages show.
#pragma once

#include <string>

#include "Settings.h"

// One run's assignments: the key index and the four modifier states (Esc,
// Shift, Ctrl, Alt; -1 held, 0 not) of each of the eight rows.
struct HotkeyAssignments {
    int keys[kHotkeyRowCount];
    int modifiers[kHotkeyRowCount][kHotkeyModifierCount];
};

HotkeyAssignments CurrentHotkeyAssignments();       // from the settings
void StoreHotkeyAssignments(const HotkeyAssignments& assignments);   // into the settings
// Keys 1 to 8 for the rows, Ctrl only.
HotkeyAssignments DefaultHotkeyAssignments();

// The verdict of the conflict check: message 0 accepts; otherwise the string
// id of the message, and for identical keys (IDS_IDENTICAL_HOTKEYS) also the
// string id of the pair's text.
struct HotkeyVerdict {
    int message;
    int pair;
};
HotkeyVerdict CheckHotkeyConflicts(const HotkeyAssignments& assignments);

// prefix ("Hotkey: "), then the held modifiers in the order Esc, Ctrl,
// Shift, Alt, each followed by " + ", then the key's name ("" for a key
// index outside the table).
std::string HotkeyText(const char* prefix, int keyIndex, const int modifiers[kHotkeyModifierCount]);
