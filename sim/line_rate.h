#pragma once
// The pace of a serial line: at N baud a byte (start bit, eight data bits,
// stop bit) takes 10/N seconds, so bytes leave or arrive no faster than
// that. A virtual clock marks when the line is free again. Bytes whose
// transmission ends within a short window (1 ms, or one byte time on slow
// lines) may be handed over at once, so the server need not wake for every
// byte; a byte is thus early by at most that window.

#include <cstdint>

namespace quvan::sim {

class LineRate {
  public:
    // baud 0: no limit.
    explicit LineRate(std::int32_t baud = 0) : baud_(baud) {}

    bool limited() const { return baud_ > 0; }

    // How many bytes may go onto the line at now_us (microseconds).
    // `backlog`: the bytes were waiting before the line fell free, so the
    // line never really idled; a server that woke late catches up instead
    // of losing the time it overslept (a UART keeps sending from its FIFO).
    std::int64_t budget(std::int64_t now_us, bool backlog = false) const;
    // Records that count bytes went onto the line at now_us.
    void consume(std::int64_t count, std::int64_t now_us, bool backlog = false);
    // When the bytes put on the line so far have left it.
    std::int64_t free_at() const;
    // When the line takes a byte again; now_us when it does already.
    std::int64_t next_free(std::int64_t now_us) const;
    // When a byte put on the line at now_us has arrived in full; advances
    // the clock (for bytes that cannot wait, like received ones).
    std::int64_t arrival_of_next(std::int64_t now_us);

    static constexpr std::int64_t kBurstUs = 1000;

  private:
    std::int64_t byte_us() const; // rounded up
    std::int64_t window_us() const;
    // Microseconds that count bytes take on the line.
    std::int64_t duration(std::int64_t count) const { return count * 10'000'000 / baud_; }

    std::int32_t baud_;
    // Bytes put on the line so far and when that run of bytes began: the
    // line is free at start_us_ + duration(bytes_). Counting bytes instead of
    // adding a rounded byte time keeps long transfers exact.
    std::int64_t start_us_ = 0;
    std::int64_t bytes_ = 0;
};

} // namespace quvan::sim
