// The hot-key key table: 101 keys of the keyboard picture, by key index.
// The hot-key rows of the settings name their key by index into this table;
// the main frame's matching turns the index into a virtual-key code, and the
// Hotkey Setup dialog draws its key caps from the names.
#pragma once

#include "Settings.h"

struct HotkeyKey {
    const char* name;      // shown on the cap and in hot-key texts
    BYTE isModifier;       // 1 for Esc, Shift, Ctrl and Alt
    WORD virtualKey;
};

extern const HotkeyKey HotkeyKeys[kHotkeyTableSize];

// The virtual-key code of key index, or 0 when the index lies outside the
// table (no key has code 0, so such a row never matches).
WORD HotkeyVirtualKey(int keyIndex);
