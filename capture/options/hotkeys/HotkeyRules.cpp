#include "HotkeyRules.h"

#include "HotkeyKeys.h"
#include "HotkeySetupIds.h"

namespace {

// Rows whose keys may not be keypad digits when any row uses Shift: the
// keypad digits and point turn into other keys while Shift is held.
const int kKeypadDigitKeys[] = {54, 55, 56, 71, 72, 73, 87, 88, 89, 99, 100};
const int kShiftCheckedRows = 6;   // Screen to Pointer
const int kTitleMenuRow = 3;
const int kPairCheckedRows = 7;    // Screen to Button; Command Bar may share

bool IsKeypadDigit(int key)
{
    for (int digit : kKeypadDigitKeys)
        if (digit == key)
            return true;
    return false;
}

bool AnyRowHolds(const HotkeyAssignments& a, int modifier)
{
    for (int row = 0; row < kHotkeyRowCount; ++row)
        if (a.modifiers[row][modifier])
            return true;
    return false;
}

}  // namespace

HotkeyAssignments CurrentHotkeyAssignments()
{
    HotkeyAssignments a;
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        a.keys[row] = NormalKey[row];
        for (int m = 0; m < kHotkeyModifierCount; ++m)
            a.modifiers[row][m] = SystemKey[row][m];
    }
    return a;
}

void StoreHotkeyAssignments(const HotkeyAssignments& a)
{
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        NormalKey[row] = a.keys[row];
        for (int m = 0; m < kHotkeyModifierCount; ++m)
            SystemKey[row][m] = a.modifiers[row][m] ? -1 : 0;
    }
}

HotkeyAssignments DefaultHotkeyAssignments()
{
    HotkeyAssignments a;
    for (int row = 0; row < kHotkeyRowCount; ++row) {
        a.keys[row] = 17 + row;
        for (int m = 0; m < kHotkeyModifierCount; ++m)
            a.modifiers[row][m] = m == kModifierCtrl ? -1 : 0;
    }
    return a;
}

HotkeyVerdict CheckHotkeyConflicts(const HotkeyAssignments& a)
{
    if (AnyRowHolds(a, kModifierShift)) {
        for (int row = 0; row < kShiftCheckedRows; ++row)
            if (IsKeypadDigit(a.keys[row]))
                return {IDS_SHIFT_WITH_KEYPAD, 0};
    }
    if (a.modifiers[kTitleMenuRow][kModifierAlt] || a.modifiers[kTitleMenuRow][kModifierEsc])
        return {IDS_TITLEMENU_MENU_KEYS, 0};
    int pair = IDS_IDENTICAL_PAIR_FIRST;
    for (int first = 0; first < kPairCheckedRows; ++first) {
        for (int second = first + 1; second < kPairCheckedRows; ++second, ++pair) {
            if (a.keys[first] == a.keys[second])
                return {IDS_IDENTICAL_HOTKEYS, pair};
        }
    }
    return {0, 0};
}

std::string HotkeyText(const char* prefix, int keyIndex, const int modifiers[kHotkeyModifierCount])
{
    std::string text = prefix ? prefix : "";
    static const struct {
        int modifier;
        const char* text;
    } kShownOrder[] = {{kModifierEsc, "Esc + "}, {kModifierCtrl, "Ctrl + "},
                       {kModifierShift, "Shift + "}, {kModifierAlt, "Alt + "}};
    for (const auto& shown : kShownOrder)
        if (modifiers[shown.modifier])
            text += shown.text;
    if (keyIndex >= 0 && keyIndex < kHotkeyTableSize)
        text += HotkeyKeys[keyIndex].name;
    return text;
}
