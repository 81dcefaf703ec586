#pragma once
// Test firing and the free command line: the commands that have the board
// send one table row's signal, and the receive log's double-click rule that
// turns a decoded-code line into a firing command.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan {
class LearningTable;
}

namespace quvan::transfer {

struct FireOptions {
    std::array<bool, 4> outputs{true, true, true, true}; // ckTp1..ckTp4
    // Result-column mode: the cursor stood in the Result column, so a
    // decoded "Tm:" text is fired by format name and code.
    bool byResult = false;
};

struct FireCommand {
    std::string text;
    // Shown in the receive log even when the monitor switch is off (the
    // frame count that actually fires the signal).
    bool alwaysLogged = false;
};

// "Tp:" and one "1" or "0" per output, IR1 first ("Tp:1010").
std::string OutputSelection(const std::array<bool, 4>& outputs);

// "Tm:" + name + ",d:" + code + ",f:" + frames made from a Result text that
// contains "Tm:" and " d:" (the first " d:" becomes ",d:"); nullopt when the
// text has no " d:".
std::optional<std::string> ResultFireCommand(std::string_view result, std::string_view frames);

// Everything test firing sends for table row `row`, in order; empty for a
// blank row (nothing is sent). In record mode the row's WriteFlag becomes 0
// (the signal block describes a real entry).
std::vector<FireCommand> TestFireCommands(LearningTable& table, int row,
                                          const FireOptions& options);

// Whether firing row `row` in Result-column mode really goes by the Result
// text (it contains "Tm:"); otherwise the record is fired.
bool FiresByResult(const LearningTable& table, int row, bool resultColumn);

// The double-click rule of the receive log. `fromSelection` is the log's
// text from the start of the double-clicked word: when it begins with "m:",
// its first three comma-separated fields (each after a two-character tag
// such as "d:") give "Tm:" + f1 + ",d:" + f2 + ",f:" + f3. A field needs a
// comma after it; missing ones stay empty. At most 200 characters are read.
std::optional<std::string> LogLineFireCommand(std::string_view fromSelection);

// Appends `text` to the send history unless an entry equals it exactly.
void AddSendHistory(std::vector<std::string>& history, const std::string& text);

} // namespace quvan::transfer
