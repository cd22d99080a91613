// The auxiliary window classes and the cover window.
#ifdef _WIN32
#include "AuxWindows.h"

#include <cstdio>

#include "../../../hook/Kapthook.h"
#include "Settings.h"

char FullScreenViewClassName[64];
HWND CoverWindow;
void (*CaptionObjectsReleaser)() = nullptr;

namespace {

const char* const kHelperClassNames[kHelperClassCount] = {"BWClass", "KeyClass", "PLClass"};
const char kCoverClassName[] = "CoverWindow";

WNDPROC helperProcedures[kHelperClassCount];
HBITMAP coverPicture;

LRESULT Forward(HelperClass which, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC procedure = helperProcedures[which];
    return procedure ? CallWindowProcA(procedure, window, message, wParam, lParam)
                     : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK BlackWhiteSwatchTrampoline(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return Forward(kBlackWhiteSwatchClass, w, m, wp, lp);
}
LRESULT CALLBACK KeyCapTrampoline(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return Forward(kKeyCapClass, w, m, wp, lp);
}
LRESULT CALLBACK PaletteSwatchTrampoline(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return Forward(kPaletteSwatchClass, w, m, wp, lp);
}

bool IsRegistered(HINSTANCE instance, const char* name)
{
    WNDCLASSA existing;
    return GetClassInfoA(instance, name, &existing) != 0;
}

// The framework-style class of the full-screen view: global, and without
// cursor, brush or icon, so the view sets all of them itself.
bool RegisterFullScreenViewClass(HINSTANCE instance)
{
    snprintf(FullScreenViewClassName, sizeof FullScreenViewClassName, "Kx:%p:%x", (void*)instance,
             unsigned(CS_GLOBALCLASS));
    if (IsRegistered(instance, FullScreenViewClassName))
        return true;
    WNDCLASSA type = {};
    type.style = CS_GLOBALCLASS;
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = instance;
    type.lpszClassName = FullScreenViewClassName;
    return RegisterClassA(&type) != 0;
}

bool RegisterPlainClass(HINSTANCE instance, const char* name, WNDPROC procedure)
{
    if (IsRegistered(instance, name))
        return true;
    WNDCLASSA type = {};
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
    type.lpszClassName = name;
    return RegisterClassA(&type) != 0;
}

}  // namespace

void SetHelperWindowProcedure(HelperClass which, WNDPROC procedure)
{
    if (which >= 0 && which < kHelperClassCount)
        helperProcedures[which] = procedure;
}

void SetCoverPicture(HBITMAP picture) { coverPicture = picture; }

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND && coverPicture) {
        HDC target = HDC(wParam);
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ old = SelectObject(source, coverPicture);
        BITMAP size = {};
        GetObjectA(coverPicture, sizeof size, &size);
        BitBlt(target, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RegisterHelperWindowClasses()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterFullScreenViewClass(instance))
        return 0;
    const WNDPROC procedures[kHelperClassCount] = {BlackWhiteSwatchTrampoline, KeyCapTrampoline,
                                                   PaletteSwatchTrampoline};
    for (int i = 0; i < kHelperClassCount; ++i) {
        if (!RegisterPlainClass(instance, kHelperClassNames[i], procedures[i]))
            return 0;
    }
    if (!RegisterPlainClass(instance, kCoverClassName, CoverWindowProc))
        return 0;
    if (!CoverWindow) {
        CoverWindow = CreateWindowExA(0, kCoverClassName, nullptr, WS_POPUP, 0, 0, ScreenWidth,
                                      ScreenHeight, nullptr, nullptr, instance, nullptr);
    }
    return 1;
}

void ReleaseCaptureResources()
{
    InstallHooks(0);
    if (CaptionObjectsReleaser)
        CaptionObjectsReleaser();
    if (CoverWindow) {
        DestroyWindow(CoverWindow);
        CoverWindow = nullptr;
    }
    coverPicture = nullptr;
}
#endif
