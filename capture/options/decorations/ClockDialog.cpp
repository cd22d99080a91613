// The Kaptura Clock dialog: what the caption clock shows (time, date, their
// formats), whether it hides during a capture, and its colour. A preview
// line shows the current time with the choices as they stand, ten times a
// second; only OK stores them.
#include <windows.h>

#include <ctime>
#include <string>

#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "../../../framework/Gdi.h"
#include "ClockPreview.h"
#include "DecorationDialogIds.h"
#include "DialogHelpers.h"
#include "OptionDialogCalls.h"
#include "Settings.h"

namespace {

enum { kPreviewTimer = 1, kPreviewPeriod = 100 };

const int kTimeControls[] = {IDC_CLOCK_TIME_BOX, IDC_CLOCK_12_HOUR, IDC_CLOCK_24_HOUR,
                             IDC_CLOCK_AM_PM,    IDC_CLOCK_UPPER_CASE, IDC_CLOCK_SECONDS};
const int kDateControls[] = {IDC_CLOCK_DATE_BOX, IDC_CLOCK_MDY,  IDC_CLOCK_DMY, IDC_CLOCK_YMD,
                             IDC_CLOCK_SEPARATOR_LABEL, IDC_CLOCK_SLASH, IDC_CLOCK_DASH, IDC_CLOCK_DOT,
                             IDC_CLOCK_CENTURY};
// Time with seconds and lower-case am/pm on a 12-hour clock, no date,
// month-day-year with "/", in white, hidden during a capture.
const int kDefaultClock[kClockCount] = {1, 0, 1, 0, 1, 1, 0, 0, 0, 0, int(RGB(255, 255, 255))};

// The stored values, each brought into its range.
void ClampClock(const int stored[kClockCount], int values[kClockCount])
{
    for (int i = 0; i < kClockCount; ++i)
        values[i] = FlagValue(stored[i]);
    values[kClockHourFormat] = ClampedValue(stored[kClockHourFormat], 0, 1);
    values[kClockDateOrder] = ClampedValue(stored[kClockDateOrder], 0, 2);
    values[kClockSeparator] = ClampedValue(stored[kClockSeparator], 0, 2);
    values[kClockColor] = stored[kClockColor] & 0xFFFFFF;
}

class XDialogClock : public CDialog {
public:
    XDialogClock() : CDialog(IDD_CLOCK) { ClampClock(Clock, values); }

    int values[kClockCount];

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Check(dx, IDC_CLOCK_TIME, values[kClockTime]);
        DDX_Check(dx, IDC_CLOCK_DATE, values[kClockDate]);
        DDX_Check(dx, IDC_CLOCK_HIDE_IN_CAPTURE, values[kClockHideInCapture]);
        DDX_Radio(dx, IDC_CLOCK_12_HOUR, values[kClockHourFormat]);
        DDX_Check(dx, IDC_CLOCK_SECONDS, values[kClockSeconds]);
        DDX_Check(dx, IDC_CLOCK_AM_PM, values[kClockAmPm]);
        DDX_Check(dx, IDC_CLOCK_UPPER_CASE, values[kClockUpperCase]);
        DDX_Radio(dx, IDC_CLOCK_MDY, values[kClockDateOrder]);
        DDX_Radio(dx, IDC_CLOCK_SLASH, values[kClockSeparator]);
        DDX_Check(dx, IDC_CLOCK_CENTURY, values[kClockCentury]);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        FollowChoices();
        SetTimer(kPreviewTimer, kPreviewPeriod);
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    void Enable(int id, bool enabled)
    {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(enabled);
    }

    // The time and date controls follow their boxes; AM/PM needs the 12-hour
    // clock, Upper Case needs AM/PM as well.
    void FollowChoices()
    {
        const bool time = values[kClockTime] != 0, date = values[kClockDate] != 0;
        for (int id : kTimeControls)
            Enable(id, time);
        for (int id : kDateControls)
            Enable(id, date);
        const bool twelveHours = values[kClockHourFormat] == 0;
        Enable(IDC_CLOCK_AM_PM, time && twelveHours);
        Enable(IDC_CLOCK_UPPER_CASE, time && twelveHours && values[kClockAmPm]);
    }

    void OnChoice()
    {
        UpdateData(TRUE);
        FollowChoices();
    }

    void OnDefault()
    {
        for (int i = 0; i < kClockCount; ++i)
            values[i] = kDefaultClock[i];
        UpdateData(FALSE);
        FollowChoices();
    }

    void OnColor()
    {
        COLORREF color = COLORREF(values[kClockColor]);
        if (ChooseColorFullOpen(this, color))
            values[kClockColor] = static_cast<int>(color);
    }

    void OnHelp() { ShowHelpKeyword("Clock Setup"); }

    CRect PreviewArea()
    {
        CRect area;
        if (CWnd* place = GetDlgItem(IDC_CLOCK_PREVIEW)) {
            place->GetWindowRect(&area);
            ScreenToClient(&area);
        }
        return area;
    }

    void OnTimer(UINT_PTR id)
    {
        if (id == kPreviewTimer) {
            const CRect area = PreviewArea();
            InvalidateRect(&area, FALSE);
        }
        CDialog::OnTimer(id);
    }

    // The preview line: drawn in a bitmap of the face colour, then copied.
    void OnPaint()
    {
        CPaintDC paint(this);
        UpdateData(TRUE);
        const CRect area = PreviewArea();
        if (area.IsRectEmpty())
            return;
        const time_t now = ::time(nullptr);
        struct tm local = {};
        if (const struct tm* converted = localtime(&now))
            local = *converted;
        std::string text = ClockPreviewText(values, local);
        if (text.empty()) {
            CString off;
            off.LoadString(IDS_CLOCK_IS_OFF);
            text = static_cast<LPCSTR>(off);
        }
        HDC memory = ::CreateCompatibleDC(paint.m_hDC);
        HBITMAP bitmap = ::CreateCompatibleBitmap(paint.m_hDC, area.Width(), area.Height());
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const RECT all = {0, 0, area.Width(), area.Height()};
        ::FillRect(memory, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SetTextColor(memory, COLORREF(values[kClockColor]));
        ::SetBkMode(memory, TRANSPARENT);
        ::TextOutA(memory, 0, 0, text.c_str(), static_cast<int>(text.size()));
        ::BitBlt(paint.m_hDC, area.left, area.top, area.Width(), area.Height(), memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }

    void OnDestroy()
    {
        KillTimer(kPreviewTimer);
        CDialog::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogClock, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_CLOCK_TIME, OnChoice)
    ON_BN_CLICKED(IDC_CLOCK_DATE, OnChoice)
    ON_BN_CLICKED(IDC_CLOCK_12_HOUR, OnChoice)
    ON_BN_CLICKED(IDC_CLOCK_24_HOUR, OnChoice)
    ON_BN_CLICKED(IDC_CLOCK_AM_PM, OnChoice)
    ON_BN_CLICKED(IDC_CLOCK_DEFAULT, OnDefault)
    ON_BN_CLICKED(IDC_CLOCK_COLOR, OnColor)
    ON_BN_CLICKED(IDC_CLOCK_HELP, OnHelp)
END_MESSAGE_MAP()

}  // namespace

void RunClockDialog()
{
    XDialogClock dialog;
    if (dialog.DoModal() != IDOK)
        return;
    for (int i = 0; i < kClockCount; ++i)
        Clock[i] = i == kClockColor ? dialog.values[i] : (dialog.values[i] < 0 ? 0 : dialog.values[i]);
    WriteClockSettings();
}
