// quvan-decode as a program: files, standard input, records, entries and
// exit codes.

#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <unistd.h>

namespace {

using quvan::test_support::RunResult;

std::string TempPath(const char* name);
std::string Slurp(const std::string& path);

RunResult Execute(const std::string& args) {
    // ctest runs the tests of this file side by side, each in its process.
    static int calls = 0;
    const std::string errName =
        "stderr-" + std::to_string(::getpid()) + "-" + std::to_string(++calls) + ".txt";
    const std::string errPath = TempPath(errName.c_str());
    RunResult r =
        quvan::test_support::RunProgram(std::string(QUVAN_DECODE_EXE) + " " + args, errPath);
    std::remove(errPath.c_str());
    return r;
}

std::string TempPath(const char* name) {
    return ::testing::TempDir() + name;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string kLog = std::string(QUVAN_TEST_DATA) + "/decode/nec-sony.log";

TEST(QuvanDecode, OneLinePerAnalysisLineFromFileAndStdin) {
    const std::string expected = "38.0kHz\t1\tTm:NEC-32A    d:20DF 10EF\n"
                                 "40.0kHz\t3\tTm:SONY12     d:0115\n";
    RunResult r = Execute(kLog);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, expected);
    r = Execute("< " + kLog);
    EXPECT_EQ(r.out, expected);
}

TEST(QuvanDecode, RecordsOfTheStoredRows) {
    const std::string path = TempPath("records.txt");
    ASSERT_EQ(Execute("--records " + path + " " + kLog).status, 0);
    std::istringstream lines(Slurp(path));
    std::string first;
    std::getline(lines, first);
    // NEC: 102 pairs kept, patterns leader, 0, 1 and the stop with the gap.
    const std::string frame = "0"
                              "11111211"
                              "22222122"
                              "11112111"
                              "22221222"
                              "3";
    std::string expected = "1\t380\t102\t0\t9000/13500,560/1120,560/2250,560/40500";
    for (int i = 4; i < 16; ++i)
        expected += ",0/0";
    expected += "\t" + frame + frame + frame;
    EXPECT_EQ(first, expected);
    std::string second;
    std::getline(lines, second);
    EXPECT_EQ(second.rfind("2\t400\t13\t0\t2400/3000,", 0), 0u) << second;
}

TEST(QuvanDecode, UsageErrorsAndUnreadableFilesExitWithTwo) {
    EXPECT_EQ(Execute("--bogus").status, 2);
    EXPECT_EQ(Execute("--hrange").status, 2);
    EXPECT_EQ(Execute("--philips --serial " + kLog).status, 2);
    EXPECT_EQ(Execute("/nonexistent/file.log").status, 2);
}

TEST(QuvanDecode, BadCarrierAndOverflowLines) {
    const std::string path = TempPath("bad.log");
    std::ofstream(path) << "[000]:09000 013500\n[001]:00560 001125\nAve.Freq = ab.ckHz\n";
    EXPECT_EQ(Execute(path).out, "-\t-\tERROR\n");
    // A carrier of zero or below is no carrier either.
    std::ofstream(path) << "[000]:09000 013500\n[001]:00560 001125\nAve.Freq = 00.0kHz\n"
                        << "[000]:09000 013500\n[001]:00560 001125\nAve.Freq = -38.0kHz\n";
    EXPECT_EQ(Execute(path).out, "-\t-\tERROR\n-\t-\tERROR\n");
}

TEST(QuvanDecode, EntriesOfATableFile) {
    const std::string path = TempPath("table.csv");
    // The comment is "テレビ" in the file's Shift-JIS.
    std::string row = "[001],38.0kHz,1,\x83\x65\x83\x8C\x83\x72,,Twc:380,Twb:034,Twr:000,"
                      "Twp:0:09000 013500,Twp:1:00560 001120,Twp:2:00560 002250,"
                      "Twp:3:00560 040500,";
    for (const char* h : {"4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        row += std::string("Twp:") + h + ":00000 000000,";
    // 00 FF 12 ED: leader, 32 bits (1 = zero, 2 = one), stop.
    const std::string twd =
        std::string("0") + "11111111" + "22222222" + "12112111" + "21221222" + "3";
    row += "Twd:" + twd + ",\r\n";
    std::ofstream(path, std::ios::binary) << "QUVAN Table File\r\n"
                                          << row << "[002],,,,,Twc:000,\r\n";
    RunResult r = Execute("--entries " + path);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\tNEC-32A\tTm:NEC-32A    d:00FF 12ED\n");
    r = Execute("--pcode --entries " + path);
    EXPECT_EQ(r.out, "1\tテレビ\tCode( 34bits): " + twd + "\n");
}

TEST(QuvanDecode, FailuresExitNonZeroWithAMessage) {
    // A folder opens but cannot be read.
    RunResult r = Execute(::testing::TempDir());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
    // A full disk under standard output.
    r = Execute(kLog + " >/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot write standard output: No space left on device"),
              std::string::npos)
        << r.err;
    const std::string table = TempPath("full.csv");
    std::ofstream(table, std::ios::binary)
        << "QUVAN Table File\r\n[001],38.0kHz,1,TV,,Twc:380,Twb:000,Twr:000,Twd:,\r\n";
    r = Execute("--entries " + table + " >/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
}

TEST(QuvanDecode, EntriesThatStopReadingExitWithOneAfterTheRowsRead) {
    const std::string path = TempPath("stopped.csv");
    std::string row = "[001],38.0kHz,1,TV,,Twc:380,Twb:001,Twr:000,";
    for (const char* h :
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        row += std::string("Twp:") + h + (h[0] == '0' ? ":00560 001120," : ":00000 000000,");
    std::ofstream(path, std::ios::binary) << "QUVAN Table File\r\n"
                                          << row << "Twd:00,\r\nnot a row\r\n"
                                          << row << "Twd:00,\r\n";
    RunResult r = Execute("--entries " + path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("1\t", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 row line(s) after it were not read"), std::string::npos) << r.err;
    EXPECT_EQ(Execute("--entries /nonexistent/table.csv").status, 2);
    EXPECT_EQ(Execute("--entries " + ::testing::TempDir()).status, 2);
}

// --entries reads with the table file's own reader: lines ending in a lone
// CR (old Mac editors) are rows like any other.
TEST(QuvanDecode, EntriesOfATableWithCrLineEnds) {
    const std::string path = TempPath("cr.csv");
    std::string file = "QUVAN Table File\r";
    for (int row = 1; row <= 2; ++row)
        file += "[00" + std::to_string(row) + "],38.0kHz,1,TV,,Twc:380,Twb:000,Twr:000,Twd:,\r";
    std::ofstream(path, std::ios::binary) << file;
    RunResult r = Execute("--entries " + path);
    EXPECT_EQ(r.status, 0) << r.err;
    // Both rows are decoded (what they decode to is not the point here).
    EXPECT_EQ(r.out.rfind("1\t", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\n2\t"), std::string::npos) << r.out;
}

TEST(QuvanDecode, RecordsFileIsReplacedWholeOrNotAtAll) {
    const std::string path = TempPath("kept-records.txt");
    std::remove(path.c_str());
    std::ofstream(path) << "the old records\n";
    ::chmod(path.c_str(), 0444); // write-protected: refused, even for root
    RunResult r = Execute("--records " + path + " " + kLog);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot write the records"), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(path), "the old records\n");
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(Execute("--records " + path + " " + kLog).status, 0);
    EXPECT_EQ(Slurp(path).rfind("1\t380\t102\t", 0), 0u);
}

TEST(QuvanDecode, BytesThatAreNotPrintableAreEscapedInMessages) {
    const std::string path = TempPath("hostile.log");
    std::ofstream(path, std::ios::binary)
        << "[000]:09000 013500\n[001]:00560 001125\nAve.Freq = \xFF\x01.0kHz\n";
    RunResult r = Execute(path);
    EXPECT_EQ(r.out, "-\t-\tERROR\n");
    EXPECT_NE(r.err.find("\\xFF\\x01.0"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\xFF'), std::string::npos);
    EXPECT_EQ(r.err.find('\x01'), std::string::npos);
    r = Execute("'" + TempPath("missing\x02.log") + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing\\x02.log"), std::string::npos) << r.err;
}

} // namespace

namespace {

// --explain: each capture's cells, then its diagnosis indented by two blanks.
TEST(QuvanDecode, ExplainFollowsEachCaptureWithItsDiagnosis) {
    const RunResult plain = Execute(kLog);
    const RunResult r = Execute("--explain " + kLog);
    EXPECT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::string cells;
    std::vector<std::string> explained;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) == 0)
            explained.push_back(line);
        else
            cells += line + "\n";
    }
    EXPECT_EQ(cells, plain.out);
    ASSERT_FALSE(explained.empty());
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), "38.0kHz\t1\tTm:NEC-32A    d:20DF 10EF\n");
    EXPECT_NE(r.out.find("  Recognised by timing set 3 (NEC): its frame rule gives NEC-32A.\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("  Recognised by timing set 0 (SONY): its frame rule gives SONY12.\n"),
              std::string::npos);
}

} // namespace
