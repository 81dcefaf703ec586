// The main window's part in the link: learning indicator, version, losing the port.

#include "../link/pty_pair.h"
#include "app/main_window.h"
#include "fake_messages.h"
#include "qstring_printer.h"
#include "temp_dir.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::FakeMessages;
using test_support::PtyPair;

class NoPorts final : public platform::PortLister {
  public:
    std::vector<std::string> ports() override { return {}; }
};

class MainWindowTest : public ::testing::Test {
  protected:
    PtyPair pty;
    platform::PosixSerialPortOpener opener;
    link::BoardLink link{opener};
    FakeMessages messages;
    NoPorts ports;
    test_support::TempDir dir;
    TfrmMain window{"TAVIRO QUVAN-ARM Tool", Services()};

    MainServices Services() {
        return {link, messages, ports, SettingsLocationFor(dir.path() / "quvan-tool", "", ""),
                std::nullopt};
    }

    void OpenBoardPort() {
        link.ComPort.PortName = pty.slavePath();
        ASSERT_TRUE(link.OpenPort(true));
        window.state().StartupDone = true;
    }
};

TEST_F(MainWindowTest, TitleDecidesTheEdition) {
    EXPECT_EQ(window.windowTitle(), "無題[*] — TAVIRO QUVAN-ARM Tool  [ Ver.20251223 ]");
    EXPECT_FALSE(window.state().ProEdition);
    EXPECT_EQ(window.state().WaveLanes, 2);
    TfrmMain pro("TAVIRO QUVAN-Pro Tool", Services());
    EXPECT_TRUE(pro.state().ProEdition);
    EXPECT_EQ(pro.state().WaveLanes, 4);
    link.setHandlers(nullptr);
}

TEST_F(MainWindowTest, LearningIndicatorShowsTheState) {
    EXPECT_EQ(window.learningCaption(), "学習 Off");
    EXPECT_FALSE(window.state().LearningOn);
    window.SetLearningIndicator(true);
    EXPECT_EQ(window.learningCaption(), "学習 On");
    EXPECT_TRUE(window.state().LearningOn);
    EXPECT_TRUE(window.learningIndicatorLit());
}

TEST_F(MainWindowTest, BoardVersionIsTakenFromVersionLines) {
    window.RecordBoardVersion("QUVAN-ARM Ver.20251223 extra");
    EXPECT_EQ(window.state().BoardVersion, "Ver.20251223");
    window.RecordBoardVersion("QUVAN-ARM without a version");
    EXPECT_EQ(window.state().BoardVersion, "Ver.20251223");
    window.RecordBoardVersion("QUVAN-ARM Ver.20251");
    EXPECT_EQ(window.state().BoardVersion, "Ver.20251");
}

TEST_F(MainWindowTest, BoardLinesReachTheWindow) {
    OpenBoardPort();
    pty.write("Analyze Mode\r\nQUVAN-ARM Ver.20240101\r\nhello\r\nIrEND:CRLF\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.logLineCount() == 3; }, 2000));
    EXPECT_TRUE(window.state().LearningOn);
    EXPECT_EQ(window.state().BoardVersion, "Ver.20240101");
    EXPECT_FALSE(window.state().settings.IrAck);
    EXPECT_EQ(window.logText(), "QUVAN-ARM Ver.20240101\nhello\nIrEND:CRLF");
    pty.write("Trans Mode\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.state().LearningOn; }, 2000));
    EXPECT_EQ(window.statusPanelText(0), QString::fromStdString(pty.slavePath()));
}

TEST_F(MainWindowTest, LosingThePortTellsTheUserAndClosesIt) {
    OpenBoardPort();
    window.SetLearningIndicator(true);
    bool openWhileShowing = false;
    messages.whileShowing = [&] { openWhileShowing = link.ComPort.PortOpen; };
    pty.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown.isEmpty(); }, 3000));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].kind, 1);
    EXPECT_EQ(messages.shown[0].caption, "確認");
    EXPECT_EQ(messages.shown[0].text, QString::fromStdString(pty.slavePath()) +
                                          " が閉じられました。\n通信ケーブル等を確認して下さい。");
    EXPECT_TRUE(openWhileShowing); // closed only after the message
    EXPECT_FALSE(link.ComPort.PortOpen);
    EXPECT_FALSE(link.ComPort.RcvRunning);
    EXPECT_FALSE(window.state().LearningOn);
    EXPECT_EQ(window.statusPanelText(0), "COM:OFF");
}

TEST_F(MainWindowTest, RemovalDuringAMessageIsIgnoredButTheLineGoesDeaf) {
    OpenBoardPort();
    messages.showing = true; // a message box is already up
    pty.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.ComPort.RcvRunning; }, 3000));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(link.ComPort.PortOpen);
    EXPECT_TRUE(link.ComPort.CommError);
    // Once the error is recorded, a later removal notice is not acted on either.
    window.PortLost();
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(MainWindowTest, NoBoardAtStartSendsNothing) {
    link.ComPort.PortName = "/dev/quvan-no-such-port";
    window.StartSequence();
    EXPECT_TRUE(window.state().StartupDone);
    EXPECT_FALSE(link.ComPort.PortOpen);
    EXPECT_EQ(window.statusPanelText(0), "COM:OFF");
}

} // namespace
} // namespace quvan::app
