#pragma once
// The value of a hexadecimal digit, for the many places that read codes
// written in hex (table files, board replies, pattern codes, format codes).

#include <array>
#include <cstddef>

namespace quvan {

// 0..15 for '0'-'9', 'A'-'F' and 'a'-'f'; -1 for any other character. A
// table lookup, so that the table file's reader can use it per character.
inline int HexDigitValue(char c) {
    static constexpr auto kValues = [] {
        std::array<signed char, 256> values{};
        values.fill(-1);
        for (int d = 0; d < 10; ++d)
            values[static_cast<std::size_t>('0' + d)] = static_cast<signed char>(d);
        for (int d = 0; d < 6; ++d) {
            values[static_cast<std::size_t>('A' + d)] = static_cast<signed char>(10 + d);
            values[static_cast<std::size_t>('a' + d)] = static_cast<signed char>(10 + d);
        }
        return values;
    }();
    return kValues[static_cast<unsigned char>(c)];
}

} // namespace quvan
