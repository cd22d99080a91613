// The library's application object: set up when the library is loaded.
#include "WinApp.h"

#include "PrintMeter.h"
#include "PrintSheets.h"
#include "PrintState.h"

HINSTANCE g_libraryModule = nullptr;

namespace pagent {

class PrintApp : public CWinApp {
public:
    PrintApp() : CWinApp("Pagent") {}
    BOOL InitInstance() override;
};

namespace {

void RegisterLibraryClass(const char* name, WNDPROC procedure)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = g_libraryModule;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

}  // namespace

BOOL PrintApp::InitInstance()
{
    ForgetCachedSection();
    m_hInstance = g_libraryModule;
    AfxSetResourceHandle(g_libraryModule);
    RegisterLibraryClass("PrnClass", PrnClassWndProc);
    RegisterLibraryClass("MeterClass", MeterClassWndProc);
    PrintState& state = State();
    if (HDC screen = ::GetDC(nullptr)) {
        state.screenBits = ::GetDeviceCaps(screen, PLANES) * ::GetDeviceCaps(screen, BITSPIXEL);
        state.screenWidth = ::GetDeviceCaps(screen, HORZRES);
        state.screenHeight = ::GetDeviceCaps(screen, VERTRES);
        ::ReleaseDC(nullptr, screen);
    }
    return CWinApp::InitInstance();
}

PrintApp theApp;

}  // namespace pagent

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_libraryModule = module;
        ::DisableThreadLibraryCalls(module);
        pagent::theApp.InitInstance();
    } else if (reason == DLL_PROCESS_DETACH) {
        ::UnregisterClassA("PrnClass", module);
        ::UnregisterClassA("MeterClass", module);
    }
    return TRUE;
}
