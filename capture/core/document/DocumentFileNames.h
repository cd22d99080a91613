// File-name rules of the image documents: extensions, the note side file's
// name, the export format an extension names, and the numbered names Save
// All gives the open documents.
//
// Every rule looks at the file name only (the text after the last "\" or
// "/"), so a dot in a folder name is never taken for an extension.
#pragma once

#include <string>
#include <vector>

// Position of the extension's "." in path (the last "." of the file name),
// or std::string::npos when the file name has none.
size_t ExtensionDot(const std::string& path);
// The text after that "." ("" when there is none).
std::string FileExtension(const std::string& path);
// The file name without its folder.
std::string FileNamePart(const std::string& path);
// The folder part up to and including its last "\" ("" when none).
std::string FolderPart(const std::string& path);

// path with its extension replaced by "txt", or ".txt" appended when the
// file name has no extension.
std::string NoteSideFilePath(const std::string& path);
// Notes of these files live inside the image file, not beside it: PNG, and
// on reading KPT too.
bool NoteLivesInImageFile(const std::string& path);
// Save Note Text: a name without an extension gets ".txt".
std::string NoteTextFileName(const std::string& chosen);

// The export type an extension names (compared without regard to case):
// bmp 1, clp 2, dib 3, gif 5 (interlaced), jpg 6, pcx 7, png 8, rle 9,
// tif 10, wpg 11; anything else, or no extension, 0.
int FormatIndexFromExtension(const std::string& name);

// Decimal digits of count (1 for 0 and below).
int DecimalDigitCount(int count);
// The names Save All writes for count documents from the chosen name: as
// many zeros as count has digits go before the extension, then the number
// counts up once per document (shot.bmp, 12 documents: shot01.bmp to
// shot12.bmp). A run of nines wraps to zeros without growing.
std::vector<std::string> SaveAllFileNames(const std::string& chosen, int count);
