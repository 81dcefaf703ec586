#include "cli/decode_signal_files.h"

#include "cli/cli_io.h"
#include "cli/decode_pipeline.h"
#include "table/exchange/signal_formats.h"
#include "table/exchange/signal_learner.h"
#include "table/learning_table.h"

#include <algorithm>
#include <optional>

namespace quvan::cli {

namespace {

// One output line for each signal and refusal of a file, in file order.
struct Entry {
    int line = 0;
    std::string name;
    std::string cells;
};

} // namespace

int DecodeSignalFiles(const LearningOptions& options, const std::string& formatName,
                      const std::string& carrier, const std::vector<std::string>& files,
                      std::string& out, std::vector<std::string>& errors) {
    const std::optional<exchange::SignalFormat> format = exchange::ParseFormatName(formatName);
    if (!format || !exchange::CanRead(*format)) {
        errors.push_back("--from takes raw, pronto, flipper or pulse-space");
        return 2;
    }
    exchange::ReadOptions read;
    if (!carrier.empty()) {
        const std::optional<std::int32_t> hz = exchange::ParseCarrierHz(carrier);
        if (!hz || exchange::CarrierFault(*hz)) {
            errors.push_back("--carrier takes a frequency from 10000 to 99900 Hz");
            return 2;
        }
        read.carrierHz = *hz;
    }
    read.signalGapUs = exchange::SignalGapUs(options);
    // Each signal is learned into the first row of a table of its own.
    LearningTable scratch(options.ProEdition ? kProTableRows : kStdTableRows);
    exchange::SignalLearner learner(scratch, options);
    const bool named = *format == exchange::SignalFormat::Flipper;
    for (const std::string& path : files.empty() ? std::vector<std::string>{"-"} : files) {
        const std::optional<std::string> text = ReadWhole(path);
        if (!text) {
            errors.push_back("cannot read " + path);
            return 2;
        }
        const exchange::SignalFile file = exchange::ReadSignals(*format, *text, read);
        std::vector<Entry> entries;
        for (const exchange::SignalRefusal& r : file.refused) {
            entries.push_back({r.line, r.name, std::string(kErrorCells)});
            errors.push_back(path + ": " + exchange::DescribeRefusal(r));
        }
        for (const exchange::ImportedSignal& s : file.accepted) {
            Entry e{s.line, s.name, {}};
            if (const auto reason = learner.learn(s, 1)) {
                e.cells =
                    *reason == exchange::kTooManyPatternsReason ? kCannotLearnCells : kErrorCells;
                errors.push_back(path + ": " +
                                 exchange::DescribeRefusal({s.line, s.name, *reason}));
            } else {
                e.cells = scratch.cell(1, ColCarry) + "\t" + scratch.cell(1, ColFrames) + "\t" +
                          scratch.cell(1, ColResult);
            }
            scratch.clearRow(1);
            entries.push_back(std::move(e));
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.line < b.line; });
        for (const Entry& e : entries) {
            if (named)
                out += e.name + "\t";
            out += e.cells + "\n";
        }
    }
    return 0;
}

} // namespace quvan::cli
