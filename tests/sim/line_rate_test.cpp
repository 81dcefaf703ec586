// Pacing of the simulated serial line.
#include "sim/line_rate.h"

#include <gtest/gtest.h>

using quvan::sim::LineRate;

// Drains `bytes` through the pacer the way the server does: take what the
// budget allows, then sleep until the line is free again. Returns the time
// the last byte went onto the line.
static std::int64_t Drain(LineRate& rate, std::int64_t bytes, std::int64_t start_us) {
    std::int64_t now = start_us;
    while (bytes > 0) {
        const std::int64_t take = std::min(bytes, rate.budget(now));
        if (take > 0) {
            rate.consume(take, now);
            bytes -= take;
        } else {
            const std::int64_t next = rate.next_free(now);
            EXPECT_GT(next, now) << "no budget, yet the line is said to be free";
            now = next;
        }
    }
    return now;
}

TEST(LineRate, TenThousandBytesAt115200TakeTheirLineTime) {
    // 10000 bytes * 10 bits / 115200 = 868.06 ms; the burst lets the last
    // bytes leave up to 1 ms early, never more.
    LineRate rate(115200);
    const std::int64_t end = Drain(rate, 10000, 5'000'000);
    EXPECT_GE(end - 5'000'000, 868'056 - LineRate::kBurstUs - 100);
    EXPECT_LE(end - 5'000'000, 868'056 + 100);
}

TEST(LineRate, ALateWakeUpDoesNotSlowABackloggedLine) {
    // A server on a busy machine wakes 300 us after the line fell free each
    // time. With the bytes already waiting it catches up, so 2000 bytes at
    // 115200 still leave in their line time (173.6 ms), not 25 % later.
    LineRate rate(115200);
    std::int64_t now = 0, bytes = 2000;
    bool first = true;
    while (bytes > 0) {
        const std::int64_t take = std::min(bytes, rate.budget(now, !first));
        if (take > 0) {
            rate.consume(take, now, !first);
            bytes -= take;
            first = false;
        }
        now = rate.next_free(now) + 300;
    }
    EXPECT_LE(rate.free_at(), 173'612 + 100);
    EXPECT_GE(rate.free_at(), 173'612 - 100);
    // Without the backlog the same wake-ups would idle the line each time.
    LineRate idle(115200);
    idle.consume(11, 0);
    idle.consume(1, 2000);
    EXPECT_EQ(idle.free_at(), 2000 + 86);
}

TEST(LineRate, SlowLineStillSendsOneByteAtATimeAndIdleLineRestarts) {
    // At 300 baud a byte takes 33.3 ms, longer than the burst window: the
    // budget must still let single bytes through, one byte time apart.
    LineRate slow(300);
    EXPECT_EQ(slow.budget(0), 1);
    slow.consume(1, 0);
    EXPECT_EQ(slow.budget(1000), 0);
    EXPECT_EQ(Drain(slow, 3, 0), 100'000);
    // After a long pause the line is idle: a full burst is available at once.
    LineRate rate(115200);
    rate.consume(100, 0);
    EXPECT_EQ(rate.budget(10'000'000), 11);
}

TEST(LineRate, ReceivedBytesArriveOneByteTimeApart) {
    LineRate rate(9600); // 1041.67 us a byte
    EXPECT_EQ(rate.arrival_of_next(0), 1041);
    EXPECT_EQ(rate.arrival_of_next(0), 2083);
    EXPECT_EQ(rate.arrival_of_next(0), 3125);
    // Bytes that come after the line fell idle start a new run.
    EXPECT_EQ(rate.arrival_of_next(1'000'000), 1'001'041);
    LineRate unlimited;
    EXPECT_EQ(unlimited.arrival_of_next(42), 42);
    EXPECT_EQ(unlimited.budget(0), INT64_MAX);
}
