// Files written by hand, by spreadsheets, by old editors or cut short: every
// row is read, or the user is told what was not and where.

#include "table/table_file.h"
#include "table_file_test_support.h"

#include <gtest/gtest.h>

namespace quvan {
namespace {

constexpr const char* kHeader = "QUVAN Table File\r\n";

std::string patterns() {
    std::string text;
    for (char p : std::string("0123456789ABCDEF"))
        text += std::string("Twp:") + p + (p == '0' ? ":00560 001120," : ":00000 000000,");
    return text;
}

std::string signalRow(int row, const std::string& comment, const std::string& end = "\r\n") {
    char label[16];
    std::snprintf(label, sizeof label, "[%03d],", row);
    return label +
           ("38.0kHz,1," + comment + ",R,Twc:380,Twb:003,Twr:001," + patterns() + "Twd:1022,") +
           end;
}

TEST(TableFileLosses, BlankLinesBetweenRowsAreSkipped) {
    LearningTable table(kStdTableRows);
    TableLoadResult result = ParseTableFile(
        kHeader + signalRow(1, "TV") + "\r\n  \t\r\n" + signalRow(2, "VCR") + "\n\n", table);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(result.rowsRead, 2);
    EXPECT_EQ(table.cell(2, ColComments), "VCR"); // the n-th row line fills row n
    EXPECT_EQ(table.record(2).Carry, 380);
    EXPECT_TRUE(result.warnings.empty());
}

TEST(TableFileLosses, LinesEndingInALoneCrLoadLikeAnyOther) {
    const std::string crlf = kHeader + signalRow(1, "TV") + signalRow(2, "VCR");
    std::string cr;
    for (char c : crlf)
        if (c != '\n')
            cr += c;
    LearningTable a(kStdTableRows), b(kStdTableRows);
    ParseTableFile(crlf, a);
    TableLoadResult result = ParseTableFile(cr, b);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(result.rowsRead, 2);
    EXPECT_EQ(FormatTableFile(a, {}), FormatTableFile(b, {}));
}

TEST(TableFileLosses, ALineThatIsNotARowStopsReadingAndSaysWhatWasLeft) {
    // Header on line 1, rows on 2 and 3, the stray line on 4, two more rows.
    LearningTable table(kStdTableRows);
    TableLoadResult result =
        ParseTableFile(kHeader + signalRow(1, "TV") + signalRow(2, "VCR") + "Total;2\r\n" +
                           signalRow(3, "Amp") + "\r\n" + signalRow(4, "CD"),
                       table);
    EXPECT_EQ(result.status, TableLoadStatus::StoppedEarly);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.partial());
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(result.stop->line, 4);
    EXPECT_EQ(result.stop->unreadRowLines, 2);
    EXPECT_NE(result.stop->message.find("line 4"), std::string::npos) << result.stop->message;
    EXPECT_NE(result.stop->message.find("\"Total;2\""), std::string::npos);
    EXPECT_NE(result.stop->message.find("2 row line(s)"), std::string::npos);
    EXPECT_EQ(result.rowsRead, 2);
    EXPECT_TRUE(table.isBlank(3));
}

TEST(TableFileLosses, AMalformedNumberSaysHowManyRowLinesWereLeft) {
    LearningTable table(kStdTableRows);
    TableLoadResult result =
        ParseTableFile(kHeader + signalRow(1, "TV") + "[002],,,,,Twp:X:00560 001120,\r\n" +
                           signalRow(3, "Amp") + signalRow(4, "CD"),
                       table);
    EXPECT_EQ(result.status, TableLoadStatus::StoppedAtError);
    ASSERT_TRUE(result.conversionError.has_value());
    EXPECT_EQ(result.conversionError->line, 3);
    EXPECT_NE(result.conversionError->message.find("2 row line(s) after it were not read"),
              std::string::npos)
        << result.conversionError->message;
}

TEST(TableFileLosses, RowsWithDataBeyondTheEditionAreNamedBlankOnesAreNot) {
    std::string file = kHeader;
    for (int row = 1; row <= 250; ++row)
        file += signalRow(row, std::to_string(row));
    std::string blanks = file;
    for (int row = 251; row <= 500; ++row)
        blanks += test::BlankRowLine(row);
    LearningTable standard(kStdTableRows);
    EXPECT_EQ(ParseTableFile(blanks, standard).status, TableLoadStatus::Loaded);

    std::string withData = blanks;
    withData += signalRow(501, "late") + "[502],,,Comment only,,Twc:000,\r\n";
    LearningTable again(kStdTableRows);
    TableLoadResult result = ParseTableFile(withData, again);
    EXPECT_EQ(result.status, TableLoadStatus::StoppedEarly);
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(result.stop->unreadRowLines, 2);
    EXPECT_EQ(result.stop->line, 502); // header + 500 rows, then row line 501
    EXPECT_EQ(again.cell(250, ColComments), "250");
}

TEST(TableFileLosses, RowsCutShortAreReportedWithTheirRow) {
    LearningTable table(kStdTableRows);
    const std::string cutInCodes =
        "[001],38.0kHz,1,TV,R,Twc:380,Twb:034,Twr:000," + patterns() + "Twd:0101\r\n";
    const std::string oddButWhole =
        "[002],38.0kHz,1,TV,R,Twc:380,Twb:003,Twr:000," + patterns() + "Twd:1022,\r\n";
    const std::string cutInCells = "[003],38.0kHz,1,TV po";
    TableLoadResult result = ParseTableFile(kHeader + cutInCodes + oddButWhole + cutInCells, table);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0], "row 1, Twd: holds 4 codes where Twb:34 asks for 34; the rest "
                                  "read as 0");
    EXPECT_EQ(result.warnings[1].rfind("row 3, the line ends before its last field", 0), 0u)
        << result.warnings[1];
    EXPECT_EQ(table.cell(3, ColComments), "TV po");
}

TEST(TableFileLosses, NumbersThatOverflowOrAreNoNumbersAreNamedNegativeCarrierToo) {
    LearningTable table(kStdTableRows);
    auto rowWith = [](int row, const std::string& numbers) {
        return "[00" + std::to_string(row) + "],38.0kHz,1,TV,R," + numbers + patterns() +
               "Twd:,\r\n";
    };
    TableLoadResult result = ParseTableFile(
        kHeader + rowWith(1, "Twc:99999999999999999999,Twb:000,Twr:000,") +
            rowWith(2, "Twc:380,Twb:4294967296,Twr:000,") +
            rowWith(3, "Twc:-380,Twb:000,Twr:000,") + rowWith(4, "Twc:38k,Twb:000,Twr:000,"),
        table);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    ASSERT_EQ(result.warnings.size(), 4u);
    EXPECT_EQ(result.warnings[0], "row 1, Twc:99999999999999999999 is too large and was read as 0");
    EXPECT_EQ(result.warnings[1], "row 2, Twb:4294967296 is too large and was read as 0");
    EXPECT_EQ(result.warnings[2].rfind("row 3, Twc:-380 is a negative carrier", 0), 0u);
    EXPECT_EQ(result.warnings[3], "row 4, Twc:38k is not a number and was read as 0");
    EXPECT_EQ(table.record(1).Carry, 0);
    EXPECT_EQ(table.record(3).Carry, 0);
}

TEST(TableFileLosses, FileThatCannotBeOpenedSaysWhy) {
    test::ScratchFolder folder;
    LearningTable table(kStdTableRows);
    table.setCell(1, ColComments, "mine");
    TableLoadResult missing = LoadTable(folder.file("none.Csv"), table);
    EXPECT_EQ(missing.status, TableLoadStatus::CannotOpen);
    EXPECT_NE(missing.error.find("none.Csv: No such file or directory"), std::string::npos)
        << missing.error;
    TableLoadResult directory = LoadTable(folder.path().string(), table);
    EXPECT_NE(directory.error.find("Is a directory"), std::string::npos) << directory.error;
    EXPECT_EQ(table.cell(1, ColComments), "mine");
}

// The file is read in 64 KiB pieces: a CR LF split between two of them is
// still one line end, and every row arrives whole.
TEST(TableFileLosses, LineEndsSplitBetweenReadsStayOneLineEnd) {
    test::ScratchFolder folder;
    const std::string first = signalRow(1, "TV");
    const std::size_t bareSecond = signalRow(2, "").size();
    for (std::size_t crAt : {65534u, 65535u, 65536u}) {
        // Row 2's comment is long enough to put its CR at byte crAt.
        const std::size_t secondSize = crAt + 2 - std::string(kHeader).size() - first.size();
        const std::string file = kHeader + first +
                                 signalRow(2, std::string(secondSize - bareSecond, 'b')) +
                                 signalRow(3, "after");
        SCOPED_TRACE(crAt);
        ASSERT_EQ(file.substr(crAt, 3), "\r\n[");
        test::WriteBytes(folder.file("split.Csv"), file);
        LearningTable fromFile(kStdTableRows), fromBytes(kStdTableRows);
        TableLoadResult result = LoadTable(folder.file("split.Csv"), fromFile);
        ParseTableFile(file, fromBytes);
        EXPECT_EQ(result.status, TableLoadStatus::Loaded);
        EXPECT_EQ(result.rowsRead, 3);
        EXPECT_EQ(fromFile.cell(3, ColComments), "after");
        EXPECT_EQ(FormatTableFile(fromFile, {}), FormatTableFile(fromBytes, {}));
    }
}

} // namespace
} // namespace quvan
