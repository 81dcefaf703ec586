// quvan-decode as a program: files, standard input, records, entries and
// exit codes.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct RunResult {
    int status = -1;
    std::string out;
};

RunResult Execute(const std::string& args) {
    const std::string cmd = std::string(QUVAN_DECODE_EXE) + " " + args + " 2>/dev/null";
    RunResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;)
        r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
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
