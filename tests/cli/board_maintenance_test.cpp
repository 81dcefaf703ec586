// quvan-board firmware and dip against the simulated board: the image the
// loader received, the exit status of each way an update can end, and the
// DIP switch settings read and written.

#include "../frame/temp_dir.h"
#include "../maintenance/hex_text.h"
#include "run_program.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using quvan::test_support::TempDir;

using quvan::test_support::RunResult;

RunResult Execute(const std::string& args) {
    return quvan::test_support::RunProgram(std::string(QUVAN_BOARD_EXE) + " " + args);
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class BoardMaintenance : public ::testing::Test {
  protected:
    BoardMaintenance() {
        std::ofstream(hex, std::ios::binary) << quvan::test_support::HexText(0x08010000, bytes, 32);
    }
    // quvan-board on the simulator, which keeps its image and wire log here.
    RunResult Board(const std::string& simOptions, const std::string& command) {
        std::string sim = "--sim --firmware-out --sim " + image.string() +
                          " --sim --wire-log --sim " + wire.string();
        std::istringstream words(simOptions);
        for (std::string word; words >> word;)
            sim += " --sim " + word;
        return Execute("--simulate " + sim + " " + command);
    }

    TempDir dir;
    const std::string bytes = quvan::test_support::FirmwareBytes(6000);
    const std::filesystem::path hex = dir.path() / "fw.hex";
    const std::filesystem::path image = dir.path() / "image.bin";
    const std::filesystem::path wire = dir.path() / "wire.log";
};

TEST_F(BoardMaintenance, AnUpdateDeliversTheFileByteForByte) {
    const RunResult r = Board("", "firmware --reset-wait 0 " + hex.string());
    EXPECT_EQ(r.status, 0) << r.out;
    // 6000 bytes from 0x08010000 in 32-byte records: the last starts at
    // 0x08011760, sector 4.
    EXPECT_NE(r.out.find("LastAdrs[0x0801:1760] EraseSector:4\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nCompleted\n"), std::string::npos) << r.out;
    EXPECT_TRUE(Slurp(image) == bytes);
    EXPECT_NE(Slurp(wire).find("4:Last Sector to Erase\r\n"), std::string::npos);
}

TEST_F(BoardMaintenance, EachWayAnUpdateCanFailHasItsExitStatus) {
    // The loader reports an error at the fifth record: failed.
    RunResult r = Board("--loader-error-at 5", "firmware --reset-wait 0 " + hex.string());
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("\nFailure\n"), std::string::npos) << r.out;
    // The line goes in the middle of the records: the line was lost. The
    // file is larger than the terminal holds, so the loss is seen while the
    // records still go out.
    const std::filesystem::path big = dir.path() / "big.hex";
    std::ofstream(big, std::ios::binary)
        << quvan::test_support::HexText(0x08010000, quvan::test_support::FirmwareBytes(65536));
    r = Board("--loader-hangup-after 30", "firmware --reset-wait 0 " + big.string());
    EXPECT_EQ(r.status, 4) << r.out;
    // The loader never announces itself: the board stopped answering.
    r = Board("--loader-silent", "firmware --reset-wait 0 --loader-wait 800 " + hex.string());
    EXPECT_EQ(r.status, 3) << r.out;
    EXPECT_NE(r.out.find("QUVAN-Loader が 1 秒以内に応答しませんでした。"), std::string::npos)
        << r.out;
    // A bad file: refused before anything is sent. 1E → E2, not E3.
    std::ofstream(dir.path() / "bad.hex") << ":0400100001020304E3\r\n:00000001FF\r\n";
    std::filesystem::remove(wire);
    r = Board("", "firmware " + (dir.path() / "bad.hex").string());
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("1 行目: チェックサムが E3"), std::string::npos) << r.out;
    EXPECT_EQ(Slurp(wire).find("Ver"), std::string::npos);
    EXPECT_EQ(Board("", "firmware").status, 2);
}

TEST_F(BoardMaintenance, DipSettingsAreReadAndWritten) {
    const std::filesystem::path flash = dir.path() / "flash.txt";
    std::ofstream(flash) << "QUVAN-SIM FLASH 1\nBpsR:4\nBpsU:1\nBit16:2\n";
    RunResult r = Board("--flash " + flash.string(), "dip");
    EXPECT_EQ(r.status, 0) << r.out;
    // 9600: switch 3; USB 57600: switch 7; two emissions: switch 5.
    EXPECT_EQ(r.out, "rs 9600\nusb 57600\ninput contacts\nfire 2\ndsw1 0010101\n");

    // Only the given settings change; the others stay as the board had them.
    r = Board("--flash " + flash.string(), "dip --input binary --fire 6");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "rs 9600\nusb 57600\ninput binary\nfire 6\ndsw1 0011111\n");
    EXPECT_NE(Slurp(wire).find("BpsR:4\r\nBpsU:1\r\nBinary:6\r\nReset\r\n"), std::string::npos);
    EXPECT_NE(Slurp(flash).find("Binary:6"), std::string::npos);

    EXPECT_EQ(Board("", "dip --rs 14400").status, 2);
    EXPECT_EQ(Board("", "dip --fire 3").status, 2);
}

} // namespace
