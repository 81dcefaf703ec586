#pragma once
// The board's per-pulse report ("[012]:00560 001120") and the sorting of
// each pulse into one of at most 16 patterns as it arrives.

#include "capture/learning_context.h"

#include <cstdint>
#include <string_view>

namespace quvan {

struct WaveLineFields {
    std::int32_t Index = 0;
    std::int32_t High = 0;
    std::int32_t Width = 0;
};

// Both index widths; unreadable or missing fields count as 0.
WaveLineFields ParseWaveLine(std::string_view line);

// Sorts one pair into the lane's patterns with the given tolerances (percent)
// and returns its pattern number (16 when all 16 windows are taken).
std::int32_t ClassifyPair(WaveLane& lane, PatternBounds& bounds, std::int32_t hRange,
                          std::int32_t wRange, std::int32_t high, std::int32_t width);

void HandleWaveLine(LearningContext& ctx, std::string_view line);
// The same for a pair already read from its line (a capture played again).
void HandleWavePair(LearningContext& ctx, const WaveLineFields& fields);

// Empties one lane's columns of the wave data grid (all lanes when lane >=
// WaveLanes) and forgets its length.
void ClearLaneData(LearningContext& ctx, int lane);

} // namespace quvan
