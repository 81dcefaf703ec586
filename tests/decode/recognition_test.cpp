// Timing windows, the fit test and the frame rules of the recognition.

#include "decode/code_assembly.h"
#include "decode/format_names.h"
#include "decode/recognition.h"
#include "decode/timing_sets.h"

#include <gtest/gtest.h>

#include <memory>

namespace quvan {
namespace {

TEST(TimingWindows, LeaderAndSymbolRangesAndSetEightsWiderMarks) {
    const TimingWindows nec = MakeTimingWindows(3);
    EXPECT_EQ(nec.LeaderHigh.Lo, 8100);
    EXPECT_EQ(nec.LeaderHigh.Hi, 10800);
    EXPECT_EQ(nec.ShortWidth.Lo, 900);
    EXPECT_EQ(nec.ShortWidth.Hi, 1350);
    EXPECT_TRUE(nec.ShortWidth.contains(1350)); // both ends belong to the window
    const TimingWindows sharp = MakeTimingWindows(8);
    EXPECT_EQ(sharp.ShortHigh.Lo, 180);
    EXPECT_EQ(sharp.ShortHigh.Hi, 480);
    EXPECT_EQ(sharp.ShortWidth.Lo, 848); // widths keep 8/10..12/10
    EXPECT_EQ(MakeTimingWindows(0).ShortHigh.Hi, 720);
    EXPECT_EQ(MakeTimingWindows(9).ShortHigh.Hi, 540);
}

TEST(FitsTimingSet, NeedsLeaderAndBothSymbols) {
    std::int32_t H[4] = {9000, 560, 560, 560};
    std::int32_t W[4] = {13500, 2250, 1120, 40000}; // long symbol arrived first
    EXPECT_TRUE(FitsTimingSet(3, MakeTimingWindows(3), H, W, false));
    // Only one data pattern after the leader: the second is an unused pattern.
    std::int32_t W1[4] = {13500, 1120, 0, 0};
    std::int32_t H1[4] = {9000, 560, 0, 0};
    EXPECT_FALSE(FitsTimingSet(3, MakeTimingWindows(3), H1, W1, false));
    // Empty sets have zero windows, which only an all-zero capture meets;
    // they have no frame rule, so nothing is ever recognised by them.
    auto lane = std::make_unique<WaveLane>();
    EXPECT_EQ(RecognisePatterns(10, *lane, 100).FormatIndex, 64);
    EXPECT_EQ(RecognisePatterns(20, *lane, 100).FormatIndex, 64);
}

TEST(FitsTimingSet, SetTwentyNineOnlyInPro) {
    std::int32_t H[4] = {8000, 500, 500, 500};
    std::int32_t W[4] = {12000, 2000, 6000, 1000}; // short symbol is pattern 1
    W[1] = 1000;
    EXPECT_FALSE(FitsTimingSet(29, MakeTimingWindows(29), H, W, false));
    EXPECT_TRUE(FitsTimingSet(29, MakeTimingWindows(29), H, W, true));
}

TEST(CustomCodeMap, MakersByEditionAndCurrentFormat) {
    EXPECT_EQ(CustomCodeMap(0xAA55, 15, false), 14); // PIONEER
    EXPECT_EQ(CustomCodeMap(0x8341, 15, false), 16); // TAVIRO for NEC-32A
    EXPECT_EQ(CustomCodeMap(0x8341, 10, false), 10); // not for NEC-32R
    EXPECT_EQ(CustomCodeMap(0x00FF, 10, false), 10);
    EXPECT_EQ(CustomCodeMap(0x00FF, 10, true), 40);
    EXPECT_EQ(CustomCodeMap(0x00FF, 15, true), 39);
    EXPECT_EQ(CustomCodeMap(0x8063, 10, false), 42);
    EXPECT_EQ(CustomCodeMap(0x8066, 15, false), 15);
    EXPECT_EQ(CustomCodeMap(0x8066, 15, true), 54);
    EXPECT_EQ(CustomCodeMap(0x1234, 15, true), 15);
    EXPECT_EQ(FormatName(21), "zem-ID");
    EXPECT_EQ(FormatName(60), "Kitac5-D64");
    EXPECT_EQ(FormatName(64), "Unknown");
}

// Set 3 reads the maker from the first four digits; a shorter or
// non-hexadecimal code must leave the format alone instead of failing.
TEST(CustomCodeOf, ShortOrNonHexTextHasNoCode) {
    EXPECT_EQ(CustomCodeOf("AA55 1AE5"), 0xAA55u);
    EXPECT_FALSE(CustomCodeOf("AA5"));
    EXPECT_FALSE(CustomCodeOf(""));
    EXPECT_FALSE(CustomCodeOf("AA 5"));
}

TEST(RecognisePatterns, NecFrameRulesInOrder) {
    auto lane = std::make_unique<WaveLane>();
    lane->LastIndex = 101;
    lane->PatternOf[34] = 0;
    Recognition r = RecognisePatterns(3, *lane, 102);
    EXPECT_EQ(r.FormatIndex, 15);
    EXPECT_EQ(r.FramePairs, 102);
    EXPECT_EQ(RecognisePatterns(3, *lane, 31).FormatIndex, 64); // too short for NEC
    lane->PatternOf[34] = 4;
    lane->PatternOf[35] = 5;
    r = RecognisePatterns(3, *lane, 40);
    EXPECT_EQ(r.FormatIndex, 10);
    EXPECT_EQ(r.FramePairs, 34);
}

TEST(RecognisePatterns, SetTwentyEightStoresItsFrameLayout) {
    auto lane = std::make_unique<WaveLane>();
    lane->PatternOf[17] = 3;
    lane->PatternOf[18] = 0;
    const Recognition r = RecognisePatterns(28, *lane, 80);
    EXPECT_EQ(r.FormatIndex, 52);
    EXPECT_EQ(r.FramePairs, 37);
    EXPECT_TRUE(r.OverridesFrame);
    EXPECT_EQ(r.RepeatBit, 18);
    EXPECT_EQ(r.DataBits, 36);
}

TEST(PatternCodeResult, DigitsOfTheKeptPairs) {
    auto lane = std::make_unique<WaveLane>();
    lane->PatternOf[0] = 0;
    lane->PatternOf[1] = 1;
    lane->PatternOf[2] = 2;
    lane->PatternOf[3] = 15;
    EXPECT_EQ(PatternCodeResult(*lane, 3), "Code(  3bits): 012");
    EXPECT_EQ(PatternCodeResult(*lane, 4), "Code(  4bits): 012F");
}

// An unknown capture shorter than three pairs has (FramePairs + 5) / 8 = 0
// groups per frame: the code must still come out, as one partial frame.
TEST(AssembleCode, ZeroGroupsPerFrameDoesNotDivideByZero) {
    auto lane = std::make_unique<WaveLane>();
    // Patterns 0 (short period) and 1 (long period) alternate 0,1,0,1...
    lane->CenterHigh[0] = 500;
    lane->CenterWidth[0] = 1000;
    lane->CenterHigh[1] = 500;
    lane->CenterWidth[1] = 2000;
    lane->PatternCount = 2;
    lane->LastIndex = 9;
    for (int i = 0; i <= 9; ++i)
        lane->PatternOf[i] = i % 2;
    Recognition rec = RecognisePatterns(35, *lane, 2);
    ASSERT_EQ(rec.FramePairs, 2);
    // FullCode reads pairs 0..8: bits 0,1,0,1,0,1,0,1 then 0 -> AA, then 00.
    const AssembledCode code = AssembleCode(35, rec, *lane, true);
    EXPECT_EQ(code.Code, "AA00");
    EXPECT_TRUE(code.LogLines.empty());
}

} // namespace
} // namespace quvan
