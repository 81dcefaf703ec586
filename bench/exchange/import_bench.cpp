// Importing a 1,000-signal Flipper file: read, turned into board captures,
// learned and decoded into Pro tables (500 rows each, so two of them). The
// signals are those of the shared sample files, in turn, with numbered
// names: a real mix of parsed codes and raw recordings.

#include "table/exchange/flipper_ir.h"
#include "table/exchange/signal_import.h"
#include "table/learning_table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

using namespace quvan;
using namespace quvan::exchange;

constexpr int kSignals = 1000;

// The sample files' signal blocks ("name: ..." to the next one), renamed
// "<n> <name>", until there are kSignals of them.
std::string ThousandSignalFile() {
    std::vector<std::string> blocks;
    std::vector<std::filesystem::path> files;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(QUVAN_TEST_DATA) + "/ir-remotes")) {
        if (e.path().extension() == ".ir")
            files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path);
        std::string line, block;
        while (std::getline(in, line)) {
            if (line.rfind("name:", 0) == 0) {
                if (!block.empty())
                    blocks.push_back(block);
                block = line.substr(5) + "\n";
            } else if (!block.empty() && line.rfind("#", 0) != 0) {
                block += line + "\n";
            }
        }
        if (!block.empty())
            blocks.push_back(block);
    }
    if (blocks.empty())
        throw std::runtime_error("no sample signals found");
    std::string text = "Filetype: IR signals file\nVersion: 1\n";
    for (int i = 0; i < kSignals; ++i)
        text += "#\nname: " + std::to_string(i + 1) +
                blocks[static_cast<std::size_t>(i) % blocks.size()];
    return text;
}

void BM_ImportThousandFlipperSignals(benchmark::State& state) {
    const std::string text = ThousandSignalFile();
    LearningOptions options;
    options.ProEdition = true;
    options.WaveLanes = 4;
    std::size_t added = 0;
    std::size_t refused = 0;
    for (auto _ : state) {
        SignalFile file = ReadFlipperIr(text);
        // A Pro table holds 500 rows: the first 500 signals go into one
        // table, the others into a second.
        SignalFile second;
        second.accepted.assign(file.accepted.begin() +
                                   std::min<std::size_t>(500, file.accepted.size()),
                               file.accepted.end());
        file.accepted.resize(std::min<std::size_t>(500, file.accepted.size()));
        LearningTable first(kProTableRows);
        LearningTable next(kProTableRows);
        const ImportReport a = ImportSignals(first, file, options, 1);
        const ImportReport b = ImportSignals(next, second, options, 1);
        added = a.added.size() + b.added.size();
        refused = a.refused.size() + b.refused.size();
        benchmark::DoNotOptimize(first.cell(500, ColResult));
    }
    state.counters["signals_added"] = static_cast<double>(added);
    state.counters["refused"] = static_cast<double>(refused);
    state.counters["per_signal_us"] = benchmark::Counter(
        static_cast<double>(kSignals),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ImportThousandFlipperSignals)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
