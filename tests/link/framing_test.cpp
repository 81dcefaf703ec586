#include "link/framing.h"

#include <gtest/gtest.h>

namespace quvan::link {
namespace {

TEST(Framing, NamesMapToListPositionsExactly) {
    EXPECT_EQ(HeadIndex("STX"), 1);
    EXPECT_EQ(HeadIndex("無し"), 0);
    EXPECT_EQ(HeadIndex("stx"), 0);
    EXPECT_EQ(DlmtIndex("ETX"), 1);
    EXPECT_EQ(DlmtIndex("CR"), 2);
    EXPECT_EQ(DlmtIndex("LF"), 3);
    EXPECT_EQ(DlmtIndex("CRLF"), 4);
    EXPECT_EQ(DlmtIndex("crlf"), 0);
    EXPECT_EQ(DlmtIndex(""), 0);
}

TEST(Framing, CommandBytesForEachHeadAndDelimiter) {
    EXPECT_EQ(FrameCommand("Ver", "無し", "CRLF"), std::string("\x56\x65\x72\x0D\x0A"));
    EXPECT_EQ(FrameCommand("T", "STX", "ETX"), std::string("\x02\x54\x03"));
    EXPECT_EQ(FrameCommand("T", "STX", "CR"), std::string("\x02T\r"));
    EXPECT_EQ(FrameCommand("T", "", "LF"), std::string("T\n"));
    EXPECT_EQ(FrameCommand("Ver", "無し", "無し"), "Ver");
    // The probe of a possibly removed port: head and delimiter only.
    EXPECT_EQ(FrameCommand("", "STX", "CRLF"), std::string("\x02\r\n"));
    // Text goes out untouched, control bytes included.
    EXPECT_EQ(FrameCommand(std::string("a\0b", 3), "", ""), std::string("a\0b", 3));
}

TEST(Framing, LineSettingsFollowTheRecord) {
    PortSettings port;
    platform::LineSettings line = LineSettingsOf(port);
    EXPECT_EQ(line.baudRate, 115200);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_EQ(line.stopBits, 1);
    EXPECT_EQ(line.parity, platform::Parity::None);

    for (int bits : {5, 6, 7, 9}) {
        port.ByteSize = bits;
        EXPECT_EQ(LineSettingsOf(port).dataBits, 7) << bits;
    }
    for (int stop : {0, 2, 3}) {
        port.StopBits = stop;
        EXPECT_EQ(LineSettingsOf(port).stopBits, 2) << stop;
    }
    port.Parity = "ODD";
    EXPECT_EQ(LineSettingsOf(port).parity, platform::Parity::Odd);
    port.Parity = "EVEN";
    EXPECT_EQ(LineSettingsOf(port).parity, platform::Parity::Even);
    port.Parity = "odd";
    EXPECT_EQ(LineSettingsOf(port).parity, platform::Parity::None);

    port.BaudRate = 56000;
    EXPECT_EQ(LineSettingsOf(port).baudRate, 56000);
    port.BaudRate = 76800;
    EXPECT_EQ(LineSettingsOf(port).baudRate, 76800);
    for (int rate : {14400, 0, -1, 230400}) {
        port.BaudRate = rate;
        EXPECT_EQ(LineSettingsOf(port).baudRate, 57600) << rate;
    }
}

} // namespace
} // namespace quvan::link
