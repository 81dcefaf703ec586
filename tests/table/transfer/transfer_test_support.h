#pragma once
// Records and board replies written by hand for the transfer tests.

#include "table/learning_table.h"

#include <cstdio>
#include <string>
#include <vector>

namespace quvan::transfer::test {

// The NEC signal of the read-back decoding: leader 9000/13500, zero
// 560/1120, one 560/2250, stop 560/40500; address 00 FF, command 12 ED,
// least significant bit first. 34 codes.
inline void FillNec(LearnedSignal& r) {
    r = LearnedSignal{};
    r.Carry = 380;
    const int patterns[4][2] = {{9000, 13500}, {560, 1120}, {560, 2250}, {560, 40500}};
    for (int i = 0; i < 4; ++i) {
        r.PatternHigh[static_cast<std::size_t>(i)] = patterns[i][0];
        r.PatternWidth[static_cast<std::size_t>(i)] = patterns[i][1];
    }
    const int bytes[4] = {0x00, 0xFF, 0x12, 0xED};
    std::size_t k = 0;
    r.PatternCode[k++] = 0;
    for (int bit = 0; bit < 32; ++bit) {
        r.PatternCode[k++] = ((bytes[bit / 8] >> (bit % 8)) & 1) ? 2 : 1;
    }
    r.PatternCode[k++] = 3;
    r.DataBits = static_cast<int>(k);
    r.RepeatBit = 0;
}

// The pattern digits of FillNec's 34 codes: 0, then 00 (eight 1s),
// FF (eight 2s), 12 (bits 0..7: 0 1 0 0 1 0 0 0), ED (1 0 1 1 0 1 1 1),
// then 3.
inline const std::string kNecDigits = "0"
                                      "11111111"
                                      "22222222"
                                      "12112111"
                                      "21221222"
                                      "3";

// A row the way learning leaves it: Carry text, Frames and the record.
inline void FillNecRow(LearningTable& table, int row, const std::string& comment = "TV") {
    table.setCell(row, ColCarry, "38.0kHz");
    table.setCell(row, ColFrames, "1");
    table.setCell(row, ColComments, comment);
    table.setCell(row, ColResult, "Tm:NEC-32A    d:00FF 12ED");
    FillNec(table.record(row));
}

// The board's reply to "Twl:%03d" for an entry with these values, in the
// read-back line formats.
inline std::vector<std::string> BoardBlock(int entry, int carry, int bits, int repeat,
                                           const std::vector<std::pair<int, int>>& patterns,
                                           const std::string& digits) {
    std::vector<std::string> lines;
    char buf[64];
    std::snprintf(buf, sizeof buf, "Twl:%03d", entry);
    lines.emplace_back(buf);
    std::snprintf(buf, sizeof buf, "Twc:%03d", carry);
    lines.emplace_back(buf);
    std::snprintf(buf, sizeof buf, "Twb:%03d", bits);
    lines.emplace_back(buf);
    std::snprintf(buf, sizeof buf, "Twr:%03d", repeat);
    lines.emplace_back(buf);
    for (int i = 0; i < 16; ++i) {
        const auto p = i < static_cast<int>(patterns.size()) ? patterns[static_cast<std::size_t>(i)]
                                                             : std::pair<int, int>{0, 0};
        std::snprintf(buf, sizeof buf, "Twp:%01X:%05d,%06d", i, p.first, p.second);
        lines.emplace_back(buf);
    }
    lines.push_back("Twd:" + digits);
    return lines;
}

inline const std::vector<std::pair<int, int>> kNecPatterns{
    {9000, 13500}, {560, 1120}, {560, 2250}, {560, 40500}};

// Entry `entry` holding FillNec's signal; the 34 digits need no padding.
inline std::vector<std::string> NecBlock(int entry) {
    return BoardBlock(entry, 380, 34, 0, kNecPatterns, kNecDigits);
}

} // namespace quvan::transfer::test
