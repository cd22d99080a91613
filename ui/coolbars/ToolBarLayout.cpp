#include "ToolBarLayout.h"

#include <algorithm>

namespace toolbar_layout {

namespace {

bool Visible(const Button& button) { return (button.state & kStateHidden) == 0; }
bool IsSeparator(const Button& button) { return (button.style & kStyleSeparator) != 0; }
bool IsPlaceholder(const Button& button) { return IsSeparator(button) && button.id != 0; }

// Searches (last, from] backwards for a button `fits`; -1 when none.
template <class Test>
int SearchBack(const std::vector<Button>& buttons, int from, int last, Test fits)
{
    for (int i = from; i > last; --i) {
        if (Visible(buttons[static_cast<size_t>(i)]) && fits(buttons[static_cast<size_t>(i)]))
            return i;
    }
    return -1;
}

// Bounds the searches below: each step halves a range of widths, so a few
// dozen steps cover any bar; more means the widths do not converge.
const int kMaxSearchSteps = 64;

} // namespace

Size ButtonExtent(const Button& button, const Rules& rules)
{
    Size size{button.itemWidth, button.itemHeight};
    if (!(button.state & kStateWrap))
        return size;
    if (IsSeparator(button)) {
        if (rules.version <= 470)
            return {0, size.cy - 3};
        if (rules.version == 471)
            return {0, size.cy};
        return {0, size.cx};
    }
    if ((button.style & kStyleDropDown) && !rules.keepWidth)
        return {0, size.cy};
    return size;
}

Size CalcSize(const std::vector<Button>& buttons, const Rules& rules)
{
    Size size;
    int x = 0, y = 0, tallest = 0;
    for (const Button& button : buttons) {
        if (!Visible(button))
            continue;
        Size extent = ButtonExtent(button, rules);
        x += extent.cx;
        size.cx = std::max(size.cx, x);
        size.cy = std::max(size.cy, y + extent.cy);
        tallest = std::max(tallest, extent.cy);
        if (button.state & kStateWrap) {
            y += tallest + (IsSeparator(button) ? extent.cy : 0);
            x = 0;
            tallest = 0;
        }
    }
    return size;
}

int WrapButtons(std::vector<Button>& buttons, int width, const Rules& rules)
{
    for (Button& button : buttons)
        button.state &= static_cast<uint8_t>(~kStateWrap);
    const int count = static_cast<int>(buttons.size());
    int wraps = 0, x = 0;
    int lastWrap = -1;   // searches never go back past the row's start, so every wrap moves on
    for (int i = 0; i < count; ++i) {
        Button& button = buttons[static_cast<size_t>(i)];
        if (!Visible(button))
            continue;
        int cx = ButtonExtent(button, rules).cx;
        if (x + cx <= width) {
            x += cx;
            continue;
        }
        int at = SearchBack(buttons, i, lastWrap,
                            [](const Button& b) { return IsSeparator(b) && b.id == 0; });
        if (at < 0)
            at = SearchBack(buttons, i - 1, lastWrap, [](const Button& b) { return !IsPlaceholder(b); });
        if (at < 0) {
            x += cx;
            continue;
        }
        buttons[static_cast<size_t>(at)].state |= kStateWrap;
        ++wraps;
        lastWrap = at;
        i = at;   // the walk resumes after the wrap
        x = 0;
    }
    return wraps + 1;
}

void SizeButtons(std::vector<Button>& buttons, int length, bool vertical, const Rules& rules)
{
    if (!vertical) {
        const int rows = WrapButtons(buttons, length, rules);
        if (WrapButtons(buttons, 0, rules) != rows) {
            int low = 0, high = std::max(length, 0);
            for (int step = 0; step < kMaxSearchSteps && low < high; ++step) {
                int mid = (low + high) / 2;
                if (WrapButtons(buttons, mid, rules) == rows) {
                    high = mid;
                } else if (low == mid) {
                    break;
                } else {
                    low = mid;
                }
            }
            WrapButtons(buttons, high, rules);
        }
        WrapButtons(buttons, CalcSize(buttons, rules).cx, rules);
        return;
    }
    WrapButtons(buttons, 0, rules);
    Size narrow = CalcSize(buttons, rules);
    WrapButtons(buttons, 0x7FFF, rules);
    Size wide = CalcSize(buttons, rules);
    for (int step = 0; step < kMaxSearchSteps && narrow.cx < wide.cx; ++step) {
        WrapButtons(buttons, (narrow.cx + wide.cx) / 2, rules);
        Size size = CalcSize(buttons, rules);
        if (size.cy > length) {
            if (size == narrow) {
                WrapButtons(buttons, wide.cx, rules);
                return;
            }
            narrow = size;
        } else if (size.cy < length) {
            if (size == wide)
                return;   // no narrower width gets any taller
            wide = size;
        } else {
            return;
        }
    }
}

} // namespace toolbar_layout
