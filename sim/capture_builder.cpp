#include "sim/capture_builder.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace quvan::sim {

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

void disturb(Waveform& wave, const Disturbance& d) {
    if (d.jitter_percent == 0 && d.mark_bias_us == 0)
        return;
    std::mt19937 rng(d.seed);
    std::uniform_int_distribution<int> per_mille(-10 * d.jitter_percent, 10 * d.jitter_percent);
    auto& dur = wave.durations();
    for (std::size_t i = 0; i < dur.size(); ++i) {
        std::int64_t v = dur[i];
        if (d.jitter_percent != 0)
            v += v * per_mille(rng) / 1000;
        const bool is_mark = i % 2 == 0;
        if (is_mark)
            v += d.mark_bias_us;
        else
            v -= d.mark_bias_us;
        dur[i] = static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 1, INT32_MAX));
    }
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

} // namespace quvan::sim
