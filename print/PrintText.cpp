#include "PrintText.h"

#include "PrintState.h"

#include <cstdlib>
#include <cstring>

namespace pagent {

LOGFONTA ToLogFont(const FontSpec& fontSpec)
{
    LOGFONTA font{};
    const int* f = fontSpec.fields;
    font.lfHeight = f[FontSpec::kHeight];
    font.lfWidth = f[FontSpec::kWidth];
    font.lfEscapement = f[FontSpec::kEscapement];
    font.lfOrientation = f[FontSpec::kOrientation];
    font.lfWeight = f[FontSpec::kWeight];
    font.lfItalic = BYTE(f[FontSpec::kItalic]);
    font.lfUnderline = BYTE(f[FontSpec::kUnderline]);
    font.lfStrikeOut = BYTE(f[FontSpec::kStrikeOut]);
    font.lfCharSet = BYTE(f[FontSpec::kCharSet]);
    font.lfOutPrecision = BYTE(f[FontSpec::kOutPrecision]);
    font.lfClipPrecision = BYTE(f[FontSpec::kClipPrecision]);
    font.lfQuality = BYTE(f[FontSpec::kQuality]);
    font.lfPitchAndFamily = BYTE(f[FontSpec::kPitchAndFamily]);
    lstrcpynA(font.lfFaceName, fontSpec.face, LF_FACESIZE);
    return font;
}

namespace {

// A stored font at the printer's resolution, selected for one scope.
class PrinterFont {
public:
    PrinterFont(HDC dc, const FontSpec& fontSpec, int printerDpi) : dc_(dc)
    {
        HDC screen = ::GetDC(nullptr);
        int screenDpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        if (screenDpi <= 0)
            screenDpi = 96;
        LOGFONTA font = ToLogFont(fontSpec);
        font.lfHeight = LONG(int64_t(fontSpec.fields[FontSpec::kHeight]) * printerDpi / screenDpi);
        lineHeight_ = std::abs(int(font.lfHeight));
        font_ = ::CreateFontIndirectA(&font);
        old_ = font_ ? ::SelectObject(dc_, font_) : nullptr;
    }
    ~PrinterFont()
    {
        if (old_)
            ::SelectObject(dc_, old_);
        if (font_)
            ::DeleteObject(font_);
    }
    int lineHeight() const { return lineHeight_; }

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int lineHeight_ = 0;
};

void DrawTexts(HDC dc, RECT box, const std::string* texts, HeaderText first)
{
    static const UINT kAlign[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    const MacroValues values = CurrentMacroValues();
    for (int i = 0; i < 3; ++i) {
        const std::string& text = texts[first + i];
        if (text.empty())
            continue;
        std::string expanded = ExpandPrintMacros(text, values);
        ::DrawTextA(dc, expanded.c_str(), int(expanded.size()), &box, kAlign[i] | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
}

}  // namespace

std::string CurrentFileName()
{
    const char* name = State().current.fileName;
    if (!name)
        return "";
    return std::string(name, strnlen(name, kTextSize - 1));
}

std::string CurrentNoteText()
{
    const ImageRecord& record = State().current;
    if (!record.hNote)
        return "";
    size_t available = ::GlobalSize(record.hNote);
    size_t length = record.noteLength > 0 ? size_t(record.noteLength) : available;
    if (length > available)
        length = available;
    const char* text = static_cast<const char*>(::GlobalLock(record.hNote));
    if (!text)
        return "";
    std::string note(text, strnlen(text, length));
    ::GlobalUnlock(record.hNote);
    return note;
}

MacroValues CurrentMacroValues()
{
    const PrintState& state = State();
    MacroValues values;
    values.printTime = int64_t(state.printTime);
    values.fileTime = state.current.fileTime;
    values.fileName = CurrentFileName();
    values.width = state.current.width;
    values.height = state.current.height;
    values.hasImage = state.current.hBits != nullptr;
    values.format = state.settings.timeDate;
    values.names = &state.names;
    return values;
}

TextPage PageOf(HDC dc)
{
    return TextPage{::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES), ::GetDeviceCaps(dc, LOGPIXELSX)};
}

RECT DrawHeader(HDC dc, const TextPage& page, const std::string* texts)
{
    PrinterFont font(dc, State().settings.fonts[kHeaderFont], page.dpi);
    RECT box{5, 5, page.width - 5, font.lineHeight() + 5};
    DrawTexts(dc, box, texts, kHeaderLeft);
    return box;
}

RECT DrawFooter(HDC dc, const TextPage& page, const std::string* texts)
{
    PrinterFont font(dc, State().settings.fonts[kFooterFont], page.dpi);
    RECT box{5, page.height - 5 - font.lineHeight(), page.width - 5, page.height - 5};
    DrawTexts(dc, box, texts, kFooterLeft);
    return box;
}

RECT DrawNote(HDC dc, const TextPage& page, const std::string& note, const PageOptions& options, const NotePlace& at)
{
    RECT box{};
    std::string text = ExpandPrintMacros(note, CurrentMacroValues());
    if (text.empty())
        return box;
    const int w = page.width - 10, h = page.height - 10;
    if (options[PageOptions::kNoteWidth] == 0) {
        box.left = at.x;
        box.right = at.x + at.pw;
    } else {
        box.left = 5;
        box.right = w - 5;
    }
    PrinterFont font(dc, State().settings.fonts[kNoteFont], page.dpi);
    const UINT kAlign[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    const int align = options[PageOptions::kNoteAlign];
    UINT format = kAlign[align >= 0 && align <= 2 ? align : 0] | DT_WORDBREAK | DT_NOPREFIX;
    if (options[PageOptions::kNotePosition] == 0) {
        box.top = at.y + at.ph + font.lineHeight();
        box.bottom = h - 5;
    } else {
        box.bottom = at.y - font.lineHeight();
        RECT measure = box;
        measure.top = 0;
        ::DrawTextA(dc, text.c_str(), int(text.size()), &measure, format | DT_CALCRECT);
        int height = measure.bottom - measure.top;
        box.top = box.bottom - height >= 5 ? box.bottom - height : 5;
    }
    if (box.right <= box.left || box.bottom <= box.top)
        return RECT{};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextA(dc, text.c_str(), int(text.size()), &box, format);
    return box;
}

void PrintHeader(HDC dc)
{
    DrawHeader(dc, PageOf(dc), State().settings.texts);
}

void PrintFooter(HDC dc)
{
    DrawFooter(dc, PageOf(dc), State().settings.texts);
}

void PrintNotepad(HDC dc, int, int, int pw, int ph, int x, int y)
{
    DrawNote(dc, PageOf(dc), CurrentNoteText(), State().settings.page, NotePlace{x, y, pw, ph});
}

}  // namespace pagent
