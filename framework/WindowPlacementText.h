// A frame's placement as one ini value: "flags,show,minX,minY,maxX,maxY,
// left,top,right,bottom" in decimal. Window-free: parsing, writing and the
// checks that keep a restored window usable.
#pragma once

#include "CString.h"

struct KfPlacement {
    UINT flags = 0;
    UINT showCmd = 0;
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// FALSE (and the placement untouched) unless the text holds exactly ten
// integers separated by commas, with optional blanks around them.
BOOL KfParsePlacement(LPCSTR text, KfPlacement& placement);
CString KfFormatPlacement(const KfPlacement& placement);

// TRUE when the normal rectangle is at least minSize wide and high and
// overlaps the screen rectangle by at least minSize in both directions, so
// that the user can reach its caption. A placement written on a larger
// screen, or a corrupt one, fails and is not restored.
BOOL KfPlacementFitsScreen(const KfPlacement& placement, int screenLeft, int screenTop, int screenRight,
                           int screenBottom, int minSize = 32);
