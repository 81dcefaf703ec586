// quvan-table and quvan-decode --from as programs: signal files into a table
// file and back out, listing, and the exit codes and messages of failures.

#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using quvan::test_support::RunResult;

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "quvan_table_" + name;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

RunResult Execute(const std::string& exe, const std::string& args) {
    const std::string errPath = TempPath("stderr.txt");
    return quvan::test_support::RunProgram(exe + " " + args, errPath);
}

RunResult Table(const std::string& args) {
    return Execute(QUVAN_TABLE_EXE, args);
}

const std::string kSamples = std::string(QUVAN_TEST_DATA) + "/ir-remotes/";

TEST(QuvanTable, ImportListAndExportRoundTrip) {
    const std::string table = TempPath("sony.csv");
    std::remove(table.c_str());
    // A new table file is made; each added row is printed as list prints it.
    RunResult r = Table("import " + table + " " + kSamples + "Sony_KD.ir");
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string first;
    std::getline(lines, first);
    EXPECT_EQ(first, "1\t40.0kHz\t3\tPower\tTm:SONY12     d:0115");
    EXPECT_NE(r.err.find("signals added to"), std::string::npos);
    EXPECT_EQ(Slurp(table).rfind("QUVAN Table File\r\n[001],40.0kHz,3,Power,", 0), 0u);
    EXPECT_EQ(Table("list " + table).out, r.out);

    // Out as raw timings and into a second table: the same rows.
    const std::string raw = TempPath("sony.txt");
    r = Table("export " + table + " " + raw + " --to raw");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(raw).rfind("# Raw timings", 0), 0u);
    const std::string again = TempPath("again.csv");
    std::remove(again.c_str());
    EXPECT_EQ(Table("import " + again + " " + raw + " --from raw").status, 0);
    EXPECT_EQ(Table("list " + again).out, Table("list " + table).out);

    // --rows picks rows; Pronto and LIRC are written too.
    const std::string pronto = TempPath("two.txt");
    EXPECT_EQ(Table("export " + table + " " + pronto + " --to pronto --rows 2-3").status, 0);
    const std::string text = Slurp(pronto);
    EXPECT_EQ(text.substr(0, text.find("\n0000")), "# Pronto Hex learned codes: name, then the "
                                                   "code\n\nname: Vol_up");
    EXPECT_EQ(Table("export " + table + " - --to lirc --rows 1").out.find("begin remote"), 51u);
}

TEST(QuvanTable, StartRowRefusalsAndExitCodes) {
    const std::string table = TempPath("ac.csv");
    std::remove(table.c_str());
    // Friedrich's "Timer" has 17 pulse shapes: refused with its line, the
    // other signals go in from row 10 on, and the exit code says "in part".
    RunResult r = Table("import " + table + " " + kSamples + "Friedrich_4235h.ir --row 10 --pro");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("10\t38.0kHz\t", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("Friedrich_4235h.ir: line 54: Timer: more than 16 distinct pulse shapes"),
              std::string::npos)
        << r.err;
    // A Pro table file stays a Pro table without --pro.
    EXPECT_EQ(
        Table("import " + table + " " + kSamples + "Sony_KD.ir --row 499").out.rfind("499\t", 0),
        0u);

    const std::string notTable = TempPath("not_a_table.csv");
    std::ofstream(notTable) << "hello\n";
    r = Table("import " + notTable + " " + kSamples + "Sony_KD.ir");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quvan-table: " + notTable + " is not a QUVAN table file\n");
    EXPECT_EQ(Slurp(notTable), "hello\n");

    // A table whose reading stops before its last rows is not imported into:
    // saving it back would drop the rows after the stop.
    const std::string cut = TempPath("cut.csv");
    const std::string cutBytes = "QUVAN Table File\r\n"
                                 "[001],38.0kHz,1,TV,,Twc:380,Twb:000,Twr:000,Twd:,\r\n"
                                 "this line is not a row\r\n"
                                 "[003],40.0kHz,3,VCR,,Twc:400,Twb:000,Twr:000,Twd:,\r\n";
    std::ofstream(cut, std::ios::binary) << cutBytes;
    r = Table("import " + cut + " " + kSamples + "Sony_KD.ir");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(cut), cutBytes);

    EXPECT_EQ(Table("").status, 2);
    EXPECT_EQ(Table("frobnicate x").status, 2);
    EXPECT_EQ(Table("import " + table).status, 2);
    EXPECT_EQ(Table("import " + table + " /nonexistent.ir").status, 2);
    EXPECT_EQ(Table("import " + table + " x --from lirc").status, 2);
    EXPECT_EQ(Table("import " + table + " x --carrier 455kHz").status, 2);
    EXPECT_EQ(Table("export " + table + " out.txt").status, 2);
    EXPECT_EQ(Table("export " + table + " out.txt --to pulse-space").status, 2);
    EXPECT_EQ(Table("export " + table + " out.txt --to raw --rows 5-2").status, 2);
    EXPECT_EQ(Table("list /nonexistent.csv").status, 2);
    // Rows without a signal give nothing to export.
    EXPECT_EQ(Table("export " + table + " - --to raw --rows 1-9").status, 1);
}

TEST(QuvanDecodeFrom, SignalFilesDecodedOneLinePerSignal) {
    RunResult r = Execute(QUVAN_DECODE_EXE, "--from flipper " + kSamples + "Sony_KD.ir");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Power\t40.0kHz\t3\tTm:SONY12     d:0115");

    const std::string raw = TempPath("decode.txt");
    std::ofstream(raw) << "name: A\n+500 +500\n\n"
                       << "9000 4500 560 560 560 1690 560\n";
    r = Execute(QUVAN_DECODE_EXE, "--from raw " + raw);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "-\t-\tERROR");
    EXPECT_NE(r.err.find("line 2: A: two marks in a row"), std::string::npos);
    EXPECT_EQ(r.out.rfind("38.0kHz\t", r.out.find('\n') + 1), r.out.find('\n') + 1);

    EXPECT_EQ(Execute(QUVAN_DECODE_EXE, "--from morse " + raw).status, 2);
    EXPECT_EQ(Execute(QUVAN_DECODE_EXE, "--carrier 38000 " + raw).status, 2);
    // Options of board logs are refused rather than silently ignored.
    EXPECT_EQ(Execute(QUVAN_DECODE_EXE, "--from raw --explain " + raw).status, 2);
    EXPECT_EQ(Execute(QUVAN_DECODE_EXE, "--from raw --wave-text /tmp/w.txt " + raw).status, 2);
    EXPECT_EQ(Execute(QUVAN_DECODE_EXE, "--from raw /nonexistent.txt").status, 2);
}

} // namespace
