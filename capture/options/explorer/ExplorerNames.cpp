#include "ExplorerNames.h"

#include <cctype>

namespace {

int CompareIgnoringCase(const std::string& first, const std::string& second)
{
    const size_t common = first.size() < second.size() ? first.size() : second.size();
    for (size_t i = 0; i < common; ++i) {
        const int a = std::tolower(static_cast<unsigned char>(first[i]));
        const int b = std::tolower(static_cast<unsigned char>(second[i]));
        if (a != b)
            return a - b;
    }
    return first.size() < second.size() ? -1 : first.size() > second.size() ? 1 : 0;
}

}  // namespace

bool IsImageFileName(const std::string& name)
{
    static const char* const kExtensions[] = {"bmp", "clp", "cur", "dib", "kpt", "gif", "ico",
                                              "jpg", "pcx", "png", "rle", "tif", "wpg"};
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string extension = name.substr(dot + 1);
    for (const char* known : kExtensions) {
        if (CompareIgnoringCase(extension, known) == 0)
            return true;
    }
    return false;
}

int CompareExplorerItems(int firstImage, const std::string& firstText, int secondImage,
                         const std::string& secondText)
{
    if (firstImage != secondImage)
        return firstImage - secondImage;
    return CompareIgnoringCase(firstText, secondText);
}
