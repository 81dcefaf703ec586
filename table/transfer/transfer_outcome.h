#pragma once
// How a transfer with the board ended, and the message box that says so.

#include <string>

namespace quvan::transfer {

enum class TransferOutcome {
    Running,
    Completed,
    StoppedByUser,
    BoardSilent, // the board stopped answering
    LineLost,    // the serial line went away
};

// A message for the program's message box: kind 1 is OK only.
struct TransferMessage {
    int kind = 1;
    std::string caption;
    std::string text;
};

} // namespace quvan::transfer
