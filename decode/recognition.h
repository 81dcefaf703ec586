#pragma once
// Which format a capture of a fitting timing set is, told by where its
// frame-end patterns sit.

#include "capture/wave_lane.h"

#include <cstdint>

namespace quvan {

struct Recognition {
    int FormatIndex = 64; // 64 = not recognised
    std::int32_t FramePairs = 0;
    int GroupBits = 8;
    // Set 28 stores its own frame layout with the signal.
    bool OverridesFrame = false;
    std::int32_t RepeatBit = 0;
    std::int32_t DataBits = 0;
};

// P = the lane's pattern numbers, N = its LastIndex, dataBits from the
// repeat analysis. set 35 is the unknown case and always recognised.
Recognition RecognisePatterns(int set, const WaveLane& lane, std::int32_t dataBits);

} // namespace quvan
