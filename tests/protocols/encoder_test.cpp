// The encoders added beside the simulator's own, against timings worked out
// by hand from the protocol definitions (bits least significant first
// unless the protocol says otherwise).
#include "protocols/held_signal.h"
#include "protocols/ir_encoder.h"
#include "pulse_bits.h"

#include <gtest/gtest.h>

#include <string>

using namespace quvan::protocols;

namespace {

using quvan::test_support::expect_bits;

EncodedSignal encode(IrFormat f, std::vector<std::uint8_t> code) {
    auto r = encode_ir(f, code);
    EXPECT_TRUE(std::holds_alternative<EncodedSignal>(r));
    return std::get<EncodedSignal>(r);
}

// One frame (held for 1 ms), closed by a 500 ms learning end time.
PulseList single_frame(IrFormat f, std::vector<std::uint8_t> code) {
    return capture_pulses(held_waveform(encode(f, std::move(code)), 1), 500);
}

} // namespace

TEST(Nec42Encoder, ThirteenBitAddressAndInversesThenRepeatCodes) {
    // Address 0x0123 and command 0x45 as sent: address, its 13-bit inverse
    // 0x1EDC, the command and its inverse 0xBA.
    const PulseList p = single_frame(IrFormat::Nec42, {0x23, 0x01, 0x45});
    ASSERT_EQ(p.size(), 44u);
    EXPECT_EQ(p[0], (Pulse{9000, 13500}));
    expect_bits(p, 1,
                "1100010010000"
                "0011101101111"
                "10100010"
                "01011101",
                560, 1120, 2250);
    EXPECT_EQ(p[43], (Pulse{560, 560 + 500000}));

    // Held for 250 ms: repeat codes at 108 and 216 ms. The frame has 21 ones
    // and 21 zeros: 13500 + 21 * 2250 + 21 * 1120 + 560 = 84830 µs.
    const PulseList held =
        capture_pulses(held_waveform(encode(IrFormat::Nec42, {0x23, 0x01, 0x45}), 250), 500);
    ASSERT_EQ(held.size(), 48u);
    EXPECT_EQ(held[43], (Pulse{560, 560 + 108000 - 84830}));
    EXPECT_EQ(held[44], (Pulse{9000, 11250}));

    // 0x2000 needs 14 bits.
    EXPECT_TRUE(
        std::holds_alternative<std::string>(encode_ir(IrFormat::Nec42, {0x00, 0x20, 0x01})));
}

TEST(PioneerEncoder, NecFrameOn40kHzRepeatedAfter25ms) {
    const EncodedSignal s = encode(IrFormat::Pioneer, {0xAA, 0x1A});
    EXPECT_EQ(s.carrier_tenths, 400);
    const PulseList p = capture_pulses(held_waveform(s, 100), 500);
    // The frame lasts 67.5 ms, so a second one starts within 100 ms.
    ASSERT_EQ(p.size(), 68u);
    EXPECT_EQ(p[0], (Pulse{9000, 13500}));
    expect_bits(p, 1,
                "01010101"  // AA
                "10101010"  // 55
                "01011000"  // 1A
                "10100111", // E5
                560, 1120, 2250);
    EXPECT_EQ(p[33], (Pulse{560, 560 + 25000}));
    EXPECT_EQ(p[34], (Pulse{9000, 13500}));
    // Three bytes are neither the short nor the full form.
    EXPECT_TRUE(std::holds_alternative<std::string>(encode_ir(IrFormat::Pioneer, {1, 2, 3})));
}

TEST(KaseikyoBytes, VendorParityGenresDataIdAndCheck) {
    using encoders::kaseikyo_bytes;
    // Panasonic (vendor 0x2002, parity 0), genre 8/0, data 0x3D0: the TV
    // power code 02 20 80 00 3D BD.
    EXPECT_EQ(kaseikyo_bytes(0x2002, 8, 0, 0x3D0, 0),
              (std::array<std::uint8_t, 6>{0x02, 0x20, 0x80, 0x00, 0x3D, 0xBD}));
    // Vendor 0x0103: nibbles 3, 0, 1, 0 give parity 2. Genres A/B, data
    // 0x3FF, id 3: 0xA2, 0xFB, 0xFF and the check A2 ^ FB ^ FF = A6.
    EXPECT_EQ(kaseikyo_bytes(0x0103, 0xA, 0xB, 0x3FF, 3),
              (std::array<std::uint8_t, 6>{0x03, 0x01, 0xA2, 0xFB, 0xFF, 0xA6}));
}

TEST(Rc5Encoder, ExtendedCommandClearsTheFieldBit) {
    // Command 0x45 = 64 + 5: start 1, field 0, toggle 0, address 00000,
    // command 000101. The field bit's mark joins the start bit's mark.
    const std::int32_t t = 889;
    PulseList expected = {{2 * t, 3 * t}};
    for (int i = 0; i < 8; ++i)
        expected.push_back({t, 2 * t});
    expected.insert(expected.end(), {{t, 3 * t}, {2 * t, 4 * t}, {t, t + 500000}});
    EXPECT_EQ(single_frame(IrFormat::Rc5, {0x00, 0x45}), expected);
}

TEST(SonyEncoder, TwentyBitFrameCarriesCommandDeviceAndExtension) {
    // Command 0x15, device 0x1A, extension 0x5C.
    const PulseList p = single_frame(IrFormat::Sony20, {0x15, 0x1A, 0x5C});
    ASSERT_EQ(p.size(), 21u);
    EXPECT_EQ(p[0], (Pulse{2400, 3000}));
    const std::string bits = "1010100"
                             "01011"
                             "00111010";
    for (std::size_t i = 0; i + 1 < bits.size(); ++i) {
        SCOPED_TRACE("bit " + std::to_string(i));
        const std::int32_t mark = bits[i] == '1' ? 1200 : 600;
        EXPECT_EQ(p[1 + i], (Pulse{mark, mark + 600}));
    }
    EXPECT_EQ(p[20], (Pulse{600, 600 + 500000}));
}
