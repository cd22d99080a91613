// The height of the background's title for a screen width: 0 asks for the
// font's default height. Window-free.
#pragma once

inline int BackgroundTitleHeight(int screenWidth)
{
    switch (screenWidth) {
    case 640: return 70;
    case 800: return 80;
    case 1024: return 100;
    default: return screenWidth > 1024 ? 120 : 0;
    }
}
