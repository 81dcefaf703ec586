// Reading the table back from the simulated board through the window: what
// is asked for, what lands in the table, and how the read-back ends when
// the board misbehaves or the user stops it.

#include "table/ui/read_back_driver.h"
#include "table/ui/read_back_progress.h"
#include "transfer_fixture.h"

#include <QEventLoop>
#include <QProgressBar>
#include <QPushButton>

namespace quvan::app {
namespace {

using test_support::SimProcess;
using transfer::test::BoardBlock;
using transfer::test::NecBlock;

class WindowReadBack : public TransferTest {
  protected:
    // A board whose flash holds entry 1 (NEC) and entry 2 (60 codes).
    QString TwoEntryFlash() {
        const QString path = File("flash.txt");
        WriteBytes(path,
                   FlashFile({NecBlock(1),
                              BoardBlock(2, 400, 60, 0, {{2400, 3000}, {1200, 1800}, {600, 1200}},
                                         std::string(60, '2'))}));
        return path;
    }
    bool Running() { return transfers().readBackRunning(); }
    void WaitUntilDone(int ms = 15000) { WaitForReadBack(ms); }
};

TEST_F(WindowReadBack, EntriesOneAndTwoFilledTheRestEmpty) {
    SimProcess sim({"--flash", TwoEntryFlash(), "--wire-log", File("wire.log")});
    Start(sim.path());
    transfer::test::FillNecRow(table(), 7);
    main().SetTableModified(true);
    const qsizetype before = Wire().size();
    answers = {true, true}; // discard the table; read the board's
    w().btnTableLoad->click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "警告"); // File New's question
    EXPECT_EQ(shown[1].kind, 2);
    EXPECT_EQ(shown[1].text, "QUVANのテーブル情報を読込みます。\nよろしいですか？");
    EXPECT_TRUE(Running());
    EXPECT_EQ(w().btnTableLoad->property("tag").toInt(), 1);
    table_ui::ReadBackProgress* progress = transfers().readBack().progressDialog();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    WaitUntilDone();

    EXPECT_EQ(shown.back().caption, "確認");
    EXPECT_EQ(shown.back().text, "読込み完了しました。");
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(w().btnTableLoad->property("tag").toInt(), 0);
    // "ZEM:on", every entry once, then "ZEM:off" after entry 250's reply.
    std::string expected = "ZEM:on\r\n";
    for (int n = 1; n <= 250; ++n)
        expected += "Twl:" + QByteArray::number(n).rightJustified(3, '0').toStdString() + "\r\n";
    expected += "ZEM:off\r\n";
    ExpectWire(before, expected);

    EXPECT_EQ(table().cell(1, ColCarry), "38.0kHz");
    EXPECT_EQ(table().cell(1, ColFrames), "3");
    EXPECT_EQ(table().cell(1, ColComments), "NEC-32A");
    EXPECT_EQ(table().cell(1, ColResult), "Tm:NEC-32A    d:00FF 12ED");
    LearnedSignal nec;
    transfer::test::FillNec(nec);
    EXPECT_EQ(std::memcmp(&table().record(1), &nec, sizeof nec), 0);
    EXPECT_EQ(table().cell(2, ColCarry), "40.0kHz");
    EXPECT_EQ(table().cell(2, ColFrames), "1");
    EXPECT_FALSE(table().cell(2, ColResult).empty());
    EXPECT_EQ(table().record(2).PatternCode[59], 2);
    for (int row : {3, 7, 250}) {
        EXPECT_EQ(table().record(row).WriteFlag, 999) << row;
        EXPECT_EQ(table().cell(row, ColCarry), "") << row;
    }
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_TRUE(main().logText().endsWith("Twl:001\nTwl:002\nEnd of Table Load"))
        << main().logText().toStdString();
    EXPECT_EQ(grid().cursorRow(), 1);

    // Routing is back to normal: a line from the board goes to the log.
    sim.control("send hello");
    EXPECT_TRUE(QTest::qWaitFor([&] { return main().logText().endsWith("hello"); }, 3000));
}

TEST_F(WindowReadBack, AnsweringNoStopsBeforeAnythingIsSent) {
    SimProcess sim({"--wire-log", File("wire.log")});
    Start(sim.path());
    transfer::test::FillNecRow(table(), 1);
    main().SetTableModified(true);
    const qsizetype before = Wire().size();
    answers = {false}; // keep the unsaved table
    w().btnTableLoad->click();
    EXPECT_EQ(table().cell(1, ColCarry), "38.0kHz");
    EXPECT_EQ(shown.size(), 1u);

    answers = {true, false}; // discard it, then decline the read-back
    w().btnTableLoad->click();
    EXPECT_EQ(table().cell(1, ColCarry), ""); // File New has run
    EXPECT_FALSE(Running());
    QTest::qWait(100);
    ExpectWire(before, "");
}

TEST_F(WindowReadBack, WithoutZemOffFromTheBoardItEndsAndSaysSo) {
    SimProcess sim({"--flash", TwoEntryFlash(), "--ignore", "ZEM:off"});
    Start(sim.path());
    w().btnTableLoad->click();
    ASSERT_TRUE(Running());
    WaitUntilDone();
    EXPECT_EQ(shown.back().caption, "Warning");
    EXPECT_TRUE(shown.back().text.contains("ZEM:off")) << shown.back().text.toStdString();
    EXPECT_TRUE(shown.back().text.contains("250 / 250")) << shown.back().text.toStdString();
    EXPECT_EQ(table().cell(1, ColComments), "NEC-32A");
    EXPECT_TRUE(main().state().TableModified);
    sim.control("send hello");
    EXPECT_TRUE(QTest::qWaitFor([&] { return main().logText().endsWith("hello"); }, 3000));
}

TEST_F(WindowReadBack, StoppingSendsZemOffAndKeepsWhatWasRead) {
    SimProcess sim({"--flash", TwoEntryFlash(), "--delay", "20", "--wire-log", File("wire.log")});
    Start(sim.path());
    w().btnTableLoad->click();
    table_ui::ReadBackProgress* progress = transfers().readBack().progressDialog();
    // "中止" while entry 4 is on its way (each reply comes 20 ms late).
    QString status;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (transfers().readBack().lastSession()->requestedEntry() == 4) {
            watch.stop();
            status = progress->lblStatus->text();
            progress->btnStop->click();
            EXPECT_FALSE(progress->btnStop->isEnabled());
        }
    });
    watch.start(1);
    WaitUntilDone();
    EXPECT_TRUE(status.contains("エントリー 4 / 250")) << status.toStdString();
    EXPECT_TRUE(shown.back().text.startsWith("読込みを中止しました。"))
        << shown.back().text.toStdString();
    EXPECT_TRUE(Wire().endsWith("ZEM:off\r\n"));
    EXPECT_EQ(Wire().count("Twl:"), 4);
    EXPECT_EQ(table().cell(1, ColComments), "NEC-32A");
    EXPECT_EQ(table().cell(2, ColCarry), "40.0kHz");
    EXPECT_TRUE(main().state().TableModified);
}

TEST_F(WindowReadBack, GarbledRepliesNeverHangAndDamagedRowsAreMarked) {
    std::vector<std::vector<std::string>> blocks;
    for (int n = 1; n <= 20; ++n)
        blocks.push_back(NecBlock(n));
    const QString flash = File("flash.txt");
    WriteBytes(flash, FlashFile(blocks));
    SimProcess sim({"--flash", flash, "--seed", "7", "--wire-log", File("wire.log")});
    Start(sim.path());
    // Damage the replies of the filled entries only, so the empty ones that
    // follow do not each cost a wait.
    sim.control("fault garble 3");
    w().btnTableLoad->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Wire().contains("Twl:021"); }, 10000));
    sim.control("fault off");
    WaitUntilDone(30000);
    ASSERT_FALSE(shown.empty());
    const transfer::ReadBackSession* session = transfers().readBack().lastSession();
    ASSERT_NE(session, nullptr);
    EXPECT_FALSE(session->incompleteRows().empty());
    EXPECT_TRUE(main().logText().contains("読込みエラー No."));
    // A mark names a row the session found damaged (a later block for the
    // same row may have replaced it whole), and nothing beyond the table
    // was written.
    int marked = 0;
    for (int row = 1; row <= table().rowCount(); ++row) {
        if (table().cell(row, ColComments).starts_with("読込み不完全")) {
            ++marked;
            const std::vector<int>& rows = session->incompleteRows();
            EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
        }
    }
    EXPECT_GT(marked, 0);
}

TEST_F(WindowReadBack, AnEntryOf4096CodesComesBackWhole) {
    SimProcess sim({});
    Start(sim.path());
    // Registered with "Twb:4096": four digits, which the read-back must read
    // whole to get all the codes back.
    transfer::test::FillNecRow(table(), 1);
    LearnedSignal& r = table().record(1);
    r.DataBits = 4096;
    r.RepeatBit = 1000;
    for (int k = 0; k < 4096; ++k)
        r.PatternCode[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((k * 7) % 4);
    const LearnedSignal sent = r;
    Register();
    ASSERT_EQ(shown.back().text, "登録完了しました。");
    w().btnTableLoad->click();
    WaitForReadBack();
    EXPECT_EQ(shown.back().text, "読込み完了しました。");
    const LearnedSignal& back = table().record(1);
    EXPECT_EQ(back.DataBits, 4096);
    EXPECT_EQ(back.RepeatBit, 1000);
    EXPECT_EQ(back.PatternCode, sent.PatternCode);
    EXPECT_EQ(table().cell(1, ColFrames), "1");
    EXPECT_FALSE(table().cell(1, ColComments).starts_with("読込み不完全"));
}

TEST_F(WindowReadBack, UnpluggingEndsTheReadBackWithThePortMessage) {
    // Four lines of the start sequence, ZEM:on, then entry 1's 21 lines.
    SimProcess sim({"--flash", TwoEntryFlash(), "--hangup-after", "26"});
    Start(sim.path());
    w().btnTableLoad->click();
    WaitUntilDone();
    ASSERT_EQ(shown.size(), 2u); // the question, then the port message
    EXPECT_EQ(shown.back().text, QString::fromStdString(sim.path()) +
                                     " が閉じられました。\n通信ケーブル等を確認して下さい。");
    EXPECT_FALSE(program->boardLink().ComPort.PortOpen);
    EXPECT_EQ(table().cell(1, ColComments), "NEC-32A"); // read before the loss
    EXPECT_FALSE(transfers().readBack().progressDialog()->isVisible());
}

} // namespace
} // namespace quvan::app
