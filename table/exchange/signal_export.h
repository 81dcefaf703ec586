#pragma once
// Taking table rows out: each row's patterns and pattern codes become marks
// and spaces again (the lead-in, then the repeat section), with the carrier
// of its Carry.

#include "table/exchange/signal_file.h"
#include "table/learning_table.h"

#include <string>
#include <variant>
#include <vector>

namespace quvan::exchange {

// The row's signal, or why it cannot be written out (a record that names a
// pattern without a period, a repeat start past its end ...).
std::variant<ExportedSignal, std::string> ExportRow(const LearningTable& table, int row);

struct ExportSelection {
    std::vector<ExportedSignal> exported;
    std::vector<std::string> skipped;  // "row 7: reason"
    std::vector<std::string> warnings; // written, but will not import as the same record
};

// The rows that hold a learned signal (Carry above 0), in order; rows
// without one are passed over, faulty ones listed in `skipped`. A row whose
// pulse shapes learning would sort differently when the file is imported
// again is written and listed in `warnings`. hRange and wRange are the
// learning tolerances in percent.
ExportSelection CollectRows(const LearningTable& table, const std::vector<int>& rows,
                            int hRange = 20, int wRange = 15);

// True when learning, fed the record's pulses at their pattern timings,
// sorts every pulse into the pattern the record gives it. Patterns whose
// centres drifted into each other's tolerance while a jittery capture was
// learned fail this: imported again they would merge.
bool PatternsRelearnUnchanged(const LearnedSignal& record, int hRange, int wRange);

// Every row of the table.
std::vector<int> AllRows(const LearningTable& table);

} // namespace quvan::exchange
