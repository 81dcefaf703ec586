#include "sim/line_rate.h"

#include <algorithm>

namespace quvan::sim {

std::int64_t LineRate::byte_us() const {
    return (10'000'000 + baud_ - 1) / baud_;
}

std::int64_t LineRate::window_us() const {
    return std::max(kBurstUs, byte_us());
}

std::int64_t LineRate::free_at() const {
    return limited() ? start_us_ + duration(bytes_) : 0;
}

std::int64_t LineRate::budget(std::int64_t now_us, bool backlog) const {
    if (!limited())
        return INT64_MAX;
    // Bytes whose transmission, started when the line is free (now, if it is
    // idle and nothing was waiting), ends within the window.
    const std::int64_t free_at =
        backlog ? start_us_ + duration(bytes_) : std::max(now_us, start_us_ + duration(bytes_));
    const std::int64_t ahead = now_us + window_us() - free_at;
    return ahead <= 0 ? 0 : ahead * baud_ / 10'000'000;
}

void LineRate::consume(std::int64_t count, std::int64_t now_us, bool backlog) {
    if (!limited() || count <= 0)
        return;
    if (!backlog && start_us_ + duration(bytes_) < now_us) {
        // The line was idle: a new run of bytes starts now.
        start_us_ = now_us;
        bytes_ = 0;
    }
    bytes_ += count;
}

std::int64_t LineRate::next_free(std::int64_t now_us) const {
    if (!limited())
        return now_us;
    // The earliest moment at which budget() is one byte again.
    const std::int64_t at = start_us_ + duration(bytes_) - window_us() + byte_us();
    return std::max(now_us, at);
}

std::int64_t LineRate::arrival_of_next(std::int64_t now_us) {
    if (!limited())
        return now_us;
    consume(1, now_us);
    return start_us_ + duration(bytes_);
}

} // namespace quvan::sim
