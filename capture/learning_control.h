#pragma once
// Switching learning on and off and walking down the table row by row.

#include "capture/learning_context.h"

#include <string>
#include <vector>

namespace quvan {

// Click on the learning panel; learningOn is what the panel shows now.
void StartLearning(LearningContext& ctx, bool learningOn);

void RestartLearning(LearningContext& ctx);

// Moves the grid cursor to the first blank row at or below it (never the
// last row); no move when there is none.
void SelectNextBlankRow(LearningContext& ctx);

// The receive-log lines of MonitorMode for a row just stored from a lane.
std::vector<std::string> AnalysisReport(const LearningContext& ctx, int row, int laneNo);

} // namespace quvan
