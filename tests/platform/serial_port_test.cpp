#include "../link/pty_pair.h"
#include "platform/port_list.h"
#include "platform/serial_port.h"
#include "termios2_probe.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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
    std::string error;
    auto port = opener.open(pty.slavePath(), &error);
    ASSERT_TRUE(port) << error;
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
    std::string error;
    EXPECT_FALSE(opener.open(pty.slavePath(), &error));
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
    first.reset();
    EXPECT_TRUE(opener.open(pty.slavePath(), nullptr));
}

TEST_F(PosixPort, RefusesWhatIsNotASerialDevice) {
    std::string error;
    EXPECT_FALSE(opener.open("/dev/null", &error));
    EXPECT_FALSE(opener.open("", &error));
    EXPECT_FALSE(opener.open("/dev/quvan-missing", &error));
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

} // namespace
} // namespace quvan::platform
