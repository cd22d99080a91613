#include "KeyCapName.h"

namespace {

const int kLeastHeight = 6;

// Width and line height of `text` in a font of `height`.
SIZE Extent(HDC dc, LOGFONTA font, int height, const std::string& text)
{
    font.lfHeight = -height;
    HFONT made = ::CreateFontIndirectA(&font);
    HGDIOBJ old = ::SelectObject(dc, made);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    size.cy = metrics.tmHeight;
    ::SelectObject(dc, old);
    ::DeleteObject(made);
    return size;
}

}  // namespace

KeyCapName FitKeyCapName(HDC dc, const LOGFONTA& font, SIZE face, const char* name)
{
    const std::string whole = name;
    const std::string first = whole.substr(0, whole.size() / 2), second = whole.substr(whole.size() / 2);
    const int own = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    for (int height = own; height >= kLeastHeight; --height) {
        const SIZE one = Extent(dc, font, height, whole);
        if (one.cx <= face.cx && one.cy <= face.cy)
            return {-height, whole, ""};
        const SIZE upper = Extent(dc, font, height, first), lower = Extent(dc, font, height, second);
        if (upper.cx <= face.cx && lower.cx <= face.cx && upper.cy + lower.cy <= face.cy)
            return {-height, first, second};
    }
    return {-kLeastHeight, first, second};
}

void DrawKeyCapName(HDC dc, const LOGFONTA& font, const RECT& face, const char* name)
{
    const KeyCapName fitted = FitKeyCapName(dc, font, {face.right - face.left, face.bottom - face.top}, name);
    LOGFONTA sized = font;
    sized.lfHeight = fitted.height;
    HFONT made = ::CreateFontIndirectA(&sized);
    HGDIOBJ old = ::SelectObject(dc, made);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    int top = face.top;
    for (const std::string* line : {&fitted.first, &fitted.second}) {
        if (line->empty())
            continue;
        ::ExtTextOutA(dc, face.left, top, ETO_CLIPPED, &face, line->c_str(), static_cast<UINT>(line->size()), nullptr);
        top += metrics.tmHeight;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(made);
}
