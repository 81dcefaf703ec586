#pragma once
// Exit codes of quvan-board, the same for every command so scripts can tell
// a board that stopped answering from a cable that was pulled.

namespace quvan::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;   // the command ran and failed (port not opened, ...)
inline constexpr int kExitUsage = 2;    // bad usage or unreadable input
inline constexpr int kExitNoAnswer = 3; // the board stopped answering
inline constexpr int kExitLineLost = 4; // the serial line went away or reported errors

} // namespace quvan::cli
