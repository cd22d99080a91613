#include "AboutLogoAnimation.h"

uint32_t LogoSweepColor(int sweep, uint32_t pixel)
{
    static const uint32_t kFrom[AboutLogoAnimation::kSweeps] = {kLogoBlue, kLogoRed, kLogoGreen};
    static const uint32_t kTo[AboutLogoAnimation::kSweeps] = {kLogoRed, kLogoGreen, kLogoBlue};
    if (sweep < 0 || sweep >= AboutLogoAnimation::kSweeps)
        return pixel;
    return (pixel & 0xFFFFFF) == kFrom[sweep] ? kTo[sweep] : pixel;
}

LogoSweepStep AboutLogoAnimation::Next()
{
    const int inSweep = tick_ % kTicksPerSweep;
    LogoSweepStep step{};
    step.restart = tick_ == 0;
    step.sweep = tick_ / kTicksPerSweep;
    // Rows counted from the bottom: this tick's share is [done, end).
    const int done = rows_ * inSweep / kTicksPerSweep;
    const int end = rows_ * (inSweep + 1) / kTicksPerSweep;
    step.rowCount = end - done;
    step.firstRow = rows_ - 1 - done;
    step.lastRow = rows_ - end;
    tick_ = (tick_ + 1) % (kSweeps * kTicksPerSweep);
    return step;
}
