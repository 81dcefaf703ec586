#pragma once
// Turns a held button into the pulses the board measures: frames follow at
// the format's period for as long as the button is held (the shared
// protocol library's held_waveform and capture_pulses), and the measurement
// may be disturbed like a real receiver's.

#include "protocols/held_signal.h"
#include "sim/ir_encoder.h"
#include "sim/pulse.h"

#include <cstdint>

namespace quvan::sim {

using protocols::capture_pulses;
using protocols::held_waveform;

struct Disturbance {
    int jitter_percent = 0;        // each duration changed by up to ± this many percent
    std::int32_t mark_bias_us = 0; // marks measured longer, the following space shorter
    std::uint32_t seed = 1;        // same seed, same disturbance
};

// Applies jitter and mark bias to every duration (in place). No duration
// drops below 1 µs.
void disturb(Waveform& wave, const Disturbance& d);

} // namespace quvan::sim
