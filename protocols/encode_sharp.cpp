// Sharp: 15 bits LSB first (5 address, 8 command, expansion, check), 320 µs
// marks with periods of 1 ms for 0 and 2 ms for 1, closed by a stop mark.
#include "protocols/ir_encoder.h"
#include "protocols/pulse_distance.h"

namespace quvan::protocols::encoders {

Waveform sharp_frame(std::uint16_t fifteen_bits) {
    constexpr PulseDistance kBits{320, 680, 1680};
    Waveform w;
    put_lsb_first(w, fifteen_bits, 15, kBits);
    w.mark(kBits.mark);
    return w;
}

} // namespace quvan::protocols::encoders
