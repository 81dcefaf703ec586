#include "table/exchange/signal_export.h"

#include "capture/wave_line.h"

#include <algorithm>
#include <memory>

namespace quvan::exchange {

std::variant<ExportedSignal, std::string> ExportRow(const LearningTable& table, int row) {
    const LearnedSignal& rec = table.record(row);
    if (rec.Carry <= 0)
        return std::string("the row holds no learned signal");
    if (rec.DataBits <= 0 || rec.DataBits > kMaxPatternCodes)
        return "the record has " + std::to_string(rec.DataBits) + " pulses";
    if (rec.RepeatBit < 0 || rec.RepeatBit >= rec.DataBits)
        return "its repeat section starts at pulse " + std::to_string(rec.RepeatBit) + " of " +
               std::to_string(rec.DataBits);
    ExportedSignal signal;
    signal.row = row;
    signal.name = TrimControl(table.cell(row, ColComments));
    signal.carrierHz = rec.Carry * 100;
    for (int i = 0; i < rec.DataBits; ++i) {
        const int p = rec.PatternCode[static_cast<std::size_t>(i)];
        if (p >= kPatternSlots)
            return "pulse " + std::to_string(i) + " names pattern " + std::to_string(p);
        const std::int32_t high = rec.PatternHigh[static_cast<std::size_t>(p)];
        const std::int32_t width = rec.PatternWidth[static_cast<std::size_t>(p)];
        if (high <= 0 || width <= high)
            return "pattern " + std::to_string(p) + " (mark " + std::to_string(high) + ", period " +
                   std::to_string(width) + ") has no space after its mark";
        Durations& part = i < rec.RepeatBit ? signal.leadIn : signal.repeat;
        part.push_back(high);
        part.push_back(width - high);
    }
    return signal;
}

bool PatternsRelearnUnchanged(const LearnedSignal& record, int hRange, int wRange) {
    auto lane = std::make_unique<WaveLane>();
    PatternBounds bounds{};
    const int count = std::clamp(record.DataBits, 0, kMaxPatternCodes);
    for (int i = 0; i < count; ++i) {
        const int p = record.PatternCode[static_cast<std::size_t>(i)];
        if (p >= kPatternSlots)
            return false;
        const std::int32_t sorted = ClassifyPair(*lane, bounds, hRange, wRange,
                                                 record.PatternHigh[static_cast<std::size_t>(p)],
                                                 record.PatternWidth[static_cast<std::size_t>(p)]);
        if (sorted != p)
            return false;
    }
    return true;
}

ExportSelection CollectRows(const LearningTable& table, const std::vector<int>& rows, int hRange,
                            int wRange) {
    ExportSelection selection;
    for (int row : rows) {
        if (!table.validRow(row) || table.record(row).Carry <= 0)
            continue;
        auto exported = ExportRow(table, row);
        if (auto* reason = std::get_if<std::string>(&exported))
            selection.skipped.push_back("row " + std::to_string(row) + ": " + *reason);
        else
            selection.exported.push_back(std::move(std::get<ExportedSignal>(exported)));
        if (std::holds_alternative<ExportedSignal>(exported) &&
            !PatternsRelearnUnchanged(table.record(row), hRange, wRange))
            selection.warnings.push_back(
                "row " + std::to_string(row) +
                ": two of its pulse shapes lie within the learning tolerances of each other; "
                "imported again, they will be taken as one");
    }
    return selection;
}

std::vector<int> AllRows(const LearningTable& table) {
    std::vector<int> rows;
    for (int row = 1; row <= table.rowCount(); ++row)
        rows.push_back(row);
    return rows;
}

} // namespace quvan::exchange
