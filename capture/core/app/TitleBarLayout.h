// The window-free half of the title-bar decorations: the clock's texts, the
// snapshot strip's slots and glyphs, and the width the caption buttons take.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The time text and the date text of a local time in the clock's formats
// (the Clock setting's values, in their order).
void FormatClockTexts(const int clock[], const struct tm& local, std::string& dateText, std::string& timeText);

// The capture types of the enabled snapshot buttons, packed from the left in
// the fixed order Screen, Window, Region, Freehand, Button, Command Bar;
// returns how many (0 to 6). snapshotButtons: the SnapshotButton values.
int SnapshotSlotTypes(const int snapshotButtons[], int types[6]);
// 7 x 7 glyph rows (bit 7 the left column) of the button at a fixed place
// (0 Screen ... 5 Command Bar).
const uint8_t* SnapshotGlyph(int button);

// Pixels the caption buttons take from the right of a caption of height h:
// the system menu's close button (above major version 3), the minimise and
// maximise pair, the context help button, and 2 more.
struct CaptionStyle {
    bool sysMenu;
    bool minOrMaxBox;
    bool contextHelp;
};
int CaptionButtonsWidth(const CaptionStyle& style, int majorVersion, int captionHeight);
