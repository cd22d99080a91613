#include "FileDialogRules.h"

#include <cctype>

#include "DocumentFileNames.h"

namespace {

const char* const kSavePatterns[kSaveFormatCount] = {"*.bmp", "*.clp", "*.dib", "*.gif", "*.gif", "*.jpg",
                                                     "*.pcx", "*.png", "*.rle", "*.tif", "*.wpg"};

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

const char* DefaultSavePattern(int index)
{
    return index >= 1 && index <= kSaveFormatCount ? kSavePatterns[index - 1] : "";
}

std::string WithDefaultExtension(const std::string& name, int filterIndex)
{
    const std::string pattern = DefaultSavePattern(filterIndex);
    if (pattern.empty() || ExtensionDot(name) != std::string::npos)
        return name;
    return name + pattern.substr(1);
}

int SaveTypeOfName(const std::string& name, int filterIndex)
{
    const std::string extension = Lowered(FileExtension(name));
    if (extension.empty())
        return 0;
    if (extension == "gif")
        return filterIndex == kSaveGifInterlaced ? kSaveGifInterlaced : 4;
    for (int index = 1; index <= kSaveFormatCount; ++index) {
        if (index != kSaveGifInterlaced && extension == kSavePatterns[index - 1] + 2)
            return index;
    }
    return 0;
}

std::string CaptureFileStartName(const std::string& captureFile)
{
    const std::string name = FileNamePart(captureFile);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string CaptureFileStartFolder(const std::string& captureFile)
{
    const size_t slash = captureFile.rfind('\\');
    return slash == std::string::npos ? std::string() : captureFile.substr(0, slash);
}

std::string SaveStartFolder(const std::string& lastSaved)
{
    if (ExtensionDot(lastSaved) == std::string::npos)
        return lastSaved;
    return CaptureFileStartFolder(lastSaved);
}

std::string GroupThousands(uint64_t value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

std::string PathLineWithSize(const std::string& path, uint64_t size)
{
    return "Path:  " + path + "   (" + GroupThousands(size) + " Bytes)";
}

PreviewRect FitPreview(int width, int height, int box)
{
    if (width <= 0 || height <= 0 || box <= 0)
        return {0, 0, 0, 0};
    if (width < box && height < box)
        return {(box - width) / 2, (box - height) / 2, width, height};
    if (height >= width) {
        const int scaled = static_cast<int>(static_cast<int64_t>(box) * width / height);
        return {(box - scaled) / 2 + 2, 3, scaled, box};
    }
    const int scaled = static_cast<int>(static_cast<int64_t>(box) * height / width);
    return {3, (box - scaled) / 2 + 2, box, scaled};
}
