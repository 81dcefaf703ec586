#include "sim/wave_lines.h"

#include <algorithm>
#include <cstdio>

namespace quvan::sim {

namespace {
std::int32_t clamp_field(std::int32_t v, std::int32_t max) {
    return std::clamp(v, 0, max);
}
} // namespace

std::string wave_line(std::size_t index, const Pulse& pulse) {
    char buf[48];
    if (index <= 999)
        std::snprintf(buf, sizeof buf, "[%03d]:%05d %06d", static_cast<int>(index),
                      clamp_field(pulse.high, 99999), clamp_field(pulse.width, 999999));
    else
        std::snprintf(buf, sizeof buf, "[%04d]:%05d %07d", static_cast<int>(index % 10000),
                      clamp_field(pulse.high, 99999), clamp_field(pulse.width, 9999999));
    return buf;
}

std::string analysis_line(std::int32_t carrier_tenths) {
    const std::int32_t c = std::clamp(carrier_tenths, 0, 999);
    char buf[32];
    std::snprintf(buf, sizeof buf, "Ave.Freq = %02d.%dkHz", c / 10, c % 10);
    return buf;
}

std::vector<std::string> capture_lines(const PulseList& pulses, std::int32_t carrier_tenths) {
    std::vector<std::string> lines;
    const std::size_t n = std::min(pulses.size(), kMaxCapturePulses);
    lines.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i)
        lines.push_back(wave_line(i, pulses[i]));
    lines.push_back(analysis_line(carrier_tenths));
    return lines;
}

} // namespace quvan::sim
