#include "../link/pty_pair.h"
#include "platform/port_list.h"
#include "platform/serial_port.h"
#include "termios2_probe.h"

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quvan::platform {
namespace {

namespace fs = std::filesystem;

TEST(PortNames, ResolveToDevicePaths) {
    EXPECT_EQ(ResolvePortPath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(ResolvePortPath("/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(ResolvePortPath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortPath("COM10"), "/dev/ttyS9");
    EXPECT_EQ(ResolvePortPath("COM0"), "/dev/COM0");
    EXPECT_EQ(ResolvePortPath("COMX"), "/dev/COMX");
    EXPECT_EQ(ResolvePortPath(""), "");
}

TEST(PortNames, SpeedsOutsideTheListFallBackTo57600) {
    for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 56000, 57600, 76800, 115200}) {
        EXPECT_EQ(SupportedBaudRate(rate), rate);
    }
    for (int rate : {0, 14400, 230400, -9600}) {
        EXPECT_EQ(SupportedBaudRate(rate), 57600);
    }
}

TEST(PortList, ListsRealSerialDevicesInAStableOrder) {
    const fs::path root = fs::temp_directory_path() / ("quvan-ports-" + std::to_string(::getpid()));
    const fs::path sys = root / "sys";
    const fs::path dev = root / "dev";
    fs::create_directories(dev);
    auto addTty = [&](const std::string& name, bool device, const char* type, bool node) {
        fs::create_directories(sys / name);
        if (device)
            fs::create_directories(sys / name / "device");
        if (type != nullptr)
            std::ofstream(sys / name / "type") << type << "\n";
        if (node)
            std::ofstream(dev / name) << "";
    };
    addTty("ttyUSB10", true, nullptr, true);
    addTty("ttyUSB2", true, nullptr, true);
    addTty("ttyACM0", true, nullptr, true);
    addTty("ttyS0", true, "4", true);        // a real UART
    addTty("ttyS1", true, "0", true);        // a placeholder without hardware
    addTty("tty1", false, nullptr, true);    // a console
    addTty("ttyUSB3", true, nullptr, false); // node already gone
    EXPECT_EQ(ListSerialPorts(sys.string(), dev.string()),
              (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyUSB2", "ttyUSB10"}));

    for (int i = 0; i < 300; ++i)
        addTty("ttyX" + std::to_string(i), true, nullptr, true);
    const auto many = ListSerialPorts(sys.string(), dev.string());
    EXPECT_EQ(many.size(), kMaxListedPorts);
    EXPECT_EQ(ListSerialPorts((root / "none").string(), dev.string()).size(), 0u);
    fs::remove_all(root);
}

class PosixPort : public ::testing::Test {
  protected:
    quvan::test_support::PtyPair pty;
    PosixSerialPortOpener opener;
};

TEST(LineFlags, FrameFormatAndSpeedFollowTheSettings) {
    using quvan::test_support::Interpret;
    const TerminalFlags cooked = quvan::test_support::CookedFlags();

    auto s = Interpret(ComposeLineFlags(cooked, {56000, 7, 2, Parity::Odd}));
    EXPECT_TRUE(s.customSpeed);
    EXPECT_EQ(s.outputSpeed, 56000u);
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_TRUE(s.twoStopBits);
    EXPECT_TRUE(s.parity);
    EXPECT_TRUE(s.oddParity);
    EXPECT_FALSE(s.hardwareFlow);
    EXPECT_FALSE(s.softwareFlow);
    EXPECT_TRUE(s.rawInput);

    s = Interpret(ComposeLineFlags(cooked, {115200, 8, 1, Parity::Even}));
    EXPECT_TRUE(s.speed115200);
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_FALSE(s.twoStopBits);
    EXPECT_TRUE(s.parity);
    EXPECT_FALSE(s.oddParity);

    s = Interpret(ComposeLineFlags(cooked, {76800, 8, 1, Parity::None}));
    EXPECT_TRUE(s.customSpeed);
    EXPECT_EQ(s.outputSpeed, 76800u);
    EXPECT_FALSE(s.parity);
}

TEST_F(PosixPort, TheDriverTakesTheSpeedAndStopBits) {
    // A pseudo-terminal keeps speeds and stop bits but always reports eight
    // data bits without parity, so only those two are checked on a device.
    OpenError error;
    auto port = opener.open(pty.slavePath(), &error);
    ASSERT_TRUE(port) << error.message;
    port->configure({56000, 8, 2, Parity::None});
    auto s = quvan::test_support::Interpret(quvan::test_support::ReadFlags(port->waitHandle()));
    EXPECT_TRUE(s.customSpeed);
    EXPECT_EQ(s.outputSpeed, 56000u);
    EXPECT_TRUE(s.twoStopBits);
    EXPECT_TRUE(s.rawInput);
    port->configure({115200, 8, 1, Parity::None});
    s = quvan::test_support::Interpret(quvan::test_support::ReadFlags(port->waitHandle()));
    EXPECT_TRUE(s.speed115200);
    EXPECT_FALSE(s.twoStopBits);
}

TEST_F(PosixPort, ReadsWritesAndReportsWaitingBytes) {
    auto port = opener.open(pty.slavePath(), nullptr);
    ASSERT_TRUE(port);
    port->configure({115200, 8, 1, Parity::None});
    EXPECT_TRUE(port->write("Ver\r\n"));
    EXPECT_EQ(pty.read(5), "Ver\r\n");

    pty.write("ACK\r\n");
    LineStatus status;
    for (int i = 0; i < 100 && status.bytesWaiting < 5; ++i) {
        ::usleep(1000);
        status = port->status();
    }
    EXPECT_TRUE(status.queryOk);
    EXPECT_FALSE(status.lineError);
    ASSERT_EQ(status.bytesWaiting, 5u);
    std::string got;
    for (int i = 0; i < 5; ++i) {
        std::uint8_t byte = 0;
        ASSERT_TRUE(port->readByte(byte));
        got += static_cast<char>(byte);
        EXPECT_EQ(port->status().bytesWaiting, static_cast<std::uint32_t>(4 - i));
    }
    EXPECT_EQ(got, "ACK\r\n");
}

TEST_F(PosixPort, OnlyOneOpenerAtATime) {
    auto first = opener.open(pty.slavePath(), nullptr);
    ASSERT_TRUE(first);
    OpenError error;
    EXPECT_FALSE(opener.open(pty.slavePath(), &error));
    EXPECT_EQ(error.kind, OpenFailure::InUse);
    EXPECT_NE(error.message.find("in use"), std::string::npos) << error.message;
    first.reset();
    EXPECT_TRUE(opener.open(pty.slavePath(), nullptr));
}

TEST_F(PosixPort, RefusesWhatIsNotASerialDeviceAndSaysWhy) {
    OpenError error;
    EXPECT_FALSE(opener.open("/dev/null", &error));
    EXPECT_EQ(error.kind, OpenFailure::NotSerial);
    EXPECT_FALSE(opener.open("", &error));
    EXPECT_EQ(error.kind, OpenFailure::NoName);
    EXPECT_FALSE(opener.open("/dev/quvan-missing", &error));
    EXPECT_EQ(error.kind, OpenFailure::Missing);
    EXPECT_EQ(error.path, "/dev/quvan-missing");
    EXPECT_TRUE(error.deviceGroup.empty());
}

TEST_F(PosixPort, SeesAHangUpAfterTheLastBytes) {
    auto port = opener.open(pty.slavePath(), nullptr);
    ASSERT_TRUE(port);
    pty.hangUp();
    EXPECT_FALSE(port->status().queryOk);
    std::uint8_t byte = 0;
    EXPECT_FALSE(port->readByte(byte));
    EXPECT_FALSE(port->status().queryOk);
}

// The group a serial device is usually reached through on this machine.
gid_t SerialGroup() {
    for (const char* name : {"dialout", "uucp", "tty"}) {
        if (const group* entry = ::getgrnam(name))
            return entry->gr_gid;
    }
    return ::getegid();
}

std::string GroupName(gid_t id) {
    const group* entry = ::getgrgid(id);
    return entry != nullptr ? entry->gr_name : std::string();
}

// Opens `path` in a child process that may not: as root (for whom permission
// bits do not count) the child becomes "nobody" first; another user is kept
// out by the node's owner bits. Returns what the opener reported.
OpenError OpenWithoutPermission(const std::string& path) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        OpenError error;
        const bool opened = PosixSerialPortOpener().open(path, &error) != nullptr;
        const std::string report = std::to_string(opened) + " " +
                                   std::to_string(static_cast<int>(error.kind)) + " " +
                                   std::to_string(error.groupJoinPending) + " " + error.deviceGroup;
        [[maybe_unused]] ssize_t n = ::write(pipeFds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    std::istringstream in(report);
    int opened = 1, kind = 0, pending = 0;
    OpenError error;
    error.path = path;
    in >> opened >> kind >> pending;
    error.kind = opened ? OpenFailure::None : static_cast<OpenFailure>(kind);
    error.groupJoinPending = pending != 0;
    std::getline(in >> std::ws, error.deviceGroup);
    return error;
}

TEST_F(PosixPort, APortTheUserMayNotOpenIsRefusedForPermissionNamingItsGroup) {
    // As a serial device is set up: the owner and one group may read and
    // write (another user may only give it a group of their own).
    const bool root = ::geteuid() == 0;
    const gid_t serial = root ? SerialGroup() : ::getegid();
    ASSERT_EQ(::chown(pty.slavePath().c_str(), root ? 0 : ::geteuid(), serial), 0);
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), root ? 0660 : 0060), 0);
    OpenError error = OpenWithoutPermission(pty.slavePath());
    EXPECT_EQ(error.kind, OpenFailure::PermissionDenied);
    EXPECT_EQ(error.deviceGroup, serial == 0 ? std::string() : GroupName(serial));
    // Neither "nobody" nor this user (who holds the group) waits for a login.
    EXPECT_FALSE(error.groupJoinPending);

    // A node only its owner may use names no group to join.
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), root ? 0600 : 0000), 0);
    error = OpenWithoutPermission(pty.slavePath());
    EXPECT_EQ(error.kind, OpenFailure::PermissionDenied);
    EXPECT_EQ(error.deviceGroup, "");
}

TEST_F(PosixPort, ANameThatNowLeadsToAnotherDeviceCountsAsGone) {
    // A link such as /dev/serial/by-id/...: the adapter unplugged and plugged
    // in again is a new device behind the same name.
    const fs::path link =
        fs::temp_directory_path() / ("quvan-port-link-" + std::to_string(::getpid()));
    fs::remove(link);
    fs::create_symlink(pty.slavePath(), link);
    auto port = opener.open(link.string(), nullptr);
    ASSERT_TRUE(port);
    EXPECT_FALSE(port->deviceGone());
    EXPECT_TRUE(port->status().queryOk);
    quvan::test_support::PtyPair replugged;
    fs::remove(link);
    fs::create_symlink(replugged.slavePath(), link);
    EXPECT_TRUE(port->deviceGone());
    EXPECT_FALSE(port->status().queryOk);
    fs::remove(link);
    EXPECT_TRUE(port->deviceGone());
}

} // namespace
} // namespace quvan::platform
