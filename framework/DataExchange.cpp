#include "DataExchange.h"

#include "Wnd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// The framework's own wording, for programs whose string table lacks it.
CString MessageText(UINT id)
{
    CString text;
    if (text.LoadString(id))
        return text;
    switch (id) {
    case AFX_IDP_PARSE_INT: return "Please enter an integer.";
    case AFX_IDP_PARSE_REAL: return "Please enter a number.";
    case AFX_IDP_PARSE_INT_RANGE: return "Please enter an integer between %1 and %2.";
    case AFX_IDP_PARSE_REAL_RANGE: return "Please enter a number between %1 and %2.";
    case AFX_IDP_PARSE_STRING_SIZE: return "Please enter no more than %1 characters.";
    case AFX_IDP_PARSE_UINT: return "Please enter a positive integer.";
    default: return CString();
    }
}

CString Substitute(CString text, LPCSTR first, LPCSTR second)
{
    text.Replace("%1", first ? first : "");
    if (second)
        text.Replace("%2", second);
    return text;
}

void FailWith(CDataExchange* dx, const CString& message, UINT id)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION, id);
    dx->Fail();
}

CString ControlText(HWND control)
{
    CWnd wrapper(control);
    CString text;
    wrapper.GetWindowText(text);
    wrapper.m_hWnd = nullptr;
    return text;
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

// Whole-text numbers: blanks around them allowed, nothing else.
bool ParseSigned(const CString& text, long long minValue, long long maxValue, long long& out)
{
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    if (!*p)
        return false;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE)
        return false;
    while (IsBlank(*end))
        ++end;
    if (*end || value < minValue || value > maxValue)
        return false;
    out = value;
    return true;
}

bool ParseUnsigned(const CString& text, unsigned long long maxValue, unsigned long long& out)
{
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    if (*p == '-' || !*p)
        return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(p, &end, 10);
    if (end == p || errno == ERANGE)
        return false;
    while (IsBlank(*end))
        ++end;
    if (*end || value > maxValue)
        return false;
    out = value;
    return true;
}

template <class T>
void ExchangeSigned(CDataExchange* dx, int id, T& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format("%lld", static_cast<long long>(value));
        ::SetWindowTextA(control, text);
        return;
    }
    long long parsed = 0;
    if (!ParseSigned(ControlText(control), static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX), parsed))
        FailWith(dx, MessageText(AFX_IDP_PARSE_INT), AFX_IDP_PARSE_INT);
    value = static_cast<T>(parsed);
}

template <class T>
void ExchangeUnsigned(CDataExchange* dx, int id, T& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format("%llu", static_cast<unsigned long long>(value));
        ::SetWindowTextA(control, text);
        return;
    }
    unsigned long long parsed = 0;
    if (!ParseUnsigned(ControlText(control), static_cast<unsigned long long>(UINT_MAX), parsed))
        FailWith(dx, MessageText(AFX_IDP_PARSE_UINT), AFX_IDP_PARSE_UINT);
    value = static_cast<T>(parsed);
}

template <class T>
void CheckRange(CDataExchange* dx, T value, T minValue, T maxValue, const char* format, UINT id)
{
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    CString low, high;
    low.Format(format, minValue);
    high.Format(format, maxValue);
    FailWith(dx, Substitute(MessageText(id), low, high), id);
}

bool IsRadioButton(HWND window)
{
    return window && (::SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

} // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control)
        throw KfDataExchangeFailure{};   // a table naming a control the dialog lacks
    m_hWndLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw KfDataExchangeFailure{};
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const KfDataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeSigned(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, long& value) { ExchangeSigned(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeUnsigned(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, DWORD& value) { ExchangeUnsigned(dx, id, value); }

void DDX_Text(CDataExchange* dx, int id, double& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format("%.15g", value);
        ::SetWindowTextA(control, text);
        return;
    }
    CString text = ControlText(control);
    const char* p = text;
    char* end = nullptr;
    double parsed = std::strtod(p, &end);
    while (end && IsBlank(*end))
        ++end;
    if (end == p || !end || *end)
        FailWith(dx, MessageText(AFX_IDP_PARSE_REAL), AFX_IDP_PARSE_REAL);
    value = parsed;
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = ControlText(control);
    else
        ::SetWindowTextA(control, value);
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, (value >= 0 && value <= 2) ? value : 0, 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND button = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next one with WS_GROUP.
    int index = 0;
    for (HWND current = button; IsRadioButton(current);) {
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(current, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(current, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        current = ::GetWindow(current, GW_HWNDNEXT);
        if (!current || (::GetWindowLongA(current, GWL_STYLE) & WS_GROUP))
            break;
        ++index;
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND item = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(item))
        throw KfDataExchangeFailure{};
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    CheckRange(dx, value, minValue, maxValue, "%d", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue)
{
    CheckRange(dx, value, minValue, maxValue, "%ld", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    CheckRange(dx, value, minValue, maxValue, "%u", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue)
{
    CheckRange(dx, static_cast<unsigned long>(value), static_cast<unsigned long>(minValue),
               static_cast<unsigned long>(maxValue), "%lu", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue)
{
    CheckRange(dx, value, minValue, maxValue, "%g", AFX_IDP_PARSE_REAL_RANGE);
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (!dx->m_bSaveAndValidate) {
        if (dx->m_hWndLastControl && dx->m_bEditLastControl)
            ::SendMessageA(dx->m_hWndLastControl, EM_LIMITTEXT, maxChars, 0);
        return;
    }
    if (value.GetLength() > maxChars) {
        CString count;
        count.Format("%d", maxChars);
        FailWith(dx, Substitute(MessageText(AFX_IDP_PARSE_STRING_SIZE), count, nullptr), AFX_IDP_PARSE_STRING_SIZE);
    }
}

void AfxFormatString1(CString& out, UINT id, LPCSTR first) { out = Substitute(MessageText(id), first, nullptr); }

void AfxFormatString2(CString& out, UINT id, LPCSTR first, LPCSTR second)
{
    out = Substitute(MessageText(id), first, second);
}
