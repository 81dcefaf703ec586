#pragma once
// Runs the decoder chosen by the option boxes on the current lane's capture.

#include "capture/learning_context.h"
#include "decode/decode_record.h"
#include "decode/timing_sets.h"

#include <array>

namespace quvan {

class CaptureDecoder : public CaptureDecoding {
  public:
    explicit CaptureDecoder(LearningContext& ctx) : ctx_(ctx) {}

    void DecodeCapture() override;
    void SamplingOverlay(int lane) override;

    // What the decoder did with the capture now in `lane`; null when it has
    // not decoded that capture (still running, refused, or cleared).
    const DecodeRecord* record(int lane) const;

  private:
    DecodeRecord& StartRecord(int lane, DecoderMode mode);
    void ShowRecognised(int set, const Recognition& rec);

    LearningContext& ctx_;
    std::array<DecodeRecord, kLaneSlots> records_{};
    std::array<bool, kLaneSlots> recorded_{};
};

} // namespace quvan
