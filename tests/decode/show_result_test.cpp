// Where result texts go: the row, the code check and U-SHOWA registration.

#include "decode/show_result.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

namespace quvan::test {
namespace {

TEST(ShowResult, WritesRowAndLabelsTheLaneWithTheComment) {
    Session s;
    s.state->Result.Carry = 380;
    s.state->LaneRow[1] = 5;
    s.table.setCell(5, ColComments, "ID:42");
    ShowResult(s.ctx, 1, "Tm:NEC-32A    d:20DF 10EF");
    EXPECT_EQ(s.table.cell(5, ColResult), "Tm:NEC-32A    d:20DF 10EF");
    ASSERT_EQ(s.effects.labels.size(), 1u);
    EXPECT_EQ(s.effects.labels[0], "1:No.5: 38.0kHz ID:42 Tm:NEC-32A    d:20DF 10EF");
}

TEST(ShowResult, LaneWithoutRowGetsNothing) {
    Session s;
    ShowResult(s.ctx, 0, "Tm:X");
    EXPECT_TRUE(s.effects.labels.empty());
    EXPECT_EQ(s.table.cell(1, ColResult), "");
}

TEST(ShowResult, CodeCheckSoundsAndRepeatRequest) {
    LearningOptions o;
    o.CodeCheck = true;
    Session s(o);
    s.table.setCell(1, ColResult, "A");
    s.table.setCell(2, ColResult, "B");
    s.state->LaneRow[0] = 1;
    ShowResult(s.ctx, 0, "A"); // match, next row has a result: silence
    EXPECT_TRUE(s.effects.sounds.empty());
    EXPECT_FALSE(s.state->RepeatRowRequested);
    ShowResult(s.ctx, 0, "X"); // mismatch
    EXPECT_EQ(s.effects.sounds, std::vector<Sound>{Sound::Chord});
    EXPECT_TRUE(s.state->RepeatRowRequested);
    s.state->LaneRow[0] = 2; // last listed row
    ShowResult(s.ctx, 0, "B");
    EXPECT_EQ(s.effects.sounds.back(), Sound::Tada);
    EXPECT_EQ(s.table.cell(2, ColResult), "B");
}

TEST(ShowResult, UShowaRegistrationRejectsZeroDigitsAndForeignCarriers) {
    LearningOptions o;
    o.CodeCheck = true;
    o.Serial = true;
    Session s(o);
    s.state->CurrentLane = 0;
    s.state->LaneRow[0] = 3;
    s.state->Result = {0, 9, 1, 380};
    s.state->SerialId = 1234;
    const std::string code = "U-SHOWA(3bit) d:11 22 44 24 42 11 22 33 55";
    ShowResult(s.ctx, 0, "U-SHOWA(3bit) d:10 22"); // contains 0
    EXPECT_EQ(s.effects.sounds, std::vector<Sound>{Sound::Chord});
    s.state->Result.Carry = 369;
    ShowResult(s.ctx, 0, code);
    EXPECT_EQ(s.effects.sounds.size(), 2u);
    EXPECT_EQ(s.table.cell(1, ColResult), "");
    s.state->Result.Carry = 380;
    s.table.setCell(1, ColResult, "taken");
    ShowResult(s.ctx, 0, code);
    // The last two bytes and their blank are not part of the identification.
    EXPECT_EQ(s.table.cell(2, ColResult), "U-SHOWA(3bit) d:11 22 44 24 42 11 22");
    EXPECT_EQ(s.table.cell(2, ColCarry), "38.0kHz");
    EXPECT_EQ(s.table.cell(2, ColFrames), "1");
    EXPECT_EQ(s.table.cell(2, ColComments), "ID:1234");
    EXPECT_EQ(s.table.record(2).DataBits, 9);
    EXPECT_EQ(s.effects.row, 2);
    EXPECT_TRUE(s.state->RepeatRowRequested);
    // The same code again selects its row and sounds the chord.
    s.effects.row = 7;
    ShowResult(s.ctx, 0, code);
    EXPECT_EQ(s.effects.row, 2);
    EXPECT_EQ(s.effects.sounds.size(), 3u);
    EXPECT_EQ(s.effects.sounds.back(), Sound::Chord);
}

TEST(ShowResult, SerialResultWritesTheIdComment) {
    LearningOptions o;
    o.Serial = true;
    Session s(o);
    s.state->LaneRow[0] = 1;
    s.state->SerialId = 292900;
    ShowResult(s.ctx, 0, "U-SHOWA(3bit) d:11");
    EXPECT_EQ(s.table.cell(1, ColComments), "ID:292900");
}

} // namespace
} // namespace quvan::test
