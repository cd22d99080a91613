// The converter's window-free rules: the two format lists, which file names
// each list shows, the output name of a converted file, and the settings
// value that remembers the last choices.
#pragma once

#include <string>

struct InputFormat {
    const char* text;        // the drop-down entry
    const char* extension;   // null for "All Supported Formats"
};

struct OutputFormat {
    const char* text;
    const char* extension;   // the extension listed and written
    int exportType;          // the library's export type code
};

extern const InputFormat kInputFormats[];
extern const int kInputFormatCount;
extern const OutputFormat kOutputFormats[];
extern const int kOutputFormatCount;

// Whether a file name belongs in the input list under the input format at
// `index` (0: any supported extension). Extensions compare without regard
// to case; a name without "." never matches, nor does an index outside the list.
bool MatchesInputFormat(const char* name, int index);
// Whether a file name belongs in the output list under the output format at
// `index`; both GIF entries list "gif" files.
bool MatchesOutputFormat(const char* name, int index);
// The name a converted file gets: the text after the last "." becomes
// `extension`; a name without "." gets "." and the extension.
std::string OutputFileName(const std::string& name, const char* extension);
// Folder and file name joined with one backslash.
std::string JoinPath(const std::string& folder, const std::string& name);

// The remembered choices: "details,input,output".
struct ConvertSettings {
    int detailsShown = 1;
    int inputFormat = 0;
    int outputFormat = 0;
};
// Reads a settings value. Empty gives the defaults; a missing second token
// gives input format 1; a token that is no number, or an index outside its
// list, gives that field's default, so a hand-edited value never leaves a
// drop-down without a selection.
ConvertSettings ParseConvertSettings(const char* value);
std::string FormatConvertSettings(const ConvertSettings& settings);
