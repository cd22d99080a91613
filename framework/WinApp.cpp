#include "Wnd.h"

#include "Controls.h"

#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {

CWinApp* theApp = nullptr;

CString ModulePath()
{
    std::vector<char> buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return CString();
        if (length < buffer.size() - 1)
            return CString(buffer.data(), static_cast<int>(length));
        buffer.resize(buffer.size() * 2, '\0');
    }
}

} // namespace

CWinApp::CWinApp(LPCSTR appName)
{
    theApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    CString path = ModulePath();
    int slash = path.ReverseFind('\\');
    CString folder = path.Left(slash + 1);
    exeName_ = path.Mid(slash + 1);
    int dot = exeName_.ReverseFind('.');
    if (dot > 0)
        exeName_ = exeName_.Left(dot);
    m_pszExeName = exeName_;
    profileName_ = folder + exeName_ + ".ini";
    m_pszProfileName = profileName_;
    helpPath_ = folder + exeName_ + ".hlp";
    m_pszHelpFilePath = helpPath_;
    if (appName)
        appName_ = appName;
    else if (!appName_.LoadString(AFX_IDS_APP_TITLE))
        appName_ = exeName_;
    m_pszAppName = appName_;
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    if (theApp == this)
        theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }
CWnd* AfxGetMainWnd() { return theApp ? theApp->m_pMainWnd : nullptr; }

HWND AfxDefaultOwner()
{
    CWnd* main = AfxGetMainWnd();
    HWND top = main && main->m_hWnd ? main->m_hWnd : nullptr;
    if (!top) {
        HWND active = ::GetActiveWindow();
        top = active ? ::GetAncestor(active, GA_ROOTOWNER) : nullptr;
    }
    return top ? ::GetLastActivePopup(top) : nullptr;
}
HINSTANCE AfxGetInstanceHandle() { return theApp ? theApp->m_hInstance : ::GetModuleHandleA(nullptr); }

void CWinApp::SetProfileName(LPCSTR path)
{
    profileName_ = path;
    m_pszProfileName = profileName_;
}

// The message loop

int CWinApp::ExitInstance()
{
    if (m_pDocManager)
        m_pDocManager->SaveRecentFileList();
    return static_cast<int>(exitCode_);
}

BOOL CWinApp::PumpMessage()
{
    MSG msg{};
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        exitCode_ = got == 0 ? msg.wParam : static_cast<WPARAM>(-1);
        return FALSE;
    }
    lastMessage_ = msg;
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL CWinApp::IsIdleMessage(const MSG* msg)
{
    const UINT kSystemTimer = 0x0118;   // the caret's blink
    if (msg->message == WM_PAINT || msg->message == kSystemTimer)
        return FALSE;
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        bool same = msg->message == lastMouseMessage_ && msg->pt.x == lastMousePoint_.x &&
                    msg->pt.y == lastMousePoint_.y;
        lastMouseMessage_ = msg->message;
        lastMousePoint_ = msg->pt;
        return same ? FALSE : TRUE;
    }
    return TRUE;
}

int CWinApp::Run()
{
    LONG idleCount = 0;
    bool idle = true;
    MSG peeked{};
    for (;;) {
        while (idle && !::PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&lastMessage_)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count == 0) {
        CWnd* main = m_pMainWnd;
        if (main && main->m_hWnd && main->IsWindowVisible()) {
            main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (count == 1) {
        CWnd::DeleteTempMap();
        KfDeleteTempGdiObjects();
        KfDeleteTempMenus();
        KfDeleteTempImageLists();
    }
    return FALSE;
}

// Offered to the window the message is for and its parents (owners for
// popups) up to the main window, then to the main window if it was not on
// that way.
BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    HWND main = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    bool mainSeen = false;
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(window)) {
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        }
        if (window == main) {
            mainSeen = true;
            break;
        }
    }
    if (main && !mainSeen && msg->hwnd)
        return m_pMainWnd->PreTranslateMessage(msg);
    return FALSE;
}

// Resources and profile

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }
HICON CWinApp::LoadIcon(LPCSTR name) const { return ::LoadIconA(AfxGetResourceHandle(), name); }
HCURSOR CWinApp::LoadCursor(UINT id) const { return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }
HCURSOR CWinApp::LoadCursor(LPCSTR name) const { return ::LoadCursorA(AfxGetResourceHandle(), name); }

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) const
{
    const char* fallback = defaultValue ? defaultValue : "";
    // A value that filled the buffer may have been cut: read again larger.
    for (DWORD size = 256; size <= (1u << 20); size *= 4) {
        std::vector<char> buffer(size, '\0');
        DWORD length = ::GetPrivateProfileStringA(section, entry, fallback, buffer.data(), size, m_pszProfileName);
        if (length < size - 2)
            return CString(buffer.data(), static_cast<int>(length));
    }
    return CString(fallback);
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const
{
    return ::GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    return ::WritePrivateProfileStringA(section, entry, value, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    CString text;
    text.Format("%d", value);
    return WriteProfileString(section, entry, text);
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command)
{
    HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ::WinHelpA(owner, m_pszHelpFilePath, command, data);
}

// Standard commands

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
    else
        ::PostQuitMessage(0);
}

void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }

// Message boxes

int AfxMessageBox(LPCSTR text, UINT type, UINT)
{
    // Without an icon of its own a box gets the usual one for its buttons.
    if ((type & MB_ICONMASK) == 0) {
        UINT buttons = type & MB_TYPEMASK;
        type |= (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
    }
    CWinApp* app = AfxGetApp();
    HWND owner = AfxDefaultOwner();
    if (owner && !::IsWindowEnabled(owner))
        owner = nullptr;
    LPCSTR title = app && app->m_pszAppName ? app->m_pszAppName : "";
    return ::MessageBoxA(owner, text ? text : "", title, type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId == UINT(-1) ? textId : helpId);
}

// Start

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = show;
    ::InitCommonControls();
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

// The entry point of framework programs. It sits beside the application
// class so that every program with one links it (a test program's own main
// simply leaves it unused).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}
