// NEC and Samsung: 560 µs marks, periods of 1120 µs for 0 and 2250 µs for 1,
// bytes least significant bit first, closed by a stop mark. NEC42 keeps the
// timing and widens the address to 13 bits, each field followed by its
// inverse.
#include "protocols/ir_encoder.h"
#include "protocols/pulse_distance.h"

namespace quvan::protocols::encoders {

namespace {
constexpr PulseDistance kNecBits{560, 560, 1690};

Waveform leader_and_bytes(std::int32_t leader_mark, std::int32_t leader_space,
                          const std::vector<std::uint8_t>& bytes) {
    Waveform w;
    w.mark(leader_mark);
    w.space(leader_space);
    for (std::uint8_t b : bytes)
        put_lsb_first(w, b, 8, kNecBits);
    w.mark(kNecBits.mark);
    return w;
}
} // namespace

Waveform nec_frame(const std::vector<std::uint8_t>& four_bytes) {
    return leader_and_bytes(9000, 4500, four_bytes);
}

Waveform nec_repeat_code() {
    Waveform w;
    w.mark(9000);
    w.space(2250);
    w.mark(560);
    return w;
}

Waveform nec42_frame(std::uint16_t address, std::uint8_t command) {
    constexpr std::uint32_t kAddressMask = 0x1FFF;
    const std::uint32_t a = address & kAddressMask;
    Waveform w;
    w.mark(9000);
    w.space(4500);
    put_lsb_first(w, a, 13, kNecBits);
    put_lsb_first(w, ~a & kAddressMask, 13, kNecBits);
    put_lsb_first(w, command, 8, kNecBits);
    put_lsb_first(w, static_cast<std::uint8_t>(~command), 8, kNecBits);
    w.mark(kNecBits.mark);
    return w;
}

Waveform samsung_frame(const std::vector<std::uint8_t>& four_bytes) {
    return leader_and_bytes(4500, 4500, four_bytes);
}

} // namespace quvan::protocols::encoders
