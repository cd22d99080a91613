#include "PrintSheets.h"

#include "DataExchange.h"
#include "PagentResource.h"
#include "PrintState.h"
#include "PrintText.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace pagent {

namespace {

constexpr int kBoxCount = 18;

std::string DlgText(HWND dialog, int id)
{
    char text[kTextSize] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A multi-line note is not limited to the settings' text size.
std::string EditText(HWND edit)
{
    const int length = ::GetWindowTextLengthA(edit);
    std::string text(size_t(std::max(0, length)) + 1, '\0');
    ::GetWindowTextA(edit, &text[0], length + 1);
    text.resize(strlen(text.c_str()));
    return text;
}

FontSpec FromLogFont(const LOGFONTA& font)
{
    FontSpec fontSpec{};
    const int values[FontSpec::kCount] = {int(font.lfHeight), int(font.lfWidth), int(font.lfEscapement),
                                          int(font.lfOrientation), int(font.lfWeight), font.lfItalic,
                                          font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
                                          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily};
    std::copy(values, values + FontSpec::kCount, fontSpec.fields);
    lstrcpynA(fontSpec.face, font.lfFaceName, sizeof fontSpec.face);
    return fontSpec;
}

// The font dialog on a stored font; OK stores it at once, in the state and
// in its key, whatever becomes of the sheet.
bool RunFontDialog(HWND owner, FontKind kind)
{
    PrintState& state = State();
    LOGFONTA font = ToLogFont(state.settings.fonts[kind]);
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpLogFont = &font;
    choose.hDC = CreateJobDC();
    choose.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCALABLEONLY | CF_NOVECTORFONTS |
                   (choose.hDC ? CF_BOTH : CF_SCREENFONTS);
    const BOOL chosen = ::ChooseFontA(&choose);
    if (choose.hDC)
        ::DeleteDC(choose.hDC);
    if (!chosen)
        return false;
    state.settings.fonts[kind] = FromLogFont(font);
    SaveFont(state.section.c_str(), state.settingsFile.c_str(), kind, state.settings.fonts[kind]);
    return true;
}

// The library's help file: the module's own path with ".hlp".
void OpenPrintHelp(HWND owner)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(g_libraryModule, path, sizeof path);
    if (char* dot = strrchr(path, '.'))
        strcpy(dot, ".hlp");
    ::WinHelpA(owner, path, HELP_KEY, reinterpret_cast<ULONG_PTR>("print settings"));
}

void RepaintOpenPreview()
{
    if (HWND preview = State().openPreview)
        ::InvalidateRect(preview, nullptr, FALSE);
}

}  // namespace

// ---- The alignment boxes ----

LRESULT CALLBACK PrnClassWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PrintState& state = State();
    const int id = ::GetDlgCtrlID(window);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_SETFOCUS: {
        if (id < IDC_ALIGN_FIRST || id >= IDC_ALIGN_FIRST + kBoxCount)
            return 0;
        const int clicked = id - IDC_ALIGN_FIRST;
        const bool changed = clicked != state.alignBox;
        state.alignBox = clicked;
        HWND parent = ::GetParent(window);
        for (int i = 0; i < kBoxCount; ++i) {
            if (HWND box = ::GetDlgItem(parent, IDC_ALIGN_FIRST + i))
                ::InvalidateRect(box, nullptr, TRUE);
        }
        if (message == WM_LBUTTONDOWN && ::GetFocus() != window)
            ::SetFocus(window);
        if (changed)
            RepaintOpenPreview();
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        const int current = state.alignBox + IDC_ALIGN_FIRST;
        const bool marked = id == current || id == current - 9 || id == current + 9;
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(marked ? BLACK_BRUSH : WHITE_BRUSH)));
        ::FrameRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::EndPaint(window, &paint);
        return 0;
    }
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

// ---- Pages ----

OptionsPage::OptionsPage(UINT templateId, OptionsSheet& sheet)
    : CPropertyPage(templateId), sheet_(sheet), values_(sheet.values)
{
    if (!values_.allOnOnePage)
        m_psp.dwFlags |= PSP_HASHELP;
}

BOOL OptionsPage::OnApply()
{
    sheet_.StoreOnce();
    return TRUE;
}

BOOL OptionsPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (reinterpret_cast<NMHDR*>(lParam)->code == PSN_HELP) {
        OpenPrintHelp(sheet_.m_hWnd);
        *result = 0;
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, result);
}

bool OptionsPage::ReadNumber(int id, int low, int high, int& value)
{
    BOOL ok = FALSE;
    const int read = int(::GetDlgItemInt(m_hWnd, id, &ok, TRUE));
    if (!ok || read < low || read > high || read == value)
        return false;
    value = read;
    return true;
}

bool OptionsPage::ReadRadio(int firstId, int& value)
{
    int index = 0, checked = -1;
    for (HWND button = ::GetDlgItem(m_hWnd, firstId); button; ++index) {
        if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
            checked = index;
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (!button || (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
    }
    if (checked < 0 || checked == value)
        return false;
    value = checked;
    return true;
}

void OptionsPage::SetPrinterLine(int id)
{
    const std::string line = "Current Printer: " + State().printer.device;
    ::SetDlgItemTextA(m_hWnd, id, line.c_str());
}

void OptionsPage::ShowAlignmentBoxes(bool landscape)
{
    for (int i = 0; i < kBoxCount; ++i) {
        const bool shown = (i >= 9) == landscape;
        if (HWND box = ::GetDlgItem(m_hWnd, IDC_ALIGN_FIRST + i))
            ::ShowWindow(box, shown ? SW_SHOW : SW_HIDE);
    }
}

// ---- Print (single image) ----

BEGIN_MESSAGE_MAP(PrintOptionsPage, CPropertyPage)
    ON_EN_CHANGE(IDC_SCALE, OnScaleChange)
    ON_BN_CLICKED(IDC_COLOR, OnColorMode)
    ON_BN_CLICKED(IDC_GRAYSCALE, OnColorMode)
    ON_BN_CLICKED(IDC_BLACK_WHITE, OnColorMode)
    ON_BN_CLICKED(IDC_PORTRAIT, OnOrientation)
    ON_BN_CLICKED(IDC_LANDSCAPE, OnOrientation)
    ON_BN_CLICKED(IDC_PREVIEW_NONE, OnPreviewSize)
    ON_BN_CLICKED(IDC_PREVIEW_SMALL, OnPreviewSize)
    ON_BN_CLICKED(IDC_PREVIEW_LARGE, OnPreviewSize)
    ON_BN_CLICKED(IDC_PREV, OnPrev)
    ON_BN_CLICKED(IDC_NEXT, OnNext)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

void PrintOptionsPage::DoDataExchange(CDataExchange* dx)
{
    PageOptions& page = values_.page;
    DDX_Text(dx, IDC_COPIES, page.values[PageOptions::kCopies]);
    DDV_MinMaxInt(dx, page[PageOptions::kCopies], 1, 999);
    DDX_Text(dx, IDC_SCALE, page.values[PageOptions::kScale]);
    DDV_MinMaxInt(dx, page[PageOptions::kScale], 1, 99);
    DDX_Radio(dx, IDC_COLOR, page.values[PageOptions::kColorMode]);
    DDX_Radio(dx, IDC_PORTRAIT, page.values[PageOptions::kOrientation]);
    DDX_Radio(dx, IDC_PREVIEW_NONE, page.values[PageOptions::kPreviewSize]);
}

BOOL PrintOptionsPage::OnInitDialog()
{
    OptionsPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_COPIES_SPIN, UDM_SETRANGE32, 1, 999);
    ::SendDlgItemMessageA(m_hWnd, IDC_SCALE_SPIN, UDM_SETBUDDY, WPARAM(::GetDlgItem(m_hWnd, IDC_SCALE)), 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_SCALE_SPIN, UDM_SETRANGE32, 1, 99);
    ShowAlignmentBoxes(values_.page[PageOptions::kOrientation] == 1);
    auto* sheet = static_cast<PrintOneSheet*>(&sheet_);
    if (sheet->allImages()) {
        ShowPreviewPosition();
    } else {
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PREV), SW_HIDE);
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_NEXT), SW_HIDE);
    }
    SetPrinterLine(IDC_CURRENT_PRINTER);
    return TRUE;
}

void PrintOptionsPage::ShowPreviewPosition()
{
    const PrintState& state = State();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PREV), state.previewIndex > 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_NEXT), state.previewIndex < state.recordCount - 1);
    char text[64];
    snprintf(text, sizeof text, "Preview Image %d of %d", state.previewIndex + 1, state.recordCount);
    ::SetDlgItemTextA(m_hWnd, IDC_PREVIEW_GROUP, text);
}

void PrintOptionsPage::StepTo(int index)
{
    PrintState& state = State();
    if (index < 0 || index >= state.recordCount || !state.callerBlock)
        return;
    if (auto* list = static_cast<const ImageRecord*>(::GlobalLock(state.callerBlock))) {
        state.previewIndex = index;
        state.current = list[index];
        ::GlobalUnlock(state.callerBlock);
        if (state.current.hNote)
            values_.note = CurrentNoteText();
        sheet_.preview().RepaintAll();
    }
    ShowPreviewPosition();
}

// Prev and Next show the library's arrow icons, greyed when disabled.
void PrintOptionsPage::OnDrawItem(int id, LPDRAWITEMSTRUCT item)
{
    if (id != IDC_PREV && id != IDC_NEXT) {
        OptionsPage::OnDrawItem(id, item);
        return;
    }
    RECT face = item->rcItem;
    const bool pushed = item->itemState & ODS_SELECTED;
    ::DrawFrameControl(item->hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    HICON icon = ::LoadIconA(g_libraryModule, MAKEINTRESOURCEA(id == IDC_PREV ? IDI_PREV : IDI_NEXT));
    const int size = ::GetSystemMetrics(SM_CXICON);
    const int x = (face.left + face.right - size) / 2 + (pushed ? 1 : 0);
    const int y = (face.top + face.bottom - size) / 2 + (pushed ? 1 : 0);
    ::DrawStateA(item->hDC, nullptr, nullptr, LPARAM(icon), 0, x, y, size, size,
                 DST_ICON | ((item->itemState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL));
    if (item->itemState & ODS_FOCUS) {
        ::InflateRect(&face, -3, -3);
        ::DrawFocusRect(item->hDC, &face);
    }
}

void PrintOptionsPage::OnPrev()
{
    StepTo(State().previewIndex - 1);
}

void PrintOptionsPage::OnNext()
{
    StepTo(State().previewIndex + 1);
}

void PrintOptionsPage::OnScaleChange()
{
    if (ReadNumber(IDC_SCALE, 1, 99, values_.page.values[PageOptions::kScale]))
        sheet_.preview().RepaintAll();
}

void PrintOptionsPage::OnColorMode()
{
    if (ReadRadio(IDC_COLOR, values_.page.values[PageOptions::kColorMode]))
        sheet_.preview().RepaintAll();
}

void PrintOptionsPage::OnOrientation()
{
    if (!ReadRadio(IDC_PORTRAIT, values_.page.values[PageOptions::kOrientation]))
        return;
    ShowAlignmentBoxes(values_.page[PageOptions::kOrientation] == 1);
    sheet_.preview().RepaintAll();
}

void PrintOptionsPage::OnPreviewSize()
{
    if (ReadRadio(IDC_PREVIEW_NONE, values_.page.values[PageOptions::kPreviewSize]))
        sheet_.SetPreviewSize(values_.page[PageOptions::kPreviewSize]);
}

// ---- Notepad ----

BEGIN_MESSAGE_MAP(NotepadPage, CPropertyPage)
    ON_EN_CHANGE(IDC_NOTE_TEXT, OnNoteChange)
    ON_BN_CLICKED(IDC_NOTE_LEFT, OnPlacement)
    ON_BN_CLICKED(IDC_NOTE_CENTER, OnPlacement)
    ON_BN_CLICKED(IDC_NOTE_RIGHT, OnPlacement)
    ON_BN_CLICKED(IDC_NOTE_UNDER, OnPlacement)
    ON_BN_CLICKED(IDC_NOTE_ABOVE, OnPlacement)
    ON_BN_CLICKED(IDC_NOTE_IMAGE_WIDTH, OnPlacement)
    ON_BN_CLICKED(IDC_NOTE_PAGE_WIDTH, OnPlacement)
    ON_BN_CLICKED(IDC_PRINT_NOTE, OnPrintNote)
    ON_BN_CLICKED(IDC_NOTE_FONT, OnFont)
END_MESSAGE_MAP()

void NotepadPage::DoDataExchange(CDataExchange* dx)
{
    PageOptions& page = values_.page;
    DDX_Radio(dx, IDC_NOTE_IMAGE_WIDTH, page.values[PageOptions::kNoteWidth]);
    DDX_Radio(dx, IDC_NOTE_UNDER, page.values[PageOptions::kNotePosition]);
    DDX_Radio(dx, IDC_NOTE_LEFT, page.values[PageOptions::kNoteAlign]);
    DDX_Check(dx, IDC_PRINT_NOTE, page.values[PageOptions::kPrintNote]);
}

BOOL NotepadPage::OnInitDialog()
{
    OptionsPage::OnInitDialog();
    EnablePlacement();
    return TRUE;
}

BOOL NotepadPage::OnSetActive()
{
    // The note of the image shown now (Prev and Next may have changed it).
    ::SetDlgItemTextA(m_hWnd, IDC_NOTE_TEXT, values_.note.c_str());
    return OptionsPage::OnSetActive();
}

// Leaving the page (OK too) takes the note as the edit holds it: a note
// set without typing sends no change notification.
BOOL NotepadPage::OnKillActive()
{
    values_.note = EditText(::GetDlgItem(m_hWnd, IDC_NOTE_TEXT));
    return OptionsPage::OnKillActive();
}

void NotepadPage::EnablePlacement()
{
    const bool on = ::IsDlgButtonChecked(m_hWnd, IDC_PRINT_NOTE) == BST_CHECKED;
    for (int id = IDC_NOTE_LEFT; id <= IDC_NOTE_FONT; ++id)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), on);
}

void NotepadPage::OnNoteChange()
{
    values_.note = EditText(::GetDlgItem(m_hWnd, IDC_NOTE_TEXT));
    static_cast<PrintOnePreview&>(sheet_.preview()).RepaintNoteArea();
}

void NotepadPage::OnPlacement()
{
    UpdateData(TRUE);
    static_cast<PrintOnePreview&>(sheet_.preview()).RepaintNoteArea();
}

void NotepadPage::OnPrintNote()
{
    UpdateData(TRUE);
    EnablePlacement();
    static_cast<PrintOnePreview&>(sheet_.preview()).RepaintNoteArea();
}

void NotepadPage::OnFont()
{
    if (RunFontDialog(m_hWnd, kNoteFont))
        static_cast<PrintOnePreview&>(sheet_.preview()).RepaintNoteArea();
}

// ---- Header and Footer ----

BEGIN_MESSAGE_MAP(TextsPage, CPropertyPage)
    ON_EN_CHANGE(IDC_HEADER_LEFT, OnTextChange)
    ON_EN_CHANGE(IDC_HEADER_CENTER, OnTextChange)
    ON_EN_CHANGE(IDC_HEADER_RIGHT, OnTextChange)
    ON_EN_CHANGE(IDC_FOOTER_LEFT, OnTextChange)
    ON_EN_CHANGE(IDC_FOOTER_CENTER, OnTextChange)
    ON_EN_CHANGE(IDC_FOOTER_RIGHT, OnTextChange)
    ON_BN_CLICKED(IDC_PRINT_HEADER, OnPrintCheck)
    ON_BN_CLICKED(IDC_PRINT_FOOTER, OnPrintCheck)
    ON_BN_CLICKED(IDC_HEADER_FONT, OnFont)
    ON_BN_CLICKED(IDC_FOOTER_FONT, OnFont)
END_MESSAGE_MAP()

TextsPage::TextsPage(OptionsSheet& sheet, bool footer)
    : OptionsPage(footer ? IDD_FOOTER_PAGE : IDD_HEADER_PAGE, sheet), footer_(footer)
{
}

void TextsPage::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, Id(IDC_PRINT_HEADER),
              values_.page.values[footer_ ? PageOptions::kPrintFooter : PageOptions::kPrintHeader]);
}

BOOL TextsPage::OnInitDialog()
{
    const int first = footer_ ? kFooterLeft : kHeaderLeft;
    for (int i = 0; i < 3; ++i) {
        ::SendDlgItemMessageA(m_hWnd, Id(IDC_HEADER_LEFT) + i, EM_LIMITTEXT, kTextSize - 1, 0);
        ::SetDlgItemTextA(m_hWnd, Id(IDC_HEADER_LEFT) + i, values_.texts[first + i].c_str());
    }
    OptionsPage::OnInitDialog();
    ::EnableWindow(::GetDlgItem(m_hWnd, Id(IDC_HEADER_FONT)),
                   ::IsDlgButtonChecked(m_hWnd, Id(IDC_PRINT_HEADER)) == BST_CHECKED);
    return TRUE;
}

void TextsPage::Repaint()
{
    if (footer_)
        sheet_.preview().RepaintFooter();
    else
        sheet_.preview().RepaintHeader();
}

void TextsPage::OnTextChange()
{
    const int first = footer_ ? kFooterLeft : kHeaderLeft;
    for (int i = 0; i < 3; ++i)
        values_.texts[first + i] = DlgText(m_hWnd, Id(IDC_HEADER_LEFT) + i);
    Repaint();
}

void TextsPage::OnPrintCheck()
{
    UpdateData(TRUE);
    ::EnableWindow(::GetDlgItem(m_hWnd, Id(IDC_HEADER_FONT)),
                   ::IsDlgButtonChecked(m_hWnd, Id(IDC_PRINT_HEADER)) == BST_CHECKED);
    Repaint();
}

void TextsPage::OnFont()
{
    if (RunFontDialog(m_hWnd, footer_ ? kFooterFont : kHeaderFont))
        Repaint();
}

// ---- Print (all on one page) ----

BEGIN_MESSAGE_MAP(XPropertyPagePrintAll, CPropertyPage)
    ON_EN_CHANGE(IDC_ALL_SCALE, OnNumberChange)
    ON_EN_CHANGE(IDC_ALL_COLUMNS, OnNumberChange)
    ON_BN_CLICKED(IDC_ALL_COLOR, OnColorMode)
    ON_BN_CLICKED(IDC_ALL_GRAYSCALE, OnColorMode)
    ON_BN_CLICKED(IDC_ALL_BLACK_WHITE, OnColorMode)
    ON_BN_CLICKED(IDC_ALL_PORTRAIT, OnOrientation)
    ON_BN_CLICKED(IDC_ALL_LANDSCAPE, OnOrientation)
    ON_BN_CLICKED(IDC_ALL_PREVIEW_SMALL, OnPreviewSize)
    ON_BN_CLICKED(IDC_ALL_PREVIEW_LARGE, OnPreviewSize)
    ON_BN_CLICKED(IDC_ALL_SHOW_GRID, OnShowGrid)
END_MESSAGE_MAP()

XPropertyPagePrintAll::XPropertyPagePrintAll(OptionsSheet& sheet, int imageCount)
    : OptionsPage(IDD_PRINT_ALL_PAGE, sheet), imageCount_(std::max(1, imageCount))
{
    int& columns = values_.all.values[AllPageOptions::kColumns];
    columns = std::min(columns, imageCount_);
}

void XPropertyPagePrintAll::DoDataExchange(CDataExchange* dx)
{
    AllPageOptions& all = values_.all;
    DDX_Text(dx, IDC_ALL_COPIES, all.values[AllPageOptions::kCopies]);
    DDV_MinMaxInt(dx, all[AllPageOptions::kCopies], 1, 99);
    DDX_Text(dx, IDC_ALL_SCALE, all.values[AllPageOptions::kScale]);
    DDV_MinMaxInt(dx, all[AllPageOptions::kScale], 1, 99);
    DDX_Text(dx, IDC_ALL_COLUMNS, all.values[AllPageOptions::kColumns]);
    DDV_MinMaxInt(dx, all[AllPageOptions::kColumns], 1, 20);
    DDX_Radio(dx, IDC_ALL_COLOR, all.values[AllPageOptions::kColorMode]);
    DDX_Radio(dx, IDC_ALL_PORTRAIT, all.values[AllPageOptions::kOrientation]);
    DDX_Radio(dx, IDC_ALL_PREVIEW_SMALL, all.values[AllPageOptions::kPreviewSize]);
    DDX_Check(dx, IDC_ALL_SHOW_GRID, all.values[AllPageOptions::kShowGrid]);
}

BOOL XPropertyPagePrintAll::OnInitDialog()
{
    OptionsPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_COPIES_SPIN, UDM_SETRANGE32, 1, 999);
    ::SendDlgItemMessageA(m_hWnd, IDC_SCALE_SPIN, UDM_SETBUDDY, WPARAM(::GetDlgItem(m_hWnd, IDC_ALL_SCALE)), 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_SCALE_SPIN, UDM_SETRANGE32, 1, 99);
    ::SendDlgItemMessageA(m_hWnd, IDC_COLUMNS_SPIN, UDM_SETBUDDY, WPARAM(::GetDlgItem(m_hWnd, IDC_ALL_COLUMNS)), 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_COLUMNS_SPIN, UDM_SETRANGE32, 1, imageCount_);
    ShowAlignmentBoxes(values_.all[AllPageOptions::kOrientation] == 1);
    SetPrinterLine(IDC_ALL_CURRENT_PRINTER);
    return TRUE;
}

void XPropertyPagePrintAll::OnNumberChange()
{
    bool changed = ReadNumber(IDC_ALL_SCALE, 1, 99, values_.all.values[AllPageOptions::kScale]);
    changed |= ReadNumber(IDC_ALL_COLUMNS, 1, 20, values_.all.values[AllPageOptions::kColumns]);
    if (changed)
        sheet_.preview().RepaintAll();
}

void XPropertyPagePrintAll::OnColorMode()
{
    if (ReadRadio(IDC_ALL_COLOR, values_.all.values[AllPageOptions::kColorMode]))
        sheet_.preview().RepaintAll();
}

void XPropertyPagePrintAll::OnOrientation()
{
    if (!ReadRadio(IDC_ALL_PORTRAIT, values_.all.values[AllPageOptions::kOrientation]))
        return;
    ShowAlignmentBoxes(values_.all[AllPageOptions::kOrientation] == 1);
    sheet_.preview().RepaintAll();
}

void XPropertyPagePrintAll::OnPreviewSize()
{
    if (ReadRadio(IDC_ALL_PREVIEW_SMALL, values_.all.values[AllPageOptions::kPreviewSize]))
        sheet_.SetPreviewSize(values_.all[AllPageOptions::kPreviewSize] + 1);
}

void XPropertyPagePrintAll::OnShowGrid()
{
    values_.all[AllPageOptions::kShowGrid] = ::IsDlgButtonChecked(m_hWnd, IDC_ALL_SHOW_GRID) == BST_CHECKED;
    sheet_.preview().RepaintAll();
}

// ---- The sheets ----

namespace {
OptionsSheet* g_openingSheet = nullptr;
}

OptionsSheet::OptionsSheet(bool allOnOnePage)
    : CPropertySheet((State().section + " Print").c_str())
{
    PrintState& state = State();
    values.allOnOnePage = allOnOnePage;
    values.page = state.settings.page;
    values.all = state.settings.allPage;
    for (int i = 0; i < kHeaderTextCount; ++i)
        values.texts[i] = state.settings.texts[i];
    values.note = CurrentNoteText();
    state.alignBox = allOnOnePage ? state.settings.allPage[AllPageOptions::kAlignBox]
                                  : state.settings.page[PageOptions::kAlignBox];
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_USECALLBACK;
    if (!allOnOnePage)
        m_psh.dwFlags |= PSH_HASHELP;
    m_psh.pfnCallback = SheetCallback;
}

OptionsSheet::~OptionsSheet()
{
    State().openPreview = nullptr;
}

int CALLBACK OptionsSheet::SheetCallback(HWND, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED && g_openingSheet)
        g_openingSheet->OnSheetCreated();
    return 0;
}

INT_PTR OptionsSheet::DoModal()
{
    // The page stored last; this sheet may have fewer pages.
    const int stored = values.page[PageOptions::kActivePage];
    SetActivePage(stored >= 0 && stored < GetPageCount() ? stored : 0);
    g_openingSheet = this;
    stored_ = false;
    INT_PTR result = CPropertySheet::DoModal();
    g_openingSheet = nullptr;
    State().openPreview = nullptr;
    return result;
}

void OptionsSheet::OnSheetCreated()
{
    RECT frame;
    ::GetWindowRect(m_hWnd, &frame);
    baseWidth_ = frame.right - frame.left;
    label_.CreateChild(this);
    preview_->CreateChild(this);
    State().openPreview = preview_->m_hWnd;
    SetPreviewSize(PreviewSizeOf(values.allOnOnePage ? values.all[AllPageOptions::kPreviewSize]
                                                      : values.page[PageOptions::kPreviewSize]));
    // Centred on the desktop.
    ::GetWindowRect(m_hWnd, &frame);
    RECT desk;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &desk, 0);
    ::SetWindowPos(m_hWnd, nullptr, desk.left + (desk.right - desk.left - (frame.right - frame.left)) / 2,
                   desk.top + (desk.bottom - desk.top - (frame.bottom - frame.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OptionsSheet::SetPreviewSize(int size)
{
    if (!m_hWnd)
        return;
    static const int kExtra[3] = {14, 160, 282};
    static const int kSide[3] = {0, 146, 268};
    static const int kTop[3] = {0, 90, 27};
    size = std::min(2, std::max(0, size));
    RECT frame;
    ::GetWindowRect(m_hWnd, &frame);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, baseWidth_ + kExtra[size], frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int side = kSide[size];
    ::MoveWindow(preview_->m_hWnd, baseWidth_ + 4, kTop[size], side, side, TRUE);
    ::MoveWindow(label_.m_hWnd, baseWidth_ + 4, kTop[size] + side + 10, side, side ? 25 : 0, TRUE);
}

void OptionsSheet::StoreOnce()
{
    if (stored_)
        return;
    stored_ = true;
    Store();
}

PrintOneSheet::PrintOneSheet(bool allImages)
    : OptionsSheet(false), allImages_(allImages), onePreview_(values, label_), optionsPage_(IDD_PRINT_OPTIONS_PAGE, *this),
      notepadPage_(IDD_NOTEPAD_PAGE, *this), headerPage_(*this), footerPage_(*this)
{
    preview_ = &onePreview_;
    AddPage(&optionsPage_);
    AddPage(&notepadPage_);
    AddPage(&headerPage_);
    AddPage(&footerPage_);
    AddPage(&macrosPage_);
}

void PrintOneSheet::Store()
{
    PrintState& state = State();
    // An edited note goes into a block of the library's own; the caller's
    // blocks are never written.
    if (!values.note.empty()) {
        HGLOBAL note = ::GlobalAlloc(GHND, values.note.size() + 1);
        if (note) {
            memcpy(::GlobalLock(note), values.note.c_str(), values.note.size() + 1);
            ::GlobalUnlock(note);
            if (state.ownNote)
                ::GlobalFree(state.ownNote);
            state.ownNote = note;
            state.current.hNote = note;
            state.current.noteLength = int32_t(values.note.size());
        }
    }
    PageOptions page = values.page;
    page[PageOptions::kActivePage] = GetActiveIndex();
    page[PageOptions::kAlignBox] = state.alignBox % 9;
    state.settings.page = page;
    for (int i = 0; i < kHeaderTextCount; ++i)
        state.settings.texts[i] = values.texts[i];
    SavePageOptions(state.section.c_str(), state.settingsFile.c_str(), page);
    SaveHeaderTexts(state.section.c_str(), state.settingsFile.c_str(), state.settings.texts);
}

XPropertySheetPrintAll::XPropertySheetPrintAll(int imageCount)
    : OptionsSheet(true), allPreview_(values, label_), printPage_(*this, imageCount), headerPage_(*this),
      footerPage_(*this)
{
    preview_ = &allPreview_;
    AddPage(&printPage_);
    AddPage(&headerPage_);
    AddPage(&footerPage_);
    AddPage(&macrosPage_);
}

void XPropertySheetPrintAll::Store()
{
    PrintState& state = State();
    AllPageOptions all = values.all;
    all[AllPageOptions::kAlignBox] = state.alignBox % 9;
    state.settings.allPage = all;
    SaveAllPageOptions(state.section.c_str(), state.settingsFile.c_str(), all);
    // The Header and Footer pages' texts and flags, stored as the
    // single-image sheet stores them.
    state.settings.page[PageOptions::kPrintHeader] = values.page[PageOptions::kPrintHeader];
    state.settings.page[PageOptions::kPrintFooter] = values.page[PageOptions::kPrintFooter];
    for (int i = 0; i < kHeaderTextCount; ++i)
        state.settings.texts[i] = values.texts[i];
    SavePageOptions(state.section.c_str(), state.settingsFile.c_str(), state.settings.page);
    SaveHeaderTexts(state.section.c_str(), state.settingsFile.c_str(), state.settings.texts);
}

}  // namespace pagent
