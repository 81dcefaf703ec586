#pragma once
// One capture of the board's pulse reports, as the wave view and every
// decoder see it. Storage is fixed so that nothing is allocated per pulse.

#include <array>
#include <cstdint>

namespace quvan {

inline constexpr int kLaneSlots = 4;       // storage always exists for the Pro edition
inline constexpr int kLanePairs = 4097;    // index 4096 only ever holds the "next" pattern 0
inline constexpr int kMaxPairIndex = 4095; // highest index a wave line may carry
inline constexpr int kPatternWindows = 16;
inline constexpr int kOverflowPattern = 16; // pattern number of a pair that found no room

struct PulsePair {
    std::int32_t High = 0;  // mark, µs
    std::int32_t Width = 0; // mark plus following space, µs
};

struct WaveLane {
    std::array<PulsePair, kLanePairs> Pairs{};
    std::int32_t LastIndex = 0; // 0 both for an empty lane and for a one-pair capture
    std::array<std::int32_t, kLanePairs> PatternOf{};
    std::array<std::int32_t, kPatternWindows> CenterHigh{};
    std::array<std::int32_t, kPatternWindows> CenterWidth{};
    std::int32_t PatternCount = 0; // counts on past 16 so the overflow can be refused later
};

// Acceptance window of each pattern of the running capture; MinHigh 0 = unused.
struct PatternBounds {
    std::array<std::int32_t, kPatternWindows> MinHigh{};
    std::array<std::int32_t, kPatternWindows> MaxHigh{};
    std::array<std::int32_t, kPatternWindows> MinWidth{};
    std::array<std::int32_t, kPatternWindows> MaxWidth{};
};

// Outcome of the repeat analysis; DataBits above 0 marks the capture closed.
struct CaptureResult {
    std::int32_t RepeatBit = 0;
    std::int32_t DataBits = 0;
    std::int32_t Frames = 0;
    std::int32_t Carry = 0; // 0.1 kHz units
};

} // namespace quvan
