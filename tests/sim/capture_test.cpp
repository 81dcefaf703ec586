// Hold time, measurement disturbance and the capture limits.
#include "sim/capture_builder.h"
#include "sim/remote_press.h"

#include <gtest/gtest.h>

using namespace quvan::sim;

namespace {
PulseList nec_capture(const Disturbance& d, std::int32_t hold_ms = 1) {
    PressRequest r;
    r.code = {0x20, 0x10};
    r.hold_ms = hold_ms;
    r.disturbance = d;
    return std::get<Capture>(press_capture(r, false, 500)).pulses;
}
} // namespace

TEST(Disturbance, JitterStaysWithinBoundsAndRepeatsWithTheSeed) {
    const PulseList ideal = nec_capture({});
    const PulseList a = nec_capture({.jitter_percent = 5, .seed = 7});
    const PulseList b = nec_capture({.jitter_percent = 5, .seed = 7});
    const PulseList c = nec_capture({.jitter_percent = 5, .seed = 8});
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(a, ideal);
    ASSERT_EQ(a.size(), ideal.size());
    for (std::size_t i = 0; i + 1 < a.size(); ++i) {
        const std::int32_t space = a[i].width - a[i].high;
        const std::int32_t ideal_space = ideal[i].width - ideal[i].high;
        EXPECT_LE(std::abs(a[i].high - ideal[i].high), ideal[i].high * 5 / 100 + 1);
        EXPECT_LE(std::abs(space - ideal_space), ideal_space * 5 / 100 + 1);
    }
}

TEST(Disturbance, MarkBiasLengthensMarksAndKeepsPeriods) {
    const PulseList ideal = nec_capture({});
    const PulseList biased = nec_capture({.mark_bias_us = 60});
    ASSERT_EQ(biased.size(), ideal.size());
    for (std::size_t i = 0; i + 1 < ideal.size(); ++i) {
        EXPECT_EQ(biased[i].high, ideal[i].high + 60);
        EXPECT_EQ(biased[i].width, ideal[i].width);
    }
}

TEST(Capture, FinalGapIsTheLearningEndTime) {
    PressRequest r;
    r.format = IrFormat::Sony12;
    r.code = {0x15, 0x01};
    r.hold_ms = 1;
    const PulseList p = std::get<Capture>(press_capture(r, false, 200)).pulses;
    // The last bit of address 1 (5 bits) is a 0: a 600 µs mark.
    EXPECT_EQ(p.back(), (Pulse{600, 600 + 200000}));
}

TEST(Capture, NoMoreThan4096PulsesAndTheLastStillEndsTheCapture) {
    PressRequest r;
    r.format = IrFormat::NecFrames;
    r.code = {0x20, 0x10};
    r.hold_ms = 20000; // about 185 frames of 34 pulses
    const PulseList p = std::get<Capture>(press_capture(r, false, 500)).pulses;
    ASSERT_EQ(p.size(), kMaxCapturePulses);
    EXPECT_EQ(p.back().width, p.back().high + 500000);
}

TEST(Capture, EveryDemoCodeEncodes) {
    for (const auto& demo : demo_presses()) {
        auto result = press_capture(demo, false, 500);
        ASSERT_TRUE(std::holds_alternative<Capture>(result))
            << format_info(demo.format).name << ": " << std::get<std::string>(result);
        EXPECT_GT(std::get<Capture>(result).pulses.size(), 10u);
    }
}
