#pragma once
// The remote-control formats the encoders know, with the carrier and
// repetition habits of each. The simulator's remote controls and the signal
// importer both send through them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::protocols {

enum class IrFormat {
    Nec,       // 8-bit address + inverse, command + inverse; repeat codes while held
    NecExt,    // 16-bit address, command + inverse; repeat codes while held
    NecFrames, // like Nec, but the full frame is repeated while held
    Nec42,     // 13-bit address + inverse, command + inverse; repeat codes while held
    Pioneer,   // NEC frames on a 40 kHz carrier, the full frame repeated
    Sony12,
    Sony15,
    Sony20,
    Kaseikyo, // 48 bits, Panasonic style
    Samsung,  // 32 bits, 4500/4500 leader
    Jvc,      // 16 bits; repeats without the leader
    Sharp,    // 15 bits, each frame followed by its inverted frame
    Rc5,
    Rc6, // mode 0
};

struct FormatInfo {
    IrFormat format;
    std::string_view name;       // as written in control commands, e.g. "sony12"
    std::int32_t carrier_tenths; // 0.1 kHz units
    std::size_t min_code_bytes;
    std::size_t max_code_bytes;
    std::string_view code_help; // what CODE means for this format
};

const std::vector<FormatInfo>& all_formats();
const FormatInfo& format_info(IrFormat format);
std::optional<IrFormat> parse_format_name(std::string_view name);

// Hex digits (upper or lower case, even count) into bytes; nullopt otherwise.
std::optional<std::vector<std::uint8_t>> parse_hex_bytes(std::string_view text);

} // namespace quvan::protocols
