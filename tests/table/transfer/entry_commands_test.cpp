// The entry block byte for byte, derived from the command formats.

#include "table/transfer/entry_commands.h"
#include "transfer_test_support.h"

#include <gtest/gtest.h>

namespace quvan::transfer {
namespace {

TEST(EntryCommands, NecRecordFieldByField) {
    LearnedSignal r;
    test::FillNec(r);
    const std::vector<std::string> expected = {
        "Twf:000", "Twc:380", "Twb:034", "Twr:000",
        // index as one hex digit, high with five digits, a comma, width with six
        "Twp:0:09000,013500", "Twp:1:00560,001120", "Twp:2:00560,002250", "Twp:3:00560,040500",
        "Twp:4:00000,000000", "Twp:5:00000,000000", "Twp:6:00000,000000", "Twp:7:00000,000000",
        "Twp:8:00000,000000", "Twp:9:00000,000000", "Twp:A:00000,000000", "Twp:B:00000,000000",
        "Twp:C:00000,000000", "Twp:D:00000,000000", "Twp:E:00000,000000", "Twp:F:00000,000000",
        "Twd:" + test::kNecDigits};
    EXPECT_EQ(EntryCommands(r), expected);
}

TEST(EntryCommands, WideValuesKeepAllTheirDigits) {
    LearnedSignal r;
    r.WriteFlag = kEmptyWriteFlag;
    r.Carry = 1000;
    r.DataBits = 4096;
    r.RepeatBit = 7;
    r.PatternHigh[15] = 123456; // wider than its five-digit field
    r.PatternWidth[15] = 1234567;
    r.PatternCode.fill(15);
    const std::vector<std::string> commands = EntryCommands(r);
    ASSERT_EQ(commands.size(), 21u);
    EXPECT_EQ(commands[0], "Twf:999");
    EXPECT_EQ(commands[1], "Twc:1000");
    EXPECT_EQ(commands[2], "Twb:4096");
    EXPECT_EQ(commands[3], "Twr:007");
    EXPECT_EQ(commands[19], "Twp:F:123456,1234567");
    EXPECT_EQ(commands[20], "Twd:" + std::string(4096, 'F'));
}

TEST(EntryCommands, OddCountRepeatsItsLastDigit) {
    LearnedSignal r;
    r.DataBits = 3;
    r.PatternCode[0] = 1;
    r.PatternCode[1] = 0;
    r.PatternCode[2] = 2;
    EXPECT_EQ(EntryCommands(r).back(), "Twd:1022");
    r.DataBits = 0;
    EXPECT_EQ(EntryCommands(r).back(), "Twd:");
}

TEST(StoreCommand, ThreeDigitRowNumbers) {
    EXPECT_EQ(StoreCommand(1), "Tws:001");
    EXPECT_EQ(StoreCommand(42), "Tws:042");
    EXPECT_EQ(StoreCommand(500), "Tws:500");
}

TEST(WantsFlashWrite, OnlyVersionsSortingAfterTheFirstFlashFirmware) {
    EXPECT_TRUE(WantsFlashWrite("Ver.20251223"));
    EXPECT_TRUE(WantsFlashWrite("Ver.20240209"));
    EXPECT_FALSE(WantsFlashWrite("Ver.20240208")); // equal does not sort after
    EXPECT_FALSE(WantsFlashWrite("Ver.20231001"));
    EXPECT_FALSE(WantsFlashWrite(""));
    EXPECT_FALSE(WantsFlashWrite("Ver.2024"));     // a prefix sorts first
    EXPECT_TRUE(WantsFlashWrite("Ver.202402080")); // the longer text sorts after
    EXPECT_TRUE(WantsFlashWrite("Ver.2025"));      // '5' > '4' decides
    EXPECT_TRUE(WantsFlashWrite("Ver.\xC0"));      // codes compare unsigned
}

} // namespace
} // namespace quvan::transfer
