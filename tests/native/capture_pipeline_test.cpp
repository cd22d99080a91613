// The window-free parts of the capture pipeline: automatic file names, the
// freehand shape, the flash lines and the button search.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "capture/core/capture/ButtonEdges.h"
#include "capture/core/capture/CaptureFileNames.h"
#include "capture/core/capture/FeedbackSweeps.h"
#include "capture/core/capture/FreehandShape.h"

namespace {

std::string Incremented(std::string path, int times = 1)
{
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    for (int i = 0; i < times; ++i)
        IncrementFileNameNumber(buffer.data());
    return buffer.data();
}

struct tm Moment(int day, int hour, int minute, int second)
{
    struct tm local = {};
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    return local;
}

TEST(CaptureFileNames, NumberedNamesCountUpWithCarryAndWrap)
{
    EXPECT_EQ(Incremented("C:\\Kaptura\\KAPT0000.BMP"), "C:\\Kaptura\\KAPT0001.BMP");
    EXPECT_EQ(Incremented("C:\\Kaptura\\KAPT0000.BMP", 12), "C:\\Kaptura\\KAPT0012.BMP");
    EXPECT_EQ(Incremented("KAPT0009.BMP"), "KAPT0010.BMP");
    EXPECT_EQ(Incremented("KAPT0999.BMP"), "KAPT1000.BMP");
    EXPECT_EQ(Incremented("KAPT9999.BMP"), "KAPT0000.BMP");
    // The carry stops at the first non-digit and never grows the name.
    EXPECT_EQ(Incremented("A9B99.GIF"), "A9B00.GIF");
    EXPECT_EQ(Incremented("99.GIF"), "00.GIF");
}

TEST(CaptureFileNames, NamesWithoutDigitsOrExtensionStay)
{
    EXPECT_EQ(Incremented("C:\\Shots\\CAPTURE.BMP"), "C:\\Shots\\CAPTURE.BMP");
    EXPECT_EQ(Incremented("C:\\Shots\\KAPT0001"), "C:\\Shots\\KAPT0001");
    EXPECT_EQ(Incremented("C:\\Shots\\.BMP"), "C:\\Shots\\.BMP");
    EXPECT_EQ(Incremented(""), "");
}

TEST(CaptureFileNames, DottedFoldersAndDottedNamesUseTheFileNamesLastDot)
{
    // A folder with a digit before its dot must not be counted instead.
    EXPECT_EQ(Incremented("C:\\Shots.v2\\KAPT0004.BMP"), "C:\\Shots.v2\\KAPT0005.BMP");
    EXPECT_EQ(Incremented("C:\\Release1.0\\CAPTURE.BMP"), "C:\\Release1.0\\CAPTURE.BMP");
    EXPECT_EQ(Incremented("D:/pictures.1/shot7.old.bmp"), "D:/pictures.1/shot7.old.bmp");
    EXPECT_EQ(Incremented("D:/pictures.1/shot.old7.bmp"), "D:/pictures.1/shot.old8.bmp");
}

TEST(CaptureFileNames, TimeStampReplacesTheFileNameAndKeepsItsExtension)
{
    char path[260] = "C:\\Kaptura\\KAPT0000.BMP";
    ASSERT_TRUE(MakeTimeStampFileName(path, sizeof path, Moment(8, 23, 5, 9)));
    EXPECT_STREQ(path, "C:\\Kaptura\\08230509.BMP");
    // The next capture in the same second gets the same name.
    ASSERT_TRUE(MakeTimeStampFileName(path, sizeof path, Moment(8, 23, 5, 9)));
    EXPECT_STREQ(path, "C:\\Kaptura\\08230509.BMP");

    char dotted[260] = "C:\\My.Shots\\capture";
    ASSERT_TRUE(MakeTimeStampFileName(dotted, sizeof dotted, Moment(31, 0, 59, 0)));
    EXPECT_STREQ(dotted, "C:\\My.Shots\\31005900");

    char bare[260] = "PIC.GIF";
    ASSERT_TRUE(MakeTimeStampFileName(bare, sizeof bare, Moment(1, 2, 3, 4)));
    EXPECT_STREQ(bare, "01020304.GIF");

    // A long extension moves right past the stamp without being overwritten.
    char longExtension[260] = "C:\\x\\a.jpeg12345";
    ASSERT_TRUE(MakeTimeStampFileName(longExtension, sizeof longExtension, Moment(1, 2, 3, 4)));
    EXPECT_STREQ(longExtension, "C:\\x\\01020304.jpeg12345");
}

TEST(CaptureFileNames, TimeStampThatDoesNotFitLeavesThePath)
{
    char path[16] = "C:\\ab\\K.BMP";
    EXPECT_FALSE(MakeTimeStampFileName(path, sizeof path, Moment(8, 23, 5, 9)));
    EXPECT_STREQ(path, "C:\\ab\\K.BMP");
    char exact[19] = "C:\\ab\\K.BMP";      // 6 + 8 + 4 characters and the zero
    EXPECT_TRUE(MakeTimeStampFileName(exact, sizeof exact, Moment(8, 23, 5, 9)));
    EXPECT_STREQ(exact, "C:\\ab\\08230509.BMP");
}

// ---- Freehand shape -----------------------------------------------------------

TEST(FreehandShape, BoxAndRowRunsOfATriangle)
{
    const TracePoint points[] = {{10, 10}, {14, 14}, {6, 14}, {10, 10}};
    FreehandShape shape = TraceFreehandShape(points, 4);
    EXPECT_EQ(shape.left, 6);
    EXPECT_EQ(shape.top, 10);
    EXPECT_EQ(shape.right, 15);
    EXPECT_EQ(shape.bottom, 15);
    ASSERT_EQ(shape.Height(), 5);
    // Rows 1 to 3 are joined from both sides along the lines.
    const int least[] = {4, 3, 2, 1, 0};
    const int greatest[] = {4, 5, 6, 7, 8};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(shape.least[row], least[row]) << row;
        EXPECT_EQ(shape.greatest[row], greatest[row]) << row;
    }
}

TEST(FreehandShape, CoarsePointsAreJoinedAlongTheLine)
{
    // A quick stroke leaves points far apart; the rows between follow the
    // line, so the triangle keeps its inside.
    const TracePoint points[] = {{400, 200}, {500, 360}, {300, 360}, {400, 200}};
    FreehandShape shape = TraceFreehandShape(points, 4);
    ASSERT_EQ(shape.Height(), 161);
    for (int row : {1, 40, 80, 120, 159}) {
        const int halfWidth = 100 * row / 160;
        EXPECT_NEAR(shape.least[row], 100 - halfWidth, 1) << row;
        EXPECT_NEAR(shape.greatest[row], 100 + halfWidth, 1) << row;
    }
}

TEST(FreehandShape, CrossingOutlineKeepsEverythingBetweenItsOuterPoints)
{
    // A figure eight: each row keeps its leftmost and rightmost point.
    const TracePoint points[] = {{0, 0}, {8, 8}, {0, 8}, {8, 0}, {0, 0}};
    FreehandShape shape = TraceFreehandShape(points, 5);
    ASSERT_EQ(shape.Height(), 9);
    EXPECT_EQ(shape.least[0], 0);
    EXPECT_EQ(shape.greatest[0], 8);
    EXPECT_EQ(shape.least[4], 4);
    EXPECT_EQ(shape.greatest[4], 4);
    EXPECT_EQ(shape.least[8], 0);
    EXPECT_EQ(shape.greatest[8], 8);
}

TEST(FreehandShape, UntouchedRowsAndDegenerateTraces)
{
    EXPECT_EQ(TraceFreehandShape(nullptr, 0).Height(), 0);

    const TracePoint one[] = {{5, 7}};
    FreehandShape dot = TraceFreehandShape(one, 1);
    EXPECT_EQ(dot.Width(), 1);
    EXPECT_EQ(dot.Height(), 1);
    EXPECT_TRUE(dot.RowTouched(0));

    // A jump of one row is not joined; nothing lies between.
    const TracePoint steps[] = {{0, 0}, {3, 1}, {1, 1}};
    FreehandShape near = TraceFreehandShape(steps, 3);
    ASSERT_EQ(near.Height(), 2);
    EXPECT_EQ(near.least[1], 1);
    EXPECT_EQ(near.greatest[1], 3);

    // Joining points never fall outside the box, whatever the slope sign.
    const TracePoint steep[] = {{100, 50}, {90, 0}, {95, 49}};
    FreehandShape shape = TraceFreehandShape(steep, 3);
    for (int row = 0; row < shape.Height(); ++row) {
        ASSERT_TRUE(shape.RowTouched(row)) << row;
        EXPECT_GE(shape.least[row], 0);
        EXPECT_LT(shape.greatest[row], shape.Width());
    }
}

// ---- Flash lines ----------------------------------------------------------------

// How often each pixel is inverted by the lines given, repeat times each.
std::map<std::pair<int, int>, int> InversionCounts(const std::vector<FeedbackLine>& lines, int repeat)
{
    std::map<std::pair<int, int>, int> counts;
    for (const FeedbackLine& line : lines)
        for (int y = line.y; y < line.y + line.height; ++y)
            for (int x = line.x; x < line.x + line.width; ++x)
                counts[{x, y}] += repeat;
    return counts;
}

TEST(FeedbackSweeps, EveryModeStaysInsideAndLeavesTheScreenAsItWas)
{
    const int sizes[][2] = {{10, 10}, {11, 7}, {1, 1}, {2, 9}, {40, 3}};
    for (int mode = kFeedbackCenterIn; mode <= kFeedbackUpDown; ++mode) {
        for (auto& size : sizes) {
            for (int depth : {8, 32}) {
                const int left = 20, top = 30, right = left + size[0], bottom = top + size[1];
                std::vector<FeedbackLine> sweep = FeedbackSweep(mode, left, top, right, bottom);
                ASSERT_FALSE(sweep.empty());
                const int repeat = FeedbackFirstSweepRepeats(mode, depth);
                EXPECT_EQ(repeat % 2, 1) << "a line inverted an even number of times never shows";
                auto counts = InversionCounts(sweep, repeat);
                for (auto& entry : InversionCounts(sweep, 1))
                    counts[entry.first] += entry.second;   // the reverse sweep, once each
                for (auto& entry : counts) {
                    EXPECT_GE(entry.first.first, left);
                    EXPECT_LT(entry.first.first, right);
                    EXPECT_GE(entry.first.second, top);
                    EXPECT_LT(entry.first.second, bottom);
                    EXPECT_EQ(entry.second % 2, 0) << "mode " << mode << " leaves a pixel inverted";
                }
            }
        }
    }
}

TEST(FeedbackSweeps, DirectionOfEachSweep)
{
    // Center-In starts on the edge, Center Out ends there.
    std::vector<FeedbackLine> in = FeedbackSweep(kFeedbackCenterIn, 0, 0, 9, 9);
    EXPECT_EQ(in.front().x, 0);
    EXPECT_EQ(in.front().height, 9);
    std::vector<FeedbackLine> out = FeedbackSweep(kFeedbackCenterOut, 0, 0, 9, 9);
    EXPECT_EQ(out.front().x, 4);
    EXPECT_EQ(out.front().height, 1);
    EXPECT_EQ(out.back().x, 0);
    EXPECT_EQ(out.back().height, 9);
    // Inside Out and Up-Down start from the middle and reach the edges.
    std::vector<FeedbackLine> columns = FeedbackSweep(kFeedbackInsideOut, 0, 0, 10, 4);
    EXPECT_EQ(columns.front().x, 5);
    EXPECT_EQ(columns.back().x, 0);
    EXPECT_EQ(columns.size(), 10u);
    std::vector<FeedbackLine> rows = FeedbackSweep(kFeedbackUpDown, 0, 0, 4, 7);
    EXPECT_EQ(rows.front().y, 3);
    EXPECT_EQ(rows.size(), 7u);
    // Nothing for mode 0, unknown modes and empty rectangles.
    EXPECT_TRUE(FeedbackSweep(kFeedbackNone, 0, 0, 9, 9).empty());
    EXPECT_TRUE(FeedbackSweep(7, 0, 0, 9, 9).empty());
    EXPECT_TRUE(FeedbackSweep(kFeedbackCenterIn, 5, 5, 5, 9).empty());
    EXPECT_EQ(FeedbackFirstSweepRepeats(kFeedbackCenterIn, 8), 3);
    EXPECT_EQ(FeedbackFirstSweepRepeats(kFeedbackUpDown, 4), 5);
    EXPECT_EQ(FeedbackFirstSweepRepeats(kFeedbackUpDown, 24), 1);
}

// ---- Button search -----------------------------------------------------------------

const uint32_t kFace = 0xC0C0C0, kShadow = 0x808080, kHighlight = 0xFFFFFF, kDark = 0x000000;

// A screen of one colour with buttons drawn on it as the system draws them.
class FakeScreen : public PixelSource {
public:
    FakeScreen(int width, int height, uint32_t fill) : width(width), height(height), pixels(width * height, fill) {}
    uint32_t At(int x, int y) const override
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return kNoPixel;
        return pixels[y * width + x];
    }
    void Fill(int left, int top, int right, int bottom, uint32_t color)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                pixels[y * width + x] = color;
    }
    // Highlight on the left and top, shadow on the right and bottom.
    void Button(int left, int top, int right, int bottom)
    {
        Fill(left, top, right, bottom, kFace);
        Fill(left, top, right, top + 1, kHighlight);
        Fill(left, top, left + 1, bottom, kHighlight);
        Fill(right - 1, top, right, bottom, kShadow);
        Fill(left, bottom - 1, right, bottom, kShadow);
    }
    const int width, height;

private:
    std::vector<uint32_t> pixels;
};

TEST(ButtonEdges, RaisedButtonIsFoundFromInside)
{
    FakeScreen screen(640, 480, kFace);
    screen.Button(100, 50, 175, 73);
    EdgeRect rect = FindButtonRectangle(screen, 120, 60, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right, 175);
    EXPECT_EQ(rect.bottom, 73);
}

TEST(ButtonEdges, EdgesWithoutHighlightStartAfterTheShadowRun)
{
    // A flat button: shadow right and bottom, nothing left and top but a
    // dark line, which is not the button's own.
    FakeScreen screen(640, 480, kFace);
    screen.Fill(200, 100, 260, 101, kDark);
    screen.Fill(200, 100, 201, 140, kDark);
    screen.Fill(259, 101, 260, 140, kShadow);
    screen.Fill(201, 139, 260, 140, kShadow);
    EdgeRect rect = FindButtonRectangle(screen, 230, 120, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.left, 201);
    EXPECT_EQ(rect.top, 101);
    EXPECT_EQ(rect.right, 260);
    EXPECT_EQ(rect.bottom, 140);
}

TEST(ButtonEdges, ColoursWithinTenMatch)
{
    EXPECT_TRUE(ColorsMatch(0x8A7676, kShadow));
    EXPECT_FALSE(ColorsMatch(0x8B8080, kShadow));
    EXPECT_FALSE(ColorsMatch(kNoPixel, 0xFFFFFF));
    FakeScreen screen(640, 480, kFace);
    screen.Fill(300, 200, 400, 201, 0x868686);
    screen.Fill(399, 150, 400, 201, 0x7A7A7A);
    EdgeRect rect = FindButtonRectangle(screen, 350, 180, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.right, 400);
    EXPECT_EQ(rect.bottom, 201);
}

TEST(ButtonEdges, FlatAreaOrEdgesOutOfReachGiveTheSquare)
{
    FakeScreen screen(640, 480, kFace);
    EdgeRect rect = FindButtonRectangle(screen, 320, 240, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 220);
    EXPECT_EQ(rect.right, 340);
    EXPECT_EQ(rect.bottom, 260);
    // Clipped at the screen's corner.
    rect = FindButtonRectangle(screen, 5, 470, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.bottom, 480);
    EXPECT_EQ(rect.right, 25);
    // A shadow edge 200 or more pixels away is out of reach.
    screen.Button(0, 0, 521, 300);
    rect = FindButtonRectangle(screen, 320, 100, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.right - rect.left, 40);
    rect = FindButtonRectangle(screen, 321, 100, screen.width, screen.height, kShadow, kHighlight);
    EXPECT_EQ(rect.right, 521);
}

}  // namespace
