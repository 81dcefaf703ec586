#pragma once
// Encoders: a format and a code give the frames a remote control sends.

#include "protocols/ir_format.h"
#include "protocols/waveform.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quvan::protocols {

struct EncodedSignal {
    Waveform first;  // sent once when the button goes down; ends with a mark
    Waveform repeat; // sent again and again while the button is held
    // Distance from the start of one frame to the start of the next. A frame
    // longer than that is followed by min_gap_us of silence instead.
    std::int32_t period_us = 0;
    std::int32_t min_gap_us = 0;
    std::int32_t carrier_tenths = 0;
};

// Returns the signal, or an error text when the code does not fit the format
// (wrong byte count, a value wider than its field). toggle is the RC5/RC6
// toggle bit, which a remote flips on every new press.
std::variant<EncodedSignal, std::string>
encode_ir(IrFormat format, const std::vector<std::uint8_t>& code, bool toggle = false);

// Per-family encoders, also reachable one by one for tests.
namespace encoders {
Waveform nec_frame(const std::vector<std::uint8_t>& four_bytes);
Waveform nec_repeat_code();
Waveform nec42_frame(std::uint16_t address, std::uint8_t command);
Waveform sony_frame(std::uint32_t bits, int bit_count);
Waveform kaseikyo_frame(const std::vector<std::uint8_t>& six_bytes);
// The six bytes of a Kaseikyo frame from its fields: the vendor code (sent
// low byte first) and its parity nibble, two 4-bit genre codes, 10 data
// bits, a 2-bit id and the check byte over the three bytes before it.
std::array<std::uint8_t, 6> kaseikyo_bytes(std::uint16_t vendor, std::uint8_t genre1,
                                           std::uint8_t genre2, std::uint16_t data,
                                           std::uint8_t id);
Waveform samsung_frame(const std::vector<std::uint8_t>& four_bytes);
Waveform jvc_frame(std::uint8_t address, std::uint8_t command, bool with_leader);
Waveform sharp_frame(std::uint16_t fifteen_bits);
Waveform rc5_frame(bool field, bool toggle, std::uint8_t address, std::uint8_t command);
Waveform rc6_frame(bool toggle, std::uint8_t address, std::uint8_t command);
} // namespace encoders

} // namespace quvan::protocols
