#include "DateTimeDialog.h"

#include "PagentResource.h"
#include "PrintDateTime.h"
#include "PrintState.h"

namespace pagent {

namespace {
const UINT_PTR kSampleTimer = 1;
const int kOrderIds[3] = {IDC_ORDER_MDY, IDC_ORDER_DMY, IDC_ORDER_YMD};
const int kSeparatorIds[4] = {IDC_SEPARATOR_SLASH, IDC_SEPARATOR_DASH, IDC_SEPARATOR_DOT, IDC_SEPARATOR_NONE};

void CheckOne(HWND dialog, const int* ids, int count, int chosen)
{
    for (int i = 0; i < count; ++i)
        ::CheckDlgButton(dialog, ids[i], i == chosen ? BST_CHECKED : BST_UNCHECKED);
}

int CheckedOne(HWND dialog, const int* ids, int count, int fallback)
{
    for (int i = 0; i < count; ++i)
        if (::IsDlgButtonChecked(dialog, ids[i]) == BST_CHECKED)
            return i;
    return fallback;
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
}  // namespace

BEGIN_MESSAGE_MAP(DateTimeFormatDialog, CDialog)
    ON_BN_CLICKED(IDC_HOURS_12, OnHours12)
    ON_BN_CLICKED(IDC_HOURS_24, OnHours24)
    ON_BN_CLICKED(IDC_AM_PM, OnAmPm)
    ON_BN_CLICKED(IDC_MONTH_NUMERIC, OnMonthNumeric)
    ON_BN_CLICKED(IDC_MONTH_NAME, OnMonthName)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

DateTimeFormatDialog::DateTimeFormatDialog(const TimeDateFormat& initial, CWnd* parent)
    : CDialog(IDD_DATE_TIME_FORMAT, parent), format(initial)
{
}

BOOL DateTimeFormatDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowFormat();
    EnableDependents();
    SetTimer(kSampleTimer, 100, nullptr);
    RECT box{}, desktop{};
    ::GetWindowRect(m_hWnd, &box);
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::SetWindowPos(m_hWnd, nullptr, (desktop.right - (box.right - box.left)) / 2,
                   (desktop.bottom - (box.bottom - box.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return TRUE;
}

void DateTimeFormatDialog::ShowFormat()
{
    HWND d = m_hWnd;
    ::CheckRadioButton(d, IDC_HOURS_12, IDC_HOURS_24, format[TimeDateFormat::kHours] ? IDC_HOURS_24 : IDC_HOURS_12);
    ::CheckDlgButton(d, IDC_AM_PM, format[TimeDateFormat::kAmPm] ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(d, IDC_UPPER_CASE, format[TimeDateFormat::kUpperCase] ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(d, IDC_SECONDS, format[TimeDateFormat::kSeconds] ? BST_CHECKED : BST_UNCHECKED);
    CheckOne(d, kOrderIds, 3, format[TimeDateFormat::kOrder]);
    CheckOne(d, kSeparatorIds, 4, format[TimeDateFormat::kSeparator]);
    ::CheckRadioButton(d, IDC_MONTH_NUMERIC, IDC_MONTH_NAME,
                       format[TimeDateFormat::kMonthName] ? IDC_MONTH_NAME : IDC_MONTH_NUMERIC);
    ::CheckDlgButton(d, IDC_WEEKDAY, format[TimeDateFormat::kWeekday] ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(d, IDC_CENTURY, format[TimeDateFormat::kCentury] ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(d, IDC_ABBREVIATION, format[TimeDateFormat::kAbbreviation] ? BST_CHECKED : BST_UNCHECKED);
}

void DateTimeFormatDialog::ReadControls()
{
    HWND d = m_hWnd;
    format[TimeDateFormat::kHours] = Checked(d, IDC_HOURS_24);
    format[TimeDateFormat::kAmPm] = Checked(d, IDC_AM_PM);
    format[TimeDateFormat::kUpperCase] = Checked(d, IDC_UPPER_CASE);
    format[TimeDateFormat::kSeconds] = Checked(d, IDC_SECONDS);
    format[TimeDateFormat::kOrder] = CheckedOne(d, kOrderIds, 3, 0);
    format[TimeDateFormat::kSeparator] = CheckedOne(d, kSeparatorIds, 4, 0);
    format[TimeDateFormat::kMonthName] = Checked(d, IDC_MONTH_NAME);
    format[TimeDateFormat::kWeekday] = Checked(d, IDC_WEEKDAY);
    format[TimeDateFormat::kCentury] = Checked(d, IDC_CENTURY);
    format[TimeDateFormat::kAbbreviation] = Checked(d, IDC_ABBREVIATION);
}

// The am/pm box only in 12-hour mode, upper case only with am/pm, the
// abbreviation only with named months.
void DateTimeFormatDialog::EnableDependents()
{
    HWND d = m_hWnd;
    bool twelve = !format[TimeDateFormat::kHours];
    ::EnableWindow(::GetDlgItem(d, IDC_AM_PM), twelve);
    ::EnableWindow(::GetDlgItem(d, IDC_UPPER_CASE), twelve && format[TimeDateFormat::kAmPm]);
    ::EnableWindow(::GetDlgItem(d, IDC_ABBREVIATION), format[TimeDateFormat::kMonthName] != 0);
}

void DateTimeFormatDialog::OnHours12() { ReadControls(); EnableDependents(); }
void DateTimeFormatDialog::OnHours24() { ReadControls(); EnableDependents(); }
void DateTimeFormatDialog::OnAmPm() { ReadControls(); EnableDependents(); }
void DateTimeFormatDialog::OnMonthNumeric() { ReadControls(); EnableDependents(); }
void DateTimeFormatDialog::OnMonthName() { ReadControls(); EnableDependents(); }

void DateTimeFormatDialog::OnTimer(UINT_PTR id)
{
    if (id != kSampleTimer)
        return;
    for (int control : {IDC_TIME_SAMPLE, IDC_DATE_SAMPLE}) {
        RECT box;
        ::GetWindowRect(::GetDlgItem(m_hWnd, control), &box);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&box), 2);
        ::InflateRect(&box, -2, -2);
        ::InvalidateRect(m_hWnd, &box, FALSE);
    }
}

// The sample drawn off screen on the button face, then copied in at once.
void DateTimeFormatDialog::DrawSample(HDC dc, int controlId, const std::string& text)
{
    HWND control = ::GetDlgItem(m_hWnd, controlId);
    if (!control)
        return;
    RECT box;
    ::GetWindowRect(control, &box);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&box), 2);
    ::InflateRect(&box, -2, -2);
    int width = box.right - box.left, height = box.bottom - box.top;
    if (width <= 0 || height <= 0)
        return;
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    HGDIOBJ oldFont = ::SelectObject(memory, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    RECT area{0, 0, width, height};
    ::FillRect(memory, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(memory, TRANSPARENT);
    ::SetTextColor(memory, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextA(memory, text.c_str(), int(text.size()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::BitBlt(dc, box.left, box.top, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, oldFont);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

void DateTimeFormatDialog::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ReadControls();
    struct tm now = LocalCalendar(0);
    DrawSample(dc, IDC_TIME_SAMPLE, FormatPrintTime(now, format));
    DrawSample(dc, IDC_DATE_SAMPLE, FormatPrintDate(now, format, State().names));
    ::EndPaint(m_hWnd, &paint);
}

void DateTimeFormatDialog::OnDestroy()
{
    KillTimer(kSampleTimer);
    CDialog::OnDestroy();
}

void DateTimeFormatDialog::OnOK()
{
    ReadControls();
    CDialog::OnOK();
}

INT_PTR RunDateTimeFormatDialog(CWnd* parent)
{
    PrintState& state = State();
    DateTimeFormatDialog dialog(state.settings.timeDate, parent);
    INT_PTR result = dialog.DoModal();
    if (result == IDOK) {
        state.settings.timeDate = dialog.format;
        SaveTimeDateFormat(state.section.c_str(), state.settingsFile.c_str(), dialog.format);
    }
    return result;
}

BEGIN_MESSAGE_MAP(MacrosPage, CPropertyPage)
    ON_BN_CLICKED(IDC_SET_DATE_TIME, OnSetDateTime)
END_MESSAGE_MAP()

MacrosPage::MacrosPage() : CPropertyPage(IDD_MACROS_PAGE) {}

void MacrosPage::OnSetDateTime()
{
    RunDateTimeFormatDialog(this);
}

}  // namespace pagent
