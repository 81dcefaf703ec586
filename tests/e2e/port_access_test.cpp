// Ports that cannot be had and ports that come back: a port this user may
// not open is explained wherever the tool says it cannot reach the board, and
// a board unplugged and plugged in again (a new pseudo-terminal of the
// simulator behind the same link name) is found by the next search.

#include "../frame/qstring_printer.h"
#include "../link/refusing_opener.h"
#include "sim_process.h"
#include "test_program.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <filesystem>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::RefusingOpener;
using test_support::SimProcess;
using test_support::TempDir;

class PortAccess : public ::testing::Test {
  protected:
    PortAccess() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            if (answer)
                answer(box);
            else
                box.CloseWithOk();
        });
    }
    ~PortAccess() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    Program& Start(const std::string& configuredPort) {
        ProgramOptions options = test_support::TestProgramOptions("TAVIRO QUVAN-ARM Tool", dir,
                                                                  ports, silence, configuredPort);
        options.opener = &opener;
        program = std::make_unique<Program>(options);
        return *program;
    }
    Program& StartShown(const std::string& configuredPort) {
        Program& p = Start(configuredPort);
        p.frmMain().show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return p.frmMain().state().StartupDone; }, 8000));
        return p;
    }
    // The name a USB adapter keeps across a replug (like /dev/serial/by-id/...).
    std::string LinkName(const char* name) const { return (dir.path() / name).string(); }
    static QString Closed(const std::string& port) {
        return QString::fromStdString(port) +
               " が閉じられました。\n通信ケーブル等を確認して下さい。";
    }
    // Whether this process still has the terminal `path` open (its node is
    // gone once the other end has closed: the kernel then marks it deleted).
    static bool Holds(const std::string& path) {
        for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            const std::string target = std::filesystem::read_symlink(fd.path(), ec).string();
            if (target == path || target == path + " (deleted)")
                return true;
        }
        return false;
    }

    TempDir dir;
    RefusingOpener opener;
    platform::FixedPortLister ports;
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    QStringList shown;
    std::function<void(TfrmMsgBox&)> answer;
};

TEST_F(PortAccess, ABoardUnpluggedAndPluggedInAgainIsFoundByTheNextSearch) {
    const std::string name = LinkName("ttyQUVAN");
    ports.names = {name};
    auto first = std::make_unique<SimProcess>(QStringList{"--link", QString::fromStdString(name)});
    Program& p = StartShown(name);
    link::BoardLink& link = p.boardLink();
    ASSERT_TRUE(link.ComPort.PortOpen);

    first->control("hangup");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000));
    EXPECT_EQ(shown[0], Closed(name));
    EXPECT_FALSE(link.ComPort.PortOpen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first->running(); }, 3000));
    first.reset();
    // Unplugged: nothing to find, and the settings stay as they were.
    EXPECT_FALSE(p.frmMain().ConnectBoard());
    EXPECT_EQ(link.ComPort.PortName, name);

    SimProcess second({"--link", QString::fromStdString(name)});
    EXPECT_TRUE(p.frmMain().ConnectBoard());
    EXPECT_EQ(link.ComPort.PortName, name);
    EXPECT_EQ(p.frmMain().statusPanelText(0), QString::fromStdString(name));
    // The settings dialog's search lists it again too.
    link.ClosePort();
    EXPECT_TRUE(p.frmCom().SearchPort(true));
    EXPECT_EQ(p.frmCom().cmbPort->itemText(0), QString::fromStdString(name));
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(PortAccess, ABoardThatComesBackUnderAnotherNameIsFoundByTheSearch) {
    // A USB adapter plugged in again while its old name is still taken
    // comes back as the next one (ttyUSB0, then ttyUSB1).
    const std::string before = LinkName("ttyUSB0");
    const std::string after = LinkName("ttyUSB1");
    ports.names = {before, after};
    auto first =
        std::make_unique<SimProcess>(QStringList{"--link", QString::fromStdString(before)});
    Program& p = StartShown(before);
    first->control("hangup");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.boardLink().ComPort.PortOpen; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first->running(); }, 3000));
    first.reset();
    SimProcess second({"--link", QString::fromStdString(after)});
    EXPECT_TRUE(p.frmMain().ConnectBoard());
    EXPECT_EQ(p.boardLink().ComPort.PortName, after);
}

TEST_F(PortAccess, AnUnplugWhileAMessageShowsIsReportedOnceItCloses) {
    const std::string name = LinkName("ttyQUVAN");
    ports.names = {name};
    auto first = std::make_unique<SimProcess>(QStringList{"--link", QString::fromStdString(name)});
    const std::string device = first->path();
    Program& p = StartShown(name);
    link::BoardLink& link = p.boardLink();
    bool heldWhileShowing = true;
    answer = [&](TfrmMsgBox& box) {
        if (box.Text() == "hello") {
            // Unplugged while the box is up: nothing is said over it, but the
            // dead device is let go at once.
            first->control("hangup");
            EXPECT_TRUE(QTest::qWaitFor([&] { return !link.ComPort.RcvRunning; }, 5000));
            heldWhileShowing = Holds(device);
            EXPECT_TRUE(link.ComPort.PortOpen);
            EXPECT_EQ(shown.size(), 1);
        }
        box.CloseWithOk();
    };
    p.frmMsgBox().Prepare(1, QStringLiteral("確認"), QStringLiteral("hello"));
    p.frmMsgBox().ShowModal();
    EXPECT_FALSE(heldWhileShowing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2; }, 3000));
    EXPECT_EQ(shown[1], Closed(name));
    EXPECT_FALSE(link.ComPort.PortOpen);
    EXPECT_EQ(p.frmMain().statusPanelText(0), "COM:OFF");

    ASSERT_TRUE(QTest::qWaitFor([&] { return !first->running(); }, 3000));
    first.reset();
    SimProcess second({"--link", QString::fromStdString(name)});
    EXPECT_TRUE(p.frmMain().ConnectBoard());
}

TEST_F(PortAccess, APortThisUserMayNotOpenIsExplainedAtStartAndInTheWarnings) {
    opener.refused["ttyUSB0"] = {};
    ports.names = {"ttyUSB0"};
    Program& p = StartShown("ttyUSB0");
    TfrmMain& main = p.frmMain();
    EXPECT_FALSE(p.boardLink().ComPort.PortOpen);
    EXPECT_EQ(main.statusPanelText(0), "COM:OFF");
    const QString summary = "/dev/ttyUSB0 を開く権限がありません。";
    EXPECT_EQ(main.statusPanelText(2), summary);
    EXPECT_TRUE(
        main.logText().contains(summary + "\nこのユーザーは dialout グループに入っていません"))
        << main.logText().toStdString();
    EXPECT_TRUE(main.logText().contains("    sudo adduser $USER dialout"));

    // Every command that needs the board says why it is not there.
    QTest::mouseClick(main.widgets().pnlAnalyze, Qt::LeftButton);
    main.widgets().btnTableWrite->click();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith("QUVANと通信出来ません\n" + summary)) << shown[0].toStdString();
    EXPECT_TRUE(shown[1].startsWith("QUVANと通信出来ません。\n" + summary));
    EXPECT_TRUE(shown[1].contains("sudo adduser $USER dialout"));
}

TEST_F(PortAccess, TheSettingsDialogListsPortsThatCannotBeHadWithTheReason) {
    opener.refused["ttyUSB0"] = {};
    opener.refused["ttyUSB1"] = {platform::OpenFailure::InUse};
    SimProcess sim({});
    ports.names = {"ttyUSB0", "ttyUSB1", sim.path()};
    Program& p = Start("/dev/quvan-missing");
    link::TfrmCom& dialog = p.frmCom();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog.cmbPort->count() == 3 && p.boardLink().ComPort.PortOpen; }, 5000));
    EXPECT_EQ(dialog.cmbPort->itemText(0), "ttyUSB0 (アクセス権なし)");
    EXPECT_EQ(dialog.cmbPort->itemText(1), "ttyUSB1 (使用中)");
    EXPECT_EQ(dialog.cmbPort->itemText(2), QString::fromStdString(sim.path()));
    EXPECT_TRUE(dialog.cmbPort->itemData(0, Qt::ToolTipRole).toString().contains("adduser"));
    // The drop-down list shows each entry whole.
    EXPECT_GT(dialog.cmbPort->view()->minimumWidth(),
              dialog.cmbPort->fontMetrics().horizontalAdvance("ttyUSB0 (アクセス権なし)"));
    // The board was found, so nothing is left to explain.
    EXPECT_FALSE(p.boardLink().permissionRefusal());

    // Choosing a refused port puts its bare name in the field; setting it
    // says why it cannot be used.
    dialog.cmbPort->setCurrentIndex(0);
    EXPECT_EQ(dialog.cmbPort->currentText(), "ttyUSB0");
    dialog.btnOkClick();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(
        shown[0].startsWith("ttyUSB0 を設定出来ません。\n/dev/ttyUSB0 を開く権限がありません。\n"))
        << shown[0].toStdString();
    EXPECT_TRUE(dialog.isVisible());
    dialog.cmbPort->setCurrentIndex(1);
    dialog.btnOkClick();
    EXPECT_EQ(shown.last(),
              "ttyUSB1 を設定出来ません。\n/dev/ttyUSB1 は他のプログラムが使用中です。\n"
              "そのプログラムを終了してから、もう一度試して下さい。");

    // The port button's search with no board behind a port that can be had.
    ports.names = {"ttyUSB0"};
    dialog.btnPortClick();
    EXPECT_TRUE(
        shown.last().startsWith("Unknown COM port !\n/dev/ttyUSB0 を開く権限がありません。"));
    dialog.hide();
}

} // namespace
} // namespace quvan::app
