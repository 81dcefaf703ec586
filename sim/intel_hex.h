#pragma once
// Intel HEX records as the loader receives them, one per line, and the
// flash image they build up.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::sim {

struct HexRecord {
    std::uint8_t type = 0;
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> data;
};

// Checks one record (":" count offset type data checksum, hex digits,
// length and checksum, and the length each type requires). Returns the
// record, or an error text.
struct HexParse {
    std::optional<HexRecord> record;
    std::string error;
};
HexParse parse_hex_record(std::string_view line);

class HexImage {
  public:
    enum class Result { Accepted, EndOfFile, Error };
    // Applies a checked record: data lands at the current extended address
    // plus its offset; types 02 and 04 move that base; 05 is noted.
    Result apply(const HexRecord& record);

    const std::map<std::uint32_t, std::uint8_t>& bytes() const { return bytes_; }
    std::optional<std::uint32_t> start_address() const { return start_; }
    bool complete() const { return complete_; }
    void clear();

  private:
    std::map<std::uint32_t, std::uint8_t> bytes_;
    std::uint32_t base_ = 0;
    std::optional<std::uint32_t> start_;
    bool complete_ = false;
};

} // namespace quvan::sim
