#pragma once
// The per-row learned-signal record: how the board replays one signal.
// Shared by learning, the table file, registration, read-back and firing.

#include <array>
#include <cstdint>

namespace quvan {

inline constexpr int kPatternSlots = 16;
inline constexpr int kMaxPatternCodes = 4096;
inline constexpr int kMaxTableRows = 500;  // the store always has room for the Pro edition
inline constexpr int kStdTableRows = 250;
inline constexpr int kProTableRows = 500;

struct LearnedSignal {
    std::int32_t WriteFlag = 0;   // 0 = real entry, 999 = empty slot ("Twf:")
    std::int32_t Carry = 0;       // carrier in 0.1 kHz units; 0 = no signal ("Twc:")
    std::int32_t DataBits = 0;    // valid entries in PatternCode ("Twb:")
    std::int32_t RepeatBit = 0;   // first entry of the repeating frame ("Twr:")
    std::array<std::int32_t, kPatternSlots> PatternHigh{};   // mark, µs ("Twp:")
    std::array<std::int32_t, kPatternSlots> PatternWidth{};  // period, µs ("Twp:")
    std::array<std::uint8_t, kMaxPatternCodes> PatternCode{}; // pattern index per pulse ("Twd:")
};

}  // namespace quvan
