// Time to analyse one capture from its board lines (classification, repeat
// analysis, recognition, assembly), and the throughput of quvan-decode's
// pipeline on a long log.

#include "cli/decode_pipeline.h"
#include "decode/capture_diagnosis.h"
#include "tests/decode/support/capture_builder.h"

#include <benchmark/benchmark.h>

namespace quvan::test {
namespace {

std::vector<std::string> NecCapture(int pairs) {
    const Signal frame = NecFrame({0x20, 0xDF, 0x10, 0xEF});
    Signal s = Repeat(frame, pairs / 34 + 1);
    s.resize(static_cast<std::size_t>(pairs));
    return BoardLines(Jittered(s, 5, 40, 1), "38.0");
}

void DecodeOneCapture(benchmark::State& st, int pairs, const char* learnTimeMs) {
    LearningOptions o;
    o.LtimeText = learnTimeMs;
    DecodePipeline pipeline(o);
    const std::vector<std::string> lines = NecCapture(pairs);
    std::string out;
    for (auto _ : st) {
        for (const std::string& line : lines)
            pipeline.handleLine(line, out);
        benchmark::DoNotOptimize(out);
    }
    st.counters["pairs"] = pairs;
}

// 200 pairs: the capture closes itself after five frames, as on the board.
void BM_DecodeNec200(benchmark::State& st) {
    DecodeOneCapture(st, 200, "500");
}
// 4096 pairs kept whole: a learning time longer than the capture (7 min).
void BM_DecodeNec4096(benchmark::State& st) {
    DecodeOneCapture(st, 4096, "420000");
}

// The worst case of the repeat analysis: 4096 pairs in which nothing repeats
// (a counter in binary, one pattern per bit value and position parity).
void BM_DecodeNoRepeat4096(benchmark::State& st) {
    Signal s;
    for (int i = 0; s.size() < 4096; ++i)
        for (int b = 0; b < 12 && s.size() < 4096; ++b)
            s.push_back({560, ((i >> b) & 1) ? 1690 : 565});
    LearningOptions o;
    o.LtimeText = "420000";
    DecodePipeline pipeline(o);
    const std::vector<std::string> lines = BoardLines(s, "38.0");
    std::string out;
    for (auto _ : st) {
        for (const std::string& line : lines)
            pipeline.handleLine(line, out);
        benchmark::DoNotOptimize(out);
    }
}

// The diagnosis of that capture, which the tool cannot recognise: the
// tolerance search learns it again up to 120 times.
void BM_ExplainNoRepeat4096(benchmark::State& st) {
    Signal s;
    for (int i = 0; s.size() < 4096; ++i)
        for (int b = 0; b < 12 && s.size() < 4096; ++b)
            s.push_back({560, ((i >> b) & 1) ? 1690 : 565});
    LearningOptions o;
    o.LtimeText = "420000";
    Session session(o);
    session.feed(BoardLines(s, "38.0"));
    for (auto _ : st) {
        const CaptureDiagnosis d =
            DiagnoseCapture(session.state->Lanes[0], session.decoder.record(0), {});
        benchmark::DoNotOptimize(d.Lines);
    }
}

// The diagnosis of an ordinary NEC capture whose leader misses its window.
void BM_ExplainNearMiss(benchmark::State& st) {
    Session session;
    session.feed(BoardLines(Repeat(PulseDistance(8050, 4500, 560, 565, 1690,
                                                 BitsLsbFirst({0x20, 0xDF, 0x10, 0xEF}), 108000),
                                   3),
                            "38.0"));
    for (auto _ : st) {
        const CaptureDiagnosis d =
            DiagnoseCapture(session.state->Lanes[0], session.decoder.record(0), {});
        benchmark::DoNotOptimize(d.Lines);
    }
}

void BM_PipelineThroughput(benchmark::State& st) {
    std::string log;
    const Signal nec = Repeat(NecFrame({0x20, 0xDF, 0x10, 0xEF}), 3);
    const Signal sony = Repeat(SonyFrame(0x95, 12), 5);
    for (int i = 0; i < 10000; ++i) {
        for (const std::string& line : BoardLines(Jittered(i % 2 ? sony : nec, 5, 40, i), "38.0"))
            log += line + "\r\n";
    }
    for (auto _ : st) {
        DecodePipeline pipeline(LearningOptions{});
        std::string out;
        std::size_t pos = 0;
        while (pos < log.size()) {
            std::size_t nl = log.find('\n', pos);
            std::string_view line(log.data() + pos, nl - pos - 1);
            if (pipeline.handleLine(line, out))
                benchmark::DoNotOptimize(out);
            pos = nl + 1;
        }
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) *
                         static_cast<std::int64_t>(log.size()));
}

BENCHMARK(BM_DecodeNec200)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeNec4096)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeNoRepeat4096)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExplainNoRepeat4096)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExplainNearMiss)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PipelineThroughput)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace quvan::test
