// Field layouts, from the protocols' definitions:
//   NEC        address 8 bits, command 8 bits; each byte followed by its inverse
//   NECext     address 16 bits and command 16 bits, sent as they are
//   NEC42      address 13 bits, command 8 bits; each followed by its inverse
//   Samsung32  address 8 bits (sent twice), command 8 bits (and its inverse)
//   SIRC       command 7 bits, address 5 bits
//   SIRC15     command 7 bits, address 8 bits
//   SIRC20     command 7 bits, address 13 bits (5 device and 8 extended bits)
//   Kaseikyo   address: bits 8-23 the vendor code, bits 4-7 genre 1, bits 0-3
//              genre 2, bits 24-25 the id; command: the 10 data bits
//   RC5        address 5 bits, command 6 bits
//   RC5X       address 5 bits, command 6 bits sent with the second start bit
//              cleared (commands 64 to 127 of the extended set)
//   RC6        mode 0, address 8 bits, command 8 bits
//   Pioneer    address 8 bits, command 8 bits, as NEC on a 40 kHz carrier
#include "table/exchange/flipper_protocols.h"

#include "table/exchange/signal_file.h"

#include <array>
#include <cstdio>

namespace quvan::exchange {

namespace {

using protocols::IrFormat;
using Code = std::vector<std::uint8_t>;

struct FieldLimits {
    std::string_view name;
    std::uint32_t maxAddress;
    std::uint32_t maxCommand;
};

constexpr std::array<FieldLimits, 12> kProtocols{{
    {"NEC", 0xFF, 0xFF},
    {"NECext", 0xFFFF, 0xFFFF},
    {"NEC42", 0x1FFF, 0xFF},
    {"Samsung32", 0xFF, 0xFF},
    {"SIRC", 0x1F, 0x7F},
    {"SIRC15", 0xFF, 0x7F},
    {"SIRC20", 0x1FFF, 0x7F},
    {"Kaseikyo", 0x03FFFFFF, 0x3FF},
    {"RC5", 0x1F, 0x3F},
    {"RC5X", 0x1F, 0x3F},
    {"RC6", 0xFF, 0xFF},
    {"Pioneer", 0xFF, 0xFF},
}};

std::uint8_t Byte(std::uint32_t value, int index) {
    return static_cast<std::uint8_t>(value >> (8 * index));
}

std::string TooWide(std::string_view field, std::uint32_t value, std::uint32_t max) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.*s 0x%X is wider than the protocol carries (at most 0x%X)",
                  static_cast<int>(field.size()), field.data(), value, max);
    return buf;
}

// The format and the code bytes in the order the encoders take them.
std::pair<IrFormat, Code> Translate(std::string_view protocol, std::uint32_t a, std::uint32_t c) {
    if (protocol == "NEC")
        return {IrFormat::Nec, {Byte(a, 0), Byte(c, 0)}};
    if (protocol == "NECext")
        return {IrFormat::NecExt, {Byte(a, 0), Byte(a, 1), Byte(c, 0), Byte(c, 1)}};
    if (protocol == "NEC42")
        return {IrFormat::Nec42, {Byte(a, 0), Byte(a, 1), Byte(c, 0)}};
    if (protocol == "Samsung32")
        return {IrFormat::Samsung, {Byte(a, 0), Byte(c, 0)}};
    if (protocol == "SIRC")
        return {IrFormat::Sony12, {Byte(c, 0), Byte(a, 0)}};
    if (protocol == "SIRC15")
        return {IrFormat::Sony15, {Byte(c, 0), Byte(a, 0)}};
    if (protocol == "SIRC20")
        return {
            IrFormat::Sony20,
            {Byte(c, 0), static_cast<std::uint8_t>(a & 0x1F), static_cast<std::uint8_t>(a >> 5)}};
    if (protocol == "Kaseikyo") {
        const auto bytes = protocols::encoders::kaseikyo_bytes(
            static_cast<std::uint16_t>(a >> 8), static_cast<std::uint8_t>((a >> 4) & 0x0F),
            static_cast<std::uint8_t>(a & 0x0F), static_cast<std::uint16_t>(c),
            static_cast<std::uint8_t>(a >> 24));
        return {IrFormat::Kaseikyo, Code(bytes.begin(), bytes.end())};
    }
    if (protocol == "RC5")
        return {IrFormat::Rc5, {Byte(a, 0), Byte(c, 0)}};
    if (protocol == "RC5X")
        return {IrFormat::Rc5, {Byte(a, 0), static_cast<std::uint8_t>(c | 0x40)}};
    if (protocol == "RC6")
        return {IrFormat::Rc6, {Byte(a, 0), Byte(c, 0)}};
    return {IrFormat::Pioneer, {Byte(a, 0), Byte(c, 0)}};
}

} // namespace

const std::vector<std::string_view>& FlipperProtocolNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> n;
        for (const FieldLimits& p : kProtocols)
            n.push_back(p.name);
        return n;
    }();
    return names;
}

std::variant<protocols::EncodedSignal, std::string>
EncodeFlipperCode(std::string_view protocol, std::uint32_t address, std::uint32_t command) {
    const FieldLimits* limits = nullptr;
    for (const FieldLimits& p : kProtocols) {
        if (EqualsIgnoringCase(p.name, protocol))
            limits = &p;
    }
    if (limits == nullptr) {
        std::string known;
        for (const FieldLimits& p : kProtocols)
            known += (known.empty() ? "" : ", ") + std::string(p.name);
        return "protocol " + Quoted(protocol) + " is not one of " + known;
    }
    if (address > limits->maxAddress)
        return TooWide("address", address, limits->maxAddress);
    if (command > limits->maxCommand)
        return TooWide("command", command, limits->maxCommand);
    const auto [format, code] = Translate(limits->name, address, command);
    return protocols::encode_ir(format, code);
}

} // namespace quvan::exchange
