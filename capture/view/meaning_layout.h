#pragma once
// Where the meaning of each pulse goes over a lane of the wave image, at a
// zoom: the bit or role letter of each pulse below the low level, the byte
// values in hexadecimal and the byte boundaries. Labels are left out where
// they would not fit or would overlap: bits go first as the view zooms out,
// then byte values, then boundaries. Plain arithmetic, shared by the view and
// its tests.

#include "capture/pulse_meaning.h"
#include "capture/wave_lane.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quvan {

enum class MeaningRow : std::uint8_t {
    Above, // between the lane's label line and the high level
    Below, // under the low level
};

enum class MeaningKind : std::uint8_t { Bit, Role, Byte };

struct MeaningLabel {
    int x = 0;     // left end
    int width = 0; // pixels
    MeaningRow row = MeaningRow::Below;
    MeaningKind kind = MeaningKind::Bit;
    char text[3] = {}; // "0", "1", "L", "R", "T" or two hexadecimal digits
};

struct MeaningLayout {
    std::vector<MeaningLabel> labels;
    std::vector<int> boundaries; // x of each byte boundary
    bool bitsShown = false;
};

// glyphWidth: the width of one character of the labels' font. labelRight:
// where the lane's own label ends; nothing is put above the wave left of it.
MeaningLayout LayOutMeanings(const WaveLane& lane, const PulseMeanings& meanings, int zoom,
                             int glyphWidth, int labelRight, int imageWidth);

} // namespace quvan
