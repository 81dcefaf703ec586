// Sony SIRC: a 2400 µs leader, then 1200 µs marks for 1 and 600 µs marks for
// 0, each followed by a 600 µs space, least significant bit first.
#include "protocols/ir_encoder.h"

namespace quvan::protocols::encoders {

Waveform sony_frame(std::uint32_t bits, int bit_count) {
    Waveform w;
    w.mark(2400);
    w.space(600);
    for (int i = 0; i < bit_count; ++i) {
        w.mark(((bits >> i) & 1u) ? 1200 : 600);
        w.space(600);
    }
    w.trim_trailing_space();
    return w;
}

} // namespace quvan::protocols::encoders
