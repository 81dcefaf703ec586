#pragma once
// What each pulse of a decoded capture stands for: the bit it carries or its
// part in the frame, and the bytes the bits were packed into. The decoder
// works it out once per capture; the wave view draws it over the lane and the
// wave data grid's Logic column is written from it.

#include <cstdint>
#include <vector>

namespace quvan {

enum class PulseRole : std::uint8_t {
    None,    // not read (skipped, or past what the decoder reads)
    Zero,    // a data bit 0
    One,     // a data bit 1
    Leader,  // the frame's leading pulse
    Repeat,  // the long pulse of a repeat code or of a later header
    Trailer, // a stop pulse that ends a frame (its period holds the gap)
};

struct DecodedByte {
    std::int32_t FirstPair = 0;
    std::int32_t LastPair = 0;
    std::uint8_t Value = 0;
    std::uint8_t Bits = 0; // bits in the group (5, 7, 8 ...)
};

struct PulseMeanings {
    std::vector<PulseRole> Roles; // by pair index
    // Pairs 0 .. ResultPairs - 1 are the ones the result text was read from;
    // their bits are what the Logic column shows.
    std::int32_t ResultPairs = 0;
    std::vector<DecodedByte> Bytes;

    bool empty() const { return Roles.empty(); }
    bool isBit(std::size_t pair) const {
        return pair < Roles.size() &&
               (Roles[pair] == PulseRole::Zero || Roles[pair] == PulseRole::One);
    }
};

} // namespace quvan
