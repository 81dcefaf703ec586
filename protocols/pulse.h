#pragma once
// A measured infrared pulse as the board reports it: how long the carrier was
// on, and how long it took until the next pulse began.

#include <cstdint>
#include <vector>

namespace quvan::protocols {

struct Pulse {
    std::int32_t high = 0;  // mark, µs
    std::int32_t width = 0; // mark plus the following space, µs
    bool operator==(const Pulse&) const = default;
};

using PulseList = std::vector<Pulse>;

// The board keeps at most this many pulses of one capture (indices 0..4095).
inline constexpr std::size_t kMaxCapturePulses = 4096;

} // namespace quvan::protocols
