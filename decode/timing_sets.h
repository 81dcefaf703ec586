#pragma once
// The built-in nominal timings of the remote-control formats the tool knows,
// and the test whether a capture's first patterns fit one of them.

#include <array>
#include <cstdint>

namespace quvan {

inline constexpr int kTimingSetCount = 35; // 0..34; 35 stands for "unknown"
inline constexpr int kUnknownSet = 35;

struct TimingSet {
    std::int32_t LeaderHigh, LeaderWidth;
    std::int32_t ShortHigh, ShortWidth;
    std::int32_t LongHigh, LongWidth;
};

struct Range {
    std::int32_t Lo = 0, Hi = 0;
    bool contains(std::int32_t v) const { return Lo <= v && v <= Hi; }
};

struct TimingWindows {
    Range LeaderHigh, LeaderWidth, ShortHigh, ShortWidth, LongHigh, LongWidth;
};

const TimingSet& TimingSetAt(int set);
TimingWindows MakeTimingWindows(int set);

// H and W are the centres of patterns 0..3 (later patterns are never looked at).
bool FitsTimingSet(int set, const TimingWindows& w, const std::int32_t* H, const std::int32_t* W,
                   bool proEdition);

} // namespace quvan
