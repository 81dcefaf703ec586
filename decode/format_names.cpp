#include "decode/format_names.h"

#include "table/hex_digit.h"

#include <array>

namespace quvan {

namespace {

constexpr std::array<std::string_view, kFormatNameCount> kNames{
    "SONY12",     "SONY15",    "SONY20",  "KASEIKYO",  "MATU22",     "MATU24",    "MITU16",
    "JVC-H16",    "JVC-M16",   "SHARP",   "NEC-32R",   "HITACHI",    "TOSHIBA",   "SANYO",
    "PIONEER",    "NEC-32A",   "TAVIRO",  "KENWOOD",   "FUJITSU",    "TSB32",     "MITU10",
    "zem-ID",     "POLYCOM",   "TSB32R",  "FUJI48",    "TASCAM",     "EPSON",     "NEC-42R",
    "NEC-42A",    "DAIKIN",    "MITUPRJ", "TSB12",     "JVC72",      "NECPRJ",    "MARANTZ",
    "B-KARA",     "U-KARA",    "DENON",   "ROBO-K1",   "KANON-ALL",  "KANON-Rep", "SAMSUNG-A",
    "SAMSUNG-R",  "SAMSUNG-D", "NEC-40R", "NEC-40A",   "NEC-48R",    "NEC-48A",   "BENEX144",
    "SHARP12",    "DAEWOO16",  "CV-6000", "MSW7430",   "SVCT-1",     "NEC-80A",   "MITANI-ID",
    "TATSUNO-ID", "NEC-64R",   "NEC-64A", "TOPPAN-ID", "Kitac5-D64", "MULTIHD-1", "MULTIHD-2",
    "MULTIHD-3",  "Unknown",
};

constexpr int kNec32R = 10;
constexpr int kNec32A = 15;

} // namespace

std::string_view FormatName(int index) {
    if (index < 0 || index >= kFormatNameCount)
        return kNames[kUnknownFormat];
    return kNames[static_cast<std::size_t>(index)];
}

std::optional<unsigned> CustomCodeOf(std::string_view code) {
    if (code.size() < 4)
        return std::nullopt;
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
        const int d = HexDigitValue(code[static_cast<std::size_t>(i)]);
        if (d < 0)
            return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
    }
    return v;
}

int CustomCodeMap(unsigned v, int current, bool pro) {
    switch (v) {
    case 0x00FF:
        if (!pro)
            return current;
        return current == kNec32R ? 40 : 39;
    case 0x04FB:
    case 0x38C7:
    case 0x8063:
        return current == kNec32R ? 42 : 41;
    case 0x15EA:
    case 0x16E9:
        return 18;
    case 0x2ED1:
        return 35;
    case 0x30CF:
    case 0x31CE:
        return 13;
    case 0x40BE:
    case 0x40BF:
    case 0x42BB:
    case 0x44BB:
    case 0x45BC:
        return 12;
    case 0x50AF:
    case 0x56A9:
    case 0x609F:
    case 0x619E:
    case 0x8023:
        return 11;
    case 0x6E20:
    case 0x7B80:
        return 27;
    case 0x8066:
        return pro ? 54 : current;
    case 0x8341:
        return current == kNec32A ? 16 : current;
    case 0x9867:
        return 36;
    case 0xA35C:
    case 0xA55A:
    case 0xA857:
    case 0xAA55:
    case 0xAB54:
    case 0xAC53:
    case 0xAF50:
        return 14;
    case 0xB800:
        return 17;
    default:
        return current;
    }
}

} // namespace quvan
