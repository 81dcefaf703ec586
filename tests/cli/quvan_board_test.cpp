// quvan-board as a program against the simulated board: the common options,
// the settings it takes its defaults from, the send command and exit codes.

#include "cli/board/board_options.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using quvan::test_support::RunResult;

RunResult Execute(const std::string& args) {
    return quvan::test_support::RunProgram(std::string(QUVAN_BOARD_EXE) + " " + args);
}

TEST(QuvanBoard, SendPrintsEachReplyInOrderAndFramingReachesTheSimulator) {
    RunResult r = Execute("--simulate send Ver T Twl:001 Bogus");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "QUVAN-ARM Ver.20251223\nTrans Mode\nTwl:001 Error\n?\n");
    // The simulator is started with the session's framing: STX head and ETX
    // on both sides still gives one reply per command.
    r = Execute("--simulate --pro --head STX --dlmt ETX send Ver");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "QUVAN-Pro Ver.20251223 03h\n");
}

TEST(QuvanBoard, ExitCodesTellUsageFailureAndLostLineApart) {
    EXPECT_EQ(Execute("").status, 2);
    EXPECT_EQ(Execute("--simulate frobnicate").status, 2);
    EXPECT_EQ(Execute("--simulate --speed fast send Ver").status, 2);
    EXPECT_EQ(Execute("--simulate --dlmt TAB send Ver").status, 2);
    EXPECT_EQ(Execute("--simulate send").status, 2);
    EXPECT_EQ(Execute("--port /dev/quvan-no-such-port send Ver").status, 1);
    // The board hangs up after its first line: that line is still printed,
    // then the loss is reported.
    RunResult r = Execute("--simulate --sim --hangup-after --sim 1 send Ver T");
    EXPECT_EQ(r.status, 4) << r.out;
    EXPECT_NE(r.out.find("QUVAN-ARM Ver.20251223\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("the serial line was lost"), std::string::npos) << r.out;
}

TEST(QuvanBoardOptions, DefaultsComeFromTheToolsSettingsAndOptionsOverrideThem) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testing::TempDir()) / "quvan_board_options";
    fs::create_directories(dir);
    {
        std::ofstream ini(dir / "quvan-tool-pro.ini");
        ini << "[COMPORT]\nPortName=ttyUSB3\nBaudRate=38400\nSendHead=STX\n"
               "SendDlmt=ETX\nRecvDlmt=CR\n";
    }
    auto parsed = quvan::cli::ParseBoardOptions({"--pro", "send", "Ver"}, dir / "quvan-board");
    ASSERT_TRUE(std::holds_alternative<quvan::cli::BoardOptions>(parsed));
    const auto& o = std::get<quvan::cli::BoardOptions>(parsed);
    EXPECT_EQ(o.port.PortName, "ttyUSB3");
    EXPECT_EQ(o.port.BaudRate, 38400);
    EXPECT_EQ(o.port.SendHead, "STX");
    EXPECT_EQ(o.port.RecvDlmt, "CR");
    EXPECT_EQ(o.command, "send");
    EXPECT_EQ(o.commandArguments, std::vector<std::string>{"Ver"});

    parsed =
        quvan::cli::ParseBoardOptions({"--pro", "--port", "ttyACM0", "--speed", "9600", "--head",
                                       "none", "--dlmt", "CRLF", "write", "t.Csv", "--row", "3"},
                                      dir / "quvan-board");
    ASSERT_TRUE(std::holds_alternative<quvan::cli::BoardOptions>(parsed));
    const auto& p = std::get<quvan::cli::BoardOptions>(parsed);
    EXPECT_EQ(p.port.PortName, "ttyACM0");
    EXPECT_EQ(p.port.BaudRate, 9600);
    EXPECT_EQ(p.port.SendHead, "無し");
    EXPECT_EQ(p.port.SendDlmt, "CRLF");
    EXPECT_EQ(p.port.RecvDlmt, "CRLF");
    EXPECT_EQ(p.commandArguments, (std::vector<std::string>{"t.Csv", "--row", "3"}));
    // The STD edition reads its own file, absent here: the tool's defaults.
    parsed = quvan::cli::ParseBoardOptions({"send", "Ver"}, dir / "quvan-board");
    EXPECT_EQ(std::get<quvan::cli::BoardOptions>(parsed).port.PortName, "COM1");
    fs::remove_all(dir);
}

} // namespace
