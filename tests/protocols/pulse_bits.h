#pragma once
// Checks pulse-distance bits of an encoded signal against bits written by
// hand, for the encoder tests of the protocols and of the simulator.

#include "protocols/pulse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace quvan::test_support {

// From pulse `from` on, one pulse a bit: a `mark` µs mark each, then a
// period of `w1` µs for a "1" and `w0` µs for a "0".
inline void expect_bits(const protocols::PulseList& p, std::size_t from, std::string_view bits,
                        std::int32_t mark, std::int32_t w0, std::int32_t w1) {
    for (std::size_t i = 0; i < bits.size(); ++i) {
        SCOPED_TRACE("bit " + std::to_string(i));
        ASSERT_LT(from + i, p.size());
        EXPECT_EQ(p[from + i].high, mark);
        EXPECT_EQ(p[from + i].width, bits[i] == '1' ? w1 : w0);
    }
}

} // namespace quvan::test_support
