// Window hooks in chains (CSubclassWnd): order, detaching in every order, a
// foreign subclass on top, and the window's destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/coolbars/SubclassWnd.h"

namespace {

const UINT kProbe = WM_USER + 5;
std::string trail;   // who saw the probe, in order

LRESULT CALLBACK BaseProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe) {
        trail += 'W';
        return 7;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC foreignSaved = nullptr;
LRESULT CALLBACK ForeignProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        trail += 'F';
    return ::CallWindowProcA(foreignSaved, window, message, wParam, lParam);
}

class NamedHook : public CSubclassWnd {
public:
    explicit NamedHook(char name) : name(name) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbe)
            trail += name;
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
    char name;
};

class WindowHooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA type{};
        type.lpfnWndProc = BaseProcedure;
        type.hInstance = ::GetModuleHandleA(nullptr);
        type.lpszClassName = "CoolHookProbe";
        ::RegisterClassA(&type);
        window = ::CreateWindowA("CoolHookProbe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, type.hInstance, nullptr);
        ASSERT_TRUE(window);
        windowsBefore = CHookWindowMap::WindowCount();
    }
    void TearDown() override
    {
        if (::IsWindow(window))
            ::DestroyWindow(window);
    }
    std::string Probe()
    {
        trail.clear();
        EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 7);
        return trail;
    }
    WNDPROC Procedure() const { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }

    HWND window = nullptr;
    int windowsBefore = 0;
};

} // namespace

TEST_F(WindowHooks, LastAttachedSeesFirstAndTheLastToLeaveRestoresTheProcedure)
{
    NamedHook a('A'), b('B');
    a.Attach(window);
    b.Attach(window);
    EXPECT_EQ(Probe(), "BAW");
    EXPECT_EQ(a.m_pOldWndProc, BaseProcedure);
    EXPECT_EQ(b.m_pOldWndProc, BaseProcedure);
    a.Attach(nullptr);   // the inner one
    EXPECT_NE(Procedure(), BaseProcedure);
    EXPECT_EQ(Probe(), "BW");
    b.Attach(nullptr);
    EXPECT_EQ(Procedure(), BaseProcedure);
    EXPECT_EQ(Probe(), "W");
    EXPECT_EQ(CHookWindowMap::WindowCount(), windowsBefore);
}

TEST_F(WindowHooks, DetachingInEveryOrderKeepsTheOthersInOrder)
{
    std::vector<int> order = {0, 1, 2};
    do {
        NamedHook hooks[3] = {NamedHook('A'), NamedHook('B'), NamedHook('C')};
        for (auto& hook : hooks)
            hook.Attach(window);
        std::string expected = "CBA";
        for (int index : order) {
            hooks[index].Attach(nullptr);
            expected.erase(expected.find(hooks[index].name), 1);
            EXPECT_EQ(Probe(), expected + "W") << order[0] << order[1] << order[2];
        }
        EXPECT_EQ(Procedure(), BaseProcedure);
        EXPECT_EQ(CHookWindowMap::Lookup(window), nullptr);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(WindowHooks, ForeignSubclassOnTopIsNeverClobbered)
{
    NamedHook a('A'), b('B');
    a.Attach(window);
    foreignSaved = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProcedure)));
    a.Attach(nullptr);
    EXPECT_EQ(Procedure(), ForeignProcedure) << "the subclass on top was replaced";
    EXPECT_EQ(Probe(), "FW");
    // A new hook below the foreign one does not call itself in a circle.
    b.Attach(window);
    EXPECT_EQ(Procedure(), ForeignProcedure);
    EXPECT_EQ(Probe(), "FBW");
    b.Attach(nullptr);
    // The foreign subclass leaves: the messages still reach the window.
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(foreignSaved));
    EXPECT_EQ(Probe(), "W");
    a.Attach(window);
    EXPECT_EQ(Probe(), "AW");
    a.Attach(nullptr);
    EXPECT_EQ(Probe(), "W");
}

TEST_F(WindowHooks, DestroyedWindowLeavesNoHookBehind)
{
    NamedHook a('A'), b('B');
    a.Attach(window);
    b.Attach(window);
    ::DestroyWindow(window);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_EQ(b.m_hWnd, nullptr);
    EXPECT_EQ(CHookWindowMap::Lookup(window), nullptr);
    EXPECT_EQ(CHookWindowMap::WindowCount(), windowsBefore);
}

TEST_F(WindowHooks, AttachingTwiceToOneWindowKeepsOneEntry)
{
    NamedHook a('A');
    a.Attach(window);
    a.Attach(window);
    EXPECT_EQ(Probe(), "AW");
    a.Attach(nullptr);
    EXPECT_EQ(Procedure(), BaseProcedure);
}
