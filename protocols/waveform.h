#pragma once
// An infrared waveform as alternating mark and space durations. Encoders
// write half-bits one by one; adjacent halves of the same level merge, which
// is what a receiver sees of Manchester codes such as RC5 and RC6.

#include "protocols/pulse.h"

#include <cstdint>
#include <vector>

namespace quvan::protocols {

class Waveform {
  public:
    void mark(std::int32_t us);
    void space(std::int32_t us);
    void append(const Waveform& other);

    // Durations in order; even positions are marks, odd positions spaces.
    const std::vector<std::int32_t>& durations() const { return durations_; }
    std::vector<std::int32_t>& durations() { return durations_; }
    bool empty() const { return durations_.empty(); }
    std::int64_t total_us() const;

    // Drops a trailing space so that the waveform ends with its last mark.
    void trim_trailing_space();

    // Pairs each mark with the space after it. A final mark without a space
    // gets width = its mark plus final_gap_us.
    PulseList to_pulses(std::int32_t final_gap_us) const;

  private:
    void add(bool is_mark, std::int32_t us);
    std::vector<std::int32_t> durations_;
};

} // namespace quvan::protocols
