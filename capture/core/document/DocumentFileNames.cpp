#include "DocumentFileNames.h"

#include <cctype>

namespace {

size_t FileNameStart(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Counts up the digits just before the extension's "." (or at the end of a
// name without one), carrying left through the digits; nothing changes when
// no digit stands there.
void IncrementNumberBeforeExtension(std::string& path)
{
    size_t dot = ExtensionDot(path);
    size_t end = dot == std::string::npos ? path.size() : dot;
    const size_t start = FileNameStart(path);
    for (size_t i = end; i > start; --i) {
        char& digit = path[i - 1];
        if (!std::isdigit(static_cast<unsigned char>(digit)))
            return;
        if (digit != '9') {
            ++digit;
            return;
        }
        digit = '0';
    }
}

}  // namespace

size_t ExtensionDot(const std::string& path)
{
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < FileNameStart(path))
        return std::string::npos;
    return dot;
}

std::string FileExtension(const std::string& path)
{
    size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string FileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string FolderPart(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string NoteSideFilePath(const std::string& path)
{
    size_t dot = ExtensionDot(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ".txt";
}

bool NoteLivesInImageFile(const std::string& path)
{
    std::string extension = Lowered(FileExtension(path));
    return extension == "png" || extension == "kpt";
}

std::string NoteTextFileName(const std::string& chosen)
{
    return ExtensionDot(chosen) == std::string::npos ? chosen + ".txt" : chosen;
}

int FormatIndexFromExtension(const std::string& name)
{
    static const char* const kExtensions[] = {"bmp", "clp", "dib", "", "gif", "jpg",
                                              "pcx", "png", "rle", "tif", "wpg"};
    std::string extension = Lowered(FileExtension(name));
    if (extension.empty())
        return 0;
    for (int i = 0; i < 11; ++i) {
        if (extension == kExtensions[i])
            return i + 1;
    }
    return 0;
}

int DecimalDigitCount(int count)
{
    int digits = 1;
    for (; count >= 10; count /= 10)
        ++digits;
    return digits;
}

std::vector<std::string> SaveAllFileNames(const std::string& chosen, int count)
{
    std::vector<std::string> names;
    if (count <= 0)
        return names;
    std::string path = chosen;
    size_t dot = ExtensionDot(path);
    path.insert(dot == std::string::npos ? path.size() : dot, std::string(DecimalDigitCount(count), '0'));
    for (int i = 0; i < count; ++i) {
        IncrementNumberBeforeExtension(path);
        names.push_back(path);
    }
    return names;
}
