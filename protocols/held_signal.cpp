#include "protocols/held_signal.h"

#include <algorithm>
#include <cstdint>

namespace quvan::protocols {

Waveform held_waveform(const EncodedSignal& signal, std::int32_t hold_ms) {
    const std::int64_t hold_us = std::int64_t{hold_ms} * 1000;
    Waveform wave = signal.first;
    std::int64_t frame_start = 0;
    std::int64_t frame_length = signal.first.total_us();
    while (true) {
        const std::int64_t gap =
            std::max<std::int64_t>(signal.period_us - frame_length, signal.min_gap_us);
        const std::int64_t next_start = frame_start + frame_length + gap;
        if (next_start >= hold_us || signal.repeat.empty())
            break;
        // Nobody holds a button long enough to overflow the capture; stop
        // once the board could not keep more pulses anyway.
        if (wave.durations().size() / 2 > kMaxCapturePulses)
            break;
        wave.space(static_cast<std::int32_t>(gap));
        wave.append(signal.repeat);
        frame_start = next_start;
        frame_length = signal.repeat.total_us();
    }
    return wave;
}

PulseList capture_pulses(const Waveform& wave, std::int32_t learn_end_ms) {
    const std::int64_t gap = std::int64_t{std::max(learn_end_ms, 0)} * 1000;
    const std::int32_t final_gap =
        static_cast<std::int32_t>(std::min<std::int64_t>(gap, INT32_MAX / 2));
    PulseList pulses = wave.to_pulses(final_gap);
    if (pulses.size() > kMaxCapturePulses) {
        pulses.resize(kMaxCapturePulses);
        pulses.back().width = pulses.back().high + final_gap;
    }
    return pulses;
}

} // namespace quvan::protocols
