// Encoders against timings worked out by hand from the protocol definitions.
#include "../protocols/pulse_bits.h"
#include "sim/capture_builder.h"
#include "sim/ir_encoder.h"

#include <gtest/gtest.h>

#include <string>

using namespace quvan::sim;

namespace {

using quvan::test_support::expect_bits;

EncodedSignal encode(IrFormat f, std::string_view hex, bool toggle = false) {
    auto r = encode_ir(f, *parse_hex_bytes(hex), toggle);
    EXPECT_TRUE(std::holds_alternative<EncodedSignal>(r));
    return std::get<EncodedSignal>(r);
}

// One frame only (hold shorter than a period), final gap 500 ms.
PulseList single_frame(IrFormat f, std::string_view hex, bool toggle = false) {
    return capture_pulses(held_waveform(encode(f, hex, toggle), 1), 500);
}

} // namespace

TEST(NecEncoder, AddressAndCommandWithInversesLsbFirst) {
    const PulseList p = single_frame(IrFormat::Nec, "2010");
    ASSERT_EQ(p.size(), 34u);
    EXPECT_EQ(p[0], (Pulse{9000, 13500}));
    // 20 DF 10 EF, each byte least significant bit first.
    expect_bits(p, 1,
                "00000100"
                "11111011"
                "00001000"
                "11110111",
                560, 1120, 2250);
    EXPECT_EQ(p[33], (Pulse{560, 560 + 500000}));
    // Giving all four bytes sends them as they are.
    EXPECT_EQ(single_frame(IrFormat::Nec, "20DF10EF"), p);
}

TEST(NecEncoder, HeldButtonSendsRepeatCodesEvery108ms) {
    // Frames start at 0, 108 and 216 ms: one frame and two repeat codes.
    const PulseList p = capture_pulses(held_waveform(encode(IrFormat::Nec, "2010"), 250), 500);
    ASSERT_EQ(p.size(), 38u);
    // The frame lasts 13500 + 16*2250 + 16*1120 + 560 = 67980 µs; the stop
    // mark's period reaches to 108000.
    EXPECT_EQ(p[33], (Pulse{560, 560 + 108000 - 67980}));
    EXPECT_EQ(p[34], (Pulse{9000, 11250}));
    EXPECT_EQ(p[35], (Pulse{560, 560 + 108000 - 11810}));
    EXPECT_EQ(p[36], (Pulse{9000, 11250}));
    EXPECT_EQ(p[37], (Pulse{560, 500560}));
}

TEST(NecEncoder, ExtendedAddressAndRepeatedFrames) {
    const PulseList x = single_frame(IrFormat::NecExt, "834112");
    expect_bits(x, 1,
                "11000001"
                "10000010"
                "01001000"
                "10110111",
                560, 1120, 2250);

    // nec-frames repeats the whole frame: 3 frames of 34 pulses.
    const PulseList f =
        capture_pulses(held_waveform(encode(IrFormat::NecFrames, "2010"), 250), 500);
    ASSERT_EQ(f.size(), 3u * 34u);
    EXPECT_EQ(f[34], (Pulse{9000, 13500}));
    EXPECT_EQ(f[68], (Pulse{9000, 13500}));
}

TEST(SonyEncoder, TwelveBitFramesEvery45ms) {
    // Command 0x15, address 1: bits 1010100 then 10000, marks 1200 for 1.
    const EncodedSignal s = encode(IrFormat::Sony12, "1501");
    EXPECT_EQ(s.carrier_tenths, 400);
    // 3000 leader + 4 ones * 1800 + 8 zeros * 1200, without the last space.
    EXPECT_EQ(s.first.total_us(), 3000 + 4 * 1800 + 8 * 1200 - 600);
    const PulseList p = capture_pulses(held_waveform(s, 100), 500);
    ASSERT_EQ(p.size(), 3u * 13u); // frames at 0, 45 and 90 ms
    EXPECT_EQ(p[0], (Pulse{2400, 3000}));
    const std::string bits = "101010010000";
    for (std::size_t i = 0; i < 11; ++i)
        EXPECT_EQ(p[1 + i], (Pulse{bits[i] == '1' ? 1200 : 600, bits[i] == '1' ? 1800 : 1200}));
    EXPECT_EQ(p[12], (Pulse{600, 600 + 45000 - 19200}));
    EXPECT_EQ(p[13], (Pulse{2400, 3000}));
}

TEST(SonyEncoder, FifteenAndTwentyBitLengthsAndFieldLimits) {
    EXPECT_EQ(single_frame(IrFormat::Sony15, "15FF").size(), 16u);
    EXPECT_EQ(single_frame(IrFormat::Sony20, "150101").size(), 21u);
    EXPECT_TRUE(std::holds_alternative<std::string>(
        encode_ir(IrFormat::Sony12, *parse_hex_bytes("8001")))); // 0x80 > 7 bits
    EXPECT_TRUE(std::holds_alternative<std::string>(
        encode_ir(IrFormat::Sony12, *parse_hex_bytes("0120")))); // 0x20 > 5 bits
    EXPECT_TRUE(std::holds_alternative<std::string>(
        encode_ir(IrFormat::Nec, *parse_hex_bytes("20")))); // too few bytes
}

TEST(KaseikyoEncoder, LeaderAndUnitOf432) {
    const PulseList p = single_frame(IrFormat::Kaseikyo, "022080003DBD");
    ASSERT_EQ(p.size(), 50u);
    EXPECT_EQ(p[0], (Pulse{3456, 5184}));
    expect_bits(p, 1,
                "01000000"
                "00000100",
                432, 864, 1728);
    EXPECT_EQ(format_info(IrFormat::Kaseikyo).carrier_tenths, 367);
}

TEST(SamsungEncoder, LeaderOf4500AndAddressTwice) {
    const PulseList p = single_frame(IrFormat::Samsung, "0702");
    ASSERT_EQ(p.size(), 34u);
    EXPECT_EQ(p[0], (Pulse{4500, 9000}));
    expect_bits(p, 1,
                "11100000"
                "11100000"
                "01000000"
                "10111111",
                560, 1120, 2250);
}

TEST(JvcEncoder, RepeatsWithoutLeader) {
    const PulseList p = capture_pulses(held_waveform(encode(IrFormat::Jvc, "0317"), 100), 500);
    // First frame: leader, 16 bits, stop; the repeat at 55 ms has no leader.
    ASSERT_EQ(p.size(), 18u + 17u);
    EXPECT_EQ(p[0], (Pulse{8400, 12600}));
    expect_bits(p, 1,
                "11000000"
                "11101000",
                526, 1052, 2104);
    expect_bits(p, 18,
                "11000000"
                "11101000",
                526, 1052, 2104);
}

TEST(SharpEncoder, FrameThenInvertedFrame) {
    const PulseList p = single_frame(IrFormat::Sharp, "0116");
    ASSERT_EQ(p.size(), 32u);
    // Address 1, command 0x16, expansion 1, check 0.
    expect_bits(p, 0,
                "10000"
                "01101000"
                "1"
                "0",
                320, 1000, 2000);
    EXPECT_EQ(p[15], (Pulse{320, 320 + 40000}));
    // Command inverted (0xE9), expansion 0, check 1.
    expect_bits(p, 16,
                "10000"
                "10010111"
                "0"
                "1",
                320, 1000, 2000);
}

TEST(Rc5Encoder, ManchesterHalvesMerge) {
    // Address 5, command 0x35, toggle 0: bits 1 1 0 00101 110101.
    const PulseList p = single_frame(IrFormat::Rc5, "0535");
    const std::int32_t t = 889;
    const PulseList expected = {{t, 2 * t},     {2 * t, 3 * t}, {t, 2 * t}, {t, 3 * t},
                                {2 * t, 4 * t}, {t, 2 * t},     {t, 2 * t}, {2 * t, 4 * t},
                                {2 * t, 4 * t}, {t, t + 500000}};
    EXPECT_EQ(p, expected);
    // With the toggle bit set the first three bits are all 1: short pulses only.
    const PulseList toggled = single_frame(IrFormat::Rc5, "0535", true);
    EXPECT_EQ(toggled[0], (Pulse{t, 2 * t}));
    EXPECT_EQ(toggled[1], (Pulse{t, 2 * t}));
    EXPECT_NE(toggled, p);
}

TEST(Rc6Encoder, LeaderModeZeroAndDoubleWidthTrailer) {
    const PulseList p = single_frame(IrFormat::Rc6, "0000");
    ASSERT_EQ(p.size(), 22u);
    EXPECT_EQ(p[0], (Pulse{2666, 3555}));
    EXPECT_EQ(p[1], (Pulse{444, 1332}));
    EXPECT_EQ(p[2], (Pulse{444, 888}));
    EXPECT_EQ(p[3], (Pulse{444, 888}));
    EXPECT_EQ(p[4], (Pulse{444, 1332}));
    EXPECT_EQ(p[5], (Pulse{888, 1332})); // trailer mark, twice the unit
    for (std::size_t i = 6; i < 21; ++i)
        EXPECT_EQ(p[i], (Pulse{444, 888}));
    EXPECT_EQ(format_info(IrFormat::Rc6).carrier_tenths, 360);
}
