#pragma once
// Turns a held button into the pulses the board measures: frames follow at
// the format's period for as long as the button is held, the measurement
// may be disturbed like a real receiver's, and the capture ends with the
// long gap of the learning end time.

#include "sim/ir_encoder.h"
#include "sim/pulse.h"

#include <cstdint>

namespace quvan::sim {

struct Disturbance {
    int jitter_percent = 0;        // each duration changed by up to ± this many percent
    std::int32_t mark_bias_us = 0; // marks measured longer, the following space shorter
    std::uint32_t seed = 1;        // same seed, same disturbance
};

// The waveform of the button held for hold_ms: the first frame, then repeat
// frames started every period while the hold time lasts. At least the
// first frame is always sent.
Waveform held_waveform(const EncodedSignal& signal, std::int32_t hold_ms);

// Applies jitter and mark bias to every duration (in place). No duration
// drops below 1 µs.
void disturb(Waveform& wave, const Disturbance& d);

// The capture as reported: at most kMaxCapturePulses pulses, the last one's
// width being its mark plus learn_end_ms.
PulseList capture_pulses(const Waveform& wave, std::int32_t learn_end_ms);

} // namespace quvan::sim
