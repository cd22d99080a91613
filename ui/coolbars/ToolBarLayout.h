// Toolbar row wrapping and sizing from the button sizes the common-controls
// library reports, with the corrections its versions 4.70, 4.71 and 4.72
// need. Window-free: the toolbar classes read the buttons into these records
// and write the wrap bits back.
#pragma once

#include <cstdint>
#include <vector>

namespace toolbar_layout {

// Button state and style bits as the control has them.
const uint8_t kStateHidden = 0x08;
const uint8_t kStateWrap = 0x20;
const uint8_t kStyleSeparator = 0x01;
const uint8_t kStyleDropDown = 0x08;

struct Button {
    int itemWidth = 0, itemHeight = 0;   // the control's item rectangle
    unsigned id = 0;                     // command id; a separator with one holds a child control
    uint8_t state = 0;
    uint8_t style = 0;
};

struct Size {
    int cx = 0, cy = 0;
    bool operator==(const Size& other) const { return cx == other.cx && cy == other.cy; }
};

struct Rules {
    int version = 0;          // library version, major * 100 + minor
    bool keepWidth = false;   // drop-down buttons keep their width at a wrap
};

// A button's contribution: its item size, or at a wrap the gap a separator
// leaves between the rows (which differs by library version).
Size ButtonExtent(const Button& button, const Rules& rules);
// The size of all visible buttons as wrapped now.
Size CalcSize(const std::vector<Button>& buttons, const Rules& rules);
// Sets the wrap bits for rows of at most `width`; returns the row count.
int WrapButtons(std::vector<Button>& buttons, int width, const Rules& rules);
// Wraps for the narrowest width (horizontal) or the height `length`
// (vertical) that keeps the rows `length` allows.
void SizeButtons(std::vector<Button>& buttons, int length, bool vertical, const Rules& rules);

} // namespace toolbar_layout
