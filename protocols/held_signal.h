#pragma once
// A held button as the board's receiver sees it: the first frame, repeat
// frames at the format's period for as long as the button is held, and the
// long gap of the learning end time after the last mark.

#include "protocols/ir_encoder.h"
#include "protocols/pulse.h"

#include <cstdint>

namespace quvan::protocols {

// The waveform of the button held for hold_ms: the first frame, then repeat
// frames started every period while the hold time lasts. At least the
// first frame is always sent.
Waveform held_waveform(const EncodedSignal& signal, std::int32_t hold_ms);

// The capture as reported: at most kMaxCapturePulses pulses, the last one's
// width being its mark plus learn_end_ms.
PulseList capture_pulses(const Waveform& wave, std::int32_t learn_end_ms);

} // namespace quvan::protocols
