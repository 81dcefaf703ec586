#include "decode/recognition.h"

namespace quvan {

namespace {

Recognition Found(std::int32_t framePairs, int format, int groupBits = 8) {
    Recognition r;
    r.FramePairs = framePairs;
    r.FormatIndex = format;
    r.GroupBits = groupBits;
    return r;
}

Recognition Nec(const WaveLane& lane, std::int32_t dataBits) {
    auto P = [&](int i) { return lane.PatternOf[static_cast<std::size_t>(i)]; };
    const std::int32_t N = lane.LastIndex;
    if (dataBits < 32)
        return {};
    if (P(34) == 0 || N == 34 || N == 68)
        return Found(dataBits, 15);
    if (P(35) == 5)
        return Found(34, 10);
    if (P(41) == 3 && P(42) == 0)
        return Found(41, 45);
    if (P(43) == 5)
        return Found(41, 44);
    if (P(43) == 3 && P(44) == 0)
        return Found(43, 28);
    if (P(45) == 5)
        return Found(43, 27);
    if (P(49) == 3 && P(50) == 0)
        return Found(49, 47);
    if (P(51) == 5)
        return Found(49, 46);
    if (P(65) == 3 && P(66) == 0)
        return Found(65, 58);
    if (P(67) == 5)
        return Found(65, 57);
    if (P(81) == 3)
        return Found(81, 54);
    if (P(33) == 3 && P(114) == 3)
        return Found(114, 56);
    if (P(145) == 3)
        return Found(145, 48);
    if (P(35) == 0)
        return Found(dataBits, 15);
    return {};
}

} // namespace

Recognition RecognisePatterns(int set, const WaveLane& lane, std::int32_t dataBits) {
    auto P = [&](int i) { return lane.PatternOf[static_cast<std::size_t>(i)]; };
    switch (set) {
    case 0:
        if (P(13) == 0)
            return Found(13, 0, 7);
        if (P(16) == 0)
            return Found(16, 1, 7);
        if (P(21) == 0)
            return Found(21, 2, 7);
        return {};
    case 1:
        if (P(41) == 3)
            return Found(42, 3);
        if (P(49) == 3)
            return Found(50, 3);
        if (P(57) == 3)
            return Found(57, 3);
        if (P(129) == 3)
            return Found(130, 3);
        return Found(dataBits, 3);
    case 2:
        if (P(23) == 3)
            return Found(12, 4, 5);
        if (P(25) == 3)
            return Found(13, 5, 6);
        return {};
    case 3:
        return Nec(lane, dataBits);
    case 4:
        if (P(51) == 0)
            return Found(50, 21);
        if (P(53) == 0)
            return Found(52, 55);
        return {};
    case 5:
        return P(17) == 3 ? Found(17, 7) : Recognition{};
    case 6:
        return P(16) == 2 ? Found(16, 6) : Recognition{};
    case 7:
        return P(16) == 2 ? Found(16, 8) : Recognition{};
    case 8:
        return P(15) == 2 ? Found(16, 9, 5) : Recognition{};
    case 9:
        return P(11) == 2 && P(23) == 3 ? Found(12, 31, 3) : Recognition{};
    case 11:
        return P(33) == 3 ? Found(33, 19) : Recognition{};
    case 18:
        return P(57) == 3 && P(179) == 4 ? Found(176, 29) : Recognition{};
    case 23:
        return P(21) == 3 ? Found(21, 38) : Recognition{};
    case 24:
        return P(33) == 3 ? Found(33, 43) : Recognition{};
    case 25:
        return P(12) == 2 ? Found(12, 49, 3) : Recognition{};
    case 26:
        return P(9) == 3 && P(18) == 4 ? Found(18, 50) : Recognition{};
    case 27:
        return P(20) == 4 && P(10) == 3 ? Found(20, 51) : Recognition{};
    case 28:
        if (P(17) == 3 && P(18) == 0) {
            Recognition r = Found(37, 52);
            r.OverridesFrame = true;
            r.RepeatBit = 18;
            r.DataBits = 36;
            return r;
        }
        return {};
    case 29:
        return P(20) > 2 && P(10) == 2 ? Found(20, 53) : Recognition{};
    case 30:
        return P(51) == 0 ? Found(50, 59) : Recognition{};
    case 31:
        return P(67) == 5 ? Found(65, 60) : Recognition{};
    case 32:
        return P(65) == 3 ? Found(65, 61) : Recognition{};
    case 33:
        return P(64) == 3 ? Found(64, 62) : Recognition{};
    case 34:
        return P(65) == 3 ? Found(65, 63) : Recognition{};
    case 35:
        return Found(dataBits, 64);
    default:
        return {};
    }
}

} // namespace quvan
