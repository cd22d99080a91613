// One file through the format library: read, write in the output format,
// and the row the result list shows for it.
#pragma once

#include <string>

struct ConvertResult {
    bool converted = false;
    std::string from;     // the input path, or the failure with its reason
    std::string to;       // the output path; empty on failure
    std::string status;   // "Successful" or "Failed"
};

// Reads `inputPath`, writes it to `outputPath` as `exportType` and frees
// every block the read made, whether the write worked or not. An existing
// output file is replaced only by a complete new one, so converting a
// folder onto itself never loses an original. A write that leaves an empty
// file (a format the library cannot write yet) is a failure, and the empty
// file goes.
ConvertResult ConvertImageFile(const std::string& inputPath, const std::string& outputPath, int exportType);
