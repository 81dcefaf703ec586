#pragma once
// Bi-phase (Manchester) remote codes: Philips RC5 (with its extended RC5X
// commands) and RC6. Their bits are edges in the middle of fixed cells, not
// distinct pulse shapes, so the format table has no entry for them; this
// reads them from the pulses' times to tell a user what the capture is.

#include "capture/wave_lane.h"
#include "decode/sampling_decoders.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quvan {

struct BiphaseCode {
    std::string Protocol;      // "RC5", "RC5X", "RC6"
    int Mode = 0;              // RC6 only
    std::int32_t Address = -1; // -1 where the protocol's layout is not known
    std::int32_t Command = 0;
    int Toggle = 0;
    int InfoBits = 0;         // address and command bits of the frame
    int Frames = 0;           // frames of the capture with this address and command
    std::int32_t HalfBit = 0; // nominal half-bit, µs
    // The cells a time sampler sees, one per bit cell, in sending order
    // (RC6's double-width toggle bit takes two).
    std::vector<bool> Cells;
};

std::optional<BiphaseCode> IdentifyBiphase(const WaveLane& lane);

// The "Philips" time-sampling settings that read the code's cells, and the
// result the Philips decoder gives with them when it does read them.
struct PhilipsReading {
    SamplingParams Params;
    std::string Text;
};
std::optional<PhilipsReading> PhilipsReadingOf(const WaveLane& lane, const BiphaseCode& code);

} // namespace quvan
