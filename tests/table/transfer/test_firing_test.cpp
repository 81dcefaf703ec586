// Test firing and the log's double-click rule, expected commands derived
// from the formats.

#include "table/transfer/entry_commands.h"
#include "table/transfer/test_firing.h"
#include "transfer_test_support.h"

#include <gtest/gtest.h>

namespace quvan::transfer {
namespace {

std::vector<std::string> Texts(const std::vector<FireCommand>& commands) {
    std::vector<std::string> out;
    for (const FireCommand& c : commands)
        out.push_back(c.text);
    return out;
}

TEST(TestFire, OutputSelectionFollowsTheBoxes) {
    EXPECT_EQ(OutputSelection({true, false, true, false}), "Tp:1010");
    EXPECT_EQ(OutputSelection({false, false, false, false}), "Tp:0000");
    EXPECT_EQ(OutputSelection({true, true, true, true}), "Tp:1111");
}

TEST(TestFire, RecordModeSendsTheBlockAndTheFrameCount) {
    LearningTable table(kStdTableRows);
    test::FillNecRow(table, 3);
    table.setCell(3, ColFrames, "3");
    table.record(3).WriteFlag = 999;
    const std::vector<FireCommand> commands =
        TestFireCommands(table, 3, {.outputs = {false, true, false, false}});
    std::vector<std::string> expected{"Tp:0100"};
    LearnedSignal signal = table.record(3);
    const std::vector<std::string> block = EntryCommands(signal);
    expected.insert(expected.end(), block.begin(), block.end());
    expected.push_back("Tf:3");
    EXPECT_EQ(Texts(commands), expected);
    EXPECT_EQ(expected[1], "Twf:000"); // the fired row counts as a real entry
    EXPECT_EQ(table.record(3).WriteFlag, 0);
    // Only the frame count is logged without the monitor switch.
    EXPECT_TRUE(commands.back().alwaysLogged);
    EXPECT_FALSE(commands.front().alwaysLogged);
    EXPECT_FALSE(commands[21].alwaysLogged);
}

TEST(TestFire, AnEmptyFramesCellSendsNoFireCommand) {
    LearningTable table(kStdTableRows);
    test::FillNecRow(table, 1);
    table.setCell(1, ColFrames, "");
    const std::vector<std::string> texts = Texts(TestFireCommands(table, 1, {}));
    ASSERT_EQ(texts.size(), 22u);
    EXPECT_TRUE(texts.back().starts_with("Twd:"));
}

TEST(TestFire, ResultColumnFiresByFormatAndCode) {
    LearningTable table(kStdTableRows);
    test::FillNecRow(table, 1);
    // "Tm:" + NEC-32A padded to ten + " d:" + code; the space before "d:"
    // becomes a comma.
    EXPECT_EQ(Texts(TestFireCommands(table, 1, {.byResult = true})),
              (std::vector<std::string>{"Tp:1111", "Tm:NEC-32A   ,d:00FF 12ED,f:1"}));
    // The Frames cell goes out untrimmed.
    table.setCell(1, ColFrames, " 2");
    EXPECT_EQ(Texts(TestFireCommands(table, 1, {.byResult = true})).back(),
              "Tm:NEC-32A   ,d:00FF 12ED,f: 2");
    // "Tm:" without " d:": only the output selection.
    table.setCell(1, ColResult, "Tm:NEC-32A");
    EXPECT_EQ(Texts(TestFireCommands(table, 1, {.byResult = true})),
              std::vector<std::string>{"Tp:1111"});
    // No "Tm:" at all: the record is fired instead.
    table.setCell(1, ColResult, "Code( 34bits): 0111");
    EXPECT_FALSE(FiresByResult(table, 1, true));
    EXPECT_EQ(TestFireCommands(table, 1, {.byResult = true}).size(), 23u);
}

TEST(TestFire, BlankRowsSendNothing) {
    LearningTable table(kStdTableRows);
    test::FillNecRow(table, 1);
    table.setCell(1, ColCarry, "  ");
    EXPECT_TRUE(TestFireCommands(table, 1, {}).empty());
    EXPECT_TRUE(TestFireCommands(table, 0, {}).empty());
    EXPECT_TRUE(TestFireCommands(table, 251, {}).empty());
}

TEST(LogLineFire, ThreeFieldsAfterTheirTags) {
    EXPECT_EQ(LogLineFireCommand("m:NEC,d:00FF12ED,f:1,"), "Tm:NEC,d:00FF12ED,f:1");
    // The second field needs a comma after it.
    EXPECT_EQ(LogLineFireCommand("m:NEC,d:00FF"), "Tm:NEC,d:,f:");
    EXPECT_EQ(LogLineFireCommand("m:SONY12,d:0115,f:3,x:9,"), "Tm:SONY12,d:0115,f:3");
    EXPECT_FALSE(LogLineFireCommand("Tm:NEC,d:00FF,f:1,"));
    EXPECT_FALSE(LogLineFireCommand("m"));
    EXPECT_EQ(LogLineFireCommand("m:"), "Tm:,d:,f:");
    // Only the first 199 characters are scanned: a comma at position 200
    // does not end the third field.
    std::string longLine = "m:A,d:B," + std::string(191, 'x') + ",";
    ASSERT_EQ(longLine.size(), 200u);
    EXPECT_EQ(LogLineFireCommand(longLine), "Tm:A,d:B,f:");
    longLine.erase(8, 1);
    EXPECT_EQ(LogLineFireCommand(longLine), "Tm:A,d:B,f:" + std::string(188, 'x'));
}

TEST(SendHistory, EachTextOnce) {
    std::vector<std::string> history;
    AddSendHistory(history, "Ver");
    AddSendHistory(history, "Ver");
    AddSendHistory(history, "ver");
    EXPECT_EQ(history, (std::vector<std::string>{"Ver", "ver"}));
}

} // namespace
} // namespace quvan::transfer
