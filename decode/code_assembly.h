#pragma once
// Reading the data bits of a recognised capture, packing them into
// hexadecimal groups and frames, and the plain pattern-code text.

#include "capture/pulse_meaning.h"
#include "capture/wave_lane.h"
#include "decode/recognition.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quvan {

struct BitPatterns {
    int Zero = 0;
    int One = 0;
};

// The eligible pattern with the shortest period reads as 0, the one with the
// next longer period as 1 (set 4 decides by the marks instead).
BitPatterns ChooseBitPatterns(int set, const WaveLane& lane);

struct AssembledCode {
    std::string Code;                  // groups and frames, trimmed
    std::vector<std::string> LogLines; // "fno:.." lines with FullCode
};

AssembledCode AssembleCode(int set, const Recognition& recognition, const WaveLane& lane,
                           bool fullCode);

// What every pulse of the capture reads as, all frames read through (as
// "FullCode" reads them), the groups of bits, and how far the result of
// AssembleCode(.., fullCode) read.
PulseMeanings MeaningsOfPulses(int set, const Recognition& recognition, const WaveLane& lane,
                               bool fullCode);

// "Code(%3dbits): " and one hexadecimal digit per pattern number.
std::string PatternCodeResult(const WaveLane& lane, std::int32_t dataBits);

// "Tm:%-10s d:%s".
std::string ResultText(int formatIndex, const std::string& code);

inline const char* LogicText(bool one) {
    return one ? "   1" : "   0";
}

} // namespace quvan
