#include "capture/view/wave_view.h"

#include <QTest>
#include <gtest/gtest.h>

namespace quvan {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGreen = qRgb(0, 128, 0);

WaveLane Nec(int pairs) {
    WaveLane lane;
    lane.Pairs[0] = {9000, 13500};
    for (int i = 1; i < pairs; ++i)
        lane.Pairs[static_cast<std::size_t>(i)] = {560, i % 2 ? 1120 : 2250};
    lane.LastIndex = pairs - 1;
    return lane;
}

TEST(WaveView, DrawsTheSquareWaveOfAPair) {
    WaveView view(2);
    WaveLane lane;
    lane.Pairs[0] = {560, 1120};
    view.DrawPair(0, 0, lane);
    const QImage& image = view.image();
    EXPECT_EQ(image.pixel(5, LaneLowY(0)), kGreen);   // lead-in at the low level
    EXPECT_EQ(image.pixel(10, 30), kGreen);           // rising edge at x = 10
    EXPECT_EQ(image.pixel(11, LaneHighY(0)), kGreen); // mark
    EXPECT_EQ(image.pixel(12, 30), kGreen);           // falling edge at x = 12
    EXPECT_EQ(image.pixel(14, LaneLowY(0)), kGreen);  // space up to x = 15
    EXPECT_EQ(image.pixel(14, LaneHighY(0)), kWhite);
    EXPECT_EQ(image.pixel(11, LaneLowY(1)), kWhite); // lane 1 untouched
}

TEST(WaveView, ANewCaptureInLaneZeroClearsAllButLaneOneOnlyItself) {
    WaveView view(2);
    const WaveLane lane = Nec(10);
    for (int i = 0; i <= lane.LastIndex; ++i)
        view.DrawPair(1, i, lane);
    view.DrawPair(0, 0, lane);
    EXPECT_EQ(view.image().pixel(20, LaneHighY(1)), kWhite);
    for (int i = 1; i <= lane.LastIndex; ++i)
        view.DrawPair(0, i, lane);
    view.DrawPair(1, 0, lane);
    EXPECT_EQ(view.image().pixel(20, LaneHighY(0)), kGreen);
}

TEST(WaveView, DrawingStopsAtTheRightEdge) {
    WaveView view(2);
    WaveLane lane;
    for (int i = 0; i <= kMaxPairIndex; ++i)
        lane.Pairs[static_cast<std::size_t>(i)] = {500, 1000};
    lane.LastIndex = kMaxPairIndex;
    std::array<WaveLane, kLaneSlots> lanes{};
    lanes[0] = lane;
    view.RedrawLanes(25, lanes); // 4096 ms at 25 µs per pixel: far wider than the image
    EXPECT_EQ(view.zoom(), 25);
    EXPECT_EQ(view.image().pixel(kWaveImageWidth - 1, LaneLowY(0)), kGreen);
}

TEST(WaveView, MarksAreDrawnByExclusiveOrAndMove) {
    WaveView view(2);
    const QRgb before = view.image().pixel(100, 30);
    view.MoveMark(100, Qt::RightButton);
    EXPECT_NE(view.image().pixel(100, 30), before);
    EXPECT_EQ(view.startMark(), 100);
    view.MoveMark(200, Qt::RightButton); // moving it removes the old line
    EXPECT_EQ(view.image().pixel(100, 30), before);
    EXPECT_NE(view.image().pixel(200, 30), kWhite);

    view.MoveMark(300, Qt::LeftButton);
    EXPECT_EQ(view.endMark(), 300);
    view.MoveMark(150, Qt::LeftButton); // left of the start mark: start goes to 0
    EXPECT_EQ(view.startMark(), 0);
    EXPECT_EQ(view.endMark(), 150);
    EXPECT_EQ(view.image().pixel(200, 30), kWhite);
    EXPECT_EQ(view.image().pixel(300, 30), kWhite);

    // Clearing resets the end mark; a start mark at x = 0 stays.
    view.ClearLanes(2);
    EXPECT_EQ(view.endMark(), -1);
    EXPECT_EQ(view.startMark(), 0);
    EXPECT_EQ(view.image().pixel(150, 30), kWhite);
}

TEST(WaveView, AnEndMarkAloneBringsAStartMarkAtZero) {
    WaveView view(4);
    view.MoveMark(50, Qt::LeftButton);
    EXPECT_EQ(view.startMark(), 0);
    EXPECT_EQ(view.endMark(), 50);
    EXPECT_NE(view.image().pixel(0, 100), kWhite);
    EXPECT_NE(view.image().pixel(50, 190), kWhite); // marks span all four lanes
}

TEST(WaveView, ReleasingTheLeftButtonAsksForAMeasurement) {
    WaveView view(2);
    int measuredX = -1;
    QObject::connect(&view, &WaveView::measureRequested, [&](int x, int) { measuredX = x; });
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(measuredX, -1); // no end mark yet
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(measuredX, 40);
}

// A redraw draws each lane in one go; the picture is the one that drawing
// pulse by pulse, as the board reports them, gives.
TEST(WaveView, ARedrawDrawsWhatThePulsesDrewOneByOne) {
    std::array<WaveLane, kLaneSlots> lanes{};
    lanes[0] = Nec(300);
    lanes[1] = Nec(40);
    for (int zoom : {25, 200, 3000}) {
        WaveView byPulse(2);
        WaveView redrawn(2);
        redrawn.RedrawLanes(200, lanes); // something to draw over
        redrawn.RedrawLanes(zoom, lanes);
        byPulse.RedrawLanes(zoom, {}); // the zoom alone
        for (int lane = 0; lane < 2; ++lane)
            for (int i = 0; i <= lanes[static_cast<std::size_t>(lane)].LastIndex; ++i)
                byPulse.DrawPair(lane, i, lanes[static_cast<std::size_t>(lane)]);
        EXPECT_EQ(byPulse.image(), redrawn.image()) << zoom;
    }
}

// Pixels of neither white nor the wave's green in a rectangle.
int Inked(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) != kWhite && image.pixel(x, y) != kGreen ? 1 : 0;
    return n;
}

// NEC-like pulses (leader, alternating 0 and 1) read as bits and two bytes.
PulseMeanings MeaningsOf(const WaveLane& lane) {
    PulseMeanings m;
    m.Roles.push_back(PulseRole::Leader);
    for (int i = 1; i <= lane.LastIndex; ++i)
        m.Roles.push_back(i % 2 ? PulseRole::Zero : PulseRole::One);
    m.Bytes = {{1, 8, 0xAA, 8}, {9, 16, 0xAA, 8}};
    m.ResultPairs = lane.LastIndex + 1;
    return m;
}

TEST(WaveView, MeaningsAreDrawnUnderAndOverTheLaneWhereTheyFit) {
    WaveView view(2);
    const WaveLane lane = Nec(17);
    std::array<WaveLane, kLaneSlots> lanes{};
    lanes[1] = lane; // the last lane: its labels under the wave have seven rows
    view.RedrawLanes(50, lanes);
    view.DrawMeanings(1, lane, MeaningsOf(lane));
    const int bitsStart = 13500 / 50 + 10;
    const QRect below(bitsStart, LaneLowY(1) + 1, 300, view.image().height() - LaneLowY(1) - 1);
    const QRect above(bitsStart, 50 + 9, 300, 10);
    EXPECT_GT(Inked(view.image(), below), 16 * 4); // sixteen digits
    EXPECT_GT(Inked(view.image(), above), 2 * 4);  // two byte values
    // Nothing lands on the wave itself, nor in the other lane.
    EXPECT_EQ(Inked(view.image(), QRect(bitsStart + 1, LaneHighY(1) + 1, 300, 18)), 0);
    EXPECT_EQ(Inked(view.image(), QRect(0, 0, 2000, 50)), 0);

    // At 3000 µs a pixel the pulses are a pixel wide: no digit, no value;
    // the bytes, 5 px each, keep only their three boundary ticks.
    view.RedrawLanes(3000, lanes);
    view.DrawMeanings(1, lane, MeaningsOf(lane));
    EXPECT_EQ(Inked(view.image(), QRect(10, 50, 200, 20)), 0);
    EXPECT_LE(Inked(view.image(), QRect(10, LaneLowY(1) + 1, 200, 7)), 3 * 7);
}

TEST(WaveView, MarksKeepTheirTimesThroughAZoom) {
    WaveView view(2);
    std::array<WaveLane, kLaneSlots> lanes{};
    lanes[0] = Nec(10);
    view.RedrawLanes(200, lanes);
    view.MoveMark(110, Qt::RightButton);
    view.MoveMark(210, Qt::LeftButton);
    view.RedrawLanes(50, lanes);
    EXPECT_EQ(view.startMark(), 410); // 20000 µs
    EXPECT_EQ(view.endMark(), 810);   // 40000 µs
    EXPECT_NE(view.image().pixel(410, 75), kWhite);
    EXPECT_NE(view.image().pixel(810, 75), kWhite);
    EXPECT_EQ(view.image().pixel(110, 75), kWhite); // the old lines are gone
    EXPECT_EQ(view.image().pixel(210, 75), kWhite);
    view.RedrawLanes(200, lanes);
    EXPECT_EQ(view.startMark(), 110);
    EXPECT_EQ(view.image().pixel(410, 75), kWhite);
    // A new capture still takes them away.
    view.DrawPair(0, 0, lanes[0]);
    EXPECT_EQ(view.startMark(), -1);
    EXPECT_EQ(view.endMark(), -1);
}

TEST(WaveView, TheMeasurementStaysThroughAZoomAndGoesWithTheMarks) {
    WaveView view(2);
    std::array<WaveLane, kLaneSlots> lanes{};
    lanes[0] = Nec(10);
    view.RedrawLanes(200, lanes);
    view.MoveMark(20, Qt::RightButton);
    view.MoveMark(100, Qt::LeftButton);
    view.ShowMeasurement({0, 13500, 16875, QStringLiteral("tw:3.375mS")});
    // Drawn over the picture, not into it: the start edge at 13500 µs.
    const QImage shown = view.grab(QRect(0, 0, 200, 98)).toImage();
    const int startX = 13500 / 200 + 10;
    EXPECT_EQ(shown.pixelColor(startX, 30), QColor(230, 110, 0));
    EXPECT_EQ(view.image().pixel(startX, 30), kGreen); // the rising edge under it
    view.RedrawLanes(50, lanes);
    ASSERT_TRUE(view.measurement().has_value());
    EXPECT_EQ(view.measurement()->startMicros, 13500);
    view.MoveMark(300, Qt::LeftButton); // the end mark moves: the span is to be measured anew
    EXPECT_FALSE(view.measurement().has_value());
    view.ShowMeasurement({0, 13500, 16875, QStringLiteral("tw:3.375mS")});
    view.ClearLanes(2);
    EXPECT_FALSE(view.measurement().has_value());
}

} // namespace
} // namespace quvan
