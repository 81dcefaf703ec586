#include "tests/decode/support/capture_builder.h"

#include "capture/analysis_line.h"
#include "capture/learning_control.h"
#include "capture/wave_line.h"

#include <cstdio>

namespace quvan::test {

std::vector<bool> BitsLsbFirst(const std::vector<int>& bytes) {
    std::vector<bool> bits;
    for (int b : bytes)
        for (int i = 0; i < 8; ++i)
            bits.push_back(((b >> i) & 1) != 0);
    return bits;
}

std::vector<bool> ValueBitsLsbFirst(unsigned value, int count) {
    std::vector<bool> bits;
    for (int i = 0; i < count; ++i)
        bits.push_back(((value >> i) & 1u) != 0);
    return bits;
}

Signal PulseDistance(int leaderMark, int leaderSpace, int bitMark, int zeroSpace, int oneSpace,
                     const std::vector<bool>& bits, int framePeriod) {
    Signal s;
    int elapsed = 0;
    if (leaderMark > 0) {
        s.push_back({leaderMark, leaderSpace});
        elapsed += leaderMark + leaderSpace;
    }
    for (bool b : bits) {
        s.push_back({bitMark, b ? oneSpace : zeroSpace});
        elapsed += bitMark + (b ? oneSpace : zeroSpace);
    }
    int gap = framePeriod > 0 ? framePeriod - elapsed - bitMark : 0;
    s.push_back({bitMark, gap});
    return s;
}

Signal NecFrame(const std::vector<int>& bytes) {
    return PulseDistance(9000, 4500, 560, 565, 1690, BitsLsbFirst(bytes), 108000);
}

Signal NecRepeatCode() {
    return {{9000, 2250}, {560, 108000 - 9000 - 2250 - 560}};
}

Signal SonyFrame(unsigned value, int bits) {
    Signal s{{2400, 600}};
    int elapsed = 3000;
    for (bool b : ValueBitsLsbFirst(value, bits)) {
        const int mark = b ? 1200 : 600;
        s.push_back({mark, 600});
        elapsed += mark + 600;
    }
    // The last bit's space runs to the next frame, 45 ms after this one began.
    s.back().Space = 45000 - (elapsed - 600);
    return s;
}

Signal KaseikyoFrame(const std::vector<int>& bytes) {
    return PulseDistance(3456, 1728, 432, 432, 1296, BitsLsbFirst(bytes), 74000);
}

Signal SamsungFrame(const std::vector<int>& bytes) {
    return PulseDistance(4500, 4500, 560, 565, 1690, BitsLsbFirst(bytes), 108000);
}

Signal JvcFrame(const std::vector<int>& bytes, bool leader) {
    Signal s = PulseDistance(leader ? 8400 : 0, 4200, 526, 526, 1574, BitsLsbFirst(bytes), 0);
    s.back().Space = 30000; // the gap before the next frame
    return s;
}

Signal SharpFrame(unsigned value15) {
    Signal s = PulseDistance(0, 0, 320, 680, 1680, ValueBitsLsbFirst(value15, 15), 0);
    s.back().Space = 40000;
    return s;
}

namespace {

// Marks and spaces of equal-level runs, each mark with the space after it;
// the last space runs to the frame period. Leading spaces are invisible.
Signal FromLevels(const std::vector<std::pair<bool, int>>& levels, int framePeriod) {
    Signal s;
    int elapsed = 0;
    for (const auto& [mark, micros] : levels) {
        if (mark) {
            if (!s.empty() && s.back().Space == 0)
                s.back().Mark += micros;
            else
                s.push_back({micros, 0});
        } else if (!s.empty()) {
            s.back().Space += micros;
        }
        if (mark || !s.empty())
            elapsed += micros;
    }
    s.back().Space += framePeriod - elapsed;
    return s;
}

void BiphaseBit(std::vector<std::pair<bool, int>>& levels, bool firstHalfMark, int half) {
    levels.push_back({firstHalfMark, half});
    levels.push_back({!firstHalfMark, half});
}

} // namespace

Signal Rc5Frame(bool toggle, int address, int command) {
    std::vector<std::pair<bool, int>> levels;
    std::vector<bool> bits{true, command < 64, toggle};
    for (int i = 4; i >= 0; --i)
        bits.push_back(((address >> i) & 1) != 0);
    for (int i = 5; i >= 0; --i)
        bits.push_back(((command >> i) & 1) != 0);
    for (bool b : bits)
        BiphaseBit(levels, !b, 889);
    return FromLevels(levels, 113792);
}

Signal Rc6Frame(bool toggle, int address, int command) {
    std::vector<std::pair<bool, int>> levels{{true, 2666}, {false, 889}};
    BiphaseBit(levels, true, 444); // start bit
    for (int i = 0; i < 3; ++i)
        BiphaseBit(levels, false, 444); // mode 0
    BiphaseBit(levels, toggle, 888);
    for (int i = 7; i >= 0; --i)
        BiphaseBit(levels, ((address >> i) & 1) != 0, 444);
    for (int i = 7; i >= 0; --i)
        BiphaseBit(levels, ((command >> i) & 1) != 0, 444);
    return FromLevels(levels, 106667);
}

Signal Repeat(const Signal& frame, int times) {
    Signal s;
    for (int i = 0; i < times; ++i)
        s.insert(s.end(), frame.begin(), frame.end());
    return s;
}

Signal Concat(std::initializer_list<Signal> parts) {
    Signal s;
    for (const Signal& p : parts)
        s.insert(s.end(), p.begin(), p.end());
    return s;
}

Signal Jittered(const Signal& s, int percent, int markBias, unsigned seed) {
    Signal out;
    unsigned x = seed * 2654435761u + 1u;
    auto noise = [&](int v) {
        x = x * 1103515245u + 12345u;
        const int r = static_cast<int>((x >> 16) % 2001u) - 1000; // -1000..1000
        return v + v * percent * r / 100000;
    };
    for (const MarkSpace& p : s) {
        const int mark = noise(p.Mark) + markBias;
        const int space = p.Space > 20000 ? p.Space : noise(p.Space) - markBias;
        out.push_back({mark, space});
    }
    return out;
}

std::vector<std::string> BoardLines(const Signal& s, const std::string& carrierText) {
    std::vector<std::string> lines;
    char buf[64];
    for (std::size_t i = 0; i < s.size() && i <= 4095; ++i) {
        const int width = s[i].Mark + s[i].Space;
        if (i <= 999)
            std::snprintf(buf, sizeof buf, "[%03zu]:%05d %06d", i, s[i].Mark, width);
        else
            std::snprintf(buf, sizeof buf, "[%04zu]:%05d %07d", i, s[i].Mark, width);
        lines.emplace_back(buf);
    }
    lines.push_back("Ave.Freq = " + carrierText + "kHz");
    return lines;
}

Session::Session(LearningOptions opts)
    : options(std::move(opts)),
      table(options.ProEdition ? kProTableRows : kStdTableRows), ctx{*state, options, table,
                                                                     effects},
      decoder(ctx) {}

void Session::startLearning() {
    StartLearning(ctx, false);
}

void Session::feed(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.starts_with("["))
            HandleWaveLine(ctx, line);
        else if (line.starts_with("Ave."))
            HandleAnalysisLine(ctx, decoder, line);
    }
}

} // namespace quvan::test
