// Saving and loading the largest table a user can have: 500 rows, each with
// 4096 pattern codes and a Japanese comment.

#include "table/table_file.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace quvan;

void fillFullProTable(LearningTable& table) {
    for (int row = 1; row <= kProTableRows; ++row) {
        table.setCell(row, ColCarry, "38.0kHz");
        table.setCell(row, ColFrames, "3");
        table.setCell(row, ColComments, "リビングのテレビ 電源 " + std::to_string(row));
        table.setCell(row, ColResult, "Tm:NEC-32A    d:20DF10EF");
        LearnedSignal& s = table.record(row);
        s.Carry = 380;
        s.DataBits = kMaxPatternCodes;
        s.RepeatBit = 68;
        for (int p = 0; p < kPatternSlots; ++p) {
            s.PatternHigh[p] = 560 + p;
            s.PatternWidth[p] = 1120 + 100 * p;
        }
        for (int k = 0; k < kMaxPatternCodes; ++k)
            s.PatternCode[k] = static_cast<std::uint8_t>((k * 7 + row) % 16);
    }
}

std::string scratchFile() {
    std::string folder = (std::filesystem::temp_directory_path() / "table-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    return folder + "/full-pro.Csv";
}

struct Fixture {
    LearningTable table{kProTableRows};
    std::string path = scratchFile();
    Fixture() {
        fillFullProTable(table);
        if (!SaveTable(path, table, {}).ok)
            throw std::runtime_error("cannot save " + path);
    }
    ~Fixture() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// Includes the flush to disk and the rename that make the save safe.
void BM_SaveFullProTable(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        TableSaveResult result = SaveTable(f.path, f.table, {});
        if (!result.ok)
            state.SkipWithError(result.error.c_str());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(f.path)));
}

void BM_FormatFullProTable(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatTableFile(f.table, {}));
}

void BM_LoadFullProTable(benchmark::State& state) {
    Fixture& f = fixture();
    LearningTable loaded(kProTableRows);
    for (auto _ : state) {
        TableLoadResult result = LoadTable(f.path, loaded);
        if (result.status != TableLoadStatus::Loaded || result.rowsRead != kProTableRows)
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(f.path)));
}

BENCHMARK(BM_SaveFullProTable)->Unit(benchmark::kMillisecond)->Repetitions(15);
BENCHMARK(BM_FormatFullProTable)->Unit(benchmark::kMillisecond)->Repetitions(15);
BENCHMARK(BM_LoadFullProTable)->Unit(benchmark::kMillisecond)->Repetitions(15);

} // namespace
