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

// One comparison of the fit test: a pattern centre against one window.
enum class WindowKind : std::uint8_t {
    LeaderHigh,
    LeaderWidth,
    ShortHigh,
    ShortWidth,
    LongHigh,
    LongWidth
};

struct WindowCheck {
    WindowKind Kind = WindowKind::LeaderHigh;
    int Pattern = 0;
    std::int32_t Value = 0;
    Range Window;
    bool inside() const { return Window.contains(Value); }
    // µs outside the window: below the low end (< 0) or above the high end (> 0).
    std::int32_t outsideBy() const;
};

// The fit test with every comparison it makes. The verdict is FitsTimingSet's;
// the comparisons after the first failing one are those the test would have
// made had that one passed, so that how far a capture is from a set can be told.
struct TimingFit {
    bool Tried = true; // false for set 29 outside the Pro edition
    bool Fits = false;
    std::array<WindowCheck, 6> Checks{};
    int CheckCount = 0;
    const WindowCheck* begin() const { return Checks.data(); }
    const WindowCheck* end() const { return Checks.data() + CheckCount; }
};
TimingFit CheckTimingSet(int set, const TimingWindows& w, const std::int32_t* H,
                         const std::int32_t* W, bool proEdition);

// A set with all-zero timings can fit nothing.
bool HasTimings(int set);

} // namespace quvan
