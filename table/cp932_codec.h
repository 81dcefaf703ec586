#pragma once
// Conversion between the UTF-8 the tool works in and the Shift-JIS code page
// of Japanese Windows (CP932) in which table files carry their texts, so that
// files stay exchangeable with the users' existing tables.
//
// Neither direction ever fails or drops text silently: a character CP932
// cannot represent, invalid UTF-8, or a byte sequence that is not CP932
// becomes the geta mark "〓" (CP932 81 AC, U+3013), and the number of such
// replacements is reported to the caller.

#include <string>
#include <string_view>

namespace quvan {

struct Converted {
    std::string text;
    int replaced = 0; // characters or bytes that became "〓"
};

Converted Cp932FromUtf8(std::string_view utf8);
Converted Utf8FromCp932(std::string_view cp932);

} // namespace quvan
