// Loads arbitrary bytes as a table file, then checks what every load must
// leave behind: records that cannot be read past, and a table that saves
// and loads back to the same file.

#include "table/table_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace quvan;

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A short table keeps each run fast; the rows past its end exercise the
    // same stop as the editions' 250 and 500.
    constexpr int kRows = 24;
    static LearningTable table(kRows);
    static LearningTable again(kRows);
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    TableLoadOptions options;
    options.confirmNotTableFile = [] { return true; }; // reach the rows of any file
    options.monitorDump = true;
    TableLoadResult loaded = ParseTableFile(bytes, table, options);
    check(loaded.ok());
    check(loaded.rowsRead <= table.rowCount());
    for (int row = 1; row <= table.rowCount(); ++row) {
        const LearnedSignal& s = table.record(row);
        check(s.DataBits >= 0 && s.DataBits <= kMaxPatternCodes);
        check(s.RepeatBit >= 0 && s.RepeatBit <= s.DataBits);
    }

    // Times wider than their digit groups are the one documented loss.
    std::vector<std::string> warnings;
    std::string saved = FormatTableFile(table, {}, &warnings);
    if (!warnings.empty())
        return 0;
    TableLoadResult reloaded = ParseTableFile(saved, again);
    check(reloaded.status == TableLoadStatus::Loaded);
    check(reloaded.warnings.empty());
    check(FormatTableFile(again, {}) == saved);
    return 0;
}
