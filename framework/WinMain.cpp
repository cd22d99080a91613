// The entry point of framework programs (a test program with its own main
// never pulls this in).
#include "Wnd.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}
