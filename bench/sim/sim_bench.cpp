// The simulator must never be the slow side of a test: a capture and the
// replies of a full table read-back should cost little next to the line.
#include "sim/board_model.h"
#include "sim/remote_press.h"
#include "sim/wave_lines.h"

#include <benchmark/benchmark.h>

using namespace quvan::sim;

static void BM_NecCaptureLines(benchmark::State& state) {
    PressRequest r;
    r.code = {0x20, 0x10};
    r.hold_ms = static_cast<std::int32_t>(state.range(0));
    r.disturbance = {.jitter_percent = 5, .mark_bias_us = 40, .seed = 3};
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto capture = std::get<Capture>(press_capture(r, false, 500));
        const auto text = capture_lines(capture.pulses, capture.carrier_tenths);
        lines += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(lines));
}
BENCHMARK(BM_NecCaptureLines)->Arg(600)->Arg(20000);

static void BM_RegisterAndReadBack250(benchmark::State& state) {
    std::vector<std::string> block = {"Twf:000", "Twc:380", "Twb:068", "Twr:000"};
    for (int i = 0; i < 16; ++i)
        block.push_back("Twp:" + std::string(1, "0123456789ABCDEF"[i]) + ":00560,001120");
    block.push_back("Twd:" + std::string(68, '1'));
    for (auto _ : state) {
        BoardModel board;
        std::size_t replies = 0;
        for (int n = 1; n <= 250; ++n) {
            for (const auto& c : block)
                board.handle_command(c, 0);
            char store[16];
            std::snprintf(store, sizeof store, "Tws:%03d", n);
            replies += board.handle_command(store, 0).size();
        }
        for (int n = 1; n <= 250; ++n) {
            char read[16];
            std::snprintf(read, sizeof read, "Twl:%03d", n);
            replies += board.handle_command(read, 0).size();
        }
        benchmark::DoNotOptimize(replies);
    }
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_RegisterAndReadBack250);
