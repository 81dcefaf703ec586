#pragma once
// What the table commands of quvan-board share: reading the table file the
// user names, and asking the board for its version.

#include "cli/board/board_session.h"
#include "table/learning_table.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace quvan::cli {

// Reads the table file at `path` into a table of the edition's size. Only a
// file marked as a table file is taken; reading stops at a malformed number
// as the window's does. Null (with the reason on `err`) when nothing
// usable was read.
std::unique_ptr<LearningTable> ReadTableArgument(const std::string& path, bool pro,
                                                 std::ostream& err);

// A row number of the table, 1..rowCount; nullopt for anything else.
std::optional<int> ParseRowArgument(const std::string& text, const LearningTable& table);

// Sends "Ver" and returns the version field ("Ver." and 8 characters) of the
// board's version line; "" when a line came without one; nullopt when the
// board did not answer within a second (or the line was lost).
std::optional<std::string> AskBoardVersion(BoardSession& session);

} // namespace quvan::cli
