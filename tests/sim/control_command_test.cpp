// The control channel's command lines.
#include "sim/control_command.h"

#include <gtest/gtest.h>

using namespace quvan::sim;
using K = ControlCommand::Kind;

namespace {
ControlCommand ok(std::string_view line) {
    auto r = parse_control_line(line);
    EXPECT_TRUE(std::holds_alternative<ControlCommand>(r))
        << line << ": " << (std::holds_alternative<std::string>(r) ? std::get<std::string>(r) : "");
    return std::holds_alternative<ControlCommand>(r) ? std::get<ControlCommand>(r)
                                                     : ControlCommand{};
}
bool refused(std::string_view line) {
    return std::holds_alternative<std::string>(parse_control_line(line));
}
} // namespace

TEST(ControlCommand, PressWithOptions) {
    const auto c = ok("press sony12 1501 hold=300 jitter=5 bias=40 carrier=36.7 seed=9");
    EXPECT_EQ(c.kind, K::Press);
    EXPECT_EQ(c.press.format, IrFormat::Sony12);
    EXPECT_EQ(c.press.code, (std::vector<std::uint8_t>{0x15, 0x01}));
    EXPECT_EQ(c.press.hold_ms, 300);
    EXPECT_EQ(c.press.disturbance.jitter_percent, 5);
    EXPECT_EQ(c.press.disturbance.mark_bias_us, 40);
    EXPECT_EQ(c.press.carrier_tenths, 367);
    EXPECT_TRUE(c.press_has_seed);
    EXPECT_EQ(ok("press NEC-FRAMES 20df10ef").press.format, IrFormat::NecFrames);

    EXPECT_TRUE(refused("press tesla 20DF"));
    EXPECT_TRUE(refused("press nec 20D"));
    EXPECT_TRUE(refused("press nec 20DF hold=x"));
    EXPECT_TRUE(refused("press nec 20DF carrier=38.25"));
}

TEST(ControlCommand, RawSendAndTheRest) {
    const auto raw = ok("raw 9000/13500 560/1120 carrier=40");
    EXPECT_EQ(raw.kind, K::Raw);
    EXPECT_EQ(raw.raw.pulses, (PulseList{{9000, 13500}, {560, 1120}}));
    EXPECT_EQ(raw.raw.carrier_tenths, 400);
    EXPECT_TRUE(refused("raw 560/100")); // a period shorter than its mark

    EXPECT_EQ(ok("send Trans Mode").text, "Trans Mode");
    EXPECT_EQ(ok("sendhex 41 43 4B 0D0A").text, "ACK\r\n");
    EXPECT_EQ(ok("flood 1000").number, 1000);
    EXPECT_EQ(ok("sleep 250").kind, K::Sleep);
    EXPECT_EQ(ok("fault delay 300").fault, "delay");
    EXPECT_EQ(ok("fault garble 10").number, 10);
    EXPECT_TRUE(refused("fault garble 101"));
    EXPECT_TRUE(refused("fault sometimes"));
    EXPECT_EQ(ok("fault loader-silent").fault, "loader-silent");
    EXPECT_EQ(ok("fault loader-error 7").number, 7);
    EXPECT_EQ(ok("fault loader-hangup 250").fault, "loader-hangup");
    EXPECT_TRUE(refused("fault loader-error"));
    EXPECT_EQ(ok("dump /tmp/board memory.txt").text, "/tmp/board memory.txt");
    EXPECT_EQ(ok("dump x").kind, K::Dump);
    EXPECT_TRUE(refused("dump"));
    EXPECT_EQ(ok("hangup").kind, K::Hangup);
    EXPECT_EQ(ok("quit").kind, K::Quit);
    EXPECT_EQ(ok("  # a comment").kind, K::Empty);
    EXPECT_TRUE(refused("dance"));
}
