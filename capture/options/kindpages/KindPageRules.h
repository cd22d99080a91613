// The window-free rules of the capture kind pages: how the Title and Menu
// objects hold together, and which sample picture the Title and Menu and
// Command Bar pages paint where.
#pragma once

// The four objects of a title-and-menu capture, as ticked on the page.
struct TitleMenuObjects {
    int title;
    int menu;
    int pulldown;
    int cascading;
};
enum TitleMenuBox { kBoxTitle, kBoxMenu, kBoxPulldown, kBoxCascading, kBoxErase };

// After a click on box, ticks or unticks the objects that only make sense
// together (a pulldown under a title needs the menu bar, a cascading menu
// needs its pulldown, ...).
void ApplyTitleMenuInterlock(TitleMenuBox clicked, TitleMenuObjects& objects);

// A sample picture: bitmap id (0: none) and its offset from the sample's
// top-left corner.
struct SamplePicture {
    int bitmap;
    int x;
    int y;
};
SamplePicture TitleMenuSample(const TitleMenuObjects& objects, int eraseBackground);
SamplePicture CommandBarSample(int commandBar, int dropdowns, int pointer);
