#include "sim/intel_hex.h"

#include "sim/ir_format.h"

namespace quvan::sim {

HexParse parse_hex_record(std::string_view line) {
    // Trailing blanks and control bytes are not part of the record.
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 0x20)
        line.remove_suffix(1);
    if (line.empty() || line.front() != ':')
        return {std::nullopt, "record does not start with ':'"};
    const auto bytes = parse_hex_bytes(line.substr(1));
    if (!bytes)
        return {std::nullopt, "record has a character that is not a hex digit or an odd length"};
    if (bytes->size() < 5)
        return {std::nullopt, "record too short"};
    const std::size_t count = (*bytes)[0];
    if (bytes->size() != count + 5)
        return {std::nullopt, "record length does not match its byte count"};
    unsigned sum = 0;
    for (std::uint8_t b : *bytes)
        sum += b;
    if (sum % 256 != 0)
        return {std::nullopt, "record checksum wrong"};

    HexRecord r;
    r.offset = static_cast<std::uint16_t>(((*bytes)[1] << 8) | (*bytes)[2]);
    r.type = (*bytes)[3];
    r.data.assign(bytes->begin() + 4, bytes->end() - 1);
    const auto need = [&](std::size_t n) -> HexParse {
        if (r.data.size() != n)
            return {std::nullopt, "record of type " + std::to_string(r.type) + " needs " +
                                      std::to_string(n) + " data bytes"};
        return {r, {}};
    };
    switch (r.type) {
    case 0x00:
        return {r, {}};
    case 0x01:
        return need(0);
    case 0x02:
    case 0x04:
        return need(2);
    case 0x05:
        return need(4);
    default:
        return {std::nullopt, "record type " + std::to_string(r.type) + " not supported"};
    }
}

HexImage::Result HexImage::apply(const HexRecord& r) {
    if (complete_)
        return Result::Error;
    switch (r.type) {
    case 0x00:
        for (std::size_t i = 0; i < r.data.size(); ++i)
            bytes_[base_ + r.offset + static_cast<std::uint32_t>(i)] = r.data[i];
        return Result::Accepted;
    case 0x01:
        complete_ = true;
        return Result::EndOfFile;
    case 0x02:
        base_ = static_cast<std::uint32_t>((r.data[0] << 8) | r.data[1]) << 4;
        return Result::Accepted;
    case 0x04:
        base_ = static_cast<std::uint32_t>((r.data[0] << 8) | r.data[1]) << 16;
        return Result::Accepted;
    case 0x05:
        start_ = (std::uint32_t{r.data[0]} << 24) | (std::uint32_t{r.data[1]} << 16) |
                 (std::uint32_t{r.data[2]} << 8) | r.data[3];
        return Result::Accepted;
    default:
        return Result::Error;
    }
}

void HexImage::clear() {
    *this = HexImage{};
}

} // namespace quvan::sim
