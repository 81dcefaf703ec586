// The decoder chain on whole captures: logic cells, FullCode frames, the
// frame-collapsing rule of NEC-type codes and the set that rewrites the frame.

#include "decode/code_assembly.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

namespace quvan::test {
namespace {

TEST(CaptureDecoder, FullCodeLogsEveryFrameAndWritesLogicCells) {
    LearningOptions o;
    o.FullCode = true;
    Session s(o);
    s.feed(BoardLines(Repeat(NecFrame({0x20, 0xDF, 0x10, 0xEF}), 3), "38.0"));
    EXPECT_EQ(s.table.cell(1, ColResult), "Tm:NEC-32A    d:20DF 10EF 20DF 10EF 20DF 10EF");
    const std::vector<std::string> frames{"fno:01 20DF 10EF", "fno:02 20DF 10EF",
                                          "fno:03 20DF 10EF"};
    EXPECT_EQ(s.effects.log, frames);
    // Lane 0's Logic column is 4; row j+1 holds pair j. 0x20 starts 0,0,0,0,0,1.
    EXPECT_EQ(s.effects.waveCells[std::make_pair(4, 2)], "   0");
    EXPECT_EQ(s.effects.waveCells[std::make_pair(4, 7)], "   1");
    EXPECT_EQ(s.effects.waveCells.count(std::make_pair(4, 1)), 0u); // the leader is no bit
}

WaveLane NecLane(const std::vector<std::vector<int>>& frames) {
    WaveLane lane;
    lane.CenterHigh = {9000, 560, 560, 560};
    lane.CenterWidth = {13500, 1120, 2250, 40500};
    lane.PatternCount = 4;
    int j = 0;
    for (const auto& bytes : frames) {
        lane.PatternOf[j++] = 0;
        for (bool b : BitsLsbFirst(bytes))
            lane.PatternOf[j++] = b ? 2 : 1;
        lane.PatternOf[j++] = 3;
    }
    lane.LastIndex = j - 1;
    return lane;
}

TEST(AssembleCode, NecTypeTakesTheFirstAndOneDifferingFrame) {
    auto lane = std::make_unique<WaveLane>(
        NecLane({{0x20, 0xDF, 0x10, 0xEF}, {0x20, 0xDF, 0x11, 0xEE}, {0x20, 0xDF, 0x12, 0xED}}));
    Recognition rec;
    rec.FormatIndex = 15;
    rec.FramePairs = 102;
    EXPECT_EQ(AssembleCode(3, rec, *lane, false).Code, "20DF 10EF 20DF 11EE");
    auto same = std::make_unique<WaveLane>(
        NecLane({{0x20, 0xDF, 0x10, 0xEF}, {0x20, 0xDF, 0x10, 0xEF}, {0x20, 0xDF, 0x12, 0xED}}));
    EXPECT_EQ(AssembleCode(3, rec, *same, false).Code, "20DF 10EF");
}

// Leader 2000/4000 with 520 µs marks and 1000/1500 µs periods: the set that
// stores its own repeat layout (pairs 18..35 repeat) with the signal.
TEST(CaptureDecoder, Msw7430RewritesTheCaptureResult) {
    Session s;
    const Signal frame =
        PulseDistance(2000, 2000, 520, 480, 980, BitsLsbFirst({0x34, 0x12}), 40000);
    s.feed(BoardLines(Repeat(frame, 3), "38.0"));
    EXPECT_EQ(s.table.cell(1, ColResult), "Tm:MSW7430    d:3412 3412");
    EXPECT_EQ(s.table.record(1).DataBits, 36);
    EXPECT_EQ(s.table.record(1).RepeatBit, 18);
}

TEST(CaptureDecoder, MultiHeaderAndPcodeWriteThePatternCodes) {
    LearningOptions o;
    o.MultiHeader = true;
    Session s(o);
    s.feed(BoardLines({{9000, 4500}, {560, 565}, {560, 1690}}, "38.0"));
    EXPECT_EQ(s.table.cell(1, ColResult), "Code(  3bits): 012");
    EXPECT_TRUE(s.effects.labels.empty()); // no lane label for these options
}

} // namespace
} // namespace quvan::test
