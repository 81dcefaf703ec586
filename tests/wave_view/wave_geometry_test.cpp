#include "capture/view/meaning_layout.h"
#include "capture/view/wave_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST(WaveGeometry, SpanKnowsTheEdgesItRunsBetween) {
    const WaveLane lane = LaneOf({{560, 1120}, {560, 1120}, {560, 1120}, {560, 50000}});
    const Span span = MeasureSpan(lane, 11, 24, 200);
    EXPECT_EQ(span.startMicros, 1120);     // the end of the pulse under the start mark
    EXPECT_EQ(span.endMicros, 2240 + 560); // the third pulse's falling edge
}

TEST(WaveGeometry, MarksKeepTheirTimesThroughAZoom) {
    // x = 110 at 200 µs per pixel is 20000 µs: x = 410 at 50, x = 30 at 1000.
    EXPECT_EQ(MarkAfterZoom(110, 200, 50), 410);
    EXPECT_EQ(MarkAfterZoom(110, 200, 1000), 30);
    EXPECT_EQ(MarkAfterZoom(0, 200, 50), 0); // the start of the image stays
    EXPECT_EQ(MarkAfterZoom(5, 200, 25), 1); // before time 0: kept on the image, off x = 0
    EXPECT_EQ(MarkAfterZoom(19000, 200, 25), kWaveImageWidth - 1);
}

TEST(WaveGeometry, SpanText) {
    EXPECT_EQ(SpanText(1050), "tw:1.050mS");
    EXPECT_EQ(SpanText(0), "tw:0.000mS");
    EXPECT_EQ(SpanText(123456), "tw:123.456mS");
}

// Ten 560/1120 pulses with a leader and a stop, read as bytes of 4 bits.
struct Meanings {
    WaveLane lane;
    PulseMeanings meanings;
    Meanings() {
        lane.Pairs[0] = {9000, 13500};
        meanings.Roles.push_back(PulseRole::Leader);
        for (int i = 1; i <= 8; ++i) {
            lane.Pairs[static_cast<std::size_t>(i)] = {560, i % 3 == 0 ? 2240 : 1120};
            meanings.Roles.push_back(i % 3 == 0 ? PulseRole::One : PulseRole::Zero);
        }
        lane.Pairs[9] = {560, 40000};
        meanings.Roles.push_back(PulseRole::Trailer);
        lane.LastIndex = 9;
        meanings.Bytes = {{1, 4, 0x4, 4}, {5, 8, 0x2, 4}};
        meanings.ResultPairs = 10;
    }
};

int Count(const MeaningLayout& l, MeaningKind kind) {
    return static_cast<int>(
        std::count_if(l.labels.begin(), l.labels.end(),
                      [kind](const MeaningLabel& m) { return m.kind == kind; }));
}

TEST(MeaningLayout, LabelsThinOutAsTheViewZoomsOut) {
    const Meanings m;
    // 50 µs a pixel: bits 22 px apart, each under its pulse, bytes above.
    MeaningLayout l = LayOutMeanings(m.lane, m.meanings, 50, 6, 10, kWaveImageWidth);
    EXPECT_TRUE(l.bitsShown);
    EXPECT_EQ(Count(l, MeaningKind::Bit), 8);
    EXPECT_EQ(Count(l, MeaningKind::Role), 2); // leader and trailer
    EXPECT_EQ(Count(l, MeaningKind::Byte), 2);
    for (const MeaningLabel& label : l.labels)
        EXPECT_EQ(label.row,
                  label.kind == MeaningKind::Byte ? MeaningRow::Above : MeaningRow::Below);
    // The first bit: pulse 1 from x = 13500/50 + 10 = 280 to 280 + 22; centred.
    const auto bit = std::find_if(l.labels.begin(), l.labels.end(),
                                  [](const MeaningLabel& b) { return b.kind == MeaningKind::Bit; });
    EXPECT_EQ(bit->x, 280 + (22 - 6) / 2);
    EXPECT_STREQ(bit->text, "0");
    // Byte boundaries where each byte begins and ends: 13500 µs, then 5600
    // µs of four pulses each.
    EXPECT_EQ(l.boundaries,
              (std::vector<int>{280, (13500 + 5600) / 50 + 10, (13500 + 11200) / 50 + 10}));

    // 200 µs a pixel: a 0 is 5 px, too narrow for a 6 px digit, so no bit at
    // all (a missing digit would read as a gap); the bytes move below.
    l = LayOutMeanings(m.lane, m.meanings, 200, 6, 10, kWaveImageWidth);
    EXPECT_FALSE(l.bitsShown);
    EXPECT_EQ(Count(l, MeaningKind::Bit), 0);
    EXPECT_EQ(Count(l, MeaningKind::Byte), 2);
    for (const MeaningLabel& label : l.labels)
        EXPECT_EQ(label.row, MeaningRow::Below);

    // 3000 µs a pixel: a byte is 2 px; no values, no boundaries, only the
    // leader and trailer that are still wide enough.
    l = LayOutMeanings(m.lane, m.meanings, 3000, 6, 10, kWaveImageWidth);
    EXPECT_EQ(Count(l, MeaningKind::Byte), 0);
    EXPECT_TRUE(l.boundaries.empty());
    EXPECT_EQ(Count(l, MeaningKind::Role), 1); // 40 ms trailer: 13 px; leader 4 px
}

TEST(MeaningLayout, NothingUnderTheLabelNothingOverlappingNothingPastTheImage) {
    const Meanings m;
    // The lane's label ends at x = 400: the first byte (280..368) is left out above.
    MeaningLayout l = LayOutMeanings(m.lane, m.meanings, 50, 6, 400, kWaveImageWidth);
    EXPECT_EQ(Count(l, MeaningKind::Byte), 1);
    for (std::size_t i = 1; i < l.labels.size(); ++i) {
        if (l.labels[i].row == l.labels[i - 1].row) {
            EXPECT_GT(l.labels[i].x, l.labels[i - 1].x + l.labels[i - 1].width);
        }
    }
    // An image 310 px wide holds the leader and one whole bit (280..302).
    l = LayOutMeanings(m.lane, m.meanings, 50, 6, 10, 310);
    for (const MeaningLabel& label : l.labels)
        EXPECT_LE(label.x + label.width, 310);
    EXPECT_EQ(Count(l, MeaningKind::Bit), 1);
}

} // namespace
} // namespace quvan
