// Chooses the encoder for a format and fills in how the remote repeats
// itself while its button is held.
#include "protocols/ir_encoder.h"

namespace quvan::protocols {

using namespace encoders;

namespace {
constexpr std::int32_t kDefaultMinGap = 10000;

std::uint8_t inv(std::uint8_t b) {
    return static_cast<std::uint8_t>(~b);
}

std::string too_wide(std::string_view what, unsigned value, int bits) {
    return std::string(what) + " " + std::to_string(value) + " does not fit in " +
           std::to_string(bits) + " bits";
}

EncodedSignal same_frame_repeated(Waveform frame, std::int32_t period) {
    EncodedSignal s;
    s.first = frame;
    s.repeat = std::move(frame);
    s.period_us = period;
    s.min_gap_us = kDefaultMinGap;
    return s;
}

std::variant<EncodedSignal, std::string> encode_sony(const std::vector<std::uint8_t>& c,
                                                     int address_bits) {
    if (c[0] > 0x7F)
        return too_wide("command", c[0], 7);
    if (address_bits == 5 && c[1] > 0x1F)
        return too_wide("address", c[1], 5);
    std::uint32_t bits = c[0] | (static_cast<std::uint32_t>(c[1]) << 7);
    int count = 7 + address_bits;
    if (c.size() == 3) { // SIRC-20: 7 command, 5 device, 8 extended bits
        bits |= static_cast<std::uint32_t>(c[2]) << 12;
        count = 20;
    }
    return same_frame_repeated(sony_frame(bits, count), 45000);
}
} // namespace

std::variant<EncodedSignal, std::string>
encode_ir(IrFormat format, const std::vector<std::uint8_t>& code, bool toggle) {
    const FormatInfo& info = format_info(format);
    if (code.size() < info.min_code_bytes || code.size() > info.max_code_bytes)
        return std::string(info.name) + ": CODE is " + std::string(info.code_help);

    std::variant<EncodedSignal, std::string> result;
    switch (format) {
    case IrFormat::Nec:
    case IrFormat::NecFrames: {
        const std::vector<std::uint8_t> bytes =
            code.size() == 4
                ? code
                : std::vector<std::uint8_t>{code[0], inv(code[0]), code[1], inv(code[1])};
        EncodedSignal s = same_frame_repeated(nec_frame(bytes), 108000);
        if (format == IrFormat::Nec)
            s.repeat = nec_repeat_code();
        result = s;
        break;
    }
    case IrFormat::NecExt: {
        const std::vector<std::uint8_t> bytes =
            code.size() == 4 ? code
                             : std::vector<std::uint8_t>{code[0], code[1], code[2], inv(code[2])};
        EncodedSignal s = same_frame_repeated(nec_frame(bytes), 108000);
        s.repeat = nec_repeat_code();
        result = s;
        break;
    }
    case IrFormat::Nec42: {
        const std::uint16_t address = static_cast<std::uint16_t>(code[0] | code[1] << 8);
        if (address > 0x1FFF)
            return too_wide("address", address, 13);
        EncodedSignal s = same_frame_repeated(nec42_frame(address, code[2]), 108000);
        s.repeat = nec_repeat_code();
        result = s;
        break;
    }
    case IrFormat::Pioneer: {
        if (code.size() == 3)
            return std::string(info.name) + ": CODE is " + std::string(info.code_help);
        const std::vector<std::uint8_t> bytes =
            code.size() == 4
                ? code
                : std::vector<std::uint8_t>{code[0], inv(code[0]), code[1], inv(code[1])};
        // The whole frame again after 25 ms of silence, instead of a repeat code.
        EncodedSignal s = same_frame_repeated(nec_frame(bytes), 0);
        s.min_gap_us = 25000;
        result = s;
        break;
    }
    case IrFormat::Sony12:
        result = encode_sony(code, 5);
        break;
    case IrFormat::Sony15:
        result = encode_sony(code, 8);
        break;
    case IrFormat::Sony20:
        result = encode_sony(code, 5);
        break;
    case IrFormat::Kaseikyo:
        result = same_frame_repeated(kaseikyo_frame(code), 130000);
        break;
    case IrFormat::Samsung: {
        const std::vector<std::uint8_t> bytes =
            code.size() == 4   ? code
            : code.size() == 3 ? std::vector<std::uint8_t>{code[0], code[1], code[2], inv(code[2])}
                               : std::vector<std::uint8_t>{code[0], code[0], code[1], inv(code[1])};
        result = same_frame_repeated(samsung_frame(bytes), 108000);
        break;
    }
    case IrFormat::Jvc: {
        EncodedSignal s = same_frame_repeated(jvc_frame(code[0], code[1], true), 55000);
        s.repeat = jvc_frame(code[0], code[1], false);
        result = s;
        break;
    }
    case IrFormat::Sharp: {
        if (code[0] > 0x1F)
            return too_wide("address", code[0], 5);
        const std::uint16_t normal =
            static_cast<std::uint16_t>(code[0] | (code[1] << 5) | (1u << 13));
        const std::uint16_t inverted =
            static_cast<std::uint16_t>(code[0] | (inv(code[1]) << 5) | (1u << 14));
        // The message is the frame and, 40 ms later, its inverted twin; a
        // held button repeats the whole message after another 40 ms.
        Waveform message = sharp_frame(normal);
        message.space(40000);
        message.append(sharp_frame(inverted));
        EncodedSignal s = same_frame_repeated(message, 0);
        s.min_gap_us = 40000;
        result = s;
        break;
    }
    case IrFormat::Rc5: {
        if (code[0] > 0x1F)
            return too_wide("address", code[0], 5);
        if (code[1] > 0x7F)
            return too_wide("command", code[1], 7);
        // Commands 64..127 are sent with the second start bit (field bit) cleared.
        const bool field = code[1] < 64;
        result = same_frame_repeated(rc5_frame(field, toggle, code[0], code[1] & 0x3F), 113792);
        break;
    }
    case IrFormat::Rc6:
        result = same_frame_repeated(rc6_frame(toggle, code[0], code[1]), 106667);
        break;
    }
    if (auto* s = std::get_if<EncodedSignal>(&result))
        s->carrier_tenths = info.carrier_tenths;
    return result;
}

} // namespace quvan::protocols
