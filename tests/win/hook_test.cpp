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
