#include "protocols/waveform.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace quvan::protocols {

void Waveform::mark(std::int32_t us) {
    add(true, us);
}
void Waveform::space(std::int32_t us) {
    add(false, us);
}

void Waveform::add(bool is_mark, std::int32_t us) {
    if (us <= 0)
        return;
    // A receiver cannot see a space before the first mark.
    if (durations_.empty() && !is_mark)
        return;
    const bool last_is_mark = durations_.size() % 2 == 1;
    if (!durations_.empty() && last_is_mark == is_mark)
        durations_.back() += us;
    else
        durations_.push_back(us);
}

void Waveform::append(const Waveform& other) {
    const auto& d = other.durations();
    for (std::size_t i = 0; i < d.size(); ++i)
        add(i % 2 == 0, d[i]);
}

std::int64_t Waveform::total_us() const {
    return std::accumulate(durations_.begin(), durations_.end(), std::int64_t{0});
}

void Waveform::trim_trailing_space() {
    if (durations_.size() % 2 == 0 && !durations_.empty())
        durations_.pop_back();
}

PulseList Waveform::to_pulses(std::int32_t final_gap_us) const {
    PulseList out;
    out.reserve(durations_.size() / 2 + 1);
    for (std::size_t i = 0; i < durations_.size(); i += 2) {
        const std::int32_t high = durations_[i];
        const std::int64_t gap = i + 1 < durations_.size() ? durations_[i + 1] : final_gap_us;
        out.push_back(
            {high, static_cast<std::int32_t>(std::min<std::int64_t>(high + gap, INT32_MAX))});
    }
    return out;
}

} // namespace quvan::protocols
