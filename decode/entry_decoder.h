#pragma once
// Recovering the format name and code of an entry read back from the board,
// which arrives as a bare learned-signal record.

#include "table/learned_signal.h"

#include <optional>
#include <string>

namespace quvan {

struct EntryDecoding {
    std::optional<std::string> Comments; // not touched with PCode
    std::string Result;
};

// The first timing set whose windows the record's patterns 0..3 fit and whose
// length rule matches, else "Unknown".
EntryDecoding DecodeLoadedEntry(const LearnedSignal& record, bool pcode, bool proEdition);

// One candidate timing set (35 = unknown, always succeeds).
std::optional<EntryDecoding> DecodeEntryAs(int set, const LearnedSignal& record, bool proEdition);

} // namespace quvan
