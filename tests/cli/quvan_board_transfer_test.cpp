// quvan-board write, read and fire against the simulated board: what each
// prints, what reaches the board, and the exit codes scripts rely on.

#include "../table/transfer/transfer_test_support.h"
#include "run_program.h"
#include "table/table_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using quvan::transfer::test::FillNecRow;
using quvan::transfer::test::kNecDigits;

using quvan::test_support::RunResult;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class QuvanBoardTransfers : public ::testing::Test {
  protected:
    QuvanBoardTransfers() {
        dir = fs::path(testing::TempDir()) /
              ("quvan_board_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~QuvanBoardTransfers() override { fs::remove_all(dir); }

    RunResult Run(const std::string& program, const std::string& args) {
        return quvan::test_support::RunProgram(program + " " + args, (dir / "stderr.txt").string());
    }
    RunResult Board(const std::string& args) { return Run(QUVAN_BOARD_EXE, args); }

    // The simulator's options for a run: wire log, fire log and flash file
    // in the test's folder, plus `more`.
    std::string Sim(const std::string& more = "") const {
        std::string args = "--simulate --sim --wire-log --sim " + (dir / "wire.log").string() +
                           " --sim --fire-log --sim " + (dir / "fire.log").string() +
                           " --sim --flash --sim " + (dir / "flash.txt").string();
        std::istringstream words(more);
        for (std::string word; words >> word;)
            args += " --sim " + word;
        return args;
    }

    // A table file with NEC signals in the given rows.
    std::string TableFile(std::initializer_list<int> rows = {1, 3}) {
        quvan::LearningTable table(quvan::kStdTableRows);
        for (int row : rows)
            FillNecRow(table, row);
        const fs::path path = dir / "table.csv";
        EXPECT_TRUE(quvan::SaveTable(path.string(), table, {}).ok);
        return path.string();
    }

    std::string Wire() const { return ReadFile(dir / "wire.log"); }

    fs::path dir;
};

// The registration block of the NEC row, as the line carries it.
std::string NecWire(int row, int writeFlag = 0) {
    char text[64];
    std::string bytes;
    std::snprintf(text, sizeof text, "Twf:%03d\r\n", writeFlag);
    bytes += text;
    bytes += "Twc:380\r\nTwb:034\r\nTwr:000\r\n"
             "Twp:0:09000,013500\r\nTwp:1:00560,001120\r\nTwp:2:00560,002250\r\n"
             "Twp:3:00560,040500\r\n";
    for (const char* index : {"4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        bytes += std::string("Twp:") + index + ":00000,000000\r\n";
    std::snprintf(text, sizeof text, "Tws:%03d\r\n", row);
    return bytes + "Twd:" + kNecDigits + "\r\n" + text;
}

TEST_F(QuvanBoardTransfers, WriteRegistersEveryFilledRowAndFlashWrites) {
    const std::string table = TableFile();
    RunResult r = Board(Sim() + " write " + table);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "001\tACK\n003\tACK\nstored 2 of 2 rows, flash written\n");
    // The version first (it decides the flash write), then the two rows.
    EXPECT_EQ(Wire(), "Ver\r\n" + NecWire(1) + NecWire(3) + "Tws:FlashWrite\r\n");
    const std::string flash = ReadFile(dir / "flash.txt");
    EXPECT_NE(flash.find("Twl:001\nTwc:380\n"), std::string::npos) << flash;
    EXPECT_NE(flash.find("Twl:003\n"), std::string::npos);
    EXPECT_EQ(flash.find("Twl:002"), std::string::npos);

    // One row; a blank one only with --erase-blank.
    fs::remove(dir / "wire.log");
    r = Board(Sim() + " write " + table + " --row 3");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "003\tACK\nstored 1 of 1 rows, flash written\n");
    r = Board(Sim() + " write " + table + " --row 2");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("row 2 is blank"), std::string::npos) << r.err;
    fs::remove(dir / "wire.log");
    r = Board(Sim() + " write " + table + " --row 2 --erase-blank");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Wire().starts_with("Ver\r\nTwf:999\r\nTwc:000\r\n")) << Wire();
}

TEST_F(QuvanBoardTransfers, WriteToAnOlderBoardSendsNoFlashWrite) {
    const RunResult r = Board(Sim("--version Ver.20240208") + " write " + TableFile());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "001\tACK\n003\tACK\nstored 2 of 2 rows\n");
    EXPECT_EQ(Wire(), "Ver\r\n" + NecWire(1) + NecWire(3));
}

TEST_F(QuvanBoardTransfers, WriteGivesEachRowItsOwnSecond) {
    // Each ACK comes 300 ms late: five rows take longer than one wait, but
    // no single row does.
    const RunResult r = Board(Sim("--delay 300") + " write " + TableFile({1, 2, 3, 4, 5}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "001\tACK\n002\tACK\n003\tACK\n004\tACK\n005\tACK\n"
                     "stored 5 of 5 rows, flash written\n");
}

TEST_F(QuvanBoardTransfers, AFlashWriteSentLastStillReachesASlowBoard) {
    // At 9600 baud the flash write is still on the line when quvan-board
    // is done; the board takes it all the same.
    const RunResult r = Board(Sim("--baud 9600") + " write " + TableFile({2}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.ends_with("flash written\n")) << r.out;
    EXPECT_NE(ReadFile(dir / "flash.txt").find("Twl:002\n"), std::string::npos);
}

TEST_F(QuvanBoardTransfers, WriteExitCodesNameWhatWentWrong) {
    const std::string table = TableFile();
    RunResult r = Board(Sim("--no-ack") + " write " + table);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "stored 0 of 2 rows\n");
    EXPECT_NE(r.err.find("stopped answering at row 001"), std::string::npos) << r.err;
    EXPECT_EQ(Wire().find("FlashWrite"), std::string::npos);

    // The version line and row 1's ACK, then the line goes dead.
    r = Board(Sim("--hangup-after 2") + " write " + table);
    EXPECT_EQ(r.status, 4) << r.out << r.err;
    EXPECT_TRUE(r.out.starts_with("001\tACK\n")) << r.out;
    EXPECT_NE(r.err.find("the serial line was lost"), std::string::npos) << r.err;

    EXPECT_EQ(Board(Sim() + " write").status, 2);
    EXPECT_EQ(Board(Sim() + " write " + (dir / "missing.csv").string()).status, 2);
    std::ofstream(dir / "other.csv") << "not a table\n[001],38.0kHz,\n";
    r = Board(Sim() + " write " + (dir / "other.csv").string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("not a table file"), std::string::npos) << r.err;
    EXPECT_EQ(Board(Sim() + " write " + table + " --row 251").status, 2);
    EXPECT_EQ(Board(Sim() + " write " + table + " --row x").status, 2);
}

TEST_F(QuvanBoardTransfers, ReadWritesATableThatDecodesTheSame) {
    ASSERT_EQ(Board(Sim() + " write " + TableFile()).status, 0);
    const fs::path out = dir / "read.csv";
    fs::remove(dir / "wire.log");
    RunResult r = Board(Sim() + " read " + out.string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "001\tNEC-32A\tTm:NEC-32A    d:00FF 12ED\n"
                     "003\tNEC-32A\tTm:NEC-32A    d:00FF 12ED\n"
                     "read 2 filled of 250 entries into " +
                         out.string() + "\n");
    const std::string wire = Wire();
    EXPECT_TRUE(wire.starts_with("ZEM:on\r\nTwl:001\r\nTwl:002\r\n")) << wire;
    EXPECT_TRUE(wire.ends_with("Twl:250\r\nZEM:off\r\n"));

    // quvan-decode decodes the file's records into the cells it holds.
    quvan::LearningTable table(quvan::kStdTableRows);
    ASSERT_EQ(quvan::LoadTable(out.string(), table).status, quvan::TableLoadStatus::Loaded);
    EXPECT_EQ(table.cell(1, quvan::ColCarry), "38.0kHz");
    EXPECT_EQ(table.cell(1, quvan::ColFrames), "3");
    const RunResult decoded = Run(QUVAN_DECODE_EXE, "--entries " + out.string());
    EXPECT_EQ(decoded.status, 0);
    std::string cells;
    for (int row : {1, 3})
        cells += std::to_string(row) + "\t" + table.cell(row, quvan::ColComments) + "\t" +
                 table.cell(row, quvan::ColResult) + "\n";
    EXPECT_EQ(decoded.out, cells);
}

TEST_F(QuvanBoardTransfers, ReadFromASilentBoardWritesNothing) {
    const fs::path out = dir / "read.csv";
    RunResult r = Board(Sim("--ignore Twl:") + " read " + out.string());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("stopped answering after 0 entries"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(Wire().ends_with("Twl:003\r\nZEM:off\r\n")) << Wire();

    r = Board(Sim("--ignore ZEM:off") + " read " + out.string());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("no \"ZEM:off\""), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));

    r = Board(Sim("--hangup-after 3") + " read " + out.string());
    EXPECT_EQ(r.status, 4);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Board(Sim() + " read").status, 2);
}

TEST_F(QuvanBoardTransfers, FireSendsWhatTestFiringSends) {
    const std::string table = TableFile();
    RunResult r = Board(Sim() + " fire " + table + " 1 --outputs 1010");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 06h\n"); // the board's completion code
    std::string expected = "Tp:1010\r\n" + NecWire(0);
    expected.replace(expected.find("Tws:000\r\n"), 9, "Tf:1\r\n");
    EXPECT_EQ(Wire(), expected);
    EXPECT_EQ(ReadFile(dir / "fire.log"),
              "outputs=1010 frames=1 carry=380 bits=34 repeat=0 "
              "patterns=0:9000/13500,1:560/1120,2:560/2250,3:560/40500 codes=" +
                  kNecDigits + "\n");

    fs::remove(dir / "wire.log");
    r = Board(Sim() + " fire " + table + " 3 --by-result");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Wire(), "Tp:1111\r\nTm:NEC-32A   ,d:00FF 12ED,f:1\r\n");

    r = Board(Sim() + " fire " + table + " 2");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("row 2 is blank"), std::string::npos) << r.err;
    EXPECT_EQ(Board(Sim() + " fire " + table + " 1 --outputs 12").status, 2);
    EXPECT_EQ(Board(Sim() + " fire " + table).status, 2);
}

} // namespace
