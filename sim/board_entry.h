#pragma once
// One entry of the board's entry memory, as the registration block
// describes it, and the text forms the board reads and writes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::sim {

inline constexpr int kBoardEntries = 500;
inline constexpr int kErasedWriteFlag = 999;

struct BoardEntry {
    std::int32_t write_flag = 0;
    std::int32_t carry = 0; // 0.1 kHz units
    std::int32_t data_bits = 0;
    std::int32_t repeat_bit = 0;
    std::array<std::int32_t, 16> high{};
    std::array<std::int32_t, 16> width{};
    std::vector<std::uint8_t> codes; // one pattern number per pulse, as received
    bool operator==(const BoardEntry&) const = default;
};

// Applies one of "Twf:", "Twc:", "Twb:", "Twr:", "Twp:", "Twd:" to the entry.
// Returns false (entry unchanged) for any other text or a malformed value.
bool apply_entry_command(BoardEntry& entry, std::string_view command);

// The read-back block of entry n: "Twl:%03d", "Twc:%03d", "Twb:%03d",
// "Twr:%03d", sixteen "Twp:%01X:%05d,%06d" and "Twd:" with one hex digit per
// pattern code, padded to an even count by repeating the last digit.
std::vector<std::string> entry_block_lines(int n, const BoardEntry& entry);

// The pattern-code digits as sent after "Twd:".
std::string pattern_code_digits(const BoardEntry& entry);

// A one-line readable summary, used by the fire log.
std::string describe_entry(const BoardEntry& entry);

} // namespace quvan::sim
