#pragma once
// Where a decoder's result text goes: the lane's table row, the code check
// against the expected row, or the registration of a U-SHOWA identification.

#include "capture/learning_context.h"

#include <string>

namespace quvan {

void ShowResult(LearningContext& ctx, int lane, const std::string& text);

// Puts a new identification code into the first row without a result, or
// selects the row that already holds it.
void RegisterById(LearningContext& ctx, const std::string& text);

// "No.%d: %2d.%dkHz", plus the row's comment when it has one.
std::string LaneLabel(int row, std::int32_t carry, const std::string& comments);

} // namespace quvan
