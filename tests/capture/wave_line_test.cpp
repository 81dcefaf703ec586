// Wave-line fields and the sorting of pulses into patterns.

#include "capture/wave_line.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

namespace quvan::test {
namespace {

TEST(ParseWaveLine, BothIndexWidthsAndUnreadableFields) {
    WaveLineFields f = ParseWaveLine("[012]:00560 001120");
    EXPECT_EQ(f.Index, 12);
    EXPECT_EQ(f.High, 560);
    EXPECT_EQ(f.Width, 1120);
    f = ParseWaveLine("[0012]:00560 0001120");
    EXPECT_EQ(f.Index, 12);
    EXPECT_EQ(f.High, 560);
    EXPECT_EQ(f.Width, 1120);
    f = ParseWaveLine("[  7]: 0560 001120"); // leading blanks are allowed
    EXPECT_EQ(f.Index, 7);
    EXPECT_EQ(f.High, 560);
    f = ParseWaveLine("[0x5]:00560 001120");
    EXPECT_EQ(f.Index, 0); // unreadable index counts as 0 and starts a capture
    f = ParseWaveLine("[005]:00560");
    EXPECT_EQ(f.Width, 0); // beyond the end of the line
    f = ParseWaveLine("[005]:005a0 001120");
    EXPECT_EQ(f.High, 0);
}

TEST(HandleWaveLine, FirstLineStartsLaneZeroAndFillsTheGrid) {
    LearningOptions o;
    o.CursorAuto = true;
    Session s(o);
    s.startLearning();
    s.feed({"[000]:00560 001120"});
    EXPECT_EQ(s.state->CurrentLane, 0);
    const WaveLane& lane = s.state->Lanes[0];
    EXPECT_EQ(lane.CenterHigh[0], 560);
    EXPECT_EQ(lane.CenterWidth[0], 1120);
    EXPECT_EQ(s.effects.waveCells[std::make_pair(1, 1)], "    560 ");
    EXPECT_EQ(s.effects.waveCells[std::make_pair(2, 1)], "   1120 ");
    EXPECT_EQ(s.effects.waveCells[std::make_pair(3, 1)], "   0 ");
}

TEST(HandleWaveLine, WindowsWidenAndCentresMoveAsInTheWorkedExample) {
    LearningOptions o;
    o.CursorAuto = true;
    Session s(o);
    s.startLearning();
    s.feed({"[000]:00560 001120", "[001]:00580 001130"});
    const PatternBounds& b = s.state->Bounds;
    EXPECT_EQ(b.MinHigh[0], 448);
    EXPECT_EQ(b.MaxHigh[0], 696);
    EXPECT_EQ(b.MinWidth[0], 952);
    EXPECT_EQ(b.MaxWidth[0], 1299);
    EXPECT_EQ(s.state->Lanes[0].CenterHigh[0], 570);
    EXPECT_EQ(s.state->Lanes[0].CenterWidth[0], 1120);
    EXPECT_EQ(s.state->Lanes[0].PatternOf[1], 0);
    // On the window's edge a pair does not match (strict comparisons).
    s.feed({"[002]:00696 001120"});
    EXPECT_EQ(s.state->Lanes[0].PatternOf[2], 1);
    EXPECT_EQ(s.state->Lanes[0].PatternCount, 2);
}

TEST(HandleWaveLine, SeventeenthPatternGetsNoWindow) {
    LearningOptions o;
    o.HrangeText = std::string("0");
    Session s(o);
    std::vector<std::string> lines;
    for (int i = 0; i < 17; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "[%03d]:00560 001120", i);
        lines.push_back(buf);
    }
    s.feed(lines);
    const WaveLane& lane = s.state->Lanes[0];
    EXPECT_EQ(lane.PatternOf[15], 15);
    EXPECT_EQ(lane.PatternOf[16], 16);
    EXPECT_EQ(lane.PatternCount, 17);
    EXPECT_EQ(s.effects.waveCells[std::make_pair(3, 17)], "  16 ");
    for (int i = 0; i < kPatternWindows; ++i)
        EXPECT_EQ(s.state->Bounds.MinHigh[i], 560) << i; // 560 * 100 / 100
}

TEST(HandleWaveLine, IndexLimitsAndTheLearningTimeClosesOnce) {
    LearningOptions o;
    o.LtimeText = std::string("1"); // 1000 µs
    Session s(o);
    s.feed({"[000]:00560 000600", "[4095]:00560 0000600"});
    EXPECT_EQ(s.state->Lanes[0].LastIndex, 4095);
    s.feed({"[4096]:00560 0000600"});
    EXPECT_EQ(s.state->Lanes[0].LastIndex, 4095);
    // Total 1200 µs passed 1000, but the last period is below the learning
    // time: the capture stays open. A long last period closes it.
    EXPECT_EQ(s.state->Result.DataBits, 0);
    s.feed({"[000]:00560 000600", "[001]:00560 000600", "[002]:00560 002000"});
    EXPECT_EQ(s.state->Result.DataBits, 3);
    EXPECT_EQ(s.state->Result.Frames, 1);
    s.feed({"[003]:00560 002000"});
    EXPECT_EQ(s.state->Lanes[0].LastIndex, 2); // closed: ignored
    EXPECT_EQ(s.effects.sounds, std::vector<Sound>{Sound::Chimes});
}

TEST(HandleWaveLine, HugeToleranceAndWidthsDoNotWrapRound) {
    LearningOptions o;
    o.HrangeText = "2147483647";
    Session s(o);
    s.feed({"[0000]:99999 9999999", "[0001]:99999 9999999"});
    EXPECT_EQ(s.state->Lanes[0].PatternOf[1], 0);
    EXPECT_GT(s.state->Bounds.MaxHigh[0], 0);
}

} // namespace
} // namespace quvan::test
