// Registration runs against a recorded driver: what goes to the board, in
// which order, when the run waits, and how it ends.

#include "table/transfer/entry_commands.h"
#include "table/transfer/registration_run.h"
#include "transfer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace quvan::transfer {
namespace {

struct Recorder final : RegistrationEffects {
    std::vector<std::string> sent;
    std::vector<std::pair<int, int>> cursor;
    std::vector<std::string> storeShown;
    std::vector<std::string> progress;
    std::vector<int> stored;
    void sendCommand(const std::string& text) override { sent.push_back(text); }
    void setCursor(int row, int column) override { cursor.emplace_back(row, column); }
    void showStoreCommand(const std::string& text) override { storeShown.push_back(text); }
    void rowStarted(int row, int ordinal, int total) override {
        progress.push_back(std::to_string(row) + ":" + std::to_string(ordinal) + "/" +
                           std::to_string(total));
    }
    void rowStored(int row) override { stored.push_back(row); }
    std::vector<std::string> storeCommands() const {
        std::vector<std::string> out;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(out),
                     [](const std::string& s) { return s.starts_with("Tws:"); });
        return out;
    }
};

RegistrationOptions Options(bool writeAll, bool eraseBlank = false, int cursorRow = 1,
                            std::string version = {}) {
    RegistrationOptions options;
    options.writeAll = writeAll;
    options.eraseBlank = eraseBlank;
    options.cursorRow = cursorRow;
    options.boardVersion = std::move(version);
    return options;
}

// The 22 commands of one row, built from the formats field by field.
std::vector<std::string> Block(const LearnedSignal& r, int row) {
    std::vector<std::string> out = EntryCommands(r);
    out.push_back(StoreCommand(row));
    return out;
}

class RegisterRun : public ::testing::Test {
  protected:
    LearningTable table{kStdTableRows};
    Recorder effects;

    RegistrationRun Run(RegistrationOptions options) {
        return RegistrationRun(table, std::move(options), effects);
    }
};

TEST_F(RegisterRun, AllRowsSkipModeSendsFilledRowsInOrder) {
    test::FillNecRow(table, 1);
    test::FillNecRow(table, 3);
    table.record(3).Carry = 400;
    table.record(2).WriteFlag = 5; // a blank row in skip mode is not touched
    RegistrationRun run = Run(Options(true, false, 9));
    run.start();
    // Row 1's block went out back to back, then the run waits for its ACK.
    ASSERT_TRUE(run.awaitingAck());
    LearnedSignal row1 = table.record(1);
    EXPECT_EQ(effects.sent, Block(row1, 1));
    EXPECT_EQ(effects.storeShown, std::vector<std::string>{"Tws:001"});
    run.ackReceived();
    ASSERT_TRUE(run.awaitingAck());
    run.ackReceived();
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(run.outcome(), TransferOutcome::Completed);

    std::vector<std::string> expected = Block(table.record(1), 1);
    const std::vector<std::string> third = Block(table.record(3), 3);
    expected.insert(expected.end(), third.begin(), third.end());
    EXPECT_EQ(effects.sent, expected); // no "Tws:FlashWrite" without a version
    EXPECT_EQ(effects.sent[22], "Twf:000");
    EXPECT_EQ(effects.sent[23], "Twc:400");
    EXPECT_EQ(table.record(2).WriteFlag, 5);
    EXPECT_EQ(effects.progress, (std::vector<std::string>{"1:1/2", "3:2/2"}));
    EXPECT_EQ(effects.stored, (std::vector<int>{1, 3}));
    // Row 1 at the start, each sent row, and row 1 again at the end.
    using P = std::pair<int, int>;
    EXPECT_EQ(effects.cursor, (std::vector<P>{{1, 1}, {1, 1}, {3, 1}, {1, 1}}));
    const TransferMessage message = run.outcomeMessage();
    EXPECT_EQ(message.kind, 1);
    EXPECT_EQ(message.caption, "確認");
    EXPECT_EQ(message.text, "登録完了しました。");
}

TEST_F(RegisterRun, EraseModeSendsBlankRowsAsEmptySlots) {
    test::FillNecRow(table, 1);
    test::FillNecRow(table, 3);
    table.record(2).Carry = 0;
    RegistrationRun run = Run(Options(true, true));
    run.start();
    while (run.awaitingAck()) {
        run.ackReceived();
    }
    EXPECT_EQ(run.outcome(), TransferOutcome::Completed);
    // Every row of the table goes out; row 2 begins with Twf:999 and carries
    // the cleared record.
    EXPECT_EQ(effects.storeCommands().size(), 250u);
    EXPECT_EQ(effects.storeCommands().back(), "Tws:250");
    const std::vector<std::string> row2(effects.sent.begin() + 22, effects.sent.begin() + 44);
    std::vector<std::string> expected = {"Twf:999", "Twc:000", "Twb:000", "Twr:000"};
    for (const char* digit :
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"}) {
        expected.push_back(std::string("Twp:") + digit + ":00000,000000");
    }
    expected.push_back("Twd:");
    expected.push_back("Tws:002");
    EXPECT_EQ(row2, expected);
    EXPECT_EQ(table.record(2).WriteFlag, kEmptyWriteFlag);
    EXPECT_EQ(table.record(1).WriteFlag, 0);
}

TEST_F(RegisterRun, OneRowFromABlankCursorFindsTheNextFilledRow) {
    test::FillNecRow(table, 7);
    RegistrationRun run = Run(Options(false, false, 5));
    run.start();
    ASSERT_TRUE(run.awaitingAck());
    EXPECT_EQ(effects.sent, Block(table.record(7), 7));
    EXPECT_EQ(run.plannedRows(), 1);
    run.ackReceived();
    EXPECT_EQ(run.outcome(), TransferOutcome::Completed);
    EXPECT_EQ(effects.storeCommands(), std::vector<std::string>{"Tws:007"});
    // The cursor starts on the cursor row, moves to row 7 and stays there.
    EXPECT_EQ(effects.cursor.back(), std::make_pair(7, 1));
}

TEST_F(RegisterRun, OneFilledRowSendsExactlyOneBlock) {
    test::FillNecRow(table, 4);
    test::FillNecRow(table, 5);
    RegistrationRun run = Run(Options(false, true, 4));
    run.start();
    run.ackReceived();
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(effects.sent.size(), 22u);
    EXPECT_EQ(effects.cursor.back(), std::make_pair(4, 1));
}

TEST_F(RegisterRun, ABoardThatNeverAnswersIsNotASuccess) {
    test::FillNecRow(table, 1);
    test::FillNecRow(table, 2);
    RegistrationRun run = Run(Options(true, false, 1, "Ver.20251223"));
    run.start();
    run.ackReceived(); // row 1 stored
    run.ackTimedOut(); // row 2 unanswered
    EXPECT_EQ(run.outcome(), TransferOutcome::BoardSilent);
    EXPECT_EQ(run.silentRow(), 2);
    EXPECT_EQ(run.storedRows(), std::vector<int>{1});
    // Nothing is made permanent after a failed run.
    EXPECT_EQ(effects.sent.back(), "Tws:002");
    EXPECT_FALSE(run.flashWriteSent());
    const TransferMessage message = run.outcomeMessage();
    EXPECT_EQ(message.kind, 1);
    EXPECT_EQ(message.caption, "Warning");
    EXPECT_NE(message.text.find("002行目"), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("1 行"), std::string::npos) << message.text;
    EXPECT_EQ(message.text.find("登録完了"), std::string::npos);
}

TEST_F(RegisterRun, StopFinishesTheCurrentRowThenEnds) {
    test::FillNecRow(table, 1);
    test::FillNecRow(table, 2);
    RegistrationRun run = Run(Options(true, false, 1, "Ver.20251223"));
    run.start();
    run.requestStop(); // while row 1's ACK is awaited
    EXPECT_TRUE(run.awaitingAck());
    run.ackReceived();
    EXPECT_EQ(run.outcome(), TransferOutcome::StoppedByUser);
    EXPECT_EQ(effects.storeCommands(), std::vector<std::string>{"Tws:001"});
    EXPECT_FALSE(run.flashWriteSent());
    EXPECT_EQ(run.outcomeMessage().text, "登録を中止しました。");
}

TEST_F(RegisterRun, FlashWriteFollowsTheVersionRule) {
    struct Case {
        const char* version;
        bool flash;
    };
    for (const Case c : {Case{"Ver.20251223", true}, Case{"Ver.20240208", false},
                         Case{"Ver.20200101", false}, Case{"", false}}) {
        Recorder recorder;
        test::FillNecRow(table, 1);
        RegistrationRun run(table, Options(true, false, 1, c.version), recorder);
        run.start();
        run.ackReceived();
        EXPECT_EQ(recorder.sent.back() == "Tws:FlashWrite", c.flash) << c.version;
        EXPECT_EQ(run.flashWriteSent(), c.flash);
    }
}

TEST_F(RegisterRun, ProTableRegistersUpToRow500) {
    LearningTable pro(kProTableRows);
    test::FillNecRow(pro, 250);
    test::FillNecRow(pro, 500);
    RegistrationRun run(pro, Options(true), effects);
    run.start();
    while (run.awaitingAck()) {
        run.ackReceived();
    }
    EXPECT_EQ(effects.storeCommands(), (std::vector<std::string>{"Tws:250", "Tws:500"}));
}

TEST_F(RegisterRun, ALostLineEndsTheRunAndLeavesTheTableAlone) {
    test::FillNecRow(table, 1);
    test::FillNecRow(table, 2);
    const LearningTable before = table;
    RegistrationRun run = Run(Options(true, true));
    run.start();
    run.ackReceived();
    run.lineLost();
    EXPECT_EQ(run.outcome(), TransferOutcome::LineLost);
    EXPECT_FALSE(run.awaitingAck());
    run.ackReceived(); // a late reply changes nothing
    EXPECT_EQ(effects.storeCommands().size(), 2u);
    // Only WriteFlag may differ from before.
    for (int row = 1; row <= table.rowCount(); ++row) {
        for (int col = ColCarry; col <= ColResult; ++col) {
            ASSERT_EQ(table.cell(row, col), before.cell(row, col));
        }
        LearnedSignal a = table.record(row);
        LearnedSignal b = before.record(row);
        a.WriteFlag = b.WriteFlag = 0;
        ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << row;
    }
}

TEST_F(RegisterRun, AnEmptyTableCompletesWithoutWaiting) {
    RegistrationRun run = Run(Options(true));
    run.start();
    EXPECT_FALSE(run.awaitingAck());
    EXPECT_EQ(run.outcome(), TransferOutcome::Completed);
    EXPECT_TRUE(effects.sent.empty());
}

} // namespace
} // namespace quvan::transfer
