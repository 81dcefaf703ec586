#include "protocols/ir_format.h"

#include <algorithm>
#include <cctype>

namespace quvan::protocols {

namespace {
int hex_digit_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
} // namespace

const std::vector<FormatInfo>& all_formats() {
    static const std::vector<FormatInfo> formats = {
        {IrFormat::Nec, "nec", 380, 2, 4,
         "ADDR CMD (2 bytes, inverses added) or the 4 bytes as sent, e.g. 20DF10EF"},
        {IrFormat::NecExt, "necx", 380, 3, 4,
         "ADDR-LOW ADDR-HIGH CMD (inverse added) or the 4 bytes as sent"},
        {IrFormat::NecFrames, "nec-frames", 380, 2, 4, "as nec"},
        {IrFormat::Nec42, "nec42", 380, 3, 3,
         "ADDR-LOW ADDR-HIGH (13 bits) CMD, inverses added, e.g. 1C0512"},
        {IrFormat::Pioneer, "pioneer", 400, 2, 4,
         "ADDR CMD (inverses added) or the 4 bytes as sent, e.g. AA55"},
        {IrFormat::Sony12, "sony12", 400, 2, 2, "CMD (7 bits) ADDR (5 bits), e.g. 1501"},
        {IrFormat::Sony15, "sony15", 400, 2, 2, "CMD (7 bits) ADDR (8 bits)"},
        {IrFormat::Sony20, "sony20", 400, 3, 3, "CMD (7 bits) ADDR (5 bits) EXT (8 bits)"},
        {IrFormat::Kaseikyo, "kaseikyo", 367, 6, 6, "the 6 bytes as sent, e.g. 022080003CBC"},
        {IrFormat::Samsung, "samsung", 380, 2, 4,
         "ADDR CMD (address sent twice, command inverse added) or the 4 bytes as sent"},
        {IrFormat::Jvc, "jvc", 380, 2, 2, "ADDR CMD"},
        {IrFormat::Sharp, "sharp", 380, 2, 2, "ADDR (5 bits) CMD (8 bits)"},
        {IrFormat::Rc5, "rc5", 360, 2, 2,
         "ADDR (5 bits) CMD (7 bits, 64..127 clear the field bit)"},
        {IrFormat::Rc6, "rc6", 360, 2, 2, "ADDR CMD (mode 0)"},
    };
    return formats;
}

const FormatInfo& format_info(IrFormat format) {
    const auto& formats = all_formats();
    return *std::find_if(formats.begin(), formats.end(),
                         [format](const FormatInfo& f) { return f.format == format; });
}

std::optional<IrFormat> parse_format_name(std::string_view name) {
    for (const auto& f : all_formats()) {
        if (std::equal(name.begin(), name.end(), f.name.begin(), f.name.end(),
                       [](char a, char b) { return std::tolower((unsigned char)a) == b; }))
            return f.format;
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> parse_hex_bytes(std::string_view text) {
    if (text.empty() || text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = hex_digit_value(text[i]);
        const int lo = hex_digit_value(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

} // namespace quvan::protocols
