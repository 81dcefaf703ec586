#pragma once
// Which format a capture of a fitting timing set is, told by where its
// frame-end patterns sit.

#include "capture/wave_lane.h"

#include <cstdint>
#include <vector>

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

// One test of a frame rule, as it was made.
struct FrameCheck {
    enum class Test : std::uint8_t {
        PatternIs,       // pair Pair has pattern Expected
        PatternAbove,    // pair Pair has a pattern above Expected
        LastIndexIs,     // the capture's LastIndex is Expected
        DataBitsAtLeast, // the repeat analysis kept at least Expected pairs
    };
    Test Kind = Test::PatternIs;
    int Pair = 0;
    std::int32_t Expected = 0;
    std::int32_t Found = 0;
    bool Passed = false;
};

// P = the lane's pattern numbers, N = its LastIndex, dataBits from the
// repeat analysis. set 35 is the unknown case and always recognised. With
// checks given, every test made is appended to it in order.
Recognition RecognisePatterns(int set, const WaveLane& lane, std::int32_t dataBits,
                              std::vector<FrameCheck>* checks = nullptr);

} // namespace quvan
