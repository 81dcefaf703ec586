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

// How a capture came to an end: what the repeat analysis found when it
// closed the capture, or that the analysis line took it whole.
enum class CaptureClose : std::uint8_t {
    Open,          // still running (or never analysed)
    FrameRepeats,  // a frame of several pairs repeated three times or more
    GapPassed,     // no such repeat; the last period passed the learning time
    CarrierBurst,  // one pulse shape repeated with short periods: kept whole
    RepeatedPulse, // one pulse shape repeated with long periods
    AnalysisLine,  // the board's analysis line arrived first: kept whole
};

struct RepeatFinding {
    CaptureClose Close = CaptureClose::Open;
    std::int32_t Start = 0;     // first pair of the repeating section
    std::int32_t Length = 0;    // its length in pairs
    std::int32_t Repeats = 0;   // successive repetitions found
    std::int32_t LastIndex = 0; // pairs seen when the capture closed, minus one
};

struct WaveLane {
    std::array<PulsePair, kLanePairs> Pairs{};
    std::int32_t LastIndex = 0; // 0 both for an empty lane and for a one-pair capture
    std::array<std::int32_t, kLanePairs> PatternOf{};
    std::array<std::int32_t, kPatternWindows> CenterHigh{};
    std::array<std::int32_t, kPatternWindows> CenterWidth{};
    std::int32_t PatternCount = 0; // counts on past 16 so the overflow can be refused later
    // Counts the captures this lane has held, so that what was worked out
    // about one capture is never shown for the next.
    std::uint32_t Serial = 0;
    // The tolerances and learning time this capture was taken with.
    std::int32_t HRange = 0;
    std::int32_t WRange = 0;
    std::int32_t LearnTime = 0;
    RepeatFinding Repeat{};
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
