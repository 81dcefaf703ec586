// The board link over a real pseudo-terminal: what goes on the wire, what
// comes back, and what happens when the line goes away.

#include "link/board_link.h"
#include "pty_pair.h"
#include "recording_handlers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace quvan::link {
namespace {

using quvan::test_support::PtyPair;
using test_support::RecordingHandlers;

class BoardLinkTest : public ::testing::Test {
  protected:
    BoardLinkTest() {
        handlers.state.startupDone = true;
        link.setHandlers(&handlers);
        link.ComPort.PortName = pty.slavePath();
    }
    ~BoardLinkTest() override {
        link.ClosePort();
        link.setHandlers(nullptr);
    }

    bool Open(const std::string& head = "無し", const std::string& sendDlmt = "CRLF",
              const std::string& recvDlmt = "CRLF") {
        link.ComPort.SendHead = head;
        link.ComPort.SendDlmt = sendDlmt;
        link.ComPort.RecvDlmt = recvDlmt;
        return link.OpenPort(true);
    }

    static bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
        return QTest::qWaitFor(done, ms);
    }

    PtyPair pty;
    platform::PosixSerialPortOpener opener;
    BoardLink link{opener};
    RecordingHandlers handlers;
};

TEST_F(BoardLinkTest, CommandsGoOutFramedByteForByte) {
    ASSERT_TRUE(pty.ok());
    struct Case {
        const char* head;
        const char* dlmt;
        std::string wire;
    };
    const Case cases[] = {
        {"無し", "CRLF", "Ver\r\n"}, {"STX", "ETX", "\x02Ver\x03"}, {"STX", "CR", "\x02Ver\r"},
        {"無し", "LF", "Ver\n"},     {"無し", "無し", "Ver"},       {"STX", "crlf", "\x02Ver"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Open(c.head, c.dlmt));
        link.SendCommand("Ver");
        EXPECT_EQ(pty.read(c.wire.size() + 1, 300), c.wire) << c.head << "/" << c.dlmt;
    }
}

TEST_F(BoardLinkTest, SendingWhileClosedChangesNothing) {
    link.SetResponseFlag();
    link.SendCommand("Ver");
    EXPECT_TRUE(link.ResponseFlag());
    ASSERT_TRUE(Open());
    link.SendCommand("Ver");
    EXPECT_FALSE(link.ResponseFlag());
}

TEST_F(BoardLinkTest, WaitResponseEndsOnTheReplyOrTheLimit) {
    ASSERT_TRUE(Open());
    link.SetResponseFlag();
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(link.WaitResponse(5000));
    EXPECT_LT(clock.elapsed(), 50);

    link.SendCommand("T");
    clock.restart();
    EXPECT_FALSE(link.WaitResponse(0));
    EXPECT_LT(clock.elapsed(), 50);
    clock.restart();
    EXPECT_FALSE(link.WaitResponse(150));
    EXPECT_GE(clock.elapsed(), 150);

    link.SendCommand("T");
    pty.write("Trans Mode\r\n");
    clock.restart();
    EXPECT_TRUE(link.WaitResponse(2000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(handlers.learning, 0);
}

TEST_F(BoardLinkTest, ModeLinesMoveTheIndicatorAndVersionsAreRecorded) {
    ASSERT_TRUE(Open());
    pty.write("Analyze Mode\r\nQUVAN-ARM Ver.20251223\r\n");
    ASSERT_TRUE(WaitFor([&] { return handlers.log.size() == 1; }));
    EXPECT_EQ(handlers.learning, 1);
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"Version:QUVAN-ARM Ver.20251223"});
    EXPECT_TRUE(link.ResponseFlag());
}

TEST_F(BoardLinkTest, LinesArriveInOrderAcrossReads) {
    ASSERT_TRUE(Open());
    std::string burst;
    for (int i = 0; i < 500; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "[%03d]:00560 001120\r\n", i % 1000);
        burst += line;
    }
    pty.write(burst.substr(0, 1000));
    pty.write(burst.substr(1000));
    ASSERT_TRUE(WaitFor([&] { return handlers.calls.size() == 500; }));
    EXPECT_EQ(handlers.calls.front(), "Wave:[000]:00560 001120");
    EXPECT_EQ(handlers.calls[123], "Wave:[123]:00560 001120");
    EXPECT_EQ(handlers.calls.back(), "Wave:[499]:00560 001120");
}

TEST_F(BoardLinkTest, WithoutDelimiterALineIsHandedOnAfterTheIdleTime) {
    link.ComPort.RecvTout = 100;
    ASSERT_TRUE(Open("無し", "CRLF", "無し"));
    QElapsedTimer clock;
    clock.start();
    pty.write("QUVAN-ARM Ver.20251223\r\n");
    ASSERT_TRUE(WaitFor([&] { return !handlers.log.empty(); }));
    EXPECT_GE(clock.elapsed(), 95);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(handlers.log, std::vector<std::string>{"QUVAN-ARM Ver.20251223 0Dh 0Ah"});
}

TEST_F(BoardLinkTest, OverlongLineIsCutAndTheRestFollows) {
    ASSERT_TRUE(Open());
    pty.write(std::string(9000, 'x'));
    ASSERT_TRUE(WaitFor([&] { return handlers.log.size() == 2; }));
    EXPECT_EQ(handlers.log[0].size(), 8193u);
    EXPECT_EQ(handlers.log[1].size(), 9000u - 8193u);
}

TEST_F(BoardLinkTest, GarbageAndNulBytesAreShownNotLost) {
    ASSERT_TRUE(Open());
    pty.write(std::string("\0\x01\xFFzz\r\n", 7));
    ASSERT_TRUE(WaitFor([&] { return handlers.log.size() == 1; }));
    EXPECT_EQ(handlers.log[0], " 00h 01h \xFFzz");
}

TEST_F(BoardLinkTest, HangUpSetsCommErrorAndEndsTheThread) {
    ASSERT_TRUE(Open());
    QSignalSpy removed(&link, &BoardLink::deviceRemoved);
    pty.write("Trans Mode\r\n[000]:00"); // a line and half of another
    ASSERT_TRUE(WaitFor([&] { return handlers.learning == 0; }));
    pty.hangUp();
    ASSERT_TRUE(WaitFor([&] { return !link.ComPort.RcvRunning; }, 3000));
    EXPECT_EQ(removed.count(), 1);
    EXPECT_TRUE(link.ComPort.CommError);
    EXPECT_TRUE(link.ComPort.PortOpen); // deaf, but open until closed
    // A command on the dead line is dropped and changes nothing else.
    link.SendCommand("Ver");
    EXPECT_FALSE(link.WaitResponse(50));
    link.ClosePort();
    EXPECT_FALSE(link.ComPort.PortOpen);
    EXPECT_FALSE(link.ComPort.CommError);
}

TEST_F(BoardLinkTest, ClosingWhileALineArrivesIsClean) {
    ASSERT_TRUE(Open());
    for (int round = 0; round < 20; ++round) {
        pty.write("[000]:00560 001120\r\n[001]:00560");
        QTest::qWait(round % 3);
        link.ClosePort();
        EXPECT_FALSE(link.ComPort.PortOpen);
        EXPECT_FALSE(link.ComPort.RcvRunning);
        pty.read(4096, 10);
        ASSERT_TRUE(link.OpenPort(true)) << link.lastOpenError();
        pty.write(" 001120\r\n");
        QTest::qWait(5);
    }
    // A partial line collected by a thread dies with it, but bytes still in the
    // driver are read by the next session: whatever reached the handlers is
    // one of the two whole lines, never a fragment.
    ASSERT_FALSE(handlers.calls.empty());
    for (const std::string& call : handlers.calls) {
        EXPECT_TRUE(call == "Wave:[000]:00560 001120" || call == "Wave:[001]:00560 001120") << call;
    }
}

// The worker asks the window to read while the window is busy elsewhere (no
// events handled); the port is closed before the request is handled. The
// request must never run after the worker gave up on it: the bytes stay in
// the driver for the next session instead of being read into a closed one.
TEST_F(BoardLinkTest, AReadTheWorkerGaveUpOnNeverRuns) {
    ASSERT_TRUE(Open());
    pty.write("Analyze Mode\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the request is queued
    link.ClosePort(); // handles events while it waits for the worker
    EXPECT_EQ(handlers.learning, -1);
    EXPECT_FALSE(link.ComPort.RcvRunning);
    QCoreApplication::processEvents(); // anything still queued is dropped
    EXPECT_EQ(handlers.learning, -1);
    ASSERT_TRUE(link.OpenPort(true));
    EXPECT_TRUE(WaitFor([&] { return handlers.learning == 1; }));
}

TEST_F(BoardLinkTest, OpeningAMissingPortFails) {
    QSignalSpy status(&link, &BoardLink::portStatusChanged);
    link.ComPort.PortName = "/dev/does-not-exist-quvan";
    EXPECT_FALSE(link.OpenPort(true));
    EXPECT_TRUE(link.ComPort.CommError);
    EXPECT_FALSE(link.ComPort.PortOpen);
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status.takeFirst().at(0).toString(), "COM:OFF");
    link.ComPort.PortName = "";
    EXPECT_FALSE(link.OpenPort(true));
    // Closing an already closed port leaves the status alone.
    link.ClosePort();
    EXPECT_EQ(status.count(), 1);
}

TEST_F(BoardLinkTest, OpeningASecondPortClosesTheFirst) {
    PtyPair second;
    ASSERT_TRUE(Open());
    link.ComPort.PortName = second.slavePath();
    ASSERT_TRUE(link.OpenPort(true));
    pty.write("Trans Mode\r\n");
    second.write("Analyze Mode\r\n");
    ASSERT_TRUE(WaitFor([&] { return handlers.learning == 1; }));
    QTest::qWait(50);
    EXPECT_EQ(handlers.learning, 1); // the first port is no longer heard
    link.SendCommand("T");
    EXPECT_EQ(second.read(3, 300), "T\r\n");
    EXPECT_EQ(pty.read(3, 100), "");
}

TEST_F(BoardLinkTest, SearchLeavesTheStatusBarAlone) {
    QSignalSpy status(&link, &BoardLink::portStatusChanged);
    link.SetPortSearchActive(true);
    ASSERT_TRUE(Open());
    link.ClosePort();
    link.SetPortSearchActive(false);
    EXPECT_EQ(status.count(), 0);
}

} // namespace
} // namespace quvan::link

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
