// Header, footer and note text on the printed page.
#pragma once

#include <windows.h>

#include <string>

#include "PrintMacros.h"

namespace pagent {

// The macro values of the current record and the print time.
MacroValues CurrentMacroValues();
// The current record's note text (empty without a note block), read no
// further than its block and its length allow.
std::string CurrentNoteText();
// The file name of the current record, at most 259 characters.
std::string CurrentFileName();

void PrintHeader(HDC dc);
void PrintFooter(HDC dc);
// W x H the printable area, pw x ph the enlarged image at (x, y).
void PrintNotepad(HDC dc, int w, int h, int pw, int ph, int x, int y);

}  // namespace pagent
