// The analysis line: carrier, refusal, storing into the row, the report and
// the walk down the table.

#include "capture/analysis_line.h"
#include "capture/learning_control.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

namespace quvan::test {
namespace {

TEST(CarrierText, UpToKhzOrFourCharacters) {
    EXPECT_EQ(CarrierText("Ave.Freq = 38.0kHz"), "38.0");
    EXPECT_EQ(CarrierText("Ave.Freq = 38.0 and more"), "38.0");
    EXPECT_EQ(CarrierText("Ave.Freq = 38.05kHz"), "38.05");
    EXPECT_EQ(CarrierText("Ave."), "");
}

Signal ThreePulses() {
    return {{9000, 4500}, {560, 565}, {560, 1690}};
}

TEST(HandleAnalysisLine, StoresCellsAndRecordOfTheCurrentRow) {
    LearningOptions o;
    o.PCode = true;
    Session s(o);
    s.effects.row = 7;
    s.feed(BoardLines(ThreePulses(), "36.7"));
    EXPECT_EQ(s.table.cell(7, ColCarry), "36.7kHz");
    EXPECT_EQ(s.table.cell(7, ColFrames), "1");
    EXPECT_EQ(s.table.cell(7, ColResult), "Code(  3bits): 012");
    const LearnedSignal& rec = s.table.record(7);
    EXPECT_EQ(rec.Carry, 367);
    EXPECT_EQ(rec.DataBits, 3);
    EXPECT_EQ(rec.PatternHigh[0], 9000);
    EXPECT_EQ(rec.PatternWidth[2], 2250);
    EXPECT_EQ(rec.PatternCode[2], 2);
    EXPECT_TRUE(s.effects.modified);
    EXPECT_EQ(s.state->LaneRow[0], 7);
    EXPECT_EQ(s.effects.row, 7); // no Cursor Auto: the row stays
}

// The report is written after learning restarted for the next row; it must
// still show the frames of the capture it reports.
TEST(HandleAnalysisLine, MonitorReportKeepsTheFrameCount) {
    LearningOptions o;
    o.CursorAuto = true;
    o.MonitorMode = true;
    Session s(o);
    s.startLearning();
    s.feed(BoardLines(Repeat(NecFrame({0x20, 0xDF, 0x10, 0xEF}), 6), "38.0"));
    ASSERT_FALSE(s.effects.log.empty());
    EXPECT_EQ(s.effects.log[0], "Carry:38.0kHz, DataSize:34, Repeat:0, Frames:3");
    EXPECT_EQ(s.effects.row, 2);
}

TEST(HandleAnalysisLine, RefusesOverflowAndUnreadableCarrierWithoutStoring) {
    LearningOptions o;
    o.HrangeText = std::string("0");
    Session s(o);
    s.feed(BoardLines(Repeat({{560, 560}}, 17), "38.0"));
    EXPECT_EQ(s.effects.messages, std::vector<std::string>{"1|Error|学習出来ません。"});
    EXPECT_EQ(s.table.cell(1, ColCarry), "");
    Session t;
    t.feed(BoardLines(ThreePulses(), "3x.0"));
    EXPECT_EQ(t.effects.errors.size(), 1u);
    EXPECT_EQ(t.table.cell(1, ColCarry), "");
    EXPECT_FALSE(t.effects.modified);
}

// A zero or negative carrier is no carrier: nothing is stored, the row stays
// blank (not a learned-looking row that counts as empty).
TEST(HandleAnalysisLine, ZeroAndNegativeCarriersAreUnreadable) {
    for (const char* carrier : {"00.0", "-38.0", "0.04"}) {
        SCOPED_TRACE(carrier);
        Session s;
        s.feed(BoardLines(ThreePulses(), carrier));
        EXPECT_EQ(s.effects.errors.size(), 1u);
        EXPECT_EQ(s.table.cell(1, ColCarry), "");
        EXPECT_EQ(s.table.record(1).Carry, 0);
        EXPECT_EQ(s.table.record(1).DataBits, 0);
        EXPECT_FALSE(s.effects.modified);
    }
}

TEST(HandleAnalysisLine, NoCaptureSinceClearIsReportedNotIndexed) {
    Session s; // CurrentLane is still 4
    const AnalysisLineResult r = HandleAnalysisLine(s.ctx, s.decoder, "Ave.Freq = 38.0kHz");
    EXPECT_EQ(r.Outcome, AnalysisOutcome::NoCapture);
    EXPECT_EQ(s.effects.errors.size(), 1u);
}

TEST(HandleAnalysisLine, CodeCheckComparesButNeverWrites) {
    LearningOptions o;
    o.PCode = true;
    o.CodeCheck = true;
    Session s(o);
    s.table.setCell(1, ColFrames, "1");
    s.table.setCell(1, ColResult, "Code(  3bits): 012");
    s.table.setCell(2, ColFrames, "1");
    s.table.setCell(2, ColResult, "other");
    s.feed(BoardLines(ThreePulses(), "38.0"));
    EXPECT_EQ(s.table.cell(1, ColCarry), "");
    EXPECT_TRUE(s.effects.sounds.empty());
    EXPECT_EQ(s.effects.row, 2); // matched: on to the next row
    s.feed(BoardLines(ThreePulses(), "38.0"));
    EXPECT_EQ(s.effects.sounds, std::vector<Sound>{Sound::Chord});
    EXPECT_EQ(s.effects.row, 2); // mismatch: the row is checked again
}

TEST(RestartLearning, CodeCheckSkipsDashRowsAndWrapsAtTheEnd) {
    LearningOptions o;
    o.CodeCheck = true;
    Session s(o);
    s.table.setCell(1, ColFrames, "1");
    s.table.setCell(2, ColFrames, "-");
    s.table.setCell(3, ColFrames, " - ");
    s.table.setCell(4, ColFrames, "3");
    RestartLearning(s.ctx);
    EXPECT_EQ(s.effects.row, 4);
    EXPECT_EQ(s.effects.sent.back(), "A");
    RestartLearning(s.ctx);
    EXPECT_EQ(s.effects.row, 1); // row 5 has no Frames: back to the top
    s.state->RepeatRowRequested = true;
    RestartLearning(s.ctx);
    EXPECT_EQ(s.effects.row, 1);
    EXPECT_FALSE(s.state->RepeatRowRequested);
    // A table of dashes to the end stops at the last row.
    for (int r = 1; r <= s.table.rowCount(); ++r)
        s.table.setCell(r, ColFrames, "-");
    RestartLearning(s.ctx);
    EXPECT_EQ(s.effects.row, s.table.rowCount());
}

// Cursor Auto walks to the next blank row; it never lands on a learned row
// (a blank row inserted above learned rows is the usual way to get there).
TEST(RestartLearning, CursorAutoSkipsLearnedRowsAndStopsWhenTheTableIsFull) {
    LearningOptions o;
    o.CursorAuto = true;
    Session s(o);
    for (int r : {2, 3})
        s.table.setCell(r, ColCarry, "38.0kHz");
    s.startLearning();
    ASSERT_EQ(s.effects.row, 1);
    s.feed(BoardLines(ThreePulses(), "38.0"));
    EXPECT_EQ(s.table.cell(1, ColCarry), "38.0kHz");
    EXPECT_EQ(s.effects.row, 4);
    EXPECT_EQ(s.effects.sent.back(), "A");
    EXPECT_EQ(s.table.cell(2, ColCarry), "38.0kHz");
    EXPECT_EQ(s.table.record(2).Carry, 0); // untouched

    // Only the last row is left: it is learned, then learning stops.
    const int last = s.table.rowCount();
    for (int r = 4; r < last; ++r)
        s.table.setCell(r, ColCarry, "36.0kHz");
    s.effects.row = last;
    s.effects.messages.clear();
    s.feed(BoardLines(ThreePulses(), "40.0"));
    EXPECT_EQ(s.table.cell(last, ColCarry), "40.0kHz");
    EXPECT_EQ(s.effects.row, last);
    EXPECT_EQ(s.effects.sent.back(), "T");
    EXPECT_EQ(s.effects.indicator.back(), false);
    EXPECT_EQ(
        s.effects.messages,
        std::vector<std::string>{"1|警告|テーブルに空き行がありません。\n学習を終了しました。"});
    EXPECT_EQ(s.table.cell(last - 1, ColCarry), "36.0kHz");
}

TEST(StartLearning, OnSendsOnlyTOffSendsLendAndStart) {
    LearningOptions o;
    o.ProEdition = true;
    o.WaveLanes = 4;
    o.CursorAuto = true;
    o.LtimeText = std::string("x");
    Session s(o);
    s.table.setCell(1, ColCarry, "38.0kHz");
    StartLearning(s.ctx, true);
    EXPECT_EQ(s.effects.sent, std::vector<std::string>{"T"});
    StartLearning(s.ctx, false);
    EXPECT_EQ(s.effects.sent, (std::vector<std::string>{"T", "Lend:0200", "A:Pro"}));
    EXPECT_EQ(s.state->CurrentLane, 3);
    EXPECT_EQ(s.effects.row, 2); // first blank row at or below the cursor
}

TEST(AnalysisReport, LinesOfTheStoredRow) {
    Session s;
    s.state->CurrentLane = 0;
    s.state->LaneRow[0] = 1;
    WaveLane& lane = s.state->Lanes[0];
    const int P[9] = {0, 1, 2, 1, 2, 1, 2, 1, 2};
    for (int i = 0; i < 9; ++i)
        lane.PatternOf[i] = P[i];
    lane.LastIndex = 8;
    LearnedSignal& rec = s.table.record(1);
    rec.Carry = 380;
    rec.DataBits = 4;
    rec.RepeatBit = 2;
    rec.PatternHigh[0] = 560;
    rec.PatternWidth[0] = 1120;
    for (int i = 0; i < 4; ++i)
        rec.PatternCode[i] = static_cast<std::uint8_t>(P[i]);
    s.state->Result.Frames = 3;
    const std::vector<std::string> lines = AnalysisReport(s.ctx, 1, 0);
    ASSERT_EQ(lines.size(), 1u + 16u + 4u + 2u);
    EXPECT_EQ(lines[0], "Carry:38.0kHz, DataSize:4, Repeat:2, Frames:3");
    EXPECT_EQ(lines[1], "W0:  560    1120");
    EXPECT_EQ(lines[16], "WF:    0       0");
    EXPECT_EQ(lines[17], "0121:4");
    EXPECT_EQ(lines[18], "21:6");
    EXPECT_EQ(lines[19], "21:8");
    EXPECT_EQ(lines[20], "2");
    EXPECT_EQ(lines[21], "Code: 0121");
    EXPECT_EQ(lines[22], "-----");
}

} // namespace
} // namespace quvan::test
