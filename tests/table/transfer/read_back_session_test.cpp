// The read-back session fed with board replies written by hand: which
// requests go out, what lands in which row, and how the session ends when
// the board misbehaves.

#include "table/transfer/read_back_reply.h"
#include "table/transfer/read_back_session.h"
#include "transfer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace quvan::transfer {
namespace {

struct Recorder final : ReadBackEffects {
    std::vector<std::string> sent;
    std::vector<std::string> log;
    int responseFlags = 0;
    int modified = 0;
    std::vector<TransferOutcome> ended;
    std::pair<int, int> cursor{0, 0};
    std::pair<int, int> lastProgress{0, 0};
    void sendCommand(const std::string& text) override { sent.push_back(text); }
    void setResponseFlag() override { ++responseFlags; }
    void appendLog(const std::string& line) override { log.push_back(line); }
    void setCursor(int row, int column) override { cursor = {row, column}; }
    void setTableModified() override { ++modified; }
    void progress(int entry, int total) override { lastProgress = {entry, total}; }
    void finished(TransferOutcome outcome) override { ended.push_back(outcome); }
};

class ReadBackRun : public ::testing::Test {
  protected:
    LearningTable table{kStdTableRows};
    Recorder effects;
    ReadBackOptions options;
    std::unique_ptr<ReadBackSession> session;

    void Start() {
        session = std::make_unique<ReadBackSession>(table, options, effects);
        session->start();
    }
    // The lines of one reply, and the response flag they raise ends the wait
    // as the driver would see it.
    void Reply(const std::vector<std::string>& lines) {
        const int flags = effects.responseFlags;
        for (const std::string& line : lines) {
            session->handleLine(line);
        }
        if (effects.responseFlags > flags) {
            session->replyArrived();
        }
    }
    static std::string EmptyEntry(int n) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Twl:%03d Error", n);
        return buf;
    }
    void AnswerEmptyUpTo(int last) {
        while (session->waiting() == ReadBackSession::Wait::Entry &&
               session->requestedEntry() <= last) {
            Reply({EmptyEntry(session->requestedEntry())});
        }
    }
};

TEST(ReadBackReply, TagsAndTheirValues) {
    EXPECT_EQ(ParseReadBackReply("ZEM:on").kind, ReplyKind::ZemOn);
    EXPECT_EQ(ParseReadBackReply("ZEM:off").kind, ReplyKind::ZemOff);
    EXPECT_EQ(ParseReadBackReply("ZEM:off ").kind, ReplyKind::Other); // exact text only

    ReadBackReply r = ParseReadBackReply("Twl:007 Error");
    EXPECT_EQ(r.kind, ReplyKind::Entry);
    EXPECT_EQ(r.number, 7);
    EXPECT_TRUE(r.empty);
    EXPECT_EQ(ParseReadBackReply("Twl:abc").number, 0);
    EXPECT_EQ(ParseReadBackReply("Twl:012").number, 12);

    r = ParseReadBackReply("Twc:380");
    EXPECT_EQ(r.number, 380);
    EXPECT_EQ(r.digits, "380");
    EXPECT_EQ(ParseReadBackReply("Twb:4096").number, 4096); // four digits read whole
    EXPECT_EQ(ParseReadBackReply("Twr:012").number, 12);
    EXPECT_FALSE(ParseReadBackReply("Twc:3x0").number);
    EXPECT_FALSE(ParseReadBackReply("Twb:").number);
    EXPECT_FALSE(ParseReadBackReply("Twr:99999999999").number);

    r = ParseReadBackReply("Twp:A:00560,001120");
    EXPECT_EQ(r.kind, ReplyKind::Pattern);
    EXPECT_EQ(r.patternIndex, 10);
    EXPECT_EQ(r.high, 560);
    EXPECT_EQ(r.width, 1120);
    r = ParseReadBackReply("Twp:F:09000 013500"); // any one separator character
    EXPECT_EQ(r.patternIndex, 15);
    EXPECT_EQ(r.width, 13500);
    EXPECT_EQ(ParseReadBackReply("Twp:G:00560,001120").patternIndex, -1);
    EXPECT_FALSE(ParseReadBackReply("Twp:1:0056x,001120").high);

    EXPECT_EQ(ParseReadBackReply("Twd:0122").codes, "0122");
    EXPECT_EQ(ParseReadBackReply("?").kind, ReplyKind::Other);
}

TEST(ReadBackReply, CellTexts) {
    EXPECT_EQ(CarryCellText("380"), "38.0kHz");
    EXPECT_EQ(CarryCellText("050"), "05.0kHz"); // the digits as received
    EXPECT_EQ(CarryCellText("1000"), "100.0kHz");
    EXPECT_EQ(FramesCellText(60), "1");
    EXPECT_EQ(FramesCellText(59), "3");
}

TEST_F(ReadBackRun, TwoFilledEntriesAndTheRestEmpty) {
    Start();
    EXPECT_EQ(effects.sent, (std::vector<std::string>{"ZEM:on", "Twl:001"}));
    EXPECT_EQ(effects.cursor, std::make_pair(2, 1));
    EXPECT_TRUE(session->running());
    EXPECT_EQ(session->waiting(), ReadBackSession::Wait::Entry);
    EXPECT_EQ(session->waitMs(), 200);

    Reply(test::NecBlock(1));
    // Entry 2: 60 codes, so its Frames cell reads 1.
    Reply(test::BoardBlock(2, 400, 60, 13, {{2400, 3000}, {1200, 1800}, {600, 1200}},
                           std::string(60, '1')));
    AnswerEmptyUpTo(250);
    // Entry 250's reply sends "ZEM:off" and marks the table changed; then
    // the session waits for the board's "ZEM:off".
    EXPECT_EQ(effects.sent.back(), "ZEM:off");
    EXPECT_EQ(effects.sent.size(), 2u + 249u + 1u);
    EXPECT_EQ(effects.modified, 1);
    EXPECT_EQ(session->waiting(), ReadBackSession::Wait::ZemOff);
    EXPECT_TRUE(session->running());
    EXPECT_EQ(effects.lastProgress, std::make_pair(250, 250));

    session->handleLine("ZEM:off");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->outcome(), TransferOutcome::Completed);
    EXPECT_EQ(effects.ended, std::vector<TransferOutcome>{TransferOutcome::Completed});
    EXPECT_EQ(effects.log.back(), "End of Table Load");
    EXPECT_EQ(effects.cursor, std::make_pair(1, 1));
    EXPECT_EQ(session->outcomeMessage().text, "読込み完了しました。");
    EXPECT_EQ(session->outcomeMessage().caption, "確認");

    EXPECT_EQ(table.cell(1, ColCarry), "38.0kHz");
    EXPECT_EQ(table.cell(1, ColFrames), "3"); // 34 codes
    EXPECT_EQ(table.cell(1, ColComments), "NEC-32A");
    EXPECT_EQ(table.cell(1, ColResult), "Tm:NEC-32A    d:00FF 12ED");
    LearnedSignal expected;
    test::FillNec(expected);
    EXPECT_EQ(std::memcmp(&table.record(1), &expected, sizeof expected), 0);
    EXPECT_EQ(table.cell(2, ColCarry), "40.0kHz");
    EXPECT_EQ(table.cell(2, ColFrames), "1");
    EXPECT_EQ(table.record(2).RepeatBit, 13);
    EXPECT_EQ(table.record(2).PatternWidth[2], 1200);
    for (int row : {3, 100, 250}) {
        EXPECT_EQ(table.record(row).WriteFlag, 999);
        EXPECT_EQ(table.cell(row, ColCarry), "");
    }
    // Without the monitor switch the log shows the entry lines of filled
    // entries only, then the end.
    EXPECT_EQ(effects.log, (std::vector<std::string>{"Twl:001", "Twl:002", "End of Table Load"}));
}

TEST_F(ReadBackRun, MonitorModeEchoesEveryReplyButErrors) {
    options.monitorMode = true;
    Start();
    Reply(test::NecBlock(1));
    Reply({EmptyEntry(2)});
    ASSERT_EQ(effects.log.size(), 21u);
    EXPECT_EQ(effects.log.front(), "Twl:001");
    EXPECT_EQ(effects.log.back(), "Twd:" + test::kNecDigits);
}

TEST_F(ReadBackRun, PaddingDigitsAndHexPatternIndexes) {
    Start();
    // Five codes arrive as six digits; the sixth lands in entry DataBits.
    Reply(test::BoardBlock(1, 380, 5, 0, test::kNecPatterns, "102233"));
    EXPECT_EQ(table.record(1).PatternCode[4], 3);
    EXPECT_EQ(table.record(1).PatternCode[5], 3);
    Reply(test::BoardBlock(2, 380, 6, 0, test::kNecPatterns, "102231"));
    EXPECT_EQ(table.record(2).PatternCode[5], 1);
    std::vector<std::string> block = test::NecBlock(3);
    block[4 + 10] = "Twp:A:00111,000222";
    block[4 + 15] = "Twp:F:00333,000444";
    Reply(block);
    EXPECT_EQ(table.record(3).PatternHigh[10], 111);
    EXPECT_EQ(table.record(3).PatternWidth[15], 444);
    EXPECT_TRUE(session->incompleteRows().empty());
}

TEST_F(ReadBackRun, PCodeShowsTheRawCodesAndLeavesComments) {
    options.pcode = true;
    Start();
    Reply(test::BoardBlock(1, 380, 5, 0, test::kNecPatterns, "102233"));
    EXPECT_EQ(table.cell(1, ColResult), "Code(  5bits): 10223");
    EXPECT_EQ(table.cell(1, ColComments), "");
}

TEST_F(ReadBackRun, AFourDigitCountKeepsEveryCode) {
    Start();
    std::string digits;
    for (int i = 0; i < 4096; ++i) {
        digits += "0123"[i % 4];
    }
    Reply(test::BoardBlock(1, 380, 4096, 2, test::kNecPatterns, digits));
    EXPECT_EQ(table.record(1).DataBits, 4096);
    EXPECT_EQ(table.record(1).PatternCode[4095], 3);
    EXPECT_EQ(table.record(1).PatternCode[4094], 2);
    EXPECT_EQ(table.cell(1, ColFrames), "1");
    EXPECT_TRUE(session->incompleteRows().empty());
    EXPECT_EQ(session->requestedEntry(), 2);
}

TEST_F(ReadBackRun, MalformedRepliesKeepWhatCanBeReadAndMarkTheRow) {
    Start();
    std::vector<std::string> block = test::NecBlock(1);
    block[1] = "Twc:3#0";                // carrier unreadable
    block[4 + 2] = "Twp:2:0056*,002250"; // pattern 2 unreadable
    block.back() = "Twd:0111";           // 4 of 34 digits
    Reply(block);
    EXPECT_EQ(table.record(1).Carry, 0);
    EXPECT_EQ(table.record(1).PatternWidth[2], 0);
    EXPECT_EQ(table.record(1).PatternWidth[1], 1120); // the readable ones stay
    EXPECT_EQ(table.record(1).PatternCode[3], 1);
    EXPECT_TRUE(table.cell(1, ColComments).starts_with("読込み不完全")) << table.cell(1, 3);
    EXPECT_EQ(effects.log.back(), "読込みエラー No.001: Twc:, Twp:2, Twd:(4/34桁)");
    // The entry still counts as answered: the next request went out.
    EXPECT_EQ(effects.sent.back(), "Twl:002");

    // A letter inside the code digits stops them there.
    block = test::NecBlock(2);
    block.back() = "Twd:01Z1";
    block[3] = "Twr:x";
    block[4] = "Twp:G:09000,013500";
    Reply(block);
    EXPECT_EQ(table.record(2).PatternCode[1], 1);
    EXPECT_EQ(table.record(2).PatternCode[2], 0);
    EXPECT_EQ(effects.log.back(), "読込みエラー No.002: Twr:, Twp:, Twd:(2/34桁)");
    EXPECT_EQ(session->incompleteRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(effects.sent.back(), "Twl:003");
}

TEST_F(ReadBackRun, EntryNumbersOutsideTheTableWriteNothing) {
    Start();
    Reply(test::NecBlock(600));
    Reply(test::NecBlock(0));
    for (int row = 1; row <= table.rowCount(); ++row) {
        ASSERT_EQ(table.cell(row, ColCarry), "");
        ASSERT_EQ(table.record(row).Carry, 0);
    }
    // Each block still ended its wait.
    EXPECT_EQ(effects.sent.back(), "Twl:003");
}

TEST_F(ReadBackRun, ABlockWithoutItsCodesIsMarkedWhenTheNextBegins) {
    Start();
    std::vector<std::string> block = test::NecBlock(1);
    block.pop_back();
    Reply(block);
    session->waitTimedOut(); // the wait for entry 1 ran out
    EXPECT_EQ(effects.sent.back(), "Twl:002");
    Reply(test::NecBlock(2));
    EXPECT_EQ(table.cell(1, ColComments), "読込み不完全");
    EXPECT_EQ(table.record(1).Carry, 380);
    EXPECT_EQ(table.cell(2, ColComments), "NEC-32A");
}

TEST_F(ReadBackRun, AMalformedLastEntryStillEndsTheTransferMode) {
    Start();
    AnswerEmptyUpTo(249);
    ASSERT_EQ(session->requestedEntry(), 250);
    std::vector<std::string> block = test::NecBlock(250);
    block.back() = "Twd:?";
    Reply(block);
    EXPECT_EQ(effects.sent.back(), "ZEM:off");
    EXPECT_EQ(session->waiting(), ReadBackSession::Wait::ZemOff);
    session->handleLine("ZEM:off");
    EXPECT_EQ(session->outcome(), TransferOutcome::Completed);
    EXPECT_NE(session->outcomeMessage().text.find("正しく読めなかった行が 1 行"),
              std::string::npos);
}

TEST_F(ReadBackRun, MissingZemOffEndsAfterTheGraceTime) {
    Start();
    Reply(test::NecBlock(1));
    AnswerEmptyUpTo(250);
    ASSERT_EQ(session->waiting(), ReadBackSession::Wait::ZemOff);
    EXPECT_EQ(session->waitMs(), 1000);
    session->waitTimedOut();
    EXPECT_FALSE(session->running()); // routing returns to normal
    EXPECT_EQ(session->outcome(), TransferOutcome::BoardSilent);
    const TransferMessage message = session->outcomeMessage();
    EXPECT_EQ(message.caption, "Warning");
    EXPECT_NE(message.text.find("ZEM:off"), std::string::npos);
    EXPECT_NE(message.text.find("250 / 250"), std::string::npos) << message.text;
    // The rows read stay, and count as unsaved.
    EXPECT_EQ(table.cell(1, ColComments), "NEC-32A");
    EXPECT_GE(effects.modified, 1);
    session->handleLine("Twl:001"); // later lines are not the session's
    EXPECT_EQ(table.record(1).Carry, 380);
}

TEST_F(ReadBackRun, ASilentBoardIsAskedForEveryEntryUnlessTheDriverGivesUp) {
    Start();
    for (int i = 0; i < 250; ++i) {
        session->waitTimedOut();
    }
    // Every entry was asked for, then "ZEM:off" went out itself.
    EXPECT_EQ(effects.sent.size(), 1u + 250u + 1u);
    EXPECT_EQ(effects.sent.back(), "ZEM:off");
    session->waitTimedOut();
    EXPECT_EQ(session->outcome(), TransferOutcome::BoardSilent);
    EXPECT_NE(session->outcomeMessage().text.find("0 / 250"), std::string::npos);
    EXPECT_EQ(effects.modified, 0);

    Recorder quick;
    options.giveUpAfterSilent = 3;
    ReadBackSession cli(table, options, quick);
    cli.start();
    cli.waitTimedOut();
    cli.waitTimedOut();
    EXPECT_TRUE(cli.running());
    cli.waitTimedOut();
    EXPECT_FALSE(cli.running());
    EXPECT_EQ(quick.sent,
              (std::vector<std::string>{"ZEM:on", "Twl:001", "Twl:002", "Twl:003", "ZEM:off"}));
    EXPECT_EQ(cli.outcome(), TransferOutcome::BoardSilent);
}

TEST_F(ReadBackRun, StoppingSendsZemOffAndKeepsTheRowsRead) {
    Start();
    Reply(test::NecBlock(1));
    session->requestStop(); // while entry 2 is awaited
    EXPECT_EQ(effects.sent.back(), "ZEM:off");
    EXPECT_EQ(session->waiting(), ReadBackSession::Wait::ZemOff);
    Reply(test::NecBlock(2)); // the reply already on its way still lands
    session->handleLine("ZEM:off");
    EXPECT_EQ(session->outcome(), TransferOutcome::StoppedByUser);
    EXPECT_EQ(table.cell(2, ColComments), "NEC-32A");
    EXPECT_EQ(effects.modified, 1);
    EXPECT_NE(session->outcomeMessage().text.find("読込みを中止しました。"), std::string::npos);
    EXPECT_EQ(std::count(effects.sent.begin(), effects.sent.end(), "ZEM:off"), 1);
}

TEST_F(ReadBackRun, ALostLineEndsAtOnce) {
    Start();
    Reply(test::NecBlock(1));
    const std::size_t sent = effects.sent.size();
    session->lineLost();
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->outcome(), TransferOutcome::LineLost);
    EXPECT_EQ(session->waiting(), ReadBackSession::Wait::None);
    EXPECT_EQ(effects.sent.size(), sent);
}

TEST_F(ReadBackRun, ProTablesReadOnly250Entries) {
    LearningTable pro(kProTableRows);
    session = std::make_unique<ReadBackSession>(pro, options, effects);
    session->start();
    AnswerEmptyUpTo(250);
    EXPECT_EQ(effects.sent.back(), "ZEM:off");
    EXPECT_EQ(pro.record(250).WriteFlag, 999);
    EXPECT_EQ(pro.record(251).WriteFlag, 0);
}

} // namespace
} // namespace quvan::transfer
