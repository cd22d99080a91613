#include "CaptureSetupValues.h"

#include <cstring>

namespace {

template <int N>
void Copy(int (&to)[N], const int (&from)[N])
{
    memcpy(to, from, sizeof to);
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

}  // namespace

CaptureSetupValues LoadCaptureSetupValues()
{
    CaptureSetupValues v;
    Copy(v.sendTo, SendtoPage);
    Copy(v.capture, CapturePage);
    Copy(v.screen, ScreenPage);
    Copy(v.window, WindowPage);
    Copy(v.region, RegionPage);
    Copy(v.titleMenu, TitleMenuPage);
    Copy(v.freehand, FreehandPage);
    Copy(v.button, ButtonPage);
    Copy(v.commandBar, CommandBarPage);
    Copy(v.notify, NotifyPage);
    v.sendTo[kSendtoFirstPage] = Clamp(v.sendTo[kSendtoFirstPage], 0, kCaptureSetupPageCount - 1);
    v.sendTo[kSendtoMarginX] = Clamp(v.sendTo[kSendtoMarginX], 0, kMarginLimit);
    v.sendTo[kSendtoMarginY] = Clamp(v.sendTo[kSendtoMarginY], 0, kMarginLimit);
    for (int side = kScreenLeft; side <= kScreenBottom; ++side)
        v.screen[side] = Clamp(v.screen[side], 0, kScreenAreaLimit);
    v.screen[kScreenCountdownSeconds] = Clamp(v.screen[kScreenCountdownSeconds], 0, kCountdownLimit);
    v.window[kWindowCountdownSeconds] = Clamp(v.window[kWindowCountdownSeconds], 0, kCountdownLimit);
    return v;
}

void StoreCaptureSetupValues(CaptureSetupValues& v, int activePage)
{
    if (v.sendTo[kSendtoFileNaming] < 0)
        v.sendTo[kSendtoFileNaming] = 0;
    if (!v.sendTo[kSendtoWindow] && !v.sendTo[kSendtoClipboard] && !v.sendTo[kSendtoPrinter] &&
        !v.sendTo[kSendtoFile])
        v.sendTo[kSendtoWindow] = 1;
    v.sendTo[kSendtoFirstPage] = activePage;
    Copy(SendtoPage, v.sendTo);
    Copy(CapturePage, v.capture);
    Copy(ScreenPage, v.screen);
    Copy(WindowPage, v.window);
    Copy(RegionPage, v.region);
    Copy(TitleMenuPage, v.titleMenu);
    Copy(FreehandPage, v.freehand);
    Copy(ButtonPage, v.button);
    Copy(CommandBarPage, v.commandBar);
    Copy(NotifyPage, v.notify);
}

bool MarginsChanged(const CaptureSetupValues& v)
{
    return v.sendTo[kSendtoMarginX] != SendtoPage[kSendtoMarginX] ||
           v.sendTo[kSendtoMarginY] != SendtoPage[kSendtoMarginY];
}
