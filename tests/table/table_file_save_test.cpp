#include "table/table_file.h"
#include "table_file_test_support.h"

#include <gtest/gtest.h>

namespace quvan {
namespace {

using test::BlankRowLine;
using test::RowLine;

constexpr const char* kTelevisionPowerSjis =
    "\x83\x65\x83\x8C\x83\x72\x93\x64\x8C\xB9"; // テレビ電源

TEST(SaveTable, EmptyStandardTableIsHeaderAnd250BlankRowsAndLoadsBackEmpty) {
    test::ScratchFolder folder;
    LearningTable table(kStdTableRows);
    std::string expected = "QUVAN Table File\r\n";
    for (int row = 1; row <= 250; ++row)
        expected += BlankRowLine(row);
    ASSERT_EQ(BlankRowLine(5).substr(0, 34), "[005],,,,,Twc:000,Twb:000,Twr:000,");

    TableSaveResult saved = SaveTable(folder.file("empty.Csv"), table, {});
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(test::ReadBytes(folder.file("empty.Csv")), expected);

    LearningTable loaded(kStdTableRows);
    loaded.setCell(9, ColCarry, "38.0kHz");
    loaded.record(9).Carry = 380;
    TableLoadResult result = LoadTable(folder.file("empty.Csv"), loaded);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(result.rowsRead, 250);
    EXPECT_TRUE(loaded.cell(9, ColCarry).empty());
    EXPECT_EQ(loaded.record(9).Carry, 0);
}

TEST(SaveTable, HeaderOptionsAreWrittenInOrderAndReadBack) {
    LearningTable table(kStdTableRows);
    auto headerOf = [&](const TableHeaderOptions& options) {
        std::string file = FormatTableFile(table, options);
        return file.substr(0, file.find('\n') + 1);
    };
    EXPECT_EQ(headerOf({}), "QUVAN Table File\r\n");
    TableHeaderOptions serial;
    serial.serial = true;
    EXPECT_EQ(headerOf(serial), "QUVAN Table File : Serial\r\n");
    TableHeaderOptions all{true, true, true, "560", "1120", "32"};
    EXPECT_EQ(headerOf(all),
              "QUVAN Table File : Eiritsu : Serial : Philips Ts:560 Tw:1120 Bits:32\r\n");

    LearningTable loaded(kStdTableRows);
    TableHeaderFound found = ParseTableFile(FormatTableFile(table, all), loaded).header;
    EXPECT_TRUE(found.eiritsu && found.serial && found.philips);
    EXPECT_EQ(found.ts, "560");
    EXPECT_EQ(found.tw, "1120");
    EXPECT_EQ(found.bits, "32");

    TableHeaderOptions eiritsu;
    eiritsu.eiritsu = true;
    found = ParseTableFile(FormatTableFile(table, eiritsu), loaded).header;
    EXPECT_TRUE(found.eiritsu);
    EXPECT_FALSE(found.serial || found.philips || found.ts || found.tw || found.bits);
}

TEST(SaveTable, JapaneseCellsAreShiftJisAndTrimmed) {
    LearningTable table(kStdTableRows);
    table.setCell(2, ColCarry, " 38.0kHz\t");
    table.setCell(2, ColFrames, "1");
    table.setCell(2, ColComments, "テレビ電源");
    table.setCell(2, ColResult, "Tm:NEC-32A   d:20DF10EF ");
    table.record(2).Carry = 380;
    std::string cells[4] = {"38.0kHz", "1", kTelevisionPowerSjis, "Tm:NEC-32A   d:20DF10EF"};

    std::string file = FormatTableFile(table, {});
    std::string expectedRow = RowLine(2, cells, table.record(2), "");
    EXPECT_NE(file.find(BlankRowLine(1) + expectedRow + BlankRowLine(3)), std::string::npos);

    LearningTable loaded(kStdTableRows);
    ParseTableFile(file, loaded);
    EXPECT_EQ(loaded.cell(2, ColCarry), "38.0kHz");
    EXPECT_EQ(loaded.cell(2, ColComments), "テレビ電源");
    EXPECT_EQ(loaded.cell(2, ColResult), "Tm:NEC-32A   d:20DF10EF");
}

TEST(SaveTable, OddDataBitsGetThePaddingDigitWhichLandsPastDataBits) {
    LearningTable table(kStdTableRows);
    LearnedSignal& s = table.record(1);
    s.Carry = 380;
    s.DataBits = 3;
    s.PatternCode[0] = 1;
    s.PatternCode[2] = 2;
    std::string file = FormatTableFile(table, {});
    EXPECT_NE(file.find(",Twd:1022,\r\n[002]"), std::string::npos);

    LearningTable loaded(kStdTableRows);
    ParseTableFile(file, loaded);
    const LearnedSignal& back = loaded.record(1);
    EXPECT_EQ(back.DataBits, 3);
    EXPECT_EQ(back.PatternCode[0], 1);
    EXPECT_EQ(back.PatternCode[1], 0);
    EXPECT_EQ(back.PatternCode[2], 2);
    EXPECT_EQ(back.PatternCode[3], 2);
}

// Every row different: cells, times up to the widest the format carries,
// negative values, odd and even code counts up to 4096.
void fillProTable(LearningTable& table) {
    for (int row = 1; row <= kProTableRows; ++row) {
        table.setCell(row, ColCarry, std::to_string(30 + row % 20) + ".0kHz");
        table.setCell(row, ColFrames, std::to_string(row % 4));
        table.setCell(row, ColComments, "テレビ電源 " + std::to_string(row));
        table.setCell(row, ColResult, "Code(" + std::to_string(row) + "bits): 0F");
        LearnedSignal& s = table.record(row);
        s.Carry = 300 + row;
        s.DataBits = row == 1 ? 4096 : (row * 37) % 4097;
        s.RepeatBit = s.DataBits / 2;
        for (int p = 0; p < kPatternSlots; ++p) {
            s.PatternHigh[p] = row == 2 ? -9999 : (row * 211 + p * 7919) % 100000;
            s.PatternWidth[p] = row == 2 ? -99999 : (row * 4513 + p * 104729) % 1000000;
        }
        for (int k = 0; k < s.DataBits; ++k)
            s.PatternCode[k] = static_cast<std::uint8_t>((k * 7 + row) % 16);
        if (s.DataBits % 2 != 0) // what the padding digit puts back
            s.PatternCode[s.DataBits] = s.PatternCode[s.DataBits - 1];
    }
}

TEST(SaveTable, FullProTableRoundTripsExactly) {
    test::ScratchFolder folder;
    LearningTable table(kProTableRows);
    fillProTable(table);
    TableSaveResult saved = SaveTable(folder.file("pro.Csv"), table, {});
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_TRUE(saved.warnings.empty());

    LearningTable loaded(kProTableRows);
    TableLoadResult result = LoadTable(folder.file("pro.Csv"), loaded);
    ASSERT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_TRUE(result.warnings.empty());
    for (int row = 1; row <= kProTableRows; ++row) {
        for (int col = ColCarry; col <= ColResult; ++col)
            ASSERT_EQ(loaded.cell(row, col), table.cell(row, col)) << row << "/" << col;
        const LearnedSignal& a = table.record(row);
        const LearnedSignal& b = loaded.record(row);
        ASSERT_TRUE(a.Carry == b.Carry && a.DataBits == b.DataBits && a.RepeatBit == b.RepeatBit &&
                    a.PatternHigh == b.PatternHigh && a.PatternWidth == b.PatternWidth &&
                    a.PatternCode == b.PatternCode)
            << "row " << row;
    }
    // And the second save of what was loaded is the same file.
    EXPECT_EQ(FormatTableFile(loaded, {}), test::ReadBytes(folder.file("pro.Csv")));
}

TEST(SaveTable, WarnsAboutPatternTimesTooWideForTheFile) {
    LearningTable table(kStdTableRows);
    table.record(4).PatternWidth[3] = 1000000;
    std::vector<std::string> warnings;
    FormatTableFile(table, {}, &warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("row 4"), std::string::npos);
    EXPECT_NE(warnings[0].find("pattern 3"), std::string::npos);
}

} // namespace
} // namespace quvan
