#include "SplashWindow.h"

#include <cstdio>
#include <ctime>

#include "DisplayImage.h"
#include "ImageFileIO.h"
#include "Settings.h"
#include "resource.h"

namespace {

// The title's colour by weekday, Sunday first.
const COLORREF kWeekdayColors[7] = {RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0), RGB(0, 0, 128),
                                    RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128)};

void CenterOnDesktop(HWND window)
{
    RECT rect, desktop;
    GetWindowRect(window, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SetWindowPos(window, nullptr, (desktop.right - width) / 2, (desktop.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CString LoadText(UINT id, const char* fallback)
{
    char text[256];
    if (!LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text))
        return CString(fallback);
    return CString(text);
}

const int kTitleMargin = 10;
const int kTitleHeight = 60;

// The title's bold face at its full height, or smaller where the face the
// system gives in its stead is too wide for the window.
HFONT TitleFont(HDC dc, const CString& text, int width)
{
    for (int height = kTitleHeight;; height -= 2) {
        HFONT font = CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tiempo");
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
        SelectObject(dc, old);
        if (size.cx <= width || height <= kTitleHeight / 4)
            return font;
        DeleteObject(font);
    }
}

}  // namespace

void SplashWindow::Show()
{
    window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SPLASH), nullptr, Procedure,
                                reinterpret_cast<LPARAM>(this));
    if (!window)
        return;
    LoadLogo();
    CenterOnDesktop(window);
    ShowWindow(window, SW_SHOWNORMAL);
    // Nothing pumps messages while the logo is up: paint it now.
    UpdateWindow(window);
}

void SplashWindow::Close()
{
    if (window) {
        DestroyWindow(window);
        window = nullptr;
    }
    delete logo;
    logo = nullptr;
}

void SplashWindow::LoadLogo()
{
    char path[256];
    snprintf(path, sizeof path, "%s\\LOGO.PNG", ProgramFolder);
    logo = new DisplayImage;
    // A missing logo shows the format library's message; the window then
    // keeps its template size and shows the texts only.
    if (!LoadImageFile(logo, path) || logo->width <= 0 || logo->height <= 0) {
        delete logo;
        logo = nullptr;
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, logo->width, logo->height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK SplashWindow::Procedure(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    }
    SplashWindow* self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_PAINT && self) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        self->Paint(dc);
        EndPaint(window, &paint);
        return TRUE;
    }
    return FALSE;
}

void SplashWindow::Paint(HDC dc)
{
    if (logo && logo->hPixels && logo->hHeader) {
        logo->CreatePaletteFromColors();
        HPALETTE oldPalette = nullptr;
        if (logo->palette.GetSafeHandle()) {
            oldPalette = SelectPalette(dc, logo->palette, FALSE);
            RealizePalette(dc);
        }
        void* header = GlobalLock(logo->hHeader);
        void* pixels = GlobalLock(logo->hPixels);
        if (header && pixels)
            SetDIBitsToDevice(dc, 0, 0, logo->width, logo->height, 0, 0, 0, logo->height, pixels,
                              static_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
        GlobalUnlock(logo->hPixels);
        GlobalUnlock(logo->hHeader);
        if (oldPalette)
            SelectPalette(dc, oldPalette, FALSE);
    }
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);
    time_t now = time(nullptr);
    struct tm* local = localtime(&now);
    RECT title = {kTitleMargin, client.bottom - 85, client.right - kTitleMargin, client.bottom};
    CString titleText = LoadText(IDS_SPLASH_TITLE, "Kaptura 99 V5.0");
    HFONT font = TitleFont(dc, titleText, title.right - title.left);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, kWeekdayColors[local ? local->tm_wday % 7 : 0]);
    DrawTextA(dc, titleText, -1, &title, DT_LEFT);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    CString line = LoadText(IDS_SPLASH_LINE, "");
    TextOutA(dc, 10, client.bottom - 30, line, line.GetLength());
    SelectObject(dc, oldFont);
    DeleteObject(font);
}
