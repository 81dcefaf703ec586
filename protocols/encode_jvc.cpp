// JVC: 8400/4200 leader on the first frame only; 16 bits (address, then
// command) LSB first, unit 526 µs with 3 units of space for a 1.
#include "protocols/ir_encoder.h"
#include "protocols/pulse_distance.h"

namespace quvan::protocols::encoders {

Waveform jvc_frame(std::uint8_t address, std::uint8_t command, bool with_leader) {
    constexpr PulseDistance kBits{526, 526, 1578};
    Waveform w;
    if (with_leader) {
        w.mark(8400);
        w.space(4200);
    }
    put_lsb_first(w, address, 8, kBits);
    put_lsb_first(w, command, 8, kBits);
    w.mark(kBits.mark);
    return w;
}

} // namespace quvan::protocols::encoders
