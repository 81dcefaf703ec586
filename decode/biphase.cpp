#include "decode/biphase.h"

#include <cstdio>
#include <cstdlib>

namespace quvan {

namespace {

constexpr std::int32_t kRc5Half = 889;
constexpr std::int32_t kRc6Half = 444;
// A space this long ends a frame: the longest space inside either code is
// two half-bits of RC5 (1778 µs).
constexpr std::int32_t kFrameGap = 5000;

struct Run {
    bool mark;
    std::int32_t micros;
};

// The mark and space runs of the frame that starts at pair `first`; the
// space that ends the frame is left out. next = the first pair after it.
std::vector<Run> FrameRuns(const WaveLane& lane, int first, int& next) {
    std::vector<Run> runs;
    int i = first;
    for (; i <= lane.LastIndex; ++i) {
        const PulsePair& p = lane.Pairs[static_cast<std::size_t>(i)];
        runs.push_back({true, p.High});
        const std::int32_t space = p.Width - p.High;
        if (space >= kFrameGap || i == lane.LastIndex) {
            ++i;
            break;
        }
        runs.push_back({false, space});
    }
    next = i;
    return runs;
}

// The number of half-bits a run lasts, when it lasts a whole number of them
// from 1 to maxUnits (within a third of a half-bit); 0 otherwise.
int Units(std::int32_t micros, std::int32_t half, int maxUnits) {
    const int n = static_cast<int>((micros + half / 2) / half);
    if (n < 1 || n > maxUnits || std::abs(micros - n * half) * 3 > half)
        return 0;
    return n;
}

// The level of each half-bit of a frame, from its runs.
bool Expand(const std::vector<Run>& runs, std::size_t from, std::int32_t half, int maxUnits,
            std::vector<bool>& halves) {
    for (std::size_t r = from; r < runs.size(); ++r) {
        const int n = Units(runs[r].micros, half, maxUnits);
        if (n == 0)
            return false;
        halves.insert(halves.end(), static_cast<std::size_t>(n), runs[r].mark);
    }
    return true;
}

// One bit of `width` half-bits at position pos: first half then second half.
// Half-bits past the frame's end are the space that follows it.
int ReadBit(const std::vector<bool>& halves, std::size_t& pos, int width) {
    auto at = [&](std::size_t i) { return i < halves.size() && halves[i]; };
    const bool first = at(pos);
    const auto w = static_cast<std::size_t>(width);
    for (std::size_t k = 1; k < w; ++k)
        if (at(pos + k) != first)
            return -1;
    for (std::size_t k = 0; k < w; ++k)
        if (at(pos + w + k) == first)
            return -1;
    pos += 2 * w;
    return first ? 1 : 0;
}

std::int32_t Value(const std::vector<bool>& bits, std::size_t from, std::size_t count) {
    std::int32_t v = 0;
    for (std::size_t i = from; i < from + count; ++i)
        v = v * 2 + (bits[i] ? 1 : 0);
    return v;
}

// RC5: 14 bits of two 889 µs halves, a 1 being space-then-mark. The first
// half of the first start bit is a space no receiver sees.
std::optional<BiphaseCode> Rc5(const std::vector<Run>& runs) {
    std::vector<bool> halves{false};
    if (!Expand(runs, 0, kRc5Half, 2, halves))
        return std::nullopt;
    std::vector<bool> bits;
    std::size_t pos = 0;
    while (pos < halves.size()) {
        const int bit = ReadBit(halves, pos, 1);
        if (bit < 0)
            return std::nullopt;
        // A 1 is space-then-mark: the reader above calls mark-first 1.
        bits.push_back(bit == 0);
    }
    if (bits.size() != 14 || !bits[0])
        return std::nullopt;
    BiphaseCode code;
    // The second start bit, inverted, is the seventh command bit of RC5X.
    code.Protocol = bits[1] ? "RC5" : "RC5X";
    code.Toggle = bits[2] ? 1 : 0;
    code.Address = Value(bits, 3, 5);
    code.Command = Value(bits, 8, 6) + (bits[1] ? 0 : 64);
    code.InfoBits = 11;
    code.HalfBit = kRc5Half;
    code.Cells = bits;
    return code;
}

// RC6: a 2666/889 µs leader, a start bit, three mode bits, the toggle bit of
// double width, then the information bits; 444 µs halves, a 1 being
// mark-then-space.
std::optional<BiphaseCode> Rc6(const std::vector<Run>& runs) {
    if (runs.size() < 2 || !runs[0].mark || Units(runs[0].micros, kRc6Half, 6) != 6 ||
        Units(runs[1].micros, kRc6Half, 2) != 2)
        return std::nullopt;
    std::vector<bool> halves;
    if (!Expand(runs, 2, kRc6Half, 3, halves))
        return std::nullopt;
    std::size_t pos = 0;
    std::vector<bool> head;
    for (int i = 0; i < 4; ++i) {
        const int bit = ReadBit(halves, pos, 1);
        if (bit < 0)
            return std::nullopt;
        head.push_back(bit == 1);
    }
    const int toggle = ReadBit(halves, pos, 2);
    if (!head[0] || toggle < 0)
        return std::nullopt;
    std::vector<bool> info;
    while (pos < halves.size()) {
        const int bit = ReadBit(halves, pos, 1);
        if (bit < 0)
            return std::nullopt;
        info.push_back(bit == 1);
    }
    if (info.size() < 8)
        return std::nullopt;
    BiphaseCode code;
    code.Protocol = "RC6";
    code.Mode = Value(head, 1, 3);
    code.Toggle = toggle;
    code.InfoBits = static_cast<int>(info.size());
    if (code.Mode == 0 && info.size() == 16) {
        code.Address = Value(info, 0, 8);
        code.Command = Value(info, 8, 8);
    } else {
        code.Command = Value(info, 0, std::min<std::size_t>(info.size(), 31));
    }
    code.HalfBit = kRc6Half;
    code.Cells = head;
    code.Cells.push_back(toggle == 1);
    code.Cells.push_back(toggle == 0); // the toggle bit's second half
    code.Cells.insert(code.Cells.end(), info.begin(), info.end());
    return code;
}

std::optional<BiphaseCode> DecodeFrame(const std::vector<Run>& runs) {
    if (auto rc6 = Rc6(runs))
        return rc6;
    return Rc5(runs);
}

} // namespace

std::optional<BiphaseCode> IdentifyBiphase(const WaveLane& lane) {
    if (lane.LastIndex <= 0)
        return std::nullopt;
    int next = 0;
    std::optional<BiphaseCode> first = DecodeFrame(FrameRuns(lane, 0, next));
    if (!first)
        return std::nullopt;
    first->Frames = 1;
    while (next <= lane.LastIndex) {
        const std::optional<BiphaseCode> more = DecodeFrame(FrameRuns(lane, next, next));
        if (more && more->Protocol == first->Protocol && more->Mode == first->Mode &&
            more->Address == first->Address && more->Command == first->Command)
            first->Frames += 1;
    }
    return first;
}

std::optional<PhilipsReading> PhilipsReadingOf(const WaveLane& lane, const BiphaseCode& code) {
    // The first cell is sampled in the middle of the first half-bit that
    // carries a bit value: RC5's first visible half, RC6's after its leader.
    PhilipsReading reading;
    const std::int32_t quarter = code.HalfBit / 2;
    if (code.Protocol == "RC6")
        reading.Params = {2666 + 889 + quarter, 2 * code.HalfBit, 0};
    else
        reading.Params = {quarter, 2 * code.HalfBit, 0};
    const int cells = static_cast<int>(code.Cells.size());
    // Whole bytes only are printed: round the cells up to a multiple of 8;
    // the cells past the frame read its gap, a space.
    reading.Params.CellsPerFrame = (cells + 7) / 8 * 8;
    std::string expected = "Philips d:";
    for (int byte = 0; byte < reading.Params.CellsPerFrame / 8; ++byte) {
        unsigned v = 0;
        for (int bit = 0; bit < 8; ++bit) {
            const int cell = byte * 8 + bit;
            if (cell < cells && code.Cells[static_cast<std::size_t>(cell)])
                v |= 1u << bit;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", v);
        expected += (byte > 0 ? " " : "") + std::string(hex);
    }
    reading.Text = PhilipsDecoder(lane, reading.Params);
    // The reading is offered only when it is this code's: its first word
    // must be the cells worked out above.
    if (reading.Text.rfind(expected, 0) != 0)
        return std::nullopt;
    if (reading.Text.size() > expected.size() && reading.Text[expected.size()] != ' ')
        return std::nullopt;
    return reading;
}

} // namespace quvan
