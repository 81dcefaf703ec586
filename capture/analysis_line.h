#pragma once
// The board's end-of-capture line ("Ave. ... 38.0kHz"): it carries the
// carrier, triggers the decoders and stores the capture into the table row.

#include "capture/learning_context.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quvan {

// The carrier text of an analysis line: from character 12 up to the first
// "kHz", or four characters when there is none.
std::string CarrierText(std::string_view line);

enum class AnalysisOutcome {
    Stored,          // the row got the capture
    Checked,         // code check: the row was only compared
    TooManyPatterns, // "学習出来ません。"
    BadCarrier,      // the carrier text is not a number
    NoCapture,       // no capture has begun since the lanes were cleared
};

struct AnalysisLineResult {
    AnalysisOutcome Outcome = AnalysisOutcome::NoCapture;
    int Row = 0; // the table row the capture belongs to (LaneRow)
    std::string CarrierText;
};

AnalysisLineResult HandleAnalysisLine(LearningContext& ctx, CaptureDecoding& decoding,
                                      std::string_view line);

// Closes a capture that is still open: the repeat analysis gets a last
// chance, else the whole capture is taken.
void CloseCapture(LearningContext& ctx);

// Writes the capture of the current lane into row r's cells and record.
void StoreCapture(LearningContext& ctx, int row, const std::string& carrierText);

} // namespace quvan
