#pragma once
// What the board would capture of an imported signal: the button held past
// the learning time and long enough for the repeating frame to come several
// times, so that learning sees the signal repeat as it does with a remote
// pointed at the board; frames as the file describes them, and the learning
// end time after the last mark.

#include "capture/wave_lane.h"
#include "protocols/pulse.h"
#include "table/exchange/signal_file.h"

#include <cstdint>

namespace quvan::exchange {

// A silence at least this long separates frames.
inline constexpr std::int32_t kFrameGapUs = 10000;
// Frames of a recording that shows no gap of its own start this often, the
// period most remote formats keep.
inline constexpr std::int32_t kDefaultFramePeriodUs = 108000;
// How much longer than the learning time the button is held at least.
inline constexpr std::int32_t kHoldBeyondLearningMs = 300;
// A held button sends the first frame and then the repeating one at least
// this many times, enough for learning to see the repeat however long the
// frames are.
inline constexpr int kRepeatsWhileHeld = 4;

struct HoldRules {
    std::int32_t hRange = 20; // the learning tolerances, percent
    std::int32_t wRange = 15;
    std::int32_t learnEndMs = 500; // learning end time: the gap after the last mark
};

// The signal's first frame and the frame a held button repeats. A recording
// that does not say which part repeats repeats the frame it ends with when
// that frame appears twice at its end, separated by a frame gap (the pulse
// shapes compared with the learning tolerances), and otherwise the whole
// recording. `scratch` is working storage for sorting the pulses.
protocols::EncodedSignal HeldSignal(const ImportedSignal& signal, const HoldRules& rules,
                                    WaveLane& scratch);

// The pulse pairs the board reports: at most 4096, the last one's period
// being its mark plus the learning end time.
protocols::PulseList BoardCapture(const ImportedSignal& signal, const HoldRules& rules,
                                  WaveLane& scratch);

} // namespace quvan::exchange
