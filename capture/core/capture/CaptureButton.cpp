// The button kind: the 3-D button under the cursor, found by its edges.
#include "ButtonEdges.h"
#include "CaptureEngine.h"
#include "CaptureState.h"
#include "ScreenProbes.h"
#include "Settings.h"

void CaptureButton()
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    const RECT reach = {cursor.x - kButtonSearchReach, cursor.y - kButtonSearchReach,
                        cursor.x + kButtonSearchReach, cursor.y + kButtonSearchReach};
    const ScreenSnapshot pixels(reach);
    const EdgeRect button = FindButtonRectangle(pixels, cursor.x, cursor.y, ScreenWidth, ScreenHeight,
                                                NearestScreenColor(COLOR_BTNSHADOW),
                                                NearestScreenColor(COLOR_BTNHIGHLIGHT));
    SetRect(&CurrentCapture.rectangle, button.left, button.top, button.right, button.bottom);
    CaptureNow();
}
