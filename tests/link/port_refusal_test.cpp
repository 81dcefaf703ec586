// Ports that are there but cannot be had (no permission, held by another
// program): the search reports them, the link remembers a permission refusal
// until the board is reached, and the advice names the group to join.

#include "link/board_link.h"
#include "link/port_advice.h"
#include "link/port_search.h"
#include "pty_pair.h"
#include "recording_handlers.h"
#include "refusing_opener.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace quvan::link {
namespace {

using platform::OpenFailure;
using quvan::test_support::PtyPair;
using quvan::test_support::RefusingOpener;
using test_support::RecordingHandlers;

class PortRefusal : public ::testing::Test {
  protected:
    PortRefusal() {
        handlers.state.startupDone = false; // version lines answer the probe
        link.setHandlers(&handlers);
        opener.refused["ttyUSB0"] = {};
        opener.refused["ttyUSB1"] = {OpenFailure::InUse};
    }
    ~PortRefusal() override {
        link.ClosePort();
        link.setHandlers(nullptr);
    }

    SearchCallbacks Recording() {
        SearchCallbacks callbacks;
        callbacks.portOpened = [this](const std::string& name) {
            events.push_back("open " + name);
        };
        callbacks.portRefused = [this](const std::string& name, const platform::OpenError& why) {
            events.push_back("refused " + name + " " + std::to_string(static_cast<int>(why.kind)));
        };
        return callbacks;
    }

    RefusingOpener opener;
    BoardLink link{opener};
    RecordingHandlers handlers;
    platform::FixedPortLister ports;
    std::vector<std::string> events;
};

TEST_F(PortRefusal, TheSearchNamesRefusedPortsAndTheLinkKeepsThePermissionOne) {
    PtyPair silent;
    ports.names = {"ttyUSB0", "ttyUSB1", "/dev/quvan-missing", silent.slavePath()};
    link.ComPort.PortName = "ttyS4";
    EXPECT_FALSE(SearchPort(link, ports, Recording()));
    const std::string inUse = std::to_string(static_cast<int>(OpenFailure::InUse));
    const std::string denied = std::to_string(static_cast<int>(OpenFailure::PermissionDenied));
    // A missing port is skipped as before; the two that are there are named.
    EXPECT_EQ(events,
              (std::vector<std::string>{"refused ttyUSB0 " + denied, "refused ttyUSB1 " + inUse,
                                        "open " + silent.slavePath()}));
    EXPECT_EQ(link.ComPort.PortName, "ttyS4");
    ASSERT_TRUE(link.permissionRefusal());
    EXPECT_EQ(link.permissionRefusal()->path, "/dev/ttyUSB0");
    EXPECT_EQ(link.permissionRefusal()->deviceGroup, "dialout");
    EXPECT_TRUE(NoBoardAdvice(link).contains("sudo adduser $USER dialout"));
}

TEST_F(PortRefusal, ReachingTheBoardForgetsTheRefusal) {
    PtyPair board;
    ports.names = {"ttyUSB0", board.slavePath()};
    link.ComPort.PortName = "ttyUSB0"; // the saved port is the refused one
    QTimer::singleShot(100, [&] { board.write("QUVAN-ARM Ver.20251223\r\n"); });
    EXPECT_TRUE(ConnectBoard(link, ports, Recording()));
    EXPECT_EQ(link.ComPort.PortName, board.slavePath());
    EXPECT_FALSE(link.permissionRefusal());
    EXPECT_TRUE(NoBoardAdvice(link).isEmpty());

    // A later attempt that meets it again, with no board, remembers it anew.
    link.ClosePort();
    ports.names = {"ttyUSB0"};
    link.ComPort.PortName = "/dev/quvan-missing";
    EXPECT_FALSE(ConnectBoard(link, ports, {}));
    ASSERT_TRUE(link.permissionRefusal());

    // Opening a port of the user's choice forgets it too; opening the refused
    // port says why it failed.
    link.ComPort.PortName = "ttyUSB0";
    EXPECT_FALSE(link.OpenPort(true));
    EXPECT_EQ(link.lastOpenFailure().kind, OpenFailure::PermissionDenied);
    link.ComPort.PortName = board.slavePath();
    EXPECT_TRUE(link.OpenPort(true));
    EXPECT_FALSE(link.permissionRefusal());
    EXPECT_EQ(link.lastOpenFailure().kind, OpenFailure::None);
}

TEST(PortAdvice, NamesTheGroupOfTheDeviceAndTheWayIn) {
    platform::OpenError error;
    error.kind = OpenFailure::PermissionDenied;
    error.path = "/dev/ttyUSB0";
    error.deviceGroup = "uucp"; // read from the node, not assumed
    const QString advice = OpenFailureAdvice(error);
    EXPECT_TRUE(advice.startsWith("/dev/ttyUSB0 を開く権限がありません。\n"));
    EXPECT_TRUE(advice.contains("uucp グループに入っていません"));
    EXPECT_TRUE(advice.contains("    sudo adduser $USER uucp"));
    EXPECT_TRUE(advice.contains("ログアウト"));

    // Already added, not yet logged in again: only the new login is missing.
    error.groupJoinPending = true;
    EXPECT_FALSE(OpenFailureAdvice(error).contains("adduser"));
    EXPECT_TRUE(OpenFailureAdvice(error).contains("uucp グループに追加済み"));

    // No group may use the node: joining one would not help.
    error.deviceGroup.clear();
    EXPECT_FALSE(OpenFailureAdvice(error).contains("adduser"));
    EXPECT_TRUE(OpenFailureAdvice(error).contains("ls -l /dev/ttyUSB0"));

    EXPECT_EQ(RefusedPortLabel("ttyUSB0", error), "ttyUSB0 (アクセス権なし)");
    error.kind = OpenFailure::InUse;
    EXPECT_EQ(RefusedPortLabel("ttyUSB0", error), "ttyUSB0 (使用中)");
    EXPECT_TRUE(OpenFailureAdvice(error).startsWith("/dev/ttyUSB0 は他のプログラムが使用中です。"));

    // A missing port needs nothing added to the message it already gets.
    error.kind = OpenFailure::Missing;
    EXPECT_TRUE(OpenFailureAdvice(error).isEmpty());
    EXPECT_EQ(WithAdvice("COM3 を設定出来ません。", OpenFailureAdvice(error)),
              "COM3 を設定出来ません。");
}

} // namespace
} // namespace quvan::link
