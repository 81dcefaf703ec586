#include "table/exchange/board_capture.h"

#include "capture/wave_line.h"
#include "protocols/held_signal.h"

#include <algorithm>
#include <numeric>

namespace quvan::exchange {

namespace {

using protocols::EncodedSignal;
using protocols::Waveform;

Waveform ToWave(const Durations& d, std::size_t from = 0) {
    Waveform w;
    for (std::size_t i = from; i < d.size(); ++i) {
        if (i % 2 == 0)
            w.mark(d[i]);
        else
            w.space(d[i]);
    }
    return w;
}

std::int64_t Total(const Durations& d) {
    return std::accumulate(d.begin(), d.end(), std::int64_t{0});
}

// The silence after a recording that ends with a mark: its own longest frame
// gap when it has one, else what keeps the usual frame period.
std::int32_t AssumedGap(const Durations& d) {
    std::int32_t longest = 0;
    for (std::size_t i = 1; i < d.size(); i += 2)
        longest = std::max(longest, d[i]);
    if (longest >= kFrameGapUs)
        return longest;
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(kDefaultFramePeriodUs - Total(d), kFrameGapUs));
}

// Appends the gap to a sequence that ends with a mark, so that every frame
// carries its own silence.
Durations Closed(Durations d, std::int32_t gap) {
    if (d.size() % 2 == 1)
        d.push_back(gap);
    return d;
}

// The number of pairs of the repeating frame at the end of a recording, 0
// when there is none.
std::size_t RepeatingTail(const Durations& d, const HoldRules& rules, WaveLane& lane) {
    const std::size_t pairs = (d.size() + 1) / 2;
    const bool lastHasSpace = d.size() % 2 == 0;
    const std::size_t sorted = lastHasSpace ? pairs : pairs - 1;
    lane.PatternCount = 0;
    lane.CenterHigh.fill(0);
    lane.CenterWidth.fill(0);
    PatternBounds bounds{};
    std::vector<std::int32_t> pattern(pairs, -1);
    for (std::size_t k = 0; k < sorted; ++k) {
        const std::int32_t mark = d[2 * k];
        pattern[k] =
            ClassifyPair(lane, bounds, rules.hRange, rules.wRange, mark, mark + d[2 * k + 1]);
    }
    for (std::size_t t = 1; 2 * t <= pairs; ++t) {
        const std::size_t endOfFirst = pairs - 1 - t;
        if (d[2 * endOfFirst + 1] < kFrameGapUs)
            continue;
        bool same = true;
        // Without its space the last pair cannot be compared.
        for (std::size_t k = lastHasSpace ? 0 : 1; k < t && same; ++k)
            same = pattern[pairs - 1 - k] == pattern[pairs - 1 - t - k];
        if (same)
            return t;
    }
    return 0;
}

} // namespace

EncodedSignal HeldSignal(const ImportedSignal& signal, const HoldRules& rules, WaveLane& scratch) {
    if (signal.encoded)
        return *signal.encoded;
    EncodedSignal held;
    held.carrier_tenths = CarrierTenths(signal.carrierHz);
    // Every frame ends with its silence, so the frames follow each other
    // without further gaps.
    held.period_us = 0;
    held.min_gap_us = 0;
    if (signal.repeatGiven) {
        const Durations& first = signal.once.empty() ? signal.repeat : signal.once;
        const Durations& again = signal.repeat.empty() ? signal.once : signal.repeat;
        held.first = ToWave(Closed(first, AssumedGap(first)));
        held.repeat = ToWave(Closed(again, AssumedGap(again)));
        return held;
    }
    const Durations& d = signal.once;
    const std::size_t tail = RepeatingTail(d, rules, scratch);
    const std::size_t pairs = (d.size() + 1) / 2;
    const std::int32_t gap = tail > 0 ? d[2 * (pairs - 1 - tail) + 1] : AssumedGap(d);
    const Durations whole = Closed(d, gap);
    held.first = ToWave(whole);
    held.repeat = tail > 0 ? ToWave(whole, 2 * (pairs - tail)) : held.first;
    return held;
}

protocols::PulseList BoardCapture(const ImportedSignal& signal, const HoldRules& rules,
                                  WaveLane& scratch) {
    const std::int32_t learnEndMs = std::clamp(rules.learnEndMs, 0, 9999);
    const EncodedSignal held = HeldSignal(signal, rules, scratch);
    const std::int64_t frames =
        held.first.total_us() +
        kRepeatsWhileHeld * std::max<std::int64_t>(held.repeat.total_us(), held.period_us);
    const std::int64_t holdMs =
        std::max<std::int64_t>(learnEndMs + kHoldBeyondLearningMs, frames / 1000 + 1);
    Waveform wave = protocols::held_waveform(
        held, static_cast<std::int32_t>(std::min<std::int64_t>(holdMs, INT32_MAX / 1000)));
    // The board cannot see the silence after the last mark: it waits for the
    // learning end time instead.
    wave.trim_trailing_space();
    return protocols::capture_pulses(wave, learnEndMs);
}

} // namespace quvan::exchange
