// The framework's dialogs under Wine: modal and modeless dialogs from
// in-memory templates with data exchange and validation, property sheets
// with lazily created pages, and the message box's default wording.
#include "framework/Controls.h"
#include "framework/PropertySheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Builds a dialog template in memory: a header, then one item per control
// (class given by its atom), all DWORD aligned as the system wants.
class TemplateBuilder {
public:
    TemplateBuilder(const char* title, DWORD style, short cx, short cy)
    {
        DLGTEMPLATE header{};
        header.style = style | DS_SETFONT;
        header.cx = cx;
        header.cy = cy;
        Append(&header, sizeof(header));
        Word(0);   // no menu
        Word(0);   // the standard class
        Text(title);
        Word(8);
        Text("MS Shell Dlg");
    }

    // atom: 0x0080 button, 0x0081 edit, 0x0082 static.
    void Item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id, const char* text = "")
    {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof(item));
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);   // no creation data
        ++count_;
        reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit = count_;
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Append(const void* data, size_t size)
    {
        const BYTE* p = static_cast<const BYTE*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Word(WORD w) { Append(&w, sizeof(w)); }
    void Text(const char* text)
    {
        for (const char* p = text; *p; ++p)
            Word(static_cast<WORD>(static_cast<unsigned char>(*p)));
        Word(0);
    }
    void Align()
    {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    std::vector<BYTE> bytes_;
    WORD count_ = 0;
};

const WORD kButton = 0x0080, kEdit = 0x0081;
const WORD kNumberEdit = 100, kTextEdit = 101, kCheck = 102, kRadioFirst = 103, kUnsignedEdit = 107;

TemplateBuilder FieldsTemplate()
{
    TemplateBuilder t("Fields", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 200, 120);
    t.Item(kEdit, WS_BORDER | WS_TABSTOP, 5, 5, 80, 12, kNumberEdit);
    t.Item(kEdit, WS_BORDER | WS_TABSTOP, 5, 20, 80, 12, kTextEdit);
    t.Item(kButton, BS_AUTOCHECKBOX | WS_TABSTOP, 5, 35, 80, 12, kCheck, "Check");
    t.Item(kButton, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 5, 50, 60, 12, kRadioFirst, "One");
    t.Item(kButton, BS_AUTORADIOBUTTON, 5, 62, 60, 12, kRadioFirst + 1, "Two");
    t.Item(kButton, BS_AUTORADIOBUTTON, 5, 74, 60, 12, kRadioFirst + 2, "Three");
    t.Item(kEdit, WS_BORDER | WS_TABSTOP | WS_GROUP, 100, 5, 80, 12, kUnsignedEdit);
    t.Item(kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 100, 90, 40, 14, IDOK, "OK");
    t.Item(kButton, BS_PUSHBUTTON | WS_TABSTOP, 145, 90, 40, 14, IDCANCEL, "Cancel");
    return t;
}

// Closes message boxes shown while a test's dialog runs, keeping their texts.
std::vector<std::string> shownMessages;

void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = ::FindWindowA("#32770", "kf dialogs");
    if (!box)
        return;
    char text[256] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));   // the box's message
    shownMessages.push_back(text);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

class ScopedBoxCloser {
public:
    ScopedBoxCloser() : timer_(::SetTimer(nullptr, 0, 50, CloseMessageBox)) { shownMessages.clear(); }
    ~ScopedBoxCloser() { ::KillTimer(nullptr, timer_); }

private:
    UINT_PTR timer_;
};

class FieldsDialog : public CDialog {
public:
    int number = 42;
    CString text = "hello";
    int check = 1;
    int radio = 2;
    UINT positive = 7;

    // What the test types into the fields before OK; each OK attempt takes
    // the next set of entries.
    std::vector<std::vector<std::pair<int, std::string>>> attempts;
    size_t attempt = 0;
    std::string shownNumber, shownText;
    int shownRadioThree = -1;
    int okCalls = 0;
    int focusIdAfterFailure = 0;
    DWORD selectionAfterFailure = 0;
    int initCalls = 0;

    FieldsDialog(const DLGTEMPLATE* dialogTemplate) { InitModalIndirect(dialogTemplate); }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, kNumberEdit, number);
        DDV_MinMaxInt(dx, number, 0, 1200);
        DDX_Text(dx, kTextEdit, text);
        DDV_MaxChars(dx, text, 10);
        DDX_Check(dx, kCheck, check);
        DDX_Radio(dx, kRadioFirst, radio);
        DDX_Text(dx, kUnsignedEdit, positive);
    }

    BOOL OnInitDialog() override
    {
        ++initCalls;
        CDialog::OnInitDialog();
        char buffer[64];
        GetDlgItemText(kNumberEdit, buffer, sizeof(buffer));
        shownNumber = buffer;
        GetDlgItemText(kTextEdit, buffer, sizeof(buffer));
        shownText = buffer;
        shownRadioThree = IsDlgButtonChecked(kRadioFirst + 2);
        TypeNextAttempt();
        return TRUE;
    }

    void OnOK() override
    {
        ++okCalls;
        if (UpdateData(TRUE)) {
            EndDialog(IDOK);
            return;
        }
        // Still open: the failed field has the focus with its text selected.
        HWND focus = ::GetFocus();
        focusIdAfterFailure = ::GetDlgCtrlID(focus);
        selectionAfterFailure = static_cast<DWORD>(::SendMessageA(focus, EM_GETSEL, 0, 0));
        TypeNextAttempt();
    }

private:
    void TypeNextAttempt()
    {
        if (attempt >= attempts.size()) {
            PostMessage(WM_COMMAND, IDCANCEL);
            return;
        }
        for (auto& entry : attempts[attempt])
            SetDlgItemText(entry.first, entry.second.c_str());
        CheckRadioButton(kRadioFirst, kRadioFirst + 2, kRadioFirst);
        ++attempt;
        PostMessage(WM_COMMAND, IDOK);
    }
};

} // namespace

TEST(FrameworkDialog, ModalDialogExchangesDataAndEndsWithOk)
{
    CWinApp app("kf dialogs");
    TemplateBuilder t = FieldsTemplate();
    FieldsDialog dialog(t.Get());
    dialog.attempts = {{{kNumberEdit, " 1200 "}, {kTextEdit, "typed"}, {kUnsignedEdit, "65536"}}};
    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_EQ(dialog.shownNumber, "42");   // loaded from the members
    EXPECT_EQ(dialog.shownText, "hello");
    EXPECT_EQ(dialog.shownRadioThree, BST_CHECKED);
    EXPECT_EQ(dialog.number, 1200);        // saved back, blanks around allowed
    EXPECT_STREQ(dialog.text, "typed");
    EXPECT_EQ(dialog.radio, 0);
    EXPECT_EQ(dialog.positive, 65536u);
    EXPECT_EQ(dialog.m_hWnd, nullptr);     // the window is gone, the object free
}

TEST(FrameworkDialog, BadFieldsShowTheirMessageKeepTheDialogAndFocusTheField)
{
    CWinApp app("kf dialogs");
    TemplateBuilder t = FieldsTemplate();
    FieldsDialog dialog(t.Get());
    dialog.attempts = {
        {{kNumberEdit, "5000"}, {kTextEdit, "changed"}},   // out of range
        {{kNumberEdit, "12abc"}},                            // not a number
        {{kNumberEdit, "3000000000"}},                       // beyond int
        {{kNumberEdit, "5"}, {kTextEdit, "far too long text"}},
        {{kTextEdit, "ok"}, {kUnsignedEdit, "-1"}},          // a negative unsigned
        {{kUnsignedEdit, "9"}},
    };
    ScopedBoxCloser closer;
    ASSERT_EQ(dialog.DoModal(), IDOK);

    ASSERT_EQ(shownMessages.size(), 5u);
    EXPECT_EQ(shownMessages[0], "Please enter an integer between 0 and 1200.");
    EXPECT_EQ(shownMessages[1], "Please enter an integer.");
    EXPECT_EQ(shownMessages[2], "Please enter an integer.");
    EXPECT_EQ(shownMessages[3], "Please enter no more than 10 characters.");
    EXPECT_EQ(shownMessages[4], "Please enter a positive integer.");
    EXPECT_EQ(dialog.okCalls, 6);
    // The last failure was the unsigned field: it had the focus, all selected.
    EXPECT_EQ(dialog.focusIdAfterFailure, kUnsignedEdit);
    EXPECT_EQ(LOWORD(dialog.selectionAfterFailure), 0);
    EXPECT_EQ(HIWORD(dialog.selectionAfterFailure), 2);       // "-1" selected whole
    EXPECT_EQ(dialog.number, 5);
    EXPECT_STREQ(dialog.text, "ok");
    EXPECT_EQ(dialog.positive, 9u);
}

TEST(FrameworkDialog, CancelLeavesTheMembersAlone)
{
    CWinApp app("kf dialogs");
    TemplateBuilder t = FieldsTemplate();
    FieldsDialog dialog(t.Get());   // no attempts: it cancels at once
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.number, 42);
    EXPECT_STREQ(dialog.text, "hello");
    EXPECT_EQ(dialog.radio, 2);
}

namespace {

class ModelessDialog : public CDialog {
public:
    int destroyed = 0;
    int inits = 0;
    int clicks = 0;

protected:
    BOOL OnInitDialog() override
    {
        ++inits;
        return CDialog::OnInitDialog();
    }
    afx_msg void OnCheck() { ++clicks; }
    void PostNcDestroy() override { ++destroyed; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ModelessDialog, CDialog)
    ON_BN_CLICKED(kCheck, OnCheck)
END_MESSAGE_MAP()

} // namespace

TEST(FrameworkDialog, ModelessDialogRoutesItsControlsAndReportsItsEnd)
{
    CWinApp app("kf dialogs");
    TemplateBuilder t = FieldsTemplate();
    ModelessDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t.Get()));
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_FALSE(dialog.IsModal());
    dialog.SendDlgItemMessage(kCheck, BM_CLICK);
    EXPECT_EQ(dialog.clicks, 1);
    // A bound control object reaches the same window.
    CButton check;
    ASSERT_TRUE(check.SubclassDlgItem(kCheck, &dialog));
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.destroyed, 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(check.m_hWnd, nullptr);   // the child went with it
}

namespace {

TemplateBuilder PageTemplate(const char* title)
{
    TemplateBuilder t(title, WS_CHILD | WS_CAPTION | DS_CONTROL, 180, 100);
    t.Item(kEdit, WS_BORDER | WS_TABSTOP, 5, 5, 80, 12, kNumberEdit);
    return t;
}

class NumberPage : public CPropertyPage {
public:
    int value;
    int inits = 0, applies = 0, activations = 0;
    std::vector<std::string> script;   // texts typed in at each activation
    bool pressOk = false;

    NumberPage(const DLGTEMPLATE* dialogTemplate, int start) : CPropertyPage(0), value(start)
    {
        m_psp.dwFlags |= PSP_DLGINDIRECT;
        m_psp.pResource = dialogTemplate;
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, kNumberEdit, value);
        DDV_MinMaxInt(dx, value, 0, 99);
    }
    BOOL OnInitDialog() override
    {
        ++inits;
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        ++activations;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnApply() override
    {
        ++applies;
        return CPropertyPage::OnApply();
    }
};

// Presses its buttons from a timer, so the sheet's own loop runs.
class ScriptedSheet : public CPropertySheet {
public:
    explicit ScriptedSheet(const char* caption) : CPropertySheet(caption) {}
    std::vector<int> steps;   // page indexes to show; -1 the OK button, -2 own OK (validating)
    size_t next = 0;
    int created = 0;
    std::vector<int> activeIndexes;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        ++created;
        if (CPropertySheet::OnCreate(cs) == -1)
            return -1;
        SetTimer(1, 30);
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR)
    {
        // Not again while a step (or its message box) is still running.
        KillTimer(1);
        if (next >= steps.size())
            return;
        int step = steps[next++];
        activeIndexes.push_back(GetActiveIndex());
        if (step >= 0)
            SetActivePage(step);
        else if (step == -1)
            PressButton(PSBTN_OK);
        else
            ValidateAndEnd();
        if (m_hWnd)
            SetTimer(1, 30);
    }
    // The sheet's own OK: when the page does not validate, the sheet stays
    // and the user types a good value.
    void ValidateAndEnd()
    {
        CPropertyPage* page = GetActivePage();
        if (!page->UpdateData(TRUE)) {
            page->SetDlgItemText(kNumberEdit, "17");
            return;
        }
        EndDialog(IDOK);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScriptedSheet, CPropertySheet)
    ON_WM_CREATE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

} // namespace

TEST(FrameworkPropertySheet, PagesAreMadeWhenFirstShownAndApplyOnOk)
{
    CWinApp app("kf dialogs");
    TemplateBuilder first = PageTemplate("First"), second = PageTemplate("Second"), third = PageTemplate("Third");
    NumberPage a(first.Get(), 1), b(second.Get(), 2), c(third.Get(), 3);
    ScriptedSheet sheet("Sheet");
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.AddPage(&c);
    sheet.SetActivePage(1);
    sheet.steps = {0, -1};
    EXPECT_EQ(sheet.DoModal(), IDOK);

    EXPECT_EQ(sheet.created, 1);   // the sheet's own table saw its creation
    ASSERT_EQ(sheet.activeIndexes.size(), 2u);
    EXPECT_EQ(sheet.activeIndexes[0], 1);   // opened on the page asked for
    EXPECT_EQ(sheet.activeIndexes[1], 0);
    EXPECT_EQ(a.inits, 1);
    EXPECT_EQ(b.inits, 1);
    EXPECT_EQ(c.inits, 0);   // never shown, never made
    EXPECT_EQ(a.applies + b.applies, 2);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST(FrameworkPropertySheet, OwnOkHandlerValidatesTheActivePageAndEndsTheSheet)
{
    CWinApp app("kf dialogs");
    TemplateBuilder first = PageTemplate("First");
    NumberPage a(first.Get(), 500);   // out of range from the start
    ScriptedSheet sheet("Sheet");
    sheet.AddPage(&a);
    sheet.steps = {-2, -2};
    ScopedBoxCloser closer;
    EXPECT_EQ(sheet.DoModal(), IDOK);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0], "Please enter an integer between 0 and 99.");
    EXPECT_EQ(a.value, 17);
    EXPECT_EQ(a.applies, 0);   // the sheet's own handler did the work
}

TEST(FrameworkMessageBox, StringIdBoxesFallBackToTheFrameworkTexts)
{
    CString text;
    AfxFormatString2(text, AFX_IDP_PARSE_INT_RANGE, "1", "65535");
    EXPECT_STREQ(text, "Please enter an integer between 1 and 65535.");
    AfxFormatString1(text, AFX_IDP_PARSE_STRING_SIZE, "260");
    EXPECT_STREQ(text, "Please enter no more than 260 characters.");
}
