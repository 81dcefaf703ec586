// Finding the board among several serial ports, and the communication
// settings dialog, against the simulator and silent pseudo-terminals.

#include "../frame/qstring_printer.h"
#include "../link/pty_pair.h"
#include "app/com_command.h"
#include "sim_process.h"
#include "test_program.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::PtyPair;
using test_support::ReadFileBytes;
using test_support::SimProcess;
using test_support::TempDir;

class PortSearch : public ::testing::Test {
  protected:
    PortSearch() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            if (answer)
                answer(box);
            else
                box.CloseWithOk();
        });
    }
    ~PortSearch() override {
        program.reset(); // it may still show a message while closing its port
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    Program& Start(const std::string& configuredPort) {
        program = std::make_unique<Program>(test_support::TestProgramOptions(
            "TAVIRO QUVAN-ARM Tool", dir, ports, silence, configuredPort));
        return *program;
    }

    TempDir dir;
    platform::FixedPortLister ports;
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    QStringList shown;
    std::function<void(TfrmMsgBox&)> answer;
    QString wireLog() const { return QString::fromStdString((dir.path() / "wire.log").string()); }
};

TEST_F(PortSearch, FindsTheBoardOnTheThirdCandidate) {
    PtyPair silent1, silent2;
    SimProcess sim({"--wire-log", wireLog()});
    ports.names = {silent1.slavePath(), silent2.slavePath(), sim.path()};
    Program& p = Start("/dev/quvan-missing");
    TfrmMain& main = p.frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 8000));
    link::BoardLink& link = p.boardLink();
    EXPECT_TRUE(link.ComPort.PortOpen);
    EXPECT_EQ(link.ComPort.PortName, sim.path());
    EXPECT_TRUE(main.logText().startsWith(QString::fromStdString(sim.path())));
    // Each silent port was asked once, framed as configured.
    EXPECT_EQ(silent1.read(5, 100), "Ver\r\n");
    EXPECT_EQ(silent2.read(5, 100), "Ver\r\n");
    EXPECT_TRUE(ReadFileBytes(wireLog()).startsWith("Ver\r\nZEM:off\r\n"));

    // The dialog's search lists every port that opened, ending with the board's.
    link.ClosePort();
    link::TfrmCom& dialog = p.frmCom();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog.cmbPort->count() == 3 && link.ComPort.PortOpen; }, 5000));
    EXPECT_EQ(dialog.cmbPort->itemText(2), QString::fromStdString(sim.path()));
    EXPECT_EQ(dialog.cmbPort->currentText(), QString::fromStdString(sim.path()));
    dialog.hide();
}

TEST_F(PortSearch, WithNoBoardTheSettingsComeBack) {
    PtyPair silent1, silent2;
    ports.names = {silent1.slavePath(), silent2.slavePath()};
    Program& p = Start("/dev/quvan-missing");
    link::BoardLink& link = p.boardLink();
    link.ComPort.BaudRate = 9600;
    link.ComPort.RecvTout = 250;
    EXPECT_FALSE(p.frmMain().ConnectBoard());
    EXPECT_EQ(link.ComPort.PortName, "/dev/quvan-missing");
    EXPECT_EQ(link.ComPort.BaudRate, 9600);
    EXPECT_EQ(link.ComPort.RecvTout, 250);
    EXPECT_FALSE(link.ComPort.PortOpen);
    EXPECT_FALSE(link.PortSearchActive());
    EXPECT_EQ(p.frmMain().statusPanelText(0), "COM:OFF");
}

// A board that answers only after the probe's wait is not taken, but the
// user is told which port stayed silent.
TEST_F(PortSearch, APortThatAnswersTooLateIsNamedInTheStatusBarAndTheLog) {
    SimProcess sim({"--delay", "400"});
    ports.names = {};
    Program& p = Start(sim.path());
    TfrmMain& main = p.frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 8000));
    EXPECT_FALSE(p.boardLink().ComPort.PortOpen);
    EXPECT_EQ(main.statusPanelText(0), "COM:OFF");
    const QString expected =
        QString::fromStdString(sim.path()) + " で QUVAN から応答がありません（\"Ver\", 200 ms）";
    EXPECT_EQ(main.statusPanelText(2), expected);
    EXPECT_TRUE(main.logText().contains(expected)) << main.logText().toStdString();
}

// Port names here are paths: the dialog shows them whole.
TEST_F(PortSearch, TheDialogShowsTheWholePortName) {
    ports.names = {};
    Program& p = Start("/dev/pts/0");
    link::TfrmCom& dialog = p.frmCom();
    for (const std::string name :
         {"/dev/pts/0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"}) {
        SCOPED_TRACE(name);
        p.boardLink().ComPort.PortName = name;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.searchTag() == 1; }, 3000));
        QLineEdit* edit = dialog.cmbPort->lineEdit();
        ASSERT_EQ(edit->text().toStdString(), name);
        // The line edit keeps two pixels on each side of its text.
        EXPECT_GE(edit->contentsRect().width() - 4,
                  edit->fontMetrics().horizontalAdvance(edit->text()));
        const QWidget* send = dialog.findChild<QWidget*>("gbSend");
        EXPECT_GT(send->x(), dialog.cmbPort->parentWidget()->geometry().right());
        EXPECT_LE(send->geometry().right(), dialog.width());
        dialog.reject();
    }
}

TEST_F(PortSearch, ARemovedAdapterStopsTheSearch) {
    PtyPair vanishing, silent;
    SimProcess sim({"--wire-log", wireLog()});
    ports.names = {vanishing.slavePath(), silent.slavePath(), sim.path()};
    Program& p = Start("/dev/quvan-missing");
    QTimer::singleShot(150, [&] { vanishing.hangUp(); });
    EXPECT_FALSE(p.frmMain().ConnectBoard());
    link::BoardLink& link = p.boardLink();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].endsWith(" が閉じられました。\n通信ケーブル等を確認して下さい。"));
    EXPECT_EQ(link.ComPort.PortName, vanishing.slavePath()); // the last one tried
    EXPECT_FALSE(link.ComPort.PortOpen);
    EXPECT_EQ(silent.read(5, 100), ""); // never asked
    EXPECT_EQ(ReadFileBytes(wireLog()), "");
}

TEST_F(PortSearch, DialogTakesItsFieldsAndKeepsBadNumbersOpen) {
    SimProcess sim({"--wire-log", wireLog()});
    ports.names = {};
    Program& p = Start(sim.path());
    link::BoardLink& link = p.boardLink();
    link::TfrmCom& dialog = p.frmCom();
    bool irAck = true;
    dialog.bindIrAck(&irAck);
    dialog.show();
    QTest::qWait(50);

    // A speed that is not a number: error, the port name is taken, nothing else.
    dialog.cmbPort->setCurrentText(QString::fromStdString(sim.path()));
    dialog.cmbBps->setCurrentText("96OO");
    dialog.cmbDataBit->setCurrentText("7");
    dialog.btnOkClick();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("96OO"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(link.ComPort.PortName, sim.path());
    EXPECT_EQ(link.ComPort.BaudRate, 115200);
    EXPECT_EQ(link.ComPort.ByteSize, 8);
    EXPECT_FALSE(link.ComPort.PortOpen);

    // A timeout text that is not a number gives 100; the completion code follows the radio button.
    dialog.cmbBps->setCurrentText("9600");
    dialog.edtRecvTout->setText("50ms");
    dialog.rbCRLF->setChecked(true);
    dialog.btnOkClick();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(link.ComPort.BaudRate, 9600);
    EXPECT_EQ(link.ComPort.ByteSize, 7);
    EXPECT_EQ(link.ComPort.RecvTout, 100);
    EXPECT_FALSE(irAck);
    EXPECT_TRUE(link.ComPort.PortOpen);
}

TEST_F(PortSearch, DialogRefusesAPortThatDoesNotOpen) {
    Program& p = Start("/dev/quvan-missing");
    link::TfrmCom& dialog = p.frmCom();
    dialog.show();
    QTest::qWait(50);
    dialog.cmbPort->setCurrentText("ttyQUVAN9");
    dialog.btnOkClick();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "ttyQUVAN9 を設定出来ません。");
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
}

TEST_F(PortSearch, AdvancedControlsStartDisabledAndToggle) {
    Program& p = Start("/dev/quvan-missing");
    link::TfrmCom& dialog = p.frmCom();
    QAction* systemPath = p.frmMain().widgets().mmSystemPath->menuAction();
    for (int showing = 0; showing < 2; ++showing) {
        dialog.show();
        EXPECT_FALSE(dialog.cmbDataBit->isEnabled());
        EXPECT_FALSE(dialog.edtRecvTout->isEnabled());
        EXPECT_TRUE(dialog.cmbPort->isEnabled());
        EXPECT_TRUE(dialog.cmbBps->isEnabled());
        EXPECT_FALSE(systemPath->isVisible());
        QTest::mouseDClick(&dialog, Qt::LeftButton, {}, QPoint(5, dialog.height() - 5));
        EXPECT_TRUE(dialog.cmbDataBit->isEnabled());
        EXPECT_TRUE(systemPath->isVisible());
        if (showing == 0) {
            QTest::mouseDClick(&dialog, Qt::LeftButton, {}, QPoint(5, dialog.height() - 5));
            EXPECT_FALSE(dialog.cmbDataBit->isEnabled());
        }
        dialog.hide();
    }
}

TEST_F(PortSearch, PortButtonSearchesOnlyWhenTheUserSaysYes) {
    SimProcess sim({});
    ports.names = {sim.path()};
    Program& p = Start("/dev/quvan-missing");
    link::TfrmCom& dialog = p.frmCom();
    answer = [](TfrmMsgBox& box) { box.btnNo->click(); };
    dialog.btnPortClick();
    EXPECT_EQ(shown, QStringList{"Connect the USB to Serial Cable"});
    EXPECT_FALSE(p.boardLink().ComPort.PortOpen);

    answer = nullptr;
    dialog.btnPortClick();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[2], "The connection port is " + QString::fromStdString(sim.path()));
}

TEST_F(PortSearch, ComCommandReinitialisesTheBoard) {
    SimProcess sim({"--wire-log", wireLog()});
    ports.names = {sim.path()};
    Program& p = Start(sim.path());
    TfrmMain& main = p.frmMain();
    main.appendLog("old line");
    QTimer::singleShot(600, [&] { p.frmCom().btnOkClick(); });
    RunCommunicationSettings(main, p.frmCom());
    EXPECT_TRUE(p.boardLink().ComPort.PortOpen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.logText().contains("IrEND:ACK(0x06)"); }, 3000));
    const QByteArray wire = ReadFileBytes(wireLog());
    // The dialog's search probes, then the board is set up again.
    EXPECT_TRUE(wire.endsWith("Ver\r\nT\r\nV\r\nIrEND:ACK\r\n")) << wire.toStdString();
    EXPECT_FALSE(main.logText().contains("old line"));
    EXPECT_TRUE(main.state().settings.IrAck);
}

TEST_F(PortSearch, CancellingTheDialogKeepsThePortItFound) {
    SimProcess sim({});
    ports.names = {sim.path()};
    Program& p = Start("/dev/quvan-missing");
    QTimer::singleShot(800, [&] { p.frmCom().btnEsc->click(); });
    RunCommunicationSettings(p.frmMain(), p.frmCom());
    EXPECT_TRUE(p.boardLink().ComPort.PortOpen);
    EXPECT_EQ(p.boardLink().ComPort.PortName, sim.path());
}

} // namespace
} // namespace quvan::app
