// krefuse.dll: makes window creation fail in a program, from outside it, for
// the start-up cases. Run as
//   rundll32 krefuse.dll,Hold <seconds>
// it keeps a system-wide hook for that long which, in every process whose
// environment names a window class in KREFUSE_CLASS, refuses each window of
// that class. While the hook is in place the file "krefuse.ready" exists in
// the current folder, so that a test starts its program only then.
#include <windows.h>

#include <cstdio>

namespace {

HINSTANCE module;
HHOOK hook;

// The class this process refuses ("" for none), read once.
const char* RefusedClass()
{
    static char name[64] = "?";
    if (name[0] == '?' && !GetEnvironmentVariableA("KREFUSE_CLASS", name, sizeof name))
        name[0] = 0;
    return name;
}

LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && *RefusedClass()) {
        const CBT_CREATEWNDA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        const char* className = create->lpcs->lpszClass;
        if (!IS_INTRESOURCE(className) && lstrcmpiA(className, RefusedClass()) == 0)
            return 1;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK Hold(HWND, HINSTANCE, LPSTR arguments, int)
{
    int seconds = 10;
    if (arguments)
        sscanf(arguments, "%d", &seconds);
    hook = SetWindowsHookExA(WH_CBT, Refuse, module, 0);
    if (!hook)
        return;
    CloseHandle(CreateFileA("krefuse.ready", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD until = GetTickCount() + DWORD(seconds) * 1000;
    while (GetTickCount() < until) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    DeleteFileA("krefuse.ready");
    UnhookWindowsHookEx(hook);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        module = instance;
    return TRUE;
}
