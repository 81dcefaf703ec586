#include "capture/text_number.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace quvan {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && IsBlank(*p))
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end)
        return std::nullopt;
    while (p + 1 < end && *p == '0')
        ++p; // leading zeros do not count towards the length limit
    if (end - p > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (; p != end; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (d > 9)
            return std::nullopt;
        value = value * 10 + d;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t DecimalOr(std::string_view text, std::int32_t fallback) {
    return ParseDecimal(text).value_or(fallback);
}

std::optional<std::int32_t> ParseTenths(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    text = text.substr(begin, end - begin);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::int64_t whole = 0;
    int tenth = 0;
    bool digits = false;
    bool point = false;
    bool firstFraction = true;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            return std::nullopt;
        digits = true;
        if (!point) {
            whole = whole * 10 + (c - '0');
            if (whole > 100000000)
                return std::nullopt; // no carrier comes near; keeps the tenths in range
        } else if (firstFraction) {
            tenth = c - '0';
            firstFraction = false;
        }
    }
    if (!digits)
        return std::nullopt;
    std::int64_t tenths = whole * 10 + tenth;
    return static_cast<std::int32_t>(negative ? -tenths : tenths);
}

std::string_view SafeMid(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos >= text.size())
        return {};
    return text.substr(pos, count);
}

std::string HexByte(unsigned value) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", value & 0xFFu);
    return buf;
}

} // namespace quvan
