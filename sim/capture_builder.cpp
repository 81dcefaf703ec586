#include "sim/capture_builder.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace quvan::sim {

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

} // namespace quvan::sim
