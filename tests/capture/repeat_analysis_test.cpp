// The search for the repeating frame on pattern sequences set by hand.

#include "capture/repeat_analysis.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

namespace quvan::test {
namespace {

// Frames of 34 pairs: pattern 0, 32 data pulses (1 and 2), pattern 3.
void FillFrames(WaveLane& lane, int frames, int lastWidth) {
    int j = 0;
    for (int f = 0; f < frames; ++f) {
        lane.PatternOf[j++] = 0;
        for (int b = 0; b < 32; ++b)
            lane.PatternOf[j++] = (b % 3 == 0) ? 2 : 1;
        lane.PatternOf[j++] = 3;
    }
    lane.LastIndex = j - 1;
    lane.Pairs[j - 1].Width = lastWidth;
}

struct RepeatFixture : ::testing::Test {
    Session s;
    WaveLane& lane() { return s.state->Lanes[0]; }
    void SetUp() override {
        s.state->CurrentLane = 0;
        s.state->LearnTime = 500000;
    }
};

TEST_F(RepeatFixture, FiveFramesGiveOneFrameRepeatedThreeTimes) {
    FillFrames(lane(), 5, 40000);
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(s.state->Result.RepeatBit, 0);
    EXPECT_EQ(s.state->Result.DataBits, 34);
    EXPECT_EQ(s.state->Result.Frames, 3);
}

TEST_F(RepeatFixture, ThreeFramesWaitForALongLastPeriod) {
    FillFrames(lane(), 3, 40000);
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(s.state->Result.DataBits, 0); // one repeat only, capture stays open
    lane().Pairs[101].Width = 500000;
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(s.state->Result.DataBits, 102);
    EXPECT_EQ(s.state->Result.RepeatBit, 0);
    EXPECT_EQ(s.state->Result.Frames, 1);
}

TEST_F(RepeatFixture, OneShapeRepeatedIsKeptWholeWhenItsPeriodIsShort) {
    lane().LastIndex = 10; // pattern 0 eleven times
    lane().Pairs[10].Width = 600000;
    lane().CenterWidth[0] = 1000;
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(s.state->Result.DataBits, 11);
    EXPECT_EQ(s.state->Result.Frames, 1);
    s.state->Result = {};
    lane().CenterWidth[0] = 30000;
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(s.state->Result.DataBits, 1);
    EXPECT_EQ(s.state->Result.RepeatBit, 0);
    EXPECT_EQ(s.state->Result.Frames, 8);
}

TEST_F(RepeatFixture, ConfirmationMessageWarnsAboutShortCaptures) {
    s.options.LearningMsg = true;
    FillFrames(lane(), 5, 40000);
    s.state->CaptureTotal = 100000; // below the learning time, but 3 frames
    RepeatAnalysis(s.ctx);
    ASSERT_EQ(s.effects.messages.size(), 1u);
    EXPECT_EQ(s.effects.messages[0], "0|確認|学習完了しました。\nリモコンのボタンを離して下さい。");
    EXPECT_EQ(s.effects.sent, std::vector<std::string>{"T"});
    s.state->Result = {};
    lane().LastIndex = 10;
    lane().Pairs[10].Width = 600000;
    lane().CenterWidth[0] = 1000;
    for (int i = 0; i <= 10; ++i)
        lane().PatternOf[i] = 0;
    RepeatAnalysis(s.ctx); // whole capture, Frames 1, short total
    EXPECT_EQ(s.effects.messages.back(),
              "0|警告|学習の信頼性が低いです。リモコンのボタンを１秒以上押して下さい。");
}

} // namespace
} // namespace quvan::test

namespace quvan::test {
namespace {

// What the capture closed on is kept with the lane, for the diagnosis.
TEST_F(RepeatFixture, TheLaneKeepsWhyTheCaptureClosed) {
    FillFrames(lane(), 3, 40000);
    RepeatAnalysis(s.ctx);
    // No result yet: the last look is kept all the same (one repeat of 34).
    EXPECT_EQ(lane().Repeat.Close, CaptureClose::Open);
    EXPECT_EQ(lane().Repeat.Length, 34);
    EXPECT_EQ(lane().Repeat.Repeats, 1);
    lane().Pairs[101].Width = 500000;
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(lane().Repeat.Close, CaptureClose::GapPassed);
    EXPECT_EQ(lane().Repeat.LastIndex, 101);

    s.state->Result = {};
    FillFrames(lane(), 5, 40000);
    RepeatAnalysis(s.ctx);
    EXPECT_EQ(lane().Repeat.Close, CaptureClose::FrameRepeats);
    EXPECT_EQ(lane().Repeat.Start, 0);
    EXPECT_EQ(lane().Repeat.Length, 34);
    EXPECT_EQ(lane().Repeat.Repeats, 3);
}

TEST(CloseCapture, TheAnalysisLineTakesAnOpenCaptureWhole) {
    Session s;
    s.feed(BoardLines(NecFrame({0x20, 0xDF, 0x10, 0xEF}), "38.0"));
    const WaveLane& lane = s.state->Lanes[0];
    EXPECT_EQ(lane.Repeat.Close, CaptureClose::AnalysisLine);
    EXPECT_EQ(lane.Repeat.LastIndex, 33);
    EXPECT_EQ(s.state->Result.DataBits, 34);
    // The capture's own tolerances stay with it.
    EXPECT_EQ(lane.HRange, 20);
    EXPECT_EQ(lane.WRange, 15);
    EXPECT_EQ(lane.LearnTime, 500000);
    const std::uint32_t serial = lane.Serial;
    s.startLearning();
    s.feed(BoardLines(NecFrame({0x20, 0xDF, 0x10, 0xEF}), "38.0"));
    EXPECT_EQ(s.state->Lanes[0].Serial, serial + 1); // a new capture in the same lane
}

} // namespace
} // namespace quvan::test
