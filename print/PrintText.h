// Header, footer and note text on the printed page.
#pragma once

#include <windows.h>

#include <string>

#include "PrintMacros.h"
#include "PrintSettings.h"

namespace pagent {

// The logical font a stored font describes, at the size it was stored.
LOGFONTA ToLogFont(const FontSpec& fontSpec);

// The macro values of the current record and the print time.
MacroValues CurrentMacroValues();
// The current record's note text (empty without a note block), read no
// further than its block and its length allow.
std::string CurrentNoteText();
// The file name of the current record, at most 259 characters.
std::string CurrentFileName();

// A page texts are drawn on: width x height device units at dpi dots per
// inch. A preview draws in printer units through a mapping, with the
// printer's resolution, so that it shows what the job prints.
struct TextPage {
    int width;
    int height;
    int dpi;
};
TextPage PageOf(HDC dc);
// The enlarged image a note belongs to: its top-left corner and size.
struct NotePlace {
    int x, y, pw, ph;
};
// Each returns the rectangle it drew in (empty when nothing was drawn).
RECT DrawHeader(HDC dc, const TextPage& page, const std::string* texts);
RECT DrawFooter(HDC dc, const TextPage& page, const std::string* texts);
RECT DrawNote(HDC dc, const TextPage& page, const std::string& note, const PageOptions& options, const NotePlace& at);

void PrintHeader(HDC dc);
void PrintFooter(HDC dc);
// W x H the printable area, pw x ph the enlarged image at (x, y).
void PrintNotepad(HDC dc, int w, int h, int pw, int ph, int x, int y);

}  // namespace pagent
