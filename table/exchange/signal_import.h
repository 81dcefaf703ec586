#pragma once
// Importing the signals of a file into the learning table: each one learned
// into the next blank row from a starting row on, the refused ones reported
// with their line and reason. A refused signal leaves no trace in the table.

#include "capture/learning_context.h"
#include "table/exchange/signal_file.h"

#include <string>
#include <vector>

namespace quvan::exchange {

struct ImportedRow {
    int row = 0;
    std::string name;
};

struct ImportReport {
    std::vector<ImportedRow> added;     // in file order
    std::vector<SignalRefusal> refused; // in file order
};

// Learns every signal of `file` into the blank rows of `table` at or after
// `startRow` (a row is blank when its Carry cell is). Signals that find no
// blank row left are refused too. The reader's refusals are carried over.
ImportReport ImportSignals(LearningTable& table, const SignalFile& file,
                           const LearningOptions& options, int startRow);

// "12 signals added (rows 5 to 16), 2 refused.", and a line for each of the
// first maxRefusalsListed refusals (none: the first line alone).
std::string ImportSummary(const ImportReport& report, std::size_t maxRefusalsListed = 20);

} // namespace quvan::exchange
