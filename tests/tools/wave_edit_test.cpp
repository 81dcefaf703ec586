// The wave information editor's logic: what it shows for a row, the byte
// code conversion, the commands of "IR Out", the refusals and the storing.

#include "table/learning_table.h"
#include "tools/core/wave_edit.h"

#include <gtest/gtest.h>

namespace quvan::tools {
namespace {

LearnedSignal Patterns(std::int32_t width1, std::int32_t width2) {
    LearnedSignal s;
    s.PatternWidth[1] = width1;
    s.PatternWidth[2] = width2;
    return s;
}

// A learned NEC-like row: leader, two bit patterns, end pattern.
void FillNecRow(LearningTable& table, int row) {
    table.setCell(row, ColCarry, "38.0kHz");
    table.setCell(row, ColFrames, "1");
    table.setCell(row, ColComments, "TV");
    table.setCell(row, ColResult, "Tm:NEC-32A    d:00FF 12ED");
    LearnedSignal& s = table.record(row);
    s.WriteFlag = 999;
    s.Carry = 380;
    s.DataBits = 6;
    s.RepeatBit = 2;
    s.PatternHigh = {9000, 560, 560, 560};
    s.PatternWidth = {13500, 1120, 2250, 40000};
    s.PatternHigh[5] = 700; // after the first empty pattern: not shown
    s.PatternWidth[5] = 1400;
    const std::uint8_t codes[] = {0, 1, 2, 10, 15, 3};
    std::copy(std::begin(codes), std::end(codes), s.PatternCode.begin());
}

TEST(WaveEditFill, ShowsTheRowsNumbersPatternsCodeAndBytes) {
    LearningTable table(kStdTableRows);
    FillNecRow(table, 4);
    const WaveEditTexts t = WaveEditTextsOf(table, 4);
    EXPECT_EQ(t.Carry, "380");
    EXPECT_EQ(t.DataBits, "  6");
    EXPECT_EQ(t.RepeatBit, "   2");
    EXPECT_EQ(t.Pcode, "012AF3");
    EXPECT_EQ(t.High[0], " 9000");
    EXPECT_EQ(t.Width[0], " 13500");
    EXPECT_EQ(t.High[3], "  560");
    EXPECT_EQ(t.Width[3], " 40000");
    // Pattern 4 has no mark time: it and every pattern after it stay empty.
    EXPECT_EQ(t.High[4], "");
    EXPECT_EQ(t.High[5], "");
    EXPECT_EQ(t.Width[5], "");
    EXPECT_EQ(t.ByteCode, "00FF 12ED");
}

TEST(WaveEditFill, AnEmptyFirstPatternEmptiesAllSixteenRows) {
    LearningTable table(kStdTableRows);
    table.record(2).PatternHigh[1] = 560;
    table.record(2).PatternWidth[1] = 1120;
    table.setCell(2, ColResult, "free text");
    const WaveEditTexts t = WaveEditTextsOf(table, 2);
    for (int k = 0; k < kPatternSlots; ++k) {
        EXPECT_EQ(t.High[static_cast<std::size_t>(k)], "") << k;
        EXPECT_EQ(t.Width[static_cast<std::size_t>(k)], "") << k;
    }
    EXPECT_EQ(t.Pcode, "");
    EXPECT_EQ(t.ByteCode, ""); // no "d:"
}

TEST(WaveEditFill, RulerMarksTensAndFives) {
    EXPECT_EQ(PatternRuler(0), "");
    EXPECT_EQ(PatternRuler(1), "0");
    EXPECT_EQ(PatternRuler(23), "0----+----1----+----2--");
    // The digit is the tens modulo 10: position 100 shows 0 again.
    EXPECT_EQ(PatternRuler(101).substr(95), "+----0");
}

TEST(WaveEditFill, ByteCodeIsTheTextAfterTheFirstD) {
    EXPECT_EQ(ByteCodeOf("Philips d:0C 05 d:1"), "0C 05 d:1");
    EXPECT_EQ(ByteCodeOf("Code( 34bits): 0121"), "");
    EXPECT_EQ(ByteCodeOf("d:"), "");
}

TEST(ByteCodeConversion, A5BothWaysRound) {
    // 0xA5 from its least significant bit: 1,0,1,0,0,1,0,1.
    // Pattern 2 the longer: a 1 is "2", a 0 is "1".
    EXPECT_EQ(ByteCodeToPatternCode("A5", Patterns(1120, 2250)), "0212112123");
    // Pattern 1 the longer (or equal): a 1 is "1", a 0 is "2".
    EXPECT_EQ(ByteCodeToPatternCode("A5", Patterns(2250, 1120)), "0121221213");
    EXPECT_EQ(ByteCodeToPatternCode("a5", Patterns(1120, 2250)), "0212112123");
}

TEST(ByteCodeConversion, BlanksAreSkippedOneByOneAndALastOddDigitIsAByte) {
    const LearnedSignal s = Patterns(1120, 2250);
    // "A5 3C": "A5", then " 3" is no number (skip one), then "3C".
    // 0x3C from bit 0: 0,0,1,1,1,1,0,0.
    EXPECT_EQ(ByteCodeToPatternCode("A5 3C", s), "0"
                                                 "21211212"
                                                 "11222211"
                                                 "3");
    EXPECT_EQ(ByteCodeToPatternCode("A5  3C", s), ByteCodeToPatternCode("A53C", s));
    // "A53": "A5", then "3" alone, 0x03: 1,1,0,0,0,0,0,0.
    EXPECT_EQ(ByteCodeToPatternCode("A53", s), "0"
                                               "21211212"
                                               "22111111"
                                               "3");
    EXPECT_EQ(ByteCodeToPatternCode("", s), "03");
    EXPECT_EQ(ByteCodeToPatternCode("zz", s), "03");
}

WaveEditTexts ValidTexts() {
    WaveEditTexts t;
    t.Carry = "380";
    t.DataBits = "6";
    t.RepeatBit = "2";
    t.High[0] = " 9000";
    t.Width[0] = " 13500";
    t.High[1] = "560";
    t.Width[1] = "1120";
    t.Pcode = "011103";
    return t;
}

TEST(WaveEditReading, EmptyOrNonNumericBoxesReadAsTheirDefaults) {
    WaveEditTexts t;
    t.Carry = "abc";
    t.High[0] = "x";
    t.Width[0] = " 1120 "; // blanks around a number do not make it text
    const WaveEditReading r = ReadWaveEdit(t);
    ASSERT_TRUE(r.signal) << r.refusal;
    EXPECT_EQ(r.signal->Carry, 380);
    EXPECT_EQ(r.signal->DataBits, 0);
    EXPECT_EQ(r.signal->High[0], 0);
    EXPECT_EQ(r.signal->Width[0], 1120);
    EXPECT_TRUE(r.signal->Codes.empty());
}

TEST(WaveEditReading, TheLargestNumbersTheFieldsHoldAreTaken) {
    WaveEditTexts t = ValidTexts();
    t.Carry = "999";
    t.DataBits = "4096";
    t.RepeatBit = "4096";
    t.High[15] = "99999";
    t.Width[15] = "999999";
    const WaveEditReading r = ReadWaveEdit(t);
    ASSERT_TRUE(r.signal) << r.refusal;
    EXPECT_EQ(r.signal->High[15], 99999);
    EXPECT_EQ(r.signal->Width[15], 999999);
}

TEST(WaveEditReading, NumbersTheRecordOrTheBoardCannotHoldAreRefusedByField) {
    struct Case {
        void (*change)(WaveEditTexts&);
        const char* field;
    };
    const Case cases[] = {
        {[](WaveEditTexts& t) { t.Carry = "-1"; }, "Carry"},
        {[](WaveEditTexts& t) { t.Carry = "1000"; }, "Carry"},
        {[](WaveEditTexts& t) { t.DataBits = "4097"; }, "DataBits"},
        {[](WaveEditTexts& t) { t.RepeatBit = "7"; }, "RepeatBit"}, // beyond DataBits 6
        {[](WaveEditTexts& t) { t.RepeatBit = "-2"; }, "RepeatBit"},
        {[](WaveEditTexts& t) { t.High[3] = "100000"; }, "Pcode:3 High"},
        {[](WaveEditTexts& t) { t.Width[10] = "1000000"; }, "Pcode:A Width"},
        {[](WaveEditTexts& t) { t.High[1] = "-560"; }, "Pcode:1 High"},
        // Too large even for 64 bits: still a number, so refused, not 0.
        {[](WaveEditTexts& t) { t.Width[0] = "99999999999999999999999"; }, "Pcode:0 Width"},
    };
    for (const Case& c : cases) {
        WaveEditTexts t = ValidTexts();
        c.change(t);
        const WaveEditReading r = ReadWaveEdit(t);
        EXPECT_FALSE(r.signal) << c.field;
        EXPECT_EQ(r.refusal.rfind(std::string(c.field) + " は", 0), 0u) << r.refusal;
    }
}

TEST(WaveEditReading, APatternCodeWithANonHexCharacterNamesItsPosition) {
    WaveEditTexts t = ValidTexts();
    t.Pcode = "01G103";
    WaveEditReading r = ReadWaveEdit(t);
    EXPECT_FALSE(r.signal);
    EXPECT_NE(r.refusal.find("3 文字目「G」"), std::string::npos) << r.refusal;

    t.Pcode = "0a1";
    r = ReadWaveEdit(t);
    ASSERT_TRUE(r.signal);
    EXPECT_EQ(r.signal->Codes, (std::vector<std::uint8_t>{0, 10, 1}));

    t.Pcode = std::string(4097, '1');
    r = ReadWaveEdit(t);
    EXPECT_FALSE(r.signal);
    EXPECT_NE(r.refusal.find("4096"), std::string::npos);
}

TEST(IrOut, OutputSelectionFollowsTheBoxes) {
    EXPECT_EQ(OutputSelection({true, true, true, true}), "Tp:1111");
    EXPECT_EQ(OutputSelection({false, true, false, false}), "Tp:0100");
    EXPECT_EQ(OutputSelection({true, false, true, false}), "Tp:1010");
}

TEST(IrOut, SixteenPatternsGiveSixteenTwpLines) {
    EditedSignal s;
    s.Carry = 380;
    s.DataBits = 10;
    s.RepeatBit = 0;
    for (int k = 0; k < kPatternSlots; ++k) {
        s.High[static_cast<std::size_t>(k)] = 100 + k;
        s.Width[static_cast<std::size_t>(k)] = 1000 + k;
    }
    const auto commands = IrOutCommands(s, "0212112123", {true, true, true, true});
    ASSERT_EQ(commands.size(), 1u + 4u + 16u + 2u);
    const std::vector<std::string> head(commands.begin(), commands.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string>{"Tp:1111", "Twf:000", "Twc:380", "Twb:010", "Twr:000",
                                              "Twp:0:00100,001000"}));
    EXPECT_EQ(commands[20], "Twp:F:00115,001015");
    EXPECT_EQ(commands[21], "Twd:0212112123");
    EXPECT_EQ(commands[22], "Tf:3");
}

TEST(IrOut, TheFirstEmptyPatternIsSentAndEndsTheList) {
    EditedSignal s;
    s.High = {9000, 560, 0, 560};
    s.Width = {13500, 1120, 2250, 40000};
    s.DataBits = 3;
    // The code is sent as typed: odd length, not padded.
    const auto commands = IrOutCommands(s, "011", {false, true, false, false});
    ASSERT_EQ(commands.size(), 1u + 4u + 3u + 2u);
    EXPECT_EQ(commands[0], "Tp:0100");
    EXPECT_EQ(commands[7], "Twp:2:00000,002250");
    EXPECT_EQ(commands[8], "Twd:011");
    EXPECT_EQ(commands[9], "Tf:3");
}

TEST(WaveEditStore, TargetIsTheFirstBlankRowBelowButNeverTheLastRow) {
    LearningTable table(6);
    for (int row = 1; row <= 6; ++row)
        FillNecRow(table, row);
    table.clearRow(4);
    EXPECT_EQ(WaveEditTargetRow(table, 2), 4);
    EXPECT_EQ(WaveEditTargetRow(table, 4), 4); // the selected row itself is blank
    EXPECT_EQ(WaveEditTargetRow(table, 5), 5); // only the last row below: not chosen
    table.clearRow(6);
    EXPECT_EQ(WaveEditTargetRow(table, 5), 5);
    table.setCell(3, ColCarry, " \t "); // only blanks: a blank row
    EXPECT_EQ(WaveEditTargetRow(table, 1), 3);
}

TEST(WaveEditStore, TargetTakesTheSourceCellsAndTheEditedNumbers) {
    LearningTable table(kStdTableRows);
    FillNecRow(table, 2);
    table.record(5).PatternCode[7] = 9; // beyond the edited code: kept
    WaveEditTexts t = ValidTexts();
    t.Carry = "385";
    t.ByteCode = "00FF 12EE";
    const WaveEditReading r = ReadWaveEdit(t);
    ASSERT_TRUE(r.signal);
    const StoreOutcome outcome = StoreEditedSignal(table, 2, 5, *r.signal, t.ByteCode);
    EXPECT_FALSE(outcome.byteCodeNotStored);
    EXPECT_EQ(table.cell(5, ColCarry), "38.5kHz");
    EXPECT_EQ(table.cell(5, ColFrames), "1");
    EXPECT_EQ(table.cell(5, ColComments), "TV");
    EXPECT_EQ(table.cell(5, ColResult), "Tm:NEC-32A    d:00FF 12EE");
    const LearnedSignal& s = table.record(5);
    EXPECT_EQ(s.WriteFlag, 999);
    EXPECT_EQ(s.Carry, 385);
    EXPECT_EQ(s.DataBits, 6);
    EXPECT_EQ(s.RepeatBit, 2);
    EXPECT_EQ(s.PatternHigh[0], 9000);
    EXPECT_EQ(s.PatternWidth[1], 1120);
    EXPECT_EQ(s.PatternHigh[2], 0); // empty cells give 0
    EXPECT_EQ(PatternCodeText(s), "011103");
    EXPECT_EQ(s.PatternCode[7], 9);
    // The source row is left as it was.
    EXPECT_EQ(table.record(2).Carry, 380);
    EXPECT_EQ(table.cell(2, ColResult), "Tm:NEC-32A    d:00FF 12ED");
}

TEST(WaveEditStore, AResultWithoutDKeepsItsTextAndSaysSo) {
    LearningTable table(kStdTableRows);
    table.setCell(1, ColCarry, "38.0kHz");
    table.setCell(1, ColResult, "Code( 10bits): 0212112123");
    EditedSignal s;
    s.Carry = 5;
    StoreOutcome outcome = StoreEditedSignal(table, 1, 1, s, "A5");
    EXPECT_EQ(table.cell(1, ColCarry), " 0.5kHz"); // "%4.1fkHz"
    EXPECT_TRUE(outcome.byteCodeNotStored);
    EXPECT_EQ(table.cell(1, ColResult), "Code( 10bits): 0212112123");
    // An empty byte text has nothing to store: nothing to say either.
    outcome = StoreEditedSignal(table, 1, 1, s, "");
    EXPECT_FALSE(outcome.byteCodeNotStored);
    EXPECT_EQ(table.cell(1, ColResult), "Code( 10bits): 0212112123");
}

} // namespace
} // namespace quvan::tools
