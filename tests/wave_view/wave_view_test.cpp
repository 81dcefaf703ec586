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

} // namespace
} // namespace quvan
