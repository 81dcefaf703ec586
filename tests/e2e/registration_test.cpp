// Registering the table into the simulated board through the window's
// dialog: the bytes on the line, what the board stored, and how a run that
// is stopped, unanswered or cut off ends.

#include "transfer_fixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace quvan::app {
namespace {

using test_support::SimProcess;
using transfer::test::FillNecRow;

class WindowRegistration : public TransferTest {};

TEST_F(WindowRegistration, FilledRowsGoOutByteForByteAndTheBoardHoldsThem) {
    SimProcess sim({"--wire-log", File("wire.log")});
    Start(sim.path());
    FillNecRow(table(), 1);
    FillNecRow(table(), 3);
    table().record(3).Carry = 400;
    grid().setCursor(5, 3);
    const qsizetype before = Wire().size();

    Register();
    EXPECT_FALSE(tws().isVisible());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().caption, "確認");
    EXPECT_EQ(shown.back().text, "登録完了しました。");
    // Row 2 is blank and skipped; the board's version (Ver.20251223) sorts
    // after Ver.20240208, so the run ends with the flash write.
    ExpectWire(before, NecWire(1) + NecWire(3, 0, 400) + "Tws:FlashWrite\r\n");
    EXPECT_EQ(grid().cursorRow(), 1);
    EXPECT_EQ(grid().cursorColumn(), 1);
    EXPECT_EQ(tws().sBarPanels[1]->text(), "Tws:003");
    EXPECT_EQ(tws().pgWrite->format(), "2 / 2 行");
    // Registering changes nothing the user would have to save.
    EXPECT_FALSE(main().state().TableModified);

    const sim::BoardModel board = Memory(sim);
    ExpectStored(board, 1, table().record(1));
    ExpectStored(board, 3, table().record(3));
    EXPECT_FALSE(board.entry_used(2));
}

TEST_F(WindowRegistration, OneRowInEraseModeClearsTheBoardsEntry) {
    SimProcess sim({"--wire-log", File("wire.log")});
    Start(sim.path());
    FillNecRow(table(), 1);
    FillNecRow(table(), 2);
    Register();
    ASSERT_TRUE(Memory(sim).entry_used(2));

    table().clearRow(2);
    grid().setCursor(2, 1);
    const qsizetype before = Wire().size();
    Register([](table_ui::TfrmTws& dialog) {
        dialog.rbWriteOne->setChecked(true);
        dialog.rbSpcDel->setChecked(true);
    });
    EXPECT_EQ(shown.back().text, "登録完了しました。");
    ExpectWire(before, ErasedWire(2) + "Tws:FlashWrite\r\n");
    EXPECT_EQ(grid().cursorRow(), 2); // one row: the cursor stays
    const sim::BoardModel board = Memory(sim);
    EXPECT_FALSE(board.entry_used(2));
    ExpectStored(board, 1, table().record(1));
}

TEST_F(WindowRegistration, StoppingFinishesTheCurrentRowAndSaysSo) {
    // Each reply 150 ms late (within the start-up probe's wait). "中止" is
    // clicked the moment the dialog starts row 2, from its progress bar, so
    // no timing of the machine decides which row the stop falls on.
    SimProcess sim({"--wire-log", File("wire.log"), "--delay", "150"});
    Start(sim.path());
    for (int row = 1; row <= 5; ++row)
        FillNecRow(table(), row);
    const qsizetype before = Wire().size();
    bool stopped = false;
    const QMetaObject::Connection watch =
        QObject::connect(tws().pgWrite, &QProgressBar::valueChanged, [&](int ordinal) {
            if (ordinal != 2 || stopped)
                return;
            stopped = true;
            tws().btnCancel->click();
            EXPECT_TRUE(tws().btnExecute->isEnabled());
            EXPECT_FALSE(tws().lblStartMsg->isHidden());
            EXPECT_TRUE(tws().isVisible()); // the run ends by itself
        });
    Register();
    QObject::disconnect(watch);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(shown.back().text, "登録を中止しました。");
    // Row 2's block was finished; nothing after it, no flash write.
    ExpectWire(before, NecWire(1) + NecWire(2));
}

TEST_F(WindowRegistration, ABoardThatDoesNotAcknowledgeIsNotReportedAsDone) {
    SimProcess sim({"--wire-log", File("wire.log"), "--no-ack"});
    Start(sim.path());
    FillNecRow(table(), 1);
    FillNecRow(table(), 2);
    const qsizetype before = Wire().size();
    QElapsedTimer clock;
    clock.start();
    Register();
    EXPECT_GE(clock.elapsed(), 1000); // the full wait for the ACK
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.back().kind, 1);
    EXPECT_EQ(shown.back().caption, "Warning");
    EXPECT_TRUE(shown.back().text.contains("001行目")) << shown.back().text.toStdString();
    EXPECT_TRUE(shown.back().text.contains("0 行")) << shown.back().text.toStdString();
    ExpectWire(before, NecWire(1)); // no second row, no flash write
}

TEST_F(WindowRegistration, UnpluggingEndsTheRunWithThePortMessageAndKeepsTheTable) {
    // The start sequence takes four lines (version, ZEM:off, edition,
    // Trans Mode); the board hangs up right after its first ACK.
    SimProcess sim({"--hangup-after", "5"});
    Start(sim.path());
    for (int row = 1; row <= 3; ++row)
        FillNecRow(table(), row, "row " + std::to_string(row));
    const LearningTable before = table();
    Register();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().text, QString::fromStdString(sim.path()) +
                                      " が閉じられました。\n通信ケーブル等を確認して下さい。");
    EXPECT_FALSE(program->boardLink().ComPort.PortOpen);
    EXPECT_EQ(main().statusPanelText(0), "COM:OFF");
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(table().cell(row, ColComments), before.cell(row, ColComments));
        LearnedSignal a = table().record(row);
        LearnedSignal b = before.record(row);
        a.WriteFlag = b.WriteFlag = 0;
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << row;
    }
}

TEST_F(WindowRegistration, TheProEditionRegistersUpToRow500) {
    SimProcess sim({"--pro", "--wire-log", File("wire.log")});
    Start(sim.path(), "TAVIRO QUVAN-Pro Tool");
    ASSERT_EQ(table().rowCount(), 500);
    FillNecRow(table(), 1);
    FillNecRow(table(), 500);
    const qsizetype before = Wire().size();
    Register();
    ExpectWire(before, NecWire(1) + NecWire(500) + "Tws:FlashWrite\r\n");
    ExpectStored(Memory(sim), 500, table().record(500));
}

TEST_F(WindowRegistration, AnOlderBoardGetsNoFlashWrite) {
    SimProcess sim({"--version", "Ver.20240208", "--wire-log", File("wire.log")});
    Start(sim.path());
    ASSERT_EQ(main().state().BoardVersion, "Ver.20240208");
    FillNecRow(table(), 1);
    const qsizetype before = Wire().size();
    Register();
    ExpectWire(before, NecWire(1));
    EXPECT_EQ(shown.back().text, "登録完了しました。");
}

TEST_F(WindowRegistration, TheDialogAsItOpensAndCancelWhileIdle) {
    SimProcess sim({});
    Start(sim.path());
    WhenShown(tws(), [this] {
        EXPECT_EQ(tws().windowTitle(), "QUVAN Learning Table Write");
        EXPECT_TRUE(tws().rbWriteAll->isChecked());
        EXPECT_TRUE(tws().rbSpcSkip->isChecked());
        EXPECT_TRUE(tws().btnExecute->isEnabled());
        EXPECT_EQ(tws().btnExecute->text(), "登録実行");
        EXPECT_TRUE(tws().lblStartMsg->isVisible());
        EXPECT_TRUE(tws().sBarPanels[1]->text().isEmpty());
        EXPECT_EQ(tws().focusWidget(), tws().btnExecute);
        tws().btnCancel->click();
    });
    tws().rbWriteOne->setChecked(true); // the button resets the choices
    w().btnTableWrite->click();
    EXPECT_FALSE(tws().isVisible());
    EXPECT_EQ(tws().result(), QDialog::Rejected);
    EXPECT_TRUE(shown.empty());
}

} // namespace
} // namespace quvan::app
