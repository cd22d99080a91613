#include "KindPageRules.h"

#include "CaptureSetupIds.h"

void ApplyTitleMenuInterlock(TitleMenuBox clicked, TitleMenuObjects& o)
{
    switch (clicked) {
    case kBoxTitle:
        if (o.title && o.pulldown && !o.menu)
            o.menu = 1;
        break;
    case kBoxMenu:
        if (o.title && o.pulldown && !o.menu)
            o.title = 0;
        break;
    case kBoxPulldown:
        if (o.menu && o.cascading && !o.pulldown)
            o.cascading = 0;
        break;
    case kBoxCascading:
        if (o.menu && o.cascading)
            o.pulldown = 1;
        if (o.title && o.cascading)
            o.menu = o.pulldown = 1;
        break;
    case kBoxErase:
        break;
    }
}

SamplePicture TitleMenuSample(const TitleMenuObjects& o, int eraseBackground)
{
    const int e = eraseBackground ? 1 : 0;
    // Pictures by (T, M, P, C); those with a background to erase come in
    // pairs: the kept-background one, then the erased one.
    struct Row {
        int t, m, p, c;
        int bitmap;
        bool erasable;
        int x, y;
    };
    static const Row kRows[] = {
        {1, 1, 1, 1, 42, true, 0, 0},   {1, 1, 1, 0, 44, true, 0, 0},   {1, 1, 0, 0, 46, false, 0, 0},
        {1, 0, 0, 0, 47, false, 0, 0},  {0, 0, 1, 1, 48, true, 32, 22}, {0, 0, 1, 0, 50, true, 32, 22},
        {0, 0, 0, 1, 52, false, 123, 84}, {0, 1, 0, 0, 53, false, 3, 22}, {0, 1, 1, 0, 54, true, 3, 22},
        {0, 1, 1, 1, 56, true, 3, 22},
    };
    const int t = o.title ? 1 : 0, m = o.menu ? 1 : 0, p = o.pulldown ? 1 : 0, c = o.cascading ? 1 : 0;
    for (const Row& row : kRows) {
        if (row.t == t && row.m == m && row.p == p && row.c == c)
            return {row.bitmap + (row.erasable ? e : 0), row.x, row.y};
    }
    return {0, 0, 0};
}

SamplePicture CommandBarSample(int commandBar, int dropdowns, int pointer)
{
    if (commandBar) {
        if (!dropdowns)
            return {IDB_COMMANDBAR_FIRST + 2, 0, 0};
        return {pointer ? IDB_COMMANDBAR_FIRST + 1 : IDB_COMMANDBAR_FIRST, 0, 0};
    }
    if (dropdowns)
        return {pointer ? IDB_COMMANDBAR_FIRST + 3 : IDB_COMMANDBAR_FIRST + 4, 8, 44};
    return {0, 0, 0};
}
