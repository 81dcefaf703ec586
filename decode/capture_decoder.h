#pragma once
// Runs the decoder chosen by the option boxes on the current lane's capture.

#include "capture/learning_context.h"
#include "decode/timing_sets.h"

namespace quvan {

class CaptureDecoder : public CaptureDecoding {
  public:
    explicit CaptureDecoder(LearningContext& ctx) : ctx_(ctx) {}

    void DecodeCapture() override;
    void SamplingOverlay(int lane) override;

    // Recognition of one timing set's format followed by the code assembly;
    // false when the capture is not of this set's format.
    bool DecodePatterns(int set);

  private:
    LearningContext& ctx_;
};

} // namespace quvan
