// The screen side of the capture pipeline under Wine: pixel reads of a
// painted window, the capture bitmap through to the work image's pixels,
// the flash leaving the screen as it was, and windows met along edges.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "capture/core/capture/CaptureCanvas.h"
#include "capture/core/capture/CaptureFeedback.h"
#include "capture/core/capture/FeedbackSweeps.h"
#include "capture/core/capture/ScreenProbes.h"
#include "capture/core/settings/Settings.h"
#include "capture/core/image/WorkImage.h"
#include "formats/DibHelpers.h"

namespace {

COLORREF PatternColor(int x, int y) { return RGB((7 * x + y) & 255, (5 * y) & 255, (x ^ y) & 255); }

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            SetPixelV(dc, x, y, PatternColor(x, y));
    EndPaint(window, &paint);
    return 0;
}

void Pump()
{
    MSG message;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(30);
    }
}

class CaptureScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadScreenMetrics();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PatternProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CaptureScreenTestPattern";
        RegisterClassA(&windowClass);
        pattern = Show(kLeft, kTop, kWidth, kHeight);
        ASSERT_TRUE(pattern);
    }
    void TearDown() override
    {
        for (HWND window : windows)
            DestroyWindow(window);
        Pump();
    }
    HWND Show(int x, int y, int width, int height)
    {
        HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "CaptureScreenTestPattern", "", WS_POPUP, x,
                                      y, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        Pump();
        windows.push_back(window);
        return window;
    }
    static RECT Area() { return RECT{kLeft, kTop, kLeft + kWidth, kTop + kHeight}; }

    static constexpr int kLeft = 50, kTop = 60, kWidth = 120, kHeight = 90;
    HWND pattern = nullptr;
    std::vector<HWND> windows;
};

TEST_F(CaptureScreen, SnapshotReadsThePaintedWindowAndNothingOutside)
{
    RECT wider = Area();
    InflateRect(&wider, 2, 2);
    const ScreenSnapshot pixels(wider);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            wrong += pixels.At(kLeft + x, kTop + y) != PatternColor(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(pixels.At(wider.right, kTop), kNoPixel);
    EXPECT_EQ(pixels.At(kLeft, wider.top - 1), kNoPixel);
    // Off the screen: nothing read, nothing made up.
    const ScreenSnapshot outside(RECT{-50, -50, -10, -10});
    EXPECT_EQ(outside.At(-20, -20), kNoPixel);
}

TEST_F(CaptureScreen, CanvasPixelsBecomeTheWorkImagesRowsUnchanged)
{
    CreateWorkImage();
    {
        CaptureCanvas canvas(kWidth, kHeight);
        ASSERT_TRUE(canvas.Valid());
        canvas.FillWhite();
        canvas.CopyFromScreen(Area(), POINT{kLeft, kTop});
        // A piece whitened afterwards, as the window kind does with a client area.
        canvas.FillWhite(RECT{0, 0, 10, 5});
        ASSERT_TRUE(canvas.HandToWorkImage());
        EXPECT_FALSE(canvas.HandToWorkImage());
    }
    WorkImage->bitCount = static_cast<uint16_t>(ScreenDepth);
    ASSERT_TRUE(WorkImage->CreateCaptureHeader());
    WorkImage->ConvertBitmapToDib();
    ASSERT_TRUE(WorkImage->hPixels);
    ASSERT_EQ(WorkImage->bitCount, 24);
    EXPECT_EQ(WorkImage->width, kWidth);
    EXPECT_EQ(WorkImage->height, kHeight);
    {
        BlockLock bits(WorkImage->hPixels);
        const uint32_t stride = WorkImage->GetRowStride();
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = bits.data() + static_cast<size_t>(kHeight - 1 - y) * stride;
            for (int x = 0; x < kWidth; ++x) {
                const COLORREF want = (x < 10 && y < 5) ? RGB(255, 255, 255) : PatternColor(x, y);
                wrong += RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]) != want;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    DeleteWorkImage();
}

TEST_F(CaptureScreen, EveryFlashLeavesTheScreenAsItWas)
{
    RECT area = Area();
    const ScreenSnapshot before(area);
    for (int mode = kFeedbackCenterIn; mode <= kFeedbackUpDown; ++mode) {
        AnimateFeedbackOver(mode, area);
        const ScreenSnapshot after(area);
        int changed = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                changed += before.At(x, y) != after.At(x, y);
        EXPECT_EQ(changed, 0) << "mode " << mode;
    }
}

TEST_F(CaptureScreen, WindowsMetAlongTheEdges)
{
    static const WindowEdge kRight[] = {kEdgeRight};
    static const WindowEdge kLeftThenTop[] = {kEdgeLeft, kEdgeTop};
    // A window over the pattern's right edge only.
    HWND over = Show(kLeft + kWidth - 20, kTop + 30, 60, 20);
    EXPECT_EQ(FirstWindowAlongEdges(Area(), pattern, kRight, 1), over);
    EXPECT_EQ(FirstWindowAlongEdges(Area(), pattern, kLeftThenTop, 2), nullptr);
    EXPECT_EQ(FirstWindowAlongEdges(Area(), std::vector<HWND>{pattern, over}, kRight, 1), nullptr);
}

}  // namespace
