#include "table/transfer/entry_commands.h"

#include "table/learning_table.h"
#include "table/record_text.h"

namespace quvan::transfer {
namespace {

std::string Tagged(std::string_view tag, int value) {
    std::string text(tag);
    AppendZeroPadded(text, value, 3);
    return text;
}

char HexDigit(int value) {
    return "0123456789ABCDEF"[value & 0x0F];
}

} // namespace

std::vector<std::string> EntryCommands(const LearnedSignal& signal) {
    std::vector<std::string> commands;
    commands.reserve(kEntryCommandCount);
    commands.push_back(Tagged("Twf:", signal.WriteFlag));
    commands.push_back(Tagged("Twc:", signal.Carry));
    commands.push_back(Tagged("Twb:", signal.DataBits));
    commands.push_back(Tagged("Twr:", signal.RepeatBit));
    for (int index = 0; index < kPatternSlots; ++index) {
        std::string pattern = "Twp:";
        pattern += HexDigit(index);
        pattern += ':';
        AppendZeroPadded(pattern, signal.PatternHigh[static_cast<std::size_t>(index)], 5);
        // A comma on the line; the table file uses a space here.
        pattern += ',';
        AppendZeroPadded(pattern, signal.PatternWidth[static_cast<std::size_t>(index)], 6);
        commands.push_back(std::move(pattern));
    }
    commands.push_back("Twd:" + PatternCodeText(signal));
    return commands;
}

std::string StoreCommand(int row) {
    return Tagged("Tws:", row);
}

bool WantsFlashWrite(std::string_view boardVersion) {
    // std::string_view compares as unsigned character codes, a prefix first.
    return boardVersion > std::string_view("Ver.20240208");
}

} // namespace quvan::transfer
