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

// write TABLE [--row N] [--erase-blank]: registers the table's rows (or one).
int RunWriteCommand(BoardContext& context, const std::vector<std::string>& args);

// read OUT: reads entries 1..250 into a new table file.
int RunReadCommand(BoardContext& context, const std::vector<std::string>& args);

// fire TABLE ROW [--outputs 1111] [--by-result]: fires one row.
int RunFireCommand(BoardContext& context, const std::vector<std::string>& args);

// firmware FILE: the firmware update through the board's loader; exits 0
// only when the loader took the whole file.
int RunFirmwareCommand(BoardContext& context, const std::vector<std::string>& args);

// dip [--rs N] [--usb N] [--input contacts|binary] [--fire N]: prints the
// DIP switch settings, or changes the given ones and resets the board.
int RunDipCommand(BoardContext& context, const std::vector<std::string>& args);

} // namespace quvan::cli
