// The board's replies to the tool's everyday exchanges.
#include "board_test_support.h"

#include <gtest/gtest.h>

using namespace quvan::sim;
using namespace quvan::sim::test;

TEST(Exchanges, VersionLineNamesTheEditionAndEightCharactersAfterVer) {
    BoardModel std_board;
    BoardModel pro_board({.pro = true, .version = "Ver.20240208"});
    for (const char* probe : {"Ver", "V"}) {
        const auto s = std_board.handle_command(probe, 0);
        ASSERT_EQ(s.size(), 1u);
        EXPECT_NE(s[0].text.find("QUVAN-ARM"), std::string::npos);
        const std::size_t at = s[0].text.find("Ver.");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(s[0].text.substr(at + 4), "20251223");
    }
    EXPECT_EQ(pro_board.handle_command("Ver", 0), BoardOutputs{line("QUVAN-Pro Ver.20240208")});
    // The edition command switches what the version line says.
    std_board.handle_command("Version:Pro", 0);
    EXPECT_EQ(std_board.handle_command("V", 0), BoardOutputs{line("QUVAN-Pro Ver.20251223")});
}

TEST(Exchanges, ModesTransferModeAndLearningTime) {
    BoardModel board;
    EXPECT_EQ(texts(send_all(board, {"ZEM:on", "ZEM:off", "T", "A", "A:Pro", "A:pro", "T"})),
              (std::vector<std::string>{"ZEM:on", "ZEM:off", "Trans Mode", "Analyze Mode",
                                        "Analyze Mode", "Analyze Mode", "Trans Mode"}));
    EXPECT_EQ(board.handle_command("Lend:0200", 0), BoardOutputs{line("Lend:0200")});
    EXPECT_EQ(board.learn_end_ms(), 200);
    EXPECT_EQ(board.handle_command("Lend:abcd", 0), BoardOutputs{line("?")});
    EXPECT_EQ(board.learn_end_ms(), 200);
    EXPECT_EQ(texts(send_all(board, {"Ri:on", "Ri:off", "Bogus"})),
              (std::vector<std::string>{"Ri:on", "Ri:off", "?"}));
}

TEST(Exchanges, CompletionCodeFollowsIrEndMode) {
    BoardModel board;
    std::vector<std::string> fires;
    board.on_fire = [&](const std::string& l) { fires.push_back(l); };
    send_all(board, {"Tp:1010", "Twf:000", "Twc:380", "Twb:002", "Twr:000", "Twp:0:09000,013500",
                     "Twp:1:00560,001120", "Twd:01"});

    const auto ack_reply = board.handle_command("IrEND:ACK", 0);
    ASSERT_EQ(ack_reply.size(), 1u);
    EXPECT_TRUE(ack_reply[0].text.starts_with("IrEND:"));
    EXPECT_NE(ack_reply[0].text.find("ACK(0x06)"), std::string::npos);
    EXPECT_EQ(board.handle_command("Tf:3", 0), BoardOutputs{raw("\x06")});

    const auto crlf_reply = board.handle_command("IrEND:CRLF", 0);
    ASSERT_EQ(crlf_reply.size(), 1u);
    EXPECT_TRUE(crlf_reply[0].text.starts_with("IrEND:"));
    EXPECT_EQ(crlf_reply[0].text.find("ACK(0x06)"), std::string::npos);
    EXPECT_EQ(board.handle_command("Tm:NEC-32A   ,d:00FF 12ED,f:1", 0),
              BoardOutputs{raw("ACK\r\n")});

    ASSERT_EQ(fires.size(), 2u);
    EXPECT_NE(fires[0].find("outputs=1010"), std::string::npos);
    EXPECT_NE(fires[0].find("frames=3"), std::string::npos);
    EXPECT_NE(fires[0].find("codes=01"), std::string::npos);
    EXPECT_NE(fires[1].find("tm=NEC-32A code=00FF 12ED"), std::string::npos);
}

TEST(Exchanges, FiringWithoutASignalOrWithBadTextIsNotConfirmed) {
    BoardModel board;
    EXPECT_EQ(board.handle_command("Tf:1", 0), BoardOutputs{line("Tf:Error")});
    EXPECT_EQ(board.handle_command("Tm:NEC,d:00FF", 0), BoardOutputs{line("Tm:Error")});
    EXPECT_EQ(board.handle_command("Tp:12", 0), BoardOutputs{line("?")});
}

TEST(Exchanges, DipSwitchQueriesAndSettingsTakeEffectAtReset) {
    BoardModel board({.reset_pause_ms = 100, .loader_idle_ms = 1000});
    EXPECT_EQ(texts(send_all(board, {"BpsR:?", "BpsU:?", "Bit16:?"})),
              (std::vector<std::string>{"BpsR:0", "BpsU:0", "Bit16:1"}));
    send_all(board, {"BpsR:4", "BpsU:1", "Bit16:4"});
    EXPECT_EQ(board.handle_command("BpsR:?", 0), BoardOutputs{line("BpsR:0")});
    EXPECT_EQ(board.handle_command("BpsR:5", 0), BoardOutputs{line("?")});
    EXPECT_EQ(board.handle_command("Bit16:3", 0), BoardOutputs{line("?")});

    EXPECT_TRUE(board.handle_command("Reset", 0).empty());
    // The loader announces itself, then hands over to the application.
    EXPECT_EQ(texts(board.advance(100)), (std::vector<std::string>{"QUVAN-Loader R1.00 ready"}));
    EXPECT_EQ(board.advance(1099).size(), 0u);
    EXPECT_EQ(board.advance(1100), BoardOutputs{line(board.version_line())});
    // Bit16:4 means four emissions, the third choice: the reply digit is 3.
    EXPECT_EQ(texts(send_all(board, {"BpsR:?", "BpsU:?", "Bit16:?"})),
              (std::vector<std::string>{"BpsR:4", "BpsU:1", "Bit16:3"}));
}

TEST(Learning, PressIsReportedOnlyWhileLearning) {
    BoardModel board;
    PressRequest nec;
    nec.code = {0x20, 0x10};
    nec.hold_ms = 1;
    auto capture = std::get<Capture>(board.press(nec));
    EXPECT_TRUE(board.report_capture(capture).empty());

    send_all(board, {"Lend:0300", "A"});
    capture = std::get<Capture>(board.press(nec));
    const auto lines = texts(board.report_capture(capture));
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "[000]:09000 013500");
    EXPECT_EQ(lines[33], "[033]:00560 300560"); // stop mark plus the 300 ms learning end
    EXPECT_EQ(lines[34], "Ave.Freq = 38.0kHz");
    EXPECT_EQ(board.mode(), BoardMode::Analyze); // the board keeps learning
}

TEST(Learning, AutoLearnSendsDemoCapturesInTurnAndStopsOnT) {
    BoardModel board({.auto_learn = true});
    EXPECT_EQ(board.handle_command("A", 1000), BoardOutputs{line("Analyze Mode")});
    EXPECT_EQ(board.next_deadline(), 1700);
    EXPECT_TRUE(board.advance(1699).empty());
    const auto first = texts(board.advance(1700));
    ASSERT_GT(first.size(), 30u);
    EXPECT_EQ(first.front(), "[000]:09000 013500"); // NEC first
    EXPECT_EQ(first.back(), "Ave.Freq = 38.0kHz");

    board.handle_command("A:pro", 2000);
    const auto second = texts(board.advance(2700));
    EXPECT_EQ(second.front(), "[000]:02400 003000"); // then Sony 12
    EXPECT_EQ(second.back(), "Ave.Freq = 40.0kHz");

    board.handle_command("A", 3000);
    board.handle_command("T", 3100);
    EXPECT_FALSE(board.next_deadline().has_value());
    EXPECT_TRUE(board.advance(4000).empty());
}
