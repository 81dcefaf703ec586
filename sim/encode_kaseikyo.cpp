// Kaseikyo (Panasonic style): unit T = 432 µs, leader 8T/4T, each bit a
// T mark followed by T (0) or 3T (1) of space, 48 bits LSB first per byte.
#include "sim/ir_encoder.h"
#include "sim/pulse_distance.h"

namespace quvan::sim::encoders {

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

} // namespace quvan::sim::encoders
