#pragma once
// quvan-decode --from: signal files (raw timings, Pronto, Flipper .ir,
// pulse/space logs) learned and decoded as if their remotes were pointed at
// the board, one line of Carry, Frames and Result per signal; for a Flipper
// file the signal's name comes first.

#include "capture/learning_context.h"

#include <string>
#include <vector>

namespace quvan::cli {

// Appends the lines to out and the messages to errors. Returns the exit
// code: 0, or 2 for an unknown format or carrier or an unreadable file.
// A signal that cannot be learned gets "-<TAB>-<TAB>ERROR" (or the text
// learning refuses it with) and its reason among the errors.
int DecodeSignalFiles(const LearningOptions& options, const std::string& format,
                      const std::string& carrier, const std::vector<std::string>& files,
                      std::string& out, std::vector<std::string>& errors);

} // namespace quvan::cli
