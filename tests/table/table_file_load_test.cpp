#include "table/table_file.h"
#include "table_file_test_support.h"

#include <gtest/gtest.h>

namespace quvan {
namespace {

constexpr const char* kHeader = "QUVAN Table File\r\n";

// The sixteen pattern fields of a row whose pattern 0 is 560/1120 µs.
std::string patterns() {
    std::string text = "Twp:0:00560 001120,";
    for (const char* p :
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        text += std::string("Twp:") + p + ":00000 000000,";
    return text;
}

std::string rowLine(int row, const std::string& cellsAndFields) {
    char label[16];
    std::snprintf(label, sizeof label, "[%03d],", row);
    return label + cellsAndFields + "\r\n";
}

std::string signalRow(int row, const std::string& comment) {
    return rowLine(row, "38.0kHz,1," + comment + ",R,Twc:380,Twb:003,Twr:001," + patterns() +
                            "Twd:1022,");
}

TEST(LoadTable, TwoDigitLabelsHaveNoResultColumn) {
    LearningTable table(kStdTableRows);
    ParseTableFile(std::string(kHeader) + "[01],38.0kHz,1,TV,Twc:380,\r\n", table);
    EXPECT_EQ(table.cell(1, ColCarry), "38.0kHz");
    EXPECT_EQ(table.cell(1, ColFrames), "1");
    EXPECT_EQ(table.cell(1, ColComments), "TV");
    EXPECT_EQ(table.cell(1, ColResult), "");
    EXPECT_EQ(table.record(1).Carry, 380);
}

TEST(LoadTable, CommaInAnOldFileShiftsTheCellsButNotTheNumbers) {
    LearningTable table(kStdTableRows);
    ParseTableFile(
        std::string(kHeader) +
            rowLine(1, "38.0kHz,1,a,b,Tm:NEC,Twc:380,Twb:003,Twr:001," + patterns() + "Twd:1022,"),
        table);
    EXPECT_EQ(table.cell(1, ColComments), "a");
    EXPECT_EQ(table.cell(1, ColResult), "b");
    const LearnedSignal& s = table.record(1);
    EXPECT_EQ(s.Carry, 380);
    EXPECT_EQ(s.DataBits, 3);
    EXPECT_EQ(s.RepeatBit, 1);
    EXPECT_EQ(s.PatternHigh[0], 560);
    EXPECT_EQ(s.PatternWidth[0], 1120);
}

TEST(LoadTable, TaggedFieldsInAnyOrderAndLastLineWithoutBreakOrComma) {
    LearningTable table(kStdTableRows);
    ParseTableFile(std::string(kHeader) + signalRow(1, "TV") +
                       "[002],,,,,Twd:0123,Twr:002,Twp:3:00100 000200,Twb:004,Twc:400,Twd:9876",
                   table);
    const LearnedSignal& s = table.record(2);
    EXPECT_EQ(s.Carry, 400);
    EXPECT_EQ(s.DataBits, 4);
    EXPECT_EQ(s.RepeatBit, 2);
    EXPECT_EQ(s.PatternHigh[3], 100);
    EXPECT_EQ(s.PatternWidth[3], 200);
    // The last Twd wins and is read to its last digit.
    EXPECT_EQ(s.PatternCode[0], 9);
    EXPECT_EQ(s.PatternCode[3], 6);
}

TEST(LoadTable, LinesEndingInLfAloneReadLikeCrLf) {
    std::string crlf = std::string(kHeader) + signalRow(1, "TV") + signalRow(2, "VCR");
    std::string lf;
    for (char c : crlf)
        if (c != '\r')
            lf += c;
    LearningTable a(kStdTableRows), b(kStdTableRows);
    ParseTableFile(crlf, a);
    ParseTableFile(lf, b);
    EXPECT_EQ(FormatTableFile(a, {}), FormatTableFile(b, {}));
    EXPECT_EQ(b.cell(2, ColComments), "VCR");
    EXPECT_EQ(b.cell(2, ColResult), "R");
}

TEST(LoadTable, RowCountOfTheEditionDecidesHowManyLinesAreRead) {
    std::string file = kHeader;
    for (int row = 1; row <= 500; ++row)
        file += signalRow(row, std::to_string(row));
    LearningTable standard(kStdTableRows);
    TableLoadResult result = ParseTableFile(file, standard);
    EXPECT_EQ(result.rowsRead, 250);
    EXPECT_EQ(standard.cell(250, ColComments), "250");

    std::string half = file.substr(0, file.find("[251]"));
    LearningTable pro(kProTableRows);
    pro.setCell(300, ColCarry, "38.0kHz");
    result = ParseTableFile(half, pro);
    EXPECT_EQ(result.rowsRead, 250);
    EXPECT_EQ(pro.cell(250, ColComments), "250");
    EXPECT_TRUE(pro.isBlank(300));
}

TEST(LoadTable, ALineNotStartingWithBracketEndsTheRows) {
    LearningTable table(kStdTableRows);
    TableLoadResult result = ParseTableFile(
        std::string(kHeader) + signalRow(1, "TV") + "#\r\n" + signalRow(3, "late"), table);
    EXPECT_EQ(result.status, TableLoadStatus::StoppedEarly); // and the user is told
    EXPECT_EQ(result.rowsRead, 1);
    EXPECT_TRUE(table.isBlank(2));
    EXPECT_TRUE(table.cell(3, ColComments).empty());
}

TEST(LoadTable, FileThatIsNotATableAsksFirst) {
    std::string file = "Some other file : Philips Ts:560 Tw:1120 Bits:32\r\n" + signalRow(1, "TV");
    LearningTable table(kStdTableRows);
    table.setCell(1, ColComments, "mine");
    int asked = 0;
    TableLoadOptions no{[&] { return ++asked, false; }};
    EXPECT_EQ(ParseTableFile(file, table, no).status, TableLoadStatus::Declined);
    EXPECT_EQ(ParseTableFile(file, table).status, TableLoadStatus::Declined);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(table.cell(1, ColComments), "mine");

    TableLoadOptions yes{[] { return true; }};
    TableLoadResult result = ParseTableFile(file, table, yes);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(table.cell(1, ColComments), "TV");
    EXPECT_TRUE(result.header.philips);
    EXPECT_EQ(result.header.tw, "1120");
}

TEST(LoadTable, MissingFileLeavesTheTableAlone) {
    test::ScratchFolder folder;
    LearningTable table(kStdTableRows);
    table.setCell(1, ColComments, "mine");
    EXPECT_EQ(LoadTable(folder.file("none.Csv"), table).status, TableLoadStatus::CannotOpen);
    EXPECT_EQ(LoadTable(folder.path().string(), table).status, TableLoadStatus::CannotOpen);
    EXPECT_EQ(table.cell(1, ColComments), "mine");
}

TEST(LoadTable, MonitorDumpListsRowsWithACarrier) {
    LearningTable table(kStdTableRows);
    TableLoadOptions options;
    options.monitorDump = true;
    TableLoadResult result = ParseTableFile(
        std::string(kHeader) + test::BlankRowLine(1) + signalRow(2, "TV"), table, options);
    ASSERT_EQ(result.monitorLines.size(), 1u);
    std::string fields = patterns();
    EXPECT_EQ(result.monitorLines[0], "[002] Twc:380,Twb:003,Twr:001," + fields + "Twd:1022");
}

} // namespace
} // namespace quvan
