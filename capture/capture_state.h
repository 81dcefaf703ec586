#pragma once
// Everything the learning run keeps between board lines. The window owns one
// of these; the command-line decoder and the tests own their own.

#include "capture/repeat_scan.h"
#include "capture/wave_lane.h"

#include <array>
#include <cstdint>

namespace quvan {

struct CaptureState {
    std::array<WaveLane, kLaneSlots> Lanes{};
    PatternBounds Bounds{};
    std::int32_t CurrentLane = kLaneSlots; // >= WaveLanes: the next capture starts in lane 0
    std::int32_t CaptureTotal = 0;         // µs of the running capture
    CaptureResult Result{};
    std::int32_t HRange = 20;
    std::int32_t WRange = 15;
    std::int32_t LearnTime = 500000;                // µs
    std::array<std::int32_t, kLaneSlots> LaneRow{}; // table row of each lane's capture, 0 = none
    // The code check asks RestartLearning to stay on the same row once
    // (kept in the tag of ckCodeCheck by the window).
    bool RepeatRowRequested = false;
    std::int32_t SerialId = 0; // last U-SHOWA identification
    // The repeat analysis runs on every wave line once the capture is longer
    // than the learning time; it carries its search on from line to line.
    RepeatScanner RepeatSearch;
};

} // namespace quvan
