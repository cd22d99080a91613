#include "CaptureDispatch.h"

#include "HotkeyKeys.h"

namespace {

const int kRowTypes[kHotkeyRowCount] = {
    kCaptureScreenDelayed, kCaptureWindowDelayed, kCaptureRegion, kCaptureTitleMenu,
    kCaptureFreehand, kCapturePointer, kCaptureButton, kCaptureCommandBar};

const uint32_t kModifierBits[kHotkeyModifierCount] = {
    1u << 28, 1u << 24, 1u << 20, 1u << 16};  // Esc, Shift, Ctrl, Alt

const int kKeyF1 = 0x70;
const int kKeyB = 0x42;
const int kKeyF = 0x46;

// The hook library clears a bit while its key is held: held gives -1, the
// value a row stores for a required modifier.
int ModifierState(uint32_t keyAndBits, int modifier)
{
    return (keyAndBits & kModifierBits[modifier]) ? 0 : -1;
}

bool RowMatches(uint32_t keyAndBits, const int states[kHotkeyModifierCount], int keyIndex)
{
    for (int modifier = 0; modifier < kHotkeyModifierCount; ++modifier)
        if (ModifierState(keyAndBits, modifier) != states[modifier])
            return false;
    WORD key = HotkeyVirtualKey(keyIndex);
    return key != 0 && key == (keyAndBits & 0xFFFF);
}

DispatchPlan Plan(DispatchAction action, int type, int caption = 0)
{
    DispatchPlan plan = {};
    plan.action = action;
    plan.captureType = type;
    plan.captionId = caption;
    return plan;
}

DispatchPlan DelayedPlan(int followUp, bool countdown, int seconds)
{
    DispatchPlan plan = Plan(countdown ? kActionStartCountdown : kActionRequestNow, followUp);
    plan.countdownSeconds = seconds < 0 ? 0 : seconds;
    plan.suspendDecorations = true;
    plan.redrawDecorations = true;
    return plan;
}

}  // namespace

int DecodeHotkey(uint32_t keyAndBits, const int systemKeys[kHotkeyRowCount][kHotkeyModifierCount],
                 const int normalKeys[kHotkeyRowCount])
{
    const int key = keyAndBits & 0xFFFF;
    const bool noModifier = (keyAndBits & (kModifierBits[0] | kModifierBits[1] | kModifierBits[2] |
                                           kModifierBits[3])) ==
                            (kModifierBits[0] | kModifierBits[1] | kModifierBits[2] | kModifierBits[3]);
    int result = noModifier && key == kKeyF1 ? kCaptureHelp : 0;
    for (int row = 0; row < kHotkeyRowCount; ++row)
        if (RowMatches(keyAndBits, systemKeys[row], normalKeys[row]))
            result = kRowTypes[row];
    // Shift+Ctrl+Alt+B and +F hide and show the program whatever the rows say.
    const bool shiftCtrlAlt = (keyAndBits & (kModifierBits[1] | kModifierBits[2] | kModifierBits[3])) == 0;
    if (shiftCtrlAlt && key == kKeyB)
        result = kCaptureHideProgram;
    if (shiftCtrlAlt && key == kKeyF)
        result = kCaptureShowProgram;
    return result;
}

int DecodeHotkey(uint32_t keyAndBits)
{
    return DecodeHotkey(keyAndBits, SystemKey, NormalKey);
}

DispatchPlan PlanDispatch(int type)
{
    switch (type) {
    case kCaptureScreenDelayed:
        return DelayedPlan(kCaptureScreen, ScreenPage[kScreenCountdown] != 0,
                           ScreenPage[kScreenCountdownSeconds]);
    case kCaptureWindowDelayed:
        return DelayedPlan(kCaptureWindow, WindowPage[kWindowCountdown] != 0,
                           WindowPage[kWindowCountdownSeconds]);
    case kCaptureScreen: {
        DispatchPlan plan = Plan(kActionCaptureNow, type, kCaptionScreen);
        plan.screenRectangle = true;
        return plan;
    }
    case kCaptureWindow:
        return Plan(WindowPage[kWindowSelectWithMouse] == 1 ? kActionMouseSelection : kActionForegroundWindow,
                    type, kCaptionWindow);
    case kCaptureRegion:
    case kCaptureFreehand: {
        DispatchPlan plan = Plan(kActionMouseSelection, type,
                                 type == kCaptureRegion ? kCaptionRegion : kCaptionFreehand);
        plan.suspendDecorations = true;
        plan.redrawDecorations = true;
        plan.refusedOverOwnMenu = true;
        return plan;
    }
    case kCaptureTitleMenu: {
        DispatchPlan plan = Plan(kActionTitleAndMenu, type, kCaptionMenu);
        plan.redrawDecorations = TitleMenuPage[kTitleMenuTitleBar] || TitleMenuPage[kTitleMenuMenuBar];
        return plan;
    }
    case kCapturePointer:
        return Plan(kActionCaptureNow, type, kCaptionPointer);
    case kCaptureButton:
        return Plan(kActionButtonAtCursor, type, kCaptionButton);
    case kCaptureButtonPicked: {
        DispatchPlan plan = Plan(kActionMouseSelection, type, kCaptionButton);
        plan.redrawDecorations = true;
        return plan;
    }
    case kCaptureCommandBar:
        return Plan(kActionCommandBarAtCursor, type, kCaptionCommandBar);
    case kCaptureCommandBarPicked:
        return Plan(kActionMouseSelection, type, kCaptionCommandBar);
    case kCaptureStripReleased:
        return Plan(kActionStripReleased, type);
    case kCaptureStripPressed: {
        DispatchPlan plan = Plan(kActionStripPressed, type);
        plan.suspendDecorations = true;
        return plan;
    }
    case kCaptureHideProgram:
        return Plan(kActionHideProgram, type);
    case kCaptureShowProgram:
        return Plan(kActionShowProgram, type);
    case kCaptureHelp:
        return Plan(kActionHelp, type);
    default:
        return Plan(kActionIgnore, type);
    }
}

int CaptureCaptionId(int type)
{
    switch (type) {
    case kCaptureScreen: return kCaptionScreen;
    case kCaptureWindow: return kCaptionWindow;
    case kCaptureRegion: return kCaptionRegion;
    case kCaptureTitleMenu: return kCaptionMenu;
    case kCaptureFreehand: return kCaptionFreehand;
    case kCapturePointer: return kCaptionPointer;
    case kCaptureButton:
    case kCaptureButtonPicked: return kCaptionButton;
    case kCaptureCommandBar:
    case kCaptureCommandBarPicked: return kCaptionCommandBar;
    default: return 0;
    }
}

int SelectionCursorId(int type)
{
    switch (type) {
    case kCaptureWindow: return 98;
    case kCaptureRegion: return 93;
    case kCaptureFreehand: return 97;
    case kCaptureButtonPicked: return 92;
    case kCaptureCommandBarPicked: return 233;
    default: return 0;
    }
}

int EndStripPress(bool& pressed, bool released, int slotType, bool held, int& decorationsSuspended)
{
    const int follow = released && pressed ? slotType : 0;
    pressed = false;
    if (!follow && !held)
        decorationsSuspended = 0;
    return follow;
}

void CaptureCountdown::Start(int countdownSeconds, int requestType)
{
    seconds = countdownSeconds < 0 ? 0 : countdownSeconds;
    ticks = 9;
    type = requestType;
    active = true;
}

CaptureCountdown::Tick CaptureCountdown::Advance()
{
    Tick tick = {false, false, type};
    if (!active)
        return tick;
    if (ticks-- == 0) {
        --seconds;
        ticks = 9;
        tick.beep = true;
    }
    if (seconds <= 0) {
        active = false;
        tick.request = true;
    }
    return tick;
}

int ProgressMeter::Percent(long rowDone, long rowCount)
{
    if (rowCount <= 0)
        return 100;
    if (rowDone < 0)
        rowDone = 0;
    long long percent = (static_cast<long long>(rowDone) + 1) * 100 / rowCount;
    return percent > 100 ? 100 : static_cast<int>(percent);
}

bool ProgressMeter::Update(long rowDone, long rowCount, int* percent)
{
    *percent = Percent(rowDone, rowCount);
    if (*percent == last)
        return false;
    last = *percent;
    return true;
}

ProgressLayout LayoutProgress(int left, int top, int right, int bottom, int percent, int textWidth,
                              int textHeight)
{
    ProgressLayout layout;
    layout.filledRight = left + percent * (right - left) / 100;
    layout.textX = (right - textWidth) / 2;
    layout.textY = (bottom - textHeight - top) / 2;
    if (layout.textY >= 0 && layout.textY <= 2)
        layout.textY = 3;
    return layout;
}
