#include "table/exchange/signal_import.h"

#include "table/exchange/signal_learner.h"
#include "table/learning_table.h"

#include <algorithm>

namespace quvan::exchange {

ImportReport ImportSignals(LearningTable& table, const SignalFile& file,
                           const LearningOptions& options, int startRow) {
    ImportReport report;
    report.refused = file.refused;
    SignalLearner learner(table, options);
    int row = std::max(startRow, 1);
    for (const ImportedSignal& signal : file.accepted) {
        while (table.validRow(row) && !table.isBlank(row))
            ++row;
        if (!table.validRow(row)) {
            report.refused.push_back(
                {signal.line, signal.name, "no blank row is left in the table"});
            continue;
        }
        if (auto reason = learner.learn(signal, row)) {
            report.refused.push_back({signal.line, signal.name, *reason});
            continue;
        }
        report.added.push_back({row, signal.name});
        ++row;
    }
    std::stable_sort(
        report.refused.begin(), report.refused.end(),
        [](const SignalRefusal& a, const SignalRefusal& b) { return a.line < b.line; });
    return report;
}

std::string ImportSummary(const ImportReport& report, std::size_t maxRefusalsListed) {
    const std::size_t added = report.added.size();
    std::string text = std::to_string(added) + (added == 1 ? " signal added" : " signals added");
    if (added > 0) {
        const int first = report.added.front().row;
        const int last = report.added.back().row;
        text += first == last
                    ? " (row " + std::to_string(first) + ")"
                    : " (rows " + std::to_string(first) + " to " + std::to_string(last) + ")";
    }
    if (!report.refused.empty())
        text += ", " + std::to_string(report.refused.size()) + " refused";
    text += ".";
    const std::size_t listed = std::min(report.refused.size(), maxRefusalsListed);
    for (std::size_t i = 0; i < listed; ++i)
        text += "\n" + DescribeRefusal(report.refused[i]);
    if (listed < report.refused.size() && maxRefusalsListed > 0)
        text += "\n... and " + std::to_string(report.refused.size() - listed) + " more";
    return text;
}

} // namespace quvan::exchange
