#pragma once
// Pulse-distance coding, shared by most formats: every bit is a fixed mark,
// and the length of the space after it tells 0 from 1.

#include "protocols/waveform.h"

#include <cstdint>

namespace quvan::protocols {

struct PulseDistance {
    std::int32_t mark;
    std::int32_t space0;
    std::int32_t space1;
};

// Writes count bits of value, least significant bit first.
inline void put_lsb_first(Waveform& w, std::uint32_t value, int count, const PulseDistance& pd) {
    for (int i = 0; i < count; ++i) {
        w.mark(pd.mark);
        w.space(((value >> i) & 1u) ? pd.space1 : pd.space0);
    }
}

} // namespace quvan::protocols
