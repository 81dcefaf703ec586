// The tool against the simulated board on a pseudo-terminal: start-up,
// learning indicator, version, and losing the line.

#include "../frame/qstring_printer.h"
#include "sim_process.h"
#include "test_program.h"

#include <fstream>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::ReadFileBytes;
using test_support::SimProcess;
using test_support::TempDir;

struct Tool {
    Tool(const QString& title, std::optional<std::string> port, const TempDir& dir)
        : program(std::make_unique<Program>(
              test_support::TestProgramOptions(title, dir, ports, silence, std::move(port)))) {}
    platform::FixedPortLister ports;
    test_support::Silence silence;
    std::unique_ptr<Program> program;
};

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        // Answer every message box with its first button, without a screen.
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            box.CloseWithOk();
        });
    }
    void TearDown() override { TfrmMsgBox::SetAnswerer(nullptr); }

    TempDir dir;
    QString wireLog() const { return QString::fromStdString((dir.path() / "wire.log").string()); }
    QStringList shown;
};

TEST_F(StartUp, StdEditionRunsTheStartSequenceOnce) {
    SimProcess sim({"--wire-log", wireLog()});
    ASSERT_FALSE(sim.path().empty());
    Tool tool("TAVIRO QUVAN-ARM Tool", sim.path(), dir);
    TfrmMain& main = tool.program->frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadFileBytes(wireLog()).endsWith("T\r\n"); }, 2000));
    EXPECT_EQ(ReadFileBytes(wireLog()), "Ver\r\nZEM:off\r\nVersion:STD\r\nT\r\n");
    EXPECT_EQ(main.state().BoardVersion, "Ver.20251223");
    EXPECT_EQ(main.statusPanelText(0), QString::fromStdString(sim.path()));
    QTest::qWait(200);
    EXPECT_FALSE(main.state().LearningOn);
    // Before start-up was done only the version reply counted; the echo of
    // the edition command comes after it and is logged, "Trans Mode" is not.
    EXPECT_EQ(main.logText(), "Version:STD");

    // Showing the window again does not start over.
    main.hide();
    main.show();
    QTest::qWait(300);
    EXPECT_EQ(ReadFileBytes(wireLog()), "Ver\r\nZEM:off\r\nVersion:STD\r\nT\r\n");
}

TEST_F(StartUp, ProEditionAnnouncesItselfAndModeLinesMoveTheIndicator) {
    SimProcess sim({"--pro", "--wire-log", wireLog()});
    Tool tool("TAVIRO QUVAN-Pro Tool", sim.path(), dir);
    TfrmMain& main = tool.program->frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadFileBytes(wireLog()).endsWith("T\r\n"); }, 2000));
    EXPECT_EQ(ReadFileBytes(wireLog()), "Ver\r\nZEM:off\r\nVersion:Pro\r\nT\r\n");

    link::BoardLink& link = tool.program->boardLink();
    link.SendCommand("A:Pro");
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 2000));
    EXPECT_EQ(main.learningCaption(), "学習 On");
    link.SendCommand("T");
    EXPECT_TRUE(link.WaitResponse(2000));
    EXPECT_FALSE(main.state().LearningOn);
    // A version asked for later is logged and recorded.
    link.SendCommand("V");
    EXPECT_TRUE(link.WaitResponse(2000));
    EXPECT_EQ(main.logText(), "Version:Pro\nQUVAN-Pro Ver.20251223");
}

TEST_F(StartUp, OtherFramingsReachTheBoardByteForByte) {
    // The board expects STX ... ETX and ends its own lines with LF only.
    SimProcess sim({"--head", "STX", "--dlmt", "ETX", "--line-end", "LF", "--wire-log", wireLog()});
    {
        std::ofstream ini(dir.path() / "quvan-tool.ini");
        ini << "[COMPORT]\nSendHead=STX\nSendDlmt=ETX\nRecvDlmt=LF\n";
    }
    Tool tool("TAVIRO QUVAN-ARM Tool", sim.path(), dir);
    TfrmMain& main = tool.program->frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadFileBytes(wireLog()).endsWith("T\x03"); }, 2000));
    EXPECT_EQ(ReadFileBytes(wireLog()), "\x02Ver\x03\x02ZEM:off\x03\x02Version:STD\x03\x02T\x03");
    EXPECT_EQ(main.state().BoardVersion, "Ver.20251223");
    // With LF as the receive delimiter the LF stays in each line, so the
    // whole-line test for "Trans Mode" cannot match and the line is logged.
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.logText().contains("Trans Mode 0Ah"); }, 2000));
}

TEST_F(StartUp, WithoutABoardNothingIsSent) {
    Tool tool("TAVIRO QUVAN-ARM Tool", std::string("/dev/quvan-missing"), dir);
    TfrmMain& main = tool.program->frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 3000));
    EXPECT_FALSE(tool.program->boardLink().ComPort.PortOpen);
    EXPECT_EQ(main.statusPanelText(0), "COM:OFF");
}

TEST_F(StartUp, TheBoardHangingUpIsReportedAndThePortClosed) {
    SimProcess sim({});
    Tool tool("TAVIRO QUVAN-ARM Tool", sim.path(), dir);
    TfrmMain& main = tool.program->frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 5000));
    ASSERT_TRUE(tool.program->boardLink().ComPort.PortOpen);
    sim.control("hangup");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000));
    EXPECT_EQ(shown.front(), QString::fromStdString(sim.path()) +
                                 " が閉じられました。\n通信ケーブル等を確認して下さい。");
    EXPECT_FALSE(tool.program->boardLink().ComPort.PortOpen);
    EXPECT_EQ(main.statusPanelText(0), "COM:OFF");
}

} // namespace
} // namespace quvan::app
