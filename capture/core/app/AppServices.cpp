#include "AppServices.h"

#include "../../../framework/WinApp.h"
#include "../../../framework/Wnd.h"
#include "Settings.h"

char HelpFilePath[MAX_PATH];

void ShowStringMessage(int stringId)
{
    char text[1024];
    if (!LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(stringId), text, sizeof text))
        wsprintfA(text, "%d", stringId);
    MessageBoxA(MainFrameWindow(), text, ApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave it for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND MainFrameWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}
