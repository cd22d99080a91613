// Toolbar row wrapping and sizing at each common-controls library version.
#include <gtest/gtest.h>

#include <vector>

#include "ui/coolbars/ToolBarLayout.h"

using namespace toolbar_layout;

namespace {

Button Push(unsigned id, int width = 23, int height = 22) { return Button{width, height, id, 0, 0}; }
Button Separator(unsigned id = 0, int width = 8, int height = 22) { return Button{width, height, id, 0, kStyleSeparator}; }

std::vector<int> WrapIndexes(const std::vector<Button>& buttons)
{
    std::vector<int> wraps;
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].state & kStateWrap)
            wraps.push_back(static_cast<int>(i));
    }
    return wraps;
}

// Two rows of two buttons split by a separator, wrapped there.
std::vector<Button> TwoRowsAtSeparator(int version)
{
    std::vector<Button> buttons = {Push(1), Push(2), Separator(), Push(3), Push(4)};
    EXPECT_EQ(WrapButtons(buttons, 50, Rules{version, false}), 2);
    EXPECT_EQ(WrapIndexes(buttons), std::vector<int>{2});
    return buttons;
}

} // namespace

TEST(ToolbarLayout, WrappedSeparatorGapDependsOnLibraryVersion)
{
    // 470: the separator's height less 3 between rows; 471: its height; 472
    // and later: its width.
    const struct {
        int version;
        int height;
    } cases[] = {{400, 22 + 19 + 22}, {470, 22 + 19 + 22}, {471, 22 + 22 + 22}, {472, 22 + 8 + 22}, {600, 22 + 8 + 22}};
    for (const auto& c : cases) {
        std::vector<Button> buttons = TwoRowsAtSeparator(c.version);
        Size size = CalcSize(buttons, Rules{c.version, false});
        EXPECT_EQ(size.cx, 46) << c.version;
        EXPECT_EQ(size.cy, c.height) << c.version;
    }
}

TEST(ToolbarLayout, WrappedDropDownKeepsItsWidthOnlyWhenAsked)
{
    Button dropDown = Push(5, 35);
    dropDown.style = kStyleDropDown;
    dropDown.state = kStateWrap;
    EXPECT_EQ(ButtonExtent(dropDown, Rules{600, false}).cx, 0);
    EXPECT_EQ(ButtonExtent(dropDown, Rules{600, true}).cx, 35);
    dropDown.state = 0;
    EXPECT_EQ(ButtonExtent(dropDown, Rules{600, false}).cx, 35);
}

TEST(ToolbarLayout, NarrowBoundWrapsEveryButtonWithoutLooping)
{
    // A bound of 0 (or below one button) puts each button on a row of its
    // own and ends.
    for (int width : {0, 5, -10}) {
        std::vector<Button> buttons = {Push(1), Push(2), Push(3), Separator(), Push(4)};
        int rows = WrapButtons(buttons, width, Rules{600, false});
        EXPECT_EQ(rows, 4) << width;
        EXPECT_EQ(WrapIndexes(buttons), (std::vector<int>{0, 1, 3})) << width;
    }
    std::vector<Button> none;
    EXPECT_EQ(WrapButtons(none, 0, Rules{600, false}), 1);
    EXPECT_EQ(CalcSize(none, Rules{600, false}).cx, 0);
}

TEST(ToolbarLayout, ControlPlaceholdersAndHiddenButtonsAreNoWrapPoints)
{
    // The separator holding a child control is never a wrap point; hidden
    // buttons take no room.
    std::vector<Button> buttons = {Push(1), Separator(77, 60), Push(2), Push(3)};
    buttons[3].state = kStateHidden;
    WrapButtons(buttons, 90, Rules{600, false});
    EXPECT_EQ(WrapIndexes(buttons), std::vector<int>{0});
    EXPECT_EQ(CalcSize(buttons, Rules{600, false}).cx, 83);
}

TEST(ToolbarLayout, HorizontalSizingFindsTheNarrowestWidthForTheRows)
{
    std::vector<Button> buttons = {Push(1), Push(2), Push(3), Push(4), Push(5), Push(6)};
    SizeButtons(buttons, 100, false, Rules{600, false});
    // 100 allows four buttons a row (two rows); three a row is the narrowest
    // width that keeps two rows.
    EXPECT_EQ(WrapIndexes(buttons), std::vector<int>{2});
    EXPECT_EQ(CalcSize(buttons, Rules{600, false}).cx, 69);
}

TEST(ToolbarLayout, VerticalSizingStopsAtTheRequestedHeight)
{
    std::vector<Button> buttons = {Push(1), Push(2), Push(3), Push(4), Push(5), Push(6)};
    SizeButtons(buttons, 66, true, Rules{600, false});
    Size size = CalcSize(buttons, Rules{600, false});
    EXPECT_EQ(size.cy, 66);
    EXPECT_EQ(size.cx, 46);
    // A height no width gives ends the search all the same.
    SizeButtons(buttons, 50, true, Rules{600, false});
    EXPECT_LE(CalcSize(buttons, Rules{600, false}).cy, 66);
}
