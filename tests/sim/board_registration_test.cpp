// Registering entries, reading them back and keeping them in flash.
#include "board_test_support.h"

#include <gtest/gtest.h>

using namespace quvan::sim;
using namespace quvan::sim::test;

namespace {
// A block in the form the tool sends it: an NEC-like entry of 5 codes.
std::vector<std::string> sample_block() {
    std::vector<std::string> b = {"Twf:000",
                                  "Twc:380",
                                  "Twb:005",
                                  "Twr:001",
                                  "Twp:0:09000,013500",
                                  "Twp:1:00560,001120",
                                  "Twp:2:00560,002250"};
    for (const char* unused : {"3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        b.push_back(std::string("Twp:") + unused + ":00000,000000");
    b.push_back("Twd:012122"); // five codes 0 1 2 1 2, padded with the last
    return b;
}
} // namespace

TEST(Registration, StoreAnswersAckAndReadBackIsByteExact) {
    BoardModel board;
    auto block = sample_block();
    EXPECT_TRUE(send_all(board, block).empty()); // the block itself is not answered
    EXPECT_EQ(board.handle_command("Tws:007", 0), BoardOutputs{line("ACK")});

    const auto read = texts(board.handle_command("Twl:007", 0));
    std::vector<std::string> expected = block;
    expected[0] = "Twl:007"; // the read-back starts with the entry number instead of Twf
    EXPECT_EQ(read, expected);
}

TEST(Registration, OddCodeCountIsPaddedWithTheLastDigit) {
    BoardModel board;
    send_all(board, {"Twf:000", "Twc:400", "Twb:003", "Twr:000", "Twp:0:02400,003000", "Twd:012",
                     "Tws:002"});
    const auto read = texts(board.handle_command("Twl:002", 0));
    ASSERT_EQ(read.size(), 21u);
    EXPECT_EQ(read[20], "Twd:0122");
    EXPECT_EQ(read[4], "Twp:0:02400,003000");
    EXPECT_EQ(read[5], "Twp:1:00000,000000");
}

TEST(Registration, EmptyErasedAndOutOfRangeEntries) {
    BoardModel board;
    EXPECT_EQ(board.handle_command("Twl:001", 0), BoardOutputs{line("Twl:001 Error")});
    send_all(board, sample_block());
    send_all(board, {"Tws:500"});
    EXPECT_EQ(board.handle_command("Twl:500", 0).size(), 21u);
    // WriteFlag 999 erases the slot.
    send_all(board, {"Twf:999", "Tws:500"});
    EXPECT_EQ(board.handle_command("Twl:500", 0), BoardOutputs{line("Twl:500 Error")});
    // No slot 0 or 501: refused, and never acknowledged.
    EXPECT_EQ(board.handle_command("Tws:501", 0), BoardOutputs{line("Tws:501 Error")});
    EXPECT_EQ(board.handle_command("Tws:000", 0), BoardOutputs{line("Tws:000 Error")});
    EXPECT_EQ(board.handle_command("Twl:501", 0), BoardOutputs{line("Twl:501 Error")});
}

TEST(Registration, NoAckFaultStoresSilently) {
    BoardModel board({.ack_on_store = false});
    send_all(board, sample_block());
    EXPECT_TRUE(board.handle_command("Tws:003", 0).empty());
    EXPECT_TRUE(board.entry_used(3));
}

TEST(Registration, MalformedBlockLinesAreRefused) {
    BoardModel board;
    EXPECT_EQ(board.handle_command("Twc:3x0", 0), BoardOutputs{line("?")});
    EXPECT_EQ(board.handle_command("Twp:G:00560,001120", 0), BoardOutputs{line("?")});
    EXPECT_EQ(board.handle_command("Twd:01Z2", 0), BoardOutputs{line("?")});
}

TEST(FlashFile, WrittenOnFlashWriteAndLoadedByANewBoard) {
    BoardModel board;
    std::string flash;
    board.on_flash_write = [&](const std::string& text) { flash = text; };
    send_all(board, sample_block());
    send_all(board, {"Tws:007", "Tws:FlashWrite"});
    ASSERT_FALSE(flash.empty());

    BoardModel restarted;
    ASSERT_TRUE(restarted.load_flash_text(flash));
    EXPECT_EQ(texts(restarted.handle_command("Twl:007", 0)),
              texts(board.handle_command("Twl:007", 0)));
    EXPECT_FALSE(restarted.entry_used(6));
    EXPECT_FALSE(restarted.load_flash_text("not a flash file"));
}

TEST(FlashFile, TheMemoryDumpHoldsEntriesNotYetFlashWritten) {
    BoardModel board;
    send_all(board, sample_block());
    send_all(board, {"Tws:007"});
    // Nothing written to flash yet, but the memory holds entry 7.
    EXPECT_EQ(board.flash_text().find("Twl:007"), std::string::npos);
    const std::string memory = board.memory_text();
    EXPECT_TRUE(memory.starts_with("QUVAN-SIM FLASH 1\n"));
    EXPECT_NE(memory.find("Twl:007\nTwc:380\nTwb:005\n"), std::string::npos) << memory;

    BoardModel copy;
    ASSERT_TRUE(copy.load_flash_text(memory));
    EXPECT_EQ(copy.entry(7), board.entry(7));
    EXPECT_FALSE(copy.entry_used(8));
}

TEST(FlashFile, DipSwitchesPersistWhenTheyTakeEffect) {
    BoardModel board;
    std::string flash;
    board.on_flash_write = [&](const std::string& text) { flash = text; };
    send_all(board, {"BpsR:3", "BpsU:1", "Binary:6"});
    EXPECT_TRUE(flash.empty()); // only stored until the reset
    send_all(board, {"Reset"});
    ASSERT_FALSE(flash.empty());

    BoardModel restarted;
    ASSERT_TRUE(restarted.load_flash_text(flash));
    EXPECT_EQ(texts(send_all(restarted, {"BpsR:?", "BpsU:?", "Bit16:?"})),
              (std::vector<std::string>{"BpsR:3", "BpsU:1", "Binary:4"}));
}
