// Test firing, the free command line and the round trip of learned remotes
// through the board, in the window against the simulated board.

#include "app/learning_window.h"
#include "transfer_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <fstream>

namespace quvan::app {
namespace {

using test_support::SimProcess;
using transfer::test::FillNecRow;

class WindowFiring : public TransferTest {
  protected:
    QByteArray FireLog() const { return test_support::ReadFileBytes(File("fire.log")); }
};

TEST_F(WindowFiring, RecordModeFiresTheRowOnTheChosenOutputs) {
    SimProcess sim({"--wire-log", File("wire.log"), "--fire-log", File("fire.log")});
    Start(sim.path());
    FillNecRow(table(), 3);
    table().setCell(3, ColFrames, "3");
    w().ckTp[1]->setChecked(false);
    w().ckTp[3]->setChecked(false);
    grid().setCursor(3, 3);
    const qsizetype before = Wire().size();
    w().btnTest->click();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !FireLog().isEmpty(); }, 3000));
    // The block of the row (Twf:000 first), then the frame count.
    std::string expected = "Tp:1010\r\n" + NecWire(0);
    expected.replace(expected.find("Tws:000\r\n"), 9, "Tf:3\r\n");
    ExpectWire(before, expected);
    EXPECT_EQ(FireLog(), "outputs=1010 frames=3 carry=380 bits=34 repeat=0 "
                         "patterns=0:9000/13500,1:560/1120,2:560/2250,3:560/40500 codes=" +
                             QByteArray::fromStdString(transfer::test::kNecDigits) + "\n");
    // Without the monitor switch only the frame count is logged.
    EXPECT_TRUE(main().logText().contains("Tf:3"));
    EXPECT_FALSE(main().logText().contains("Tp:1010"));
    // "Cursor Auto": the next row, back in column 1.
    EXPECT_EQ(grid().cursorRow(), 4);
    EXPECT_EQ(grid().cursorColumn(), 1);
}

TEST_F(WindowFiring, ResultColumnFiresByFormatAndCode) {
    SimProcess sim({"--wire-log", File("wire.log"), "--fire-log", File("fire.log")});
    Start(sim.path());
    FillNecRow(table(), 1);
    program->tableCommands().setMonitorMode(true);
    grid().setCursor(1, 4);
    const qsizetype before = Wire().size();
    w().btnTest->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !FireLog().isEmpty(); }, 3000));
    // The padded name keeps its spaces; the space before "d:" is a comma.
    ExpectWire(before, "Tp:1111\r\nTm:NEC-32A   ,d:00FF 12ED,f:1\r\n");
    EXPECT_EQ(FireLog(), "outputs=1111 frames=1 tm=NEC-32A code=00FF 12ED\n");
    // The monitor switch logs both commands; the cursor stays in Result.
    EXPECT_TRUE(main().logText().contains("Tp:1111\nTm:NEC-32A   ,d:00FF 12ED,f:1"));
    EXPECT_EQ(grid().cursorRow(), 2);
    EXPECT_EQ(grid().cursorColumn(), 4);

    // A blank row fires nothing and leaves the cursor, now in column 1.
    const qsizetype after = Wire().size();
    w().btnTest->click();
    QTest::qWait(100);
    EXPECT_EQ(Wire().size(), after);
    EXPECT_EQ(grid().cursorRow(), 2);
    EXPECT_EQ(grid().cursorColumn(), 1);
}

TEST_F(WindowFiring, TheCommandLineSendsKeepsItsHistoryAndTakesLogLines) {
    SimProcess sim({"--wire-log", File("wire.log")});
    Start(sim.path());
    QComboBox* box = w().cmbSendText;
    box->setCurrentText("Ver");
    box->lineEdit()->setFocus();
    const qsizetype before = Wire().size();
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), "Ver");
    ExpectWire(before, ""); // Enter only remembers the text
    // The second Enter presses the focused button.
    QTest::keyClick(w().btnSend, Qt::Key_Return);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return main().logText().contains("QUVAN-ARM Ver.20251223"); }, 3000));
    ExpectWire(before, "Ver\r\n");
    box->setCurrentText("Ver");
    w().btnSend->click();
    EXPECT_EQ(box->count(), 1); // the same text is listed once

    // Double-clicking the start of a decoded-code line makes a firing
    // command of it; the next line is not read into it.
    main().clearLog();
    main().appendLog("m:NEC,d:00FF12ED,f:1,");
    main().appendLog("m:SONY12,d:0115");
    main().appendLog("x,y,z,");
    QPlainTextEdit* log = w().memoRecv;
    // A double-click on the `column`-th character of a line.
    auto doubleClick = [&](int line, int column) {
        QTextCursor at(log->document()->findBlockByNumber(line));
        at.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        const QRect rect = log->cursorRect(at);
        QTest::mouseDClick(log->viewport(), Qt::LeftButton, {},
                           QPoint(rect.left() + 2, rect.center().y()));
        QTest::qWait(50);
    };
    doubleClick(0, 0);
    EXPECT_EQ(box->currentText(), "Tm:NEC,d:00FF12ED,f:1");
    EXPECT_EQ(log->textCursor().selectedText(), "m:NEC,d:00");
    // Anywhere in the line's one word does the same.
    box->setCurrentText(QString());
    doubleClick(0, 9);
    EXPECT_EQ(box->currentText(), "Tm:NEC,d:00FF12ED,f:1");
    doubleClick(1, 1);
    EXPECT_EQ(box->currentText(), "Tm:SONY12,d:,f:");
    // A line not beginning "m:" leaves the box alone.
    doubleClick(2, 0);
    EXPECT_EQ(box->currentText(), "Tm:SONY12,d:,f:");

    w().btnRecvClear->click();
    EXPECT_TRUE(main().logText().isEmpty());
}

// The raw capture of a real remote (alternating marks and spaces, µs) as
// the simulator's "raw" pulses (mark/period); the last mark gets a 100 ms
// gap.
QByteArray FlipperRaw(const std::string& file, const std::string& name) {
    std::ifstream in(std::string(QUVAN_TEST_DATA) + "/ir-remotes/" + file);
    bool found = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "name: " + name)
            found = true;
        if (found && line.starts_with("data: ")) {
            QList<QByteArray> v = QByteArray::fromStdString(line.substr(6)).split(' ');
            QByteArray raw = "raw";
            for (qsizetype i = 0; i < v.size(); i += 2) {
                const int mark = v[i].toInt();
                const int space = i + 1 < v.size() ? v[i + 1].toInt() : 100000;
                raw += " " + QByteArray::number(mark) + "/" + QByteArray::number(mark + space);
            }
            return raw;
        }
    }
    ADD_FAILURE() << "no raw signal " << name << " in " << file;
    return {};
}

TEST_F(WindowFiring, LearnedRemotesSurviveRegisteringAndReadingBack) {
    SimProcess sim({"--pro"});
    Start(sim.path(), "TAVIRO QUVAN-Pro Tool");
    LearningWindow& learning = program->learning();
    learning.StartLearning();
    const QByteArray presses[] = {"press nec 20DF10EF", "press sony12 1501",
                                  FlipperRaw("Sony_RM-YD017.ir", "Ch_next")};
    int row = 1;
    for (const QByteArray& press : presses) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return main().state().LearningOn; }, 3000));
        sim.control(press);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !table().cell(row, ColResult).empty(); }, 8000))
            << press.toStdString();
        ++row;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return main().state().LearningOn; }, 3000));
    learning.StartLearning(); // learning off again
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main().state().LearningOn; }, 3000));
    const LearningTable learned = table();

    Register();
    ASSERT_EQ(shown.back().text, "登録完了しました。");
    answers = {true, true}; // discard the learned table, then read the board
    w().btnTableLoad->click();
    WaitForReadBack();
    ASSERT_EQ(shown.back().text, "読込み完了しました。");

    for (int r = 1; r <= 3; ++r) {
        const LearnedSignal& a = learned.record(r);
        const LearnedSignal& b = table().record(r);
        EXPECT_EQ(b.Carry, a.Carry) << r;
        EXPECT_EQ(b.DataBits, a.DataBits) << r;
        EXPECT_EQ(b.RepeatBit, a.RepeatBit) << r;
        EXPECT_EQ(b.PatternHigh, a.PatternHigh) << r;
        EXPECT_EQ(b.PatternWidth, a.PatternWidth) << r;
        EXPECT_TRUE(std::equal(a.PatternCode.begin(), a.PatternCode.begin() + a.DataBits,
                               b.PatternCode.begin()))
            << r;
        EXPECT_EQ(table().cell(r, ColCarry), learned.cell(r, ColCarry)) << r;
        EXPECT_EQ(table().cell(r, ColResult), learned.cell(r, ColResult)) << r;
        // The board keeps neither the frame count nor a comment: the
        // read-back names the format in Comments and fires long signals
        // (60 codes or more) once, shorter ones three times.
        const std::string& result = learned.cell(r, ColResult);
        const std::size_t d = result.find(" d:");
        ASSERT_TRUE(result.starts_with("Tm:") && d != std::string::npos) << result;
        std::string name = result.substr(3, d - 3);
        name.erase(name.find_last_not_of(' ') + 1);
        EXPECT_EQ(table().cell(r, ColComments), name) << r;
        EXPECT_EQ(table().cell(r, ColFrames), a.DataBits >= 60 ? "1" : "3") << r;
    }
    EXPECT_TRUE(table().isBlank(4));
}

} // namespace
} // namespace quvan::app
