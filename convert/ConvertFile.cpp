#include "ConvertFile.h"

#include <cstring>

#include "../formats/Pictova.h"

namespace {

// The library's text for an error id, after ", "; nothing when it has none.
std::string Reason(int error)
{
    char text[260] = {};
    GetErrorMessage(error, text);
    return text[0] ? std::string(", ") + text : std::string();
}

// The blocks a read hands over. The palette is the caller's own and never
// comes from a read.
void FreeImageBlocks(const ImageRecord& record)
{
    for (HGLOBAL block : {record.hBits, record.hInfo, record.hDisplayBits, record.hDisplayInfo, record.hNote})
        if (block)
            GlobalFree(block);
}

// Whether a written file holds nothing: what a format without a writer
// leaves behind while reporting no error.
bool IsEmptyFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    CloseHandle(file);
    return size == 0 && high == 0;
}

ConvertResult Failure(const std::string& text)
{
    ConvertResult result;
    result.from = text;
    result.status = "Failed";
    return result;
}

}  // namespace

ConvertResult ConvertImageFile(const std::string& inputPath, const std::string& outputPath, int exportType)
{
    // The library's record is valid only until its next call: take a copy.
    ImageRecord image;
    memcpy(&image, ImportImageFile(inputPath.c_str()), sizeof image);
    if (!image.hBits) {
        FreeImageBlocks(image);
        return Failure("Cannot read " + inputPath + Reason(image.error));
    }
    image.error = 0;
    ExportImageFile(&image, outputPath.c_str(), exportType);
    int error = image.error;
    FreeImageBlocks(image);
    if (!error && IsEmptyFile(outputPath)) {
        DeleteFileA(outputPath.c_str());
        error = kErrCannotCreate;
    }
    if (error)
        return Failure("Cannot convert to " + outputPath + Reason(error));
    ConvertResult result;
    result.converted = true;
    result.from = inputPath;
    result.to = outputPath;
    result.status = "Successful";
    return result;
}
