#include "CaptureFeedback.h"

#include <mmsystem.h>

#include <vector>

#include "FeedbackSweeps.h"
#include "Settings.h"
#include "resource.h"

namespace {

void Invert(HDC screen, const FeedbackLine& line)
{
    PatBlt(screen, line.x, line.y, line.width, line.height, DSTINVERT);
}

// Lets the first sweep show for a while; sleeping keeps the processor free
// while nothing else of the capture is waiting.
void Pause()
{
    GdiFlush();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kFeedbackPauseMs)
        Sleep(10);
}

}  // namespace

void PlayCaptureSound(int choice)
{
    if (choice < 1 || choice > 4)
        return;
    PlaySoundA(MAKEINTRESOURCEA(IDR_WAVE_CAPTURE1 + choice - 1), GetModuleHandleA(nullptr),
               SND_RESOURCE | SND_ASYNC);
}

void AnimateFeedbackOver(int choice, const RECT& area)
{
    const std::vector<FeedbackLine> sweep = FeedbackSweep(choice, area.left, area.top, area.right, area.bottom);
    if (sweep.empty())
        return;
    const int repeats = FeedbackFirstSweepRepeats(choice, ScreenDepth);
    HDC screen = GetDC(nullptr);
    if (!screen)
        return;
    for (const FeedbackLine& line : sweep)
        for (int i = 0; i < repeats; ++i)
            Invert(screen, line);
    Pause();
    for (auto line = sweep.rbegin(); line != sweep.rend(); ++line)
        Invert(screen, *line);
    GdiFlush();
    ReleaseDC(nullptr, screen);
}
