// The date and time format dialog with its live samples, and the Macros
// property page of the option sheets that lists the macros and opens it.
#pragma once

#include "PropertySheet.h"
#include "PrintSettings.h"

namespace pagent {

class DateTimeFormatDialog : public CDialog {
public:
    explicit DateTimeFormatDialog(const TimeDateFormat& format, CWnd* parent = nullptr);
    // The choices as the controls hold them (after OK: the result).
    TimeDateFormat format;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    afx_msg void OnHours12();
    afx_msg void OnHours24();
    afx_msg void OnAmPm();
    afx_msg void OnMonthNumeric();
    afx_msg void OnMonthName();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void ShowFormat();
    void ReadControls();
    void EnableDependents();
    void DrawSample(HDC dc, int controlId, const std::string& text);
};

class MacrosPage : public CPropertyPage {
public:
    MacrosPage();

protected:
    afx_msg void OnSetDateTime();
    DECLARE_MESSAGE_MAP()
};

// The dialog on the print state's formats; OK stores them in the state and
// writes PrintTimeDate. Returns the dialog's result.
INT_PTR RunDateTimeFormatDialog(CWnd* parent);

}  // namespace pagent
