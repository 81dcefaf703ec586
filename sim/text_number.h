#pragma once
// Strict decimal and hex reading for command texts: the whole text must be
// the number, so that a malformed command is refused rather than guessed at.

#include <charconv>
#include <optional>
#include <string_view>

namespace quvan::sim {

inline std::optional<int> parse_decimal(std::string_view text) {
    int value = 0;
    if (text.empty())
        return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

inline int hex_digit_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace quvan::sim
