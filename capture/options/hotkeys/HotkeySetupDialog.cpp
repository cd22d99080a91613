// The Hotkey Setup dialog: a drawn keyboard of 101 key caps (window class
// "KeyClass") on which the user gives each of the eight hot-key rows its
// key and modifiers. The caps' window procedure reads the dialog's state,
// so one run at a time.
#include <windows.h>

#include <string>

#include "../../../framework/CString.h"
#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "../../../framework/WinApp.h"
#include "AuxWindows.h"
#include "HotkeyKeys.h"
#include "HotkeyRules.h"
#include "HotkeySetupIds.h"
#include "KeyCapName.h"
#include "OptionDialogCalls.h"

namespace {

const int kF1Key = 1;

// The caps of each modifier (both Shift, both Ctrl, both Alt caps).
struct ModifierCaps {
    int modifier;
    int caps[2];
    int capCount;
};
const ModifierCaps kModifierCaps[] = {
    {kModifierEsc, {0, 0}, 1}, {kModifierShift, {74, 85}, 2}, {kModifierCtrl, {91, 95}, 2},
    {kModifierAlt, {92, 94}, 2}};

// The state of one run, read by the caps' window procedure.
struct HotkeyRun {
    HotkeyAssignments working;
    int row = 0;
    HWND caps[kHotkeyTableSize] = {};
    HFONT font = nullptr;
    HPEN highlight = nullptr;
    HPEN shadow = nullptr;
    HPEN red = nullptr;
};
HotkeyRun Run;
int LastConfirmedRow = 0;

const ModifierCaps* ModifierOfCap(int key)
{
    for (const ModifierCaps& m : kModifierCaps)
        for (int i = 0; i < m.capCount; ++i)
            if (m.caps[i] == key)
                return &m;
    return nullptr;
}

void RepaintCap(int key)
{
    if (key >= 0 && key < kHotkeyTableSize && Run.caps[key])
        ::InvalidateRect(Run.caps[key], nullptr, TRUE);
}

void RepaintModifierCaps()
{
    for (const ModifierCaps& m : kModifierCaps)
        for (int i = 0; i < m.capCount; ++i)
            RepaintCap(m.caps[i]);
}

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

// A cap's name stays whole on its face: a long one is drawn smaller or on
// two lines.
void DrawCapName(HDC dc, const RECT& face, const char* name)
{
    LOGFONTA font{};
    ::GetObjectA(Run.font, sizeof font, &font);
    DrawKeyCapName(dc, font, face, name);
}

void PaintCap(HWND cap, HDC dc, int key)
{
    RECT client;
    ::GetClientRect(cap, &client);
    const int w = client.right, h = client.bottom;
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::Rectangle(dc, 0, 0, w, h);
    // Raised bevel, one and two pixels inside the outline.
    ::SelectObject(dc, Run.highlight);
    Line(dc, 1, h - 2, 1, 1);
    Line(dc, 1, 1, w - 1, 1);
    Line(dc, 2, h - 3, 2, 2);
    Line(dc, 2, 2, w - 2, 2);
    ::SelectObject(dc, Run.shadow);
    Line(dc, w - 2, 1, w - 2, h - 1);
    Line(dc, 1, h - 2, w - 1, h - 2);
    Line(dc, w - 3, 2, w - 3, h - 2);
    Line(dc, 2, h - 3, w - 2, h - 3);

    HGDIOBJ oldFont = ::SelectObject(dc, Run.font);
    const RECT inner = {2, 2, w - 2, h - 2};
    const RECT face = {3, 3, w - 3, h - 3};   // inside the bevel
    const char* name = HotkeyKeys[key].name;
    ::SetBkMode(dc, OPAQUE);
    if (const ModifierCaps* modifier = ModifierOfCap(key)) {
        if (Run.working.modifiers[Run.row][modifier->modifier]) {
            ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
            ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
            ::Rectangle(dc, 0, 0, w, h);
            HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
            ::SelectObject(dc, Run.red);
            ::SelectObject(dc, red);
            ::Rectangle(dc, inner.left, inner.top, inner.right, inner.bottom);
            ::SelectObject(dc, ::GetSysColorBrush(COLOR_BTNFACE));
            ::DeleteObject(red);
            ::SetTextColor(dc, RGB(255, 255, 255));
            ::SetBkColor(dc, RGB(255, 0, 0));
        } else {
            ::SetTextColor(dc, RGB(255, 0, 0));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        }
        DrawCapName(dc, face, name);
    } else if (Run.working.keys[Run.row] == key) {
        ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
        ::Rectangle(dc, 0, 0, w, h);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        DrawCapName(dc, face, name);
        ::InvertRect(dc, &inner);
    } else {
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        DrawCapName(dc, face, name);
    }
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

int CapIndex(HWND cap)
{
    for (int key = 0; key < kHotkeyTableSize; ++key)
        if (Run.caps[key] == cap)
            return key;
    return -1;
}

// The program's message box (its title, the exclamation icon), over the
// dialog so that the keyboard waits for it.
void ShowHotkeyMessage(HWND owner, const std::string& text)
{
    ::MessageBoxA(owner, text.c_str(), ApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
}

std::string StringText(int id)
{
    CString text;
    text.LoadString(static_cast<UINT>(id));
    return text.GetString();
}

// The refusal of a conflicting assignment; identical keys name their pair.
void ShowRefusal(HWND owner, const HotkeyVerdict& verdict)
{
    std::string text = StringText(verdict.message);
    if (verdict.message == IDS_IDENTICAL_HOTKEYS)
        text += StringText(verdict.pair);
    ShowHotkeyMessage(owner, text);
}

void ClickCap(int key)
{
    if (key < 0)
        return;
    if (key == kF1Key) {
        ShowHotkeyMessage(::GetParent(Run.caps[key]), StringText(IDS_F1_IS_HELP));
        return;
    }
    if (const ModifierCaps* modifier = ModifierOfCap(key)) {
        int& state = Run.working.modifiers[Run.row][modifier->modifier];
        state = state ? 0 : -1;
        for (int i = 0; i < modifier->capCount; ++i)
            RepaintCap(modifier->caps[i]);
        return;
    }
    const int previous = Run.working.keys[Run.row];
    Run.working.keys[Run.row] = key;
    RepaintCap(previous);
    RepaintCap(key);
}

LRESULT CALLBACK KeyCapWndProc(HWND cap, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const int id = ::GetDlgCtrlID(cap);
        if (id >= IDC_KEY_CAP_FIRST && id <= IDC_KEY_CAP_LAST)
            Run.caps[id - IDC_KEY_CAP_FIRST] = cap;
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(cap, &paint);
        const int key = CapIndex(cap);
        if (key >= 0)
            PaintCap(cap, dc, key);
        ::EndPaint(cap, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
        ClickCap(CapIndex(cap));
        return 0;
    default:
        return ::DefWindowProcA(cap, message, wParam, lParam);
    }
}

class XDialogHotkey : public CDialog {
public:
    XDialogHotkey() : CDialog(IDD_HOTKEY_SETUP) { captureType = Run.row; }
    int captureType;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Radio(dx, IDC_HOTKEY_SCREEN, captureType); }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    afx_msg void OnCaptureType(UINT)
    {
        RepaintCap(Run.working.keys[Run.row]);
        UpdateData(TRUE);
        if (captureType >= 0 && captureType < kHotkeyRowCount)
            Run.row = captureType;
        RepaintCap(Run.working.keys[Run.row]);
        RepaintModifierCaps();
    }

    afx_msg void OnDefault()
    {
        RepaintCap(Run.working.keys[Run.row]);
        Run.working = DefaultHotkeyAssignments();
        RepaintCap(Run.working.keys[Run.row]);
        RepaintModifierCaps();
    }

    afx_msg void OnHelp() { AfxGetApp()->WinHelp(reinterpret_cast<DWORD_PTR>("Hotkey Setup"), HELP_KEY); }

    void OnOK() override
    {
        UpdateData(TRUE);
        const HotkeyVerdict verdict = CheckHotkeyConflicts(Run.working);
        if (verdict.message) {
            ShowRefusal(m_hWnd, verdict);
            return;
        }
        LastConfirmedRow = Run.row;
        StoreHotkeyAssignments(Run.working);
        WriteHotkeySettings();
        EndDialog(IDOK);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogHotkey, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_HOTKEY_SCREEN, IDC_HOTKEY_BUTTON, OnCaptureType)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_HOTKEY_COMMAND_BAR, IDC_HOTKEY_COMMAND_BAR, OnCaptureType)
    ON_BN_CLICKED(IDC_HOTKEY_DEFAULT, OnDefault)
    ON_BN_CLICKED(IDC_HOTKEY_HELP, OnHelp)
END_MESSAGE_MAP()

}  // namespace

void RunHotkeySetupDialog(int row)
{
    SetHelperWindowProcedure(kKeyCapClass, KeyCapWndProc);
    Run = HotkeyRun();
    Run.row = row >= 0 && row < kHotkeyRowCount ? row : 0;
    Run.working = CurrentHotkeyAssignments();
    LOGFONTA face{};
    face.lfHeight = -9;
    lstrcpynA(face.lfFaceName, "Arial", sizeof face.lfFaceName);
    Run.font = ::CreateFontIndirectA(&face);
    Run.highlight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    Run.shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    Run.red = ::CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    {
        XDialogHotkey dialog;
        dialog.DoModal();
    }
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(Run.font), static_cast<HGDIOBJ>(Run.highlight),
                           static_cast<HGDIOBJ>(Run.shadow), static_cast<HGDIOBJ>(Run.red)})
        ::DeleteObject(object);
    Run = HotkeyRun();
}

int LastConfirmedHotkeyRow() { return LastConfirmedRow; }
