#include "MouseTracking.h"

namespace {

// The last mouse message number the loops take (the wheel's).
const UINT kLastMouseMessage = 0x209;
// How long to wait for input before looking at the capture again.
const DWORD kCaptureCheckMs = 100;

bool LeftButtonHeld()
{
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(button) & 0x8000) != 0;
}

}  // namespace

MouseTracking::MouseTracking() : captureOwner(GetCapture()) {}

MouseTracking::Event MouseTracking::Next()
{
    for (;;) {
        if (captureOwner && GetCapture() != captureOwner)
            return kLost;
        MSG message;
        if (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, kLastMouseMessage, PM_REMOVE))
            return message.message == WM_LBUTTONUP ? kReleased : kMoved;
        // With no mouse message waiting, a button that is up was let go
        // where no message of ours saw it (or never held, for a click that
        // was only a message).
        if (!LeftButtonHeld())
            return kReleased;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kCaptureCheckMs, QS_MOUSE);
    }
}
