#include "PrintMeter.h"

#include "PagentResource.h"
#include "PrintLayout.h"
#include "PrintState.h"

#include <algorithm>
#include <cstdio>

namespace pagent {

namespace {
// The bar's window, recorded when it is created.
HWND g_meterBar = nullptr;
}

PrintMeterDialog::PrintMeterDialog() : CDialog(IDD_PRINT_METER)
{
    State().meter = this;
    Create(IDD_PRINT_METER, nullptr);
    if (m_hWnd) {
        ::SetWindowTextA(m_hWnd, State().section.c_str());
        // The caller's window waits, as under a modal dialog: nothing of the
        // caller (closing the document being printed) runs during the job.
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        if (owner && ::IsWindowEnabled(owner)) {
            disabledOwner_ = owner;
            ::EnableWindow(owner, FALSE);
        }
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
    }
}

PrintMeterDialog::~PrintMeterDialog()
{
    Close();
}

void PrintMeterDialog::EnableOwner()
{
    if (disabledOwner_) {
        ::EnableWindow(disabledOwner_, TRUE);
        disabledOwner_ = nullptr;
    }
}

void PrintMeterDialog::Close()
{
    // The owner first, so that it takes the activation back.
    EnableOwner();
    if (m_hWnd) {
        EndDialog(1);
        DestroyWindow();
    }
    g_meterBar = nullptr;
    if (State().meter == this)
        State().meter = nullptr;
}

BOOL PrintMeterDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    char line[160];
    snprintf(line, sizeof line, "%s on %s", State().printer.device.c_str(), State().printer.port.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_METER_LINE2, line);
    // Centred on the desktop.
    RECT box{}, desktop{};
    ::GetWindowRect(m_hWnd, &box);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
    int x = desktop.left + ((desktop.right - desktop.left) - (box.right - box.left)) / 2;
    int y = desktop.top + ((desktop.bottom - desktop.top) - (box.bottom - box.top)) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void PrintMeterDialog::OnCancel()
{
    State().abort = true;
    // As at the end of a job: the owner is enabled before the meter goes,
    // so that the activation passes back to it rather than to the desktop.
    EnableOwner();
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void PrintMeterDialog::SetLine(int line, const std::string& text)
{
    if (m_hWnd)
        ::SetDlgItemTextA(m_hWnd, IDC_METER_LINE1 + line - 1, text.c_str());
}

void PrintMeterDialog::ShowPercent(int percent)
{
    if (percent == percent_)
        return;
    percent_ = percent;
    // The bar paints the percent held here: a window property would cost a
    // round trip to the window server on every step of a job.
    if (g_meterBar) {
        ::InvalidateRect(g_meterBar, nullptr, FALSE);
        ::UpdateWindow(g_meterBar);
    }
}

void PrintMeterDialog::Reset(int64_t total)
{
    done_ = 0;
    total_ = total;
    percent_ = -1;
    ShowPercent(0);
    lastStep_ = ::GetTickCount();
}

void PrintMeterDialog::Advance(int64_t a, int64_t b)
{
    done_ += a * b;
    const int percent = MeterPercent(done_, total_);
    // Strips sent faster than the eye follows share one pass of the pump and
    // one repaint; the last step always shows.
    if (percent < 100 && ::GetTickCount() - lastStep_ < kMeterStepInterval)
        return;
    lastStep_ = ::GetTickCount();
    PumpMessages();
    ShowPercent(percent);
}

void PrintMeterDialog::SetPercent(int64_t a, int64_t b)
{
    PumpMessages();
    ShowPercent(b > 0 ? int(std::min<int64_t>(a * 100 / b, 100)) : 100);
}

// ---- The bar ----

void DrawMeter(HDC dc, const RECT& client, int percent)
{
    const int wb = client.right - client.left, hb = client.bottom - client.top;
    if (wb <= 2 || hb <= 2)
        return;
    percent = std::max(0, std::min(percent, 100));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, 0, 0, wb, hb);
    ::SelectObject(dc, oldBrush);
    const int split = (wb - 1) * percent / 100;
    HBRUSH yellow = ::CreateSolidBrush(RGB(255, 255, 0));
    HBRUSH navy = ::CreateSolidBrush(RGB(0, 0, 128));
    RECT rest{std::max(split, 1), 1, wb - 1, hb - 1};
    RECT done{1, 1, split, hb - 1};
    ::FillRect(dc, &rest, yellow);
    if (split > 1)
        ::FillRect(dc, &done, navy);
    ::DeleteObject(yellow);
    ::DeleteObject(navy);
    // The percentage, inverted onto the bar so it reads over both colours.
    char text[8];
    int length = snprintf(text, sizeof text, "%d%%", percent);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HDC mono = ::CreateCompatibleDC(dc);
    HGDIOBJ oldFont = ::SelectObject(mono, font);
    SIZE extent{};
    ::GetTextExtentPoint32A(mono, text, length, &extent);
    HBITMAP bits = ::CreateBitmap(std::max(1, int(extent.cx)), std::max(1, int(extent.cy)), 1, 1, nullptr);
    HGDIOBJ oldBits = ::SelectObject(mono, bits);
    ::SetTextColor(mono, RGB(255, 255, 255));
    ::SetBkColor(mono, RGB(0, 0, 0));
    RECT textBox{0, 0, extent.cx, extent.cy};
    ::ExtTextOutA(mono, 0, 0, ETO_OPAQUE, &textBox, text, UINT(length), nullptr);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::BitBlt(dc, (wb - extent.cx) / 2, (hb - extent.cy) / 2, extent.cx, extent.cy, mono, 0, 0, SRCINVERT);
    ::SelectObject(mono, oldBits);
    ::SelectObject(mono, oldFont);
    ::DeleteObject(bits);
    ::DeleteDC(mono);
}

LRESULT CALLBACK MeterClassWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        g_meterBar = window;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        const PrintMeterDialog* meter = State().meter;
        DrawMeter(dc, client, meter ? meter->Percent() : 0);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        if (g_meterBar == window)
            g_meterBar = nullptr;
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void ResetMeter()
{
    const ImageRecord& record = State().current;
    if (State().meter)
        State().meter->Reset(int64_t(record.width) * record.height);
}

void AdvanceMeter(int64_t a, int64_t b)
{
    if (State().meter)
        State().meter->Advance(a, b);
    else
        PumpMessages();
}

void SetMeterPercent(int64_t a, int64_t b)
{
    if (State().meter)
        State().meter->SetPercent(a, b);
    else
        PumpMessages();
}

void SetMeterLine(int line, const std::string& text)
{
    if (State().meter)
        State().meter->SetLine(line, text);
}

}  // namespace pagent
