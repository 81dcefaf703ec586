// Kaseikyo (Panasonic style): unit T = 432 µs, leader 8T/4T, each bit a
// T mark followed by T (0) or 3T (1) of space, 48 bits LSB first per byte.
// The 48 bits: a 16-bit vendor code, the XOR of its four nibbles, genre 1
// and genre 2 (4 bits each), 10 data bits, a 2-bit id, and the XOR of the
// three bytes before the last one.
#include "protocols/ir_encoder.h"
#include "protocols/pulse_distance.h"

namespace quvan::protocols::encoders {

Waveform kaseikyo_frame(const std::vector<std::uint8_t>& six_bytes) {
    constexpr std::int32_t kUnit = 432;
    constexpr PulseDistance kBits{kUnit, kUnit, 3 * kUnit};
    Waveform w;
    w.mark(8 * kUnit);
    w.space(4 * kUnit);
    for (std::uint8_t b : six_bytes)
        put_lsb_first(w, b, 8, kBits);
    w.mark(kUnit);
    return w;
}

std::array<std::uint8_t, 6> kaseikyo_bytes(std::uint16_t vendor, std::uint8_t genre1,
                                           std::uint8_t genre2, std::uint16_t data,
                                           std::uint8_t id) {
    std::array<std::uint8_t, 6> b{};
    b[0] = static_cast<std::uint8_t>(vendor & 0xFF);
    b[1] = static_cast<std::uint8_t>(vendor >> 8);
    const std::uint8_t vendorParity =
        static_cast<std::uint8_t>((b[0] ^ (b[0] >> 4) ^ b[1] ^ (b[1] >> 4)) & 0x0F);
    b[2] = static_cast<std::uint8_t>(vendorParity | (genre1 & 0x0F) << 4);
    b[3] = static_cast<std::uint8_t>((genre2 & 0x0F) | (data & 0x0F) << 4);
    b[4] = static_cast<std::uint8_t>(((data >> 4) & 0x3F) | (id & 0x03) << 6);
    b[5] = static_cast<std::uint8_t>(b[2] ^ b[3] ^ b[4]);
    return b;
}

} // namespace quvan::protocols::encoders
