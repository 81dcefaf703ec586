#include "sim/board_entry.h"

#include "sim/text_number.h"

#include <algorithm>
#include <cstdio>

namespace quvan::sim {

namespace {
constexpr std::size_t kMaxCodes = 4096;

bool set_three_digit(std::int32_t& field, std::string_view value) {
    const auto v = parse_decimal(value);
    if (!v || *v < 0)
        return false;
    field = *v;
    return true;
}

// "Twp:" value: index digit, one separator, high, one separator, width.
bool set_pattern(BoardEntry& e, std::string_view v) {
    if (v.size() < 5)
        return false;
    const int index = hex_digit_value(v[0]);
    if (index < 0)
        return false;
    v.remove_prefix(2);
    const std::size_t sep = v.find_first_not_of("0123456789");
    if (sep == std::string_view::npos)
        return false;
    const auto high = parse_decimal(v.substr(0, sep));
    const auto width = parse_decimal(v.substr(sep + 1));
    if (!high || !width || *high < 0 || *width < 0)
        return false;
    e.high[index] = *high;
    e.width[index] = *width;
    return true;
}

bool set_codes(BoardEntry& e, std::string_view v) {
    std::vector<std::uint8_t> codes;
    for (char c : v) {
        const int d = hex_digit_value(c);
        if (d < 0)
            return false;
        codes.push_back(static_cast<std::uint8_t>(d));
    }
    if (codes.size() > kMaxCodes)
        codes.resize(kMaxCodes);
    e.codes = std::move(codes);
    return true;
}
} // namespace

bool apply_entry_command(BoardEntry& entry, std::string_view command) {
    if (command.size() < 4 || command.substr(0, 2) != "Tw" || command[3] != ':')
        return false;
    const std::string_view value = command.substr(4);
    switch (command[2]) {
    case 'f':
        return set_three_digit(entry.write_flag, value);
    case 'c':
        return set_three_digit(entry.carry, value);
    case 'b':
        if (!set_three_digit(entry.data_bits, value))
            return false;
        entry.data_bits = std::min<std::int32_t>(entry.data_bits, kMaxCodes);
        return true;
    case 'r':
        return set_three_digit(entry.repeat_bit, value);
    case 'p':
        return set_pattern(entry, value);
    case 'd':
        return set_codes(entry, value);
    default:
        return false;
    }
}

std::string pattern_code_digits(const BoardEntry& entry) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    const std::size_t n = static_cast<std::size_t>(std::max(entry.data_bits, 0));
    for (std::size_t i = 0; i < n; ++i)
        digits += kHex[i < entry.codes.size() ? entry.codes[i] & 0x0F : 0];
    if (n % 2 == 1)
        digits += digits.back();
    return digits;
}

std::vector<std::string> entry_block_lines(int n, const BoardEntry& entry) {
    std::vector<std::string> lines;
    char buf[64];
    const auto add3 = [&](const char* tag, int v) {
        std::snprintf(buf, sizeof buf, "%s%03d", tag, std::max(v, 0));
        lines.emplace_back(buf);
    };
    add3("Twl:", n);
    add3("Twc:", entry.carry);
    // Counts above 999 keep all their digits, as registration sends them.
    add3("Twb:", entry.data_bits);
    add3("Twr:", entry.repeat_bit);
    for (int i = 0; i < 16; ++i) {
        std::snprintf(buf, sizeof buf, "Twp:%01X:%05d,%06d", i, std::clamp(entry.high[i], 0, 99999),
                      std::clamp(entry.width[i], 0, 999999));
        lines.emplace_back(buf);
    }
    lines.push_back("Twd:" + pattern_code_digits(entry));
    return lines;
}

std::string describe_entry(const BoardEntry& e) {
    std::string s = "carry=" + std::to_string(e.carry) + " bits=" + std::to_string(e.data_bits) +
                    " repeat=" + std::to_string(e.repeat_bit) + " patterns=";
    bool first = true;
    for (int i = 0; i < 16; ++i) {
        if (e.width[i] == 0 && e.high[i] == 0)
            continue;
        s += (first ? "" : ",") + std::to_string(i) + ":" + std::to_string(e.high[i]) + "/" +
             std::to_string(e.width[i]);
        first = false;
    }
    return s + " codes=" + pattern_code_digits(e);
}

} // namespace quvan::sim
