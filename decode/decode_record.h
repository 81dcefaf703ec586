#pragma once
// What the decoder did with one lane's capture, kept so that the tool can
// show later why the capture came out as it did and what its pulses mean.

#include "capture/pulse_meaning.h"
#include "capture/wave_lane.h"
#include "decode/format_search.h"

#include <cstdint>
#include <string>

namespace quvan {

enum class DecoderMode : std::uint8_t {
    Patterns,    // format recognition over the timing sets
    PatternCode, // "PCode": the plain pattern-code text
    MultiHeader,
    Eiritsu,
    Philips,
    Serial,
};

struct DecodeRecord {
    std::uint32_t Serial = 0; // the lane's capture it belongs to
    DecoderMode Mode = DecoderMode::Patterns;
    bool ProEdition = false;
    bool FullCode = false;
    CaptureResult Result;   // the repeat analysis' outcome the decoder read
    FormatSearch Search;    // Patterns mode: every set tried
    std::string ResultText; // the text handed to the result display
    PulseMeanings Meanings; // Patterns mode, when a window shows them
};

} // namespace quvan
