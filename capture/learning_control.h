#pragma once
// Switching learning on and off and walking down the table row by row.

#include "capture/learning_context.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvan {

// Click on the learning panel; learningOn is what the panel shows now.
void StartLearning(LearningContext& ctx, bool learningOn);

// After a capture: starts the next one. With "CodeCheck" the walk goes over
// the rows to check; otherwise to the next blank row below the current one,
// and when none is left learning stops and says so.
void RestartLearning(LearningContext& ctx);

// Leaves learning ("T") and tells the user that no blank row is left.
void StopLearningTableFull(LearningContext& ctx);

// Moves the grid cursor to the first blank row at or below it (never the
// last row); no move when there is none.
void SelectNextBlankRow(LearningContext& ctx);

// The receive-log lines of MonitorMode for a row just stored from a lane.
std::vector<std::string> AnalysisReport(const LearningContext& ctx, int row, int laneNo);

} // namespace quvan
