// Learning a long capture in which no frame repeats, as a board sending a
// long signal or an imported raw recording gives it: once the capture is
// longer than the learning time the repeat analysis runs on every wave line,
// until the last pulse's gap closes the capture and the analysis line
// stores it. The time is that of the whole capture, from its first wave
// line to the stored row.
//
//   build/bin/learning_bench --benchmark_filter=NoRepeat

#include "capture/wave_line.h"
#include "protocols/pulse.h"
#include "tests/decode/support/capture_builder.h"

#include <benchmark/benchmark.h>

#include <bit>

namespace quvan::test {
namespace {

// `pairs` pulses of three shapes in the order of the ternary Thue-Morse
// word, which holds no square (no run of pulses is followed by the same
// run): the repeat analysis finds nothing on any line, the worst case for
// it. Remote-control frames make poor stand-ins: runs of equal bits in
// them close the capture early. The last pulse ends with the learning end
// time of 500 ms.
protocols::PulseList NoRepeatCapture(int pairs) {
    const std::int32_t shapes[3][2] = {{560, 1120}, {560, 2250}, {1120, 3900}};
    protocols::PulseList pulses;
    unsigned n = 0;
    while (static_cast<int>(pulses.size()) < pairs) {
        int ones = 0; // the 1s between two 0s of the Thue-Morse sequence
        for (++n; std::popcount(n) % 2 == 1; ++n)
            ++ones;
        pulses.push_back({shapes[ones][0], shapes[ones][1]});
    }
    pulses.back().width = pulses.back().high + 500000;
    return pulses;
}

void BM_LearnNoRepeat(benchmark::State& st) {
    const protocols::PulseList pulses = NoRepeatCapture(static_cast<int>(st.range(0)));
    LearningOptions options;
    options.LtimeText = "500"; // the window's default
    for (auto _ : st) {
        st.PauseTiming();
        auto session = std::make_unique<Session>(options);
        session->startLearning();
        st.ResumeTiming();
        for (std::size_t i = 0; i < pulses.size(); ++i)
            HandleWavePair(session->ctx,
                           {static_cast<std::int32_t>(i), pulses[i].high, pulses[i].width});
        session->feed({"Ave.Freq = 38.0kHz"});
        if (session->state->Result.DataBits != static_cast<std::int32_t>(pulses.size()) ||
            session->table.isBlank(1))
            st.SkipWithError("the capture was not learned whole");
        benchmark::DoNotOptimize(session->table.record(1).DataBits);
        st.PauseTiming();
        session.reset();
        st.ResumeTiming();
    }
    st.counters["pairs"] = static_cast<double>(st.range(0));
}

BENCHMARK(BM_LearnNoRepeat)->Arg(1000)->Arg(2000)->Arg(4096)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quvan::test
