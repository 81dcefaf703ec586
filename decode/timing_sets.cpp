#include "decode/timing_sets.h"

namespace quvan {

namespace {

// Index = set number. Empty sets have zero windows, so nothing fits them.
constexpr std::array<TimingSet, kTimingSetCount> kSets{{
    {2300, 2860, 600, 1160, 1220, 1780}, // 0  Sony
    {3400, 5100, 450, 850, 450, 1700},   // 1  Kaseikyo
    {3400, 6600, 900, 1680, 900, 3340},  // 2  Matsushita
    {9000, 13500, 560, 1125, 560, 2250}, // 3  NEC type
    {3000, 6000, 600, 2400, 1800, 2400}, // 4
    {8400, 12400, 560, 1040, 560, 2120}, // 5  JVC
    {0, 0, 300, 1220, 300, 2440},        // 6
    {0, 0, 560, 1040, 560, 2120},        // 7
    {0, 0, 300, 1060, 300, 2000},        // 8  Sharp
    {0, 0, 450, 1600, 1300, 1600},       // 9
    {0, 0, 0, 0, 0, 0},                  // 10
    {4300, 8600, 440, 1100, 440, 2200},  // 11
    {0, 0, 0, 0, 0, 0},                  // 12
    {0, 0, 0, 0, 0, 0},                  // 13
    {0, 0, 0, 0, 0, 0},                  // 14
    {0, 0, 0, 0, 0, 0},                  // 15
    {0, 0, 0, 0, 0, 0},                  // 16
    {0, 0, 0, 0, 0, 0},                  // 17
    {5100, 7200, 450, 1050, 450, 2100},  // 18
    {0, 0, 0, 0, 0, 0},                  // 19
    {0, 0, 0, 0, 0, 0},                  // 20
    {0, 0, 0, 0, 0, 0},                  // 21
    {0, 0, 0, 0, 0, 0},                  // 22
    {6000, 9000, 600, 2400, 1800, 2400}, // 23
    {4500, 9000, 560, 1125, 560, 2250},  // 24 Samsung
    {0, 0, 300, 1060, 300, 2000},        // 25
    {8000, 11900, 560, 1000, 560, 2000}, // 26
    {8400, 12700, 527, 1100, 527, 2100}, // 27
    {2000, 4000, 520, 1000, 520, 1500},  // 28
    {8000, 12000, 500, 1000, 500, 2000}, // 29
    {3000, 6000, 600, 1200, 600, 2400},  // 30
    {8900, 13600, 600, 1200, 600, 1800}, // 31
    {7800, 12600, 540, 1160, 540, 2360}, // 32
    {2220, 2830, 540, 1160, 1110, 1740}, // 33
    {2700, 4600, 340, 920, 340, 1740},   // 34
}};

Range Leader(std::int32_t v) {
    return {v * 9 / 10, v * 12 / 10};
}
Range Symbol(std::int32_t v) {
    return {v * 8 / 10, v * 12 / 10};
}

} // namespace

const TimingSet& TimingSetAt(int set) {
    return kSets.at(static_cast<std::size_t>(set));
}

TimingWindows MakeTimingWindows(int set) {
    const TimingSet& t = TimingSetAt(set);
    TimingWindows w{Leader(t.LeaderHigh), Leader(t.LeaderWidth), Symbol(t.ShortHigh),
                    Symbol(t.ShortWidth), Symbol(t.LongHigh),    Symbol(t.LongWidth)};
    if (set == 8) {
        // Set 8's marks are short enough that the board's measurement error
        // is a large part of them.
        w.ShortHigh = {t.ShortHigh * 6 / 10, t.ShortHigh * 16 / 10};
        w.LongHigh = {t.LongHigh * 6 / 10, t.LongHigh * 16 / 10};
    }
    return w;
}

bool HasTimings(int set) {
    const TimingSet& t = TimingSetAt(set);
    return t.ShortHigh != 0 || t.ShortWidth != 0 || t.LongHigh != 0 || t.LongWidth != 0;
}

std::int32_t WindowCheck::outsideBy() const {
    if (Value < Window.Lo)
        return Value - Window.Lo;
    if (Value > Window.Hi)
        return Value - Window.Hi;
    return 0;
}

TimingFit CheckTimingSet(int set, const TimingWindows& w, const std::int32_t* H,
                         const std::int32_t* W, bool proEdition) {
    TimingFit fit;
    if (set == 29 && !proEdition) {
        fit.Tried = false;
        return fit;
    }
    auto check = [&](WindowKind kind, int pattern, const std::int32_t* values, Range window) {
        fit.Checks[static_cast<std::size_t>(fit.CheckCount++)] = {kind, pattern, values[pattern],
                                                                  window};
    };
    int k = 0;
    if (w.LeaderHigh.Lo > 0) {
        check(WindowKind::LeaderHigh, 0, H, w.LeaderHigh);
        check(WindowKind::LeaderWidth, 0, W, w.LeaderWidth);
        k = 1;
    }
    const bool swapped = w.ShortHigh.Lo == w.LongHigh.Lo ? W[k] >= W[k + 1] : H[k] >= H[k + 1];
    int shortP = swapped ? k + 1 : k;
    int longP = swapped ? k : k + 1;
    if (set == 29) {
        shortP = 1;
        longP = 3;
    }
    check(WindowKind::ShortHigh, shortP, H, w.ShortHigh);
    check(WindowKind::ShortWidth, shortP, W, w.ShortWidth);
    // Set 29 tells its formats apart by the short symbol alone.
    if (set != 29) {
        check(WindowKind::LongHigh, longP, H, w.LongHigh);
        check(WindowKind::LongWidth, longP, W, w.LongWidth);
    }
    fit.Fits = true;
    for (const WindowCheck& c : fit)
        fit.Fits = fit.Fits && c.inside();
    return fit;
}

bool FitsTimingSet(int set, const TimingWindows& w, const std::int32_t* H, const std::int32_t* W,
                   bool proEdition) {
    return CheckTimingSet(set, w, H, W, proEdition).Fits;
}

} // namespace quvan
