#pragma once
// Reading numbers out of board lines and edit boxes the way the tool always
// has: leading blanks allowed, anything else invalid.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quvan {

// A decimal integer with optional leading blanks and sign; nothing may follow.
std::optional<std::int32_t> ParseDecimal(std::string_view text);
std::int32_t DecimalOr(std::string_view text, std::int32_t fallback);

// A decimal number such as "38.0" in tenths, truncated towards zero
// ("38.05" gives 380). Blanks around it are allowed.
std::optional<std::int32_t> ParseTenths(std::string_view text);

// The characters [pos, pos+count) that exist; empty when pos is past the end.
std::string_view SafeMid(std::string_view text, std::size_t pos, std::size_t count);

std::string HexByte(unsigned value); // two upper-case digits

} // namespace quvan
