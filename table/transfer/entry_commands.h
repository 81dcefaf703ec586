#pragma once
// The commands that describe one learned signal to the board, as
// registration and test firing send them, and the store commands that
// follow them.

#include "table/learned_signal.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvan::transfer {

// WriteFlag of a slot that registration erases; also what the read-back
// gives a slot the board reports as empty.
inline constexpr std::int32_t kEmptyWriteFlag = 999;

// Commands per entry before its store command: "Twf:", "Twc:", "Twb:",
// "Twr:", sixteen "Twp:" and "Twd:".
inline constexpr int kEntryCommandCount = 21;

inline constexpr std::string_view kFlashWriteCommand = "Tws:FlashWrite";

// The 21 commands of `signal`, in the order the board expects them:
// "Twf:%03d" (WriteFlag), "Twc:%03d", "Twb:%03d", "Twr:%03d", then
// "Twp:%01X:%05d,%06d" for patterns 0..15 and "Twd:" + PatternCodeText.
std::vector<std::string> EntryCommands(const LearnedSignal& signal);

// "Tws:%03d": store the entry just described as entry `row`.
std::string StoreCommand(int row);

// Boards whose version text sorts after "Ver.20240208" keep their entries
// only after "Tws:FlashWrite". The comparison is by character codes, a
// prefix sorting first, so an empty or older version gets no flash write.
bool WantsFlashWrite(std::string_view boardVersion);

} // namespace quvan::transfer
