#pragma once
// The names of the remote-control formats and the makers recognised from an
// NEC-type custom code.

#include <optional>
#include <string_view>

namespace quvan {

inline constexpr int kFormatNameCount = 65;
inline constexpr int kUnknownFormat = 64;

std::string_view FormatName(int index); // "Unknown" for any index outside 0..64

// The first four characters of a code text as a 16-bit number, or nothing
// when they are not four hexadecimal digits.
std::optional<unsigned> CustomCodeOf(std::string_view code);

// The format index that an NEC-type custom code v turns currentIndex into.
int CustomCodeMap(unsigned v, int currentIndex, bool proEdition);

} // namespace quvan
