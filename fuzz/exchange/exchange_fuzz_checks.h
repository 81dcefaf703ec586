#pragma once
// What every signal reader must leave behind, whatever the bytes: accepted
// signals the board can measure, refusals that name a line of the file, a
// board capture that fits one capture, and learning that takes or refuses
// the signal without harm.

#include "table/exchange/board_capture.h"
#include "table/exchange/signal_file.h"
#include "table/exchange/signal_learner.h"
#include "table/learning_table.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace quvan::exchange::fuzz {

inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

inline void CheckDurations(const Durations& d) {
    Check(d.size() / 2 <= kMaxPairs);
    for (std::size_t i = 0; i < d.size(); ++i) {
        Check(d[i] > 0);
        if (i % 2 == 0)
            Check(d[i] <= kMaxMarkUs);
        else
            Check(d[i] + d[i - 1] <= kMaxPeriodUs);
    }
}

inline void CheckSignalFile(const SignalFile& file, std::string_view text) {
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const SignalRefusal& r : file.refused) {
        Check(r.line >= 0 && r.line <= lines);
        Check(!r.reason.empty());
    }
    static LearningTable table(kStdTableRows);
    static SignalLearner learner(table, LearningOptions{});
    static WaveLane lane;
    int learned = 0;
    int captured = 0;
    for (const ImportedSignal& s : file.accepted) {
        Check(s.line >= 1 && s.line <= lines);
        Check(!CarrierFault(s.carrierHz));
        if (!s.encoded) {
            Check(!s.once.empty() || !s.repeat.empty());
            CheckDurations(s.once);
            CheckDurations(s.repeat);
        }
        // Building a held capture costs; a few per input reach every path.
        if (captured++ >= 3)
            continue;
        const protocols::PulseList pulses = BoardCapture(s, learner.holdRules(), lane);
        Check(!pulses.empty() && pulses.size() <= kMaxPairs);
        for (const protocols::Pulse& p : pulses)
            Check(p.high > 0 && p.width > p.high);
        // Learning a long capture is slow; a few short ones per input keep
        // the runs quick and still reach the decoders.
        if (pulses.size() <= 300 && learned++ < 1) {
            const auto refusal = learner.learn(s, 1);
            Check(refusal.has_value() != !table.isBlank(1));
            table.clearRow(1);
        }
    }
}

} // namespace quvan::exchange::fuzz
