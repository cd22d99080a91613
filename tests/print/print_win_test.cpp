// The print library's windows under Wine, on its own resources: the
// progress meter's bar and dialog, the date and time format dialog with its
// dependent check boxes, live samples and the key it writes, the alignment
// boxes and the page outline of the previews.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/WinApp.h"
#include "print/DateTimeDialog.h"
#include "print/PagentResource.h"
#include "print/PrintMeter.h"
#include "print/PrintPreview.h"
#include "print/PrintSheets.h"
#include "print/PrintState.h"

HINSTANCE g_libraryModule = ::GetModuleHandleA(nullptr);

namespace {

COLORREF PixelAt(HDC dc, int x, int y) { return ::GetPixel(dc, x, y); }

// A memory device context holding a bitmap of the given size.
struct Canvas {
    Canvas(int w, int h)
    {
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, w, h);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc, bitmap);
        RECT all{0, 0, w, h};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// A window as it looks on the screen, written to TEST_SCRATCH\<name> for a
// person to judge; nothing without TEST_SCRATCH.
void SaveWindowShot(HWND window, const char* name)
{
    const char* folder = getenv("TEST_SCRATCH");
    if (!folder)
        return;
    RECT box;
    ::GetWindowRect(window, &box);
    int w = box.right - box.left, h = box.bottom - box.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, box.left, box.top, SRCCOPY);
    ::SelectObject(memory, old);
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string pixels(size_t(((w * 3 + 3) & ~3) * h), '\0');
    ::GetDIBits(memory, bitmap, 0, UINT(h), &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{0x4D42, DWORD(54 + pixels.size()), 0, 0, 54};
    std::string path = std::string(folder) + "\\" + name;
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info, sizeof info, 1, out);
        fwrite(pixels.data(), 1, pixels.size(), out);
        fclose(out);
    }
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

void RegisterMeterClass()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = pagent::MeterClassWndProc;
    wc.hInstance = g_libraryModule;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "MeterClass";
    ::RegisterClassA(&wc);
}

}  // namespace

TEST(PrintMeterWindow, BarSplitsNavyAndYellowWithTheInvertedPercentInTheMiddle)
{
    const int w = 160, h = 24;
    for (int percent : {0, 37, 100}) {
        Canvas canvas(w, h);
        RECT client{0, 0, w, h};
        pagent::DrawMeter(canvas.dc, client, percent);
        const int split = (w - 1) * percent / 100;
        EXPECT_EQ(PixelAt(canvas.dc, 0, h / 2), RGB(0, 0, 0)) << "frame";
        if (split > 3) {
            EXPECT_EQ(PixelAt(canvas.dc, 2, 2), RGB(0, 0, 128)) << percent;
        }
        if (split < w - 4) {
            EXPECT_EQ(PixelAt(canvas.dc, w - 3, h - 3), RGB(255, 255, 0)) << percent;
        }
        // The digits: inverted pixels near the centre, neither navy nor yellow.
        int inverted = 0;
        for (int y = 2; y < h - 2; ++y)
            for (int x = w / 2 - 20; x < w / 2 + 20; ++x) {
                COLORREF c = PixelAt(canvas.dc, x, y);
                inverted += c != RGB(0, 0, 128) && c != RGB(255, 255, 0);
            }
        EXPECT_GT(inverted, 10) << percent;
    }
}

TEST(PrintMeterWindow, MeterShowsPrinterAndPortAndCancelSetsTheAbortFlag)
{
    CWinApp app("print meter");
    AfxSetResourceHandle(g_libraryModule);
    RegisterMeterClass();
    pagent::PrintState& state = pagent::State();
    state.section = "Kaptura 99";
    state.printer = {"PDF", "wineps.drv", "CUPS:PDF"};
    state.current = ImageRecord{};
    state.current.width = 10;
    state.current.height = 13;
    state.abort = false;
    {
        pagent::PrintMeterDialog meter;
        ASSERT_TRUE(meter.m_hWnd);
        char text[128];
        ::GetWindowTextA(meter.m_hWnd, text, sizeof text);
        EXPECT_STREQ(text, "Kaptura 99");
        ::GetDlgItemTextA(meter.m_hWnd, IDC_METER_LINE2, text, sizeof text);
        EXPECT_STREQ(text, "PDF on CUPS:PDF");
        pagent::SetMeterLine(3, "Page 1 of 1");
        ::GetDlgItemTextA(meter.m_hWnd, IDC_METER_LINE3, text, sizeof text);
        EXPECT_STREQ(text, "Page 1 of 1");
        EXPECT_TRUE(::GetDlgItem(meter.m_hWnd, IDC_METER_BAR));
        // Thirteen rows of ten pixels: thirteen steps, the last at 100.
        pagent::ResetMeter();
        EXPECT_EQ(meter.Percent(), 0);
        for (int row = 0; row < 13; ++row)
            pagent::AdvanceMeter(10, 1);
        EXPECT_EQ(meter.Percent(), 100);
        pagent::AdvanceMeter(10, 1);
        EXPECT_EQ(meter.Percent(), 100);
        ::SendMessageA(::GetDlgItem(meter.m_hWnd, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(state.abort);
        EXPECT_FALSE(::IsWindowVisible(meter.m_hWnd));
        meter.Close();
        EXPECT_EQ(state.meter, nullptr);
    }
    state.abort = false;
}

namespace {

// Counts the paint messages a window gets.
int g_barPaints = 0;
WNDPROC g_barProcedure = nullptr;

LRESULT CALLBACK CountingBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++g_barPaints;
    return ::CallWindowProcA(g_barProcedure, window, message, wParam, lParam);
}

// The bar's colour on the screen at a fraction of its width, halfway down
// and clear of the percent in the middle.
COLORREF BarColorAt(HWND bar, double fraction)
{
    RECT client;
    ::GetClientRect(bar, &client);
    HDC dc = ::GetDC(bar);
    COLORREF color = ::GetPixel(dc, int(client.right * fraction), 3);
    ::ReleaseDC(bar, dc);
    return color;
}

}  // namespace

// Lets more time pass than the meter waits between two updates of the bar,
// as a strip the driver takes its time over does.
void LetAStripTakeItsTime()
{
    ::Sleep(pagent::kMeterStepInterval + 20);
}

TEST(PrintMeterWindow, BarFollowsTheJobButFoldsStepsFasterThanTheEyeIntoOneRepaint)
{
    CWinApp app("print meter bar");
    AfxSetResourceHandle(g_libraryModule);
    RegisterMeterClass();
    pagent::PrintState& state = pagent::State();
    state.printer = {"PDF", "wineps.drv", "CUPS:PDF"};
    state.current = ImageRecord{};
    state.current.width = 2000;   // 2000 units of work
    state.current.height = 1;
    state.abort = false;
    pagent::PrintMeterDialog meter;
    ASSERT_TRUE(meter.m_hWnd);
    HWND bar = ::GetDlgItem(meter.m_hWnd, IDC_METER_BAR);
    ASSERT_TRUE(bar);
    pagent::ResetMeter();
    EXPECT_EQ(BarColorAt(bar, 0.1), RGB(255, 255, 0)) << "nothing done yet: all yellow";
    g_barPaints = 0;
    g_barProcedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingBarProc)));

    // Slow strips: each one shows.
    LetAStripTakeItsTime();
    pagent::AdvanceMeter(400, 1);
    EXPECT_EQ(meter.Percent(), 20);
    LetAStripTakeItsTime();
    pagent::AdvanceMeter(400, 1);
    EXPECT_EQ(meter.Percent(), 40);
    EXPECT_EQ(g_barPaints, 2);
    EXPECT_EQ(BarColorAt(bar, 0.3), RGB(0, 0, 128)) << "the done part is navy";
    EXPECT_EQ(BarColorAt(bar, 0.8), RGB(255, 255, 0)) << "the rest stays yellow";
    SaveWindowShot(meter.m_hWnd, "meter40.bmp");

    // 1200 quick steps: 60 changes of the percent, a few repaints at most,
    // and the last step shows whatever the time.
    g_barPaints = 0;
    LetAStripTakeItsTime();
    for (int step = 0; step < 1200; ++step)
        pagent::AdvanceMeter(1, 1);
    EXPECT_EQ(meter.Percent(), 100);
    EXPECT_EQ(BarColorAt(bar, 0.8), RGB(0, 0, 128)) << "all done: all navy";
    EXPECT_GE(g_barPaints, 1);
    EXPECT_LT(g_barPaints, 30);

    // Cancel still reaches the job through quick steps.
    ::PostMessageA(meter.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    const DWORD deadline = ::GetTickCount() + 10000;
    while (!state.abort && ::GetTickCount() < deadline)
        pagent::AdvanceMeter(1, 1);
    EXPECT_TRUE(state.abort) << "Cancel was never taken during the steps";
    ::SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_barProcedure));
    meter.Close();
    state.abort = false;
}

namespace {

// Plays the user: checks the dependent boxes as the choices change, lets
// the samples paint, then picks a format and presses OK.
class ScriptedDateTimeDialog : public pagent::DateTimeFormatDialog {
public:
    using DateTimeFormatDialog::DateTimeFormatDialog;
    BOOL OnInitDialog() override
    {
        BOOL result = DateTimeFormatDialog::OnInitDialog();
        HWND d = m_hWnd;
        auto enabled = [d](int id) { return ::IsWindowEnabled(::GetDlgItem(d, id)) != FALSE; };
        auto click = [d](int id) { ::SendMessageA(::GetDlgItem(d, id), BM_CLICK, 0, 0); };
        initial = {enabled(IDC_AM_PM), enabled(IDC_UPPER_CASE), enabled(IDC_ABBREVIATION)};
        click(IDC_HOURS_24);
        after24 = {enabled(IDC_AM_PM), enabled(IDC_UPPER_CASE)};
        click(IDC_HOURS_12);
        click(IDC_AM_PM);   // off: upper case goes grey
        afterAmPmOff = enabled(IDC_UPPER_CASE);
        click(IDC_MONTH_NAME);
        afterNamed = enabled(IDC_ABBREVIATION);
        click(IDC_ABBREVIATION);
        click(IDC_MONTH_NUMERIC);   // abbreviation stays checked, only greyed
        afterNumeric = enabled(IDC_ABBREVIATION);
        click(IDC_HOURS_24);
        click(IDC_ORDER_DMY);
        click(IDC_SEPARATOR_DOT);
        click(IDC_CENTURY);
        click(IDC_WEEKDAY);   // off
        ::SetTimer(d, 77, 400, nullptr);
        return result;
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* out) override
    {
        if (message == WM_TIMER && wParam == 77) {
            ::KillTimer(m_hWnd, 77);
            SaveWindowShot(m_hWnd, "datetime.bmp");   // for a person to judge
            ::PostMessageA(m_hWnd, WM_COMMAND, IDOK, 0);
            return TRUE;
        }
        return DateTimeFormatDialog::OnWndMsg(message, wParam, lParam, out);
    }
    std::vector<bool> initial, after24;
    bool afterAmPmOff = true, afterNamed = false, afterNumeric = true;
};

}  // namespace

TEST(PrintDateTimeDialog, DependentBoxesFollowTheChoicesAndOkReturnsTheFormat)
{
    CWinApp app("print date time");
    AfxSetResourceHandle(g_libraryModule);
    ScriptedDateTimeDialog dialog(pagent::DefaultTimeDateFormat());
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.initial, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(dialog.after24, (std::vector<bool>{false, false}));
    EXPECT_FALSE(dialog.afterAmPmOff);
    EXPECT_TRUE(dialog.afterNamed);
    EXPECT_FALSE(dialog.afterNumeric);
    EXPECT_EQ(pagent::FormatIntList(dialog.format.values, pagent::TimeDateFormat::kCount), "1,0,1,1,1,0,1,2,0,0");
}

namespace {

// The calling program's window: active while the library's windows open,
// and the way a settings change reaches the library from inside their
// loops (WM_WININICHANGE makes the capture program call ResetPrinter).
LRESULT CALLBACK CallerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WININICHANGE) {
        ResetPrinter();
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeActiveCaller()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CallerProc;
    wc.hInstance = g_libraryModule;
    wc.lpszClassName = "PrintCaller";
    ::RegisterClassA(&wc);
    HWND caller = ::CreateWindowExA(0, "PrintCaller", "caller", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                    nullptr, nullptr, g_libraryModule, nullptr);
    ::SetActiveWindow(caller);
    return caller;
}

// Plays the user on the library's "Date/Time" dialog from another thread:
// notes its owner and whether the caller was disabled, has the system's
// settings change, picks year-month-day and presses the button.
struct DateTimeUser {
    HWND caller = nullptr;
    int button = IDOK;
    HWND owner = nullptr;
    bool callerEnabled = true;
    static DWORD WINAPI Run(LPVOID self)
    {
        auto* user = static_cast<DateTimeUser*>(self);
        for (int i = 0; i < 200; ++i) {
            HWND dialog = ::FindWindowA("#32770", "Date/Time");
            if (dialog && ::IsWindowVisible(dialog)) {
                user->owner = ::GetWindow(dialog, GW_OWNER);
                user->callerEnabled = ::IsWindowEnabled(user->caller) != FALSE;
                ::SendMessageA(user->caller, WM_WININICHANGE, 0, 0);
                ::SendMessageA(::GetDlgItem(dialog, IDC_ORDER_YMD), BM_CLICK, 0, 0);
                ::PostMessageA(dialog, WM_COMMAND, WPARAM(user->button), 0);
                return 0;
            }
            ::Sleep(25);
        }
        return 1;
    }
};

std::string ReadKey(const char* section, const char* key, const std::string& ini)
{
    char text[128] = {};
    ::GetPrivateProfileStringA(section, key, "", text, sizeof text, ini.c_str());
    return text;
}

}  // namespace

TEST(PrintDateTimeDialog, OwnedByTheCallerAndOkWritesTheKeyIntoTheLoadedSectionAfterAReset)
{
    CWinApp app("print date time");   // a library's application: no main window
    AfxSetResourceHandle(g_libraryModule);
    char folder[MAX_PATH];
    ::GetTempPathA(sizeof folder, folder);
    std::string ini = std::string(folder) + "print_datetime.ini";
    ::DeleteFileA(ini.c_str());
    pagent::PrintState& state = pagent::State();
    state.section = "Kaptura 99";
    state.sectionCached = true;
    state.settingsFile = ini;
    state.settings.timeDate = pagent::DefaultTimeDateFormat();
    HWND caller = MakeActiveCaller();

    // Cancel: nothing written, nothing changed.
    DateTimeUser canceller{caller, IDCANCEL};
    HANDLE thread = ::CreateThread(nullptr, 0, DateTimeUser::Run, &canceller, 0, nullptr);
    EXPECT_EQ(pagent::RunDateTimeFormatDialog(nullptr), IDCANCEL);
    ::WaitForSingleObject(thread, 5000);
    ::CloseHandle(thread);
    EXPECT_EQ(canceller.owner, caller) << "the dialog belongs to the caller's window";
    EXPECT_FALSE(canceller.callerEnabled) << "the caller's window is disabled while the dialog runs";
    EXPECT_TRUE(::IsWindowEnabled(caller));
    EXPECT_EQ(ReadKey("Kaptura 99", "PrintTimeDate", ini), "");
    EXPECT_EQ(pagent::FormatIntList(state.settings.timeDate.values, pagent::TimeDateFormat::kCount),
              "0,1,0,0,0,0,1,0,0,1");

    // OK, with the settings changed under the dialog: the key lands in the
    // section the call loaded, and the next call loads again.
    state.sectionCached = true;
    DateTimeUser confirmer{caller, IDOK};
    thread = ::CreateThread(nullptr, 0, DateTimeUser::Run, &confirmer, 0, nullptr);
    EXPECT_EQ(pagent::RunDateTimeFormatDialog(nullptr), IDOK);
    ::WaitForSingleObject(thread, 5000);
    ::CloseHandle(thread);
    EXPECT_EQ(ReadKey("Kaptura 99", "PrintTimeDate", ini), "0,1,0,0,2,0,1,0,0,1");
    EXPECT_EQ(ReadKey("", "PrintTimeDate", ini), "");
    EXPECT_EQ(state.section, "Kaptura 99");
    EXPECT_FALSE(state.sectionCached);
    ::DestroyWindow(caller);
    ::DeleteFileA(ini.c_str());
}

TEST(PrintMeterWindow, MeterIsOwnedByTheCallersWindowAndDisablesItUntilItCloses)
{
    CWinApp app("print meter owner");
    AfxSetResourceHandle(g_libraryModule);
    RegisterMeterClass();
    pagent::State().current = ImageRecord{};
    HWND caller = MakeActiveCaller();
    {
        pagent::PrintMeterDialog meter;
        ASSERT_TRUE(meter.m_hWnd);
        EXPECT_EQ(::GetWindow(meter.m_hWnd, GW_OWNER), caller);
        EXPECT_FALSE(::IsWindowEnabled(caller));
        meter.Close();
        EXPECT_TRUE(::IsWindowEnabled(caller));
    }
    // A meter ended by its destructor gives the window back as well.
    {
        pagent::PrintMeterDialog meter;
        EXPECT_FALSE(::IsWindowEnabled(caller));
    }
    EXPECT_TRUE(::IsWindowEnabled(caller));
    ::DestroyWindow(caller);
}

TEST(PrintExportsWhileBusy, ExportsEnteredDuringAJobReturnAtOnceButResetPrinterWorks)
{
    pagent::PrintState& state = pagent::State();
    state.section = "Kaptura 99";
    state.sectionCached = true;
    state.busy = true;   // a job is pumping messages
    ImageRecord record{};
    PrintOneXImage(&record, "Another Section", "C:\\none.ini", 0, 0);
    PrintAllXImage(nullptr, 1, "Another Section", "C:\\none.ini", 0);
    PrinterSetup("Another Section", "C:\\none.ini");
    EXPECT_EQ(state.section, "Kaptura 99");   // nothing was loaded, no box was shown
    EXPECT_TRUE(state.busy);
    ResetPrinter();
    EXPECT_FALSE(state.sectionCached);
    EXPECT_EQ(state.section, "Kaptura 99");   // the running job goes on with it
    state.busy = false;
}

// ---- The option sheets' windows ----

namespace {

// A top-level window the sheets' children can live in.
HWND MakeHost()
{
    return ::CreateWindowExA(0, "Static", "host", WS_POPUP | WS_VISIBLE, 0, 0, 320, 320, nullptr, nullptr,
                             g_libraryModule, nullptr);
}

void Settle(HWND window)
{
    ::UpdateWindow(window);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

}  // namespace

TEST(PrintAlignmentBoxes, AClickMarksTheBoxAndTheSamePlaceInTheOtherOrientation)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = pagent::PrnClassWndProc;
    wc.hInstance = g_libraryModule;
    wc.lpszClassName = "PrnClass";
    ::RegisterClassA(&wc);
    HWND host = MakeHost();
    HWND boxes[18];
    for (int i = 0; i < 18; ++i)
        boxes[i] = ::CreateWindowExA(0, "PrnClass", "", WS_CHILD | WS_VISIBLE, 10 + (i % 9) * 20, i < 9 ? 10 : 40,
                                     16, 16, host, reinterpret_cast<HMENU>(INT_PTR(200 + i)), g_libraryModule,
                                     nullptr);
    pagent::State().alignBox = 0;
    ::SendMessageA(boxes[13], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(pagent::State().alignBox, 13);
    EXPECT_EQ(pagent::State().alignBox % 9, 4);   // what OK stores
    Settle(host);
    for (int i = 0; i < 18; ++i) {
        HDC dc = ::GetDC(boxes[i]);
        const bool black = ::GetPixel(dc, 8, 8) == RGB(0, 0, 0);
        ::ReleaseDC(boxes[i], dc);
        EXPECT_EQ(black, i == 4 || i == 13) << "box " << 200 + i;
    }
    ::DestroyWindow(host);
}

TEST(PrintPreviewWindow, PortraitPageCentredLandscapePageAgainstTheBottom)
{
    std::string ini = std::string(getenv("TEST_SCRATCH") ? getenv("TEST_SCRATCH") : "C:") + "\\preview.ini";
    pagent::ForgetCachedSection();
    if (!pagent::BeginPrintCall("Preview Test", ini.c_str()))
        GTEST_SKIP() << "no printer in this prefix";
    pagent::SheetValues values;
    pagent::PageCountLabel label;
    pagent::XWndPrintAllPreview preview(values, label);
    ASSERT_TRUE(preview.CreatePrinterDC());
    HWND host = MakeHost();
    CWnd* parent = CWnd::FromHandle(host);
    ASSERT_TRUE(label.CreateChild(parent));
    ASSERT_TRUE(preview.CreateChild(parent));
    ::MoveWindow(preview.m_hWnd, 0, 0, 146, 146, TRUE);
    ::MoveWindow(label.m_hWnd, 0, 156, 146, 25, TRUE);
    for (int orientation : {0, 1}) {
        values.all[pagent::AllPageOptions::kOrientation] = orientation;
        preview.RepaintAll();
        Settle(host);
        HDC dc = ::GetDC(preview.m_hWnd);
        // The page: every pixel that is not the grey around it.
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        int first = -1, last = -1;
        for (int i = 0; i < 146; ++i) {
            const bool page = (orientation == 0 ? ::GetPixel(dc, i, 73) : ::GetPixel(dc, 73, i)) != face;
            if (page && first < 0)
                first = i;
            if (page)
                last = i;
        }
        ::ReleaseDC(preview.m_hWnd, dc);
        if (orientation == 0) {
            EXPECT_GT(first, 0) << "a portrait page has grey bands";
            EXPECT_EQ(first, 145 - last) << "grey bands of a portrait page";
        } else {
            EXPECT_GT(first, 20) << "a landscape page leaves grey above it";
            EXPECT_EQ(last, 145) << "a landscape page ends at the square's bottom";
        }
    }
    char text[32] = {};
    ::GetWindowTextA(label.m_hWnd, text, sizeof text);
    EXPECT_STREQ(text, "Page(s): 1");
    ::DestroyWindow(host);
    pagent::ForgetCachedSection();
}
