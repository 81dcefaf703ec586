#pragma once
// Decoders that read a capture's envelope at fixed instants, for remotes and
// data links that send UART-like bit cells instead of distinct pulse shapes.

#include "capture/learning_context.h"
#include "capture/wave_lane.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quvan {

struct SamplingParams {
    std::int32_t Start = 0; // µs to the first cell
    std::int32_t Cell = 0;  // µs per cell
    std::int32_t CellsPerFrame = 0;
};

inline constexpr SamplingParams kEiritsuParams{260, 833, 32};
inline constexpr int kMaxSerialBytes = 64;
inline constexpr int kMaxPhilipsWords = 32;

std::string EiritsuDecoder(const WaveLane& lane);
std::string PhilipsDecoder(const WaveLane& lane, const SamplingParams& params);

struct SerialResult {
    std::string Text;
    std::optional<std::int32_t> SerialId; // only for U-SHOWA frames
};
SerialResult SerialDecoder(const WaveLane& lane, const SamplingParams& params,
                           std::int32_t symbolBits);

// Philips defaults 450/878/32, Serial defaults 250/1480/54, used where the
// combo box text is not a number.
SamplingParams PhilipsParams(const LearningOptions& options);
SamplingParams SerialParams(const LearningOptions& options);
std::int32_t SerialSymbolBits(const LearningOptions& options);

enum class SamplingKind { Eiritsu, Philips, Serial };

// Where the sampling grid of a decoder falls on the wave image and what each
// cell read ('0'/'1'), for a lane drawn at zoomUsPerPixel.
std::vector<OverlayCell> SamplingOverlayCells(const WaveLane& lane, SamplingKind kind,
                                              const SamplingParams& params, int zoomUsPerPixel,
                                              int imageWidth);

} // namespace quvan
