#include "decode/recognition.h"

namespace quvan {

namespace {

// Reads the pattern numbers for a frame rule and, when asked, notes each test
// and its outcome.
struct Probe {
    const WaveLane& lane;
    std::vector<FrameCheck>* checks;

    bool note(FrameCheck::Test test, int pair, std::int32_t expected, std::int32_t found,
              bool passed) {
        if (checks != nullptr)
            checks->push_back({test, pair, expected, found, passed});
        return passed;
    }
    bool is(int i, std::int32_t v) {
        const std::int32_t found = lane.PatternOf[static_cast<std::size_t>(i)];
        return note(FrameCheck::Test::PatternIs, i, v, found, found == v);
    }
    bool above(int i, std::int32_t v) {
        const std::int32_t found = lane.PatternOf[static_cast<std::size_t>(i)];
        return note(FrameCheck::Test::PatternAbove, i, v, found, found > v);
    }
    bool lastIndexIs(std::int32_t n) {
        return note(FrameCheck::Test::LastIndexIs, 0, n, lane.LastIndex, lane.LastIndex == n);
    }
    bool atLeast(std::int32_t dataBits, std::int32_t n) {
        return note(FrameCheck::Test::DataBitsAtLeast, 0, n, dataBits, dataBits >= n);
    }
};

Recognition Found(std::int32_t framePairs, int format, int groupBits = 8) {
    Recognition r;
    r.FramePairs = framePairs;
    r.FormatIndex = format;
    r.GroupBits = groupBits;
    return r;
}

Recognition Nec(Probe& p, std::int32_t dataBits) {
    if (!p.atLeast(dataBits, 32))
        return {};
    if (p.is(34, 0) || p.lastIndexIs(34) || p.lastIndexIs(68))
        return Found(dataBits, 15);
    if (p.is(35, 5))
        return Found(34, 10);
    if (p.is(41, 3) && p.is(42, 0))
        return Found(41, 45);
    if (p.is(43, 5))
        return Found(41, 44);
    if (p.is(43, 3) && p.is(44, 0))
        return Found(43, 28);
    if (p.is(45, 5))
        return Found(43, 27);
    if (p.is(49, 3) && p.is(50, 0))
        return Found(49, 47);
    if (p.is(51, 5))
        return Found(49, 46);
    if (p.is(65, 3) && p.is(66, 0))
        return Found(65, 58);
    if (p.is(67, 5))
        return Found(65, 57);
    if (p.is(81, 3))
        return Found(81, 54);
    if (p.is(33, 3) && p.is(114, 3))
        return Found(114, 56);
    if (p.is(145, 3))
        return Found(145, 48);
    if (p.is(35, 0))
        return Found(dataBits, 15);
    return {};
}

} // namespace

Recognition RecognisePatterns(int set, const WaveLane& lane, std::int32_t dataBits,
                              std::vector<FrameCheck>* checks) {
    Probe p{lane, checks};
    switch (set) {
    case 0:
        if (p.is(13, 0))
            return Found(13, 0, 7);
        if (p.is(16, 0))
            return Found(16, 1, 7);
        if (p.is(21, 0))
            return Found(21, 2, 7);
        return {};
    case 1:
        if (p.is(41, 3))
            return Found(42, 3);
        if (p.is(49, 3))
            return Found(50, 3);
        if (p.is(57, 3))
            return Found(57, 3);
        if (p.is(129, 3))
            return Found(130, 3);
        return Found(dataBits, 3);
    case 2:
        if (p.is(23, 3))
            return Found(12, 4, 5);
        if (p.is(25, 3))
            return Found(13, 5, 6);
        return {};
    case 3:
        return Nec(p, dataBits);
    case 4:
        if (p.is(51, 0))
            return Found(50, 21);
        if (p.is(53, 0))
            return Found(52, 55);
        return {};
    case 5:
        return p.is(17, 3) ? Found(17, 7) : Recognition{};
    case 6:
        return p.is(16, 2) ? Found(16, 6) : Recognition{};
    case 7:
        return p.is(16, 2) ? Found(16, 8) : Recognition{};
    case 8:
        return p.is(15, 2) ? Found(16, 9, 5) : Recognition{};
    case 9:
        return p.is(11, 2) && p.is(23, 3) ? Found(12, 31, 3) : Recognition{};
    case 11:
        return p.is(33, 3) ? Found(33, 19) : Recognition{};
    case 18:
        return p.is(57, 3) && p.is(179, 4) ? Found(176, 29) : Recognition{};
    case 23:
        return p.is(21, 3) ? Found(21, 38) : Recognition{};
    case 24:
        return p.is(33, 3) ? Found(33, 43) : Recognition{};
    case 25:
        return p.is(12, 2) ? Found(12, 49, 3) : Recognition{};
    case 26:
        return p.is(9, 3) && p.is(18, 4) ? Found(18, 50) : Recognition{};
    case 27:
        return p.is(20, 4) && p.is(10, 3) ? Found(20, 51) : Recognition{};
    case 28:
        if (p.is(17, 3) && p.is(18, 0)) {
            Recognition r = Found(37, 52);
            r.OverridesFrame = true;
            r.RepeatBit = 18;
            r.DataBits = 36;
            return r;
        }
        return {};
    case 29:
        return p.above(20, 2) && p.is(10, 2) ? Found(20, 53) : Recognition{};
    case 30:
        return p.is(51, 0) ? Found(50, 59) : Recognition{};
    case 31:
        return p.is(67, 5) ? Found(65, 60) : Recognition{};
    case 32:
        return p.is(65, 3) ? Found(65, 61) : Recognition{};
    case 33:
        return p.is(64, 3) ? Found(64, 62) : Recognition{};
    case 34:
        return p.is(65, 3) ? Found(65, 63) : Recognition{};
    case 35:
        return Found(dataBits, 64);
    default:
        return {};
    }
}

} // namespace quvan
