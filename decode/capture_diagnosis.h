#pragma once
// Why a capture came out as it did, in plain words: the pulse patterns, the
// timing sets the recognition tried and how far the nearest ones missed, the
// repeat analysis, what a user can change to get the capture recognised, and
// what a bi-phase capture is. Everything is taken from what the decoder
// recorded; the suggestions are found by learning the same pulses again with
// other tolerances through the same capture and recognition code.

#include "capture/wave_lane.h"
#include "decode/biphase.h"
#include "decode/decode_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quvan {

// A set that missed, with the comparisons that failed.
struct NearMiss {
    int Set = 0;
    std::vector<WindowCheck> Misses;
    int Tenths = 0; // the misses' distances added up, in tenths of a percent
};

// Tolerances under which the same pulses are recognised.
struct RangeSuggestion {
    std::int32_t HRange = 0;
    std::int32_t WRange = 0;
    std::string ResultText;
};

struct CaptureDiagnosis {
    bool Decoded = false;    // a decoder ran on this capture
    bool Recognised = false; // format recognition found a format
    bool TooManyPatterns = false;
    std::vector<NearMiss> Nearest;        // unrecognised: up to three, nearest first
    std::vector<const SetTrial*> Refused; // timing fitted, frame rule did not match
    bool RangesSearched = false;
    int RangesOffered = 0; // tolerance pairs the search could try
    int RangesTried = 0;   // and tried, nearest first
    std::optional<RangeSuggestion> Ranges;
    std::optional<BiphaseCode> Biphase;
    std::optional<PhilipsReading> Philips;
    std::string Summary;            // one line, for a tooltip
    std::vector<std::string> Lines; // the whole explanation
};

struct DiagnosisOptions {
    bool ProEdition = false;
    // Learn the pulses again with other tolerances to find ones that work
    // (up to 120 runs over the capture, see kRelearnPairBudget).
    bool SearchRanges = true;
};

// The tolerances tried by the search: 5 to 50 percent in steps of 5.
inline constexpr std::int32_t kRangeStep = 5;
inline constexpr std::int32_t kRangeMax = 50;
// Pairs learnt again by one search at most: all 120 tolerance pairs for a
// capture of up to 500 pulses, fewer for longer ones.
inline constexpr int kRelearnPairBudget = 60000;

// record: what the decoder did with this capture, or null when it did not
// decode it (refused for too many patterns, or still running). The record
// must stay alive as long as the diagnosis.
CaptureDiagnosis DiagnoseCapture(const WaveLane& lane, const DecodeRecord* record,
                                 const DiagnosisOptions& options);

// "the leader's mark 8050 µs (pattern 0) is 50 µs (0.6%) below the window 8100..10800"
std::string DescribeMiss(const WindowCheck& check);

} // namespace quvan
