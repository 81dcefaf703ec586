#pragma once
// Finding the frame that repeats in a capture, which closes the capture.

#include "capture/learning_context.h"

namespace quvan {

// Looks for the repeating frame of the running capture; with a result it
// stores it in CaptureResult and finishes learning.
void RepeatAnalysis(LearningContext& ctx);

void FinishLearning(LearningContext& ctx);

} // namespace quvan
