// The main frame's capture dispatch: requests, hot keys, the countdown and
// decorations timer, mouse selections over the frozen screen, progress, and
// the small notifications that share this machinery.
#include "MainFrame.h"

#include <cstdio>

#include "../../../framework/View.h"
#include "../../../hook/Kapthook.h"
#include "AppServices.h"
#include "AuxWindows.h"
#include "CaptureEngine.h"
#include "CaptureState.h"
#include "CaptureApp.h"
#include "DisplayImage.h"
#include "PrintCalls.h"
#include "Settings.h"
#include "TitleBarDecorations.h"
#include "WorkImage.h"
#include "resource.h"


namespace {

const UINT kTimerId = 1;
const COLORREF kProgressDone = 0x800000;
const COLORREF kProgressLeft = 0x00FFFF;

}  // namespace

RequestGuard XMainFrame::Guard() const
{
    RequestGuard guard;
    guard.captureRunning = CaptureRunning != 0;
    guard.countdownActive = countdown.Active();
    guard.modalBusy = ModalBusy != 0;
    guard.finishingSelection = finishingSelection;
    return guard;
}

LRESULT XMainFrame::OnHotkey(WPARAM keyAndBits, LPARAM pointer)
{
    int type = DecodeHotkey(static_cast<uint32_t>(keyAndBits));
    if (type)
        SendMessage(WM_CAPTURE_REQUEST, type, pointer);
    return 0;
}

bool XMainFrame::DecorationsHeld() const
{
    return CaptureRunning || countdown.Active() || selecting;
}

LRESULT XMainFrame::OnCaptureRequest(WPARAM type, LPARAM pointerOrNotice)
{
    if (!Guard().Allows()) {
        // A strip button's release is never lost: the press ends with it.
        if (type == kCaptureStripReleased && CurrentCapture.stripPressed) {
            EndStripPress(CurrentCapture.stripPressed, false, 0, DecorationsHeld(), DecorationsSuspended);
            DrawSnapshotButtonStrip(CurrentCapture.startWindow);
        }
        return 0;
    }
    if (type == kCaptureMenuNotice) {
        GetCursorPos(&CurrentCapture.menuPoint);
        CurrentCapture.menuNotice = pointerOrNotice;
        return 0;
    }
    // Another request while a strip button is held: the press is over.
    if (CurrentCapture.stripPressed && type != kCaptureStripPressed && type != kCaptureStripReleased)
        EndStripPress(CurrentCapture.stripPressed, false, 0, DecorationsHeld(), DecorationsSuspended);
    if (pointerOrNotice)
        CurrentCapture.pointerShape = reinterpret_cast<HCURSOR>(pointerOrNotice);
    if (selecting)
        AbandonMouseCapture();
    StartCapture(static_cast<int>(type));
    return 0;
}

void XMainFrame::StartCapture(int type)
{
    const DispatchPlan plan = PlanDispatch(type);
    if (plan.action == kActionIgnore)
        return;
    CurrentCapture.startWindow = ::GetForegroundWindow();
    CurrentCapture.type = plan.captureType;
    if (plan.refusedOverOwnMenu && CurrentCapture.startWindow == m_hWnd && GetSmallWindowBelowPoint())
        return;
    if (plan.suspendDecorations)
        DecorationsSuspended = 1;
    if (plan.redrawDecorations)
        RedrawTitleBarDecorations();
    if (plan.captionId)
        WorkImage->status = plan.captionId;

    switch (plan.action) {
    case kActionRequestNow:
        SendMessage(WM_CAPTURE_REQUEST, plan.captureType, 0);
        break;
    case kActionStartCountdown:
        countdown.Start(plan.countdownSeconds, plan.captureType);
        break;
    case kActionCaptureNow:
        if (plan.screenRectangle)
            SetRect(&CurrentCapture.rectangle, ScreenPage[kScreenLeft], ScreenPage[kScreenTop],
                    ScreenPage[kScreenRight], ScreenPage[kScreenBottom]);
        CaptureNow();
        break;
    case kActionMouseSelection:
        BeginMouseCapture();
        break;
    case kActionForegroundWindow:
        CaptureForegroundWindow();
        break;
    case kActionTitleAndMenu:
        CaptureTitleAndMenu();
        break;
    case kActionButtonAtCursor:
        CaptureButton();
        break;
    case kActionCommandBarAtCursor:
        CaptureCommandBar();
        break;
    case kActionStripReleased: {
        const int follow = EndStripPress(CurrentCapture.stripPressed, true,
                                         SnapshotSlotCaptureType(CurrentCapture.pressedSlot), DecorationsHeld(),
                                         DecorationsSuspended);
        DrawSnapshotButtonStrip(CurrentCapture.startWindow);
        if (follow) {
            SendMessage(WM_CAPTURE_REQUEST, follow, 0);
            // The dispatch may have refused it (a region over the program's
            // own menu): nothing runs then to bring the decorations back.
            if (!DecorationsHeld())
                DecorationsSuspended = 0;
        }
        break;
    }
    case kActionStripPressed:
        CurrentCapture.stripPressed = true;
        HitTestSnapshotButtons();
        break;
    case kActionHideProgram:
        RunMode[kRunShowMainWindow] = 0;
        ShowWindow(SW_HIDE);
        WriteAllSettings();
        break;
    case kActionShowProgram:
        BringToFront();
        RunMode[kRunShowMainWindow] = 1;
        break;
    case kActionHelp:
        if (::GetActiveWindow() == m_hWnd)
            AfxGetApp()->WinHelp(0, HELP_CONTENTS);
        break;
    case kActionIgnore:
        break;
    }
}

void XMainFrame::OnTimer(UINT_PTR id)
{
    if (id != kTimerId) {
        CMDIFrameWnd::OnTimer(id);
        return;
    }
    if (!DecorationsSuspended) {
        if (HWND window = TrackForegroundWindow()) {
            CurrentCapture.startWindow = window;
            DrawSnapshotButtonStrip(window);
            DrawTitleBarClock(window);
        }
    }
    if (countdown.Active()) {
        CaptureCountdown::Tick tick = countdown.Advance();
        if (tick.beep)
            MessageBeep(0);
        if (tick.request)
            SendMessage(WM_CAPTURE_REQUEST, tick.type, 0);
    }
}

// ---- Mouse selection --------------------------------------------------------

bool XMainFrame::FreezeScreen()
{
    UnfreezeScreen();
    if (!CoverWindow)
        return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = screen ? CreateCompatibleDC(screen) : nullptr;
    frozenScreen = memory ? CreateCompatibleBitmap(screen, ScreenWidth, ScreenHeight) : nullptr;
    bool copied = false;
    if (frozenScreen) {
        HGDIOBJ old = SelectObject(memory, frozenScreen);
        copied = BitBlt(memory, 0, 0, ScreenWidth, ScreenHeight, screen, 0, 0, SRCCOPY) != FALSE;
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    if (!copied) {
        // A cover without the picture would hide the whole screen.
        UnfreezeScreen();
        return false;
    }
    SetCoverPicture(frozenScreen);
    ::SetWindowPos(CoverWindow, HWND_TOPMOST, 0, 0, ScreenWidth, ScreenHeight, SWP_SHOWWINDOW);
    ::SetForegroundWindow(CoverWindow);
    return true;
}

void XMainFrame::UnfreezeScreen()
{
    if (CoverWindow)
        ::ShowWindow(CoverWindow, SW_HIDE);
    SetCoverPicture(nullptr);
    if (frozenScreen) {
        DeleteObject(frozenScreen);
        frozenScreen = nullptr;
    }
}

void XMainFrame::BeginMouseCapture()
{
    if (!FreezeScreen()) {
        // Nothing to select on: the request ends here, as if abandoned.
        DecorationsSuspended = 0;
        return;
    }
    selecting = true;
    if (HCURSOR cursor = AfxGetApp()->LoadCursor(SelectionCursorId(CurrentCapture.type)))
        ::SetCursor(cursor);
    PassLeftButtonStatus(1);
    SetCapture();
}

void XMainFrame::EndSelection()
{
    selecting = false;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    PassLeftButtonStatus(0);
}

void XMainFrame::AbandonMouseCapture()
{
    EndSelection();
    // The cover would otherwise keep showing the stale picture over the
    // whole screen until the next selection.
    UnfreezeScreen();
    DecorationsSuspended = 0;
}

void XMainFrame::OnLButtonDown(UINT flags, CPoint point)
{
    if (selecting && !finishingSelection)
        FinishMouseCapture();
    CMDIFrameWnd::OnLButtonDown(flags, point);
}

void XMainFrame::OnCaptureChanged(CWnd* wnd)
{
    // Another window took the mouse (a system dialog, a click elsewhere the
    // system gave away): the click that would end the selection never comes.
    if (selecting && !finishingSelection)
        AbandonMouseCapture();
    CMDIFrameWnd::OnCaptureChanged(wnd);
}

void XMainFrame::FinishMouseCapture()
{
    // The kinds pump messages; requests arriving meanwhile are dropped.
    finishingSelection = true;
    switch (CurrentCapture.type) {
    case kCaptureWindow:
    case kCaptureCommandBarPicked:
        FinishPickedWindow();
        break;
    case kCaptureRegion:
        TrackRegionRectangle();
        UnfreezeScreen();
        break;
    case kCaptureFreehand:
        CaptureNow();
        UnfreezeScreen();
        break;
    case kCaptureButtonPicked:
        CaptureButton();
        UnfreezeScreen();
        break;
    default:
        UnfreezeScreen();
        break;
    }
    finishingSelection = false;
    EndSelection();
}

// The window clicked is copied from the frozen picture, as it was when the
// selection began.
void XMainFrame::FinishPickedWindow()
{
    if (CoverWindow)
        ::ShowWindow(CoverWindow, SW_HIDE);
    PumpMessages();
    HWND picked = FindChildWindowUnderCursor();
    RECT rect = {0, 0, 0, 0};
    if (picked)
        ::GetWindowRect(picked, &rect);
    CurrentCapture.rectangle = rect;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HBITMAP copy = nullptr;
    if (frozenScreen && width > 0 && height > 0) {
        HDC screen = ::GetDC(nullptr);
        HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
        copy = CreateCompatibleBitmap(screen, width, height);
        if (from && to && copy) {
            HGDIOBJ oldFrom = SelectObject(from, frozenScreen), oldTo = SelectObject(to, copy);
            BitBlt(to, 0, 0, width, height, from, rect.left, rect.top, SRCCOPY);
            SelectObject(from, oldFrom);
            SelectObject(to, oldTo);
        }
        if (from) DeleteDC(from);
        if (to) DeleteDC(to);
        ::ReleaseDC(nullptr, screen);
    }
    if (!copy) {
        // Nothing is captured; the selection still ends.
        DecorationsSuspended = 0;
        return;
    }
    WorkImage->width = width;
    WorkImage->height = height;
    WorkImage->bitmap.Attach(copy);
    UnfreezeScreen();
    CaptureNow();
}

// ---- Progress -----------------------------------------------------------------

LRESULT XMainFrame::OnProgress(WPARAM rowDone, LPARAM rowCount)
{
    int percent;
    if (!progress.Update(static_cast<long>(rowDone), static_cast<long>(rowCount), &percent))
        return 0;
    DrawProgress(percent);
    if (percent >= 100)
        statusBar.Invalidate(TRUE);
    // Loops report from inside one call and may stop short of 100 %: the
    // bar goes when the loop has returned, whatever its last report.
    if (!progressOverPosted)
        progressOverPosted = PostMessage(WM_PROGRESS_OVER) != FALSE;
    return 0;
}

LRESULT XMainFrame::OnProgressOver(WPARAM, LPARAM)
{
    progressOverPosted = false;
    progress = ProgressMeter();
    if (statusBar.GetSafeHwnd())
        statusBar.Invalidate(TRUE);
    return 0;
}

void XMainFrame::DrawProgress(int percent)
{
    if (!statusBar.GetSafeHwnd())
        return;
    RECT client;
    statusBar.GetClientRect(&client);
    InflateRect(&client, -1, -1);
    HDC dc = ::GetDC(statusBar.m_hWnd);
    char text[8];
    snprintf(text, sizeof text, "%d%%", percent);
    HFONT font = CreateFontA(-ClockFontHeight, 0, 0, 0, ClockFontWeight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                             ClockFontFace);
    HDC textDc = CreateCompatibleDC(dc);
    HGDIOBJ oldFont = SelectObject(textDc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(textDc, text, lstrlenA(text), &size);
    ProgressLayout layout = LayoutProgress(client.left, client.top, client.right, client.bottom, percent, size.cx,
                                           size.cy);

    RECT done = client, left = client;
    done.right = left.left = layout.filledRight;
    HBRUSH doneBrush = CreateSolidBrush(kProgressDone), leftBrush = CreateSolidBrush(kProgressLeft);
    FillRect(dc, &done, doneBrush);
    FillRect(dc, &left, leftBrush);
    DeleteObject(doneBrush);
    DeleteObject(leftBrush);

    // White text on black in a monochrome bitmap, inverted onto the bar.
    HBITMAP mono = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    if (mono) {
        HGDIOBJ oldBitmap = SelectObject(textDc, mono);
        SetTextColor(textDc, RGB(255, 255, 255));
        SetBkColor(textDc, RGB(0, 0, 0));
        TextOutA(textDc, 0, 0, text, lstrlenA(text));
        BitBlt(dc, layout.textX, layout.textY, size.cx, size.cy, textDc, 0, 0, SRCINVERT);
        SelectObject(textDc, oldBitmap);
        DeleteObject(mono);
    }
    SelectObject(textDc, oldFont);
    DeleteDC(textDc);
    DeleteObject(font);
    ::ReleaseDC(statusBar.m_hWnd, dc);
}

// ---- Bring to front and notifications ----------------------------------------

void XMainFrame::BringToFront()
{
    if (IsIconic()) {
        OpenIcon(m_hWnd);
    } else if (RunMode[kRunShowMainWindow] && IsWindowVisible()) {
        if (!CurrentCapture.startWindow || ::GetParent(CurrentCapture.startWindow) != m_hWnd)
            BringWindowToTop();
    } else {
        ShowWindow(SW_SHOWNORMAL);
    }
    SetForegroundWindow();
}

void XMainFrame::OnWindowCloseAll()
{
    if (RefuseWhileDialogRuns())
        return;
    CString text;
    text.LoadString(IDS_ASK_CLOSE_ALL);
    if (MessageBox(text, ApplicationTitle, MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        AfxGetApp()->CloseAllDocuments(FALSE);
}

void XMainFrame::OnPaletteChanged(CWnd* focusWnd)
{
    CMDIFrameWnd::OnPaletteChanged(focusWnd);
    CMDIChildWnd* child = MDIGetActive();
    CView* view = child ? child->GetActiveView() : nullptr;
    if (view && static_cast<CWnd*>(view) != focusWnd)
        view->Invalidate(FALSE);
}

void XMainFrame::OnWinIniChange(LPCSTR section)
{
    CMDIFrameWnd::OnWinIniChange(section);
    LoadScreenMetrics();
    LoadSnapshotButtonSettings();
    ResetPrintLibrary();
}

void XMainFrame::OnDevModeChange(LPSTR deviceName)
{
    CMDIFrameWnd::OnDevModeChange(deviceName);
}
