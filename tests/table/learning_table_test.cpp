#include "table/learning_table.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace quvan {
namespace {

// A row whose every cell and record field tells which row it came from.
void fillRow(LearningTable& table, int row) {
    std::string tag = std::to_string(row);
    for (int col = ColCarry; col <= ColResult; ++col)
        table.setCell(row, col, tag + "/" + std::to_string(col));
    LearnedSignal& s = table.record(row);
    s.WriteFlag = 999;
    s.Carry = row;
    s.DataBits = 4096;
    s.RepeatBit = row;
    s.PatternHigh[15] = row;
    s.PatternWidth[0] = row;
    s.PatternCode[4095] = static_cast<std::uint8_t>(row % 16);
}

bool rowIsFrom(const LearningTable& table, int row, int source) {
    std::string tag = std::to_string(source);
    for (int col = ColCarry; col <= ColResult; ++col)
        if (table.cell(row, col) != tag + "/" + std::to_string(col))
            return false;
    const LearnedSignal& s = table.record(row);
    return s.WriteFlag == 999 && s.Carry == source && s.RepeatBit == source &&
           s.PatternHigh[15] == source && s.PatternWidth[0] == source &&
           s.PatternCode[4095] == source % 16;
}

bool rowIsEmpty(const LearningTable& table, int row) {
    for (int col = ColCarry; col <= ColResult; ++col)
        if (!table.cell(row, col).empty())
            return false;
    const LearnedSignal& s = table.record(row);
    const LearnedSignal zero{};
    return s.WriteFlag == 0 && s.Carry == 0 && s.DataBits == 0 && s.RepeatBit == 0 &&
           s.PatternHigh == zero.PatternHigh && s.PatternWidth == zero.PatternWidth &&
           s.PatternCode == zero.PatternCode;
}

TEST(PatternCodeText, DigitsWithPaddingForOddCounts) {
    LearnedSignal s;
    s.PatternCode[0] = 1;
    s.PatternCode[1] = 0;
    s.PatternCode[2] = 2;
    s.PatternCode[3] = 15;
    s.DataBits = 3;
    EXPECT_EQ(PatternCodeText(s), "1022");
    s.DataBits = 4;
    EXPECT_EQ(PatternCodeText(s), "102F");
    s.DataBits = 0;
    EXPECT_EQ(PatternCodeText(s), "");
    s.DataBits = 1;
    EXPECT_EQ(PatternCodeText(s), "11");
}

TEST(PatternCodeText, NeverReadsPastTheRecord) {
    LearnedSignal s;
    s.PatternCode.fill(10);
    s.DataBits = 5000;
    EXPECT_EQ(PatternCodeText(s), std::string(4096, 'A'));
    s.DataBits = -3;
    EXPECT_EQ(PatternCodeText(s), "");
}

TEST(TrimControl, RemovesControlsAndSpacesAtBothEndsOnly) {
    EXPECT_EQ(TrimControl(" \t\r\n38.0kHz \x01"), "38.0kHz");
    EXPECT_EQ(TrimControl("a b"), "a b");
    EXPECT_EQ(TrimControl(" \x1f "), "");
    EXPECT_EQ(TrimControl("テレビ "), "テレビ"); // UTF-8 bytes are all above 0x20
}

TEST(LearningTable, BlankRowDependsOnTheTrimmedCarryCellOnly) {
    LearningTable table(kStdTableRows);
    table.setCell(1, ColCarry, "   ");
    table.setCell(1, ColComments, "TV");
    EXPECT_TRUE(table.isBlank(1));
    table.setCell(2, ColCarry, "38.0kHz");
    EXPECT_FALSE(table.isBlank(2));
}

TEST(LearningTable, ShiftDownMovesCellsAndRecordsAndDropsTheLastRow) {
    LearningTable table(kStdTableRows);
    for (int row = 1; row <= kStdTableRows; ++row)
        fillRow(table, row);
    table.shiftDown(3);
    EXPECT_TRUE(rowIsFrom(table, 2, 2));
    EXPECT_TRUE(rowIsEmpty(table, 3));
    EXPECT_TRUE(rowIsFrom(table, 4, 3));
    EXPECT_TRUE(rowIsFrom(table, kStdTableRows, kStdTableRows - 1));

    table.shiftUp(3);
    EXPECT_TRUE(rowIsFrom(table, 3, 3));
    EXPECT_TRUE(rowIsFrom(table, kStdTableRows - 1, kStdTableRows - 1));
    EXPECT_TRUE(rowIsEmpty(table, kStdTableRows));
}

TEST(LearningTable, ShiftsOnTheLastRowOnlyClearIt) {
    LearningTable table(kProTableRows);
    fillRow(table, 499);
    fillRow(table, 500);
    table.shiftDown(500);
    EXPECT_TRUE(rowIsEmpty(table, 500));
    EXPECT_TRUE(rowIsFrom(table, 499, 499));
    fillRow(table, 500);
    table.shiftUp(500);
    EXPECT_TRUE(rowIsEmpty(table, 500));
    EXPECT_TRUE(rowIsFrom(table, 499, 499));
}

TEST(LearningTable, CopyRowCopiesEverythingAndOntoItselfChangesNothing) {
    LearningTable table(kStdTableRows);
    fillRow(table, 7);
    table.copyRow(7, 9);
    EXPECT_TRUE(rowIsFrom(table, 9, 7));
    table.copyRow(7, 7);
    EXPECT_TRUE(rowIsFrom(table, 7, 7));
    table.clearRow(7);
    EXPECT_TRUE(rowIsEmpty(table, 7));
    EXPECT_TRUE(rowIsFrom(table, 9, 7));
}

TEST(LearningTable, StandardEditionNeverAddressesRowsPastItsCount) {
    LearningTable table(kStdTableRows);
    for (int row = 1; row <= kStdTableRows; ++row)
        fillRow(table, row);
    EXPECT_THROW(table.record(251), std::out_of_range);
    EXPECT_THROW(table.cell(0, ColCarry), std::out_of_range);
    EXPECT_THROW(table.cell(1, 5), std::out_of_range);
    table.setCell(251, ColCarry, "x"); // ignored, not written anywhere
    table.copyRow(250, 251);
    table.copyRow(251, 1);
    table.shiftDown(1); // the last row falls off instead of moving to 251
    EXPECT_TRUE(rowIsFrom(table, 250, 249));
    EXPECT_TRUE(rowIsEmpty(table, 1));
    table.clearAll();
    for (int row = 1; row <= kStdTableRows; ++row)
        ASSERT_TRUE(rowIsEmpty(table, row)) << row;
}

// The records come zeroed from the system rather than by construction; a new
// table, and a copy of a used one, must still be what value-initialised
// records would give.
TEST(LearningTable, NewTablesAreZeroAndCopiesAreIndependent) {
    LearningTable table(kProTableRows);
    for (int row : {1, 250, 500}) {
        const LearnedSignal& s = table.record(row);
        EXPECT_EQ(s.Carry, 0);
        EXPECT_EQ(s.PatternWidth[15], 0);
        EXPECT_EQ(s.PatternCode[4095], 0);
    }
    table.setCell(7, ColComments, "TV");
    table.record(7).PatternCode[4095] = 9;
    LearningTable copy(table);
    copy.record(7).PatternCode[4095] = 3;
    EXPECT_EQ(table.record(7).PatternCode[4095], 9);
    EXPECT_EQ(copy.cell(7, ColComments), "TV");
    LearningTable assigned(kStdTableRows);
    assigned = copy;
    EXPECT_EQ(assigned.rowCount(), kProTableRows);
    EXPECT_EQ(assigned.record(7).PatternCode[4095], 3);
}

TEST(LearningTable, ReportsWhichRowsChanged) {
    LearningTable table(kStdTableRows);
    std::vector<std::pair<int, int>> seen;
    table.onRowsChanged = [&](int first, int last) { seen.emplace_back(first, last); };
    table.setCell(4, ColComments, "x");
    table.copyRow(4, 8);
    table.shiftDown(10);
    table.shiftUp(12);
    table.clearAll();
    std::vector<std::pair<int, int>> expected{{4, 4}, {8, 8}, {10, 250}, {12, 250}, {1, 250}};
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace quvan
