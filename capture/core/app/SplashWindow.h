// The logo window shown for three seconds at start-up: "LOGO.PNG" from the
// program's folder with the program's name over it.
#pragma once

#include <windows.h>

class DisplayImage;

class SplashWindow {
public:
    SplashWindow() = default;
    ~SplashWindow() { Close(); }
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    // Creates the modeless window (dialog 1100), sized to the logo, centred.
    void Show();
    bool IsShown() const { return window != nullptr; }
    void Close();

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void LoadLogo();
    void Paint(HDC dc);

    HWND window = nullptr;
    // Kept until the window goes, so that every paint can draw it.
    DisplayImage* logo = nullptr;
};
