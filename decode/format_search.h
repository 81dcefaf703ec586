#pragma once
// Looking for the format of a capture: the timing sets in order, each tried
// by its fit test and then by its frame rule, the first success wins. With a
// trace asked for, every trial is kept so that the tool can tell a user why a
// capture was or was not recognised.

#include "capture/wave_lane.h"
#include "decode/code_assembly.h"
#include "decode/recognition.h"
#include "decode/timing_sets.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quvan {

struct SetTrial {
    int Set = 0;
    TimingFit Fit;                       // the fit test and its comparisons
    bool FrameRuleTried = false;         // only after the fit test passed
    std::vector<FrameCheck> FrameChecks; // the frame rule's tests, in order
    int FormatIndex = 64;                // 64 when the frame rule matched nothing
};

struct FormatSearch {
    int Set = kUnknownSet;        // the set that recognised the capture; 35 = none did
    Recognition Rec;              // its outcome (for set 35, the unknown case's)
    std::vector<SetTrial> Trials; // with a trace: the sets tried, in order
};

FormatSearch SearchFormat(const WaveLane& lane, std::int32_t dataBits, bool proEdition, bool trace);

// The result text of a recognised (or unknown) capture from its code read
// out: the maker looked up for NEC-type timing, then "Tm:%-10s d:%s".
std::string PatternResultText(int set, const Recognition& rec, const AssembledCode& code,
                              bool proEdition);

// The formats a timing set can stand for, for people: "NEC", "SONY", ...
std::string SetFormats(int set);

} // namespace quvan
