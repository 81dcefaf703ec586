// Philips RC5 and RC6 (mode 0), both bi-phase. RC5: 889 µs halves, a 1 is
// space-then-mark, 14 bits MSB first. RC6: 444 µs halves, a 1 is
// mark-then-space, after a 2666/889 leader; its trailer (toggle) bit is
// twice as wide.
#include "protocols/ir_encoder.h"

namespace quvan::protocols::encoders {

namespace {
void rc5_bit(Waveform& w, bool one) {
    if (one) {
        w.space(889);
        w.mark(889);
    } else {
        w.mark(889);
        w.space(889);
    }
}

void rc6_bit(Waveform& w, bool one, std::int32_t half) {
    if (one) {
        w.mark(half);
        w.space(half);
    } else {
        w.space(half);
        w.mark(half);
    }
}
} // namespace

Waveform rc5_frame(bool field, bool toggle, std::uint8_t address, std::uint8_t command) {
    Waveform w;
    rc5_bit(w, true); // start bit; its leading space is invisible
    rc5_bit(w, field);
    rc5_bit(w, toggle);
    for (int i = 4; i >= 0; --i)
        rc5_bit(w, (address >> i) & 1);
    for (int i = 5; i >= 0; --i)
        rc5_bit(w, (command >> i) & 1);
    w.trim_trailing_space();
    return w;
}

Waveform rc6_frame(bool toggle, std::uint8_t address, std::uint8_t command) {
    constexpr std::int32_t kHalf = 444;
    Waveform w;
    w.mark(2666);
    w.space(889);
    rc6_bit(w, true, kHalf); // start bit
    for (int i = 0; i < 3; ++i)
        rc6_bit(w, false, kHalf); // mode 0
    rc6_bit(w, toggle, 2 * kHalf);
    for (int i = 7; i >= 0; --i)
        rc6_bit(w, (address >> i) & 1, kHalf);
    for (int i = 7; i >= 0; --i)
        rc6_bit(w, (command >> i) & 1, kHalf);
    w.trim_trailing_space();
    return w;
}

} // namespace quvan::protocols::encoders
