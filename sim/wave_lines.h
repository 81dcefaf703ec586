#pragma once
// The text lines in which the board reports a capture: one line per pulse,
// then one analysis line with the measured carrier.

#include "sim/pulse.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quvan::sim {

// "[012]:00560 001120" for indices up to 999, "[1000]:00560 0001120" beyond.
// Values too large for their field are clamped to its largest value, so
// the fields keep their fixed character positions.
std::string wave_line(std::size_t index, const Pulse& pulse);

// "Ave.Freq = 38.0kHz": the carrier starts at character 12 (counting from 1)
// and is followed directly by "kHz".
std::string analysis_line(std::int32_t carrier_tenths);

// All lines of one capture, the analysis line last. At most
// kMaxCapturePulses wave lines are produced.
std::vector<std::string> capture_lines(const PulseList& pulses, std::int32_t carrier_tenths);

} // namespace quvan::sim
