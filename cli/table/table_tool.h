#pragma once
// quvan-table: signals into and out of a table file from the command line,
// over the same libraries as the window's File → Import... and Export....

#include <ostream>
#include <string>
#include <vector>

namespace quvan::cli {

// Exit codes: 0 done; 1 done in part (signals or rows refused, nothing to
// do); 2 bad usage, or a file that cannot be read or written.
inline constexpr int kToolDone = 0;
inline constexpr int kToolPartly = 1;
inline constexpr int kToolFailed = 2;

extern const char* const kTableToolUsage;

// args without the program name. Results go to out (TAB-separated lines),
// messages to err.
int RunTableTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace quvan::cli
