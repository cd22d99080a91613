// Kapthook.dll under Wine: keys typed into another window reach the capture
// window with their modifier bits, and presses inside the snapshot strip
// come as requests 14 and 13.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

#include "hook/Kapthook.h"

namespace {

struct Report {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Report> reports;
std::vector<WPARAM> keysSeenByOther;

LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAPTURE_HOTKEY || message == WM_CAPTURE_REQUEST) {
        reports.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        keysSeenByOther.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* className, WNDPROC procedure, int x, int y)
{
    WNDCLASSA type = {};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), className, &type)) {
        type.lpfnWndProc = procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
        type.lpszClassName = className;
        RegisterClassA(&type);
    }
    return CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 150,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Pumps this thread's messages (the hooks run inside them) until done()
// holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return true;
}

// Waits a little for reports that should not come.
void PumpFor(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

INPUT Key(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = WORD(MapVirtualKeyA(vk, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT Button(bool up)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    return input;
}

// Injects from a thread of its own, as another program's input would come,
// while this thread keeps pumping for the hooks.
void Inject(std::vector<INPUT> inputs, std::function<bool()> done)
{
    std::atomic<bool> sent{false};
    std::thread typist([&] {
        for (INPUT& input : inputs) {
            SendInput(1, &input, sizeof input);
            Sleep(20);
        }
        sent = true;
    });
    PumpUntil([&] { return sent.load() && done(); });
    typist.join();
    PumpFor(100);
}

// Holds the modifiers, presses and releases key, releases the modifiers.
std::vector<INPUT> Chord(std::initializer_list<WORD> modifiers, WORD key)
{
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(Key(m, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        inputs.push_back(Key(*m, true));
    return inputs;
}

const Report* FindHotkey(WORD key)
{
    for (const Report& r : reports) {
        if (r.message == WM_CAPTURE_HOTKEY && (r.wParam & kHotkeyKeyMask) == key)
            return &r;
    }
    return nullptr;
}

std::vector<WPARAM> Requests()
{
    std::vector<WPARAM> codes;
    for (const Report& r : reports) {
        if (r.message == WM_CAPTURE_REQUEST)
            codes.push_back(r.wParam);
    }
    return codes;
}

class Hooks : public testing::Test {
protected:
    void SetUp() override
    {
        captureWindow = MakeWindow("HookTestCapture", CaptureWindowProc, 600, 400);
        otherWindow = MakeWindow("HookTestOther", OtherWindowProc, 300, 300);
        ASSERT_TRUE(captureWindow && otherWindow);
        SetForegroundWindow(otherWindow);
        SetFocus(otherWindow);
        InstallHooks(1);
        PassKapturaWnd(captureWindow);
        PumpFor(100);
        reports.clear();
        keysSeenByOther.clear();
    }
    void TearDown() override
    {
        RECT none = {0, 0, 0, 0};
        PassSnapRect(&none);
        PassLeftButtonStatus(0);
        InstallHooks(0);
        DestroyWindow(otherWindow);
        DestroyWindow(captureWindow);
        PumpFor(50);
    }
    void ClickAt(int x, int y, size_t expectedRequests)
    {
        SetCursorPos(x, y);
        PumpFor(50);
        Inject({Button(false), Button(true)}, [&] { return Requests().size() >= expectedRequests; });
    }
    HWND captureWindow = nullptr;
    HWND otherWindow = nullptr;
};

}  // namespace

TEST_F(Hooks, HotKeyTypedIntoAnotherWindowCarriesItsModifierBits)
{
    Inject(Chord({VK_CONTROL, VK_SHIFT}, '5'), [] { return FindHotkey('5') != nullptr; });
    const Report* five = FindHotkey('5');
    ASSERT_NE(five, nullptr);
    // Each bit is clear while its modifier is held: Shift and Ctrl here.
    EXPECT_EQ(five->wParam & ~WPARAM(kHotkeyKeyMask), WPARAM(kHotkeyBitEsc | kHotkeyBitAlt));
    // The key still reaches the window it was typed into.
    EXPECT_NE(std::find(keysSeenByOther.begin(), keysSeenByOther.end(), WPARAM('5')), keysSeenByOther.end());

    reports.clear();
    Inject(Chord({VK_MENU}, 'F'), [] { return FindHotkey('F') != nullptr; });
    const Report* f = FindHotkey('F');
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->wParam & ~WPARAM(kHotkeyKeyMask), WPARAM(kHotkeyBitEsc | kHotkeyBitShift | kHotkeyBitCtrl));

    reports.clear();
    Inject(Chord({}, VK_F1), [] { return FindHotkey(VK_F1) != nullptr; });
    const Report* help = FindHotkey(VK_F1);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->wParam,
              WPARAM(VK_F1 | kHotkeyBitEsc | kHotkeyBitShift | kHotkeyBitCtrl | kHotkeyBitAlt));
}

TEST_F(Hooks, ModifierKeysAreReportedAsThePlainKey)
{
    Inject(Chord({}, VK_LCONTROL), [] { return FindHotkey(VK_CONTROL) != nullptr; });
    const Report* ctrl = FindHotkey(VK_CONTROL);
    ASSERT_NE(ctrl, nullptr);
    EXPECT_EQ(ctrl->wParam & WPARAM(kHotkeyBitCtrl), 0u);
}

TEST_F(Hooks, PressesInsideTheStripBecomeRequests)
{
    RECT strip = {100, 100, 200, 120};
    PassSnapRect(&strip);
    ClickAt(150, 110, 2);
    std::vector<WPARAM> pressAndRelease = {kRequestStripPressed, kRequestStripReleased};
    EXPECT_EQ(Requests(), pressAndRelease);

    reports.clear();
    ClickAt(250, 110, 0);
    EXPECT_TRUE(Requests().empty());

    // While a mouse selection waits for its click, the click is its own.
    PassLeftButtonStatus(1);
    ClickAt(150, 110, 0);
    EXPECT_TRUE(Requests().empty());
    PassLeftButtonStatus(0);

    // An all-zero rectangle: no strip on screen.
    RECT none = {0, 0, 0, 0};
    PassSnapRect(&none);
    ClickAt(0, 0, 0);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(Hooks, NothingArrivesOnceRemoved)
{
    InstallHooks(0);
    RECT strip = {100, 100, 200, 120};
    PassSnapRect(&strip);
    Inject(Chord({VK_CONTROL}, '1'), [] { return true; });
    ClickAt(150, 110, 0);
    EXPECT_TRUE(reports.empty());
    // Installing twice is harmless and reports once per key.
    InstallHooks(1);
    InstallHooks(1);
    Inject(Chord({}, 'Q'), [] { return FindHotkey('Q') != nullptr; });
    int count = 0;
    for (const Report& r : reports)
        count += r.message == WM_CAPTURE_HOTKEY && (r.wParam & kHotkeyKeyMask) == 'Q';
    EXPECT_EQ(count, 1);
}

namespace {

// A window on a thread of its own, as another program's window would be: it
// notes when each key reaches it.
class OtherProgramWindow {
public:
    // wParam: what follows the first menu.
    static const UINT kOpenMenu = WM_APP + 7;
    enum MenuRun : WPARAM {
        kMenuAlone,
        kMenuThenAnother,   // once it is cancelled, another opens at once 120 pixels right
        kMenuWithCascade    // its first item opens a cascading menu
    };

    OtherProgramWindow()
    {
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
        WaitForSingleObject(ready, 5000);
    }
    ~OtherProgramWindow()
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(ready);
    }
    HWND Handle() const { return window; }
    // Milliseconds after since at which key arrived, or -1.
    long ArrivalOf(WPARAM key, DWORD since) const
    {
        for (const auto& arrival : arrivals)
            if (arrival.first == key)
                return long(arrival.second - since);
        return -1;
    }

private:
    static LRESULT CALLBACK Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<OtherProgramWindow*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
        if (message == kOpenMenu) {
            TrackMenuAtCursor(handle, wParam == kMenuWithCascade);
            if (wParam == kMenuThenAnother) {
                POINT cursor;
                GetCursorPos(&cursor);
                SetCursorPos(cursor.x + 120, cursor.y);
                TrackMenuAtCursor(handle, false);
            }
            return 0;
        }
        if (self && message == WM_KEYDOWN)
            self->arrivals.push_back({wParam, GetTickCount()});
        if (message == WM_CLOSE) {
            DestroyWindow(handle);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    // A pop-up menu at the cursor, open until the window is told to cancel it.
    static void TrackMenuAtCursor(HWND handle, bool withCascade)
    {
        HMENU menu = CreatePopupMenu();
        if (withCascade) {
            HMENU cascade = CreatePopupMenu();
            AppendMenuA(cascade, MF_STRING, 3, "&Inner");
            AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(cascade), "&Cascade");
        }
        AppendMenuA(menu, MF_STRING, 1, "&First");
        AppendMenuA(menu, MF_STRING, 2, "&Second");
        POINT cursor;
        GetCursorPos(&cursor);
        SetForegroundWindow(handle);
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, 0, handle, nullptr);
        DestroyMenu(menu);
    }
    static DWORD WINAPI Run(void* parameter)
    {
        auto* self = static_cast<OtherProgramWindow*>(parameter);
        self->window = MakeWindow("HookTestOtherThread", Procedure, 300, 300);
        SetWindowLongPtrA(self->window, GWLP_USERDATA, LONG_PTR(self));
        SetEvent(self->ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return 0;
    }
    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HWND window = nullptr;
    std::vector<std::pair<WPARAM, DWORD>> arrivals;
};

}  // namespace

// The program's own thread may be busy for seconds (a long pixel loop, a
// print job): the desktop's keys must not wait for it, and the hot key is
// delivered once it is free again.
TEST_F(Hooks, KeysOfOtherProgramsDoNotWaitForABusyProgram)
{
    OtherProgramWindow other;
    ASSERT_TRUE(other.Handle());
    SetForegroundWindow(other.Handle());
    PumpFor(200);
    reports.clear();

    const DWORD start = GetTickCount();
    std::thread typist([] {
        Sleep(100);
        for (INPUT& input : Chord({VK_CONTROL}, '7'))
            SendInput(1, &input, sizeof input);
    });
    Sleep(2000);  // busy, pumping nothing
    typist.join();

    // A key that waited for the busy thread would come 2 s on (when it is
    // free, or when Wine gives up on its hook); under an emulator on a
    // loaded machine a key that did not wait takes well over a second.
    const long arrival = other.ArrivalOf('7', start);
    EXPECT_GE(arrival, 0) << "the key never reached the other program";
    EXPECT_LT(arrival, 1800) << "the key waited for the busy thread";
    EXPECT_EQ(FindHotkey('7'), nullptr) << "reported while the thread was busy";

    ASSERT_TRUE(PumpUntil([] { return FindHotkey('7') != nullptr; }));
    EXPECT_EQ(FindHotkey('7')->wParam & ~WPARAM(kHotkeyKeyMask),
              WPARAM(kHotkeyBitEsc | kHotkeyBitShift | kHotkeyBitAlt));
}

// A key held down repeats its key-down: the press is one hot key, however
// long it is held, and the next press is another.
TEST_F(Hooks, AHeldKeyIsOneHotKey)
{
    auto sevens = [] {
        int count = 0;
        for (const Report& r : reports)
            count += r.message == WM_CAPTURE_HOTKEY && (r.wParam & kHotkeyKeyMask) == '7';
        return count;
    };
    Inject({Key(VK_CONTROL, false), Key('7', false), Key('7', false), Key('7', false), Key('7', true),
            Key(VK_CONTROL, true)},
           [] { return FindHotkey('7') != nullptr; });
    PumpFor(200);
    EXPECT_EQ(sevens(), 1);
    Inject(Chord({VK_CONTROL}, '7'), [&] { return sevens() == 2; });
    EXPECT_EQ(sevens(), 2);
}

std::vector<Report> SentMenuNotices()
{
    std::vector<Report> notices;
    for (const Report& r : reports)
        if (r.message == WM_CAPTURE_REQUEST && r.wParam == kRequestMenuNotice)
            notices.push_back(r);
    return notices;
}

size_t ShownMenuCount()
{
    size_t count = 0;
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr))
        count += IsWindowVisible(menu) != 0;
    return count;
}

// Opens a menu of the other program's window at (320, 330) and waits for
// its notice.
class MenuNotices : public Hooks {
protected:
    void OpenMenu(OtherProgramWindow::MenuRun run)
    {
        ASSERT_TRUE(other.Handle());
        SetCursorPos(320, 330);
        PumpFor(100);
        reports.clear();
        PostMessageA(other.Handle(), OtherProgramWindow::kOpenMenu, run, 0);
        ASSERT_TRUE(PumpUntil([] { return !SentMenuNotices().empty(); })) << "no menu notice came";
    }
    void TearDown() override
    {
        for (int i = 0; i < 3 && ShownMenuCount(); ++i) {
            PostMessageA(other.Handle(), WM_CANCELMODE, 0, 0);
            PumpUntil([] { return ShownMenuCount() == 0; }, 1000);
        }
        Hooks::TearDown();
    }
    OtherProgramWindow other;
};

// A menu that another program opens is noticed (request 15), with notice 1
// for a pop-up menu under the cursor.
TEST_F(MenuNotices, AMenuOpenedElsewhereIsNoticed)
{
    OpenMenu(OtherProgramWindow::kMenuAlone);
    EXPECT_EQ(SentMenuNotices().front().lParam, 1);
    PumpFor(300);
    EXPECT_EQ(SentMenuNotices().size(), 1u);
}

// A menu that opens the moment another closes (the pointer sliding along a
// menu bar) is noticed again, so that the menu point follows it.
TEST_F(MenuNotices, AMenuTakingAnothersPlaceIsNoticedAgain)
{
    OpenMenu(OtherProgramWindow::kMenuThenAnother);
    reports.clear();
    PostMessageA(other.Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(PumpUntil([] { return !SentMenuNotices().empty(); })) << "the second menu was not noticed";
}

// A cascading menu opens while its parent shows: it is no new menu, and
// the menu point stays where the first one opened.
TEST_F(MenuNotices, ACascadingMenuIsNotNoticedAgain)
{
    OpenMenu(OtherProgramWindow::kMenuWithCascade);
    reports.clear();
    std::vector<INPUT> keys = {Key(VK_DOWN, false), Key(VK_DOWN, true), Key(VK_RIGHT, false), Key(VK_RIGHT, true)};
    for (INPUT& input : keys)
        SendInput(1, &input, sizeof input);
    ASSERT_TRUE(PumpUntil([] { return ShownMenuCount() == 2; })) << "the cascading menu did not open";
    PumpFor(300);
    EXPECT_TRUE(SentMenuNotices().empty());
}
