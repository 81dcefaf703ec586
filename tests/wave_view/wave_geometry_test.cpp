#include "capture/view/wave_geometry.h"

#include <gtest/gtest.h>

namespace quvan {
namespace {

WaveLane LaneOf(std::initializer_list<PulsePair> pairs) {
    WaveLane lane;
    int i = 0;
    for (const PulsePair& pair : pairs) {
        lane.Pairs[static_cast<std::size_t>(i++)] = pair;
    }
    lane.LastIndex = i - 1;
    return lane;
}

TEST(WaveGeometry, APairAtZoom200) {
    const PairEdges edges = EdgesOfPair(0, {560, 1120}, 200);
    EXPECT_EQ(edges.fallX, 12);     // 560 / 200 + 10
    EXPECT_EQ(edges.nextRiseX, 15); // 1120 / 200 + 10
    const PairEdges later = EdgesOfPair(1120, {560, 1120}, 200);
    EXPECT_EQ(later.fallX, 18);
    EXPECT_EQ(later.nextRiseX, 21);
    // Nothing is placed past the right edge of the image.
    const PairEdges far = EdgesOfPair(std::int64_t{60} * 1000 * 1000, {560, 1120}, 25);
    EXPECT_EQ(far.fallX, kWaveImageWidth);
    EXPECT_EQ(far.nextRiseX, kWaveImageWidth);
}

TEST(WaveGeometry, ZoomButtonsWalkTheStepsAndStopAtTheEnds) {
    EXPECT_EQ(NextZoom(200, -1), 150);
    EXPECT_EQ(NextZoom(200, +1), 250);
    EXPECT_EQ(NextZoom(3000, +1), 3000);
    EXPECT_EQ(NextZoom(25, -1), 25);
    EXPECT_EQ(NextZoom(137, -1), 3000);
    EXPECT_EQ(NextZoom(137, +1), 3000);
}

TEST(WaveGeometry, SpanRunsFromTheEndOfTheStartPulseToTheEdgeBeforeThePointer) {
    const WaveLane lane = LaneOf({{560, 1120}, {560, 1120}, {560, 1120}, {560, 50000}});
    // Start mark inside the first pulse, pointer in the middle of the third
    // pulse's mark: from the end of the first to the start of the third.
    Span span = MeasureSpan(lane, 11, 22, 200);
    EXPECT_EQ(span.micros, 1120);
    EXPECT_EQ(span.row, 3);
    // After the third mark, the pointer snaps to its falling edge.
    span = MeasureSpan(lane, 11, 24, 200); // t = 2800
    EXPECT_EQ(span.micros, 2240 + 560 - 1120);
    // A start mark at or left of time 0 measures from 0.
    EXPECT_EQ(MeasureSpan(lane, 10, 22, 200).micros, 2240);
    EXPECT_EQ(MeasureSpan(lane, 0, 22, 200).micros, 2240);
    // An end before the start gives 0, never a negative span.
    EXPECT_EQ(MeasureSpan(lane, 20, 11, 200).micros, 0);
}

TEST(WaveGeometry, PointerBeyondTheCapture) {
    const WaveLane lane = LaneOf({{560, 1120}, {560, 1120}});
    const Span span = MeasureSpan(lane, 0, 5000, 200);
    EXPECT_EQ(span.micros, 2240);
    EXPECT_EQ(span.row, 3); // the first empty row

    WaveLane full;
    for (auto& pair : full.Pairs)
        pair = {560, 1120};
    full.LastIndex = kMaxPairIndex;
    EXPECT_EQ(MeasureSpan(full, 0, kWaveImageWidth, 3000).row, kMaxPairIndex + 1);
}

TEST(WaveGeometry, SpanText) {
    EXPECT_EQ(SpanText(1050), "tw:1.050mS");
    EXPECT_EQ(SpanText(0), "tw:0.000mS");
    EXPECT_EQ(SpanText(123456), "tw:123.456mS");
}

} // namespace
} // namespace quvan
