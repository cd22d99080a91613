// Dialog data exchange: a dialog's DoDataExchange lists its fields with
// DDX_ calls (control <-> member) and DDV_ checks. Loading
// (UpdateData(FALSE)) writes the members into the controls; saving
// (UpdateData(TRUE)) reads and checks them. A field that does not parse or
// is out of range shows the framework's message, takes the focus (an edit
// gets its text selected) and makes UpdateData return FALSE; members after
// it keep their values.
#pragma once

#include "CString.h"

#include <windows.h>

class CWnd;

// Message texts a program may override in its string table.
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_REAL_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_UINT 0xF117

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    // The dialog's control with this id (it must exist).
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Puts the focus on the last prepared control and stops the exchange.
    [[noreturn]] void Fail();
};

// Thrown by Fail and caught by UpdateData.
struct KfDataExchangeFailure {};

void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, DWORD& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// id: the first button of the group; value: the checked one's index, -1 none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Binds the control object to the dialog's control (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue);
void DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

// A string-table text with %1 (and %2) replaced.
void AfxFormatString1(CString& out, UINT id, LPCSTR first);
void AfxFormatString2(CString& out, UINT id, LPCSTR first, LPCSTR second);
