// An image's note text: a movable block holding the text and a zero byte,
// and the "txt" side file that keeps it beside images whose format has no
// room for it (every format but PNG, and on reading KPT).
#pragma once

#include <cstddef>

#include "DisplayImage.h"

// Frees the image's note block (if any) and forgets it.
void ClearNote(DisplayImage& image);
// The note becomes a copy of length bytes of text and a zero byte; an empty
// text leaves no note. False (no note) when memory is short.
bool SetNoteText(DisplayImage& image, const char* text, size_t length);
// A note block the format library filled: its length is counted from the
// block (text up to its first zero, within the block), and a block without
// a zero byte gets one.
void AdoptNoteBlock(DisplayImage& image, HGLOBAL note);
// The whole of a text file becomes the image's note (replacing the old one);
// a text without a final zero byte is still read whole. False, the note
// unchanged, when the file cannot be read.
bool ReadNoteTextFile(DisplayImage& image, const char* path);

// The note of an image just loaded from path: for PNG and KPT files the note
// the file held, for other files the side file's text. True when the image
// has a note to show.
bool ReadNoteSideFile(DisplayImage& image, const char* path);
// With a note, writes it (text and its zero byte) to the side file of
// imagePath; true when there was nothing to write or it was written. On a
// failure (no room, another program holding the file) the old side file
// stays as it was.
bool WriteNoteSideFile(const DisplayImage& image, const char* imagePath);
