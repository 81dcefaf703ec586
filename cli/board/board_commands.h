#pragma once
// The commands of quvan-board. Each lives in a file of its own and gets the
// open session, the common options and the streams to report on.

#include "cli/board/board_options.h"
#include "cli/board/board_session.h"

#include <ostream>
#include <string>
#include <vector>

namespace quvan::cli {

struct BoardContext {
    BoardSession& session;
    const BoardOptions& options;
    std::ostream& out; // results, one line per thing done
    std::ostream& err; // messages
};

using BoardCommandFn = int (*)(BoardContext& context, const std::vector<std::string>& args);

struct BoardCommand {
    const char* name;
    const char* usage; // the arguments and a short description, for the usage text
    BoardCommandFn run;
};

// send TEXT...: sends each text as a command and prints the board's replies
// until it has been silent for a while.
int RunSendCommand(BoardContext& context, const std::vector<std::string>& args);

} // namespace quvan::cli
