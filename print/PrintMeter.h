// The progress meter: a small modeless window with three lines of text, a
// percentage bar and a Cancel button that sets the abort flag the jobs poll.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "Dialog.h"

namespace pagent {

// The least time between two updates of the bar during a job, in ms: a
// bar that moves more often looks no different, and every update costs the
// job a pass of the message pump and a repaint.
constexpr DWORD kMeterStepInterval = 30;

class PrintMeterDialog : public CDialog {
public:
    // Creates the window at once, owned by the caller's active window
    // (disabled until the meter closes) and captioned with the section; the
    // meter registers itself with the print state.
    PrintMeterDialog();
    ~PrintMeterDialog() override;
    // Ends the meter: result 1, then the window goes.
    void Close();

    void SetLine(int line, const std::string& text);
    void Reset(int64_t total);
    void Advance(int64_t a, int64_t b);
    void SetPercent(int64_t a, int64_t b);
    int Percent() const { return percent_; }

    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    void ShowPercent(int percent);
    // Gives the caller's window back its input (once).
    void EnableOwner();
    HWND disabledOwner_ = nullptr;
    int percent_ = 0;
    DWORD lastStep_ = 0;   // tick of the bar's last update
    int64_t done_ = 0;
    int64_t total_ = 0;
};

// The window procedure of the bar's class "MeterClass".
LRESULT CALLBACK MeterClassWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Draws a bar of the given percent on a device context of the bar's size.
void DrawMeter(HDC dc, const RECT& client, int percent);

// What the jobs call: they do nothing while no meter is open.
void ResetMeter();
void AdvanceMeter(int64_t a, int64_t b);
void SetMeterPercent(int64_t a, int64_t b);
void SetMeterLine(int line, const std::string& text);

}  // namespace pagent
