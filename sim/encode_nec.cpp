// NEC and Samsung: 560 µs marks, periods of 1120 µs for 0 and 2250 µs for 1,
// bytes least significant bit first, closed by a stop mark.
#include "sim/ir_encoder.h"
#include "sim/pulse_distance.h"

namespace quvan::sim::encoders {

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

Waveform samsung_frame(const std::vector<std::uint8_t>& four_bytes) {
    return leader_and_bytes(4500, 4500, four_bytes);
}

} // namespace quvan::sim::encoders
