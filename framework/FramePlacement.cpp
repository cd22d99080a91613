#include "FramePlacement.h"

#include "WindowPlacementText.h"

BOOL KfSaveWindowPlacement(CWnd* wnd, LPCSTR section, LPCSTR key)
{
    CWinApp* app = AfxGetApp();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!app || !wnd || !wnd->m_hWnd || !wnd->GetWindowPlacement(&placement))
        return FALSE;
    KfPlacement text;
    text.flags = placement.flags;
    text.showCmd = placement.showCmd;
    text.minX = placement.ptMinPosition.x;
    text.minY = placement.ptMinPosition.y;
    text.maxX = placement.ptMaxPosition.x;
    text.maxY = placement.ptMaxPosition.y;
    text.left = placement.rcNormalPosition.left;
    text.top = placement.rcNormalPosition.top;
    text.right = placement.rcNormalPosition.right;
    text.bottom = placement.rcNormalPosition.bottom;
    return app->WriteProfileString(section, key, KfFormatPlacement(text));
}

BOOL KfRestoreWindowPlacement(CWnd* wnd, LPCSTR section, LPCSTR key)
{
    CWinApp* app = AfxGetApp();
    if (!app || !wnd || !wnd->m_hWnd)
        return FALSE;
    KfPlacement text;
    if (!KfParsePlacement(app->GetProfileString(section, key), text))
        return FALSE;
    RECT screen;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    if (!KfPlacementFitsScreen(text, screen.left, screen.top, screen.right, screen.bottom))
        return FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.flags = text.flags & WPF_RESTORETOMAXIMIZED;
    bool minimized = text.showCmd == SW_SHOWMINIMIZED || text.showCmd == SW_MINIMIZE ||
                     text.showCmd == SW_SHOWMINNOACTIVE;
    placement.showCmd = minimized || text.showCmd > SW_MAX ? SW_SHOWNORMAL : text.showCmd;
    placement.ptMinPosition = POINT{text.minX, text.minY};
    placement.ptMaxPosition = POINT{text.maxX, text.maxY};
    placement.rcNormalPosition = RECT{text.left, text.top, text.right, text.bottom};
    return wnd->SetWindowPlacement(&placement);
}
